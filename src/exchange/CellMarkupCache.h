#pragma once
// TCellMarkupCacheGx: the markup a formatted export (RTF, HTML) writes
// before and after a data cell's text depends only on the cell's look, and
// the cells of a column mostly share one.  One entry per export column
// keeps the last look seen there with its markup, so that a row of the
// same looks as the row before reuses the markup instead of formatting
// numbers, colours and font names anew.

#include "ui/FontGx.h"
#include "platform/Color.h"
#include "data/Field.h"

#include <string>
#include <vector>

struct TCellMarkupGx {
    std::string Open;
    std::string Close;
};

class TCellMarkupCacheGx {
public:
    // The markup for the look of the cell at this position in its row;
    // make() builds it when the position's last look was another.
    template <class TMake>
    const TCellMarkupGx& Markup(int position, const TFontGx& font, TColor background, TAlignment alignment,
                                TMake&& make)
    {
        if (position >= static_cast<int>(FEntries.size()))
            FEntries.resize(static_cast<size_t>(position) + 1);
        TEntry& entry = FEntries[static_cast<size_t>(position)];
        if (!entry.Valid || entry.Background != background || entry.Alignment != alignment || entry.Font != font) {
            entry.Markup = make();
            entry.Font = font;
            entry.Background = background;
            entry.Alignment = alignment;
            entry.Valid = true;
        }
        return entry.Markup;
    }
    void Clear() { FEntries.clear(); }

private:
    struct TEntry {
        bool Valid = false;
        TFontGx Font;
        TColor Background = clNone;
        TAlignment Alignment = taLeftJustify;
        TCellMarkupGx Markup;
    };
    std::vector<TEntry> FEntries;
};
