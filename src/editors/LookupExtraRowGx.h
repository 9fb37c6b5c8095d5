#pragma once
// TSpecRowGx: the special row of a lookup list (and of a lookup column):
// a row with its own texts, colour, font and key value that stands for a
// value outside the list, such as "none".

#include "ui/FontGx.h"
#include "platform/Color.h"
#include "platform/Variant.h"

#include <QKeySequence>

#include <functional>
#include <string>
#include <vector>

class TSpecRowGx {
public:
    TSpecRowGx();

    // The row's cell texts separated by ";" (a cell may be a quoted string).
    const std::string& CellsText() const { return FCellsText; }
    void SetCellsText(const std::string& value);
    // Cell i of the row; empty beyond the last cell.
    std::string CellText(int index) const;
    int CellCount() const { return static_cast<int>(FCells.size()); }

    // Colour and font until set: the owner's (DefaultColor / DefaultFont),
    // or the row's own initial values without such an owner.
    TColor Color() const;
    void SetColor(TColor value);
    bool ColorAssigned() const { return FColorAssigned; }
    TFontGx Font() const;
    void SetFont(const TFontGx& value);
    bool FontAssigned() const { return FFontAssigned; }

    const QKeySequence& ShortCut() const { return FShortCut; }
    void SetShortCut(const QKeySequence& value);
    // The row counts as selected when the current key is not in the list.
    bool ShowIfNotInKeyList() const { return FShowIfNotInKeyList; }
    void SetShowIfNotInKeyList(bool value);
    // The key value the row stands for.
    const TVariant& Value() const { return FValue; }
    void SetValue(const TVariant& value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    // Set by the lists that show the row.
    bool Selected() const { return FSelected; }
    void SetSelected(bool value) { FSelected = value; }

    // Copies CellsText, Value, Visible, ShowIfNotInKeyList, and Color and
    // Font where assigned on the source; notifies once.
    void Assign(const TSpecRowGx& source);
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    // The owner's values the row follows until its own are set.
    std::function<TColor()> DefaultColor;
    std::function<TFontGx()> DefaultFont;
    // Fires on every change (once for a bracketed batch).
    std::function<void()> OnChanged;

    // Splits a cells text by the row's rules.
    static std::vector<std::string> ParseCells(const std::string& text);

private:
    void Changed();

    std::string FCellsText;
    std::vector<std::string> FCells;
    TColor FColor = clWindow;
    TFontGx FFont;
    bool FColorAssigned = false;
    bool FFontAssigned = false;
    QKeySequence FShortCut;
    bool FShowIfNotInKeyList = true;
    TVariant FValue = TVariant::Null();
    bool FVisible = false;
    bool FSelected = false;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
};
