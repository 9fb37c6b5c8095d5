#include "grid/DBGridGx.h"

#include "data/DataSource.h"
#include "grid/GridDataLinkGx.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScopedValueRollback>

#include <algorithm>

namespace {
// The private event that runs a deferred layout pass.
const QEvent::Type DeferredLayoutEvent = static_cast<QEvent::Type>(QEvent::User + 100);

// Option changes that change the layout.
const TDBGridOptions LayoutOptions{dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator,
                                   dgColLines, dgRowLines, dgRowSelect, dgAlwaysShowSelection};

const int IndicatorWidth = 11;
}  // namespace

TCustomDBGridGx::TCustomDBGridGx(QWidget* parent) : TCustomGrid(parent)
{
    FDataLink = std::make_unique<TGridDataLinkGx>(this);
    FColumnDefValues = std::make_unique<TColumnDefValuesGx>(this);
    FColumns = std::make_unique<TDBGridColumnsGx>(this);
    FFont = TFontGx(QWidget::font());
    FTitleFont = FFont;
    FFooterFont = FFont;
    ApplyGridOptions();
    RequestLayout();
}

TCustomDBGridGx::~TCustomDBGridGx()
{
    FDestroying = true;
    // Columns first: they report going to the grid, which must still be whole.
    FColumns.reset();
    FDataLink.reset();
}

// ---- data -----------------------------------------------------------------

TDataSource* TCustomDBGridGx::DataSource() const { return FDataLink->DataSource(); }

void TCustomDBGridGx::SetDataSource(TDataSource* value)
{
    if (value == FDataLink->DataSource())
        return;
    FDataLink->SetDataSource(value);
    LinkActiveChanged(FDataLink->Active());
}

void TCustomDBGridGx::LinkActiveChanged(bool /*active*/) { RequestLayout(); }

void TCustomDBGridGx::DataLayoutChanged()
{
    struct TFlagGuard {
        bool& Flag;
        bool Old;
        ~TFlagGuard() { Flag = Old; }
    } guard{FDataLayoutChanging, FDataLayoutChanging};
    FDataLayoutChanging = true;
    RequestLayout();
}

void TCustomDBGridGx::ColumnFieldFreed(TColumnGx& /*column*/)
{
    // The dataset may be tearing its fields down right now: the columns are
    // matched to its fields again once control returns to the event loop.
    if (!FDestroying)
        PostDeferredLayout();
}

void TCustomDBGridGx::ColumnDestroying(TColumnGx& column)
{
    if (FDestroying)
        return;
    TColumnTitleGx& title = *column.Title();
    if (title.FSortIndex > 0)
        for (const auto& other : *FColumns)
            if (other.get() != &column && other->Title()->FSortIndex > title.FSortIndex)
                --other->Title()->FSortIndex;
    FSortMarkedColumns.Remove(&column);
}

void TCustomDBGridGx::FooterSummaryChanged(TColumnFooterGx& /*footer*/) {}

void TCustomDBGridGx::FooterDestroying(TColumnFooterGx& /*footer*/) {}

void TCustomDBGridGx::WatchImageList(TImageList* list)
{
    if (!list)
        return;
    connect(list, &TImageList::Changed, this, &TCustomDBGridGx::ImageListChanged, Qt::UniqueConnection);
    connect(list, &QObject::destroyed, this, &TCustomDBGridGx::ImageListChanged, Qt::UniqueConnection);
}

void TCustomDBGridGx::ImageListChanged() { InvalidateGrid(); }

// ---- settings -------------------------------------------------------------

void TCustomDBGridGx::SetParentColor(bool value)
{
    if (value == FParentColor)
        return;
    FParentColor = value;
    InvalidateGrid();
}

void TCustomDBGridGx::SetFooterColor(TColor value)
{
    FParentColor = false;
    if (value == FFooterColor)
        return;
    FFooterColor = value;
    InvalidateGrid();
}

void TCustomDBGridGx::SetFont(const TFontGx& value)
{
    FParentFont = false;
    FFont = value;
    {
        QScopedValueRollback<bool> applying(FApplyingFont, true);
        QWidget::setFont(value);
    }
    // Columns without a font of their own follow the new one.
    TLayoutLockGx lock(this);
}

void TCustomDBGridGx::SetTitleFont(const TFontGx& value)
{
    FParentFont = false;
    if (value == FTitleFont)
        return;
    FTitleFont = value;
    if (FOptions.Contains(dgTitles))
        RequestLayout();
    else
        InvalidateGrid();
}

void TCustomDBGridGx::SetFooterFont(const TFontGx& value)
{
    FParentFont = false;
    if (value == FFooterFont)
        return;
    FFooterFont = value;
    if (FFooterRowCount > 0)
        RequestLayout();
    else
        InvalidateGrid();
}

void TCustomDBGridGx::SetParentFont(bool value)
{
    if (value == FParentFont)
        return;
    FParentFont = value;
    if (value)
        FollowParentFont();
}

void TCustomDBGridGx::FollowParentFont()
{
    {
        // An empty font lets the widget inherit its parent's font again.
        QScopedValueRollback<bool> applying(FApplyingFont, true);
        QWidget::setFont(QFont());
    }
    FFont = TFontGx(QWidget::font(), FFont.Color());
    FTitleFont = FFont;
    FFooterFont = FFont;
    TLayoutLockGx lock(this);
}

void TCustomDBGridGx::changeEvent(QEvent* e)
{
    TCustomGrid::changeEvent(e);
    if (e->type() == QEvent::FontChange && FParentFont && !FApplyingFont)
        FollowParentFont();
}

void TCustomDBGridGx::SetReadOnly(bool value)
{
    if (value == FReadOnly)
        return;
    FReadOnly = value;
    InvalidateGrid();
}

void TCustomDBGridGx::SetDrawMemoText(bool value)
{
    if (value == FDrawMemoText)
        return;
    FDrawMemoText = value;
    InvalidateGrid();
}

void TCustomDBGridGx::SetUseMultiTitle(bool value)
{
    if (value == FUseMultiTitle)
        return;
    FUseMultiTitle = value;
    RequestLayout();
}

void TCustomDBGridGx::SetAutoFitColWidths(bool value)
{
    if (value == FAutoFitColWidths)
        return;
    FAutoFitColWidths = value;
    if (value)
        for (const auto& column : *FColumns)
            column->TakeBaseWidth();
    RequestLayout();
}

void TCustomDBGridGx::SetFooterRowCount(int value)
{
    if (value < 0 || value == FFooterRowCount)
        return;
    FFooterRowCount = value;
    RequestLayout();
}

void TCustomDBGridGx::SetTitleImages(TImageList* value)
{
    if (value == FTitleImages)
        return;
    FTitleImages = value;
    WatchImageList(value);
    RequestLayout();
}

void TCustomDBGridGx::SetOptions(TDBGridOptions value)
{
    if (value.Contains(dgRowSelect))
        value -= TDBGridOptions{dgEditing, dgAlwaysShowEditor};
    if (value == FOptions)
        return;
    TDBGridOptions changed = TDBGridOptions::FromBits(value.Bits() ^ FOptions.Bits());
    FOptions = value;
    ApplyGridOptions();
    if (!(changed * LayoutOptions).Empty())
        RequestLayout();
}

void TCustomDBGridGx::ApplyGridOptions()
{
    TGridOptions options;
    if (FOptions.Contains(dgColLines))
        options += TGridOptions{goFixedVertLine, goVertLine};
    if (FOptions.Contains(dgRowLines))
        options += TGridOptions{goFixedHorzLine, goHorzLine};
    if (FOptions.Contains(dgColumnResize))
        options += TGridOptions{goColSizing, goColMoving};
    if (FOptions.Contains(dgTabs))
        options += goTabs;
    if (FOptions.Contains(dgRowSelect))
        options += goRowSelect;
    if (FOptions.Contains(dgEditing))
        options += goEditing;
    if (FOptions.Contains(dgAlwaysShowEditor))
        options += goAlwaysShowEditor;
    TCustomGrid::SetOptions(options);
}

void TCustomDBGridGx::SetOptionsGx(TDBGridGxOptions value)
{
    if (value == FOptionsGx)
        return;
    if (FOptionsGx.Contains(dghMultiSortMarking) && !value.Contains(dghMultiSortMarking)) {
        // Only the first column in sort order keeps its marker.
        while (FSortMarkedColumns.Count() > 1)
            FSortMarkedColumns[FSortMarkedColumns.Count() - 1]->Title()->SetSortMarker(smNoneGx);
    }
    FOptionsGx = value;
    RequestLayout();
}

// ---- sort markers ---------------------------------------------------------

void TCustomDBGridGx::SortMarkerChanging(TColumnGx& column, TSortMarkerGx value)
{
    TColumnTitleGx& title = *column.Title();
    if (FOptionsGx.Contains(dghMultiSortMarking)) {
        if (value != smNoneGx && title.FSortIndex == 0) {
            int marked = 0;
            for (const auto& other : *FColumns)
                if (other->Title()->FSortIndex > 0)
                    ++marked;
            title.FSortIndex = marked + 1;
            FSortMarkedColumns.Add(&column);
        } else if (value == smNoneGx && title.FSortIndex > 0) {
            for (const auto& other : *FColumns)
                if (other->Title()->FSortIndex > title.FSortIndex)
                    --other->Title()->FSortIndex;
            FSortMarkedColumns.Remove(&column);
            title.FSortIndex = 0;
        }
        return;
    }
    if (value != smNoneGx) {
        for (const auto& other : *FColumns) {
            TColumnTitleGx& otherTitle = *other->Title();
            if (other.get() == &column || (otherTitle.FSortMarker == smNoneGx && otherTitle.FSortIndex == 0))
                continue;
            otherTitle.FSortMarker = smNoneGx;
            otherTitle.FSortIndex = 0;
            other->Changed(false);
        }
        title.FSortIndex = 1;
        FSortMarkedColumns.Clear();
        FSortMarkedColumns.Add(&column);
    } else {
        title.FSortIndex = 0;
        FSortMarkedColumns.Clear();
    }
}

void TCustomDBGridGx::ExchangeSortIndex(TColumnGx& column, int sortIndex)
{
    TColumnGx* holder = nullptr;
    for (const auto& other : *FColumns)
        if (other.get() != &column && other->Title()->FSortMarker != smNoneGx &&
            other->Title()->FSortIndex == sortIndex)
            holder = other.get();
    if (!holder)
        return;
    std::swap(column.Title()->FSortIndex, holder->Title()->FSortIndex);
    int a = FSortMarkedColumns.IndexOf(&column);
    int b = FSortMarkedColumns.IndexOf(holder);
    if (a >= 0 && b >= 0)
        FSortMarkedColumns.Exchange(a, b);
    holder->Changed(false);
    column.Changed(false);
}

void TCustomDBGridGx::ClearSortMarkers(TColumnGx* except)
{
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* column = (*FColumns)[i];
        if (column != except && column->Title()->SortMarker() != smNoneGx)
            column->Title()->SetSortMarker(smNoneGx);
    }
}

// ---- layout ---------------------------------------------------------------

void TCustomDBGridGx::LockLayout()
{
    LockUpdate();
    if (FLayoutLock == 0)
        FColumns->BeginUpdate();
    ++FLayoutLock;
}

void TCustomDBGridGx::UnlockLayout()
{
    if (FLayoutLock == 0)
        return;
    if (FLayoutLock == 1) {
        try {
            if (!FDestroying)
                RebuildLayout();
        } catch (...) {
            ReleaseLayout();
            throw;
        }
    }
    ReleaseLayout();
}

void TCustomDBGridGx::ReleaseLayout()
{
    if (FLayoutLock == 0)
        return;
    if (FLayoutLock == 1)
        FColumns->EndUpdate();
    --FLayoutLock;
    UnlockUpdate();
}

bool TCustomDBGridGx::TryLockLayout()
{
    if (FUpdateLock != 0 || FLayoutLock != 0)
        return false;
    LockLayout();
    return true;
}

void TCustomDBGridGx::UnlockUpdate()
{
    if (FUpdateLock > 0)
        --FUpdateLock;
}

void TCustomDBGridGx::RequestLayout()
{
    ++FLayoutRequestCount;
    if (FDestroying)
        return;
    if (TryLockLayout())
        UnlockLayout();
}

void TCustomDBGridGx::PostDeferredLayout()
{
    if (FDeferredLayoutPosted)
        return;
    FDeferredLayoutPosted = true;
    QCoreApplication::postEvent(this, new QEvent(DeferredLayoutEvent));
}

bool TCustomDBGridGx::event(QEvent* e)
{
    if (e->type() == DeferredLayoutEvent) {
        FDeferredLayoutPosted = false;
        if (TryLockLayout())
            UnlockLayout();
        else
            PostDeferredLayout();
        return true;
    }
    return TCustomGrid::event(e);
}

void TCustomDBGridGx::RebuildLayout()
{
    ++FLayoutPassCount;
    if (FDeferredLayoutPosted) {
        QCoreApplication::removePostedEvents(this, DeferredLayoutEvent);
        FDeferredLayoutPosted = false;
    }
    FIndicatorCols = FOptions.Contains(dgIndicator) ? 1 : 0;
    FTitleRows = FOptions.Contains(dgTitles) ? 1 : 0;
    RebuildColumns();

    SetColCount(std::max(FColumns->Count(), 1) + FIndicatorCols);
    SetFixedCols(FIndicatorCols);
    if (RowCount() <= FTitleRows)
        SetRowCount(FTitleRows + 1);
    SetFixedRows(FTitleRows);
    if (FIndicatorCols > 0)
        SetColWidths(0, IndicatorWidth);
    for (const auto& column : *FColumns)
        ApplyColumnWidth(*column);
    InvalidateGrid();
}

void TCustomDBGridGx::RebuildColumns()
{
    TDBGridColumnsGx& columns = *FColumns;

    // A user column after a default one: the default columns go.
    bool defaultSeen = false;
    for (const auto& column : columns) {
        if (!column->IsUserColumn()) {
            defaultSeen = true;
        } else if (defaultSeen) {
            for (int i = columns.Count() - 1; i >= 0; --i)
                if (!columns[i]->IsUserColumn())
                    columns.Delete(i);
            break;
        }
    }

    if (columns.State() == csCustomized) {
        for (const auto& column : columns)
            column->FField.Reset();
        return;
    }

    std::vector<TField*> fields = FDataLink->VisibleFields();
    TDataSet* dataSet = FDataLink->DataSet();
    bool persistentFields = dataSet && !dataSet->DefaultFields() && dataSet->FieldCount() > 0;
    if (FDataLink->Active() || persistentFields) {
        for (int i = columns.Count() - 1; i >= 0; --i) {
            TField* field = columns[i]->Field();
            if (!field || std::find(fields.begin(), fields.end(), field) == fields.end())
                columns.Delete(i);
        }
    } else {
        columns.Clear();
    }

    int positions = static_cast<int>(fields.size());
    if (positions == 0 && columns.Count() == 0)
        positions = 1;
    for (int i = 0; i < positions; ++i) {
        TField* field = i < static_cast<int>(fields.size()) ? fields[static_cast<size_t>(i)] : nullptr;
        int found = -1;
        for (int j = i; j < columns.Count() && found < 0; ++j)
            if (columns[j]->Field() == field)
                found = j;
        if (found < 0) {
            columns.AddDefaultColumn()->SetField(field);
            found = columns.Count() - 1;
        }
        columns.Move(found, i);
    }
}

void TCustomDBGridGx::ApplyColumnWidth(TColumnGx& column)
{
    int raw = DataToRawColumn(column.Index());
    if (raw < 0 || raw >= ColCount())
        return;
    int width = column.Visible() ? column.Width() : (FOptions.Contains(dgColLines) ? -1 : 0);
    SetColWidths(raw, width);
}

// ---- the column change notification ----------------------------------------

void TCustomDBGridGx::ColumnsChanged(TColumnGx* item)
{
    if (FDestroying)
        return;
    if (!item) {
        RequestLayout();
    } else {
        int raw = DataToRawColumn(item->Index());
        if (raw >= 0 && raw < ColCount()) {
            InvalidateCol(raw);
            if (!FAutoFitColWidths) {
                if (ColWidths(raw) == item->Width()) {
                    if (FUseMultiTitle)
                        RequestLayout();
                } else {
                    ApplyColumnWidth(*item);
                }
            } else if (ColWidths(raw) != -1) {
                // The column was sized by hand: its share of the auto-fit
                // width changes, the next column takes up the difference.
                int current = ColWidths(raw);
                int oldBase = item->BaseWidth();
                int newBase = current > 0
                                  ? static_cast<int>(static_cast<int64_t>(oldBase) * item->Width() / current)
                                  : oldBase;
                item->SetBaseWidth(newBase);
                int next = item->Index() + 1;
                if (next < FColumns->Count()) {
                    TColumnGx* nextColumn = (*FColumns)[next];
                    nextColumn->SetBaseWidth(std::max(0, nextColumn->BaseWidth() + oldBase - newBase));
                }
                RequestLayout();
            }
        }
    }
    MoveOffInvisibleColumn();
}

void TCustomDBGridGx::MoveOffInvisibleColumn()
{
    int current = RawToDataColumn(Col());
    if (current < 0 || current >= FColumns->Count() || (*FColumns)[current]->Visible())
        return;
    for (int i = 0; i < FColumns->Count(); ++i) {
        if (!(*FColumns)[i]->Visible())
            continue;
        int raw = DataToRawColumn(i);
        if (raw >= FixedCols() && raw < ColCount())
            SetCol(raw);
        return;
    }
}
