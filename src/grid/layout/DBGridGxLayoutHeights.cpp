// The heights the layout pass derives from the fonts: the data rows' height
// (RowHeight, RowLines, fitting to whole text lines), the multi-line flag,
// the edit-button size and the title row's height.

#include "grid/DBGridGx.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/layout/DBGridGxLayoutPass.h"
#include "grid/titles/DBGridGxTitleTree.h"

#include "editors/ButtonPainter.h"
#include "ui/SystemMetrics.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <algorithm>

namespace {

// What the layout needs to know of a font's text line.
struct TLineMetrics {
    int TextHeight = 0;        // one line of text ("Wg"), internal leading included
    int ExternalLeading = 0;   // the gap the font asks for between lines
    int InternalLeading = 0;   // the part of TextHeight above the characters' em
};

TLineMetrics MeasureLine(const QFont& font)
{
    // Metrics of the font on the screen: the same whether or not the grid
    // is shown yet.
    QFontMetrics metrics(font);
    TLineMetrics line;
    line.TextHeight = metrics.height();
    line.ExternalLeading = std::max(0, metrics.leading());
    line.InternalLeading = std::max(0, line.TextHeight - QFontInfo(font).pixelSize());
    return line;
}

}  // namespace

void TDBGridGxLayoutPass::LayoutRowHeight()
{
    const TLineMetrics line = MeasureLine(D.FFont);
    const int margin = (D.FFlat ? 1 : 3) + (D.FOptions.Contains(dgRowLines) ? FGrid.GridLineWidth() : 0);
    int height;
    if (D.FRowHeight > 0 || D.FRowLines > 0)
        height = D.FRowHeight + (line.TextHeight + line.ExternalLeading) * D.FRowLines;
    else
        height = margin + line.TextHeight;

    if (D.FOptionsGx.Contains(dghFitRowHeightToText) && line.TextHeight > 0) {
        // Whole text lines only: a part line of at most half a line is
        // dropped, a larger one becomes a whole line.
        const int text = std::max(0, height - margin);
        const int whole = text / line.TextHeight;
        const int rest = text % line.TextHeight;
        const int lines = (rest <= line.TextHeight / 2 && whole >= 1) ? whole : whole + 1;
        height = margin + lines * line.TextHeight;
        D.FRowLines = lines;
        D.FRowHeight = margin;
    }
    FGrid.SetDefaultRowHeight(height);
}

void TDBGridGxLayoutPass::LayoutCellMetrics()
{
    const TLineMetrics line = MeasureLine(D.FFont);
    const int rowHeight = FGrid.DefaultRowHeight();
    // Room for more than one text line with its leading and the margins:
    // only then does cell text wrap.
    D.FMultiLine = line.TextHeight + line.InternalLeading + line.ExternalLeading + FGrid.LineMargin() < rowHeight;

    D.FEditButtonWidth = D.FFlat ? FlatEditButtonWidth() + 1 : VerticalScrollBarWidth();
    // A row no higher than one and a half button widths gives the button
    // its whole height; in higher rows the button is square.
    D.FEditButtonHeight = 3 * D.FEditButtonWidth >= 2 * rowHeight ? rowHeight : D.FEditButtonWidth;
}

namespace {

// The line metrics of the title font with the highest text line: of the
// columns' title fonts, or of the grid's TitleFont without columns.
TLineMetrics TallestTitleLine(const TDBGridColumnsGx& columns, const TFontGx& titleFont)
{
    if (columns.Count() == 0)
        return MeasureLine(titleFont);
    TLineMetrics tallest;
    TFontGx measured;
    bool any = false;
    for (const auto& column : columns) {
        TFontGx font = column->Title()->Font();
        // Most columns share one title font: measure each font once in a row.
        if (any && font == measured)
            continue;
        TLineMetrics line = MeasureLine(font);
        if (!any || line.TextHeight > tallest.TextHeight)
            tallest = line;
        measured = font;
        any = true;
    }
    return tallest;
}

}  // namespace

void TDBGridGxLayoutPass::LayoutTitleHeight()
{
    D.FTitleRowHeight = 0;
    if (!D.FOptions.Contains(dgTitles))
        return;
    D.FTitleRowHeight = TallestTitleLine(*D.FColumns, D.FTitleFont).TextHeight + FGrid.LineMargin();
}

void TDBGridGxLayoutPass::LayoutTitleLines()
{
    const bool titles = D.FOptions.Contains(dgTitles);
    if (titles && (D.FTitleHeight != 0 || D.FTitleLines != 0)) {
        const TLineMetrics line = TallestTitleLine(*D.FColumns, D.FTitleFont);
        const int height = D.FTitleLines * line.TextHeight + line.ExternalLeading + D.FTitleHeight + 2
                           + (D.FOptions.Contains(dgRowLines) ? 1 : 0);
        D.FTitleRowHeight = std::max(0, height);
    }
    // Multi-level titles (UseMultiTitle) take their height from the title
    // tree built from the columns' captions: the tree's height less 1 with
    // dghFixed3D, else less 3.  The tree is built without a title row too,
    // for the exports that lay titles out by it.
    if (D.FUseMultiTitle) {
        int height = D.FTitleRowHeight;
        D.FTitleTree->ColumnsLaidOut(height);
        if (titles)
            D.FTitleRowHeight = height;
    }
    if (titles)
        FGrid.SetRowHeights(0, D.FTitleRowHeight);
}
