#include "platform/QtScheduler.h"

QtScheduler::QtScheduler()
{
    for (std::size_t i = 0; i < kCount; ++i) {
        auto timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        const auto id = static_cast<Timer>(i);
        QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, id] { fire(id); });
        m_timers[i] = std::move(timer);
    }
}

QtScheduler::~QtScheduler() = default;

void QtScheduler::start(Timer timer, int intervalMs)
{
    QTimer &t = *m_timers[index(timer)];
    t.setSingleShot(false);
    t.start(intervalMs);
}

void QtScheduler::startOnce(Timer timer, int delayMs)
{
    QTimer &t = *m_timers[index(timer)];
    t.setSingleShot(true);
    t.start(delayMs);
}

void QtScheduler::stop(Timer timer)
{
    m_timers[index(timer)]->stop();
}

bool QtScheduler::isActive(Timer timer) const
{
    return m_timers[index(timer)]->isActive();
}
