#pragma once
// Frame controls in the classic look: push buttons, check boxes, the combo
// box arrow and the four scroll arrows, drawn with the edges of Draw3D.h so
// that they look the same everywhere.

#include <QRect>

class QPainter;

// Control types.
constexpr unsigned DFC_SCROLL = 3;
constexpr unsigned DFC_BUTTON = 4;

// DFC_BUTTON parts.
constexpr unsigned DFCS_BUTTONCHECK = 0x0000;
constexpr unsigned DFCS_BUTTON3STATE = 0x0008;   // with DFCS_CHECKED: the grayed box
constexpr unsigned DFCS_BUTTONPUSH = 0x0010;
// DFC_SCROLL parts.
constexpr unsigned DFCS_SCROLLUP = 0x0000;
constexpr unsigned DFCS_SCROLLDOWN = 0x0001;
constexpr unsigned DFCS_SCROLLLEFT = 0x0002;
constexpr unsigned DFCS_SCROLLRIGHT = 0x0003;
constexpr unsigned DFCS_SCROLLCOMBOBOX = 0x0005;
// States.
constexpr unsigned DFCS_INACTIVE = 0x0100;   // disabled: embossed arrows, grey check marks
constexpr unsigned DFCS_PUSHED = 0x0200;     // held down: flat frame, content 1 pixel right and down
constexpr unsigned DFCS_CHECKED = 0x0400;
constexpr unsigned DFCS_FLAT = 0x4000;       // one shadow ring instead of the 3D edge
constexpr unsigned DFCS_MONO = 0x8000;

// Draws the control into rect; false for a type or part it does not know.
// Check boxes take the largest centred square of rect.
bool DrawFrameControl(QPainter& painter, const QRect& rect, unsigned type, unsigned state);

// Draws only the solid arrow triangle of a scroll part (DFCS_SCROLL...)
// centred in rect, in the button-text colour, or embossed when inactive.
void DrawScrollArrowGlyph(QPainter& painter, const QRect& rect, unsigned part, bool enabled);
