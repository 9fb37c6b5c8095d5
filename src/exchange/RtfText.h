#pragma once
// The pieces of an RTF document that do not depend on a grid: 7-bit text
// with escapes, and the colour and font tables in order of first use.

#include "platform/Color.h"

#include <QFont>
#include <QString>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Appends UTF-8 text as RTF text: "\", "{" and "}" preceded by a
// backslash, every character above 127 as \uN? with N the signed 16-bit
// UTF-16 unit (two for a character beyond the basic plane), all other
// bytes, line breaks included, unchanged.  A byte that is not part of valid
// UTF-8 is written as the character U+FFFD.
void AppendRtfText(std::string& out, std::string_view utf8);

// Colours by their RGB value, numbered from 0 in order of first use.
class TRtfColorTableGx {
public:
    int Number(TColor color);
    // "{\colortbl\red0\green0\blue0;...}" without a line break.
    std::string Text() const;
    int Count() const { return static_cast<int>(FColors.size()); }

private:
    std::vector<TColor> FColors;
    std::unordered_map<TColor, int> FNumbers;
};

// Font names numbered from 0 in order of first use; names that differ only
// in letter case share a number.
class TRtfFontTableGx {
public:
    int Number(const QFont& font);
    int Number(const QString& family);
    // "{\fonttbl\f0\fnil Name;...}" without a line break.
    std::string Text() const;
    int Count() const { return static_cast<int>(FNames.size()); }

private:
    std::vector<QString> FNames;
    QString FLastFamily;
    int FLastNumber = -1;
};
