// The text of a footer cell: a summary value formatted by the type of the
// field it sums, a count, the current record's value of a field, or a
// static text.

#include "grid/DBGridGx.h"
#include "grid/paint/FooterSummaryFormat.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/footers/DBGridGxFooterSummaries.h"

#include "data/DataSet.h"
#include "data/FieldTypes.h"
#include "grid/GridDataLinkGx.h"
#include "platform/Currency.h"
#include "platform/FloatFormat.h"
#include "platform/FormatSettings.h"

#include <string>

std::string FormatFooterSummary(const TField& field, int64_t scaled, const std::string& otherTypeText)
{
    const TCurrency value = TCurrency::FromScaled(scaled);
    const std::string& picture = field.DisplayFormat();
    switch (field.DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
        if (!picture.empty())
            return FormatFloat(picture, value.ToDouble());
        return std::to_string(value.RoundToInt64());
    case ftFloat:
    case ftCurrency: {
        if (!picture.empty())
            return FormatFloat(picture, value.ToDouble());
        const auto& number = static_cast<const TFloatField&>(field);
        if (number.Currency())
            return FloatToStrF(value.ToDouble(), ffCurrency, number.Precision(), FormatSettings().CurrencyDecimals);
        return FloatToStrF(value.ToDouble(), ffGeneral, number.Precision(), 0);
    }
    case ftBCD:
    case ftFMTBcd: {
        if (!picture.empty())
            return FormatCurr(picture, value);
        const auto& number = static_cast<const TFixedPointField&>(field);
        if (number.Currency())
            return CurrToStrF(value, ffCurrency, FormatSettings().CurrencyDecimals);
        return CurrToStrF(value, ffGeneral, 0);
    }
    default:
        return otherTypeText;
    }
}

bool TCustomDBGridGx::FooterSummaryValue(const TColumnFooterGx& footer, int64_t& scaledValue)
{
    return D->FFooterSummaries->Value(footer, scaledValue);
}

std::string TCustomDBGridGx::FooterText(int footerRow, TColumnGx& column)
{
    const TColumnFooterGx& footer = *column.UsedFooter(footerRow);
    TDataSet* dataSet = D->FDataLink->DataSet();
    if (!D->FFooterSummaries->Computable(footer))
        return std::string();   // no number rather than a wrong one
    switch (footer.ValueType()) {
    case fvtSum:
    case fvtAvg: {
        const std::string& name = footer.FieldName().empty() ? column.FieldName() : footer.FieldName();
        const TField* field = dataSet ? dataSet->FindField(name) : nullptr;
        int64_t scaled = 0;
        if (!field || !FooterSummaryValue(footer, scaled))
            return "0";
        return FormatFooterSummary(*field, scaled, "0");
    }
    case fvtCount: {
        int64_t scaled = 0;
        if (!FooterSummaryValue(footer, scaled))
            return std::string();
        return FloatToStr(TCurrency::FromScaled(scaled).ToDouble());
    }
    case fvtFieldValue: {
        if (!dataSet || !dataSet->Active() || footer.FieldName().empty())
            return std::string();
        const TField* field = dataSet->FindField(footer.FieldName());
        return field ? field->DisplayText() : std::string();
    }
    case fvtStaticText:
        return footer.Value();
    case fvtNon:
        break;
    }
    return std::string();
}
