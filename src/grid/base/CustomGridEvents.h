#pragma once
// The events of the base grid that a program sets: clicks, focus, keys,
// mouse, cell selection, cell drawing and scrolling of the view.

#include "grid/base/GridTypes.h"

#include <QRect>
#include <Qt>
#include <QString>

#include <functional>

struct TCustomGridEvents {
    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnTopLeftChanged;
    std::function<void()> OnEnter;
    std::function<void()> OnExit;
    std::function<void(int& key, TShiftState shift)> OnKeyDown;
    std::function<void(int& key, TShiftState shift)> OnKeyUp;
    std::function<void(QString& key)> OnKeyPress;
    std::function<void(Qt::MouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(TShiftState shift, int x, int y)> OnMouseMove;
    std::function<void(Qt::MouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
    std::function<void(int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(int col, int row, const QRect& rect, TGridDrawState state)> OnDrawCell;
};
