#pragma once
// TDBGridGxImportAsVCLDBIF: reads the interchange format
// (VCLDBIFFormat.h).  Values go to the target columns by position: values
// beyond the target columns are read and dropped, target columns beyond
// the data keep their values.  The reader is always one value ahead of
// use, and after the end tag it reads nothing more, so bytes after it
// (slack at the end of a clipboard block) are never looked at.
//
// Every fault of the data (a short header, a wrong signature, a name
// without its 0 byte, a negative length or one past the input, a value cut
// short) raises the one format error, InvalidVCLDBIFFormat.

#include "exchange/DBGridGxImport.h"
#include "platform/Variant.h"

#include <string>
#include <utility>
#include <vector>

class TDBGridGxImportAsVCLDBIF : public TDBGridGxImport {
public:
    void ImportOutOfStream(TStream& stream, bool importAll) override;

    // The descriptors of the import in progress: name and visible flag.
    const std::vector<std::pair<std::string, bool>>& FieldNames() const { return FFieldNames; }
    bool UseFieldNames() const { return FUseFieldNames; }

protected:
    void ReadPrefix() override;
    void ReadRow(const TColumnsGxList& columns) override;
    void StoreCell(TColumnGx* column) override;
    // Reads the next value record into LastValue (unassigned for "no
    // value" and unknown tags); the end tag sets EndOfInput.
    void ReadNextValue();

    TVariant LastValue;

private:
    [[noreturn]] static void FormatError();
    // Exactly `count` bytes, or the format error.
    void ReadExactly(void* buffer, int64_t count);
    uint8_t ReadUInt8();
    int32_t ReadInt32();

    int32_t FColumnCount = 0;
    std::vector<std::pair<std::string, bool>> FFieldNames;
    bool FUseFieldNames = false;
};
