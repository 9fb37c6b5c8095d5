#pragma once
// Helpers of the shell's widget tests: an in-memory table to bind, a main
// window that is cleaned up after each test, a manual repeat timer.

#include "app/MainForm.h"
#include "app/RepeatTimer.h"
#include "data/MemTable.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// An in-memory table of `count` records (ID 1..count, NAME "name N"), open.
std::unique_ptr<TMemTable> MakeOpenMemTable(int count, bool readOnly = false);

// A timer that fires only when the test says so, recording the intervals asked.
class TManualRepeatTimer final : public TRepeatTimer {
public:
    void Start(int intervalMs) override
    {
        FActive = true;
        Intervals.push_back(intervalMs);
    }
    void Stop() override { FActive = false; }
    bool Active() const override { return FActive; }
    void Fire()
    {
        if (FActive && OnTimer)
            OnTimer();
    }

    std::vector<int> Intervals;

private:
    bool FActive = false;
};

// Creates the main window as the program does, shows it and waits until it
// is the active window; the destructor frees what is left of it.
class TMainWindowHolder {
public:
    TMainWindowHolder();
    ~TMainWindowHolder();
    TfrmMain* operator->() const { return FWindow.data(); }
    TfrmMain* Get() const { return FWindow.data(); }

private:
    QPointer<TfrmMain> FWindow;
};

// Runs pending deferred deletes (forms that freed themselves).
void FlushDeferredDeletes();

// Calls `act` with the next modal window once the event loop shows it.  The
// window may appear a few event-loop turns after the call that opens it, so
// this looks again every few milliseconds; after five seconds without one it
// closes whatever is modal, so a broken test fails instead of hanging.
void WhenModalShows(std::function<void(QWidget& modal)> act);

// A scratch folder removed at the end of the test.
class TScratchDir {
public:
    TScratchDir();
    ~TScratchDir();
    std::string Path(const std::string& name) const { return FPath + "/" + name; }
    // Copies one of the committed sample files (and the files that belong to it) here.
    std::string CopySample(const std::string& name, const std::string& as = "") const;
    // Copies a table of the shared test data with its companion files (same
    // name, any extension), writable; the copy's path, or "" when the test
    // data lacks it.
    std::string CopyShared(const std::string& relative) const;

private:
    std::string FPath;
};
