#pragma once
// Shared pieces of the data grid tests: an in-memory table with a field of
// each kind the column model treats differently, bound to a grid, and a
// grid that records the hooks the column model calls.

#include "data/DataSource.h"
#include "data/MemTable.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"

#include <QApplication>
#include <QPaintEvent>
#include <QRegion>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A grid that counts the footer summary notifications it gets.
class TRecordingGrid : public TDBGridGx {
public:
    using TDBGridGx::TDBGridGx;

    std::vector<const TColumnFooterGx*> SummaryChanges;
    int FootersDestroyed = 0;
    // Runs at the end of every layout pass.
    std::function<void()> AfterLayout;

    void RebuildLayout() override
    {
        TDBGridGx::RebuildLayout();
        if (AfterLayout)
            AfterLayout();
    }

    void FooterSummaryChanged(TColumnFooterGx& footer) override { SummaryChanges.push_back(&footer); }
    void FooterDestroying(TColumnFooterGx& footer) override
    {
        (void)footer;
        ++FootersDestroyed;
    }
};

// ID integer, NAME string(20), ACTIVE boolean, CODE string(1), NOTES memo,
// AMOUNT float; three records.
inline std::unique_ptr<TMemTable> SampleTable(bool open = true)
{
    auto table = std::make_unique<TMemTable>();
    table->FieldDefs().Add("ID", ftInteger);
    table->FieldDefs().Add("NAME", ftString, 20);
    table->FieldDefs().Add("ACTIVE", ftBoolean);
    table->FieldDefs().Add("CODE", ftString, 1);
    table->FieldDefs().Add("NOTES", ftMemo);
    table->FieldDefs().Add("AMOUNT", ftFloat);
    table->AppendRecord({TVariant(1), TVariant("Ann"), TVariant(true), TVariant("Y"),
                         TVariant("first line\nsecond line"), TVariant(12.5)});
    table->AppendRecord({TVariant(2), TVariant("Bob"), TVariant(false), TVariant("y"), TVariant::Null(),
                         TVariant(-3.0)});
    table->AppendRecord({TVariant(3), TVariant::Null(), TVariant::Null(), TVariant("N"), TVariant::Null(),
                         TVariant::Null()});
    if (open)
        table->Open();
    return table;
}

// A grid bound to the sample table through a data source.
struct TBoundGrid {
    std::unique_ptr<TMemTable> Table = SampleTable();
    std::unique_ptr<TDataSource> Source = std::make_unique<TDataSource>(Table.get());
    std::unique_ptr<TRecordingGrid> Grid = std::make_unique<TRecordingGrid>();

    TBoundGrid() { Grid->SetDataSource(Source.get()); }

    TDBGridColumnsGx& Columns() { return Grid->Columns(); }
    TColumnGx* Column(const std::string& fieldName)
    {
        for (const auto& column : Grid->Columns())
            if (column->FieldName() == fieldName)
                return column.get();
        return nullptr;
    }
    TField* Field(const std::string& name) { return Table->FieldByName(name); }
};

inline std::vector<std::string> ColumnFieldNames(const TDBGridColumnsGx& columns)
{
    std::vector<std::string> names;
    for (const auto& column : columns)
        names.push_back(column->FieldName());
    return names;
}

// Shows a grid at the given outer size as the active window with the
// keyboard focus, and lets the pending layout and paint events run.
inline void ShowActiveGrid(QWidget& grid, int width, int height)
{
    grid.resize(width, height);
    grid.show();
    QApplication::setActiveWindow(&grid);
    (void)QTest::qWaitForWindowExposed(&grid);
    grid.activateWindow();
    grid.setFocus();
    QApplication::processEvents();
}

// Collects the regions a widget paints while it is alive.
class TPaintRecorder : public QObject {
public:
    explicit TPaintRecorder(QWidget* widget) : FWidget(widget) { widget->installEventFilter(this); }
    ~TPaintRecorder() override { FWidget->removeEventFilter(this); }
    QRegion Painted;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == FWidget && e->type() == QEvent::Paint)
            Painted += static_cast<QPaintEvent*>(e)->region();
        return false;
    }

private:
    QWidget* FWidget;
};
