#pragma once
// Painting of edit button faces and check boxes, for the button controls
// and for grid cells that show buttons or check boxes without an editor.
// Faces go through the shared bitmap cache (ButtonsBitmapCache.h) unless
// its global switch is off.

#include "editors/EditButtonGx.h"
#include "platform/Color.h"

#include <QPixmap>
#include <QRect>

#include <cstdint>

class QPainter;

// The face kinds; the numbers are part of the cache keys.
enum TButtonFaceKindGx : uint8_t {
    bfkDropDownGx = 0,   // combo box arrow
    bfkEllipsisGx = 1,   // three dots
    bfkUpDownGx = 2,     // one half of an up-down pair (a whole pair in PaintButtonFace)
    bfkCheckBoxGx = 3,
    bfkPlusGx = 4,
    bfkMinusGx = 5,
};

// Which part of a button is held down; for single faces any part but none
// means pressed.
enum TEditButtonPartGx : uint8_t { ebpNoneGx, ebpTopGx, ebpBottomGx };

// The state of a painted check box (in the order of the grid's check box
// states, so one converts to the other with a cast).
enum TCheckPaintStateGx : uint8_t { cpsUncheckedGx, cpsCheckedGx, cpsGrayedGx };

// Which half of an up-down pair a face is.
enum TUpDownHalfGx : uint8_t { udhUpGx, udhDownGx };

// Draws one face straight onto the painter (no cache): kinds 0, 1, 2
// (the arrow of half), 4 and 5.
void DrawEditButtonFace(QPainter& painter, const QRect& rect, TButtonFaceKindGx kind, bool pressed, bool active,
                        bool flat, bool enabled, TUpDownHalfGx half = udhUpGx);

// Draws a check box straight onto the painter in the largest centred square
// of rect.  A flat box shows a one-pixel shadow frame inside a ring of the
// background colour instead of the 3D edge.
void DrawCheckBox(QPainter& painter, const QRect& rect, TCheckPaintStateGx state, bool flat, bool enabled,
                  TColor background);

// Paints a button face of any kind into rect over the background colour:
// an up-down pair for bfkUpDownGx (pressedPart tells which half is held),
// a check box for bfkCheckBoxGx (use PaintCheckBoxFace), one face else.
void PaintButtonFace(QPainter& painter, const QRect& rect, TColor background, bool enabled, bool active, bool flat,
                     TEditButtonPartGx pressedPart, TButtonFaceKindGx kind);
// Paints a check box through the cache.
void PaintCheckBoxFace(QPainter& painter, const QRect& rect, TColor background, TCheckPaintStateGx state, bool flat,
                       bool enabled = true);

// The face kind a button style is painted as (ebsGlyphGx has none of its
// own and gives the drop-down kind).
TButtonFaceKindGx FaceKindOfStyle(TEditButtonStyleGx style);

// Paints an edit button of any style into rect: a glyph button as a speed
// button with its picture (a flat one clipped one pixel inside and then
// given a thin edge when active, else a frame of the background colour);
// every other style as its face.  pressedPart is the held part (none when
// the button is up).
void PaintEditButton(QPainter& painter, const QRect& rect, TColor background, TEditButtonStyleGx style,
                     const QPixmap& glyph, int numGlyphs, bool enabled, bool active, bool flat,
                     TEditButtonPartGx pressedPart);

// The width of a flat edit button: the smaller of the vertical scroll bar
// width and two thirds of the default font's height, made odd; computed
// once.
int FlatEditButtonWidth();
// The default width of an edit button: the flat width for flat buttons,
// the vertical scroll bar width otherwise.
int DefaultEditButtonWidth(bool flat);
