// Copy, cut, paste and delete of a grid's selection through the (in
// process) clipboard: the formats a copy offers, which one a paste reads,
// the line ends of other programs' text, the confirmations of delete, the
// lookup columns, and stopping long work from its progress dialog.

#include "ImportTestSupport.h"

#include "data/DataSet.h"
#include "exchange/ClipboardActions.h"
#include "exchange/ClipboardFormats.h"
#include "exchange/DBGridGxExportAsText.h"
#include "exchange/DBGridGxExportAsVCLDBIF.h"
#include "grid/columns/ColumnGx.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QProgressDialog>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::string>;

void PlaceText(const QByteArray& bytes)
{
    auto* mime = new QMimeData;
    mime->setText(QString::fromUtf8(bytes));
    QApplication::clipboard()->setMimeData(mime);
}

class ClipboardActions : public ::testing::Test {
protected:
    void SetUp() override
    {
        QApplication::clipboard()->clear();
        MakeNumbered(Grid, 5);
    }
    std::vector<std::string> Column(const std::string& field) { return FieldTexts(*Grid.Table, field); }
    void SelectRect(int left, int top, int right, int bottom)
    {
        Grid.Selection().Rect().Select(left, Grid.BookmarkOf("ID", TVariant(top)), false);
        Grid.Selection().Rect().Select(right, Grid.BookmarkOf("ID", TVariant(bottom)), true);
    }
    void SelectRecords(std::initializer_list<int> ids)
    {
        for (int id : ids) {
            Grid.GoTo("ID", TVariant(id));
            Grid.Grid->SelectedRecords().SetCurrentRowSelected(true);
        }
    }

    TExportGrid Grid;
};

TEST_F(ClipboardActions, CopyOffersEveryFormatWithoutATrailingZero)
{
    SelectRect(1, 2, 2, 3);
    const std::string text = Exported(ExportClass<TDBGridGxExportAsText>, *Grid.Grid, false);
    const std::string interchange = Exported(ExportClass<TDBGridGxExportAsVCLDBIF>, *Grid.Grid, false);
    CopySelectionToClipboard(*Grid.Grid, false);
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    for (const char* type : {MimeTypeText, MimeTypeCSV, MimeTypeRTF, MimeTypeRTFApplication, MimeTypeVCLDBIF,
                             MimeTypeHTML}) {
        ASSERT_TRUE(mime->hasFormat(type)) << type;
        const QByteArray block = mime->data(type);
        ASSERT_FALSE(block.isEmpty()) << type;
        // The interchange block ends in its own end tag, a 0 byte.
        if (std::string(type) != MimeTypeVCLDBIF) {
            EXPECT_NE(block.back(), '\0') << type;
        }
    }
    EXPECT_EQ(mime->text().toStdString(), text);
    EXPECT_EQ(mime->data(MimeTypeCSV).toStdString(), "\"C1\";\"C2\"\r\n\"a2\";\"b2\"\r\n\"a3\";\"b3\"");
    EXPECT_EQ(mime->data(MimeTypeVCLDBIF).toStdString(), interchange);
    EXPECT_EQ(mime->data(MimeTypeRTF), mime->data(MimeTypeRTFApplication));
    EXPECT_TRUE(mime->data(MimeTypeRTF).startsWith("{\\rtf"));
    EXPECT_TRUE(mime->data(MimeTypeHTML).contains("b3")) << mime->data(MimeTypeHTML).toStdString();
}

TEST_F(ClipboardActions, ADragOfTheSelectionCarriesWhatACopyOffersAndLeavesTheClipboard)
{
    SelectRect(1, 2, 2, 3);
    CopySelectionToClipboard(*Grid.Grid, false);
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    const QStringList formats = copied->formats();
    const QByteArray copiedCsv = copied->data(MimeTypeCSV);

    TDBGridGxClipboardActions actions;
    const std::unique_ptr<QMimeData> dragged = actions.SelectionDragData(*Grid.Grid);
    ASSERT_NE(dragged, nullptr);
    EXPECT_EQ(dragged->formats(), formats);
    for (const QString& type : formats)
        EXPECT_EQ(dragged->data(type), copied->data(type)) << type.toStdString();

    Grid.Selection().Clear();
    SelectRecords({4});
    const std::string fourth = Exported(ExportClass<TDBGridGxExportAsText>, *Grid.Grid, false);
    EXPECT_EQ(actions.SelectionDragData(*Grid.Grid)->text().toStdString(), fourth);
    EXPECT_EQ(QApplication::clipboard()->mimeData()->data(MimeTypeCSV), copiedCsv)
        << "dragging puts nothing on the clipboard";
}

TEST_F(ClipboardActions, CopyAndPasteWithinOneGridUseTheInterchangeFormat)
{
    Grid.GoTo("ID", TVariant(1));
    Grid.Table->Edit();
    Grid.Table->FieldByName("C2")->Clear();
    Grid.Table->Post();
    SelectRect(2, 1, 3, 2);
    CopySelectionToClipboard(*Grid.Grid, false);
    Grid.Selection().Clear();
    Grid.GoTo("ID", TVariant(4));
    SetCurrentColumn(Grid, "C2");
    PasteIntoSelection(*Grid.Grid, false);
    Grid.GoTo("ID", TVariant(4));
    // A null travels as a null, not as an empty text.
    EXPECT_TRUE(Grid.Table->FieldByName("C2")->IsNull());
    EXPECT_EQ(Column("C3"), (Texts{"c1", "c2", "c3", "c1", "c2"}));
}

TEST_F(ClipboardActions, PastedTextWithLineFeedsOrCarriageReturnLineFeeds)
{
    Grid.Grid->SetAllowedOperations(AllAllowedOperationsGx - alopAppendGx);
    Grid.Selection().Cols().Select(Grid.Column("C1"), false);
    PlaceText("l1\nl2\n");
    PasteIntoSelection(*Grid.Grid, false);
    EXPECT_EQ(Column("C1"), (Texts{"l1", "l2", "a3", "a4", "a5"}));

    PlaceText("w1\r\nw2\r\n");
    PasteIntoSelection(*Grid.Grid, false);
    EXPECT_EQ(Column("C1"), (Texts{"w1", "w2", "a3", "a4", "a5"}));

    // With CR LF present, a lone LF stays inside its cell.
    PlaceText("m\n1\r\nm2");
    PasteIntoSelection(*Grid.Grid, false);
    EXPECT_EQ(Column("C1"), (Texts{"m\n1", "m2", "a3", "a4", "a5"}));
}

TEST_F(ClipboardActions, TextIsReadUpToItsZeroByte)
{
    EXPECT_EQ(PastedTextBytes(QByteArray("x\r\n\0y\tz", 7)), QByteArray("x\r\n"));
    EXPECT_EQ(PastedTextBytes(QByteArray("a\nb")), QByteArray("a\r\nb"));
    Grid.Selection().Cols().Select(Grid.Column("C2"), false);
    PlaceText(QByteArray("t1\r\n\0t2\r\nt3", 11));
    PasteIntoSelection(*Grid.Grid, false);
    EXPECT_EQ(Column("C2"), (Texts{"t1", "b2", "b3", "b4", "b5"}));
}

TEST_F(ClipboardActions, PasteWithNothingPasteableChangesNothing)
{
    TDBGridGxClipboardActions actions;
    EXPECT_FALSE(actions.ClipboardHasPasteableData());
    auto* mime = new QMimeData;
    mime->setData(MimeTypeCSV, "\"x\"");
    QApplication::clipboard()->setMimeData(mime);
    EXPECT_FALSE(actions.ClipboardHasPasteableData());
    actions.PasteIntoSelection(*Grid.Grid);
    EXPECT_EQ(Column("ID"), (Texts{"1", "2", "3", "4", "5"}));
    PlaceText("9");
    EXPECT_TRUE(actions.ClipboardHasPasteableData());
}

TEST_F(ClipboardActions, DeleteAsksByKindAndCount)
{
    Grid.Grid->SetOptions(Grid.Grid->Options() + dgConfirmDelete);
    SelectRecords({2});
    {
        TMessageAnswerer answerer(mrOk);
        DeleteSelectedData(*Grid.Grid, false);
        ASSERT_EQ(answerer.Count(), 1);
        EXPECT_EQ(answerer.Last().Text, "Delete record?");
        EXPECT_EQ(answerer.Last().Buttons, mbOKCancel);
    }
    EXPECT_EQ(Column("ID"), (Texts{"1", "3", "4", "5"}));
    EXPECT_EQ(Grid.Selection().SelectionType(), gstNon);

    SelectRecords({3, 5});
    {
        TMessageAnswerer answerer(mrCancel);
        DeleteSelectedData(*Grid.Grid, false);
        EXPECT_EQ(answerer.Last().Text, "Delete all selected records?");
    }
    EXPECT_EQ(Column("ID"), (Texts{"1", "3", "4", "5"}));
    {
        TMessageAnswerer answerer(mrOk);
        DeleteSelectedData(*Grid.Grid, false);
    }
    EXPECT_EQ(Column("ID"), (Texts{"1", "4"}));
}

TEST_F(ClipboardActions, ColumnsAndWholeGridAreDeletedWithoutAsking)
{
    Grid.Grid->SetOptions(Grid.Grid->Options() + dgConfirmDelete);
    TMessageAnswerer answerer(mrCancel);
    Grid.Selection().Cols().Select(Grid.Column("C3"), false);
    DeleteSelectedData(*Grid.Grid, false);
    EXPECT_EQ(Column("C3"), (Texts{"", "", "", "", ""}));
    EXPECT_EQ(Column("C2")[0], "b1");
    DeleteSelectedData(*Grid.Grid, true);
    EXPECT_TRUE(Grid.Table->IsEmpty());
    EXPECT_EQ(answerer.Count(), 0);
}

TEST_F(ClipboardActions, WithoutConfirmDeleteNothingIsAsked)
{
    Grid.Grid->SetOptions(Grid.Grid->Options() - dgConfirmDelete);
    TMessageAnswerer answerer(mrCancel);
    SelectRect(1, 2, 1, 3);
    DeleteSelectedData(*Grid.Grid, false);
    EXPECT_EQ(Column("C1"), (Texts{"a1", "", "", "a4", "a5"}));
    SelectRecords({1, 4});
    DeleteSelectedData(*Grid.Grid, false);
    EXPECT_EQ(Column("ID"), (Texts{"2", "3", "5"}));
    EXPECT_EQ(answerer.Count(), 0);
}

TEST_F(ClipboardActions, CutOfARectangleCopiesThenClearsAfterTheQuestion)
{
    Grid.Grid->SetOptions(Grid.Grid->Options() + dgConfirmDelete);
    SelectRect(2, 4, 3, 5);
    {
        TMessageAnswerer answerer(mrCancel);
        CutSelectionToClipboard(*Grid.Grid, false);
        EXPECT_EQ(answerer.Last().Text, "Clear selected cells?");
    }
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "C2\tC3\r\nb4\tc4\r\nb5\tc5");
    EXPECT_EQ(Column("C2"), (Texts{"b1", "b2", "b3", "b4", "b5"}));
    {
        TMessageAnswerer answerer(mrOk);
        CutSelectionToClipboard(*Grid.Grid, false);
    }
    EXPECT_EQ(Column("C2"), (Texts{"b1", "b2", "b3", "", ""}));
    EXPECT_EQ(Column("C3"), (Texts{"c1", "c2", "c3", "", ""}));
    EXPECT_EQ(Column("C1"), (Texts{"a1", "a2", "a3", "a4", "a5"}));
}

TEST(ClipboardLookup, KeysTravelAndClearingClearsTheKey)
{
    TLookupGrid grid;
    grid.Grid->Selection().Cols().Select(grid.Column("CITYNAME"), false);
    CopySelectionToClipboard(*grid.Grid, false);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "CITYNAME\r\nBerlin\r\nKoeln\r\n");
    // The interchange format carries the keys: pasted one record down,
    // each record gets the key of the one before.
    grid.Orders.Locate("NO", TVariant(2));
    grid.Grid->Selection().Clear();
    grid.Grid->SetCol(grid.Grid->DataToRawColumn(grid.Column("CITYNAME")->Index()));
    grid.Grid->SetAllowedOperations(AllAllowedOperationsGx - alopAppendGx);
    PasteIntoSelection(*grid.Grid, false);
    EXPECT_EQ(grid.CityOf(2).AsString(), "B");
    EXPECT_EQ(grid.CityOf(3).AsString(), "K");
    EXPECT_EQ(grid.Orders.FieldByName("CITYNAME")->AsString(), "Koeln");

    // Text matches the lookup's result field by a leading part, in any case.
    grid.Orders.Locate("NO", TVariant(1));
    PlaceText("koe\n北\nnowhere");
    PasteIntoSelection(*grid.Grid, false);
    EXPECT_EQ(grid.CityOf(1).AsString(), "K");
    EXPECT_EQ(grid.CityOf(2).AsString(), "P");
    EXPECT_EQ(grid.CityOf(3).AsString(), "K");

    grid.Grid->Selection().Cols().Select(grid.Column("CITYNAME"), false);
    DeleteSelectedData(*grid.Grid, false);
    EXPECT_TRUE(grid.CityOf(1).IsNull());
    EXPECT_TRUE(grid.CityOf(2).IsNull());
    EXPECT_EQ(grid.CityOf(1).DataSet()->FieldByName("NO")->AsInteger(), 1);
}

TEST_F(ClipboardActions, CancelledPasteKeepsWhatWasDoneAndSaysHowMany)
{
    TDBGridGxClipboardActions actions;
    actions.ProgressDelayMs = 0;
    Grid.Selection().Cols().Select(Grid.Column("C1"), false);
    PlaceText("k1\nk2\nk3\nk4\nk5");
    // The first event loop turn inside the paste presses Cancel.
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()))
            dialog->cancel();
        else
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* progress = qobject_cast<QProgressDialog*>(widget))
                    progress->cancel();
    });
    TMessageAnswerer answerer(mrOk);
    actions.PasteIntoSelection(*Grid.Grid);
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Last().Text, "Paste stopped. 1 record was changed.");
    EXPECT_EQ(Column("C1"), (Texts{"k1", "a2", "a3", "a4", "a5"}));
    EXPECT_EQ(Grid.Table->State(), dsBrowse);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ClipboardActions, CancelledDeleteKeepsWhatWasDoneAndSaysHowMany)
{
    Grid.Grid->SetOptions(Grid.Grid->Options() - dgConfirmDelete);
    SelectRecords({1, 2, 3});
    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<QProgressDialog*>(widget))
                progress->cancel();
    });
    TMessageAnswerer answerer(mrOk);
    DeleteSelectedData(*Grid.Grid, false, 0);
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Last().Text, "Delete stopped. 1 record was changed.");
    EXPECT_EQ(Column("ID"), (Texts{"2", "3", "4", "5"}));
}

TEST(LongWorkProgress, ShowsOnlyAfterTheDelayWithBusyCursor)
{
    {
        TLongWorkProgress quick(QStringLiteral("Work"), 10, true, 60000);
        EXPECT_TRUE(quick.Step(1));
        EXPECT_FALSE(quick.Shown());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    {
        TLongWorkProgress slow(QStringLiteral("Work"), 10, true, 0);
        EXPECT_TRUE(slow.Step(3));
        ASSERT_TRUE(slow.Shown());
        EXPECT_EQ(slow.Dialog()->maximum(), 10);
        EXPECT_EQ(slow.Dialog()->value(), 3);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        slow.Dialog()->cancel();
        EXPECT_FALSE(slow.Step(4));
        EXPECT_TRUE(slow.Cancelled());
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
