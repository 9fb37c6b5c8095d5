#pragma once
// The look every form of the program shares: the font "宋体" with 14-pixel
// characters and the button-face background, at fixed pixel sizes.

#include "ui/QtColor.h"

#include <QFont>
#include <QSize>

class QWidget;

// The family the forms ask for.  It is not installed on this platform, so
// InstallFontSubstitutes maps it to a Song-style CJK font set up with the
// program (AR PL UMing), falling back to whatever CJK font is present.
inline constexpr const char* FormFontFamily = "宋体";
inline constexpr int FormFontPixelSize = 14;

void InstallFontSubstitutes();

// "宋体", 14-pixel characters, no style.
QFont FormFont();

// The forms' sizes are outer sizes of a sizeable frame with a 4-pixel
// border on every side and a 19-pixel caption; this gives the client area
// inside such a frame (the menu bar, if any, included).
inline constexpr int FrameBorderWidth = 4;
inline constexpr int FrameCaptionHeight = 19;
QSize ClientSizeOfFrame(int frameWidth, int frameHeight);

// Applies the form font, clBtnFace as background and clWindowText as text
// colour to a top-level form.
void ApplyFormStyle(QWidget& form);
