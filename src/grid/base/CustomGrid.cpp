// The base grid's settings, focus tracking and default hooks.  The cell
// model lives in CustomGridCells.cpp; input, painting, scrolling and editor
// hosting live in their own files.

#include "grid/base/CustomGrid.h"

#include "grid/base/CustomGridMouse.h"
#include "grid/base/CustomGridScrollBars.h"
#include "grid/base/InplaceEdit.h"
#include "ui/ExceptionReport.h"

#include <QApplication>
#include <QScrollBar>

TCustomGrid::TCustomGrid(QWidget* parent)
    : TCustomGridCells(parent),
      FMouse(std::make_unique<TCustomGridMouse>(*this)),
      FScrollBarSet(std::make_unique<TCustomGridScrollBars>(*this)) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        RunHandler([&] { OnFocusChanged(old, now); });
    });
    SetBorderStyle(bsSingle);
    UpdateScrollBars();
}

TCustomGrid::~TCustomGrid() {
    // The editor is a child widget; it must not call back into a grid being
    // destroyed.
    disconnect(qApp, nullptr, this, nullptr);
}

void TCustomGrid::TopLeftChanged() {
    if (FEditorMode && FInplaceEdit) FInplaceEdit->UpdateLoc(CellRect(FCurrent.X, FCurrent.Y));
    TCustomGridCells::TopLeftChanged();
}

// ---- Settings ------------------------------------------------------------

void TCustomGrid::SetOptions(TGridOptions value) {
    if (value.Contains(goRowSelect)) value.Exclude(goAlwaysShowEditor);
    if (value == FOptions) return;
    const TGridOptions old = FOptions;
    FOptions = value;
    if (value.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    else if (old.Contains(goRowSelect)) FAnchor = FCurrent;
    if (value.Contains(goAlwaysShowEditor)) {
        ShowEditor();
    } else if (FEditorMode && (!value.Contains(goEditing) || value.Contains(goRowSelect) ||
                               old.Contains(goAlwaysShowEditor))) {
        HideEditor();
    }
    InvalidateGrid();
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGrid::SetBorderStyle(TGridBorderStyle value) {
    FBorderStyle = value;
    if (value == bsSingle) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
}

void TCustomGrid::SetColor(TColor value) {
    FColor = value;
    InvalidateGrid();
}

void TCustomGrid::SetFixedColor(TColor value) {
    FFixedColor = value;
    InvalidateGrid();
}

// ---- Default hooks -----------------------------------------------------------

void TCustomGrid::Resize() {
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGrid::CreateWnd() {
    ClampInView(FCurrent);
    UpdateScrollBars();
    UpdateEdit();
}

void TCustomGrid::DblClick() {
    if (OnDblClick) OnDblClick();
}

void TCustomGrid::DoEnter() {
    InvalidateRect(Selection());
    UpdateEdit();
    if (OnEnter) OnEnter();
}

void TCustomGrid::DoExit() {
    InvalidateRect(Selection());
    if (OnExit) OnExit();
}

void TCustomGrid::OnFocusChanged(QWidget*, QWidget*) {
    const bool inside = IsActiveControl();
    if (inside == FFocusInside) return;
    FFocusInside = inside;
    if (inside) DoEnter();
    else DoExit();
}

bool TCustomGrid::viewportEvent(QEvent* e) {
    const bool result = QAbstractScrollArea::viewportEvent(e);
    if (e->type() == QEvent::Resize) Resize();
    return result;
}
