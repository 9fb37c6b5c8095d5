#pragma once
// TDBGridColumnsGx: the grid's columns, in display order; owns them, and
// keeps the sort-marked list.
// Changes of columns reach the grid through Update (nothing while an update
// is in progress; EndUpdate then announces one full change).

#include "grid/columns/ColumnGx.h"
#include "grid/columns/ColumnTypesGx.h"
#include "grid/columns/ColumnsGxList.h"
#include "platform/OwningCollection.h"

#include <memory>
#include <vector>

class TColumnsHostGx;

class TDBGridColumnsGx : public TOwningCollection<TColumnGx> {
public:
    // A collection with a null grid holds columns that stand alone.
    explicit TDBGridColumnsGx(TColumnsHostGx* host);
    virtual ~TDBGridColumnsGx();

    TColumnsHostGx* Host() const { return FHost; }

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


    // ---- the host's layout pass
    // Frees the default columns when a user column follows one of them.
    void FreeDefaultColumnsBeforeUserColumns();
    // Makes the columns match the dataset's fields.  Customized columns
    // only look their fields up by name again.  Otherwise default columns
    // are kept for the fields (all of them dropped unless keepMatched),
    // made for fields without one, and put in the fields' order.
    void MatchToFields(const std::vector<TField*>& fields, bool keepMatched);

    // ---- sort markers, kept in step by the titles
    // The sort-marked columns in sort order.
    const TColumnsGxList& SortMarkedColumns() const { return FSortMarkedColumns; }
    void SortMarkerChanging(TColumnGx& column, TSortMarkerGx value);
    void ExchangeSortIndex(TColumnGx& column, int sortIndex);
    // Takes the marker off every column but `except`.
    void ClearSortMarkers(TColumnGx* except);
    // Keeps only the first sort-marked column marked.
    void KeepOneSortMarker();
    // A column goes: the others' sort indexes close the gap.
    void ForgetSortMarks(TColumnGx& column);

protected:
    // Makes a column of the collection's class; the collection finishes it.
    virtual std::unique_ptr<TColumnGx> CreateColumn();

private:
    // Adds a default column at the end.
    TColumnGx* AddDefaultColumn();
    TColumnGx* AddColumn(bool userColumn);
    std::unique_ptr<TColumnGx> TakeOut(int index);

    TColumnsHostGx* FHost;
    TColumnsGxList FSortMarkedColumns;
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
