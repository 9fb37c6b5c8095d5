#pragma once
// A data grid whose editor is the grid's in-place editor, for the editor's
// tests: the host makes a TDBGridInplaceEdit, and the grid's edit-text hooks
// hand the editor its field's text and mark a typed text as pending, as the
// grid's own editor host does.

#include "grid/GridTestSupport.h"

#include "data/Field.h"
#include "data/FieldTypes.h"
#include "data/MemTable.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/DBGridGxEditorHost.h"
#include "grid/input/DBGridInplaceEdit.h"

#include <QTest>

#include <memory>

class TInplaceEditorHost : public TDBGridGxEditorHost {
public:
    using TDBGridGxEditorHost::TDBGridGxEditorHost;
    TInplaceEdit* CreateEditor() override { return new TDBGridInplaceEdit(Grid()); }
};

class TEditingGrid : public TDBGridGx {
public:
    TEditingGrid() { SetEditorHost(std::make_unique<TInplaceEditorHost>(*this)); }

    TDBGridInplaceEdit& Editor() { return dynamic_cast<TDBGridInplaceEdit&>(*InplaceEditor()); }

protected:
    QString GetEditText(int, int) override
    {
        TField* field = CurrentField();
        return field != nullptr && DataLink()->Active() ? QString::fromStdString(EditorHost().EditorTextOf(*field))
                                                        : QString();
    }
    void SetEditText(int, int, const QString&) override { DataLink()->SetModified(true); }
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
