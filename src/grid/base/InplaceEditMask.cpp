#include "grid/base/InplaceEditMask.h"

#include <QLineEdit>

namespace {

// Mask positions count characters; QLineEdit counts UTF-16 units.
int ToPosition(const QString& text, int unit)
{
    return static_cast<int>(QStringView(text).left(std::clamp(unit, 0, static_cast<int>(text.size()))).toUcs4().size());
}

int ToUnit(const std::u32string& text, int position)
{
    int units = 0;
    for (int i = 0; i < position && i < static_cast<int>(text.size()); ++i)
        units += text[static_cast<size_t>(i)] > 0xFFFF ? 2 : 1;
    return units;
}

QString FromUtf32(const std::u32string& text)
{
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void TInplaceEditMask::SetMask(const QString& mask) { FMask = TEditMask(mask.toStdString()); }

std::u32string TInplaceEditMask::Shown() const
{
    const QList<uint> units = FEdit.text().toUcs4();
    return std::u32string(units.begin(), units.end());
}

void TInplaceEditMask::Show(const std::u32string& text, int caret)
{
    FEdit.setText(FromUtf32(text));
    FEdit.setCursorPosition(ToUnit(text, caret));
}

void TInplaceEditMask::SetValue(const QString& value)
{
    const QList<uint> units = value.toUcs4();
    const std::u32string shown = FMask.EditTextFor(std::u32string(units.begin(), units.end()));
    FEdit.setText(FromUtf32(shown));
}

QString TInplaceEditMask::Value() const { return FromUtf32(FMask.ValueOf(Shown())); }

int TInplaceEditMask::InvalidPosition() const { return FMask.FirstInvalidPosition(Shown()); }

void TInplaceEditMask::Selection(int& from, int& to) const
{
    const QString text = FEdit.text();
    if (FEdit.hasSelectedText()) {
        from = ToPosition(text, FEdit.selectionStart());
        to = ToPosition(text, FEdit.selectionEnd());
    } else {
        from = to = ToPosition(text, FEdit.cursorPosition());
    }
}

bool TInplaceEditMask::TypeText(const QString& text)
{
    std::u32string shown = Shown();
    int from = 0;
    int to = 0;
    Selection(from, to);
    if (from != to)
        FMask.Erase(shown, from, to);
    int caret = from;
    bool changed = from != to;
    for (char32_t c : text.toUcs4())
        changed = FMask.TypeChar(shown, caret, c) || changed;
    if (changed)
        Show(shown, caret);
    return changed;
}

bool TInplaceEditMask::Backspace()
{
    std::u32string shown = Shown();
    int from = 0;
    int to = 0;
    Selection(from, to);
    if (from != to) {
        FMask.Erase(shown, from, to);
        Show(shown, from);
        return true;
    }
    if (!FMask.EraseBefore(shown, from))
        return false;
    Show(shown, from);
    return true;
}

bool TInplaceEditMask::Delete()
{
    std::u32string shown = Shown();
    int from = 0;
    int to = 0;
    Selection(from, to);
    if (from == to) {
        from = FMask.NextInputPosition(from);
        to = from + 1;
        if (from >= FMask.Length())
            return false;
    }
    FMask.Erase(shown, from, to);
    Show(shown, from);
    return true;
}
