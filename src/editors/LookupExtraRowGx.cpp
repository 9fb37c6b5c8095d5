#include "editors/LookupExtraRowGx.h"

namespace {
bool IsControlChar(char ch) { return ch >= 1 && ch <= 31; }
}  // namespace

TSpecRowGx::TSpecRowGx() : FShortCut(Qt::ALT | Qt::Key_Delete) {}

std::vector<std::string> TSpecRowGx::ParseCells(const std::string& text)
{
    std::vector<std::string> cells;
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && IsControlChar(text[i]))
        ++i;
    while (i < n) {
        std::string cell;
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += text[i++];
            }
        } else {
            while (i < n && text[i] != ';' && !IsControlChar(text[i]))
                cell += text[i++];
        }
        cells.push_back(std::move(cell));
        while (i < n && IsControlChar(text[i]))
            ++i;
        if (i < n && text[i] == ';') {
            ++i;
            while (i < n && IsControlChar(text[i]))
                ++i;
        }
    }
    return cells;
}

void TSpecRowGx::SetCellsText(const std::string& value)
{
    if (value == FCellsText)
        return;
    FCellsText = value;
    FCells = ParseCells(value);
    Changed();
}

std::string TSpecRowGx::CellText(int index) const
{
    if (index < 0 || index >= CellCount())
        return std::string();
    return FCells[static_cast<size_t>(index)];
}

TColor TSpecRowGx::Color() const
{
    if (!FColorAssigned && DefaultColor)
        return DefaultColor();
    return FColor;
}

void TSpecRowGx::SetColor(TColor value)
{
    FColor = value;
    FColorAssigned = true;
    Changed();
}

TFontGx TSpecRowGx::Font() const
{
    if (!FFontAssigned && DefaultFont)
        return DefaultFont();
    return FFont;
}

void TSpecRowGx::SetFont(const TFontGx& value)
{
    FFont = value;
    FFontAssigned = true;
    Changed();
}

void TSpecRowGx::SetShortCut(const QKeySequence& value)
{
    if (value == FShortCut)
        return;
    FShortCut = value;
    Changed();
}

void TSpecRowGx::SetShowIfNotInKeyList(bool value)
{
    if (value == FShowIfNotInKeyList)
        return;
    FShowIfNotInKeyList = value;
    Changed();
}

void TSpecRowGx::SetValue(const TVariant& value)
{
    FValue = value;
    Changed();
}

void TSpecRowGx::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    Changed();
}

void TSpecRowGx::Assign(const TSpecRowGx& source)
{
    if (&source == this)
        return;
    BeginUpdate();
    SetCellsText(source.FCellsText);
    if (source.FColorAssigned)
        SetColor(source.FColor);
    if (source.FFontAssigned)
        SetFont(source.FFont);
    SetValue(source.FValue);
    SetVisible(source.FVisible);
    SetShowIfNotInKeyList(source.FShowIfNotInKeyList);
    EndUpdate();
}

void TSpecRowGx::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        Changed();
    }
}

void TSpecRowGx::Changed()
{
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (OnChanged)
        OnChanged();
}
