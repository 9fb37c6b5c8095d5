// The pieces of the search highlight on their own: the visual runs of a
// text's start, and the recorder that tells where a drawing laid its lines.

#include "grid/PaintTestSupport.h"
#include "grid/paint/SearchHighlight.h"
#include "grid/paint/TextLineRecorder.h"

#include "ui/TextDraw.h"

#include <QTextLayout>

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QString Mixed = QString::fromUtf8("abc שלום");

int NaturalWidth(const QString& text, Qt::LayoutDirection direction)
{
    QTextLayout layout(text, PaintTestFont());
    LayOutOneLine(layout, direction);
    return static_cast<int>(std::lround(layout.lineAt(0).naturalTextWidth()));
}

TEST(SearchHighlightSpans, MixedTextStartsInTwoRunsLeftToRightAndInOneRightToLeft)
{
    const QFont font = PaintTestFont();
    const int width = NaturalWidth(Mixed, Qt::LeftToRight);
    const int latin = static_cast<int>(std::lround(QFontMetricsF(font).horizontalAdvance(QStringLiteral("abc "))));

    // "abc " at the left, the Hebrew word's first letter at its right end.
    const auto ltr = TextStartSpans(font, Mixed, 5, Qt::LeftToRight);
    ASSERT_EQ(ltr.size(), 2u);
    EXPECT_EQ(ltr[0], (TTextSpanGx{0, latin}));
    EXPECT_GT(ltr[1].Left, latin);
    EXPECT_EQ(ltr[1].Right, width);

    // Read right to left the Latin word stands at the right, the space and
    // the first Hebrew letter next to it: one run.
    const auto rtl = TextStartSpans(font, Mixed, 5, Qt::RightToLeft);
    ASSERT_EQ(rtl.size(), 1u);
    EXPECT_EQ(rtl[0].Right, NaturalWidth(Mixed, Qt::RightToLeft));
    EXPECT_LT(rtl[0].Left, rtl[0].Right - latin);
}

TEST(SearchHighlightSpans, NothingMatchedMarksNothingAndTooLongMarksTheWholeLine)
{
    const QFont font = PaintTestFont();
    EXPECT_TRUE(TextStartSpans(font, Mixed, 0, Qt::LeftToRight).empty());
    EXPECT_TRUE(TextStartSpans(font, QString(), 3, Qt::LeftToRight).empty());
    const auto whole = TextStartSpans(font, QStringLiteral("Anne"), 99, Qt::RightToLeft);
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0], (TTextSpanGx{0, NaturalWidth(QStringLiteral("Anne"), Qt::RightToLeft)}));
}

TEST(SearchHighlightSpans, ASurrogatePairIsNeverSplit)
{
    const QString text = QString::fromUtf8("a\U0001F600b");   // 'a', a pair, 'b'
    const QFont font = PaintTestFont();
    EXPECT_EQ(TextStartSpans(font, text, 2, Qt::LeftToRight), TextStartSpans(font, text, 3, Qt::LeftToRight));
}

TEST(TextLineRecorder, RecordsEachWrappedLineWithItsCharactersAndPlace)
{
    QImage like(10, 10, QImage::Format_RGB32);
    TTextLineRecorder recorder(like);
    const QFontMetrics metrics(PaintTestFont());
    QRect rect(5, 7, metrics.horizontalAdvance(QStringLiteral("three")) + 2, 200);
    int height = 0;
    {
        QPainter painter(&recorder);
        painter.setFont(PaintTestFont());
        height = DrawFormattedText(painter, QStringLiteral("one two three"), rect, DT_WORDBREAK | DT_NOPREFIX);
    }
    const std::vector<TRecordedLineGx> lines = recorder.Lines();
    ASSERT_EQ(static_cast<int>(lines.size()), height / metrics.height());
    ASSERT_GE(lines.size(), 2u);
    int characters = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        characters += lines[i].Length;
        EXPECT_EQ(lines[i].Origin.x(), 5);
        EXPECT_EQ(lines[i].Origin.y(), 7 + metrics.ascent() + static_cast<int>(i) * metrics.height());
    }
    EXPECT_EQ(characters, 11) << "every letter, without the spaces at the breaks";
}

TEST(TextLineRecorder, AMixedLineIsOneLineFromItsLeftmostRun)
{
    QImage like(10, 10, QImage::Format_RGB32);
    TTextLineRecorder recorder(like);
    {
        QPainter painter(&recorder);
        painter.setFont(PaintTestFont());
        painter.setLayoutDirection(Qt::RightToLeft);
        painter.drawText(QPointF(20, 30), Mixed);
    }
    const std::vector<TRecordedLineGx> lines = recorder.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Length, Mixed.size());
    EXPECT_EQ(lines[0].Origin, QPointF(20, 30));
}

}  // namespace
