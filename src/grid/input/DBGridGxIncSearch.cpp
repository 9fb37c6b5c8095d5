#include "grid/input/DBGridGxIncSearch.h"

#include "data/DataSet.h"
#include "grid/DBGridGx.h"
#include "grid/GridDataLinkGx.h"
#include "grid/input/DBGridGxSelectColumn.h"
#include "platform/ScopeGuard.h"
#include "ui/ExceptionReport.h"

#include <QLocale>

namespace {
int GTypingTimeout = TDBGridGxIncSearch::TypingTimeoutMs;

QString Folded(const QString& text) { return QLocale().toUpper(text); }
}  // namespace

int TDBGridGxIncSearch::TypingTimeout() { return GTypingTimeout; }

void TDBGridGxIncSearch::SetTypingTimeout(int ms) { GTypingTimeout = ms; }

TDBGridGxIncSearch::TDBGridGxIncSearch(TCustomDBGridGx& grid) : FGrid(grid)
{
    FTimer.setSingleShot(true);
    QObject::connect(&FTimer, &QTimer::timeout, &FGrid, [this] { RunHandler([this] { End(); }); });
}

bool TDBGridGxIncSearch::CurrentRecordMatches(const QString& candidate, QString& own) const
{
    TColumnGx* column = GridCurrentColumn(FGrid);
    if (!column)
        return false;
    const QString text = QString::fromStdString(column->DisplayText());
    if (text.size() < candidate.size())
        return false;
    own = text.left(candidate.size());
    return Folded(own) == Folded(candidate);
}

bool TDBGridGxIncSearch::Walk(const QString& candidate, TDirection direction, QString& own)
{
    TDataSet& dataSet = *FGrid.DataLink()->DataSet();
    const bool backward = direction == isdPrevious;
    dataSet.DisableControls();
    // The controls come back on every path; the notifications they send
    // are the search's own and must not end it.
    TScopeExit enable([&] {
        TValueRollback<bool> walking(FWalking, true);
        dataSet.EnableControls();
    });
    TValueRollback<bool> walking(FWalking, true);
    FGrid.SaveViewPosition();
    if (direction == isdNone)
        dataSet.First();
    else
        dataSet.MoveBy(backward ? -1 : 1);
    // A step that could not move leaves Bof or Eof set: nothing beyond.
    while (!(backward ? dataSet.Bof() : dataSet.Eof())) {
        if (CurrentRecordMatches(candidate, own))
            return true;
        dataSet.MoveBy(backward ? -1 : 1);
    }
    FGrid.RestoreViewPosition();
    return false;
}

void TDBGridGxIncSearch::Step(const std::string& additional, int timeout, TDirection direction)
{
    TGridDataLinkGx* link = FGrid.DataLink();
    if (!link->Active() || !link->DataSet())
        return;
    const std::string oldText = FText;
    QString candidate = QString::fromStdString(FText + additional);
    bool found = candidate.isEmpty();
    if (!candidate.isEmpty()) {
        QString own;
        if (direction == isdNone && CurrentRecordMatches(candidate, own))
            found = true;
        else
            found = Walk(candidate, direction, own);
        if (found)
            candidate = own;
    }
    FGrid.HideEditor();
    FActive = true;
    FText = found ? candidate.toStdString() : oldText;
    RepaintCurrentRow();
    FTimeout = timeout;
    RestartTimer();
}

void TDBGridGxIncSearch::RemoveLastCharacter()
{
    if (FText.empty())
        return;
    size_t end = FText.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(FText[end]) & 0xC0) == 0x80)
        --end;
    FText.erase(end);
    RepaintCurrentRow();
    RestartTimer();
}

void TDBGridGxIncSearch::End()
{
    FTimer.stop();
    if (!FActive)
        return;
    FActive = false;
    FText.clear();
    RepaintCurrentRow();
    if (FGrid.Options().Contains(dgAlwaysShowEditor))
        FGrid.ShowEditor();
}

void TDBGridGxIncSearch::RecordMoved()
{
    if (FActive && !FWalking)
        End();
}

void TDBGridGxIncSearch::RestartTimer()
{
    FTimer.stop();
    if (FTimeout >= 0)
        FTimer.start(FTimeout);
}

void TDBGridGxIncSearch::RepaintCurrentRow()
{
    if (FGrid.Row() >= 0 && FGrid.Row() < FGrid.RowCount())
        FGrid.InvalidateRow(FGrid.Row());
}
