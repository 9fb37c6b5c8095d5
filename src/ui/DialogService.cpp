#include "ui/DialogService.h"

#include "platform/Exceptions.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

#include <memory>
#include <stdexcept>

namespace {

TMessageAnswerer* CurrentAnswerer = nullptr;

QMessageBox::Icon IconOf(TMsgDlgType type)
{
    switch (type) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
    case mtCustom: break;
    }
    return QMessageBox::NoIcon;
}

TMsgDlgBtn DefaultButtonOf(const std::vector<TMsgDlgBtn>& buttons, TMsgDlgButtons set)
{
    if (set.Contains(mbOK))
        return mbOK;
    if (set.Contains(mbYes))
        return mbYes;
    return buttons.front();
}

bool EscapeButtonOf(TMsgDlgButtons set, TMsgDlgBtn& button)
{
    for (TMsgDlgBtn candidate : {mbCancel, mbNo, mbOK})
        if (set.Contains(candidate)) {
            button = candidate;
            return true;
        }
    return false;
}

const char* const ButtonProperty = "tmMsgDlgBtn";

} // namespace

std::vector<TMsgDlgBtn> TMsgDlgButtons::List() const
{
    std::vector<TMsgDlgBtn> list;
    for (int i = 0; i < MsgDlgBtnCount; ++i)
        if (Contains(static_cast<TMsgDlgBtn>(i)))
            list.push_back(static_cast<TMsgDlgBtn>(i));
    return list;
}

TModalResult ModalResultOf(TMsgDlgBtn button)
{
    switch (button) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
    case mbHelp: return mrNone;
    }
    return mrNone;
}

const char* ButtonCaption(TMsgDlgBtn button)
{
    switch (button) {
    case mbYes: return "&Yes";
    case mbNo: return "&No";
    case mbOK: return "OK";
    case mbCancel: return "Cancel";
    case mbAbort: return "&Abort";
    case mbRetry: return "&Retry";
    case mbIgnore: return "&Ignore";
    case mbAll: return "&All";
    case mbNoToAll: return "N&o to All";
    case mbYesToAll: return "Yes to &All";
    case mbHelp: return "&Help";
    }
    return "";
}

std::string DialogCaption(TMsgDlgType type)
{
    switch (type) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    case mtCustom: break;
    }
    QString name = QGuiApplication::applicationDisplayName();
    return name.toStdString();
}

QWidget* DialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(widget) && widget->isVisible())
            return widget;
    return nullptr;
}

void CheckDialogCanShow(const std::string& what)
{
    if (QCoreApplication::instance() == nullptr)
        throw std::logic_error(what + " needs a running application");
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        throw std::logic_error(what + " cannot be answered on the display-less platform '" +
                               platform.toStdString() + "'; install an answerer");
}

QMessageBox* CreateMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, QWidget* parent)
{
    if (buttons.IsEmpty())
        buttons.Include(mbOK);
    auto* box = new QMessageBox(parent);
    box->setWindowTitle(QString::fromStdString(DialogCaption(type)));
    box->setIcon(IconOf(type));
    box->setText(QString::fromStdString(text));
    box->setTextFormat(Qt::PlainText);

    const std::vector<TMsgDlgBtn> list = buttons.List();
    const TMsgDlgBtn defaultButton = DefaultButtonOf(list, buttons);
    TMsgDlgBtn escapeButton = mbCancel;
    const bool hasEscape = EscapeButtonOf(buttons, escapeButton);
    for (TMsgDlgBtn button : list) {
        // One role for all keeps the buttons in our order on every style.
        QPushButton* push = box->addButton(QString::fromLatin1(ButtonCaption(button)), QMessageBox::ActionRole);
        push->setProperty(ButtonProperty, static_cast<int>(button));
        if (button == defaultButton)
            box->setDefaultButton(push);
        if (hasEscape && button == escapeButton)
            box->setEscapeButton(push);
    }
    return box;
}

TModalResult RunMessageDialog(QMessageBox& box)
{
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr)
        return mrCancel;
    QVariant button = clicked->property(ButtonProperty);
    return button.isValid() ? ModalResultOf(static_cast<TMsgDlgBtn>(button.toInt())) : mrCancel;
}

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    if (buttons.IsEmpty())
        buttons.Include(mbOK);
    if (TMessageAnswerer* answerer = TMessageAnswerer::Current())
        return answerer->Answer(TMessageRequest{text, type, buttons});
    CheckDialogCanShow("The message box \"" + text + "\"");
    std::unique_ptr<QMessageBox> box(CreateMessageDialog(text, type, buttons, DialogParent()));
    return RunMessageDialog(*box);
}

void ShowMessage(const std::string& text)
{
    MessageDlg(text, mtCustom, {mbOK});
}

void ShowException(const std::exception& error)
{
    if (dynamic_cast<const EAbort*>(&error) != nullptr)
        return;
    MessageDlg(error.what(), mtError, {mbOK});
}

// ---- TMessageAnswerer ------------------------------------------------------

TMessageAnswerer::TMessageAnswerer(TMessageAnswer answer) : FAnswer(std::move(answer)), FPrevious(CurrentAnswerer)
{
    CurrentAnswerer = this;
}

TMessageAnswerer::TMessageAnswerer(TModalResult answer)
    : TMessageAnswerer([answer](const TMessageRequest&) { return answer; })
{
}

TMessageAnswerer TMessageAnswerer::InTurn(std::vector<TModalResult> answers)
{
    return TMessageAnswerer([queue = std::move(answers), next = size_t(0)](const TMessageRequest& request) mutable {
        if (next >= queue.size())
            throw std::logic_error("No answer left for the message box \"" + request.Text + "\"");
        return queue[next++];
    });
}

TMessageAnswerer::~TMessageAnswerer()
{
    CurrentAnswerer = FPrevious;
}

const TMessageRequest& TMessageAnswerer::Last() const
{
    if (FRequests.empty())
        throw std::logic_error("No message box was shown");
    return FRequests.back();
}

TMessageAnswerer* TMessageAnswerer::Current()
{
    return CurrentAnswerer;
}

TModalResult TMessageAnswerer::Answer(const TMessageRequest& request)
{
    FRequests.push_back(request);
    TModalResult result = FAnswer(request);
    // Closing a box always answers mrCancel; any other answer must be a button's.
    bool possible = result == mrCancel;
    for (TMsgDlgBtn button : request.Buttons.List())
        possible = possible || ModalResultOf(button) == result;
    if (!possible)
        throw std::logic_error("The answer " + std::to_string(result) + " is not a button of the message box \"" +
                               request.Text + "\"");
    return result;
}
