#include "data/FieldTypes.h"

#include "platform/Exceptions.h"
#include "platform/Utf8.h"

TVariant TStringField::ConvertToStored(const TVariant& value) const
{
    std::string text;
    try {
        text = value.AsString();
    } catch (const EVariantError&) {
        throw EConvertError(std::string("A value of type ") + TVariant::TypeName(value.VarType()) +
                            " cannot be stored in field '" + DisplayName() + "'");
    }
    if (Size() > 0 && Utf8Length(text) > static_cast<size_t>(Size()))
        throw EDatabaseError("Value too long for field '" + DisplayName() + "': at most " +
                             std::to_string(Size()) + " characters");
    return TVariant(std::move(text));
}
