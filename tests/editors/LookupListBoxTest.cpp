// The lookup list box driven with keys and the mouse: binding errors, the
// special row, the type-ahead search and its time-out, RowCount limits,
// picking into an edited dataset, auto-scrolling and the scroll bar.

#include "LookupTestSupport.h"
#include "editors/DBLookupListBoxGx.h"
#include "editors/SearchClockGx.h"
#include "platform/Exceptions.h"
#include "ui/DialogService.h"
#include "ui/QtColor.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class LookupListBox : public ::testing::Test {
protected:
    void Bind(const std::vector<std::pair<int, std::string>>& trees)
    {
        FTables = std::make_unique<TTreeTables>(trees);
        FList = std::make_unique<TDBLookupListBoxGx>();
        FList->SetListSource(&FTables->TreeSource);
        FList->SetKeyField("CODE");
        FList->SetListField("NAME");
        FList->resize(200, FList->height());
        FList->show();
        FList->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FList.get()));
    }

    void TypeText(const char* text) { QTest::keyClicks(FList.get(), text); }
    void Key(Qt::Key key) { QTest::keyClick(FList.get(), key); }
    // Client y of the middle of record row `row`.
    int RowY(int row) const
    {
        return FList->TitleHeight() + FList->SpecRowHeight() + row * FList->RowHeight() + FList->RowHeight() / 2;
    }
    void Mouse(QEvent::Type type, int y, Qt::MouseButtons buttons)
    {
        const QPoint at(20, FList->ClientRect().top() + y);
        QMouseEvent event(type, QPointF(at), QPointF(FList->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(FList.get(), &event);
    }
    void ShowSpecRow(const TVariant& value, bool showIfNotInKeyList = true)
    {
        FList->SpecRow().SetCellsText("(none)");
        FList->SpecRow().SetValue(value);
        FList->SpecRow().SetShowIfNotInKeyList(showIfNotInKeyList);
        FList->SpecRow().SetVisible(true);
    }

    std::unique_ptr<TTreeTables> FTables;
    std::unique_ptr<TDBLookupListBoxGx> FList;
    int64_t FNow = 100000;
};

} // namespace

TEST_F(LookupListBox, BindingNamesTheMissingField)
{
    Bind({{1, "Oak"}});
    try {
        FList->SetListField("NAME;HEIGHT");
        FAIL() << "no error";
    } catch (const EDatabaseError& error) {
        EXPECT_STREQ(error.what(), "Field 'NAME;HEIGHT' not found");
    }
    EXPECT_FALSE(FList->ListActive());
    try {
        FList->SetKeyField("KEY");
        FAIL() << "no error";
    } catch (const EDatabaseError& error) {
        EXPECT_STREQ(error.what(), "Field 'KEY' not found");
    }
}

TEST_F(LookupListBox, ListFieldsDefaultToTheKeyAndListFieldIndexChoosesTheDisplayField)
{
    Bind({{1, "Oak"}});
    FList->SetListField("");
    ASSERT_EQ(FList->ListFields().size(), 1u);
    EXPECT_EQ(FList->DisplayField()->FieldName(), "CODE");
    FList->SetListField("NAME;LATIN");
    FList->SetListFieldIndex(1);
    EXPECT_EQ(FList->DisplayField()->FieldName(), "LATIN");
    FList->SetListFieldIndex(5);
    EXPECT_EQ(FList->DisplayField()->FieldName(), "NAME");
}

TEST_F(LookupListBox, ALookupFieldSetsTheListAndRefusesAnotherListSource)
{
    Bind({{1, "Oak"}, {2, "Ash"}});
    FList = std::make_unique<TDBLookupListBoxGx>();
    FTables->OpenPlantingsWithLookup();
    FList->SetDataSource(&FTables->PlantingSource);
    FList->SetDataField("TREENAME");
    EXPECT_TRUE(FList->LookupMode());
    EXPECT_TRUE(FList->ListActive());
    EXPECT_EQ(FList->KeyField(), "CODE");
    EXPECT_EQ(FList->DisplayField()->FieldName(), "NAME");
    EXPECT_EQ(FList->CurrentKey(), TVariant(1));
    EXPECT_EQ(FList->DisplayText(), "Oak");
    EXPECT_THROW(FList->SetListSource(&FTables->TreeSource), EDatabaseError);
    EXPECT_THROW(FList->SetKeyField("NAME"), EDatabaseError);
    // The edited dataset moving changes the key shown.
    FTables->Plantings.Next();
    EXPECT_TRUE(FList->CurrentKey().IsNull());
    EXPECT_EQ(FList->DisplayText(), "");
}

TEST_F(LookupListBox, PickingARowWritesTheKeyIntoTheEditedDataSet)
{
    Bind({{1, "Oak"}, {2, "Ash"}, {3, "Elm"}});
    FTables->Plantings.Open();
    FList->SetDataSource(&FTables->PlantingSource);
    FList->SetDataField("TREE");
    EXPECT_EQ(FList->CurrentKey(), TVariant(1));
    Mouse(QEvent::MouseButtonPress, RowY(2), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, RowY(2), Qt::NoButton);
    EXPECT_EQ(FTables->Plantings.State(), dsEdit);
    EXPECT_EQ(FTables->Plantings.FieldByName("TREE")->AsInteger(), 3);
    EXPECT_EQ(FList->CurrentKey(), TVariant(3));
    EXPECT_EQ(FList->DisplayText(), "Elm");

    FList->SetReadOnly(true);
    EXPECT_FALSE(FList->CanChangeKey());
    Key(Qt::Key_Up);
    EXPECT_EQ(FTables->Plantings.FieldByName("TREE")->AsInteger(), 3);
}

TEST_F(LookupListBox, ARefusedEditOfTheDataSetIsReportedByTheListAndChangesNothing)
{
    Bind({{1, "Oak"}, {2, "Ash"}, {3, "Elm"}});
    FTables->Plantings.Open();
    FList->SetDataSource(&FTables->PlantingSource);
    FList->SetDataField("TREE");
    FTables->Plantings.BeforeEdit = [](TDataSet&) { throw EDatabaseError("Record locked by another user"); };
    {
        // Reported where the event reaches the list: nothing unwinds through the toolkit.
        TMessageAnswerer answer(mrOk);
        Mouse(QEvent::MouseButtonPress, RowY(2), Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, RowY(2), Qt::NoButton);
        ASSERT_GE(answer.Count(), 1) << "the click";
        const int afterClick = answer.Count();
        Key(Qt::Key_Down);
        ASSERT_EQ(answer.Count(), afterClick + 1) << "the key";
        for (const TMessageRequest& request : answer.Requests())
            EXPECT_EQ(request.Text, "Record locked by another user");
    }
    EXPECT_EQ(FTables->Plantings.State(), dsBrowse);
    EXPECT_EQ(FTables->Plantings.FieldByName("TREE")->AsInteger(), 1);
    EXPECT_EQ(FList->CurrentKey(), TVariant(1));
}

TEST_F(LookupListBox, TheSpecialRowShowsSelectedForItsValueWithItsCellAsText)
{
    Bind({{1, "Oak"}, {2, "Ash"}});
    ShowSpecRow(TVariant(0));
    FList->SetKeyValue(TVariant(0));
    EXPECT_TRUE(FList->SpecRow().Selected());
    EXPECT_EQ(FList->DisplayText(), "(none)");
    const QImage picture = FList->grab().toImage();
    const QPoint inSpecRow(FList->ClientRect().left() + 60, FList->ClientRect().top() + FList->SpecRowHeight() / 2);
    EXPECT_EQ(QColor(picture.pixel(inSpecRow)), ToQColor(clHighlight));
    const QPoint inFirstRow(inSpecRow.x(), FList->ClientRect().top() + RowY(0));
    EXPECT_EQ(QColor(picture.pixel(inFirstRow)), ToQColor(clWindow));

    FList->SetKeyValue(TVariant(2));
    EXPECT_FALSE(FList->SpecRow().Selected());
    EXPECT_EQ(FList->DisplayText(), "Ash");
}

TEST_F(LookupListBox, AKeyNotInTheListSelectsTheSpecialRowOnlyWithShowIfNotInKeyList)
{
    Bind(NumberedTrees(20));
    ShowSpecRow(TVariant::Null());
    FTables->Trees.Last();
    FList->SetKeyValue(TVariant(99));
    EXPECT_TRUE(FList->SpecRow().Selected());
    EXPECT_EQ(FList->DisplayText(), "(none)");

    FList->SpecRow().SetShowIfNotInKeyList(false);
    FList->SetKeyValue(TVariant(98));
    EXPECT_FALSE(FList->SpecRow().Selected());
    EXPECT_EQ(FList->RowUnderKey(), -1);
    EXPECT_EQ(FList->DisplayText(), "");
    EXPECT_EQ(FTables->CurrentCode(), 1);   // the list shows its first records
    EXPECT_EQ(FList->WindowActiveRecord(), 0);
}

TEST_F(LookupListBox, UpFromTheFirstRecordSelectsTheSpecialRowAndDownLeavesIt)
{
    Bind(NumberedTrees(5));
    ShowSpecRow(TVariant(0));
    FList->SetKeyValue(TVariant(2));
    Key(Qt::Key_Up);
    EXPECT_EQ(FList->CurrentKey(), TVariant(1));
    Key(Qt::Key_Up);
    EXPECT_TRUE(FList->SpecRow().Selected());
    EXPECT_EQ(FList->CurrentKey(), TVariant(0));
    EXPECT_EQ(FList->DisplayText(), "(none)");
    Key(Qt::Key_Down);
    EXPECT_FALSE(FList->SpecRow().Selected());
    EXPECT_EQ(FList->CurrentKey(), TVariant(1));
    Key(Qt::Key_End);
    EXPECT_EQ(FList->CurrentKey(), TVariant(5));
    Key(Qt::Key_Home);
    EXPECT_EQ(FList->CurrentKey(), TVariant(1));
}

TEST_F(LookupListBox, PageKeysMoveByOneRowLessThanTheWindow)
{
    Bind(NumberedTrees(20));
    FList->SetRowCount(5);
    FList->SetKeyValue(TVariant(1));
    Key(Qt::Key_PageDown);
    EXPECT_EQ(FList->CurrentKey(), TVariant(5));
    Key(Qt::Key_PageDown);
    EXPECT_EQ(FList->CurrentKey(), TVariant(9));
    Key(Qt::Key_PageUp);
    EXPECT_EQ(FList->CurrentKey(), TVariant(5));
    EXPECT_GE(FList->RowUnderKey(), 0);
}

TEST_F(LookupListBox, TypeAheadMatchesInAnyCaseRestartsAfterTwoSecondsAndStopsAt32Characters)
{
    Bind({{1, "Apple"}, {2, "abacus"}, {3, "Abbey"}, {4, "Birch"}, {5, std::string(40, 'x')}});
    const std::function<int64_t()> realClock = SearchClockGx();
    SearchClockGx() = [this] { return FNow; };
    FList->SetKeyValue(TVariant(4));
    TypeText("AB");
    EXPECT_EQ(FList->CurrentKey(), TVariant(2));
    EXPECT_EQ(FList->SearchText(), "AB");
    TypeText("b");
    EXPECT_EQ(FList->CurrentKey(), TVariant(3));
    TypeText("z");   // no match: the key and the search text stay
    EXPECT_EQ(FList->CurrentKey(), TVariant(3));
    EXPECT_EQ(FList->SearchText(), "ABb");

    FNow += 2001;
    TypeText("b");
    EXPECT_EQ(FList->CurrentKey(), TVariant(4));
    EXPECT_EQ(FList->SearchText(), "b");
    Key(Qt::Key_Escape);
    EXPECT_EQ(FList->SearchText(), "");

    TypeText(std::string(33, 'x').c_str());
    EXPECT_EQ(FList->CurrentKey(), TVariant(5));
    EXPECT_EQ(FList->SearchText(), std::string(32, 'x'));
    SearchClockGx() = realClock;
}

TEST_F(LookupListBox, TheKeyAndTheTypeAheadFollowChangesOfTheListTable)
{
    Bind(NumberedTrees(20));
    ShowSpecRow(TVariant::Null());
    const std::function<int64_t()> realClock = SearchClockGx();
    SearchClockGx() = [this] { return FNow += 2001; };   // every character starts a new search
    TMemTable& trees = FTables->Trees;
    FList->SetKeyValue(TVariant(20));
    EXPECT_EQ(FList->DisplayText(), "Tree 20");

    ASSERT_TRUE(trees.Locate("CODE", TVariant(20)));
    trees.Delete();
    FList->SetKeyValue(TVariant(19));
    FList->SetKeyValue(TVariant(20));
    EXPECT_TRUE(FList->SpecRow().Selected());

    trees.First();
    trees.InsertRecord({TVariant(21), TVariant("Alder"), TVariant("Alnus")});
    FList->SetKeyValue(TVariant(21));
    EXPECT_FALSE(FList->SpecRow().Selected());
    EXPECT_EQ(FList->DisplayText(), "Alder");
    FList->SetKeyValue(TVariant(3));
    TypeText("a");
    EXPECT_EQ(FList->CurrentKey(), TVariant(21));

    trees.Edit();
    trees.FieldByName("NAME")->SetAsString("Birch");
    trees.Post();
    FList->SetKeyValue(TVariant(3));
    TypeText("a");   // no name starts with it any more
    EXPECT_EQ(FList->CurrentKey(), TVariant(3));
    TypeText("B");
    EXPECT_EQ(FList->CurrentKey(), TVariant(21));

    trees.Close();
    trees.Open();
    FList->SetKeyValue(TVariant(5));
    FList->SetKeyValue(TVariant(21));
    EXPECT_EQ(FList->DisplayText(), "Birch");
    TypeText("t");
    EXPECT_EQ(FList->CurrentKey(), TVariant(1));
    SearchClockGx() = realClock;
}

TEST_F(LookupListBox, RowCountStaysBetweenOneAndAHundredAndTheHeightSnapsToRows)
{
    Bind(NumberedTrees(3));
    FList->SetRowCount(0);
    EXPECT_EQ(FList->RowCount(), 1);
    FList->SetRowCount(500);
    EXPECT_EQ(FList->RowCount(), 100);
    FList->SetRowCount(4);
    const int border = 2 * FList->frameWidth();
    EXPECT_EQ(FList->height(), border + 4 * FList->RowHeight());
    FList->resize(FList->width(), border + 6 * FList->RowHeight() + 3);
    EXPECT_EQ(FList->RowCount(), 6);
    EXPECT_EQ(FList->height(), border + 6 * FList->RowHeight());
    FList->SetTitleRowVisible(true);
    EXPECT_EQ(FList->height(), border + 7 * FList->RowHeight() + 1);
    EXPECT_EQ(FList->RowCount(), 6);
}

TEST_F(LookupListBox, DraggingBelowScrollsFasterTheFartherThePointerIs)
{
    Bind(NumberedTrees(30));
    FList->SetRowCount(5);
    FList->SetKeyValue(TVariant(1));
    Mouse(QEvent::MouseButtonPress, RowY(0), Qt::LeftButton);
    const int bottom = FList->ClientRect().height();
    Mouse(QEvent::MouseMove, bottom, Qt::LeftButton);
    EXPECT_EQ(FList->AutoScrollInterval(), 185);
    Mouse(QEvent::MouseMove, bottom + 9, Qt::LeftButton);
    EXPECT_EQ(FList->AutoScrollInterval(), 50);
    Mouse(QEvent::MouseMove, bottom + 40, Qt::LeftButton);
    EXPECT_EQ(FList->AutoScrollInterval(), 0);
    const int before = FList->CurrentKey().AsInteger();
    QTest::qWait(30);
    EXPECT_GT(FList->CurrentKey().AsInteger(), before);
    Mouse(QEvent::MouseMove, RowY(1), Qt::LeftButton);
    EXPECT_EQ(FList->AutoScrollInterval(), -1);
    Mouse(QEvent::MouseButtonRelease, RowY(1), Qt::NoButton);
    EXPECT_EQ(FList->RowUnderKey(), 1);
}

TEST_F(LookupListBox, TheScrollBarFollowsTheWindowOverASequencedList)
{
    Bind(NumberedTrees(30));
    FList->SetRowCount(5);
    FList->SetKeyValue(TVariant(1));
    QScrollBar* bar = FList->ScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 25);
    EXPECT_EQ(bar->value(), 0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 4);
    EXPECT_EQ(FList->WindowActiveRecord(), 4);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(bar->value(), 25);
    EXPECT_EQ(FTables->CurrentCode(), 30);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(bar->value(), 24);
    // Scrolling does not pick: the key stays.
    EXPECT_EQ(FList->CurrentKey(), TVariant(1));
}

TEST_F(LookupListBox, AShortListHidesTheScrollBar)
{
    Bind(NumberedTrees(3));
    FList->SetKeyValue(TVariant(2));
    EXPECT_FALSE(FList->ScrollBar()->isVisible());
    EXPECT_EQ(FList->WindowRecordCount(), 3);
}
