#pragma once
// TInplaceDropDownWatchGx: what ends an open drop-down of the in-place
// editor without taking its value, watched across the application while
// the drop-down is open: a press on any widget other than the editor (with
// its buttons) and the drop-down; the application losing the activation,
// or the focus going to a widget outside both; the editor moving or hiding
// (the grid scrolled, sized or left the cell); the editor's window moving.
// A drop-down that never takes the focus but was made the active window
// on showing (some window systems do that with every new window) hands the
// activation straight back to the editor's window instead.

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>

class TInplaceDropDownWatchGx : public QObject {
public:
    // `cancel` closes the drop-down without taking its value.
    TInplaceDropDownWatchGx(QWidget& editor, std::function<void()> cancel);
    ~TInplaceDropDownWatchGx() override;

    // Starts watching for the drop-down just shown; Stop ends it.
    void Start(QWidget& dropDown);
    void Stop();
    bool Watching() const { return FDropDown != nullptr; }
    // Decides, once the focus or activation change under way is over,
    // whether it ends the drop-down.
    void CheckFocusLater();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The editor, the drop-down or a widget inside either.
    bool Owns(const QWidget* widget) const;
    void CheckFocus();
    void Cancel();

    QWidget& FEditor;
    QPointer<QWidget> FDropDown;
    std::function<void()> FCancel;
};
