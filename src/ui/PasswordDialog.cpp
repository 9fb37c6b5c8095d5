#include "ui/PasswordDialog.h"

#include "data/Session.h"
#include "ui/DialogService.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Masks the edit with '*' whatever the style's own password character.
class TAsteriskStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget, QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QPushButton* MakeButton(const char* caption, const char* objectName, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TPasswordDialog::TPasswordDialog(TSession& session, QWidget* parent)
    : QDialog(parent), FSession(session)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setWindowTitle(QStringLiteral("Enter password"));
    setObjectName(QStringLiteral("PasswordDialog"));

    FGroup = new QGroupBox(QStringLiteral("Password"), this);
    FGroup->setObjectName(QStringLiteral("GroupBox1"));
    FEdit = new QLineEdit(FGroup);
    FEdit->setObjectName(QStringLiteral("Edit"));
    auto* style = new TAsteriskStyle;
    style->setParent(this);
    FEdit->setStyle(style);
    FEdit->setEchoMode(QLineEdit::Password);
    FAddButton = MakeButton("&Add", "AddButton", FGroup);
    FRemoveButton = MakeButton("&Remove", "RemoveButton", FGroup);
    FRemoveAllButton = MakeButton("Re&move all", "RemoveAllBtn", FGroup);
    FOKButton = MakeButton("&OK", "OKButton", this);
    FCancelButton = MakeButton("Cancel", "CancelButton", this);
    FOKButton->setDefault(true);

    auto* groupLayout = new QGridLayout(FGroup);
    groupLayout->addWidget(FEdit, 0, 0);
    groupLayout->addWidget(FAddButton, 0, 1);
    groupLayout->addWidget(FRemoveButton, 1, 1);
    groupLayout->addWidget(FRemoveAllButton, 2, 1);
    groupLayout->setColumnStretch(0, 1);
    groupLayout->setRowStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(FOKButton);
    buttons->addWidget(FCancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FGroup, 1);
    layout->addLayout(buttons);
    setMinimumWidth(320);

    connect(FEdit, &QLineEdit::textChanged, this, [this] { EditChange(); });
    connect(FAddButton, &QPushButton::clicked, this, [this] { AddClick(); });
    connect(FRemoveButton, &QPushButton::clicked, this, [this] { RemoveClick(); });
    connect(FRemoveAllButton, &QPushButton::clicked, this, [this] { RemoveAllClick(); });
    connect(FOKButton, &QPushButton::clicked, this, [this] { OKClick(); });
    connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);

    FAddButton->setEnabled(false);
    FRemoveButton->setEnabled(false);
    FOKButton->setEnabled(false);
    FEdit->setFocus();
}

std::string TPasswordDialog::EditText() const
{
    return FEdit->text().toStdString();
}

void TPasswordDialog::EditChange()
{
    const bool hasText = !FEdit->text().isEmpty();
    FAddButton->setEnabled(hasText);
    FRemoveButton->setEnabled(hasText);
    FOKButton->setEnabled(hasText || FPasswordAdded);
}

void TPasswordDialog::AddClick()
{
    const std::string password = EditText();
    if (password.empty())
        return;
    FSession.AddPassword(password);
    FPasswordAdded = true;
    FEdit->clear();
    FEdit->setFocus();
}

void TPasswordDialog::RemoveClick()
{
    const std::string password = EditText();
    if (password.empty())
        return;
    FSession.RemovePassword(password);
    FEdit->clear();
    FEdit->setFocus();
}

void TPasswordDialog::RemoveAllClick()
{
    FSession.RemoveAllPasswords();
    FEdit->setFocus();
}

void TPasswordDialog::OKClick()
{
    const std::string password = EditText();
    if (!password.empty())
        FSession.AddPassword(password);
    accept();
}

bool PasswordDialog(TSession& session)
{
    // exec() frees the dialog (it deletes itself on close) before returning.
    auto* dialog = new TPasswordDialog(session, DialogParent());
    return dialog->exec() == QDialog::Accepted;
}

void InstallPasswordDialog(TSession& session)
{
    session.OnPassword = [](TSession& asking, const std::string&) { return PasswordDialog(asking); };
}
