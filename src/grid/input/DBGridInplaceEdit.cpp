#include "grid/input/DBGridInplaceEdit.h"

#include "data/Field.h"
#include "editors/EditButtonControlGx.h"
#include "editors/PopupDataListGx.h"
#include "editors/PopupListbox.h"
#include "editors/PopupMonthCalendarGx.h"
#include "editors/PopupPlacementGx.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/DBGridGxEditReadOnly.h"
#include "grid/columns/ColumnGx.h"
#include "grid/input/DBGridGxEditorHost.h"
#include "grid/input/InplaceEditButtonsGx.h"
#include "grid/input/InplaceWordWrapGx.h"
#include "platform/DateTimeFormat.h"
#include "platform/Exceptions.h"
#include "ui/QtColor.h"
#include "ui/SystemMetrics.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDate>
#include <QKeyEvent>
#include <QScreen>
#include <QWheelEvent>

#include <algorithm>

namespace {

QDate ToQDate(TDateTime value)
{
    int year = 0, month = 0, day = 0;
    DecodeDate(value, year, month, day);
    return QDate(year, month, day);
}

} // namespace

TDBGridInplaceEdit::TDBGridInplaceEdit(TCustomDBGridGx& grid)
    : TInplaceEdit(&grid), FDBGrid(grid), FButtons(std::make_unique<TInplaceEditButtonsGx>(*this))
{
    FButtons->OnDown = [this](int index, bool top, bool& autoRepeat, bool& handled) {
        EditButtonDown(index, top, autoRepeat, handled);
    };
    FButtons->OnClick = [this](int index) { EditButtonClick(index); };
    FButtons->OnMouseMove = [this](int index, Qt::MouseButton, QPoint at) { EditButtonMouseMove(index, at); };
    FButtons->OnMouseUp = [this](int index, Qt::MouseButton button, QPoint at) {
        EditButtonMouseUp(index, button, at);
    };
}

TDBGridInplaceEdit::~TDBGridInplaceEdit() { FLookupSource.SetDataSet(nullptr); }

bool TDBGridInplaceEdit::HasDropDown() const
{
    return FEditStyle == esPickListGx || FEditStyle == esDataListGx || FEditStyle == esDateCalendarGx;
}

TEditButtonControlGx& TDBGridInplaceEdit::DefaultButton() const { return FButtons->Button(0); }

bool TDBGridInplaceEdit::WordWrap() const { return FWordWrap != nullptr && FWordWrap->Active(); }

QPlainTextEdit* TDBGridInplaceEdit::WordWrapBox() const { return WordWrap() ? &FWordWrap->Box() : nullptr; }

TColumnGx* TDBGridInplaceEdit::Column() const
{
    return ColumnAt(FDBGrid.Col());
}

TColumnGx* TDBGridInplaceEdit::ColumnAt(int rawCol) const
{
    const int index = FDBGrid.RawToDataColumn(rawCol);
    if (index < 0 || index >= FDBGrid.Columns().Count())
        return nullptr;
    return FDBGrid.Columns()[index];
}

// ---- contents and layout

void TDBGridInplaceEdit::UpdateContents()
{
    // Refilled over another cell or record (the grid moved or scrolled
    // under it): the open drop-down belonged to the old one.  A refill over
    // the same cell keeps it open.
    if (ListVisible() && (FDBGrid.Col() != FDropDownCol || CurrentBookmark() != FDropDownBookmark))
        CloseUp(false);
    TColumnGx* column = Column();
    SetEditStyle(column != nullptr ? EditStyleOf(FDBGrid, *column) : esSimpleGx);
    // The cell-parameter events may turn the column's own answer over.
    setReadOnly(column != nullptr &&
                EditReadOnlyOverride(FDBGrid, *column).value_or(column->ReadOnly()));
    if (column != nullptr) {
        setFont(column->Font());
        ApplyInputMethod(*column);
    }
    const bool wrap = column != nullptr && column->WordWrap() && FDBGrid.MultiLine() && !HasDropDown() &&
                      column->ColumnKind() == ckCommon && FDBGrid.EditorHost().EditMaskOf(*column).empty();
    if (wrap && FWordWrap == nullptr)
        FWordWrap = std::make_unique<TInplaceWordWrapGx>(*this);
    if (FWordWrap != nullptr)
        FWordWrap->SetActive(wrap);
    TInplaceEdit::UpdateContents();
    if (wrap)
        FWordWrap->FollowEditor();
}

// The column's input method setting (the grid's until the column sets its
// own): off for imDisable; hinted to Latin input for the closed and
// alphanumeric modes; the platform's own choice otherwise.  The hints live
// on the editor, so a focus leaving it returns to the default input.
void TDBGridInplaceEdit::ApplyInputMethod(const TColumnGx& column)
{
    const TImeModeGx mode = column.ImeMode();
    setAttribute(Qt::WA_InputMethodEnabled, mode != imDisable);
    Qt::InputMethodHints hints = inputMethodHints() & ~(Qt::ImhPreferLatin | Qt::ImhLatinOnly);
    if (mode == imClose || mode == imSAlpha || mode == imAlpha)
        hints |= Qt::ImhPreferLatin;
    setInputMethodHints(hints);
}

void TDBGridInplaceEdit::SetEditStyle(TEditStyleGx value)
{
    if (ListVisible() && value != FEditStyle)
        CloseUp(false);
    FEditStyle = value;
    switch (value) {
    case esPickListGx:
        if (FPickList == nullptr) {
            FPickList = new TPopupListbox(this);
            FPickList->hide();
            FPickList->OnMouseUp = [this](TPopupListbox& list, Qt::MouseButton, QPoint at) { ListMouseUp(list, at); };
        }
        FActiveList = FPickList;
        break;
    case esDataListGx:
        if (FDataList == nullptr) {
            FDataList = new TPopupDataListGx(this);
            FDataList->hide();
            FDataList->OnMouseUp = [this](TPopupDataListGx& list, Qt::MouseButton, QPoint at) {
                ListMouseUp(list, at);
            };
        }
        FActiveList = FDataList;
        break;
    case esDateCalendarGx:
        if (FCalendar == nullptr) {
            FCalendar = new TPopupMonthCalendarGx(this);
            FCalendar->hide();
        }
        FActiveList = FCalendar;
        break;
    default: FActiveList = nullptr; break;
    }
    BoundsChanged();
}

// ---- drop down and close up

void TDBGridInplaceEdit::DropDown()
{
    TColumnGx* column = Column();
    if (ListVisible() || FActiveList == nullptr || column == nullptr)
        return;
    if (FEditStyle == esPickListGx)
        DropDownPickList(*column);
    else if (FEditStyle == esDataListGx)
        DropDownDataList(*column);
    else
        DropDownCalendar(*column);
}

void TDBGridInplaceEdit::DropDownPickList(TColumnGx& column)
{
    TPopupListbox& list = *FPickList;
    list.setFont(font());
    QStringList items;
    const size_t count =
        column.HasKeyList() && !column.KeyList().empty() ? std::min(column.KeyList().size(), column.PickList().size())
                                                          : column.PickList().size();
    for (size_t i = 0; i < count; ++i)
        items << QString::fromStdString(column.PickList()[i]);
    list.SetItems(items);
    list.SetItemHeight(QFontMetrics(font()).height());
    const int rows = std::min(static_cast<int>(count), std::max(column.DropDownRows(), 1));
    const TField* field = column.Field();
    list.setCurrentRow(field != nullptr && field->IsNull() ? -1 : static_cast<int>(items.indexOf(text())));
    int width = column.DropDownWidth() > 0 ? column.DropDownWidth()
                                            : std::max(this->width(), list.WidestItemWidth() + 4 + 2 * list.frameWidth());
    if (rows < static_cast<int>(count))
        width += VerticalScrollBarWidth();
    list.SizeGrip().setVisible(column.DropDownSizing());
    ShowList(list, QSize(width, list.HeightForRows(rows)));
}

void TDBGridInplaceEdit::DropDownDataList(TColumnGx& column)
{
    TPopupDataListGx& list = *FDataList;
    TField& field = *column.Field();
    TDataSet* lookup = field.LookupDataSet();
    if (lookup == nullptr || !lookup->Active())
        return;
    list.setFont(font());
    if (column.DropDownSpecRow() != nullptr)
        list.SpecRow().Assign(*column.DropDownSpecRow());
    const int wanted = std::max(column.DropDownRows(), 1);
    const bool few = lookup->IsSequenced() && lookup->RecordCount() < wanted;
    list.SetRowCount(few ? static_cast<int>(std::max<int64_t>(lookup->RecordCount(), 1)) : wanted);
    list.SetTitleRowVisible(column.DropDownShowTitles());
    FLookupSource.SetDataSet(lookup);
    list.SetListSource(nullptr);
    list.SetKeyField(field.LookupKeyFields);
    list.SetListField(column.LookupDisplayFields().empty() ? field.LookupResultField : column.LookupDisplayFields());
    list.SetListSource(&FLookupSource);
    list.SetKeyValue(FDBGrid.DataLink()->DataSet()->FieldValues(field.KeyFields));
    const int width = column.DropDownWidth() > 0 ? column.DropDownWidth() : this->width();
    list.SizeGrip().setVisible(column.DropDownSizing());
    ShowList(list, QSize(width, list.height()));
}

void TDBGridInplaceEdit::DropDownCalendar(TColumnGx& column)
{
    TPopupMonthCalendarGx& calendar = *FCalendar;
    calendar.setFont(font());
    // The editor's text as a date; today for an empty text; the field's
    // date when the text is no date.
    QDate date = QDate::currentDate();
    const std::string typed = ValueText().trimmed().toStdString();
    TDateTime value = 0;
    if (!typed.empty() && TryStrToDateTime(typed, value)) {
        date = ToQDate(value);
    } else if (!typed.empty()) {
        const TField* field = column.Field();
        try {
            if (field != nullptr && !field->IsNull() && field->AsDateTime() != 0)
                date = ToQDate(field->AsDateTime());
        } catch (const Exception&) {
            // An unreadable value: today.
        }
    }
    calendar.SetDate(date);
    ShowList(calendar, calendar.RequiredSize());
}

void TDBGridInplaceEdit::ShowList(QWidget& list, QSize size)
{
    const QRect cell(mapToGlobal(QPoint(0, 0)), this->size());
    const QScreen* screen = this->screen();
    const QRect workArea = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1 << 20, 1 << 20);
    const TPopupPlaceGx place = PlacePopupGx(cell, size, workArea);
    list.setGeometry(place.Bounds);
    TPopupPlacementEventGx vertical(place.Vertical);
    QApplication::sendEvent(&list, &vertical);
    TPopupPlacementEventGx horizontal(place.Horizontal);
    QApplication::sendEvent(&list, &horizontal);
    list.show();
    FDropDownWatch.Start(list);
    FDropDownCol = FDBGrid.Col();
    FDropDownBookmark = CurrentBookmark();
    if (FPickList == &list)
        FPickList->SetResizedByUser(false);
    if (FDataList == &list)
        FDataList->SetResizedByUser(false);
    FListVisible = true;
    DefaultButton().SetDropped(true);
    update();
}

void TDBGridInplaceEdit::CloseUp(bool accept)
{
    if (FActiveList != nullptr && FActiveList->isAncestorOf(QApplication::focusWidget()))
        setFocus(Qt::OtherFocusReason);
    if (!FListVisible)
        return;
    DefaultButton().SetDropped(false);
    TColumnGx* column = Column();
    const TVariant chosenKey = FEditStyle == esDataListGx ? FDataList->CurrentKey() : TVariant::Null();
    // The size belongs to the column the list dropped down from, which is
    // no longer the current one when the grid moved on while it was open.
    if (TColumnGx* dropped = ColumnAt(FDropDownCol))
        RememberListSize(*dropped);
    FDropDownWatch.Stop();
    FActiveList->hide();
    FListVisible = false;
    if (FDataList != nullptr)
        FDataList->SetListSource(nullptr);
    FLookupSource.SetDataSet(nullptr);
    update();
    if (column == nullptr)
        return;
    if (!accept) {
        if (FEditStyle != esDateCalendarGx)
            SetValueText(QString::fromStdString(FDBGrid.EditorHost().EditorTextOf(*column->Field())));
        return;
    }
    if (FEditStyle == esPickListGx)
        AcceptPickList(*column);
    else if (FEditStyle == esDataListGx)
        AcceptDataList(*column, chosenKey);
    else if (FEditStyle == esDateCalendarGx)
        AcceptCalendar(*column);
}

void TDBGridInplaceEdit::RememberListSize(TColumnGx& column)
{
    if (FEditStyle == esPickListGx && FPickList->ResizedByUser()) {
        column.SetDropDownRows(FPickList->VisibleRows());
        column.SetDropDownWidth(FPickList->width());
    } else if (FEditStyle == esDataListGx && FDataList->ResizedByUser()) {
        column.SetDropDownRows(FDataList->RowCount());
        column.SetDropDownWidth(FDataList->width());
    }
}

void TDBGridInplaceEdit::AcceptPickList(TColumnGx& column)
{
    QListWidgetItem* item = FPickList->currentItem();
    if (item == nullptr || isReadOnly() || !FDBGrid.DataLink()->Edit())
        return;
    setText(item->text());
    EditorTextChanged();
    selectAll();
}

void TDBGridInplaceEdit::AcceptDataList(TColumnGx& column, const TVariant& key)
{
    TField& field = *column.Field();
    const std::string shown = FDataList->DisplayText();
    try {
        if (!isReadOnly() && FDBGrid.DataLink()->Edit())
            FDBGrid.DataLink()->DataSet()->SetFieldValues(field.KeyFields, key);
    } catch (...) {
        // Differs from the field, so it is written again.
        setText(QString::fromStdString(field.EditText()) + QLatin1Char(' '));
        throw;
    }
    setText(QString::fromStdString(shown));
    selectAll();
}

void TDBGridInplaceEdit::AcceptCalendar(TColumnGx& column)
{
    TField* field = column.Field();
    if (field == nullptr || isReadOnly() || !FDBGrid.DataLink()->Edit())
        return;
    const QDate date = FCalendar->Date();
    field->SetAsDateTime(EncodeDate(date.year(), date.month(), date.day()));
    SetValueText(QString::fromStdString(FDBGrid.EditorHost().EditorTextOf(*field)));
    selectAll();
}

void TDBGridInplaceEdit::ListMouseUp(QWidget& list, QPoint position)
{
    CloseUp(list.rect().contains(position));
}

// ---- keys, focus and the button

bool TDBGridInplaceEdit::DropDownKey(QKeyEvent& event)
{
    if (!HasDropDown())
        return false;
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const int key = event.key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (ListVisible() && (enter || key == Qt::Key_Escape) && !(modifiers & Qt::AltModifier)) {
        CloseUp(enter);
        return true;
    }
    if (!ListVisible() && enter && modifiers == Qt::ControlModifier) {
        DropDown();
        return true;
    }
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && modifiers == Qt::AltModifier) {
        if (ListVisible())
            CloseUp(true);
        else
            DropDown();
        return true;
    }
    if (!ListVisible()) {
        TColumnGx* column = Column();
        if (column != nullptr && column->AutoDropDown() && !event.text().isEmpty() && event.text().at(0).isPrint())
            DropDown();
        return false;
    }
    const bool listKey = key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Up ||
                         key == Qt::Key_Down ||
                         ((key == Qt::Key_Home || key == Qt::Key_End) && modifiers == Qt::ControlModifier) ||
                         ((key == Qt::Key_Left || key == Qt::Key_Right) && FEditStyle == esDateCalendarGx);
    if (!listKey)
        return false;
    ForwardToList(event);
    return true;
}

void TDBGridInplaceEdit::ForwardToList(QKeyEvent& event)
{
    if (FEditStyle == esDateCalendarGx) {
        FCalendar->ForwardKey(event);
        return;
    }
    if (FEditStyle == esDataListGx) {
        FDataList->ForwardKey(event);
        setText(QString::fromStdString(FDataList->DisplayText()));
        return;
    }
    FPickList->ForwardKey(event);
    if (QListWidgetItem* item = FPickList->currentItem(); item != nullptr && item->text() != text())
        setText(item->text());
}

void TDBGridInplaceEdit::keyPressEvent(QKeyEvent* event)
{
    if (DropDownKey(*event) || EditorKeyDown(*event)) {
        event->accept();
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && modifiers == Qt::ControlModifier && !WordWrap()) {
        // Ctrl+Enter types no line break into a single-line editor: the key
        // goes on without its character.
        QKeyEvent withoutText(QEvent::KeyPress, event->key(), event->modifiers(), QString());
        TInplaceEdit::keyPressEvent(&withoutText);
        event->accept();
        return;
    }
    TInplaceEdit::keyPressEvent(event);
}

void TDBGridInplaceEdit::focusOutEvent(QFocusEvent* event)
{
    TInplaceEdit::focusOutEvent(event);
    FDropDownWatch.CheckFocusLater();
}

bool TDBGridInplaceEdit::WheelDropDown(bool down)
{
    if (!ListVisible() || FActiveList == nullptr)
        return false;
    // Scrolling lists take the wheel in their viewport.
    auto* area = qobject_cast<QAbstractScrollArea*>(FActiveList);
    QWidget& target = area != nullptr ? *area->viewport() : *FActiveList;
    const QPoint local = target.rect().center();
    QWheelEvent wheel(QPointF(local), QPointF(target.mapToGlobal(local)), QPoint(),
                      QPoint(0, down ? -QWheelEvent::DefaultDeltasPerStep : QWheelEvent::DefaultDeltasPerStep),
                      Qt::NoButton, QApplication::keyboardModifiers(), Qt::NoScrollPhase, false);
    QApplication::sendEvent(&target, &wheel);
    return true;
}

std::string TDBGridInplaceEdit::CurrentBookmark() const
{
    const TDataSet* dataSet = FDBGrid.DataLink()->DataSet();
    return dataSet != nullptr && FDBGrid.DataLink()->Active() ? dataSet->Bookmark() : std::string();
}
