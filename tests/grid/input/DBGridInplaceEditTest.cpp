// The data grid's in-place editor with its drop-downs, driven with keys
// and the mouse on a shown grid: the pick list (placement, keys, accepting
// and discarding, the size the user gave it), the month calendar and the
// lookup list, and the default edit button.

#include "grid/input/InplaceEditTestSupport.h"

#include "data/FieldTypes.h"
#include "editors/EditButtonControlGx.h"
#include "editors/PopupDataListGx.h"
#include "editors/PopupListbox.h"
#include "editors/PopupMonthCalendarGx.h"
#include "grid/input/DBGridGxEditorHost.h"
#include "grid/input/DBGridInplaceEdit.h"
#include "platform/DateTimeFormat.h"

#include <QScreen>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class GridInplaceEdit : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenTreeTable(FTrees);

        FTable.FieldDefs().Add("NAME", ftString, 20);
        FTable.FieldDefs().Add("BORN", ftDate);
        FTable.FieldDefs().Add("TREE", ftInteger);
        FTable.AppendRecord({TVariant("Bob"), TVariant::FromDateTime(EncodeDate(2024, 2, 14)), TVariant(2)});
        AddTreeLookupField(FTable, FTrees);
        FTable.Open();

        FGrid = std::make_unique<TEditingGrid>();
        FGrid->SetDataSource(&FSource);
        FGrid->SetOptions(FGrid->Options() + dgEditing);
        FGrid->Columns()[0]->SetPickList({"Ann", "Bob", "Cid", "Dan"});
        ShowActiveGrid(*FGrid, 500, 200);
    }

    TDBGridInplaceEdit& EditColumn(int column) { return EditGridColumn(*FGrid, column); }
    void Key(QWidget& target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(&target, key, modifiers);
    }

    TMemTable FTrees;
    TMemTable FTable;
    TDataSource FSource{&FTable};
    std::unique_ptr<TEditingGrid> FGrid;
};

} // namespace

TEST_F(GridInplaceEdit, EachColumnGetsItsEditStyleAndTheDropDownButton)
{
    EXPECT_EQ(EditColumn(0).EditStyle(), esPickListGx);
    EXPECT_TRUE(EditColumn(0).DefaultButton().isVisible());
    EXPECT_EQ(EditColumn(1).EditStyle(), esDateCalendarGx);
    EXPECT_EQ(EditColumn(3).EditStyle(), esDataListGx);
    EXPECT_EQ(EditColumn(2).EditStyle(), esSimpleGx);
    EXPECT_FALSE(EditColumn(2).DefaultButton().isVisible());
    FGrid->Columns()[2]->SetButtonStyle(cbsEllipsis);
    EditColumn(1);
    EXPECT_EQ(EditColumn(2).EditStyle(), esEllipsisGx);
    EXPECT_EQ(EditColumn(2).DefaultButton().Style(), ebsEllipsisGx);
}

TEST_F(GridInplaceEdit, APickListOpensUnderTheCellAndEnterTakesTheChosenLine)
{
    TDBGridInplaceEdit& editor = EditColumn(0);
    Key(editor, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor.ListVisible());
    TPopupListbox& list = *editor.PickList();
    EXPECT_EQ(list.count(), 4);
    EXPECT_EQ(GlobalRect(list).top(), GlobalRect(editor).bottom() + 1);
    EXPECT_EQ(GlobalRect(list).left(), GlobalRect(editor).left());
    Key(editor, Qt::Key_Down);
    Key(editor, Qt::Key_Down);
    EXPECT_EQ(list.currentItem()->text(), editor.text());
    Key(editor, Qt::Key_Return);
    EXPECT_FALSE(editor.ListVisible());
    EXPECT_FALSE(list.isVisible());
    EXPECT_EQ(editor.text(), list.currentItem()->text());
    EXPECT_EQ(FTable.State(), dsEdit);
    EXPECT_TRUE(editor.isModified());
}

TEST_F(GridInplaceEdit, EscClosesThePickListAndPutsTheFieldsTextBack)
{
    TDBGridInplaceEdit& editor = EditColumn(0);
    editor.setText("Bob");
    Key(editor, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(editor.ListVisible());
    EXPECT_EQ(editor.PickList()->currentRow(), 1);
    Key(editor, Qt::Key_Down);
    EXPECT_EQ(editor.text(), "Cid");
    Key(editor, Qt::Key_Escape);
    EXPECT_FALSE(editor.ListVisible());
    EXPECT_EQ(editor.text(), "Bob");
    EXPECT_EQ(FTable.State(), dsBrowse);
}

TEST_F(GridInplaceEdit, NearTheBottomOfTheScreenThePickListOpensAbove)
{
    const QRect work = QApplication::primaryScreen()->availableGeometry();
    // The grid's first rows just above the bottom of the work area.
    FGrid->move(work.left() + 10, work.bottom() - 45);
    QApplication::processEvents();
    TDBGridInplaceEdit& editor = EditColumn(0);
    Key(editor, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor.ListVisible());
    const QRect list = GlobalRect(*editor.PickList());
    ASSERT_LT(work.bottom() - GlobalRect(editor).bottom(), list.height());   // no room below
    EXPECT_EQ(list.bottom(), GlobalRect(editor).top() - 1);
    EXPECT_GE(list.top(), work.top());
}

TEST_F(GridInplaceEdit, ASizeGivenWithTheGripIsKeptForTheNextDropDown)
{
    FGrid->Columns()[0]->SetDropDownSizing(true);
    FGrid->Columns()[0]->SetDropDownRows(2);
    TDBGridInplaceEdit& editor = EditColumn(0);
    Key(editor, Qt::Key_Down, Qt::AltModifier);
    TPopupListbox& list = *editor.PickList();
    ASSERT_TRUE(list.SizeGrip().isVisible());
    EXPECT_EQ(list.VisibleRows(), 2);
    TSizeGripGx& grip = list.SizeGrip();
    const QPoint start = grip.mapToGlobal(grip.rect().center());
    const QPoint end = start + QPoint(40, 2 * list.ItemHeight());
    auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(grip.mapFromGlobal(global)), QPointF(global), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&grip, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
    const int width = list.width();
    Key(editor, Qt::Key_Escape);
    EXPECT_EQ(FGrid->Columns()[0]->DropDownRows(), 4);
    EXPECT_EQ(FGrid->Columns()[0]->DropDownWidth(), width);
    Key(editor, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(list.width(), width);
    EXPECT_EQ(list.VisibleRows(), 4);
}

TEST_F(GridInplaceEdit, TheCalendarOpensOnTheFieldsDateAndEnterWritesThePickedDate)
{
    TDBGridInplaceEdit& editor = EditColumn(1);
    editor.SetValueText(QString::fromStdString(FTable.FieldByName("BORN")->EditText()));
    Key(editor, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor.ListVisible());
    TPopupMonthCalendarGx& calendar = *editor.Calendar();
    EXPECT_EQ(calendar.Date(), QDate(2024, 2, 14));
    Key(editor, Qt::Key_Right);
    Key(editor, Qt::Key_Right);
    EXPECT_EQ(calendar.Date(), QDate(2024, 2, 16));
    Key(editor, Qt::Key_Return);
    EXPECT_FALSE(calendar.isVisible());
    EXPECT_EQ(FTable.State(), dsEdit);
    EXPECT_EQ(FTable.FieldByName("BORN")->AsDateTime(), EncodeDate(2024, 2, 16));
    EXPECT_EQ(editor.ValueText().toStdString(), FTable.FieldByName("BORN")->EditText());
}

TEST_F(GridInplaceEdit, EscOrTabbingAwayFromTheCalendarLeavesTheDateAlone)
{
    TDBGridInplaceEdit& editor = EditColumn(1);
    Key(editor, Qt::Key_Down, Qt::AltModifier);
    Key(editor, Qt::Key_Right);
    Key(editor, Qt::Key_Escape);
    EXPECT_FALSE(editor.ListVisible());
    EXPECT_EQ(FTable.FieldByName("BORN")->AsDateTime(), EncodeDate(2024, 2, 14));

    Key(editor, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor.ListVisible());
    QWidget other;
    other.show();
    other.activateWindow();
    other.setFocus();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !editor.ListVisible(); }, 1000)) << "the list closes up";
    EXPECT_EQ(FTable.FieldByName("BORN")->AsDateTime(), EncodeDate(2024, 2, 14));
}

TEST_F(GridInplaceEdit, ClickingAGrayedDayOfTheNextMonthPicksIt)
{
    TDBGridInplaceEdit& editor = EditColumn(1);
    editor.SetValueText(QString::fromStdString(FTable.FieldByName("BORN")->EditText()));
    Key(editor, Qt::Key_Down, Qt::AltModifier);
    TPopupMonthCalendarGx& calendar = *editor.Calendar();
    auto* view = calendar.findChild<QTableView*>();
    ASSERT_NE(view, nullptr);
    // The last row of February 2024 holds the first days of March.
    const int lastRow = view->model()->rowCount() - 1;
    QModelIndex march;
    for (int column = view->model()->columnCount() - 1; column >= 0 && !march.isValid(); --column) {
        const QModelIndex cell = view->model()->index(lastRow, column);
        if (view->model()->data(cell).toInt() < 15)
            march = cell;
    }
    ASSERT_TRUE(march.isValid());
    const int day = view->model()->data(march).toInt();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(march).center());
    EXPECT_FALSE(editor.ListVisible());
    EXPECT_EQ(FTable.FieldByName("BORN")->AsDateTime(), EncodeDate(2024, 3, day));
}

TEST_F(GridInplaceEdit, AShortLookupTableOpensAListOfItsRecordsAndEnterStoresTheKey)
{
    TDBGridInplaceEdit& editor = EditColumn(3);
    Key(editor, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor.ListVisible());
    TPopupDataListGx& list = *editor.DataList();
    EXPECT_EQ(list.RowCount(), 3);   // DropDownRows 7, three records
    EXPECT_EQ(list.CurrentKey(), TVariant(2));
    Key(editor, Qt::Key_Down);
    EXPECT_EQ(editor.text(), "Tree C");
    Key(editor, Qt::Key_Return);
    EXPECT_FALSE(list.isVisible());
    EXPECT_EQ(FTable.FieldByName("TREE")->AsInteger(), 3);
    EXPECT_EQ(FTable.FieldByName("TREENAME")->AsString(), "Tree C");
    EXPECT_EQ(editor.text(), "Tree C");
}

TEST_F(GridInplaceEdit, TheButtonOpensTheListKeepsItOpenOnReleaseAndClosesItOnTheNextPress)
{
    TDBGridInplaceEdit& editor = EditColumn(0);
    TEditButtonControlGx& button = editor.DefaultButton();
    const QPoint middle = button.rect().center();
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, middle);
    EXPECT_TRUE(editor.ListVisible());
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, middle);
    EXPECT_TRUE(editor.ListVisible());
    editor.PickList()->setCurrentRow(2);
    QTest::mousePress(&button, Qt::LeftButton, Qt::NoModifier, middle);
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::NoModifier, middle);
    EXPECT_FALSE(editor.ListVisible());
    EXPECT_NE(editor.text(), "Cid");   // closed without accepting
}
