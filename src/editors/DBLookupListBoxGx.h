#pragma once
// TDBLookupListBoxGx: a list box of a list dataset's records (one column
// per list field) with an optional title row and special row.  The record
// whose key is the current key is highlighted; the arrow and page keys,
// Home and End, the mouse (with auto-scrolling while dragging outside),
// the wheel and the scroll bar move it; typed characters search the
// display field.  The list shows RowCount records (1 to 100) and its
// height snaps to whole rows.

#include "editors/DBLookupControlGx.h"

#include <QScrollBar>

enum TLookupBorderStyleGx { bsNoneGx, bsSingleGx };

class TDBLookupListBoxGx : public TDBLookupControlGx {
public:
    static constexpr int DefaultRowCount = 7;
    static constexpr int MaxRowCount = 100;

    explicit TDBLookupListBoxGx(QWidget* parent = nullptr);
    ~TDBLookupListBoxGx() override;

    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);
    bool TitleRowVisible() const { return FTitleRowVisible; }
    void SetTitleRowVisible(bool value);
    TLookupBorderStyleGx BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TLookupBorderStyleGx value);
    // The text shown for the current key: the display field's, or the
    // special row's cell ListFieldIndex when the special row is selected.
    const std::string& DisplayText() const { return FDisplayText; }

    // Geometry of the rows (client coordinates).
    int RowHeight() const { return RowTextHeight(); }
    int TitleHeight() const { return FTitleHeight; }
    int SpecRowHeight() const { return FSpecRowHeight; }
    QRect ClientRect() const;
    // The window's row of the current key, -1 when none shows it.
    int RowUnderKey();
    // Records in the window and the row of the list dataset's current record.
    int WindowRecordCount() const { return FRecordCount; }
    int WindowActiveRecord() const { return FRecordIndex; }
    // The auto-scroll timer's interval while it runs, -1 when it does not.
    int AutoScrollInterval() const { return FScrollTimerId != 0 ? FScrollInterval : -1; }
    QScrollBar* ScrollBar() const { return FScrollBar; }

    std::function<void(TDBLookupListBoxGx& sender)> OnDblClick;

protected:
    void KeyValueUpdated() override;
    void ListWindowChanged() override;
    void BindListFields() override;
    void SpecRowUpdated() override;

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    // Moves the list dataset to the row at y and selects it (or the special row).
    void SelectAt(int y);
    void SelectCurrent();
    void SelectSpecRow();
    // Moves by the key's distance; false for a key that is not a move.
    bool MoveByKey(int key);
    bool IsPopup() const { return FPopup; }
    void SetPopup(bool value) { FPopup = value; }
    bool Tracking() const { return FTracking; }
    void StopTracking();

private:
    // Recomputes the row count from the height and snaps the height to it.
    void ApplyBounds();
    int HeightForRows(int rows) const;
    void UpdateScrollBar();
    void ScrollAction(int action);
    void AutoScroll(int y);
    void AutoScrollStep();
    void MoveList(int distance);
    // Painting (DBLookupListBoxPaint.cpp).
    void PaintTitles(QPainter& painter, const std::vector<int>& columns);
    void PaintSpecRow(QPainter& painter, const std::vector<int>& columns);
    void PaintRecords(QPainter& painter, const std::vector<int>& columns);
    std::vector<int> ColumnRights() const;

    QScrollBar* FScrollBar = nullptr;
    TLookupBorderStyleGx FBorderStyle = bsSingleGx;
    int FRowCount = DefaultRowCount;
    bool FTitleRowVisible = false;
    int FTitleHeight = 0;
    int FSpecRowHeight = 0;
    int FRecordIndex = 0;
    int FRecordCount = 0;
    bool FHasCurrent = false;
    std::string FDisplayText;
    bool FTracking = false;
    bool FApplyingBounds = false;
    bool FPopup = false;
    int FScrollTimerId = 0;
    int FScrollInterval = 0;
    int FScrollDirection = 0;
};
