#pragma once
// Classic 3D drawing on a QPainter: edges in the raised / sunken inner and
// outer styles, one-pixel frames, fills and the dotted focus rectangle.
// Colours come from the fixed classic scheme of platform/Color.h, so the
// look is the same on every desktop style and in headless tests.
//
// Rectangles are pixel areas: a QRect covers the pixels from its left() to
// its right() and from its top() to its bottom(), both inclusive.

#include "platform/Color.h"

#include <QRect>

class QPainter;

// Edge kinds: an outer and an inner ring, each raised or sunken.
constexpr unsigned BDR_RAISEDOUTER = 0x0001;
constexpr unsigned BDR_SUNKENOUTER = 0x0002;
constexpr unsigned BDR_RAISEDINNER = 0x0004;
constexpr unsigned BDR_SUNKENINNER = 0x0008;
constexpr unsigned BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
constexpr unsigned BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER;
constexpr unsigned BDR_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned BDR_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;

// Edge flags: the sides drawn and how.
constexpr unsigned BF_LEFT = 0x0001;
constexpr unsigned BF_TOP = 0x0002;
constexpr unsigned BF_RIGHT = 0x0004;
constexpr unsigned BF_BOTTOM = 0x0008;
constexpr unsigned BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr unsigned BF_TOPRIGHT = BF_TOP | BF_RIGHT;
constexpr unsigned BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT;
constexpr unsigned BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr unsigned BF_MIDDLE = 0x0800;   // fill the inside with the button face
constexpr unsigned BF_SOFT = 0x1000;     // the softer outer ring of push buttons
constexpr unsigned BF_ADJUST = 0x2000;   // shrink the rectangle to the inside
constexpr unsigned BF_FLAT = 0x4000;     // one shadow ring instead of 3D
constexpr unsigned BF_MONO = 0x8000;     // one window-frame ring

// Draws the edge on the sides in flags.  Each ring takes one pixel on every
// side drawn; the top and left lines come first, then the bottom and right
// lines over the corners.  With BF_ADJUST rect becomes the inside.
void DrawEdge(QPainter& painter, QRect& rect, unsigned edge, unsigned flags);
// The same without changing the caller's rectangle.
void DrawEdge(QPainter& painter, const QRect& rect, unsigned edge, unsigned flags);

// Fills the rectangle with a colour (system colours resolve; clNone draws
// nothing).
void FillRect(QPainter& painter, const QRect& rect, TColor color);
// A one-pixel ring just inside the rectangle.
void FrameRect(QPainter& painter, const QRect& rect, TColor color);

// The dotted focus rectangle: every other pixel of its one-pixel ring is
// inverted, starting with the top-left corner, so drawing it twice restores
// the picture.  Where the paint device cannot invert, the dots are black.
void DrawFocusRect(QPainter& painter, const QRect& rect);
