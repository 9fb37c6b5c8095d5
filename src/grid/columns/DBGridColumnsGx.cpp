#include "grid/columns/DBGridColumnsGx.h"

#include "grid/DBGridGx.h"

TDBGridColumnsGx::TDBGridColumnsGx(TCustomDBGridGx* grid) : FGrid(grid) {}

TDBGridColumnsGx::~TDBGridColumnsGx()
{
    // Columns go one by one, each still finding its grid while it goes.
    while (!FItems.empty())
        TakeOut(Count() - 1).reset();
}

int TDBGridColumnsGx::IndexOf(const TColumnGx* column) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == column)
            return static_cast<int>(i);
    return -1;
}

std::unique_ptr<TColumnGx> TDBGridColumnsGx::CreateColumn()
{
    return std::unique_ptr<TColumnGx>(new TColumnGx(this));
}

TColumnGx* TDBGridColumnsGx::AddColumn(bool userColumn)
{
    TLayoutLockGx lock(FGrid);
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
    TLayoutLockGx lock(FGrid);
    BeginUpdate();
    try {
        while (!FItems.empty())
            TakeOut(Count() - 1).reset();
        for (const auto& item : source.FItems)
            Add()->Assign(*item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
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
    if (FUpdateCount == 0 && FGrid)
        FGrid->ColumnsChanged(item);
}
