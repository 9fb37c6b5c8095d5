#pragma once
// TButtonsBitmapCache: the faces of edit buttons and check boxes, drawn once
// per distinct look into a bitmap and copied from there on every paint.
// The key is a 16-byte block (zero-filled, compared as bytes): width and
// height (32 bits each, negative values as 0), the face kind and one byte
// each for flat, pressed (the check state for a check box), active,
// enabled and the half of an up-down pair.

#include "editors/ButtonPainter.h"

#include <QImage>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

struct TButtonBitmapKeyGx {
    int32_t Width;
    int32_t Height;
    uint8_t Kind;
    uint8_t Flat;
    uint8_t PressedOrState;
    uint8_t Active;
    uint8_t Enabled;
    uint8_t Half;
    uint8_t Reserved[2];

    TButtonBitmapKeyGx() { std::memset(this, 0, sizeof(*this)); }
    static TButtonBitmapKeyGx Make(int width, int height, TButtonFaceKindGx kind, bool flat, uint8_t pressedOrState,
                                   bool active, bool enabled, TUpDownHalfGx half);
    bool operator==(const TButtonBitmapKeyGx& other) const { return std::memcmp(this, &other, sizeof(*this)) == 0; }
};
static_assert(sizeof(TButtonBitmapKeyGx) == 16, "button bitmap keys are 16-byte blocks");

class TButtonsBitmapCache {
public:
    TButtonsBitmapCache() = default;
    TButtonsBitmapCache(const TButtonsBitmapCache&) = delete;
    TButtonsBitmapCache& operator=(const TButtonsBitmapCache&) = delete;

    // The bitmap for the key, drawn on first request.  Kinds the painter
    // does not know give an empty (transparent) bitmap of the key's size.
    const QImage& GetButtonBitmap(const TButtonBitmapKeyGx& key);
    int Count() const { return static_cast<int>(FEntries.size()); }
    // Drops every bitmap (the system colours changed).
    void Clear() { FEntries.clear(); }

private:
    struct TEntry {
        TButtonBitmapKeyGx Key;
        QImage Bitmap;
    };
    static QImage DrawBitmap(const TButtonBitmapKeyGx& key);

    std::vector<std::unique_ptr<TEntry>> FEntries;
};

// The program's one cache.
TButtonsBitmapCache& ButtonsBitmapCache();

// The global switch, on by default: with it off faces are drawn straight
// onto their target.
bool ButtonsBitmapCacheEnabled();
void SetButtonsBitmapCacheEnabled(bool value);
