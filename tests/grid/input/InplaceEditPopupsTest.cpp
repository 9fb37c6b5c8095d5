// The in-place editor's buttons and drop-downs under the real mouse: an
// up-down button held down keeps stepping, a press the grid hands on to a
// cell's button opens the drop-down and leaves it open, the wheel goes to
// an open list, and an open drop-down closes without taking its value when
// something else takes the mouse, the window or the editor.

#include "grid/input/InplaceEditTestSupport.h"

#include "data/FieldTypes.h"
#include "editors/EditButtonControlGx.h"
#include "editors/PopupDataListGx.h"
#include "editors/PopupListbox.h"
#include "editors/PopupMonthCalendarGx.h"
#include "platform/DateTimeFormat.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

namespace {

class InplaceEditPopups : public ::testing::Test {
protected:
    static constexpr int CountCol = 0, NameCol = 1, BornCol = 2, TreeCol = 4;

    void SetUp() override
    {
        OpenTreeTable(FTrees);
        FTable.FieldDefs().Add("COUNT", ftInteger);
        FTable.FieldDefs().Add("NAME", ftString, 20);
        FTable.FieldDefs().Add("BORN", ftDate);
        FTable.FieldDefs().Add("TREE", ftInteger);
        for (int i = 0; i < 3; ++i)
            FTable.AppendRecord({TVariant(5 + i), TVariant("Bob"),
                                 TVariant::FromDateTime(EncodeDate(2024, 2, 14 + i)), TVariant(2)});
        AddTreeLookupField(FTable, FTrees);
        FTable.Open();
        FTable.First();
        FGrid = std::make_unique<TEditingGrid>();
        FGrid->SetDataSource(&FSource);
        FGrid->SetOptions(FGrid->Options() + dgEditing);
        QStringList names;
        std::vector<std::string> lines;
        for (int i = 0; i < 30; ++i)
            lines.push_back("Name " + std::to_string(100 + i));
        lines[1] = "Bob";
        Column(NameCol).SetPickList(lines);
        ShowActiveGrid(*FGrid, 900, 200);
    }

    TColumnGx& Column(int index) { return *(*FGrid).Columns()[index]; }
    TDBGridInplaceEdit& Edit(int column) { return EditGridColumn(*FGrid, column); }
    QWindow& Window() { return *FGrid->window()->windowHandle(); }
    // The middle of the button area of a data column's cell on a data row.
    QPoint ButtonAreaOf(int dataColumn, int dataRow)
    {
        const QRect cell = FGrid->CellRect(FGrid->DataToRawColumn(dataColumn), FGrid->TitleRows() + dataRow);
        return QPoint(cell.right() - FGrid->EditButtonWidth() / 2, cell.center().y());
    }
    QPoint InWindow(QPoint viewportPoint) { return Window().mapFromGlobal(FGrid->viewport()->mapToGlobal(viewportPoint)); }
    // A press and a release at a viewport point, as the window system delivers them.
    void ClickWindowAt(QPoint viewportPoint)
    {
        const QPoint at = InWindow(viewportPoint);
        QTest::mousePress(&Window(), Qt::LeftButton, Qt::NoModifier, at);
        QApplication::processEvents();
        QTest::mouseRelease(&Window(), Qt::LeftButton, Qt::NoModifier, at);
        QApplication::processEvents();
    }

    TMemTable FTrees;
    TMemTable FTable;
    TDataSource FSource{&FTable};
    std::unique_ptr<TEditingGrid> FGrid;
};

} // namespace

TEST_F(InplaceEditPopups, HoldingTheUpDownButtonKeepsStepping)
{
    Column(CountCol).SetButtonStyle(cbsUpDown);
    TDBGridInplaceEdit& editor = Edit(CountCol);
    TEditButtonControlGx& button = editor.DefaultButton();
    const QPoint top(button.width() / 2, 2);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, top);
    EXPECT_EQ(FTable.FieldByName("COUNT")->AsInteger(), 6);
    QTest::qWait(700);
    EXPECT_TRUE(editor.isVisible());
    EXPECT_TRUE(button.Repeating());
    EXPECT_GE(FTable.FieldByName("COUNT")->AsInteger(), 8);
    EXPECT_EQ(editor.text(), QString::number(FTable.FieldByName("COUNT")->AsInteger()));
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, top);
}

TEST_F(InplaceEditPopups, APressPassedOnByTheGridOpensTheDropDownAndTheNextPressOnTheButtonClosesIt)
{
    // A pick list, a lookup and a date cell, each on the second record.
    for (const int dataColumn : {NameCol, TreeCol, BornCol}) {
        SCOPED_TRACE(dataColumn);
        FTable.First();
        FGrid->HideEditor();
        Column(dataColumn).SetAlwaysShowEditButton(true);
        const QPoint onButton = ButtonAreaOf(dataColumn, 1);
        ClickWindowAt(onButton);
        TDBGridInplaceEdit& editor = FGrid->Editor();
        ASSERT_EQ(FTable.FieldByName("COUNT")->AsInteger(), 6) << "the press moved to the second record";
        // Whatever the window system does with the new window, the list stays.
        QTest::qWait(50);
        ASSERT_TRUE(editor.isVisible());
        ASSERT_TRUE(editor.ListVisible());
        EXPECT_TRUE(editor.ActiveList()->isVisible());
        EXPECT_TRUE(editor.DefaultButton().Dropped());
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << "the release ended the button's hold on the mouse";

        // The editor now covers the cell: the next press lands on the button.
        const QString before = editor.text();
        ClickWindowAt(onButton);
        EXPECT_FALSE(editor.ListVisible());
        EXPECT_FALSE(editor.ActiveList()->isVisible());
        EXPECT_FALSE(editor.DefaultButton().Dropped());
        EXPECT_EQ(editor.text(), before) << "closed without taking a value";
        EXPECT_EQ(FTable.State(), dsBrowse);
    }
}
