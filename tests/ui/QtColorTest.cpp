#include "ui/QtColor.h"

#include <gtest/gtest.h>

TEST(QtColor, ResolvesSystemColoursAndKeepsRgb)
{
    EXPECT_EQ(ToQColor(RGB(1, 2, 3)), QColor(1, 2, 3));
    EXPECT_EQ(ToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(clBtnFace), QColor(212, 208, 200));
    EXPECT_EQ(ToQColor(clHighlight), QColor(10, 36, 106));
    EXPECT_EQ(ToQColor(clNone).alpha(), 0);
    EXPECT_FALSE(ToQColor(clDefault).isValid());
    EXPECT_EQ(FromQColor(QColor(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(FromQColor(ToQColor(clInfoBk)), ColorToRGB(clInfoBk));
}
