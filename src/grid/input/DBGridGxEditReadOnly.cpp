#include "grid/input/DBGridGxEditReadOnly.h"

#include "grid/DBGridGx.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxEditorHost.h"

std::optional<bool> DecideEditReadOnly(TCustomDBGridGx& grid, TColumnGx& column, TColCellParamsGx& params)
{
    const bool ownReadOnly = !column.CanModify(false);
    params.Row = grid.Row();
    params.Col = grid.Col();
    params.State = TGridDrawState{gdFocused};
    params.Font = column.Font();
    params.Background = column.Color();
    params.Alignment = column.Alignment();
    params.ImageIndex = -1;
    params.Text = column.Field() ? grid.EditorHost().EditorTextOf(*column.Field()) : std::string();
    params.CheckboxState = column.CheckboxState();
    params.ReadOnly = ownReadOnly;
    if (grid.OnGetCellParams)
        grid.OnGetCellParams(grid, column, params.Font, params.Background, params.State);
    column.GetColCellParams(true, params);
    if (params.ReadOnly == ownReadOnly)
        return std::nullopt;
    return params.ReadOnly;
}

std::optional<bool> EditReadOnlyOverride(TCustomDBGridGx& grid, TColumnGx& column)
{
    TColCellParamsGx params;
    return DecideEditReadOnly(grid, column, params);
}
