#pragma once
// TColumnGx: one column of the data grid.  Most settings have no value of
// their own until set: the getter derives one from the bound field, the
// grid's ColumnDefValues or the grid itself, and the column keeps one
// assigned-value bit per such setting (AssignedValues).  RestoreDefaults
// clears the bits again.
//
// A column is a user column (made by the program through Columns.Add) or
// a default column (made by the grid from a dataset field).  Default
// columns pass some settings on to their field and are freed by the grid
// whenever the fields change, so references to them must not be kept.

#include "data/Field.h"
#include "editors/EditButtonGx.h"
#include "editors/LookupExtraRowGx.h"
#include "grid/columns/AssignedValueGx.h"
#include "grid/columns/ColCellParamsGx.h"
#include "grid/columns/ColumnFooterGx.h"
#include "grid/columns/ColumnTitleGx.h"
#include "grid/columns/ColumnStoredValuesGx.h"
#include "grid/columns/ColumnTypesGx.h"
#include "grid/paint/ImageList.h"
#include "platform/Color.h"
#include "platform/FreeNotifier.h"
#include "platform/Variant.h"
#include "ui/FontGx.h"

#include <QMenu>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>

class TColumnsHostGx;
class TDBGridColumnsGx;

class TColumnGx : private TColumnStoredValuesGx {
public:
    using TGetCellParamsEvent = std::function<void(TColumnGx& sender, bool editMode, TColCellParamsGx& params)>;
    using TUpdateDataEvent =
        std::function<void(TColumnGx& sender, std::string& text, TVariant& value, bool& useText, bool& handled)>;
    using TNotInListEvent = std::function<void(TColumnGx& sender, const std::string& newText, bool& recheckInList)>;
    using TButtonClickEvent = std::function<void(TColumnGx& sender, bool& handled)>;
    using TButtonDownEvent = std::function<void(TColumnGx& sender, bool topButton, bool& autoRepeat, bool& handled)>;

    virtual ~TColumnGx();
    TColumnGx(const TColumnGx&) = delete;
    TColumnGx& operator=(const TColumnGx&) = delete;

    TDBGridColumnsGx* Collection() const { return FCollection; }
    TColumnsHostGx* Host() const;
    int Index() const;
    // Moves the column in its collection; a default column bound to a field
    // moves the field to the place of the field at the target instead.
    void SetIndex(int value);
    bool IsUserColumn() const { return FUserColumn; }
    TColumnValuesGx AssignedValues() const { return FAssignedValues; }

    // ---- field
    // The bound field, looked up by FieldName when not cached.
    TField* Field() const;
    virtual void SetField(TField* value);
    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& value);

    // ---- settings that follow the field, the grid or its defaults until set
    TAlignment Alignment() const;
    virtual void SetAlignment(TAlignment value);
    bool AlwaysShowEditButton() const;
    void SetAlwaysShowEditButton(bool value);
    bool AutoDropDown() const;
    void SetAutoDropDown(bool value);
    bool Checkboxes() const;
    void SetCheckboxes(bool value);
    TColor Color() const;
    void SetColor(TColor value);
    bool DblClickNextVal() const;
    void SetDblClickNextVal(bool value);
    bool DropDownShowTitles() const;
    void SetDropDownShowTitles(bool value);
    bool DropDownSizing() const;
    void SetDropDownSizing(bool value);
    bool EndEllipsis() const;
    void SetEndEllipsis(bool value);
    TFontGx Font() const;
    void SetFont(const TFontGx& value);
    TFontGx DefaultFont() const;
    TImeModeGx ImeMode() const;
    virtual void SetImeMode(TImeModeGx value);
    std::string ImeName() const;
    virtual void SetImeName(const std::string& value);
    std::string LookupDisplayFields() const;
    virtual void SetLookupDisplayFields(const std::string& value);
    bool ReadOnly() const;
    virtual void SetReadOnly(bool value);
    bool ToolTips() const;
    void SetToolTips(bool value);
    bool WordWrap() const;
    virtual void SetWordWrap(bool value);

    // ---- width
    // Until set: derived from the field's DisplayWidth in the column's font.
    int Width() const;
    virtual void SetWidth(int value);
    int DefaultWidth() const;
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value);
    // The width auto-fit distribution starts from.
    int BaseWidth() const { return FBaseWidth; }
    void SetBaseWidth(int value) { FBaseWidth = value; }
    // Takes the current Width as the base width.
    void TakeBaseWidth() { FBaseWidth = Width(); }
    bool AutoFitColWidth() const { return FAutoFitColWidth; }
    virtual void SetAutoFitColWidth(bool value);

    // ---- plain settings
    TColumnButtonStyleGx ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TColumnButtonStyleGx value);
    int DropDownRows() const { return FDropDownRows; }
    void SetDropDownRows(int value) { FDropDownRows = value < 0 ? 0 : value; }
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int value);
    double Increment() const { return FIncrement; }
    void SetIncrement(double value) { FIncrement = value; }
    int NotInKeyListIndex() const { return FNotInKeyListIndex; }
    void SetNotInKeyListIndex(int value);
    int Tag() const { return FTag; }
    void SetTag(int value) { FTag = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    // Lines of the pick list and of the key list; each list object is
    // made by its first setting and freed by RestoreDefaults.
    const TStringListGx& PickList() const;
    void SetPickList(const TStringListGx& value);
    bool HasPickList() const { return FPickList != nullptr; }
    const TStringListGx& KeyList() const;
    void SetKeyList(const TStringListGx& value);
    bool HasKeyList() const { return FKeyList != nullptr; }

    // References that clear themselves when the object is destroyed.
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* value);
    TImageList* ImageList() const { return FImageList; }
    void SetImageList(TImageList* value);

    // ---- owned parts
    TColumnTitleGx* Title() const { return FTitle.get(); }
    TColumnFooterGx* Footer() const { return FFooter.get(); }
    TColumnFootersGx* Footers() const { return FFooters.get(); }
    // The footer shown in footer row `row` (counted from 0).
    TColumnFooterGx* UsedFooter(int row) const;
    TSpecRowGx* DropDownSpecRow() const { return FDropDownSpecRow.get(); }
    // The column's extra edit buttons beside its default one; a change of
    // any of them is a change of the column.
    TEditButtonsGx& EditButtons() const { return *FEditButtons; }

    // ---- behaviour
    TColumnKindGx ColumnKind() const;
    std::string DisplayText() const;
    TCheckBoxStateGx CheckboxState() const;
    void SetCheckboxState(TCheckBoxStateGx value);
    // Writes a value or text into the field unless OnUpdateData handles it.
    void UpdateData(std::string text, TVariant value, bool useText);
    // Whether the cell may be changed; with tryEdit, also puts the dataset
    // into edit state and answers whether it is editing now.
    bool CanModify(bool tryEdit) const;
    // Fills the cell parameters from the column, then fires OnGetCellParams.
    void FillColCellParams(TColCellParamsGx& params, bool editMode = false) const;
    virtual void GetColCellParams(bool editMode, TColCellParamsGx& params) const;

    // Clears every assigned value, the pick and key lists and the button style.
    virtual void RestoreDefaults();
    // Copies another column's settings (see the .cpp for which ones).
    void Assign(const TColumnGx& source);

    // Announces a change to the grid: of this column, or a full one.
    void Changed(bool all);

    // ---- events
    const TGetCellParamsEvent& OnGetCellParams() const { return FOnGetCellParams; }
    void SetOnGetCellParams(TGetCellParamsEvent value);   // repaints
    TUpdateDataEvent OnUpdateData;
    TNotInListEvent OnNotInList;
    TButtonClickEvent OnEditButtonClick;
    TButtonDownEvent OnEditButtonDown;

protected:
    // Columns are made by their collection (TDBGridColumnsGx::Add), which
    // then builds the owned parts through the Create hooks below.
    explicit TColumnGx(TDBGridColumnsGx* collection);

    friend class TColumnTitleGx;
    friend class TColumnFootersGx;
    friend class TDBGridColumnsGx;

    // Builders of the owned parts; a descendant may supply its own classes.
    virtual std::unique_ptr<TColumnTitleGx> CreateTitle();
    virtual std::unique_ptr<TColumnFooterGx> CreateFooter(TColumnFootersGx* footers);
    virtual std::unique_ptr<TColumnFootersGx> CreateFooters();
    // The special row changed.
    virtual void SpecRowChanged();

    // The field a default column writes Title.Caption, Alignment and
    // ReadOnly into; null for a user column or without an active link.
    TField* DefaultColumnFieldForWrite() const;
    void SetUserColumn(bool value) { FUserColumn = value; }

private:
    void Init();
    void MarkAssigned(TColumnValueGx value) { FAssignedValues.Include(value); }
    bool IsAssigned(TColumnValueGx value) const { return FAssignedValues.Contains(value); }
    // Stores a setting of its own and marks it assigned; a change is
    // announced (all: to every column) unless it was assigned to that value.
    template <typename T>
    void StoreAssigned(T& member, const T& value, TColumnValueGx bit, bool all)
    {
        if (::StoreAssigned(FAssignedValues, bit, member, value))
            Changed(all);
    }
    // Stores a width (clamped to MaxWidth and MinWidth) and announces it.
    void KeepWidth(int value);
    void BindField(TField* field) const;
    void FieldFreed();
    void Repaint() const;
    int KeyListIndexOfFieldText() const;

    TDBGridColumnsGx* FCollection;
    bool FUserColumn = true;
    TColumnValuesGx FAssignedValues;

    mutable TFreeRef<TField> FField;
    std::string FFieldName;

    std::unique_ptr<TStringListGx> FPickList;
    std::unique_ptr<TStringListGx> FKeyList;
    QPointer<QMenu> FPopupMenu;
    QPointer<TImageList> FImageList;

    std::unique_ptr<TColumnTitleGx> FTitle;
    std::unique_ptr<TColumnFooterGx> FFooter;
    std::unique_ptr<TColumnFootersGx> FFooters;
    std::unique_ptr<TSpecRowGx> FDropDownSpecRow;
    std::unique_ptr<TEditButtonsGx> FEditButtons;

    TGetCellParamsEvent FOnGetCellParams;
};
