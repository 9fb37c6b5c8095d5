#pragma once
// The status bar's read-only panel: shown while the open table cannot be
// modified, saying so and why in Chinese ("只读：表带有二级索引…"), with the
// engine's own words in its tool tip.  No box to dismiss.

#include <QLabel>

#include <string>

class TReadOnlyPanel : public QLabel {
    Q_OBJECT
public:
    explicit TReadOnlyPanel(QWidget* parent = nullptr);

    // Shows the reason the engine gave; hides the panel when it is empty.
    void ShowReason(const std::string& reason);
};

// The Chinese for one of the engine's read-only reasons (a general one for
// reasons it does not know).
QString ReadOnlyReasonText(const std::string& reason);
