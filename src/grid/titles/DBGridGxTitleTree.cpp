// Building the grid's title tree from its columns and measuring its bands
// in the title fonts.

#include "grid/titles/DBGridGxTitleTree.h"

#include "grid/DBGridGx.h"
#include "grid/paint/GridTextWriter.h"
#include "ui/TextDraw.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <memory>
#include <optional>

namespace {

// Room a sort marker takes from a leaf's caption.
constexpr int SortMarkerIndent = 16;

// Text heights measured the way the title painter lays the text out: in
// the column's title font for a leaf, the grid's title font above it.
class TGridTitleMeasure : public THeadTreeMeasure {
public:
    explicit TGridTitleMeasure(TCustomDBGridGx& grid) : FGrid(grid) {}

    int TextHeight(const THeadTreeNode& node, const std::string& text, int width) override
    {
        const QFont font = FontOf(node);
        const QString shown = QString::fromStdString(text);
        const QFontMetrics& metrics = MetricsOf(font);
        // Most captions are one line that fits: one line high.
        if (!shown.contains(QLatin1Char('\n')) && !shown.contains(QLatin1Char('\r')) &&
            !shown.contains(QLatin1Char('\t')) && TextWidth(metrics, shown) <= width)
            return metrics.height();
        QPainter& canvas = Canvas();
        canvas.setFont(font);
        QRect rect(0, 0, width, 0);
        return DrawFormattedText(canvas, shown, rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }

    int VerticalHeight(const THeadTreeNode& leaf) override
    {
        const TColumnGx& column = *FGrid.Columns()[leaf.ColumnIndex];
        if (column.Title()->Orientation() != tohVertical)
            return -1;
        QPainter& canvas = Canvas();
        canvas.setFont(column.Title()->Font());
        return WriteVerticalText(canvas, TCellTextGx{}, QString::fromStdString(leaf.Text), true) + 6;
    }

private:
    QFont FontOf(const THeadTreeNode& node) const
    {
        if (node.IsLeaf())
            return FGrid.Columns()[node.ColumnIndex]->Title()->Font();
        return FGrid.TitleFont();
    }
    // The metrics of the font measured last: the columns mostly share one.
    const QFontMetrics& MetricsOf(const QFont& font)
    {
        if (!FMetrics || font != FMetricsFont) {
            FMetricsFont = font;
            FMetrics.emplace(font);
        }
        return *FMetrics;
    }
    // A canvas only for the texts that need the full layout.
    QPainter& Canvas()
    {
        if (!FCanvas) {
            FSurface = QImage(1, 1, QImage::Format_RGB32);
            FCanvas = std::make_unique<QPainter>(&FSurface);
        }
        return *FCanvas;
    }

    TCustomDBGridGx& FGrid;
    QFont FMetricsFont;
    std::optional<QFontMetrics> FMetrics;
    QImage FSurface;
    std::unique_ptr<QPainter> FCanvas;
};

}  // namespace

const THeadTreeNode* TDBGridGxTitleTree::Leaf(int dataCol) const
{
    const auto& leaves = FTree.Leaves();
    if (dataCol < 0 || dataCol >= static_cast<int>(leaves.size()))
        return nullptr;
    return leaves[static_cast<size_t>(dataCol)];
}

int TDBGridGxTitleTree::LeafTop(int dataCol, const QRect& cell) const
{
    const THeadTreeNode* leaf = Leaf(dataCol);
    if (!leaf)
        return cell.top();
    // Bands are measured with 3 pixels of frame the title row does not have.
    return std::max(cell.top(), cell.top() + cell.height() - leaf->Height + 3);
}

bool TDBGridGxTitleTree::ScrollStateChanged(bool scrolled)
{
    const bool changed = scrolled != FPaintedScrolled;
    FPaintedScrolled = scrolled;
    return changed;
}

void TDBGridGxTitleTree::ColumnsLaidOut(int& titleRowHeight)
{
    const bool colLines = FGrid.Options().Contains(dgColLines);
    std::vector<THeadLeafSource> sources;
    sources.reserve(static_cast<size_t>(FGrid.Columns().Count()));
    for (const auto& column : FGrid.Columns()) {
        THeadLeafSource source;
        source.Caption = column->Title()->Caption();
        source.Width = column->Visible() ? column->Width() : (colLines ? -1 : 0);
        source.WidthIndent = column->Title()->SortMarker() != smNoneGx ? SortMarkerIndent : 0;
        source.VLineWidth = colLines ? 1 : 0;
        sources.push_back(std::move(source));
    }
    FTree.Build(sources, titleRowHeight);
    TGridTitleMeasure measure(FGrid);
    const int height = FTree.ComputeHeights(measure, FGrid.VTitleMargin());
    titleRowHeight = std::max(0, height - (FGrid.OptionsGx().Contains(dghFixed3D) ? 1 : 3));
}
