// The speed button: press, release and click rules, groups held down one at
// a time, cancelling a press, and its painted look.

#include "ui/ImageProbe.h"
#include "ui/SpeedButton.h"

#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

class SpeedButtons : public ::testing::Test {
protected:
    void SetUp() override
    {
        FParent = std::make_unique<QWidget>();
        FParent->resize(120, 40);
        for (int i = 0; i < 3; ++i) {
            FButtons[i] = new TSpeedButton(FParent.get());
            FButtons[i]->setGeometry(i * 30, 0, 25, 22);
            FButtons[i]->OnClick = [this, i](TSpeedButton&) { ++FClicks[i]; };
        }
        FParent->show();
    }

    void MoveWithButton(TSpeedButton* button, QPoint position)
    {
        QMouseEvent event(QEvent::MouseMove, QPointF(position), QPointF(button->mapToGlobal(position)), Qt::NoButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &event);
    }

    std::unique_ptr<QWidget> FParent;
    TSpeedButton* FButtons[3] = {};
    int FClicks[3] = {};
};

} // namespace

TEST_F(SpeedButtons, PressShowsDownAndReleaseOnTheButtonClicks)
{
    TSpeedButton* button = FButtons[0];
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(button->State(), TSpeedButton::bsDown);
    EXPECT_TRUE(button->Dragging());
    MoveWithButton(button, QPoint(60, 5));
    EXPECT_EQ(button->State(), TSpeedButton::bsUp);
    MoveWithButton(button, QPoint(6, 6));
    EXPECT_EQ(button->State(), TSpeedButton::bsDown);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, 6));
    EXPECT_EQ(button->State(), TSpeedButton::bsUp);
    EXPECT_EQ(FClicks[0], 1);

    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(60, 5));
    EXPECT_EQ(FClicks[0], 1) << "released off the button";
    QTest::mouseClick(button, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(FClicks[0], 1);
}

TEST_F(SpeedButtons, MouseNotificationsReachTheHost)
{
    TSpeedButton* button = FButtons[1];
    int downs = 0;
    int ups = 0;
    QPoint lastUp;
    button->OnMouseDown = [&](TSpeedButton&, Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { ++downs; };
    button->OnMouseUp = [&](TSpeedButton&, Qt::MouseButton, Qt::KeyboardModifiers, QPoint at) {
        ++ups;
        lastUp = at;
    };
    QTest::mouseClick(button, Qt::RightButton, Qt::NoModifier, QPoint(3, 4));
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(lastUp, QPoint(3, 4));
}

TEST_F(SpeedButtons, AGroupHoldsOneButtonDown)
{
    for (TSpeedButton* button : FButtons)
        button->SetGroupIndex(5);
    FButtons[0]->SetDown(true);
    EXPECT_EQ(FButtons[0]->State(), TSpeedButton::bsExclusive);
    QTest::mouseClick(FButtons[2], Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(FButtons[2]->Down());
    EXPECT_FALSE(FButtons[0]->Down());
    EXPECT_EQ(FButtons[0]->State(), TSpeedButton::bsUp);
    // Without AllowAllUp the held button cannot be released.
    QTest::mouseClick(FButtons[2], Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(FButtons[2]->Down());
    FButtons[0]->SetAllowAllUp(true);
    EXPECT_TRUE(FButtons[2]->AllowAllUp()) << "the group shares AllowAllUp";
    QTest::mouseClick(FButtons[2], Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(FButtons[2]->Down());
    EXPECT_EQ(FClicks[2], 3);

    // Buttons outside any group never stay down.
    TSpeedButton loose;
    loose.SetDown(true);
    EXPECT_FALSE(loose.Down());
}

// Other widgets beside a group are no buttons of it: holding a button down
// or sharing AllowAllUp leaves them alone (under the sanitizers a widget
// taken for a button is reported at once).
TEST_F(SpeedButtons, AGroupAmongOtherWidgetsTouchesOnlyItsButtons)
{
    struct TPatterned : QWidget {
        using QWidget::QWidget;
        unsigned char Bytes[64];
    };
    auto* other = new TPatterned(FParent.get());
    std::fill(std::begin(other->Bytes), std::end(other->Bytes), 0xA5);
    for (TSpeedButton* button : FButtons)
        button->SetGroupIndex(5);
    FButtons[0]->SetDown(true);
    FButtons[1]->SetAllowAllUp(true);
    QTest::mouseClick(FButtons[2], Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(FButtons[2]->Down());
    EXPECT_FALSE(FButtons[0]->Down());
    EXPECT_TRUE(FButtons[0]->AllowAllUp());
    EXPECT_TRUE(std::all_of(std::begin(other->Bytes), std::end(other->Bytes), [](unsigned char b) { return b == 0xA5; }));
}

TEST_F(SpeedButtons, CancelModeEndsAPressWithoutAClick)
{
    TSpeedButton* button = FButtons[0];
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    button->CancelMode();
    EXPECT_FALSE(button->Dragging());
    EXPECT_EQ(button->State(), TSpeedButton::bsUp);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(FClicks[0], 0);
}

TEST_F(SpeedButtons, DisablingShowsTheDisabledState)
{
    FButtons[0]->setEnabled(false);
    EXPECT_EQ(FButtons[0]->State(), TSpeedButton::bsDisabled);
    FButtons[0]->setEnabled(true);
    EXPECT_EQ(FButtons[0]->State(), TSpeedButton::bsUp);
}

TEST(SpeedButtonLook, FramesGlyphsAndStates)
{
    QImage strip(8, 4, QImage::Format_RGB32);   // two 4 x 4 images: blue, then red
    strip.fill(QColor(0, 0, 255));
    for (int y = 0; y < 4; ++y)
        for (int x = 4; x < 8; ++x)
            strip.setPixelColor(x, y, QColor(255, 0, 0));
    strip.setPixelColor(0, 3, QColor(0, 255, 0));   // transparent colour of the first image
    strip.setPixelColor(4, 3, QColor(0, 255, 0));
    const QPixmap glyph = QPixmap::fromImage(strip);
    const auto look = [&](TSpeedButton::TButtonState state, bool flat, bool hot) {
        return Render(12, 12, clYellow, [&](QPainter& painter) {
            TSpeedButton::PaintLook(painter, QRect(0, 0, 12, 12), state, flat, hot, glyph, 2);
        });
    };
    const QImage up = look(TSpeedButton::bsUp, false, false);
    EXPECT_EQ(PixelAt(up, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(up, 11, 11), RGB(64, 64, 64));
    EXPECT_EQ(PixelAt(up, 5, 4), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(up, 4, 7), ColorToRGB(clBtnFace)) << "transparent pixel";

    // The second image is the disabled one.
    const QImage disabled = look(TSpeedButton::bsDisabled, false, false);
    EXPECT_EQ(PixelAt(disabled, 5, 4), RGB(255, 0, 0));

    const QImage flat = look(TSpeedButton::bsUp, true, false);
    EXPECT_EQ(PixelAt(flat, 0, 0), ColorToRGB(clBtnFace));
    const QImage hot = look(TSpeedButton::bsUp, true, true);
    EXPECT_EQ(PixelAt(hot, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(hot, 11, 11), RGB(128, 128, 128));
    const QImage down = look(TSpeedButton::bsDown, true, false);
    EXPECT_EQ(PixelAt(down, 0, 0), RGB(128, 128, 128));
    EXPECT_EQ(PixelAt(down, 6, 5), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(down, 4, 4), ColorToRGB(clBtnFace));
}
