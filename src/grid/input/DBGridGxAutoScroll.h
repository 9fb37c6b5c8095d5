#pragma once
// TDBGridGxAutoScroll: the timer that scrolls the data grid while the mouse
// holds a selecting drag outside the data area.  It runs at an interval
// that shrinks with the pointer's distance from the area; every tick runs
// the mouse's auto-scroll step.

#include <QObject>

#include <functional>

class TDBGridGxAutoScroll : public QObject {
public:
    explicit TDBGridGxAutoScroll(std::function<void()> step) : FStep(std::move(step)) {}

    // Starts the timer, or restarts it when the interval changes.
    void Run(int intervalMs);
    void Stop();
    bool Running() const { return FTimerId != 0; }
    int Interval() const { return FInterval; }
    // One tick, as the timer runs it (tests drive the timer through it).
    void Tick() { FStep(); }

protected:
    void timerEvent(QTimerEvent* e) override;

private:
    std::function<void()> FStep;
    int FTimerId = 0;
    int FInterval = 0;
};
