#pragma once
// The one place through which every modal message box of the program goes.
//
// MessageDlg shows a QMessageBox over the program's active window with the
// type's caption and icon and the buttons in their fixed order (Yes, No, OK,
// Cancel, Abort, Retry, Ignore, All, No to All, Yes to All, Help).  OK, else
// Yes, is the default button; Cancel, else No, else OK answers Escape.
// Closing the box any other way answers mrCancel.
//
// Tests install a TMessageAnswerer, which answers every box in place of the
// user and records what was asked.  On a display-less platform ("offscreen",
// "minimal") a box with no answerer installed raises std::logic_error
// instead of waiting for a user who is not there.

#include <exception>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class QMessageBox;
class QWidget;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
constexpr int MsgDlgBtnCount = mbHelp + 1;

class TMsgDlgButtons {
public:
    constexpr TMsgDlgButtons() = default;
    constexpr TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons)
    {
        for (TMsgDlgBtn button : buttons)
            FBits |= Bit(button);
    }
    constexpr bool Contains(TMsgDlgBtn button) const { return (FBits & Bit(button)) != 0; }
    constexpr bool IsEmpty() const { return FBits == 0; }
    constexpr void Include(TMsgDlgBtn button) { FBits |= Bit(button); }
    constexpr void Exclude(TMsgDlgBtn button) { FBits &= ~Bit(button); }
    constexpr bool operator==(const TMsgDlgButtons&) const = default;
    // The buttons in their display order.
    std::vector<TMsgDlgBtn> List() const;

private:
    static constexpr unsigned Bit(TMsgDlgBtn button) { return 1u << static_cast<unsigned>(button); }
    unsigned FBits = 0;
};

inline constexpr TMsgDlgButtons mbYesNo{mbYes, mbNo};
inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};

enum TModalResult { mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo, mrAll, mrNoToAll, mrYesToAll };

// The answer a button gives; mrNone for mbHelp (the program has no help
// file, so Help only closes the box).
TModalResult ModalResultOf(TMsgDlgBtn button);
// "&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&All", "N&o to All", "Yes to &All", "&Help".
const char* ButtonCaption(TMsgDlgBtn button);
// "Warning", "Error", "Information", "Confirm"; the application's name for mtCustom.
std::string DialogCaption(TMsgDlgType type);

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
// The text in a box with the application's name as caption and an OK button.
void ShowMessage(const std::string& text);
// An escaped exception's message in an error box; EAbort shows nothing.
void ShowException(const std::exception& error);

// The box MessageDlg shows, built but not run, and running a built box.
QMessageBox* CreateMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, QWidget* parent = nullptr);
TModalResult RunMessageDialog(QMessageBox& box);

// The window a modal dialog belongs to: the active modal dialog, else the
// active window, else the program's main window; null when none is shown.
QWidget* DialogParent();

// What a message box asked.
struct TMessageRequest {
    std::string Text;
    TMsgDlgType Type = mtCustom;
    TMsgDlgButtons Buttons;
};

using TMessageAnswer = std::function<TModalResult(const TMessageRequest& request)>;

// While it lives, answers every message box in place of the user.  Guards
// nest: the innermost one answers, and the previous one returns when it ends.
class TMessageAnswerer {
public:
    explicit TMessageAnswerer(TMessageAnswer answer);
    // Answers every box with the same result.
    explicit TMessageAnswerer(TModalResult answer);
    // Answers the boxes with these results in turn; raises std::logic_error
    // when more boxes come than answers were given.
    //   auto answerer = TMessageAnswerer::InTurn({mrYes, mrNo});
    static TMessageAnswerer InTurn(std::vector<TModalResult> answers);
    ~TMessageAnswerer();
    TMessageAnswerer(const TMessageAnswerer&) = delete;
    TMessageAnswerer& operator=(const TMessageAnswerer&) = delete;

    const std::vector<TMessageRequest>& Requests() const { return FRequests; }
    int Count() const { return static_cast<int>(FRequests.size()); }
    // The last request; raises std::logic_error when none came.
    const TMessageRequest& Last() const;

    // The innermost installed answerer, or null.
    static TMessageAnswerer* Current();
    TModalResult Answer(const TMessageRequest& request);

private:
    TMessageAnswer FAnswer;
    std::vector<TMessageRequest> FRequests;
    TMessageAnswerer* FPrevious;
};

// Raises std::logic_error when no user can answer a dialog (a display-less
// platform); `what` says which dialog.
void CheckDialogCanShow(const std::string& what);
