#pragma once
// TLongWorkProgress: the progress of a copy, cut, paste or delete that
// takes a while.  Nothing shows for work that ends within the delay (half
// a second); after it, a modal progress dialog (records done of the total
// when the total is known, a moving bar when not) and the busy cursor
// show until the work ends.  Step is called after every record; it keeps
// the dialog alive and answers whether the user wants the work to go on.

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;

class TLongWorkProgress {
public:
    static constexpr int DefaultDelayMs = 500;

    // total < 0: unknown.  Without cancellable the dialog has no Cancel.
    TLongWorkProgress(const QString& label, int total, bool cancellable, int delayMs = DefaultDelayMs);
    ~TLongWorkProgress();
    TLongWorkProgress(const TLongWorkProgress&) = delete;
    TLongWorkProgress& operator=(const TLongWorkProgress&) = delete;

    // `done` records finished; false once the user cancelled.
    bool Step(int done);
    bool Shown() const { return FDialog != nullptr; }
    bool Cancelled() const { return FCancelled; }
    // The dialog while it shows, else null.
    QProgressDialog* Dialog() const { return FDialog.get(); }

private:
    void Show();

    QString FLabel;
    int FTotal;
    bool FCancellable;
    int FDelayMs;
    bool FCancelled = false;
    bool FBusyCursor = false;
    static constexpr qint64 UpdateIntervalMs = 50;
    qint64 FLastUpdateMs = -1;
    QElapsedTimer FTimer;
    std::unique_ptr<QProgressDialog> FDialog;
};

// "1 record was changed." / "12 records were changed."
QString RecordsChangedText(int count);
