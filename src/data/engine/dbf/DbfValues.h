#pragma once
// Field values of a dBASE/FoxPro record: decoding the stored bytes into
// TVariants and encoding TVariants back, per type and dialect.  Memo
// fields only carry their block number here; the memo text itself is
// read and written by TDbfMemoFile.

#include "data/engine/CodePage.h"
#include "data/engine/dbf/DbfHeader.h"
#include "platform/Variant.h"

#include <cstdint>
#include <string>
#include <string_view>

class TDbfValues {
public:
    TDbfValues(const TDbfHeader& header, const TCodePage& codePage);

    // Value of a non-memo field in `record` (null per the dialect's rules).
    void Decode(const TDbfField& field, const uint8_t* record, TVariant& value) const;
    // Stores `value` into `record`; raises EDBEngineError naming the field
    // when the value cannot be stored (too wide, too long, unrepresentable
    // character, out of range).  Leaves `record` untouched on failure.
    void Encode(const TDbfField& field, const TVariant& value, uint8_t* record) const;

    // Memo pointers: 0 when the record has no memo in this field.
    uint32_t MemoBlock(const TDbfField& field, const uint8_t* record) const;
    void SetMemoBlock(const TDbfField& field, uint32_t block, uint8_t* record) const;
    bool IsNullFlagged(const TDbfField& field, const uint8_t* record) const;
    void SetNullFlag(const TDbfField& field, bool isNull, uint8_t* record) const;

    // Memo contents as a value of the field's type, and back to bytes.
    TVariant MemoValue(const TDbfField& field, std::string_view bytes) const;
    std::string MemoBytes(const TDbfField& field, const TVariant& value) const;

    // Table text and the UTF-8 it stands for; a double-byte character cut
    // at the end of a field is dropped.
    std::string TextOf(std::string_view bytes) const;

private:
    bool GetBit(int bit, const uint8_t* record) const;
    void SetBit(int bit, bool on, uint8_t* record) const;
    std::string EncodeText(const TDbfField& field, const TVariant& value) const;
    std::string FormatNumber(const TDbfField& field, const TVariant& value) const;

    const TDbfHeader& FHeader;
    const TCodePage& FCodePage;
    int FNullFlagsOffset = -1;
    int FNullFlagsLength = 0;
    bool FDoubleByte = false;
};

// "NAME: details" errors of one field.
[[noreturn]] void RaiseFieldError(uint16_t status, const TDbfField& field, const std::string& details);
