// Filtering: a record the filter expression or OnFilterRecord rejects is
// skipped by every read, so moves, counts and searches never see it.

#include "data/DataSet.h"
#include "platform/ScopeGuard.h"

void TDataSet::UpdateFilter()
{
    ++FContentVersion;
    FFilterExpr.reset();
    if (!FFiltered || FFilterText.empty())
        return;
    auto expression = std::make_unique<TFilterExpression>(FFilterText, FFilterOptions);
    if (expression->IsEmpty())
        return;
    for (const std::string& name : expression->FieldNames())
        FieldByName(name);   // a filter on a field the dataset lacks is refused at once
    FFilterExpr = std::move(expression);
}

bool TDataSet::RecordAccepted(TRecordBuffer& buffer)
{
    CalculateFields(buffer);
    if (!FilterActive())
        return true;
    TValueRollback<int> depth(FCalcDepth, FCalcDepth + 1);
    TDataSetStateGuard guard(*this, dsFilter, &buffer);
    bool accept = true;
    if (FFilterExpr)
        accept = FFilterExpr->Evaluate([this](const std::string& name) { return FieldByName(name)->Value(); });
    if (accept && OnFilterRecord)
        OnFilterRecord(*this, accept);
    return accept;
}

void TDataSet::ChangeFilter(const std::function<void()>& apply, const std::function<void()>& restore)
{
    if (!Active()) {
        apply();
        return;
    }
    // The new filter starts at the first record; when it fails (a bad
    // expression, a value that does not convert) the old settings come back.
    CheckBrowseMode();
    apply();
    try {
        UpdateFilter();
        First();
    } catch (...) {
        restore();
        UpdateFilter();
        First();
        throw;
    }
}

void TDataSet::SetFilter(const std::string& text)
{
    if (text == FFilterText)
        return;
    if (!Active())
        TFilterExpression check(text, FFilterOptions);   // a syntax error is reported at once
    std::string old = FFilterText;
    ChangeFilter([&] { FFilterText = text; }, [&] { FFilterText = old; });
}

void TDataSet::SetFiltered(bool value)
{
    if (value != FFiltered)
        ChangeFilter([&] { FFiltered = value; }, [&] { FFiltered = !value; });
}

void TDataSet::SetFilterOptions(TFilterOptions options)
{
    if (options == FFilterOptions)
        return;
    TFilterOptions old = FFilterOptions;
    ChangeFilter([&] { FFilterOptions = options; }, [&] { FFilterOptions = old; });
}
