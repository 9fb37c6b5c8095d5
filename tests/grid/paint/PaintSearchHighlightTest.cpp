// The incremental search's highlight on rendered images: typed through key
// events, the yellow marks exactly the columns where Qt's own text layout
// has the glyphs of the matched start of the text, for right-to-left,
// mixed and Latin text, in a left-to-right and in a mirrored grid, in
// every alignment.

#include "grid/PaintTestSupport.h"
#include "grid/input/DBGridGxKeyboard.h"
#include "grid/paint/SearchHighlight.h"
#include "ui/TextDraw.h"

#include <QKeyEvent>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

namespace {

const QString Hebrew = QString::fromUtf8("שלום עולם");
const QString Mixed = QString::fromUtf8("abc שלום");
const QString Latin = QStringLiteral("Anne Smith");
const QColor Yellow = Qc(clYellow);

std::unique_ptr<TMemTable> NameTable(const QString& name)
{
    auto table = std::make_unique<TMemTable>();
    table->FieldDefs().Add("NAME", ftString, 60);
    table->AppendRecord({TVariant(name.toStdString())});
    table->AppendRecord({TVariant("zzz")});
    table->Open();
    return table;
}

// A grid whose NAME column cannot be edited, so that typing searches.
struct TSearchPaintGrid : TPaintGrid {
    TSearchPaintGrid(const QString& name, Qt::LayoutDirection direction, TAlignment alignment)
        : TPaintGrid(NameTable(name))
    {
        G().setLayoutDirection(direction);
        G().SetOptions(G().Options() - dgEditing);
        G().SetOptionsGx(G().OptionsGx() + dghIncSearch);
        Column(0).SetWidth(200);
        Column(0).SetAlignment(alignment);
        G().SetCol(G().DataToRawColumn(0));
    }
    // Each character as a key of a keyboard in its script sends it.
    void Type(const QString& text)
    {
        for (const QChar c : text) {
            const int key = c.isLetter() ? c.toUpper().unicode() : c.unicode();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(Grid.get(), &press);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(Grid.get(), &release);
        }
    }
    // The current cell where it shows: mirrored in a right-to-left grid,
    // less its frame and focus rectangle.
    QRect CurrentCell() const
    {
        QRect cell = Cell(0, Grid->TitleRows());
        if (Grid->IsMirrored())
            cell.moveLeft(Grid->ClientWidth() - cell.x() - cell.width());
        return cell.adjusted(1, 1, -1, -1);
    }
};

// Pixel columns [left, right) in which some pixel of rect has the colour.
using TSpans = std::vector<std::pair<int, int>>;
TSpans ColumnsOf(const QImage& image, const QRect& rect, const QColor& color)
{
    TSpans spans;
    for (int x = rect.left(); x <= rect.right(); ++x) {
        bool found = false;
        for (int y = rect.top(); y <= rect.bottom() && !found; ++y)
            found = image.pixelColor(x, y) == color;
        if (!found)
            continue;
        if (!spans.empty() && spans.back().second == x)
            spans.back().second = x + 1;
        else
            spans.push_back({x, x + 1});
    }
    return spans;
}

// The text laid out by Qt's text layout from (0, 0) in the paragraph
// direction, black on white, its first `length` characters selected with
// a yellow background.
QImage LaidOut(const QString& text, int length, Qt::LayoutDirection direction)
{
    QImage image(300, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QTextLayout layout(text, PaintTestFont(), &image);
    LayOutOneLine(layout, direction);
    QTextLayout::FormatRange selected;
    selected.start = 0;
    selected.length = length;
    selected.format.setBackground(Yellow);
    selected.format.setForeground(Qt::black);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    layout.draw(&painter, QPointF(0, 0), {selected});
    return image;
}

// The ink of a text: pixels neither of the background nor yellow.
QRect InkBox(const QImage& image, const QRect& rect, const QColor& background)
{
    QRect box;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel != background && pixel != Yellow)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

struct TCase {
    std::string Name;
    QString Text;
    QString Typed;
    Qt::LayoutDirection Direction;
    TAlignment Alignment;
    friend void PrintTo(const TCase& c, std::ostream* out) { *out << c.Name; }
};

class PaintSearchHighlight : public ::testing::TestWithParam<TCase> {};

// Checks one drawn line of the current cell: `band` holds its ink in
// `before` (the cell without the search), whose background is the
// highlight colour; `after` shows the search with `length` characters of
// the line matched.
void ExpectLineMarked(const QImage& before, const QImage& after, const QRect& band, const QString& line, int length,
                      Qt::LayoutDirection direction)
{
    const QColor background = Qc(clHighlight);
    // The layout's line is where the cell's text lies: the same ink.
    const QImage laid = LaidOut(line, length, direction);
    const QImage plain = LaidOut(line, 0, direction);
    const QRect laidInk = InkBox(plain, plain.rect(), Qt::white);
    const QRect cellInk = InkBox(before, band, background);
    ASSERT_FALSE(cellInk.isNull());
    ASSERT_EQ(cellInk.size(), laidInk.size()) << "the cell draws the text as the layout lays it";
    const QPoint offset = cellInk.topLeft() - laidInk.topLeft();
    int differing = 0;
    for (int y = 0; y < laidInk.height(); ++y)
        for (int x = 0; x < laidInk.width(); ++x) {
            const QPoint p = laidInk.topLeft() + QPoint(x, y);
            differing += (plain.pixelColor(p) == Qt::white) != (before.pixelColor(p + offset) == background);
        }
    EXPECT_LT(differing, laidInk.width() * laidInk.height() / 20) << "in the same visual order";

    // The highlight covers the columns of the matched characters' glyphs.
    TSpans expected = ColumnsOf(laid, laid.rect(), Yellow);
    for (auto& span : expected)
        span = {span.first + offset.x(), span.second + offset.x()};
    const TSpans marked = ColumnsOf(after, band, Yellow);
    ASSERT_EQ(marked.size(), expected.size()) << "one mark per visual run";
    for (size_t i = 0; i < marked.size(); ++i) {
        EXPECT_NEAR(marked[i].first, expected[i].first, 1) << "run " << i;
        EXPECT_NEAR(marked[i].second, expected[i].second, 1) << "run " << i;
    }
    // The glyphs are drawn again in black over the yellow.
    int dark = 0;
    for (const auto& [left, right] : marked)
        for (int x = left; x < right; ++x)
            for (int y = band.top(); y <= band.bottom(); ++y)
                dark += after.pixelColor(x, y) != background && qGray(after.pixel(x, y)) < 96;
    EXPECT_GT(dark, 0);
}

TEST_P(PaintSearchHighlight, MarksTheGlyphsOfTheMatchedStartWhereTheLayoutHasThem)
{
    const QString& name = GetParam().Text;
    const QString& typed = GetParam().Typed;
    TSearchPaintGrid grid(name, GetParam().Direction, GetParam().Alignment);
    const QRect cell = grid.CurrentCell();
    const QImage before = grid.Render();
    ASSERT_EQ(CountColor(before, cell, Yellow), 0);

    grid.Type(typed);
    ASSERT_TRUE(grid.G().Keyboard().IncSearchActive());
    ASSERT_EQ(QString::fromStdString(grid.G().Keyboard().IncSearchText()), typed);
    ExpectLineMarked(before, grid.Render(), cell, name, static_cast<int>(typed.size()), GetParam().Direction);
}

struct TNamedText {
    const char* Name;
    QString Text;
    QString Typed;
};

std::vector<TCase> EveryCase()
{
    const TNamedText texts[] = {{"Hebrew", Hebrew, QString::fromUtf8("של")},
                                {"HebrewPastTheSpace", Hebrew, QString::fromUtf8("שלום ע")},
                                {"Arabic", QString::fromUtf8("مرحبا بالعالم"), QString::fromUtf8("مرح")},
                                {"Mixed", Mixed, QString::fromUtf8("abc ש")},
                                {"Latin", Latin, QStringLiteral("An")}};
    std::vector<TCase> cases;
    for (const TNamedText& text : texts)
        for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft})
            for (const TAlignment alignment : {taLeftJustify, taRightJustify, taCenter}) {
                std::string name = text.Name;
                name += direction == Qt::RightToLeft ? "_MirroredGrid" : "_LeftToRightGrid";
                name += alignment == taLeftJustify ? "_Left" : alignment == taRightJustify ? "_Right" : "_Centred";
                cases.push_back({name, text.Text, text.Typed, direction, alignment});
            }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryDirectionAndAlignment, PaintSearchHighlight, ::testing::ValuesIn(EveryCase()),
                         [](const ::testing::TestParamInfo<TCase>& info) { return info.param.Name; });

// A text shortened with "..." shows only the start of the match: the
// highlight takes the dots too, as they stand for the matched rest.
TEST(PaintSearchHighlightEllipsis, AMatchReachingIntoTheCutPartMarksTheDots)
{
    TSearchPaintGrid grid(Latin, Qt::LeftToRight, taLeftJustify);
    const QFontMetrics metrics(PaintTestFont());
    grid.Column(0).SetWidth(metrics.horizontalAdvance(QStringLiteral("Anne...")) + 6);
    grid.Column(0).SetEndEllipsis(true);
    const QRect cell = grid.CurrentCell();
    const QImage before = grid.Render();
    const int dx = 2;   // where the cell text starts
    const QString shown = EllipsizeEnd(metrics, Latin, grid.Column(0).Width() - dx);
    ASSERT_TRUE(shown.endsWith(QStringLiteral("..."))) << shown.toStdString();
    ASSERT_LT(shown.size() - 3, 7);

    grid.Type(QStringLiteral("Anne Sm"));
    ExpectLineMarked(before, grid.Render(), cell, shown, static_cast<int>(shown.size()), Qt::LeftToRight);
}

// A word-wrapped cell: "שלום" on the first line, "עולם" on the second;
// typing past the break marks the whole first word and the first letter
// of the second, each where its line has it.
class PaintWrappedSearchHighlight
    : public ::testing::TestWithParam<std::tuple<Qt::LayoutDirection, TAlignment>> {};

TEST_P(PaintWrappedSearchHighlight, MarksTheMatchOnEveryLineItReaches)
{
    const auto [direction, alignment] = GetParam();
    TSearchPaintGrid grid(Hebrew, direction, alignment);
    const QFontMetrics metrics(PaintTestFont());
    grid.Column(0).SetWidth(metrics.horizontalAdvance(QString::fromUtf8("שלום")) + 16);
    grid.Column(0).SetWordWrap(true);
    grid.G().SetRowLines(3);
    ASSERT_TRUE(grid.G().MultiLine());
    const QRect cell = grid.CurrentCell();
    const QImage before = grid.Render();

    grid.Type(QString::fromUtf8("שלום ע"));
    ASSERT_EQ(grid.G().Keyboard().IncSearchText(), "שלום ע");
    const QImage after = grid.Render();
    // The lines start DY (2) below the cell's top, one font height apart.
    const QRect first(cell.x(), cell.y() + 1, cell.width(), metrics.height());
    const QRect second = first.translated(0, metrics.height());
    {
        SCOPED_TRACE("first line");
        ExpectLineMarked(before, after, first, QString::fromUtf8("שלום"), 4, direction);
    }
    SCOPED_TRACE("second line");
    ExpectLineMarked(before, after, second, QString::fromUtf8("עולם"), 1, direction);
    EXPECT_EQ(CountColor(after, cell.adjusted(0, 1 + 2 * metrics.height(), 0, 0), Yellow), 0) << "nothing below";
}

INSTANTIATE_TEST_SUITE_P(EveryDirectionAndAlignment, PaintWrappedSearchHighlight,
                         ::testing::Combine(::testing::Values(Qt::LeftToRight, Qt::RightToLeft),
                                            ::testing::Values(taLeftJustify, taRightJustify, taCenter)));

}  // namespace
