// The edit button control driven with the mouse: the held part, clicks,
// auto-repeat, sliding off the held half, the dropped state and the hot
// edge, checked through its notifications and its rendered face.

#include "editors/EditButtonControlGx.h"
#include "ui/ImageProbe.h"

#include <QElapsedTimer>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct TDownCall {
    bool TopButton;
    qint64 AtMs;
};

class EditButtonControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        FParent = std::make_unique<QWidget>();
        FParent->resize(100, 60);
        FButton = new TEditButtonControlGx(FParent.get());
        FButton->setGeometry(10, 10, 16, 21);
        FButton->OnDown = [this](TEditButtonControlGx&, bool topButton, bool& autoRepeat, bool&) {
            FDowns.push_back({topButton, FClock.elapsed()});
            if (FStopRepeatAfter > 0 && static_cast<int>(FDowns.size()) >= FStopRepeatAfter)
                autoRepeat = false;
            if (FKeepRepeating)
                autoRepeat = true;
        };
        FButton->OnClick = [this](TSpeedButton&) { ++FClicks; };
        FParent->show();
        FClock.start();
    }

    QPoint TopHalf() const { return QPoint(8, 3); }
    QPoint BottomHalf() const { return QPoint(8, 17); }
    QPoint MiddleLine() const { return QPoint(8, 10); }   // height 21: rows 0-9 top, 11-20 bottom

    void Move(QPoint position)
    {
        QMouseEvent event(QEvent::MouseMove, QPointF(position), QPointF(FButton->mapToGlobal(position)), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(FButton, &event);
    }

    QImage Picture() { return FButton->grab().toImage(); }

    std::unique_ptr<QWidget> FParent;
    TEditButtonControlGx* FButton = nullptr;
    std::vector<TDownCall> FDowns;
    QElapsedTimer FClock;
    int FClicks = 0;
    int FStopRepeatAfter = 0;
    bool FKeepRepeating = false;
};

} // namespace

TEST_F(EditButtonControl, HoldingTheTopHalfRepeatsAfter400ThenEvery100Ms)
{
    FButton->SetStyle(ebsUpDownGx);
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, TopHalf());
    ASSERT_EQ(FDowns.size(), 1u);
    EXPECT_TRUE(FDowns[0].TopButton);
    EXPECT_EQ(FButton->PressedPart(), ebpTopGx);
    EXPECT_EQ(FButton->State(), TSpeedButton::bsDown);
    EXPECT_TRUE(FButton->Repeating());
    EXPECT_EQ(FButton->CurrentRepeatInterval(), 400);

    QTest::qWait(250);
    EXPECT_EQ(FDowns.size(), 1u) << "no repeat before 400 ms";
    QTest::qWait(650);
    EXPECT_EQ(FButton->CurrentRepeatInterval(), 100);
    // Repeats at about 400, 500, ... 900 ms; timers may be late, never early.
    EXPECT_GE(FDowns.size(), 3u);
    EXPECT_LE(FDowns.size(), 7u);
    ASSERT_GE(FDowns.size(), 2u);
    EXPECT_GE(FDowns[1].AtMs - FDowns[0].AtMs, 390);
    for (const TDownCall& call : FDowns)
        EXPECT_TRUE(call.TopButton);

    QTest::mouseRelease(FButton, Qt::LeftButton, Qt::NoModifier, TopHalf());
    EXPECT_FALSE(FButton->Repeating());
    EXPECT_EQ(FButton->PressedPart(), ebpNoneGx);
    EXPECT_EQ(FClicks, 1);
    const size_t afterRelease = FDowns.size();
    QTest::qWait(250);
    EXPECT_EQ(FDowns.size(), afterRelease);
}

TEST_F(EditButtonControl, BottomHalfAndTheMiddleLine)
{
    FButton->SetStyle(ebsUpDownGx);
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, BottomHalf());
    ASSERT_EQ(FDowns.size(), 1u);
    EXPECT_FALSE(FDowns[0].TopButton);
    EXPECT_EQ(FButton->PressedPart(), ebpBottomGx);
    // The pressed half is drawn sunk: a flat shadow frame at its top-left.
    const QImage picture = Picture();
    EXPECT_EQ(PixelAt(picture, 0, 11), RGB(128, 128, 128));
    EXPECT_EQ(PixelAt(picture, 15, 9), RGB(64, 64, 64));
    QTest::mouseRelease(FButton, Qt::LeftButton, Qt::NoModifier, BottomHalf());

    FDowns.clear();
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, MiddleLine());
    EXPECT_TRUE(FDowns.empty());
    EXPECT_EQ(FButton->PressedPart(), ebpNoneGx);
    EXPECT_FALSE(FButton->Repeating());
    QTest::mouseRelease(FButton, Qt::LeftButton, Qt::NoModifier, MiddleLine());
}

TEST_F(EditButtonControl, SlidingOffTheHeldHalfShowsTheButtonUpAndPausesStepping)
{
    FButton->SetStyle(ebsUpDownGx);
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, TopHalf());
    Move(BottomHalf());
    EXPECT_EQ(FButton->State(), TSpeedButton::bsUp);
    QTest::qWait(650);
    EXPECT_EQ(FDowns.size(), 1u) << "no steps while the pointer is off the held half";
    Move(TopHalf());
    EXPECT_EQ(FButton->State(), TSpeedButton::bsDown);
    QTest::qWait(300);
    EXPECT_GE(FDowns.size(), 2u);
    Move(BottomHalf());
    QTest::mouseRelease(FButton, Qt::LeftButton, Qt::NoModifier, BottomHalf());
    EXPECT_EQ(FClicks, 0) << "releasing off the held half is not a click";
    EXPECT_FALSE(FButton->Repeating());

    // The next press and release on the button clicks again.
    QTest::mouseClick(FButton, Qt::LeftButton, Qt::NoModifier, BottomHalf());
    EXPECT_EQ(FClicks, 1);
}

TEST_F(EditButtonControl, TheHostDecidesAboutRepeating)
{
    // An up-down button whose host stops the repeating at the second step.
    FButton->SetStyle(ebsUpDownGx);
    FStopRepeatAfter = 2;
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, TopHalf());
    QTest::qWait(800);
    EXPECT_EQ(FDowns.size(), 2u);
    EXPECT_FALSE(FButton->Repeating());
    QTest::mouseRelease(FButton, Qt::LeftButton, Qt::NoModifier, TopHalf());

    // Other styles do not repeat unless the host asks at every step.
    FDowns.clear();
    FStopRepeatAfter = 0;
    FButton->SetStyle(ebsPlusGx);
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, BottomHalf());
    ASSERT_EQ(FDowns.size(), 1u);
    EXPECT_TRUE(FDowns[0].TopButton) << "single faces are always the top part";
    EXPECT_FALSE(FButton->Repeating());
    QTest::mouseRelease(FButton, Qt::LeftButton, Qt::NoModifier, BottomHalf());

    FDowns.clear();
    FKeepRepeating = true;
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, BottomHalf());
    EXPECT_TRUE(FButton->Repeating());
    QTest::qWait(650);
    EXPECT_GE(FDowns.size(), 2u);
    QTest::mouseRelease(FButton, Qt::LeftButton, Qt::NoModifier, BottomHalf());
    EXPECT_FALSE(FButton->Repeating());
}

TEST_F(EditButtonControl, ClicksNeedPressAndReleaseOnTheButton)
{
    FButton->SetStyle(ebsEllipsisGx);
    QTest::mouseClick(FButton, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(FClicks, 1);
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    Move(QPoint(40, 5));
    EXPECT_EQ(FButton->State(), TSpeedButton::bsUp);
    QTest::mouseRelease(FButton, Qt::LeftButton, Qt::NoModifier, QPoint(40, 5));
    EXPECT_EQ(FClicks, 1);
    QTest::mouseClick(FButton, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(FClicks, 1);
    EXPECT_EQ(FDowns.size(), 2u);
}

TEST_F(EditButtonControl, DroppedHoldsTheButtonDownWithTheTopPart)
{
    FButton->setGeometry(10, 10, 17, 17);
    FButton->SetDropped(true);
    EXPECT_TRUE(FButton->Down());
    EXPECT_EQ(FButton->State(), TSpeedButton::bsExclusive);
    EXPECT_EQ(FButton->PressedPart(), ebpTopGx);
    QImage picture = Picture();
    EXPECT_EQ(PixelAt(picture, 0, 0), RGB(128, 128, 128));   // pushed: flat frame
    EXPECT_EQ(RowRuns(picture, 7, clBlack), (std::vector<std::pair<int, int>>{{6, 7}}));

    FButton->SetDropped(false);
    EXPECT_FALSE(FButton->Down());
    EXPECT_EQ(FButton->State(), TSpeedButton::bsUp);
    EXPECT_EQ(FButton->PressedPart(), ebpNoneGx);
    EXPECT_EQ(FButton->GroupIndex(), 0);
    picture = Picture();
    EXPECT_EQ(PixelAt(picture, 16, 16), RGB(64, 64, 64));
    EXPECT_EQ(RowRuns(picture, 6, clBlack), (std::vector<std::pair<int, int>>{{5, 7}}));
}

TEST_F(EditButtonControl, FlatButtonsShowAHotEdgeUnderThePointer)
{
    FParent->setAutoFillBackground(true);
    QPalette palette = FParent->palette();
    palette.setColor(QPalette::Window, QColor(255, 0, 0));
    FParent->setPalette(palette);
    FButton->SetStyle(ebsEllipsisGx);
    FButton->SetFlat(true);
    QImage picture = Picture();
    EXPECT_EQ(PixelAt(picture, 0, 0), RGB(255, 0, 0)) << "a frame in the parent's colour";

    QEnterEvent enter(QPointF(5, 5), QPointF(15, 15), QPointF(FButton->mapToGlobal(QPoint(5, 5))));
    QApplication::sendEvent(FButton, &enter);
    EXPECT_TRUE(FButton->Active());
    picture = Picture();
    EXPECT_EQ(PixelAt(picture, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(picture, 15, 20), RGB(128, 128, 128));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(FButton, &leave);
    EXPECT_FALSE(FButton->Active());
    EXPECT_EQ(PixelAt(Picture(), 0, 0), RGB(255, 0, 0));
}

TEST_F(EditButtonControl, GlyphButtonsShowTheirPicture)
{
    // The bottom-left pixel's colour is the transparent one.
    QImage picture6x4(6, 4, QImage::Format_RGB32);
    picture6x4.fill(QColor(0, 0, 255));
    picture6x4.setPixelColor(0, 3, QColor(255, 0, 255));
    picture6x4.setPixelColor(5, 0, QColor(255, 0, 255));
    const QPixmap glyph = QPixmap::fromImage(picture6x4);
    FButton->SetStyle(ebsGlyphGx);
    FButton->SetGlyph(glyph);
    FButton->setGeometry(10, 10, 16, 16);
    QImage picture = Picture();
    EXPECT_EQ(PixelAt(picture, 5, 6), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(picture, 4, 6), ColorToRGB(clBtnFace));
    EXPECT_EQ(PixelAt(picture, 10, 6), ColorToRGB(clBtnFace)) << "transparent corner";
    EXPECT_EQ(PixelAt(picture, 5, 9), ColorToRGB(clBtnFace)) << "transparent corner";
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));
    picture = Picture();
    EXPECT_EQ(PixelAt(picture, 5, 6), ColorToRGB(clBtnFace));
    EXPECT_EQ(PixelAt(picture, 6, 7), RGB(0, 0, 255)) << "pressed pictures move right and down";
    QTest::mouseRelease(FButton, Qt::LeftButton, Qt::NoModifier, QPoint(8, 8));

    FButton->setEnabled(false);
    picture = Picture();
    EXPECT_EQ(CountPixels(picture, RGB(0, 0, 255)), 0) << "disabled pictures are embossed";
    EXPECT_GT(CountPixels(picture, RGB(128, 128, 128), QRect(5, 6, 6, 4)), 0);
}

TEST_F(EditButtonControl, CancellingAPressStopsTheRepeating)
{
    FButton->SetStyle(ebsUpDownGx);
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, TopHalf());
    EXPECT_TRUE(FButton->Repeating());
    FButton->CancelMode();
    EXPECT_FALSE(FButton->Repeating());
    EXPECT_EQ(FButton->PressedPart(), ebpNoneGx);
    EXPECT_EQ(FButton->State(), TSpeedButton::bsUp);
    QTest::qWait(500);
    EXPECT_EQ(FDowns.size(), 1u);
    QTest::mouseRelease(FButton, Qt::LeftButton, Qt::NoModifier, TopHalf());
    EXPECT_EQ(FClicks, 0);
}

TEST(EditButtonPainting, FlatGlyphButtonsAreFramedInTheBackgroundUnlessActive)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 255));
    picture.setPixelColor(0, 3, QColor(0, 255, 0));
    const QPixmap glyph = QPixmap::fromImage(picture);
    const auto paint = [&](bool active, TEditButtonPartGx part) {
        return Render(12, 16, clYellow, [&](QPainter& painter) {
            PaintEditButton(painter, QRect(0, 0, 12, 16), clRed, ebsGlyphGx, glyph, 1, true, active, true, part);
        });
    };
    const QImage inactive = paint(false, ebpNoneGx);
    EXPECT_EQ(CountPixels(inactive, clRed), 2 * 12 + 2 * 14);
    EXPECT_EQ(PixelAt(inactive, 5, 7), RGB(0, 0, 255));
    const QImage hot = paint(true, ebpNoneGx);
    EXPECT_EQ(PixelAt(hot, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(hot, 11, 15), RGB(128, 128, 128));
    const QImage pressed = paint(true, ebpTopGx);
    EXPECT_EQ(PixelAt(pressed, 0, 0), RGB(128, 128, 128));
    EXPECT_EQ(PixelAt(pressed, 6, 7), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(pressed, 4, 6), ColorToRGB(clBtnFace));

    // Other styles go to their face.
    const QImage ellipsis = Render(12, 16, clYellow, [&](QPainter& painter) {
        PaintEditButton(painter, QRect(0, 0, 12, 16), clRed, ebsEllipsisGx, glyph, 1, true, false, false, ebpNoneGx);
    });
    EXPECT_EQ(CountPixels(ellipsis, RGB(0, 0, 255)), 0);
    EXPECT_GT(CountPixels(ellipsis, clBlack), 0);
}

TEST_F(EditButtonControl, HidingOrDisablingAHeldButtonStopsTheRepeating)
{
    FButton->SetStyle(ebsUpDownGx);
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, TopHalf());
    FButton->hide();
    EXPECT_FALSE(FButton->Repeating());
    EXPECT_EQ(FButton->State(), TSpeedButton::bsUp);
    FButton->show();

    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, TopHalf());
    FButton->setEnabled(false);
    EXPECT_FALSE(FButton->Repeating());
    EXPECT_EQ(FButton->State(), TSpeedButton::bsDisabled);
    QTest::qWait(500);
    EXPECT_EQ(FDowns.size(), 2u);
}

TEST_F(EditButtonControl, AHostThatHidesTheButtonOnPressGetsNoRepeats)
{
    FButton->SetStyle(ebsUpDownGx);
    FButton->OnDown = [this](TEditButtonControlGx& sender, bool, bool&, bool&) {
        FDowns.push_back({true, 0});
        sender.hide();
    };
    QTest::mousePress(FButton, Qt::LeftButton, Qt::NoModifier, TopHalf());
    EXPECT_FALSE(FButton->Repeating());
    QTest::qWait(500);
    EXPECT_EQ(FDowns.size(), 1u);
}
