#include "app/RepeatTimer.h"

#include <QTimer>

namespace {

class TQtRepeatTimer final : public TRepeatTimer {
public:
    TQtRepeatTimer()
    {
        FTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            if (OnTimer)
                OnTimer();
        });
    }
    void Start(int intervalMs) override { FTimer.start(intervalMs); }
    void Stop() override { FTimer.stop(); }
    bool Active() const override { return FTimer.isActive(); }

private:
    QTimer FTimer;
};

} // namespace

std::unique_ptr<TRepeatTimer> CreateRepeatTimer()
{
    return std::make_unique<TQtRepeatTimer>();
}
