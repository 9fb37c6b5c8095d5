#include "data/engine/FieldType.h"

const char* FieldTypeName(TFieldType type)
{
    static const char* const names[] = {
        "ftUnknown", "ftString", "ftSmallint", "ftInteger", "ftWord", "ftBoolean", "ftFloat",
        "ftCurrency", "ftBCD", "ftDate", "ftTime", "ftDateTime", "ftBytes", "ftVarBytes",
        "ftAutoInc", "ftBlob", "ftMemo", "ftGraphic", "ftFmtMemo", "ftParadoxOle", "ftDBaseOle",
        "ftTypedBinary", "ftFixedChar", "ftWideString", "ftLargeint", "ftFMTBcd"};
    auto index = static_cast<unsigned>(type);
    return index < sizeof names / sizeof names[0] ? names[index] : "ftUnknown";
}

bool IsBlobType(TFieldType type)
{
    switch (type) {
    case ftBlob: case ftMemo: case ftGraphic: case ftFmtMemo: case ftParadoxOle: case ftDBaseOle:
    case ftTypedBinary:
        return true;
    default:
        return false;
    }
}

bool IsStringType(TFieldType type)
{
    return type == ftString || type == ftFixedChar || type == ftWideString;
}
