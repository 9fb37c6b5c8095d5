// The delayed progress dialog and busy cursor of long clipboard work.

#include "exchange/LongWorkProgress.h"

#include "ui/DialogService.h"

#include <QApplication>
#include <QProgressDialog>

TLongWorkProgress::TLongWorkProgress(const QString& label, int total, bool cancellable, int delayMs)
    : FLabel(label), FTotal(total), FCancellable(cancellable), FDelayMs(delayMs)
{
    FTimer.start();
}

TLongWorkProgress::~TLongWorkProgress()
{
    FDialog.reset();
    if (FBusyCursor)
        QApplication::restoreOverrideCursor();
}

void TLongWorkProgress::Show()
{
    FDialog = std::make_unique<QProgressDialog>(DialogParent());
    FDialog->setWindowTitle(QString::fromStdString(DialogCaption(mtInformation)));
    FDialog->setLabelText(FLabel);
    FDialog->setWindowModality(Qt::ApplicationModal);
    FDialog->setAutoReset(false);
    FDialog->setAutoClose(false);
    FDialog->setMinimumDuration(0);
    if (!FCancellable)
        FDialog->setCancelButton(nullptr);
    FDialog->setRange(0, FTotal > 0 ? FTotal : 0);
    FDialog->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FBusyCursor = true;
}

bool TLongWorkProgress::Step(int done)
{
    if (FCancelled)
        return false;
    if (!FDialog) {
        if (FTimer.elapsed() < FDelayMs)
            return true;
        Show();
    }
    // The dialog is brought up to date a few times a second, not after
    // every record.
    const qint64 now = FTimer.elapsed();
    if (FLastUpdateMs >= 0 && now - FLastUpdateMs < UpdateIntervalMs) {
        FCancelled = FDialog->wasCanceled();
        return !FCancelled;
    }
    FLastUpdateMs = now;
    if (FTotal > 0)
        FDialog->setValue(std::min(done, FTotal));
    else
        FDialog->setLabelText(FLabel + QStringLiteral(" (%1)").arg(done));
    QApplication::processEvents();
    if (FDialog->wasCanceled())
        FCancelled = true;
    return !FCancelled;
}

QString RecordsChangedText(int count)
{
    return count == 1 ? QStringLiteral("1 record was changed.") : QStringLiteral("%1 records were changed.").arg(count);
}
