#pragma once
// TfrmAbout: the About box.  Modal, centred on the screen; it frees itself
// when it closes and clears the global reference, so each opening creates
// a new one.

#include <QDialog>

class QLabel;
class QPushButton;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* owner = nullptr);
    ~TfrmAbout() override;

    QLabel* Image1() const { return FImage1; }
    QPushButton* btnExit() const { return FbtnExit; }

    void btnExitClick();

protected:
    void closeEvent(QCloseEvent* event) override;   // FormClose

private:
    void CenterOnScreen();

    QLabel* FImage1;
    QPushButton* FbtnExit;
};

// Set when the About box is first created, cleared when it closes.
extern TfrmAbout* frmAbout;
