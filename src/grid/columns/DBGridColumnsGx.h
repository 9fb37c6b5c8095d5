#pragma once
// TDBGridColumnsGx: the grid's columns, in display order; owns them.
// Changes of columns reach the grid through Update (nothing while an update
// is in progress; EndUpdate then announces one full change).

#include "grid/columns/ColumnGx.h"
#include "grid/columns/ColumnTypesGx.h"

#include <memory>
#include <vector>

class TCustomDBGridGx;

class TDBGridColumnsGx {
public:
    // A collection with a null grid holds columns that stand alone.
    explicit TDBGridColumnsGx(TCustomDBGridGx* grid);
    virtual ~TDBGridColumnsGx();
    TDBGridColumnsGx(const TDBGridColumnsGx&) = delete;
    TDBGridColumnsGx& operator=(const TDBGridColumnsGx&) = delete;

    TCustomDBGridGx* Grid() const { return FGrid; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TColumnGx* operator[](int index) const { return FItems.at(static_cast<size_t>(index)).get(); }
    TColumnGx* Items(int index) const { return (*this)[index]; }
    int IndexOf(const TColumnGx* column) const;

    // Adds a user column at the end.
    TColumnGx* Add();
    void Delete(int index);
    void Clear();
    void Move(int fromIndex, int toIndex);
    // Makes this collection a copy of another one, with user columns.
    void Assign(const TDBGridColumnsGx& source);
    // Restores the defaults of every column.
    void RestoreDefaults();

    // Customized when the first column is a user column, else default.
    TDBGridColumnsStateGx State() const;

    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    // The change notification: a column (or all of them, item null) changed.
    void Update(TColumnGx* item);

    using const_iterator = std::vector<std::unique_ptr<TColumnGx>>::const_iterator;
    const_iterator begin() const { return FItems.begin(); }
    const_iterator end() const { return FItems.end(); }

protected:
    // Makes a column of the collection's class; the collection finishes it.
    virtual std::unique_ptr<TColumnGx> CreateColumn();

private:
    friend class TCustomDBGridGx;   // its layout pass makes the default columns

    // Adds a default column at the end.
    TColumnGx* AddDefaultColumn();
    TColumnGx* AddColumn(bool userColumn);
    std::unique_ptr<TColumnGx> TakeOut(int index);

    TCustomDBGridGx* FGrid;
    std::vector<std::unique_ptr<TColumnGx>> FItems;
    int FUpdateCount = 0;
};

// Brackets a batch of column changes in BeginUpdate / EndUpdate.
class TColumnsUpdateGuardGx {
public:
    explicit TColumnsUpdateGuardGx(TDBGridColumnsGx* columns) : FColumns(columns)
    {
        if (FColumns)
            FColumns->BeginUpdate();
    }
    ~TColumnsUpdateGuardGx()
    {
        if (FColumns)
            FColumns->EndUpdate();
    }
    TColumnsUpdateGuardGx(const TColumnsUpdateGuardGx&) = delete;
    TColumnsUpdateGuardGx& operator=(const TColumnsUpdateGuardGx&) = delete;

private:
    TDBGridColumnsGx* FColumns;
};
