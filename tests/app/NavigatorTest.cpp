// The navigator bar: buttons, hints and glyphs, the enabling rules in every
// dataset state, the actions, the delete confirmation, auto-repeat and focus.

#include "AppTestSupport.h"

#include "app/DBNavigator.h"
#include "app/NavButton.h"
#include "data/DataSource.h"
#include "ui/DialogService.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Buttons enabled, as a string of ten 0/1 in button order.
std::string EnabledPattern(const TDBNavigator& navigator)
{
    std::string pattern;
    for (int i = 0; i < NavigateBtnCount; ++i)
        pattern += navigator.Button(static_cast<TNavigateBtn>(i))->isEnabled() ? '1' : '0';
    return pattern;
}

// A navigator bound to an in-memory table through its own data source.
struct NavigatorOverTable : testing::Test {
    void Bind(std::unique_ptr<TMemTable> newTable)
    {
        table = std::move(newTable);
        source.SetDataSet(table.get());
        navigator.SetDataSource(&source);
    }
    void Click(TNavigateBtn button) { QTest::mouseClick(navigator.Button(button), Qt::LeftButton); }

    TDBNavigator navigator;
    TDataSource source;
    std::unique_ptr<TMemTable> table;

    NavigatorOverTable() { navigator.resize(670, 25); }
    ~NavigatorOverTable() override { navigator.SetDataSource(nullptr); }
};

//                               first prior next last insert delete edit post cancel refresh
constexpr const char* AllOff = "0000000000";

TEST(Navigator, TenButtonsOfEqualWidthAcrossTheBar)
{
    TDBNavigator navigator;
    navigator.resize(669, 25);
    navigator.show();
    int left = 0;
    for (int i = 0; i < NavigateBtnCount; ++i) {
        const QRect r = navigator.Button(static_cast<TNavigateBtn>(i))->geometry();
        EXPECT_EQ(r.left(), left) << "button " << i;
        EXPECT_EQ(r.top(), 0);
        EXPECT_EQ(r.height(), 25);
        EXPECT_TRUE(r.width() == 66 || r.width() == 67) << "button " << i << " is " << r.width() << " wide";
        left = r.right() + 1;
    }
    EXPECT_EQ(left, 669);
    navigator.resize(1000, 25);
    for (int i = 0; i < NavigateBtnCount; ++i)
        EXPECT_EQ(navigator.Button(static_cast<TNavigateBtn>(i))->width(), 100);
}

TEST(Navigator, UnderRightToLeftReadingTheButtonsStartAtTheRightAndTheArrowsTurn)
{
    TDBNavigator navigator;
    navigator.resize(669, 25);
    navigator.show();
    const auto picture = [&](TNavigateBtn button) { return navigator.Button(button)->grab().toImage(); };
    std::vector<QImage> leftToRight;
    for (int i = 0; i < NavigateBtnCount; ++i)
        leftToRight.push_back(picture(static_cast<TNavigateBtn>(i)));

    navigator.setLayoutDirection(Qt::RightToLeft);
    int right = 669;
    for (int i = 0; i < NavigateBtnCount; ++i) {
        const QRect r = navigator.Button(static_cast<TNavigateBtn>(i))->geometry();
        EXPECT_EQ(r.right() + 1, right) << "button " << i << " follows the one before it leftwards";
        EXPECT_TRUE(r.width() == 66 || r.width() == 67) << "button " << i << " is " << r.width() << " wide";
        right = r.left();
    }
    EXPECT_EQ(right, 0);

    // The move buttons' arrows point the other way; the glyph stays centred
    // on the face, whose 3D edges keep their light from the top left.
    for (const TNavigateBtn arrow : {nbFirst, nbPrior, nbNext, nbLast}) {
        const QImage before = leftToRight[arrow];
        const QImage after = picture(arrow);
        ASSERT_EQ(before.size(), after.size());
        const QPixmap& glyph = navigator.Button(arrow)->DisabledGlyph();
        const QRect face((before.width() - glyph.width()) / 2, (before.height() - glyph.height()) / 2, glyph.width(),
                         glyph.height());
        EXPECT_NE(after.copy(face), before.copy(face)) << "button " << arrow;
        EXPECT_EQ(after.copy(face), before.copy(face).mirrored(true, false)) << "button " << arrow;
    }
    EXPECT_EQ(picture(nbInsert), leftToRight[nbInsert]) << "other glyphs keep their look";
    EXPECT_EQ(picture(nbRefresh), leftToRight[nbRefresh]);

    navigator.setLayoutDirection(Qt::LeftToRight);
    EXPECT_EQ(navigator.Button(nbFirst)->geometry().left(), 0);
}

TEST(Navigator, MainWindowGivesTheChineseHints)
{
    TMainWindowHolder window;
    const QStringList expected = {"首记录", "前一记录", "下一记录", "末记录", "增加记录",
                                  "删除记录", "编辑记录", "提交修改", "取消修改", "刷新"};
    EXPECT_EQ(window->DBNavigator1()->Hints(), expected);
    EXPECT_EQ(window->DBNavigator1()->Button(nbRefresh)->toolTip(), QString::fromUtf8("刷新"));
}

TEST(Navigator, GlyphsComeFromTheNamedResourcesInTwoStates)
{
    TDBNavigator navigator;
    const char* names[] = {"DBN_FIRST", "DBN_PRIOR", "DBN_NEXT", "DBN_LAST", "DBN_INSERT",
                           "DBN_DELETE", "DBN_EDIT", "DBN_POST", "DBN_CANCEL", "DBN_REFRESH"};
    for (int i = 0; i < NavigateBtnCount; ++i) {
        const QPixmap strip(QStringLiteral(":/") + QString::fromLatin1(names[i]));
        ASSERT_FALSE(strip.isNull()) << names[i];
        const TNavButton* button = navigator.Button(static_cast<TNavigateBtn>(i));
        EXPECT_EQ(button->EnabledGlyph().size(), QSize(strip.width() / 2, strip.height()));
        EXPECT_NE(button->EnabledGlyph().toImage(), button->DisabledGlyph().toImage()) << names[i];
    }
}

// Counts pixels of one colour inside a widget's rendering.
int CountPixels(QWidget& widget, QColor colour)
{
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)) == colour)
                ++count;
    return count;
}

TEST_F(NavigatorOverTable, PaintsTheEnabledOrTheDisabledGlyph)
{
    navigator.show();
    TNavButton& last = *navigator.Button(nbLast);
    // Disabled: the grey embossed glyph, nothing black inside the face.
    const int blackWhenDisabled = CountPixels(last, Qt::black);
    EXPECT_GT(CountPixels(last, QColor(128, 128, 128)), 20);
    Bind(MakeOpenMemTable(3));
    ASSERT_TRUE(last.isEnabled());
    EXPECT_GT(CountPixels(last, Qt::black), blackWhenDisabled + 20);
}

TEST_F(NavigatorOverTable, EverythingOffWithoutATable)
{
    EXPECT_EQ(EnabledPattern(navigator), AllOff);
    source.SetDataSet(nullptr);
    Bind(nullptr);
    EXPECT_EQ(EnabledPattern(navigator), AllOff);
}

TEST_F(NavigatorOverTable, EmptyModifiableTable)
{
    Bind(MakeOpenMemTable(0));
    EXPECT_EQ(EnabledPattern(navigator), "0000101001");
}

TEST_F(NavigatorOverTable, FirstMiddleAndLastRecord)
{
    Bind(MakeOpenMemTable(3));
    EXPECT_EQ(EnabledPattern(navigator), "0011111001") << "just opened: at the beginning";
    table->Next();
    EXPECT_EQ(EnabledPattern(navigator), "1111111001") << "middle";
    table->Last();
    EXPECT_EQ(EnabledPattern(navigator), "1100111001") << "at the end";
    table->First();
    EXPECT_EQ(EnabledPattern(navigator), "0011111001") << "back at the beginning";
}

TEST_F(NavigatorOverTable, EditingAndInserting)
{
    Bind(MakeOpenMemTable(3));
    table->Next();
    table->Edit();
    EXPECT_EQ(EnabledPattern(navigator), "1111110111");
    table->Cancel();
    EXPECT_EQ(EnabledPattern(navigator), "1111111001");
    table->Insert();
    EXPECT_EQ(navigator.Button(nbPost)->isEnabled(), true);
    EXPECT_EQ(navigator.Button(nbCancel)->isEnabled(), true);
    EXPECT_EQ(navigator.Button(nbEdit)->isEnabled(), false);
    table->Cancel();
    EXPECT_EQ(navigator.Button(nbEdit)->isEnabled(), true);
}

TEST_F(NavigatorOverTable, ReadOnlyTableOnlyMoves)
{
    Bind(MakeOpenMemTable(3, /*readOnly=*/true));
    table->Next();
    EXPECT_EQ(EnabledPattern(navigator), "1111000000");
}

TEST_F(NavigatorOverTable, ClosingDisablingAndRebinding)
{
    Bind(MakeOpenMemTable(3));
    table->Next();
    table->Close();
    EXPECT_EQ(EnabledPattern(navigator), AllOff);
    table->Open();
    EXPECT_EQ(EnabledPattern(navigator), "0011111001");

    navigator.setEnabled(false);
    EXPECT_EQ(EnabledPattern(navigator), AllOff);
    navigator.setEnabled(true);
    EXPECT_EQ(EnabledPattern(navigator), "0011111001");

    source.SetEnabled(false);
    EXPECT_EQ(EnabledPattern(navigator), AllOff);
    source.SetEnabled(true);
    EXPECT_EQ(EnabledPattern(navigator), "0011111001");

    navigator.SetDataSource(nullptr);
    EXPECT_EQ(EnabledPattern(navigator), AllOff);
}

TEST_F(NavigatorOverTable, ButtonsMoveAndEditTheDataset)
{
    Bind(MakeOpenMemTable(5));
    navigator.show();
    Click(nbLast);
    EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 5);
    Click(nbPrior);
    EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 4);
    Click(nbFirst);
    EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 1);
    Click(nbNext);
    EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 2);

    Click(nbEdit);
    EXPECT_EQ(table->State(), dsEdit);
    table->FieldByName("NAME")->SetAsString("edited");
    Click(nbPost);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->FieldByName("NAME")->AsString(), "edited");

    Click(nbEdit);
    table->FieldByName("NAME")->SetAsString("dropped");
    Click(nbCancel);
    EXPECT_EQ(table->FieldByName("NAME")->AsString(), "edited");

    Click(nbInsert);
    EXPECT_EQ(table->State(), dsInsert);
    table->FieldByName("ID")->SetAsInteger(99);
    Click(nbPost);
    EXPECT_EQ(table->RecordCount(), 6);
    // Inserted before the record that was current (ID 2).
    table->Next();
    EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 2);

    Click(nbRefresh);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->RecordCount(), 6);
}

TEST_F(NavigatorOverTable, DeleteAsksAndCancelKeepsTheRecord)
{
    Bind(MakeOpenMemTable(3));
    navigator.show();
    table->Next();
    TMessageAnswerer answerer(mrCancel);
    Click(nbDelete);
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Last().Text, "Delete record?");
    EXPECT_EQ(answerer.Last().Type, mtConfirmation);
    EXPECT_EQ(answerer.Last().Buttons, mbOKCancel);
    EXPECT_EQ(table->RecordCount(), 3);
    EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 2);
}

TEST_F(NavigatorOverTable, DeleteWithOkDeletesTheCurrentRecord)
{
    Bind(MakeOpenMemTable(3));
    navigator.show();
    table->Next();
    TMessageAnswerer answerer(mrOk);
    Click(nbDelete);
    EXPECT_EQ(answerer.Count(), 1);
    EXPECT_EQ(table->RecordCount(), 2);
    EXPECT_EQ(table->FieldByName("ID")->AsInteger(), 3);
}

TEST_F(NavigatorOverTable, DeletingTheLastRecordLeavesAnEmptyTable)
{
    Bind(MakeOpenMemTable(1));
    navigator.show();
    TMessageAnswerer answerer(mrOk);
    Click(nbDelete);
    EXPECT_TRUE(table->IsEmpty());
    EXPECT_EQ(EnabledPattern(navigator), "0000101001");
}

TEST_F(NavigatorOverTable, NothingHappensWhileTheSourceIsInactive)
{
    Bind(MakeOpenMemTable(3));
    int clicks = 0, actions = 0;
    navigator.OnClick = [&](TDBNavigator&, TNavigateBtn) { ++clicks; };
    navigator.BeforeAction = [&](TDBNavigator&, TNavigateBtn) { ++actions; };
    table->Close();
    TMessageAnswerer answerer(mrOk);
    for (int i = 0; i < NavigateBtnCount; ++i)
        EXPECT_NO_THROW(navigator.BtnClick(static_cast<TNavigateBtn>(i)));
    EXPECT_EQ(answerer.Count(), 0) << "no delete confirmation without data";
    EXPECT_EQ(actions, 0);
    EXPECT_EQ(clicks, NavigateBtnCount);
    EXPECT_FALSE(table->Active());

    navigator.SetDataSource(nullptr);
    EXPECT_NO_THROW(navigator.BtnClick(nbNext));
    EXPECT_EQ(actions, 0);
}

TEST_F(NavigatorOverTable, AFailingActionIsReportedAndTheRecordStaysInEdit)
{
    Bind(MakeOpenMemTable(3));
    navigator.show();
    table->Edit();
    table->FieldByName("ID")->Clear();   // required
    TMessageAnswerer answerer(mrOk);
    Click(nbPost);
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Last().Type, mtError);
    EXPECT_NE(answerer.Last().Text.find("ID"), std::string::npos) << answerer.Last().Text;
    EXPECT_EQ(table->State(), dsEdit);
}

TEST_F(NavigatorOverTable, ClicksNeverTakeTheFocus)
{
    Bind(MakeOpenMemTable(5));
    QWidget host;
    auto* editor = new QWidget(&host);
    editor->setFocusPolicy(Qt::StrongFocus);
    navigator.setParent(&host);
    host.show();
    QApplication::setActiveWindow(&host);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    editor->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), editor);

    for (TNavigateBtn button : {nbNext, nbLast, nbEdit, nbCancel, nbFirst, nbRefresh}) {
        EXPECT_EQ(navigator.Button(button)->focusPolicy(), Qt::NoFocus);
        Click(button);
        EXPECT_EQ(QApplication::focusWidget(), editor);
    }
    navigator.setParent(nullptr);
}

// ---- auto-repeat

struct NavigatorRepeat : NavigatorOverTable {
    NavigatorRepeat()
    {
        auto manual = std::make_unique<TManualRepeatTimer>();
        timer = manual.get();
        navigator.SetRepeatTimer(std::move(manual));
        Bind(MakeOpenMemTable(20));
        navigator.show();
    }
    int CurrentId() const { return table->FieldByName("ID")->AsInteger(); }
    QPoint Centre(TNavigateBtn button) const { return navigator.Button(button)->rect().center(); }

    TManualRepeatTimer* timer;
};

TEST_F(NavigatorRepeat, HoldingNextRepeatsAfter400ThenEvery100Milliseconds)
{
    QTest::mousePress(navigator.Button(nbNext), Qt::LeftButton, {}, Centre(nbNext));
    EXPECT_EQ(CurrentId(), 1) << "a press alone does not move";
    ASSERT_TRUE(timer->Active());
    EXPECT_EQ(timer->Intervals, std::vector<int>({400}));
    timer->Fire();
    EXPECT_EQ(CurrentId(), 2);
    EXPECT_EQ(timer->Intervals.back(), 100);
    timer->Fire();
    timer->Fire();
    EXPECT_EQ(CurrentId(), 4);
    QTest::mouseRelease(navigator.Button(nbNext), Qt::LeftButton, {}, Centre(nbNext));
    EXPECT_FALSE(timer->Active());
    EXPECT_EQ(CurrentId(), 5) << "the release clicks once more";
}

TEST_F(NavigatorRepeat, PriorRepeatsTooButOtherButtonsDoNot)
{
    table->Last();
    QTest::mousePress(navigator.Button(nbPrior), Qt::LeftButton, {}, Centre(nbPrior));
    timer->Fire();
    timer->Fire();
    QTest::mouseRelease(navigator.Button(nbPrior), Qt::LeftButton, {}, Centre(nbPrior));
    EXPECT_EQ(CurrentId(), 17);

    timer->Intervals.clear();
    QTest::mousePress(navigator.Button(nbLast), Qt::LeftButton, {}, Centre(nbLast));
    EXPECT_FALSE(timer->Active());
    EXPECT_TRUE(timer->Intervals.empty());
    QTest::mouseRelease(navigator.Button(nbLast), Qt::LeftButton, {}, Centre(nbLast));
}

TEST_F(NavigatorRepeat, ReleasingOutsideTheButtonStopsWithoutAClick)
{
    QTest::mousePress(navigator.Button(nbNext), Qt::LeftButton, {}, Centre(nbNext));
    timer->Fire();
    EXPECT_EQ(CurrentId(), 2);
    const QPoint outside(-30, 5);
    QTest::mouseMove(navigator.Button(nbNext), outside);
    timer->Fire();   // not down over the button: no move
    EXPECT_EQ(CurrentId(), 2);
    QTest::mouseRelease(navigator.Button(nbNext), Qt::LeftButton, {}, outside);
    EXPECT_FALSE(timer->Active());
    EXPECT_EQ(CurrentId(), 2);
}

TEST_F(NavigatorRepeat, AFailureStopsTheRepetitionAndIsReportedOnce)
{
    table->Edit();
    table->FieldByName("ID")->Clear();   // required: leaving the record fails
    TMessageAnswerer answerer(mrOk);
    QTest::mousePress(navigator.Button(nbNext), Qt::LeftButton, {}, Centre(nbNext));
    timer->Fire();
    EXPECT_FALSE(timer->Active());
    ASSERT_EQ(answerer.Count(), 1);
    EXPECT_EQ(answerer.Last().Type, mtError);
    timer->Fire();
    QTest::mouseRelease(navigator.Button(nbNext), Qt::LeftButton, {}, Centre(nbNext));
    EXPECT_EQ(answerer.Count(), 1) << "neither the stopped timer nor the release tries again";
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_FALSE(navigator.Button(nbNext)->isDown());
}

TEST_F(NavigatorOverTable, RealTimerRepeatsWithinTolerantBounds)
{
    Bind(MakeOpenMemTable(200));
    navigator.show();
    auto id = [&] { return table->FieldByName("ID")->AsInteger(); };
    QElapsedTimer clock;
    QTest::mousePress(navigator.Button(nbNext), Qt::LeftButton, {}, navigator.Button(nbNext)->rect().center());
    clock.start();
    QTest::qWait(250);
    EXPECT_EQ(id(), 1) << "no repeat before 400 ms";
    QTRY_VERIFY_WITH_TIMEOUT(id() >= 2, 3000);
    const qint64 firstRepeat = clock.elapsed();
    EXPECT_GE(firstRepeat, 390);
    QTest::qWait(1000);
    const int afterASecond = id();
    QTest::mouseRelease(navigator.Button(nbNext), Qt::LeftButton, {}, navigator.Button(nbNext)->rect().center());
    // About ten repeats in that second at 100 ms each; the machine may be busy.
    EXPECT_GE(afterASecond - 2, 4);
    EXPECT_LE(afterASecond - 2, 11);
    const int afterRelease = id();
    QTest::qWait(300);
    EXPECT_EQ(id(), afterRelease) << "no repeats after the release";
}

} // namespace
