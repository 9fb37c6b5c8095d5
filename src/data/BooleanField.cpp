#include "data/FieldTypes.h"

#include "platform/Exceptions.h"

#include <algorithm>
#include <strings.h>

TBooleanField::TBooleanField() : TField(ftBoolean, 0) {}

void TBooleanField::SetDisplayValues(const std::string& value)
{
    size_t separator = value.find(';');
    std::string trueText = separator == std::string::npos ? value : value.substr(0, separator);
    std::string falseText = separator == std::string::npos ? std::string() : value.substr(separator + 1);
    if (trueText.empty() && falseText.empty())
        throw EDatabaseError("Invalid format: \"" + value + "\" gives no text for either value");
    FDisplayValues = value;
    FTrueText = trueText;
    FFalseText = falseText;
    PropertyChanged(false);
}

int TBooleanField::DefaultDisplayWidth() const
{
    return static_cast<int>(std::max(FTrueText.size(), FFalseText.size()));
}

std::string TBooleanField::FormatValue(const TVariant& value, bool) const
{
    return value.AsBoolean() ? FTrueText : FFalseText;
}

TVariant TBooleanField::ParseText(const std::string& text) const
{
    // A leading part of either text, in any letter case, chooses it; an
    // empty text chooses the value whose text is empty, else clears.
    if (text.empty()) {
        if (FFalseText.empty()) return TVariant(false);
        if (FTrueText.empty()) return TVariant(true);
        return TVariant::Null();
    }
    auto isPrefixOf = [&text](const std::string& full) {
        return text.size() <= full.size() && strncasecmp(text.c_str(), full.c_str(), text.size()) == 0;
    };
    if (isPrefixOf(FTrueText))
        return TVariant(true);
    if (isPrefixOf(FFalseText))
        return TVariant(false);
    throw EDatabaseError("'" + text + "' is not a valid boolean value for field '" + DisplayName() + "'");
}

TVariant TBooleanField::ConvertToStored(const TVariant& value) const
{
    if (value.VarType() == varString) {
        TVariant parsed = ParseText(value.AsString());
        if (!parsed.IsNull())
            return parsed;
        // "True"/"False" are understood whatever DisplayValues says.
        if (strcasecmp(value.AsString().c_str(), "true") == 0) return TVariant(true);
        if (strcasecmp(value.AsString().c_str(), "false") == 0) return TVariant(false);
        return parsed;
    }
    try {
        return TVariant(value.AsBoolean());
    } catch (const EVariantError&) {
        RaiseConvertError(value.AsString(), "a valid boolean value");
    }
}
