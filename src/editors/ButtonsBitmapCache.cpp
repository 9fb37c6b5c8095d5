#include "editors/ButtonsBitmapCache.h"

#include "ui/QtColor.h"

#include <QPainter>

#include <algorithm>

namespace {
bool CacheEnabled = true;
} // namespace

TButtonBitmapKeyGx TButtonBitmapKeyGx::Make(int width, int height, TButtonFaceKindGx kind, bool flat,
                                            uint8_t pressedOrState, bool active, bool enabled, TUpDownHalfGx half)
{
    TButtonBitmapKeyGx key;
    key.Width = std::max(0, width);
    key.Height = std::max(0, height);
    key.Kind = kind;
    key.Flat = flat ? 1 : 0;
    key.PressedOrState = pressedOrState;
    key.Active = active ? 1 : 0;
    key.Enabled = enabled ? 1 : 0;
    key.Half = half;
    return key;
}

const QImage& TButtonsBitmapCache::GetButtonBitmap(const TButtonBitmapKeyGx& key)
{
    for (const auto& entry : FEntries)
        if (entry->Key == key)
            return entry->Bitmap;
    auto entry = std::make_unique<TEntry>();
    entry->Key = key;
    entry->Bitmap = DrawBitmap(key);
    FEntries.push_back(std::move(entry));
    return FEntries.back()->Bitmap;
}

QImage TButtonsBitmapCache::DrawBitmap(const TButtonBitmapKeyGx& key)
{
    const QSize size(std::max(1, key.Width), std::max(1, key.Height));
    if (key.Width <= 0 || key.Height <= 0 || key.Kind > bfkMinusGx) {
        QImage empty(size, QImage::Format_ARGB32_Premultiplied);
        empty.fill(Qt::transparent);
        return empty;
    }
    // Every face covers its whole bitmap, so it needs no alpha and copies
    // without blending.
    QImage bitmap(size, QImage::Format_RGB32);
    bitmap.fill(ToQColor(clBtnFace));
    QPainter painter(&bitmap);
    const QRect rect(0, 0, key.Width, key.Height);
    const auto kind = static_cast<TButtonFaceKindGx>(key.Kind);
    if (kind == bfkCheckBoxGx)
        DrawCheckBox(painter, rect, static_cast<TCheckPaintStateGx>(key.PressedOrState), key.Flat != 0,
                     key.Enabled != 0, clWindow);
    else
        DrawEditButtonFace(painter, rect, kind, key.PressedOrState != 0, key.Active != 0, key.Flat != 0,
                           key.Enabled != 0, static_cast<TUpDownHalfGx>(key.Half));
    return bitmap;
}

TButtonsBitmapCache& ButtonsBitmapCache()
{
    static TButtonsBitmapCache cache;
    return cache;
}

bool ButtonsBitmapCacheEnabled() { return CacheEnabled; }

void SetButtonsBitmapCacheEnabled(bool value) { CacheEnabled = value; }
