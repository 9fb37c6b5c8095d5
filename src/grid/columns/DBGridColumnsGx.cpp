#include "grid/columns/DBGridColumnsGx.h"

#include "data/DataLink.h"
#include "data/DataSet.h"
#include "grid/columns/ColumnDefValuesGx.h"
#include "grid/columns/ColumnsHostGx.h"
#include "grid/layout/LayoutLockGx.h"

#include <unordered_set>

TDBGridColumnsGx::TDBGridColumnsGx(TColumnsHostGx* host) : FHost(host) {}

TDBGridColumnsGx::~TDBGridColumnsGx()
{
    // Columns go one by one, each still finding its grid while it goes.
    while (!FItems.empty())
        TakeOut(Count() - 1).reset();
}

std::unique_ptr<TColumnGx> TDBGridColumnsGx::CreateColumn()
{
    return std::unique_ptr<TColumnGx>(new TColumnGx(this));
}

TColumnGx* TDBGridColumnsGx::AddColumn(bool userColumn)
{
    TLayoutLockGx lock(FHost);
    std::unique_ptr<TColumnGx> column = CreateColumn();
    column->SetUserColumn(userColumn);
    column->Init();
    FItems.push_back(std::move(column));
    TColumnGx* added = FItems.back().get();
    Update(nullptr);
    return added;
}

TColumnGx* TDBGridColumnsGx::Add() { return AddColumn(true); }

TColumnGx* TDBGridColumnsGx::AddDefaultColumn() { return AddColumn(false); }

std::unique_ptr<TColumnGx> TDBGridColumnsGx::TakeOut(int index)
{
    std::unique_ptr<TColumnGx> column = std::move(FItems.at(static_cast<size_t>(index)));
    FItems.erase(FItems.begin() + index);
    return column;
}

void TDBGridColumnsGx::Delete(int index)
{
    // The column is destroyed outside the list, so nothing sees it half gone.
    TakeOut(index).reset();
    Update(nullptr);
}

void TDBGridColumnsGx::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty())
        TakeOut(Count() - 1).reset();
    EndUpdate();
}

void TDBGridColumnsGx::Move(int fromIndex, int toIndex)
{
    if (fromIndex == toIndex)
        return;
    std::unique_ptr<TColumnGx> column = TakeOut(fromIndex);
    FItems.insert(FItems.begin() + toIndex, std::move(column));
    Update(nullptr);
}

void TDBGridColumnsGx::Assign(const TDBGridColumnsGx& source)
{
    if (&source == this)
        return;
    TLayoutLockGx lock(FHost);
    RunInUpdate(*this, [&] {
        while (!FItems.empty())
            TakeOut(Count() - 1).reset();
        AddCopiesOf(source, [this] { return Add(); });
    });
}

void TDBGridColumnsGx::RestoreDefaults()
{
    TColumnsUpdateGuardGx update(this);
    for (const auto& item : FItems)
        item->RestoreDefaults();
}

TDBGridColumnsStateGx TDBGridColumnsGx::State() const
{
    return !FItems.empty() && FItems.front()->IsUserColumn() ? csCustomized : csDefault;
}

void TDBGridColumnsGx::EndUpdate()
{
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0)
        Update(nullptr);
}

void TDBGridColumnsGx::Update(TColumnGx* item)
{
    if (FUpdateCount == 0 && FHost)
        FHost->ColumnsChanged(item);
}

// ---- the host's layout pass ------------------------------------------------

void TDBGridColumnsGx::FreeDefaultColumnsBeforeUserColumns()
{
    bool defaultSeen = false;
    for (const auto& column : FItems) {
        if (!column->IsUserColumn()) {
            defaultSeen = true;
        } else if (defaultSeen) {
            for (int i = Count() - 1; i >= 0; --i)
                if (!FItems[static_cast<size_t>(i)]->IsUserColumn())
                    Delete(i);
            return;
        }
    }
}

void TDBGridColumnsGx::MatchToFields(const std::vector<TField*>& fields, bool keepMatched)
{
    if (State() == csCustomized) {
        // Each column looks its field up by name again.
        for (const auto& column : FItems)
            column->FField.Reset();
        return;
    }

    if (keepMatched) {
        std::unordered_set<TField*> mapped(fields.begin(), fields.end());
        for (int i = Count() - 1; i >= 0; --i) {
            TField* field = (*this)[i]->Field();
            if (!field || mapped.count(field) == 0)
                Delete(i);
        }
    } else {
        Clear();
    }

    int positions = static_cast<int>(fields.size());
    if (positions == 0 && Count() == 0)
        positions = 1;
    for (int i = 0; i < positions; ++i) {
        TField* field = i < static_cast<int>(fields.size()) ? fields[static_cast<size_t>(i)] : nullptr;
        int found = -1;
        for (int j = i; j < Count() && found < 0; ++j)
            if ((*this)[j]->Field() == field)
                found = j;
        if (found < 0) {
            AddDefaultColumn()->SetField(field);
            found = Count() - 1;
        }
        Move(found, i);
    }
}
