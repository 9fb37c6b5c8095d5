#pragma once
// TPopupListbox: the pick list the in-place editor drops down under a pick
// list cell.  A top-most tool window with a thin border that never takes
// the focus (the editor keeps it and passes the list's keys on) and is drawn
// as focused.  The highlight follows the pointer; typed characters search
// the items (a search pauses out after two seconds, at most 32 characters);
// a size grip resizes it, which marks it resized by the user.

#include "editors/SizeGripGx.h"

#include <QListWidget>

#include <cstdint>
#include <functional>

class TPopupListbox : public QListWidget {
public:
    static constexpr int SearchTimeoutMs = 2000;
    static constexpr int MaxSearchLength = 32;
    static constexpr int DefaultItemHeight = 11;

    using TMouseUpEvent = std::function<void(TPopupListbox& sender, Qt::MouseButton button, QPoint position)>;
    using TWheelEvent = std::function<void(TPopupListbox& sender, bool& handled)>;

    explicit TPopupListbox(QWidget* owner);

    // Replaces the items; every item is ItemHeight pixels high.
    void SetItems(const QStringList& items);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    // The height that shows `rows` items, frame included.
    int HeightForRows(int rows) const;
    // The widest item text, in pixels.
    int WidestItemWidth() const;
    // Rows the client area shows (after a grip drag, for instance).
    int VisibleRows() const;
    const QString& SearchText() const { return FSearchText; }

    TSizeGripGx& SizeGrip() { return *FSizeGrip; }
    bool ResizedByUser() const { return FResizedByUser; }
    void SetResizedByUser(bool value) { FResizedByUser = value; }
    // A key the owner passes on while the list is open.
    void ForwardKey(QKeyEvent& event);

    TMouseUpEvent OnMouseUp;
    TWheelEvent OnMouseWheelDown;
    TWheelEvent OnMouseWheelUp;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SearchFor(const QString& typed);

    TSizeGripGx* FSizeGrip = nullptr;
    int FItemHeight = DefaultItemHeight;
    bool FResizedByUser = false;
    QString FSearchText;
    int64_t FLastKeyTime = 0;
};
