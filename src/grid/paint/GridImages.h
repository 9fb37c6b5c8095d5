#pragma once
// The grid's bitmap and cursor resources: small pixel pictures kept in code
// and turned into images by name, as a program loads its resources.
//
// Bitmaps: "DBGARROWGX", "DBEDITGX", "DBINSERTGX", "DBMULTIDOTGX",
// "DBMULTIARROWGX", "DBGARROWGXW" (indicator glyphs, 6 x 11) and
// "DBSMDOWNGX", "DBSMUPGX" (sort markers, 10 x 9).
// Cursors: "DOWNCURGX", "RIGHTCURGX", "LEFTCURGX".

#include "platform/Color.h"

#include <QCursor>
#include <QImage>
#include <QPixmap>

#include <optional>
#include <string_view>

// The bitmap of a name, opaque, in its own colours; a null image for a
// name without a picture.
QImage LoadGridBitmap(std::string_view name);

// The cursor of a name (its hot spot at the arrow's tip); none for a name
// without a picture.
std::optional<QCursor> LoadGridCursor(std::string_view name);

// The image with every pixel of the transparent colour made transparent.
QPixmap MaskedPixmap(const QImage& image, TColor transparent);
