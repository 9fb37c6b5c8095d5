// The text writer: ellipsis, wrapping, alignment, placement and measuring,
// checked on rendered pixels and measured rectangles.

#include "ui/ImageProbe.h"
#include "ui/TextDraw.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

QFont TestFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    return font;
}

// The columns and rows that hold ink (anything not white).
QRect InkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) != RGB(255, 255, 255))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

QImage Write(const QString& text, QRect rect, unsigned format, QSize size = QSize(120, 60),
             TDrawTextMargins margins = {})
{
    return Render(size.width(), size.height(), clWhite, [&](QPainter& painter) {
        painter.setFont(TestFont());
        painter.setPen(Qt::black);
        DrawFormattedText(painter, text, rect, format, margins);
    });
}

} // namespace

TEST(TextDraw, EllipsisKeepsFittingTextAndShortensTheRest)
{
    const QFontMetrics metrics(TestFont());
    EXPECT_EQ(EllipsizeEnd(metrics, QStringLiteral("Short"), 200), QStringLiteral("Short"));
    const QString longText = QStringLiteral("A rather long customer name");
    const int limit = TextWidth(metrics, longText) / 2;
    const QString shortened = EllipsizeEnd(metrics, longText, limit);
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("...")));
    EXPECT_LE(TextWidth(metrics, shortened), limit);
    EXPECT_TRUE(longText.startsWith(shortened.left(shortened.size() - 3)));
    // One more character would not fit.
    const QString oneMore = longText.left(shortened.size() - 2) + QStringLiteral("...");
    EXPECT_GT(TextWidth(metrics, oneMore), limit);
    EXPECT_EQ(EllipsizeEnd(metrics, longText, 2), QStringLiteral("..."));

    // Characters outside the basic plane are never cut in half.
    const QString wide = QString::fromUtf8("\xF0\x9D\x84\x9E\xF0\x9D\x84\x9E\xF0\x9D\x84\x9E\xF0\x9D\x84\x9E");
    for (int limit = 0; limit < TextWidth(metrics, wide); ++limit) {
        const QString cut = EllipsizeEnd(metrics, wide, limit);
        EXPECT_EQ((cut.size() - 3) % 2, 0) << limit;
    }
}

TEST(TextDraw, EndEllipsisStaysInsideTheRectangle)
{
    const QRect cell(10, 5, 50, 20);
    const QImage image = Write(QStringLiteral("WWWWWWWWWWWWWWWWWWWW"), cell, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    const QRect ink = InkBounds(image);
    ASSERT_TRUE(ink.isValid());
    EXPECT_GE(ink.left(), cell.left());
    EXPECT_LE(ink.right(), cell.right());
}

TEST(TextDraw, AlignmentPlacesTheLine)
{
    const QRect cell(0, 0, 120, 20);
    const QFontMetrics metrics(TestFont());
    const int width = TextWidth(metrics, QStringLiteral("Mm"));
    const QRect left = InkBounds(Write(QStringLiteral("Mm"), cell, DT_LEFT, QSize(120, 20), {4, 0}));
    const QRect right = InkBounds(Write(QStringLiteral("Mm"), cell, DT_RIGHT, QSize(120, 20), {0, 6}));
    const QRect centre = InkBounds(Write(QStringLiteral("Mm"), cell, DT_CENTER, QSize(120, 20)));
    EXPECT_LE(std::abs(left.left() - 4), 2);
    EXPECT_LE(std::abs(right.right() - (120 - 6 - 1)), 2);
    EXPECT_LE(std::abs(centre.left() - (120 - width) / 2), 2);
}

TEST(TextDraw, VerticalPlacementOfTheBlock)
{
    const QRect cell(0, 0, 120, 60);
    const QRect top = InkBounds(Write(QStringLiteral("Ag"), cell, DT_TOP));
    const QRect middle = InkBounds(Write(QStringLiteral("Ag"), cell, DT_VCENTER));
    const QRect bottom = InkBounds(Write(QStringLiteral("Ag"), cell, DT_BOTTOM));
    EXPECT_LT(top.bottom(), 20);
    EXPECT_GT(middle.top(), top.top() + 15);
    EXPECT_LT(middle.bottom(), bottom.top() + 10);
    EXPECT_GE(bottom.bottom(), 50);
}

TEST(TextDraw, WordWrapBreaksBetweenWordsAndMeasuresTheBlock)
{
    QImage scratch = BlankImage(10, 10, clWhite);
    QPainter painter(&scratch);
    painter.setFont(TestFont());
    const QFontMetrics metrics(TestFont());
    const QString text = QStringLiteral("one two three four");
    // "one two" / "three four"
    QRect rect(0, 0, TextWidth(metrics, QStringLiteral("three four")) + 1, 0);
    const int height = DrawFormattedText(painter, text, rect, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(height, 2 * metrics.height());
    EXPECT_EQ(rect.height(), height);
    EXPECT_EQ(rect.width(), TextWidth(metrics, QStringLiteral("three four"))) << "the widest line";
    // "one two" / "three" / "four"
    rect = QRect(0, 0, TextWidth(metrics, QStringLiteral("three four")) - 1, 0);
    EXPECT_EQ(DrawFormattedText(painter, text, rect, DT_WORDBREAK | DT_CALCRECT), 3 * metrics.height());

    QRect single(0, 0, 1000, 0);
    EXPECT_EQ(DrawFormattedText(painter, text, single, DT_CALCRECT), metrics.height());
    EXPECT_EQ(single.width(), TextWidth(metrics, text));

    QRect lines(0, 0, 1000, 0);
    EXPECT_EQ(DrawFormattedText(painter, QStringLiteral("a\r\nb\nc"), lines, DT_CALCRECT), 3 * metrics.height());
    QRect oneLine(0, 0, 1000, 0);
    EXPECT_EQ(DrawFormattedText(painter, QStringLiteral("a\r\nb"), oneLine, DT_CALCRECT | DT_SINGLELINE),
              metrics.height());

    // A word longer than the line is broken inside.
    QRect narrow(0, 0, TextWidth(metrics, QStringLiteral("abc")), 0);
    EXPECT_EQ(DrawFormattedText(painter, QStringLiteral("abcdefghi"), narrow, DT_WORDBREAK | DT_CALCRECT),
              3 * metrics.height());
}

TEST(TextDraw, PrefixesAndTabs)
{
    QImage scratch = BlankImage(10, 10, clWhite);
    QPainter painter(&scratch);
    painter.setFont(TestFont());
    const QFontMetrics metrics(TestFont());
    QRect rect(0, 0, 1000, 0);
    DrawFormattedText(painter, QStringLiteral("&File && more"), rect, DT_CALCRECT);
    EXPECT_EQ(rect.width(), TextWidth(metrics, QStringLiteral("File & more")));
    rect = QRect(0, 0, 1000, 0);
    DrawFormattedText(painter, QStringLiteral("&File"), rect, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(rect.width(), TextWidth(metrics, QStringLiteral("&File")));
    rect = QRect(0, 0, 1000, 0);
    DrawFormattedText(painter, QStringLiteral("ab\tc"), rect, DT_CALCRECT | DT_EXPANDTABS);
    EXPECT_EQ(rect.width(), TextWidth(metrics, QStringLiteral("ab      c")));
}

TEST(TextDraw, DrawingIsClippedToTheRectangle)
{
    const QRect cell(20, 10, 30, 15);
    const QRect ink = InkBounds(Write(QStringLiteral("WWWWWWWWWWWW"), cell, DT_SINGLELINE));
    ASSERT_TRUE(ink.isValid());
    EXPECT_TRUE(cell.contains(ink));
}
