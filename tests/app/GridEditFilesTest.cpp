// Values typed into the main window's grid reach the files: copies of real
// dBASE and Paradox tables edited in place through key events, posted by
// leaving the row and read back by opening the file again; dates picked
// in the drop-down calendar; and texts the table cannot store refused with
// a message naming the field, the typed text kept and the files untouched.

#include "AppTestSupport.h"

#include "editors/PopupMonthCalendarGx.h"
#include "grid/DBGridGx.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridInplaceEdit.h"
#include "platform/DateTimeFormat.h"
#include "support/FileBytes.h"
#include "ui/DialogService.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QKeyEvent>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;

namespace {

class GridEditOnFiles : public ::testing::Test {
protected:
    // Opens a writable copy of a shared test table; false when the test
    // data lacks it.
    bool Open(const std::string& relative)
    {
        FPath = Scratch.CopyShared(relative);
        if (FPath.empty())
            return false;
        Reopen();
        EXPECT_TRUE(Table().CanModify()) << Table().ReadOnlyReason();
        return Table().Active();
    }
    void Reopen() { Window->OpenAtStart(QString::fromStdString(FPath)); }
    TDBGridGx& Grid() { return *Window->dgrdDBF(); }
    TTable& Table() { return Window->tblDBF; }
    TField& Field(const std::string& name) { return *Table().FieldByName(name); }

    // Every file of the table (the table, its memo and index files).
    std::map<std::string, std::string> FileBytes() const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(fs::path(FPath).parent_path()))
            files[entry.path().filename().string()] = ReadFileBytes(entry.path().string());
        return files;
    }

    // Makes the field's column current on the current record with Tab or
    // Shift+Tab, as the user moves between cells.
    void SelectCell(const std::string& fieldName)
    {
        if (QApplication::focusWidget() != Grid().InplaceEditor())
            Grid().setFocus();
        const TField* target = Table().FindField(fieldName);
        ASSERT_NE(target, nullptr) << fieldName;
        int targetIndex = 0;
        for (const auto& column : Grid().Columns())
            if (column->Field() == target)
                targetIndex = column->Index();
        for (int i = 0; i < Grid().Columns().Count() && Grid().CurrentField() != target; ++i) {
            const bool left = targetIndex < Grid().RawToDataColumn(Grid().Col());
            Key(Qt::Key_Tab, left ? Qt::ShiftModifier : Qt::NoModifier);
        }
        ASSERT_EQ(Grid().CurrentField(), target) << fieldName;
    }
    // Opens the editor on the field's cell with F2.
    TDBGridInplaceEdit& EditCell(const std::string& fieldName)
    {
        SelectCell(fieldName);
        QTest::keyClick(&Grid(), Qt::Key_F2);
        auto* editor = dynamic_cast<TDBGridInplaceEdit*>(Grid().InplaceEditor());
        EXPECT_TRUE(editor != nullptr && editor->isVisible()) << fieldName;
        return *editor;
    }
    // Replaces the editor's text by typing it, one key event a character
    // (any character: what an input method commits arrives the same way).
    void Type(const QString& text)
    {
        QWidget* editor = Grid().InplaceEditor();
        Grid().InplaceEditor()->selectAll();
        for (const QChar ch : text) {
            const int code = ch.unicode() < 128 ? ch.toUpper().unicode() : int(Qt::Key_unknown);
            QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(editor, &press);
            QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(editor, &release);
        }
    }
    void TypeInto(const std::string& fieldName, const QString& text)
    {
        EditCell(fieldName);
        Type(text);
    }
    // A key to whichever of the grid and its editor has the focus.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : &Grid(), key, modifiers);
    }
    QString EditorText() { return Grid().InplaceEditor()->text(); }

    TScratchDir Scratch;
    TMainWindowHolder Window;

private:
    std::string FPath;
};

// The path of the dBASE IV table with a character, number, date, logical,
// float and memo field.
const char* const DBaseTable = "dbf/infused_dbf/dbase_8b.dbf";

} // namespace

TEST_F(GridEditOnFiles, EveryDBaseFieldTypeTypedInPlaceIsInTheFileAfterReopening)
{
    if (!Open(DBaseTable))
        GTEST_SKIP() << "the shared test tables are not there";
    TypeInto("CHARACTER", "Typed in place");
    TypeInto("NUMERICAL", "-1234.5");
    TypeInto("DATE", "1999-12-31");
    TypeInto("FLOAT", "0.125");
    SelectCell("LOGICAL");
    const bool wasTrue = Field("LOGICAL").AsBoolean();
    Key(Qt::Key_Space);
    Key(Qt::Key_Down);
    ASSERT_EQ(Table().State(), dsBrowse);

    Reopen();
    Table().First();
    EXPECT_EQ(Field("CHARACTER").AsString(), "Typed in place");
    EXPECT_DOUBLE_EQ(Field("NUMERICAL").AsFloat(), -1234.5);
    EXPECT_EQ(Field("DATE").AsDateTime(), EncodeDate(1999, 12, 31));
    EXPECT_DOUBLE_EQ(Field("FLOAT").AsFloat(), 0.125);
    EXPECT_EQ(Field("LOGICAL").AsBoolean(), !wasTrue);
    Table().Next();
    EXPECT_NE(Field("CHARACTER").AsString(), "Typed in place") << "the next record is untouched";
}

TEST_F(GridEditOnFiles, AMemoTypedWithLineBreaksIsReadBackWithThem)
{
    if (!Open(DBaseTable))
        GTEST_SKIP() << "the shared test tables are not there";
    Grid().SetDrawMemoText(true);
    EditCell("MEMO");
    EXPECT_EQ(EditorText().toStdString(), "First memo\r\n");
    QApplication::clipboard()->setText(QStringLiteral("first line\r\nsecond line"));
    Grid().InplaceEditor()->selectAll();
    QTest::keyClick(Grid().InplaceEditor(), Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_Down);
    ASSERT_EQ(Table().State(), dsBrowse);

    Reopen();
    Table().First();
    EXPECT_EQ(Field("MEMO").AsString(), "first line\r\nsecond line");
}

TEST_F(GridEditOnFiles, ADatePickedInTheCalendarIsInTheFileAfterReopening)
{
    if (!Open(DBaseTable))
        GTEST_SKIP() << "the shared test tables are not there";
    TDBGridInplaceEdit& editor = EditCell("DATE");
    ASSERT_EQ(editor.EditStyle(), esDateCalendarGx);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor.ListVisible());
    EXPECT_EQ(editor.Calendar()->Date(), QDate(1970, 1, 1));
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Return);
    EXPECT_FALSE(editor.ListVisible());
    Key(Qt::Key_Down);
    ASSERT_EQ(Table().State(), dsBrowse);

    Reopen();
    Table().First();
    EXPECT_EQ(Field("DATE").AsDateTime(), EncodeDate(1970, 1, 3));
}

TEST_F(GridEditOnFiles, AGrayedDayOfTheNextMonthClickedInTheCalendarIsInTheFile)
{
    if (!Open(DBaseTable))
        GTEST_SKIP() << "the shared test tables are not there";
    TDBGridInplaceEdit& editor = EditCell("DATE");
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor.ListVisible());
    auto* view = editor.Calendar()->findChild<QTableView*>();
    ASSERT_NE(view, nullptr);
    // January 1970's last row ends with the first days of February.
    const int lastRow = view->model()->rowCount() - 1;
    const int lastColumn = view->model()->columnCount() - 1;
    const QModelIndex cell = view->model()->index(lastRow, lastColumn);
    const int day = view->model()->data(cell).toInt();
    ASSERT_LT(day, 15) << "a day of the next month";
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(cell).center());
    EXPECT_FALSE(editor.ListVisible());
    Key(Qt::Key_Down);
    ASSERT_EQ(Table().State(), dsBrowse);

    Reopen();
    Table().First();
    EXPECT_EQ(Field("DATE").AsDateTime(), EncodeDate(1970, 2, day));
}

TEST_F(GridEditOnFiles, EscOrTabbingAwayFromTheCalendarLeavesTheFileAlone)
{
    if (!Open(DBaseTable))
        GTEST_SKIP() << "the shared test tables are not there";
    const auto before = FileBytes();
    TDBGridInplaceEdit& editor = EditCell("DATE");
    Key(Qt::Key_Down, Qt::AltModifier);
    Key(Qt::Key_Right);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(editor.ListVisible());
    EXPECT_EQ(editor.ValueText().toStdString(), Field("DATE").EditText());

    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(editor.ListVisible());
    Key(Qt::Key_Right);
    Key(Qt::Key_Tab);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !editor.ListVisible(); }, 1000)) << "the calendar closes";
    EXPECT_EQ(Field("DATE").AsDateTime(), EncodeDate(1970, 1, 1));
    Key(Qt::Key_Down);
    EXPECT_EQ(Table().State(), dsBrowse);
    EXPECT_EQ(FileBytes(), before);
}

// ---- texts the table cannot store

class GridEditRefusals : public GridEditOnFiles {
protected:
    // Types text into the field's cell of the current record and leaves the
    // row: the refusal is shown once, naming the field; the editor keeps the
    // text; no file changes.
    void ExpectRefused(const std::string& fieldName, const QString& text)
    {
        const auto before = FileBytes();
        TypeInto(fieldName, text);
        TMessageAnswerer answer(mrOk);
        Key(Qt::Key_Down);
        ASSERT_EQ(answer.Count(), 1) << "the refusal is shown";
        EXPECT_NE(answer.Last().Text.find(fieldName), std::string::npos) << answer.Last().Text;
        EXPECT_EQ(EditorText(), text) << "the typed text stays";
        EXPECT_TRUE(Grid().InplaceEditor()->isVisible());
        EXPECT_EQ(FileBytes(), before) << "nothing is written";
        Key(Qt::Key_Escape);
        Key(Qt::Key_Escape);
        EXPECT_EQ(Table().State(), dsBrowse);
        EXPECT_EQ(FileBytes(), before);
    }
};

TEST_F(GridEditRefusals, ANumberOrDateTheFieldCannotReadIsRefused)
{
    if (!Open(DBaseTable))
        GTEST_SKIP() << "the shared test tables are not there";
    ExpectRefused("NUMERICAL", "12.3.4");
    ExpectRefused("DATE", "1999-13-45");
}

TEST_F(GridEditRefusals, ANumberWiderThanItsFieldIsRefused)
{
    if (!Open(DBaseTable))
        GTEST_SKIP() << "the shared test tables are not there";
    ExpectRefused("NUMERICAL", "123456789012345678901234");
}

TEST_F(GridEditRefusals, ACharacterOutsideTheTablesCodePageIsRefused)
{
    if (!Open("dbf/albfernandez_javadbf/countries.dbf"))   // code page 1252
        GTEST_SKIP() << "the shared test tables are not there";
    ExpectRefused("FeatureCla", QString::fromUtf8("中文"));
}

TEST_F(GridEditRefusals, ATextLongerInTheTablesBytesThanItsFieldIsRefused)
{
    if (!Open("dbf/caicai147_caicai147.github.io/testDBF.dbf"))   // code page 936
        GTEST_SKIP() << "the shared test tables are not there";
    // Every character takes two bytes in the table's code page.
    ExpectRefused("NAME", QString(Field("NAME").Size(), QChar(0x4E2D)));
}

TEST_F(GridEditRefusals, AKeyViolationOnAKeyedParadoxTableIsRefused)
{
    if (!Open("paradox/leonhad_paradoxdriver/areas/STATES.DB"))
        GTEST_SKIP() << "the shared test tables are not there";
    TField& key = *Table().Fields()[0];
    Table().First();
    const QString existing = QString::fromStdString(key.AsString());
    Table().Next();
    ExpectRefused(key.FieldName(), existing);
}

// ---- every field type of Paradox tables

struct TTypedValue {
    const char* Table;
    const char* Field;
    const char* Typed;
    const char* ReadBack;   // the field's edit text after reopening
};

class ParadoxTypes : public GridEditOnFiles, public ::testing::WithParamInterface<TTypedValue> {};

TEST_P(ParadoxTypes, AValueTypedInPlaceIsInTheFileAfterReopening)
{
    const TTypedValue& value = GetParam();
    if (!Open(value.Table))
        GTEST_SKIP() << "the shared test tables are not there";
    Grid().SetDrawMemoText(true);
    const int records = Table().RecordCount();
    TypeInto(value.Field, QString::fromUtf8(value.Typed));
    Key(Qt::Key_Down);
    ASSERT_EQ(Table().State(), dsBrowse);

    Reopen();
    Table().First();
    EXPECT_EQ(Field(value.Field).EditText(), value.ReadBack);
    EXPECT_EQ(Table().RecordCount(), records);
}

INSTANTIATE_TEST_SUITE_P(
    GridEditOnFiles, ParadoxTypes,
    ::testing::Values(TTypedValue{"paradox/leonhad_paradoxdriver/db/ORDERS.DB", "Ship VIA", "FedEx", "FedEx"},
                      TTypedValue{"paradox/leonhad_paradoxdriver/db/ORDERS.DB", "Total Invoice", "12.5", "12.50"},
                      TTypedValue{"paradox/leonhad_paradoxdriver/db/ORDERS.DB", "Sale Date", "1961-05-06",
                                  "1961-05-06"},
                      TTypedValue{"paradox/leonhad_paradoxdriver/joins/joina.db", "ID", "-7", "-7"},
                      TTypedValue{"paradox/leonhad_paradoxdriver/fields/long.db", "LONG", "123456", "123456"},
                      TTypedValue{"paradox/leonhad_paradoxdriver/db/DECIMAL.DB", "DECIMAL", "-2.75", "-2.75"},
                      TTypedValue{"paradox/leonhad_paradoxdriver/fields/bcd.db", "A", "12.5", "12.5"},
                      TTypedValue{"paradox/leonhad_paradoxdriver/fields/time.db", "Time", "13:14:15", "13:14:15"},
                      TTypedValue{"paradox/leonhad_paradoxdriver/fields/timestamp.db", "Timestamp",
                                  "2002-03-04 05:06:07", "2002-03-04 05:06:07"},
                      TTypedValue{"paradox/leonhad_paradoxdriver/fields/memo.db", "MEMO", "Notiz", "Notiz"}));

TEST_F(GridEditOnFiles, AParadoxLogicalToggledWithSpaceIsInTheFileAfterReopening)
{
    if (!Open("paradox/leonhad_paradoxdriver/fields/logical.db"))
        GTEST_SKIP() << "the shared test tables are not there";
    const bool wasTrue = Field("BOOL").AsBoolean();
    SelectCell("BOOL");
    Key(Qt::Key_Space);
    Key(Qt::Key_Down);
    ASSERT_EQ(Table().State(), dsBrowse);
    Reopen();
    Table().First();
    EXPECT_EQ(Field("BOOL").AsBoolean(), !wasTrue);
}
