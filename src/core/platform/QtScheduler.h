#pragma once

#include "platform/Scheduler.h"

#include <QTimer>

#include <array>
#include <memory>

// The named timers on QTimer (precise timers, so a second is a second).
class QtScheduler final : public Scheduler
{
public:
    QtScheduler();
    ~QtScheduler() override;

    using Scheduler::start;
    void start(Timer timer, int intervalMs) override;
    void startOnce(Timer timer, int delayMs) override;
    void stop(Timer timer) override;
    bool isActive(Timer timer) const override;

private:
    std::array<std::unique_ptr<QTimer>, kCount> m_timers;
};
