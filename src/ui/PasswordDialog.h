#pragma once
// The dialog that asks for the password of a protected table and keeps the
// session's password list: a masked edit in the group "Password", the
// buttons Add, Remove and Remove all acting on the session's list at once,
// OK and Cancel.  It frees itself when it closes.

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;
class TSession;

class TPasswordDialog : public QDialog {
public:
    explicit TPasswordDialog(TSession& session, QWidget* parent = nullptr);

    QGroupBox* Group() const { return FGroup; }
    QLineEdit* Edit() const { return FEdit; }
    QPushButton* AddButton() const { return FAddButton; }
    QPushButton* RemoveButton() const { return FRemoveButton; }
    QPushButton* RemoveAllButton() const { return FRemoveAllButton; }
    QPushButton* OKButton() const { return FOKButton; }
    QPushButton* CancelButton() const { return FCancelButton; }
    // Whether a password was added with Add since the dialog opened.
    bool PasswordAdded() const { return FPasswordAdded; }

private:
    void EditChange();
    void AddClick();
    void RemoveClick();
    void RemoveAllClick();
    void OKClick();
    std::string EditText() const;

    TSession& FSession;
    bool FPasswordAdded = false;
    QGroupBox* FGroup;
    QLineEdit* FEdit;
    QPushButton* FAddButton;
    QPushButton* FRemoveButton;
    QPushButton* FRemoveAllButton;
    QPushButton* FOKButton;
    QPushButton* FCancelButton;
};

// Shows the dialog modally over the active window; true when it ended with OK.
bool PasswordDialog(TSession& session);

// Makes the session ask the user through the dialog when a table needs a
// password it lacks.
void InstallPasswordDialog(TSession& session);
