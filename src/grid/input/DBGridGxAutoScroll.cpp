#include "grid/input/DBGridGxAutoScroll.h"

#include <QTimerEvent>

void TDBGridGxAutoScroll::Run(int intervalMs)
{
    if (FTimerId != 0 && intervalMs == FInterval)
        return;
    Stop();
    FInterval = intervalMs;
    FTimerId = startTimer(intervalMs);
}

void TDBGridGxAutoScroll::Stop()
{
    if (FTimerId != 0)
        killTimer(FTimerId);
    FTimerId = 0;
}

void TDBGridGxAutoScroll::timerEvent(QTimerEvent* e)
{
    if (e->timerId() == FTimerId)
        Tick();
    else
        QObject::timerEvent(e);
}
