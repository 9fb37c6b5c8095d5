#pragma once
// The grid's option sets and the dataset changes it allows.

#include "grid/base/EnumSet.h"

enum TDBGridOption {
    dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines,
    dgTabs, dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit, dgMultiSelect
};
using TDBGridOptions = TEnumSet<TDBGridOption>;

enum TDBGridGxOption {
    dghFixed3D, dghFrozen3D, dghFooter3D, dghData3D, dghResizeWholeRightPart, dghHighlightFocus,
    dghClearSelection, dghFitRowHeightToText, dghAutoSortMarking, dghMultiSortMarking, dghEnterAsTab,
    dghTraceColSizing, dghIncSearch, dghPreferIncSearch, dghRowHighlight
};
using TDBGridGxOptions = TEnumSet<TDBGridGxOption>;

enum TDBGridGxAllowedOperation { alopInsertGx, alopUpdateGx, alopDeleteGx, alopAppendGx };
using TDBGridGxAllowedOperations = TEnumSet<TDBGridGxAllowedOperation>;

// The clipboard keys the grid handles.
enum TDBGridGxEditAction { geaCutGx, geaCopyGx, geaPasteGx, geaDeleteGx, geaSelectAllGx };
using TDBGridGxEditActions = TEnumSet<TDBGridGxEditAction>;

// Whether a left press starts dragging (dmAutomatic) or a program does it (dmManual).
enum TDragMode { dmManual, dmAutomatic };

inline constexpr TDBGridOptions DefaultDBGridOptions{
    dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
    dgConfirmDelete, dgCancelOnExit};
inline constexpr TDBGridGxOptions DefaultDBGridGxOptions{dghFixed3D, dghHighlightFocus,
                                                          dghClearSelection};
inline constexpr TDBGridGxAllowedOperations AllAllowedOperationsGx{alopInsertGx, alopUpdateGx,
                                                                   alopDeleteGx, alopAppendGx};
