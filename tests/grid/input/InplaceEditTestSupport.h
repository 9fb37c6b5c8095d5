#pragma once
// A data grid with its in-place editor at hand, for the editor's tests.

#include "grid/GridTestSupport.h"

#include "data/Field.h"
#include "data/FieldTypes.h"
#include "data/MemTable.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/DBGridInplaceEdit.h"

#include <QTest>

#include <memory>

class TEditingGrid : public TDBGridGx {
public:
    TDBGridInplaceEdit& Editor() { return dynamic_cast<TDBGridInplaceEdit&>(*InplaceEditor()); }
};

// Shows the editor on a data column of the current record, with the focus.
inline TDBGridInplaceEdit& EditGridColumn(TEditingGrid& grid, int dataColumn)
{
    grid.SetCol(grid.DataToRawColumn(dataColumn));
    grid.ShowEditor();
    TDBGridInplaceEdit& editor = grid.Editor();
    editor.setFocus();
    return editor;
}

// Opens a lookup table of three trees: CODE 1, 2, 3 named "Tree A", "Tree B"
// and "Tree C".
inline void OpenTreeTable(TMemTable& trees)
{
    trees.FieldDefs().Add("CODE", ftInteger);
    trees.FieldDefs().Add("NAME", ftString, 20);
    for (int i = 1; i <= 3; ++i)
        trees.AppendRecord({TVariant(i), TVariant(std::string("Tree ") + char('A' + i - 1))});
    trees.Open();
}

// Gives a closed table a persistent field for each of its field defs (as
// they stand) and a lookup field TREENAME: the NAME of the `trees` record
// whose CODE is the table's TREE.
inline void AddTreeLookupField(TMemTable& table, TMemTable& trees)
{
    for (int i = 0; i < table.FieldDefs().Count(); ++i) {
        const TEngineFieldDef& def = table.FieldDefs()[i];
        auto field = CreateField(def.DataType, def.Size);
        field->SetFieldName(def.Name);
        table.Fields().Add(std::move(field));
    }
    auto treeName = CreateField(ftString, 20);
    treeName->SetFieldName("TREENAME");
    treeName->SetFieldKind(fkLookup);
    treeName->SetLookupDataSet(&trees);
    treeName->KeyFields = "TREE";
    treeName->LookupKeyFields = "CODE";
    treeName->LookupResultField = "NAME";
    table.Fields().Add(std::move(treeName));
}

inline QRect GlobalRect(const QWidget& widget) { return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size()); }
