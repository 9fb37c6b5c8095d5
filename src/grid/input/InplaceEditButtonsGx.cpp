#include "grid/input/InplaceEditButtonsGx.h"

#include "editors/EditButtonControlGx.h"
#include "platform/Color.h"
#include "ui/QtColor.h"

#include <QWidget>

#include <algorithm>
#include <climits>

TInplaceEditButtonsGx::TInplaceEditButtonsGx(QWidget& editor) : FEditor(editor) { Resize(1); }

void TInplaceEditButtonsGx::Resize(int count)
{
    while (Count() < count) {
        TPair pair;
        pair.Button = new TEditButtonControlGx(&FEditor);
        pair.Button->setCursor(Qt::ArrowCursor);
        pair.Button->hide();
        pair.Separator = new QWidget(&FEditor);
        pair.Separator->setAutoFillBackground(true);
        QPalette palette = pair.Separator->palette();
        palette.setColor(QPalette::Window, ToQColor(clBtnFace));
        pair.Separator->setPalette(palette);
        pair.Separator->hide();
        FPairs.push_back(pair);
        Route(Count() - 1);
    }
    for (int i = count; i < Count(); ++i) {
        FPairs[i].Button->hide();
        FPairs[i].Separator->hide();
    }
}

void TInplaceEditButtonsGx::Route(int index)
{
    TEditButtonControlGx& button = *FPairs[index].Button;
    button.OnDown = [this, index](TEditButtonControlGx&, bool top, bool& autoRepeat, bool& handled) {
        if (OnDown)
            OnDown(index, top, autoRepeat, handled);
    };
    button.OnClick = [this, index](TSpeedButton&) {
        if (OnClick)
            OnClick(index);
    };
    button.OnMouseMove = [this, index](TSpeedButton&, Qt::KeyboardModifiers, QPoint at) {
        if (OnMouseMove)
            OnMouseMove(index, Qt::NoButton, at);
    };
    button.OnMouseUp = [this, index](TSpeedButton&, Qt::MouseButton which, Qt::KeyboardModifiers, QPoint at) {
        if (OnMouseUp)
            OnMouseUp(index, which, at);
    };
}

int TInplaceEditButtonsGx::IndexOf(const QWidget* widget) const
{
    for (int i = 0; i < Count(); ++i)
        if (FPairs[i].Button == widget)
            return i;
    return -1;
}

void TInplaceEditButtonsGx::SetEnabled(bool value)
{
    for (const TPair& pair : FPairs)
        pair.Button->setEnabled(value);
}

int TInplaceEditButtonsGx::Layout(const TLayoutGx& layout)
{
    const int items = layout.Items != nullptr ? layout.Items->Count() : 0;
    Resize(items + 1);
    const int clientHeight = layout.EditorSize.height();
    auto heightFor = [clientHeight](int width) { return (width * 3 + 1) / 2 < clientHeight ? width : clientHeight; };

    // Configure every button and find the common height.
    std::vector<int> widths(Count(), 0);
    int height = INT_MAX;
    TEditButtonControlGx& first = *FPairs[0].Button;
    first.SetStyle(layout.DefaultStyle);
    first.SetGlyph(QPixmap());
    first.SetHint(QString());
    widths[0] = layout.DefaultVisible ? layout.DefaultWidth : 0;
    for (int i = 1; i < Count(); ++i) {
        const TEditButtonGx& item = *(*layout.Items)[i - 1];
        TEditButtonControlGx& button = *FPairs[i].Button;
        button.SetStyle(item.Style());
        button.SetGlyph(item.Glyph());
        button.SetNumGlyphs(item.NumGlyphs());
        button.SetHint(QString::fromStdString(item.Hint()));
        if (item.Visible())
            widths[i] = item.Width() > 0 ? item.Width() : layout.DefaultWidth;
    }
    for (int i = 0; i < Count(); ++i)
        if (widths[i] > 0)
            height = std::min(height, heightFor(widths[i]));
    FButtonHeight = height == INT_MAX ? 0 : height;

    // Place them from the outer edge inwards: the last item first.
    int used = 0;
    for (int i = Count() - 1; i >= 0; --i) {
        TEditButtonControlGx& button = *FPairs[i].Button;
        QWidget& separator = *FPairs[i].Separator;
        const bool visible = widths[i] > 0;
        button.SetFlat(layout.Flat);
        button.setVisible(visible);
        separator.setVisible(visible && layout.Flat);
        if (!visible)
            continue;
        const int outer = layout.RightToLeft ? used : layout.EditorSize.width() - used - widths[i];
        button.setGeometry(outer, 0, widths[i], FButtonHeight);
        used += widths[i];
        if (layout.Flat) {
            const int line = layout.RightToLeft ? used : layout.EditorSize.width() - used - 1;
            separator.setGeometry(line, 0, 1, FButtonHeight);
            used += 1;
        }
    }
    FTotalWidth = used;
    return used;
}
