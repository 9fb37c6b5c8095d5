#include "data/FieldTypes.h"

#include "platform/DateTimeFormat.h"
#include "platform/Exceptions.h"

#include <cmath>

TVariant TDateTimeField::ConvertToStored(const TVariant& value) const
{
    TDateTime moment;
    if (value.VarType() == varString) {
        const std::string& text = value.AsString();
        bool ok = FDataType == ftDate   ? TryStrToDate(text, moment)
                  : FDataType == ftTime ? TryStrToTime(text, moment)
                                        : TryStrToDateTime(text, moment);
        if (!ok) {
            const char* what = FDataType == ftDate ? "date" : FDataType == ftTime ? "time" : "date and time";
            throw EConvertError("'" + text + "' is not a valid " + what + " for field '" + DisplayName() + "'");
        }
    } else {
        try {
            moment = value.AsDateTime();
        } catch (const EVariantError&) {
            RaiseConvertError(value.AsString(), "a valid date");
        }
    }
    if (!std::isfinite(moment))
        throw EConvertError("Invalid date value for field '" + DisplayName() + "'");
    if (FDataType == ftDate)
        moment = std::trunc(moment);
    else if (FDataType == ftTime)
        moment = std::fabs(moment - std::trunc(moment));
    return TVariant::FromDateTime(moment);
}

std::string TDateTimeField::FormatValue(const TVariant& value, bool displayText) const
{
    TDateTime moment = value.AsDateTime();
    if (displayText && !DisplayFormat().empty())
        return FormatDateTime(DisplayFormat(), moment);
    switch (FDataType) {
    case ftDate: return DateToStr(moment);
    case ftTime: return TimeToStr(moment);
    default: return DateTimeToStr(moment);
    }
}

TVariant TDateTimeField::ParseText(const std::string& text) const
{
    if (text.empty())
        return TVariant::Null();
    return ConvertToStored(TVariant(text));
}

int TDateTimeField::DefaultDisplayWidth() const
{
    switch (FDataType) {
    case ftDate: return 10;
    case ftTime: return 8;
    default: return 19;
    }
}
