// The interchange-format reader: header, descriptors and tagged values,
// each read checked against what the input still holds.

#include "exchange/DBGridGxImportAsVCLDBIF.h"

#include "data/Field.h"
#include "exchange/ColumnValueTarget.h"
#include "exchange/VCLDBIFFormat.h"
#include "platform/ScopeGuard.h"
#include "platform/Streams.h"

#include <bit>
#include <cstring>

void TDBGridGxImportAsVCLDBIF::FormatError()
{
    throw Exception(InvalidVCLDBIFFormat);
}

void TDBGridGxImportAsVCLDBIF::ReadExactly(void* buffer, int64_t count)
{
    if (count > 0 && Stream->Read(buffer, count) != count)
        FormatError();
}

uint8_t TDBGridGxImportAsVCLDBIF::ReadUInt8()
{
    uint8_t byte = 0;
    ReadExactly(&byte, 1);
    return byte;
}

int32_t TDBGridGxImportAsVCLDBIF::ReadInt32()
{
    uint8_t bytes[4];
    ReadExactly(bytes, 4);
    const uint32_t value = bytes[0] | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) | (uint32_t{bytes[3]} << 24);
    return static_cast<int32_t>(value);
}

void TDBGridGxImportAsVCLDBIF::ImportOutOfStream(TStream& stream, bool importAll)
{
    FUseFieldNames = false;
    FColumnCount = 0;
    LastValue = TVariant();
    FFieldNames.clear();
    TScopeExit freeNames([this] {
        FFieldNames.clear();
        FFieldNames.shrink_to_fit();
    });
    TDBGridGxImport::ImportOutOfStream(stream, importAll);
}

void TDBGridGxImportAsVCLDBIF::ReadPrefix()
{
    char header[VCLDBIFHeaderSize];
    ReadExactly(header, VCLDBIFHeaderSize);
    if (std::string_view(header, VCLDBIFSignature.size()) != VCLDBIFSignature)
        FormatError();
    // The version byte (header[7]) is not examined.
    uint32_t count = 0;
    for (int i = 0; i < 4; ++i)
        count |= uint32_t{static_cast<uint8_t>(header[8 + i])} << (8 * i);
    FColumnCount = static_cast<int32_t>(count);
    for (int32_t i = 0; i < FColumnCount; ++i) {
        const bool visible = ReadUInt8() != 0;
        std::string name;
        for (char c; (c = static_cast<char>(ReadUInt8())) != '\0';)
            name += c;
        if (!name.empty())
            FUseFieldNames = true;
        FFieldNames.emplace_back(std::move(name), visible);
    }
    ReadNextValue();
    // Values without any column to hold them could never be used up.
    if (FColumnCount <= 0 && !EndOfInput)
        FormatError();
}

void TDBGridGxImportAsVCLDBIF::ReadNextValue()
{
    if (EndOfInput)
        return;
    const uint8_t tag = ReadUInt8();
    LastValue = TVariant();
    switch (tag) {
    case vtEnd:
        EndOfInput = true;
        break;
    case vtNull:
        LastValue = TVariant::Null();
        break;
    case vtInteger:
        LastValue = TVariant(ReadInt32());
        break;
    case vtFloat: {
        uint8_t bytes[8];
        ReadExactly(bytes, 8);
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= uint64_t{bytes[i]} << (8 * i);
        LastValue = TVariant(std::bit_cast<double>(bits));
        break;
    }
    case vtText:
    case vtBytes: {
        const int32_t length = ReadInt32();
        if (length < 0)
            FormatError();
        // A length past the input is refused before anything is allocated.
        if (length > Stream->Size() - Stream->Position())
            FormatError();
        std::string text(static_cast<size_t>(length), '\0');
        ReadExactly(text.data(), length);
        LastValue = TVariant(std::move(text));
        break;
    }
    default:   // vtNoValue and unknown tags: no value, no payload
        break;
    }
}

void TDBGridGxImportAsVCLDBIF::ReadRow(const TColumnsGxList& columns)
{
    for (int32_t i = 0; i < FColumnCount && !EndOfInput; ++i)
        StoreCell(i < columns.Count() ? columns[i] : nullptr);
}

void TDBGridGxImportAsVCLDBIF::StoreCell(TColumnGx* column)
{
    if (!LastValue.IsEmpty()) {
        if (TField* target = BeginColumnStore(column, true)) {
            const TVariant value = LastValue;
            StoreGuarded([&] { target->SetAsVariant(value); });
        }
    }
    ReadNextValue();
}
