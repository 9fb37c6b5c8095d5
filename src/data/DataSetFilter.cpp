// Filtering: a record the filter expression or OnFilterRecord rejects is
// skipped by every read, so moves, counts and searches never see it.

#include "data/DataSet.h"

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
    TDataSetStateGuard guard(*this, dsFilter, &buffer);
    bool accept = true;
    if (FFilterExpr)
        accept = FFilterExpr->Evaluate([this](const std::string& name) { return FieldByName(name)->Value(); });
    if (accept && OnFilterRecord)
        OnFilterRecord(*this, accept);
    return accept;
}

namespace {

// Applies a change of the filter settings to an open dataset: the new
// filter starts at the first record; when it fails (a bad expression, a
// value that does not convert) the old settings come back.
template <typename Apply, typename Restore>
void ChangeFilter(TDataSet& dataSet, Apply apply, Restore restore, const std::function<void()>& refilter)
{
    apply();
    try {
        refilter();
    } catch (...) {
        restore();
        refilter();
        throw;
    }
}

} // namespace

void TDataSet::SetFilter(const std::string& text)
{
    if (text == FFilterText)
        return;
    if (!Active()) {
        TFilterExpression check(text, FFilterOptions);   // a syntax error is reported now
        FFilterText = text;
        return;
    }
    CheckBrowseMode();
    std::string old = FFilterText;
    ChangeFilter(
        *this, [&] { FFilterText = text; }, [&] { FFilterText = old; },
        [this] {
            UpdateFilter();
            First();
        });
}

void TDataSet::SetFiltered(bool value)
{
    if (value == FFiltered)
        return;
    if (!Active()) {
        FFiltered = value;
        return;
    }
    CheckBrowseMode();
    ChangeFilter(
        *this, [&] { FFiltered = value; }, [&] { FFiltered = !value; },
        [this] {
            UpdateFilter();
            First();
        });
}

void TDataSet::SetFilterOptions(TFilterOptions options)
{
    if (options == FFilterOptions)
        return;
    if (!Active()) {
        FFilterOptions = options;
        return;
    }
    CheckBrowseMode();
    TFilterOptions old = FFilterOptions;
    ChangeFilter(
        *this, [&] { FFilterOptions = options; }, [&] { FFilterOptions = old; },
        [this] {
            UpdateFilter();
            First();
        });
}
