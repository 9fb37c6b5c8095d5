#include "editors/DBLookupListBoxGx.h"

#include "platform/Exceptions.h"
#include "ui/ExceptionReport.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>
#include <climits>

TDBLookupListBoxGx::TDBLookupListBoxGx(QWidget* parent) : TDBLookupControlGx(parent)
{
    FScrollBar = new QScrollBar(Qt::Vertical, this);
    FScrollBar->setFocusPolicy(Qt::NoFocus);
    FScrollBar->hide();
    connect(FScrollBar, &QScrollBar::actionTriggered, this, [this](int action) {
        RunHandler([&] { ScrollAction(action); });
    });
    ListLink().SetBufferCount(DefaultRowCount);
    SetBorderStyle(bsSingleGx);
}

TDBLookupListBoxGx::~TDBLookupListBoxGx()
{
    if (FScrollTimerId != 0)
        killTimer(FScrollTimerId);
}

// ---- size

void TDBLookupListBoxGx::SetBorderStyle(TLookupBorderStyleGx value)
{
    FBorderStyle = value;
    if (value == bsNoneGx) {
        setFrameStyle(QFrame::NoFrame);
    } else {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
    }
    SetRowCount(FRowCount);
}

void TDBLookupListBoxGx::SetTitleRowVisible(bool value)
{
    if (value == FTitleRowVisible)
        return;
    FTitleRowVisible = value;
    SetRowCount(FRowCount);
}

int TDBLookupListBoxGx::HeightForRows(int rows) const
{
    const int title = FTitleRowVisible ? RowTextHeight() + 1 : 0;
    const int special = SpecRow().Visible() ? SpecRowTextHeight() : 0;
    return BorderHeight() + rows * RowHeight() + title + special;
}

void TDBLookupListBoxGx::SetRowCount(int value)
{
    value = std::clamp(value, 1, MaxRowCount);
    resize(width(), HeightForRows(value));
    ApplyBounds();   // also when the height did not change
}

void TDBLookupListBoxGx::resizeEvent(QResizeEvent* event)
{
    TDBLookupControlGx::resizeEvent(event);
    ApplyBounds();
}

void TDBLookupListBoxGx::ApplyBounds()
{
    if (FApplyingBounds)
        return;
    FApplyingBounds = true;
    FTitleHeight = FTitleRowVisible ? RowTextHeight() + 1 : 0;
    FSpecRowHeight = SpecRow().Visible() ? SpecRowTextHeight() : 0;
    const int rows = std::clamp((height() - BorderHeight() - FTitleHeight - FSpecRowHeight) / RowHeight(), 1,
                                MaxRowCount);
    FRowCount = rows;
    if (rows != ListLink().BufferCount()) {
        ListLink().SetBufferCount(rows);
        ListWindowChanged();
    }
    const int snapped = HeightForRows(rows);
    if (height() != snapped)
        resize(width(), snapped);
    const QRect inside = contentsRect();
    const int barWidth = FScrollBar->sizeHint().width();
    FScrollBar->setGeometry(inside.right() - barWidth + 1, inside.top(), barWidth, inside.height());
    FApplyingBounds = false;
    update();
}

void TDBLookupListBoxGx::changeEvent(QEvent* event)
{
    TDBLookupControlGx::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        SetRowCount(FRowCount);
}

void TDBLookupListBoxGx::SpecRowUpdated()
{
    SetRowCount(FRowCount);
    TDBLookupControlGx::SpecRowUpdated();
}

QRect TDBLookupListBoxGx::ClientRect() const
{
    QRect client = contentsRect();
    if (FScrollBar->isVisible())
        client.setRight(FScrollBar->x() - 1);
    return client;
}

// ---- the key and the window

void TDBLookupListBoxGx::BindListFields()
{
    try {
        TDBLookupControlGx::BindListFields();
    } catch (...) {
        if (ListActive())
            KeyValueUpdated();
        else
            ListWindowChanged();
        throw;
    }
    if (ListActive())
        KeyValueUpdated();
    else
        ListWindowChanged();
}

void TDBLookupListBoxGx::KeyValueUpdated()
{
    TDBLookupControlGx::KeyValueUpdated();
    if (ListActive() && !Selecting()) {
        if (SpecRow().Selected() || FindKeyInList())
            ListWindowChanged();
        else if (ListDataSet()->Active())
            ListDataSet()->First();
    }
    if (SpecRow().Visible() && SpecRow().Selected())
        FDisplayText = SpecRow().CellText(ListFieldIndex());
    else if (ListActive() && DisplayField() != nullptr && !ListDataSet()->IsEmpty() && RowUnderKey() >= 0)
        FDisplayText = DisplayField()->DisplayText();
    else
        FDisplayText.clear();
    update();
}

void TDBLookupListBoxGx::ListWindowChanged()
{
    if (ListActive()) {
        FRecordIndex = ListLink().ActiveRecord();
        FRecordCount = ListLink().RecordCount();
        FHasCurrent = !(CurrentKey().IsNull() && ListDataSet()->Bof());
    } else {
        FRecordIndex = 0;
        FRecordCount = 0;
        FHasCurrent = false;
    }
    UpdateScrollBar();
    update();
}

int TDBLookupListBoxGx::RowUnderKey()
{
    if (!ListActive() || CurrentKey().IsNull())
        return -1;
    const int saved = ListLink().ActiveRecord();
    int found = -1;
    for (int row = 0; row < ListLink().RecordCount() && found < 0; ++row) {
        ListLink().SetActiveRecord(row);
        if (ListKeyValue() == CurrentKey())
            found = row;
    }
    ListLink().SetActiveRecord(saved);
    return found;
}

void TDBLookupListBoxGx::SelectCurrent()
{
    SetSelecting(true);
    try {
        const TVariant key = ListKeyValue();
        if (!(key == CurrentKey()))
            ChooseKeyValue(key);
    } catch (...) {
        SetSelecting(false);
        throw;
    }
    SetSelecting(false);
    update();
}

void TDBLookupListBoxGx::SelectSpecRow()
{
    SetSelecting(true);
    try {
        if (!(SpecRow().Value() == CurrentKey()))
            ChooseKeyValue(SpecRow().Value());
    } catch (...) {
        SetSelecting(false);
        throw;
    }
    SpecRow().SetSelected(true);
    SetSelecting(false);
    FDisplayText = SpecRow().CellText(ListFieldIndex());
    update();
}

// ---- keys

bool TDBLookupListBoxGx::MoveByKey(int key)
{
    int distance = 0;
    switch (key) {
    case Qt::Key_PageUp: distance = 1 - FRowCount; break;
    case Qt::Key_PageDown: distance = FRowCount - 1; break;
    case Qt::Key_End: distance = INT_MAX; break;
    case Qt::Key_Home: distance = INT_MIN; break;
    case Qt::Key_Up:
    case Qt::Key_Left: distance = -1; break;
    case Qt::Key_Down:
    case Qt::Key_Right: distance = 1; break;
    default: return false;
    }
    ClearSearchText();
    TDataSet& list = *ListDataSet();
    if (distance < 0 && (list.Bof() || SpecRow().Selected()) && SpecRow().Visible()) {
        SelectSpecRow();
        list.First();
        return true;
    }
    if (distance > 0 && SpecRow().Selected())
        list.First();
    if (distance == INT_MIN) {
        list.First();
    } else if (distance == INT_MAX) {
        list.Last();
    } else {
        const int row = RowUnderKey();
        if (row >= 0) {
            list.MoveBy(row - ListLink().ActiveRecord());
            // Up from the first record goes on to the special row.
            if (list.MoveBy(distance) == 0 && distance < 0 && SpecRow().Visible()) {
                SelectSpecRow();
                list.First();
                return true;
            }
        } else {
            KeyValueUpdated();
        }
    }
    SelectCurrent();
    return true;
}

void TDBLookupListBoxGx::keyPressEvent(QKeyEvent* event)
{
    if (!CanChangeKey()) {
        TDBLookupControlGx::keyPressEvent(event);
        return;
    }
    if (MoveByKey(event->key()))
        return;
    const QString text = event->text();
    if (text.isEmpty()) {
        TDBLookupControlGx::keyPressEvent(event);
        return;
    }
    for (char32_t character : text.toUcs4())
        HandleSearchChar(character);
}

// ---- mouse

void TDBLookupListBoxGx::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        TDBLookupControlGx::mousePressEvent(event);
        return;
    }
    ClearSearchText();
    if (!FPopup) {
        setFocus(Qt::MouseFocusReason);
        if (!hasFocus())
            return;
    }
    if (!CanChangeKey())
        return;
    FTracking = true;
    const int y = event->position().toPoint().y() - ClientRect().top();
    if (y >= FTitleHeight)
        SelectAt(y);
}

void TDBLookupListBoxGx::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !CanChangeKey()) {
        TDBLookupControlGx::mouseDoubleClickEvent(event);
        return;
    }
    const int y = event->position().toPoint().y() - ClientRect().top();
    const int row = (y - FTitleHeight - FSpecRowHeight) / RowHeight();
    if (y >= FTitleHeight + FSpecRowHeight && row == FRecordIndex && OnDblClick)
        OnDblClick(*this);
}

void TDBLookupListBoxGx::mouseMoveEvent(QMouseEvent* event)
{
    if (!FTracking) {
        TDBLookupControlGx::mouseMoveEvent(event);
        return;
    }
    const int y = event->position().toPoint().y() - ClientRect().top();
    if (y >= FTitleHeight && y < ClientRect().height())
        SelectAt(y);
    AutoScroll(y);
}

void TDBLookupListBoxGx::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !FTracking) {
        TDBLookupControlGx::mouseReleaseEvent(event);
        return;
    }
    StopTracking();
    const int y = event->position().toPoint().y() - ClientRect().top();
    if (y >= FTitleHeight)
        SelectAt(y);
}

void TDBLookupListBoxGx::StopTracking()
{
    FTracking = false;
    if (FScrollTimerId != 0)
        killTimer(FScrollTimerId);
    FScrollTimerId = 0;
}

void TDBLookupListBoxGx::SelectAt(int y)
{
    if (!ListActive())
        return;
    if (SpecRow().Visible() && y >= FTitleHeight && y < FTitleHeight + FSpecRowHeight) {
        SelectSpecRow();
        return;
    }
    if (y < FTitleHeight + FSpecRowHeight)
        return;
    y = std::min(y, ClientRect().height() - 1);
    const int row = (y - FTitleHeight - FSpecRowHeight) / RowHeight();
    ListDataSet()->MoveBy(row - ListLink().ActiveRecord());
    SelectCurrent();
}

void TDBLookupListBoxGx::AutoScroll(int y)
{
    int speed = 0;
    if (y < 0) {
        FScrollDirection = -1;
        speed = -y;
    } else if (y >= ClientRect().height()) {
        FScrollDirection = 1;
        speed = y - ClientRect().height() + 1;
    } else {
        if (FScrollTimerId != 0)
            killTimer(FScrollTimerId);
        FScrollTimerId = 0;
        return;
    }
    const int interval = std::max(0, 200 - 15 * speed);
    if (FScrollTimerId != 0 && interval == FScrollInterval)
        return;
    if (FScrollTimerId != 0)
        killTimer(FScrollTimerId);
    FScrollInterval = interval;
    FScrollTimerId = startTimer(interval);
}

void TDBLookupListBoxGx::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == FScrollTimerId)
        AutoScrollStep();
    else
        TDBLookupControlGx::timerEvent(event);
}

void TDBLookupListBoxGx::AutoScrollStep()
{
    if (!ListActive())
        return;
    TDataSet& list = *ListDataSet();
    if (FScrollDirection < 0 && SpecRow().Visible() && (list.Bof() || SpecRow().Selected())) {
        if (!SpecRow().Selected())
            SelectSpecRow();
        return;
    }
    if (FScrollDirection > 0 && SpecRow().Selected()) {
        list.First();
        SelectCurrent();
        return;
    }
    if (list.MoveBy(FScrollDirection) != 0)
        SelectCurrent();
}

// ---- scrolling

void TDBLookupListBoxGx::MoveList(int distance)
{
    if (ListActive() && distance != 0)
        ListDataSet()->MoveBy(distance);
}

void TDBLookupListBoxGx::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (!ListActive() || delta == 0) {
        TDBLookupControlGx::wheelEvent(event);
        return;
    }
    ClearSearchText();
    MoveList(delta < 0 ? FRecordCount - FRecordIndex : -(FRecordIndex + 1));
    event->accept();
}

void TDBLookupListBoxGx::UpdateScrollBar()
{
    const QSignalBlocker block(FScrollBar);
    int maximum = 0;
    int position = 0;
    int page = FRowCount;
    TDataSet* list = ListActive() ? ListDataSet() : nullptr;
    if (list != nullptr && list->Active() && list->IsSequenced()) {
        maximum = static_cast<int>(std::min<int64_t>(list->RecordCount() - 1, INT_MAX - FRowCount));
        maximum = std::max(0, maximum - page + 1);
        position = list->State() == dsInsert ? 0 : static_cast<int>(list->RecNo() - 1 - FRecordIndex);
    } else if (list != nullptr && FRecordCount == FRowCount && FRecordCount > 0) {
        maximum = 4;
        page = 1;
        position = list->Bof() ? 0 : list->Eof() ? 4 : 2;
    }
    const bool show = maximum > 0;
    if (FScrollBar->maximum() != maximum || FScrollBar->pageStep() != page) {
        FScrollBar->setRange(0, maximum);
        FScrollBar->setPageStep(page);
    }
    FScrollBar->setSliderPosition(std::clamp(position, 0, maximum));
    if (FScrollBar->isVisible() != show) {
        FScrollBar->setVisible(show);
        update();
    }
}

void TDBLookupListBoxGx::ScrollAction(int action)
{
    if (!ListActive())
        return;
    ClearSearchText();
    TDataSet& list = *ListDataSet();
    const int n = FRecordCount;
    const int active = FRecordIndex;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: MoveList(-(active + 1)); break;
    case QAbstractSlider::SliderSingleStepAdd: MoveList(n - active); break;
    case QAbstractSlider::SliderPageStepSub: MoveList(1 - active - n); break;
    case QAbstractSlider::SliderPageStepAdd: MoveList(2 * n - active - 2); break;
    case QAbstractSlider::SliderToMinimum: list.First(); break;
    case QAbstractSlider::SliderToMaximum: list.Last(); break;
    case QAbstractSlider::SliderMove: {
        const int track = FScrollBar->sliderPosition();
        if (list.IsSequenced()) {
            // Track position t shows record t + 1 at the top: moving down puts
            // the current record on the window's last row, moving up on its first.
            const int current = static_cast<int>(list.RecNo());
            const int first = current - active;
            if (track > first - 1)
                MoveList(track + n - current);
            else if (track < first - 1)
                MoveList(track + 1 - current);
        } else if (track == 0) {
            list.First();
        } else if (track == 1) {
            MoveList(1 - active - n);
        } else if (track == 3) {
            MoveList(2 * n - active - 2);
        } else if (track == 4) {
            list.Last();
        }
        break;
    }
    default: break;
    }
    UpdateScrollBar();
}
