#pragma once
// TDBGridInplaceEdit: the data grid's in-place editor.  Over the base
// editor it takes an edit style per cell from the column and its field,
// shows the default edit button at its right edge, and drops down the
// column's pick list, lookup list or month calendar: under the cell, above
// it or on the larger side within the screen's work area.  Enter, a click
// in the list or a picked day accept the list's value; Esc, a second press
// of the button, a press anywhere else, the focus or the activation leaving
// for another window, and the editor moving, hiding or being refilled for
// another cell or record discard it (InplaceDropDownWatchGx).  While a list
// is open the wheel over the editor or the grid scrolls it.  A size
// the user gave a list with its grip is kept in the column's DropDownRows
// and DropDownWidth.
//
// The editor's other behaviour lives in file pairs of its own:
// DBGridInplaceEditButtons.cpp (the row of edit buttons and stepping),
// DBGridInplaceEditKeys.cpp (the editor's keys and type-ahead) and
// InplaceWordWrapGx (multi-line editing).

#include "data/DataSource.h"
#include "editors/LookupTypeAheadGx.h"
#include "editors/PopupOwnerGx.h"
#include "grid/base/InplaceEdit.h"
#include "grid/columns/CellEditButtonsGx.h"
#include "grid/input/InplaceDropDownWatchGx.h"

#include <memory>
#include <string>

class QKeyEvent;
class QMenu;
class TColumnGx;
class TCustomDBGridGx;
class TEditButtonControlGx;
class TInplaceEditButtonsGx;
class TInplaceWordWrapGx;
class QPlainTextEdit;
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
    // The row of buttons: 0 is the default button, i the column's
    // EditButtons item i - 1.
    TInplaceEditButtonsGx& Buttons() const { return *FButtons; }
    TEditButtonControlGx& DefaultButton() const;
    // Multi-line editing (the column's WordWrap on a grid whose rows hold
    // more than one line, for cells without a list or an edit mask): the
    // text box that then takes the keys.
    bool WordWrap() const;
    QPlainTextEdit* WordWrapBox() const;

    void DropDown();
    void CloseUp(bool accept) override;
    // One wheel notch for the open drop-down (down: toward the end); false
    // when no drop-down is open.
    bool WheelDropDown(bool down);
    void UpdateContents() override;

    // A press on button `index` of the row (the button's own down event).
    void EditButtonDown(int index, bool topButton, bool& autoRepeat, bool& handled);
    void EditButtonClick(int index);
    // The default button's action: up-down steps, the others drop down.
    void ButtonDown(bool topButton);

protected:
    friend class TInplaceWordWrapGx;
    void BoundsChanged() override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void KeyPress(QString& key) override;
    void DblClick() override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TColumnGx* Column() const;
    TColumnGx* ColumnAt(int rawCol) const;
    // The bookmark of the grid's current record (empty without one).
    std::string CurrentBookmark() const;
    // The edit style opens a pick list, a data list or a calendar.
    bool HasDropDown() const;
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

    // ---- buttons (DBGridInplaceEditButtons.cpp)
    void LayoutButtons();
    void EditButtonMouseMove(int index, QPoint position);
    void EditButtonMouseUp(int index, Qt::MouseButton button, QPoint position);
    void PopupButtonMenu(int index, QMenu& menu);
    // Steps the column's value by `step` after writing a changed text.
    void StepValue(TColumnGx& column, double step);
    // Whether a mouse event at `position` falls in the strip of buttons.
    bool InButtonStrip(QPoint position) const;

    // ---- keys (DBGridInplaceEditKeys.cpp); true when the key was taken
    bool EditorKeyDown(QKeyEvent& event);
    bool DeleteLookupKey(TColumnGx& column);
    bool BackspaceLookupKey(TColumnGx& column);
    bool SpecRowKey(TColumnGx& column, const QKeyEvent& event);
    bool TypeAhead(TColumnGx& column, const QString& typed);
    bool TypeAheadDataList(TColumnGx& column, const QString& candidate);
    bool TypeAheadPickList(TColumnGx& column, const QString& candidate);
    // Puts a text into the editor and the grid as the user's change, with
    // the characters from `selectFrom` on selected (none with -1).
    void TakeText(const QString& value, int selectFrom);
    // The list follows the editor's text (after deleting in a not-in-list cell).
    void ListFollowsText(TColumnGx& column);
    void WriteLookupKey(TColumnGx& column, const TVariant& key);

    // ---- input method
    void ApplyInputMethod(const TColumnGx& column);

    TCustomDBGridGx& FDBGrid;
    TEditStyleGx FEditStyle = esSimpleGx;
    std::unique_ptr<TInplaceEditButtonsGx> FButtons;
    std::unique_ptr<TInplaceWordWrapGx> FWordWrap;
    TPopupListbox* FPickList = nullptr;
    TPopupDataListGx* FDataList = nullptr;
    TPopupMonthCalendarGx* FCalendar = nullptr;
    QWidget* FActiveList = nullptr;
    TLookupTypeAheadGx FTypeAhead;
    TDataSource FLookupSource;   // the lookup dataset while the data list is open
    bool FListVisible = false;
    // Ends the open drop-down when something else takes the mouse or focus.
    TInplaceDropDownWatchGx FDropDownWatch{*this, [this] { CloseUp(false); }};
    // The grid column and record the open drop-down belongs to.
    int FDropDownCol = -1;
    std::string FDropDownBookmark;
    bool FOpenedByButton = false;
    // A press on the default button went on into the open list.
    bool FDraggingIntoList = false;
    // The button whose menu just closed (-1: none): its press closed the menu.
    int FMenuClosedBy = -1;
    // Shift was held in the double click being handled.
    bool FDblClickShift = false;
};
