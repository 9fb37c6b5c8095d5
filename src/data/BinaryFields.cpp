#include "data/FieldTypes.h"

#include "platform/Exceptions.h"

namespace {

std::string ToHex(const TBytes& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i)
            text += ' ';
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

// Binary columns show and take their bytes as hexadecimal pairs ("0A FF").
TVariant TBinaryField::ConvertToStored(const TVariant& value) const
{
    TBytes bytes;
    try {
        bytes = value.AsBytes();
    } catch (const EVariantError&) {
        RaiseConvertError(value.AsString(), "binary data");
    }
    if (Size() > 0 && bytes.size() > static_cast<size_t>(Size()))
        throw EDatabaseError("Value too long for field '" + DisplayName() + "': at most " +
                             std::to_string(Size()) + " bytes");
    return TVariant(std::move(bytes));
}

std::string TBinaryField::FormatValue(const TVariant& value, bool) const
{
    return ToHex(value.AsBytes());
}

TVariant TBinaryField::ParseText(const std::string& text) const
{
    if (text.empty())
        return TVariant::Null();
    TBytes bytes;
    int high = -1;
    for (char c : text) {
        if (c == ' ')
            continue;
        int digit = HexDigit(c);
        if (digit < 0)
            throw EConvertError("'" + text + "' is not valid hexadecimal data for field '" + DisplayName() + "'");
        if (high < 0) {
            high = digit;
        } else {
            bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    if (high >= 0)
        throw EConvertError("'" + text + "' has an odd number of hexadecimal digits for field '" + DisplayName() + "'");
    return ConvertToStored(TVariant(std::move(bytes)));
}

// ---- blobs

TVariant TBlobField::ConvertToStored(const TVariant& value) const
{
    try {
        if (IsMemo())
            return TVariant(value.AsString());
        return TVariant(value.AsBytes());
    } catch (const EVariantError&) {
        RaiseConvertError(TVariant::TypeName(value.VarType()), IsMemo() ? "text" : "binary data");
    }
}

std::string TBlobField::FormatValue(const TVariant& value, bool displayText) const
{
    if (!displayText)
        return value.AsString();
    bool hasData = !value.AsString().empty();
    switch (FDataType) {
    case ftMemo: case ftFmtMemo: return hasData ? "(MEMO)" : "(Memo)";
    case ftGraphic: return hasData ? "(GRAPHIC)" : "(Graphic)";
    default: return hasData ? "(BLOB)" : "(Blob)";
    }
}

TVariant TBlobField::ParseText(const std::string& text) const
{
    if (text.empty())
        return TVariant::Null();
    return ConvertToStored(TVariant(text));
}

// ---- factory

std::unique_ptr<TField> CreateField(TFieldType type, int size)
{
    switch (type) {
    case ftString: case ftFixedChar: case ftWideString:
        return std::make_unique<TStringField>(size > 0 ? size : 20, type);
    case ftSmallint: return std::make_unique<TSmallintField>();
    case ftInteger: return std::make_unique<TIntegerField>();
    case ftWord: return std::make_unique<TWordField>();
    case ftAutoInc: return std::make_unique<TAutoIncField>();
    case ftLargeint: return std::make_unique<TLargeintField>();
    case ftFloat: return std::make_unique<TFloatField>();
    case ftCurrency: return std::make_unique<TCurrencyField>();
    case ftBCD: return std::make_unique<TBCDField>(size);
    case ftFMTBcd: return std::make_unique<TFMTBCDField>(size);
    case ftBoolean: return std::make_unique<TBooleanField>();
    case ftDate: return std::make_unique<TDateField>();
    case ftTime: return std::make_unique<TTimeField>();
    case ftDateTime: return std::make_unique<TDateTimeField>();
    case ftBytes: return std::make_unique<TBytesField>(size);
    case ftVarBytes: return std::make_unique<TVarBytesField>(size);
    case ftMemo: case ftFmtMemo: return std::make_unique<TMemoField>(type);
    case ftGraphic: return std::make_unique<TGraphicField>();
    case ftBlob: case ftParadoxOle: case ftDBaseOle: case ftTypedBinary:
        return std::make_unique<TBlobField>(type);
    case ftUnknown:
        break;
    }
    throw EDatabaseError(std::string("Field type ") + FieldTypeName(type) + " is not supported");
}
