#pragma once
// TPopupDataListGx: the lookup list the in-place editor drops down under a
// lookup cell.  A borderless tool window with a thin border that never
// takes the focus: the editor keeps it and passes the list's keys on.  The
// highlight follows the pointer; a size grip resizes the list, which then
// counts as resized by the user (the editor stores the new size in the
// column).  OnUserPick fires when a key change comes from the user's key
// or mouse action in the list.

#include "editors/DBLookupListBoxGx.h"
#include "editors/SizeGripGx.h"

class TPopupDataListGx : public TDBLookupListBoxGx {
public:
    using TMouseUpEvent = std::function<void(TPopupDataListGx& sender, Qt::MouseButton button, QPoint position)>;

    explicit TPopupDataListGx(QWidget* owner);

    TSizeGripGx& SizeGrip() { return *FSizeGrip; }
    bool ResizedByUser() const { return FResizedByUser; }
    void SetResizedByUser(bool value) { FResizedByUser = value; }
    // A key the owner passes on while the list is open.
    void ForwardKey(QKeyEvent& event);

    std::function<void(TPopupDataListGx& sender)> OnUserPick;
    // A mouse release in the list (the editor closes up on it).
    TMouseUpEvent OnMouseUp;

protected:
    bool event(QEvent* event) override;
    void KeyValueUpdated() override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TSizeGripGx* FSizeGrip = nullptr;
    bool FResizedByUser = false;
    int FUserActions = 0;
};
