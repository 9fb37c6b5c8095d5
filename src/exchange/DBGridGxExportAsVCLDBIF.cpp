// The interchange-format writer: header, descriptors, one tagged value per
// exported cell, the end tag.

#include "exchange/DBGridGxExportAsVCLDBIF.h"

#include "data/DataSet.h"
#include "data/Field.h"
#include "exchange/ColumnValueTarget.h"
#include "exchange/VCLDBIFFormat.h"
#include "grid/columns/ColumnGx.h"
#include "platform/Exceptions.h"

#include <bit>
#include <cstring>
#include <limits>

namespace {

void AppendLittleEndian(std::string& out, uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void AppendLengthAndBytes(std::string& out, TVCLDBIFTag tag, const std::string& bytes)
{
    if (bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw EInvalidOperation("A value of more than 2 GB cannot be copied");
    out += static_cast<char>(tag);
    AppendLittleEndian(out, bytes.size(), 4);
    out += bytes;
}

bool IsDateTimeType(TFieldType type)
{
    return type == ftDate || type == ftTime || type == ftDateTime;
}

enum class TValueKind { NoValue, Integer, Float, Text, Bytes };

TValueKind ValueKindOf(TFieldType type)
{
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return TValueKind::Integer;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftDate:
    case ftTime:
    case ftDateTime:
        return TValueKind::Float;
    case ftString:
    case ftBoolean:
    case ftMemo:
    case ftFixedChar:
    case ftLargeint:
    // Exact decimals of up to 32 digits travel as their exact text: a
    // double would lose the digits beyond its 15.
    case ftFMTBcd:
        return TValueKind::Text;
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftWideString:
        return TValueKind::Bytes;
    default:
        return TValueKind::NoValue;
    }
}

void AppendFieldValue(std::string& out, const TField* field)
{
    if (!field) {
        out += static_cast<char>(vtNoValue);
        return;
    }
    if (field->IsNull()) {
        out += static_cast<char>(vtNull);
        return;
    }
    switch (ValueKindOf(field->DataType())) {
    case TValueKind::NoValue:
        out += static_cast<char>(vtNoValue);
        break;
    case TValueKind::Integer:
        out += static_cast<char>(vtInteger);
        AppendLittleEndian(out, static_cast<uint32_t>(field->AsInteger()), 4);
        break;
    case TValueKind::Float: {
        const double value = IsDateTimeType(field->DataType()) ? field->AsDateTime() : field->AsFloat();
        out += static_cast<char>(vtFloat);
        AppendLittleEndian(out, std::bit_cast<uint64_t>(value), 8);
        break;
    }
    case TValueKind::Text:
        AppendLengthAndBytes(out, vtText,
                             field->DataType() == ftFMTBcd ? field->GetData().AsString() : field->AsString());
        break;
    case TValueKind::Bytes: {
        const TVariant data = field->GetData();
        if (data.VarType() == varBytes) {
            const TBytes bytes = data.AsBytes();
            AppendLengthAndBytes(out, vtBytes, std::string(bytes.begin(), bytes.end()));
        } else {
            AppendLengthAndBytes(out, vtBytes, field->AsString());
        }
        break;
    }
    }
}

}  // namespace

void TDBGridGxExportAsVCLDBIF::BeginOutput()
{
    std::string header(VCLDBIFSignature);
    header += static_cast<char>(VCLDBIFVersion);
    AppendLittleEndian(header, static_cast<uint32_t>(ExportColumns().Count()), 4);
    for (const TColumnGx* column : ExportColumns()) {
        header += static_cast<char>(column->Visible() ? 1 : 0);
        header += '\0';   // the name: always empty
    }
    Write(header);
}

void TDBGridGxExportAsVCLDBIF::EndOutput()
{
    const char end = static_cast<char>(vtEnd);
    Write(std::string_view(&end, 1));
}

void TDBGridGxExportAsVCLDBIF::PutDataRow(const TColumnsGxList& columns)
{
    FRow.clear();
    for (TColumnGx* column : columns)
        PutDataCell(*column, CellParams);
    Write(FRow);
}

void TDBGridGxExportAsVCLDBIF::PutDataCell(TColumnGx& column, TColCellParamsGx& params)
{
    AppendFieldValue(FRow, ExchangeField(column));
}
