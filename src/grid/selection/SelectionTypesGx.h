#pragma once
// The kinds of the grid's multi-cell selection and the set of kinds a grid
// allows.

#include "grid/base/EnumSet.h"

enum TDBGridGxSelectionType { gstNon, gstRecordBookmarks, gstRectangle, gstColumns, gstAll };

// A kind a grid may allow: gstRecordBookmarks .. gstAll (gstNon is always
// possible and never a member).
using TDBGridGxAllowedSelection = TDBGridGxSelectionType;
using TDBGridGxAllowedSelections = TEnumSet<TDBGridGxSelectionType>;

inline constexpr TDBGridGxAllowedSelections DefaultAllowedSelectionsGx{gstRecordBookmarks, gstRectangle,
                                                                      gstColumns, gstAll};
