#pragma once
// TFontGx: a font as the grid's columns, titles and footers keep it: a
// QFont together with the colour its text is drawn in.

#include "platform/Color.h"

#include <QFont>

class TFontGx : public QFont {
public:
    TFontGx() = default;
    explicit TFontGx(const QFont& font, TColor color = clWindowText) : QFont(font), FColor(color) {}

    TColor Color() const { return FColor; }
    void SetColor(TColor color) { FColor = color; }

    bool operator==(const TFontGx& other) const
    {
        return FColor == other.FColor && QFont::operator==(other);
    }
    bool operator!=(const TFontGx& other) const { return !(*this == other); }

private:
    TColor FColor = clWindowText;
};
