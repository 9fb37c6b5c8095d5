#pragma once
// The file-open dialog the shell uses: set the properties, call Execute, read
// FileName.  Execute shows a QFileDialog over the program's active window;
// tests install a TOpenDialogAnswerer that picks the file or cancels.

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QFileDialog;
class QWidget;

class TOpenDialog {
public:
    // Pairs of description and patterns, all separated by '|':
    // "dBASE tables|*.dbf|All files|*.*"; several patterns of one entry are
    // separated by ';'.
    std::string Filter;
    int FilterIndex = 1;          // 1-based entry of Filter shown first
    std::string DefaultExt;       // "dbf": appended to a chosen name without extension
    std::string Title;            // empty: "Open"
    std::string InitialDir;
    std::string FileName;         // before Execute the name proposed, after it the full path chosen

    // Lets the user choose an existing file; false when cancelled, and then
    // FileName keeps its value.
    bool Execute();

    // The dialog Execute shows, built but not run.
    QFileDialog* CreateDialog(QWidget* parent = nullptr) const;
};

// "A|*.a|B|*.b;*.c" -> {"A (*.a)", "B (*.b *.c)"}, the name filters of a
// QFileDialog.  A description that already shows its patterns in
// parentheses is kept as it is.
std::vector<std::string> QtNameFilters(const std::string& filter);

// `fileName` with ".defaultExt" appended when it has no extension.
std::string WithDefaultExt(const std::string& fileName, const std::string& defaultExt);

// What an open dialog was asked with.
struct TOpenDialogRequest {
    std::string Filter;
    int FilterIndex = 1;
    std::string DefaultExt;
    std::string Title;
    std::string InitialDir;
    std::string FileName;
};

// The chosen file, or nothing to cancel.
using TOpenDialogAnswer = std::function<std::optional<std::string>(const TOpenDialogRequest& request)>;

// While it lives, answers every open dialog in place of the user.  Guards nest.
class TOpenDialogAnswerer {
public:
    explicit TOpenDialogAnswerer(TOpenDialogAnswer answer);
    // Always chooses `fileName`, or cancels when it is empty.
    explicit TOpenDialogAnswerer(std::optional<std::string> fileName);
    ~TOpenDialogAnswerer();
    TOpenDialogAnswerer(const TOpenDialogAnswerer&) = delete;
    TOpenDialogAnswerer& operator=(const TOpenDialogAnswerer&) = delete;

    const std::vector<TOpenDialogRequest>& Requests() const { return FRequests; }
    int Count() const { return static_cast<int>(FRequests.size()); }

    static TOpenDialogAnswerer* Current();
    std::optional<std::string> Answer(const TOpenDialogRequest& request);

private:
    TOpenDialogAnswer FAnswer;
    std::vector<TOpenDialogRequest> FRequests;
    TOpenDialogAnswerer* FPrevious;
};
