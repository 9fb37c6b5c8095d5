#pragma once
// TDBGridInplaceEdit: the data grid's in-place editor.  Over the base
// editor it takes an edit style per cell from the column and its field,
// shows the default edit button at its right edge, and drops down the
// column's pick list, lookup list or month calendar: under the cell, above
// it or on the larger side within the screen's work area.  Enter, a click
// in the list or a picked day accept the list's value; Esc, the focus
// leaving the editor or a second press of the button discard it.  A size
// the user gave a list with its grip is kept in the column's DropDownRows
// and DropDownWidth.

#include "data/DataSource.h"
#include "editors/PopupOwnerGx.h"
#include "grid/base/InplaceEdit.h"
#include "grid/columns/CellEditButtonsGx.h"

class QKeyEvent;
class TColumnGx;
class TCustomDBGridGx;
class TEditButtonControlGx;
class TPopupDataListGx;
class TPopupListbox;
class TPopupMonthCalendarGx;

class TDBGridInplaceEdit : public TInplaceEdit, public TPopupOwnerGx {
public:
    explicit TDBGridInplaceEdit(TCustomDBGridGx& grid);
    ~TDBGridInplaceEdit() override;

    TEditStyleGx EditStyle() const { return FEditStyle; }
    // A drop-down is open.
    bool ListVisible() const { return FListVisible; }
    // The drop-down of the current style, nullptr for styles without one.
    QWidget* ActiveList() const { return FActiveList; }
    TPopupListbox* PickList() const { return FPickList; }
    TPopupDataListGx* DataList() const { return FDataList; }
    TPopupMonthCalendarGx* Calendar() const { return FCalendar; }
    TEditButtonControlGx& DefaultButton() const { return *FButton; }

    void DropDown();
    void CloseUp(bool accept) override;
    void UpdateContents() override;

protected:
    void BoundsChanged() override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TColumnGx* Column() const;
    void SetEditStyle(TEditStyleGx value);
    // Drop-down keys, before anything else; true when the key was taken.
    bool DropDownKey(QKeyEvent& event);
    void ForwardToList(QKeyEvent& event);
    void DropDownPickList(TColumnGx& column);
    void DropDownDataList(TColumnGx& column);
    void DropDownCalendar(TColumnGx& column);
    // Places the list against the work area and shows it without the focus.
    void ShowList(QWidget& list, QSize size);
    void RememberListSize(TColumnGx& column);
    void AcceptPickList(TColumnGx& column);
    void AcceptDataList(TColumnGx& column, const TVariant& key);
    void AcceptCalendar(TColumnGx& column);
    void ListMouseUp(QWidget& list, QPoint position);
    void ButtonDown();
    void ButtonClick();

    TCustomDBGridGx& FDBGrid;
    TEditStyleGx FEditStyle = esSimpleGx;
    TEditButtonControlGx* FButton = nullptr;
    TPopupListbox* FPickList = nullptr;
    TPopupDataListGx* FDataList = nullptr;
    TPopupMonthCalendarGx* FCalendar = nullptr;
    QWidget* FActiveList = nullptr;
    TDataSource FLookupSource;   // the lookup dataset while the data list is open
    bool FListVisible = false;
    bool FOpenedByButton = false;
};
