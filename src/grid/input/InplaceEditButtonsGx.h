#pragma once
// The row of edit buttons at the right edge of the grid's in-place editor:
// element 0 is the default button of the cell's edit style, element i the
// column's EditButtons item i - 1.  Each button has a 1-pixel separator to
// its left, shown only on a flat grid.  The buttons are placed from the
// right edge leftwards, last item first and the default button last, so
// that the default button stands next to the text (mirrored right to left).

#include "editors/EditButtonGx.h"

#include <QPoint>
#include <QSize>

#include <functional>
#include <vector>

class TEditButtonControlGx;
class QWidget;

class TInplaceEditButtonsGx {
public:
    using TDownHandler = std::function<void(int index, bool topButton, bool& autoRepeat, bool& handled)>;
    using TClickHandler = std::function<void(int index)>;
    using TMouseHandler = std::function<void(int index, Qt::MouseButton button, QPoint position)>;

    // The buttons are made as children of editor.
    explicit TInplaceEditButtonsGx(QWidget& editor);

    // What the layout takes from the editor, the column and the grid.
    struct TLayoutGx {
        QSize EditorSize;
        bool DefaultVisible = false;
        TEditButtonStyleGx DefaultStyle = ebsDropDownGx;
        int DefaultWidth = 0;      // the width of a button without a width of its own
        bool Flat = false;
        bool RightToLeft = false;
        const TEditButtonsGx* Items = nullptr;   // the column's, or none
    };
    // Re-configures and places every button; returns the width they take.
    int Layout(const TLayoutGx& layout);

    int Count() const { return static_cast<int>(FPairs.size()); }
    TEditButtonControlGx& Button(int index) const { return *FPairs[index].Button; }
    QWidget& Separator(int index) const { return *FPairs[index].Separator; }
    // Width and height of the strip the last layout reserved.
    int TotalWidth() const { return FTotalWidth; }
    int ButtonHeight() const { return FButtonHeight; }
    // The index of a button control of this row, -1 for any other widget.
    int IndexOf(const QWidget* widget) const;
    void SetEnabled(bool value);

    TDownHandler OnDown;
    TClickHandler OnClick;
    TMouseHandler OnMouseMove;   // button is Qt::NoButton
    TMouseHandler OnMouseUp;

private:
    struct TPair {
        TEditButtonControlGx* Button = nullptr;
        QWidget* Separator = nullptr;
    };
    void Resize(int count);
    void Route(int index);

    QWidget& FEditor;
    std::vector<TPair> FPairs;
    int FTotalWidth = 0;
    int FButtonHeight = 0;
};
