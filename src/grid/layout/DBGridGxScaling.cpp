// Scaling the grid by m/d: its own fonts, the fonts the columns, titles and
// footers were given, the column widths (as running sums, so rounding does
// not add up over many columns), and the widget's size.

#include "grid/DBGridGx.h"
#include "grid/DBGridGxPrivate.h"
#include "grid/layout/MulDivGx.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

int ScaledInt(int value, int m, int d) { return static_cast<int>(MulDivGx(value, m, d)); }

// The font with its size scaled; the size is kept in the unit the font
// was given in (points or pixels).
TFontGx ScaledFont(TFontGx font, int sourceSize, bool pointSize, int m, int d)
{
    const int size = std::max(1, ScaledInt(sourceSize, m, d));
    if (pointSize)
        font.setPointSize(size);
    else
        font.setPixelSize(size);
    return font;
}

TFontGx ScaledFont(const TFontGx& font, int m, int d)
{
    const bool points = font.pointSize() > 0;
    return ScaledFont(font, points ? font.pointSize() : font.pixelSize(), points, m, d);
}

void ScaleFooterFont(TColumnFooterGx& footer, int m, int d)
{
    if (footer.AssignedValues().Contains(cvFooterFont))
        footer.SetFont(ScaledFont(footer.Font(), m, d));
}

}  // namespace

void TCustomDBGridGx::ChangeScale(int m, int d)
{
    // Nothing to do for 1:1, and no meaning for a ratio that is not positive.
    if (m == d || m <= 0 || d <= 0)
        return;
    TLayoutLockGx lock(this);

    if (!D->FParentFont) {
        // The title font takes the grid font's size scaled (the grid font
        // itself is scaled below); the footer font scales its own size.
        const bool points = D->FFont.pointSize() > 0;
        TFontGx title = ScaledFont(D->FTitleFont, points ? D->FFont.pointSize() : D->FFont.pixelSize(), points, m, d);
        TFontGx footer = ScaledFont(D->FFooterFont, m, d);
        SetTitleFont(title);
        SetFooterFont(footer);
    }

    {
        TColumnsUpdateGuardGx update(D->FColumns.get());
        std::vector<int> widths;
        widths.reserve(static_cast<size_t>(D->FColumns->Count()));
        for (const auto& column : *D->FColumns)
            widths.push_back(column->Width());

        for (const auto& column : *D->FColumns) {
            if (column->AssignedValues().Contains(cvFont))
                column->SetFont(ScaledFont(column->Font(), m, d));
            if (column->AssignedValues().Contains(cvTitleFont))
                column->Title()->SetFont(ScaledFont(column->Title()->Font(), m, d));
            ScaleFooterFont(*column->Footer(), m, d);
            TColumnFootersGx& footers = *column->Footers();
            for (int i = 0; i < footers.Count(); ++i)
                ScaleFooterFont(*footers[i], m, d);
        }

        // Each column gets the scaled running sum less what the columns
        // before it got.
        int64_t unscaledSum = 0;
        int64_t scaledBefore = 0;
        for (int i = 0; i < D->FColumns->Count(); ++i) {
            unscaledSum += widths[static_cast<size_t>(i)];
            const int64_t scaledSum = MulDivGx(unscaledSum, m, d);
            (*D->FColumns)[i]->SetWidth(static_cast<int>(scaledSum - scaledBefore));
            scaledBefore = scaledSum;
        }
    }

    // What scaling does to any widget: its own font (not one it follows
    // from its parent) and its size.
    if (!D->FParentFont)
        SetFont(ScaledFont(D->FFont, m, d));
    const QRect bounds = geometry();
    setGeometry(ScaledInt(bounds.x(), m, d), ScaledInt(bounds.y(), m, d), ScaledInt(bounds.width(), m, d),
                ScaledInt(bounds.height(), m, d));
}
