#pragma once

#include <QString>

#include <array>
#include <functional>

// The main window's named timers. Production runs them on QTimer; tests advance a manual
// scheduler through virtual time. A handler is guarded only against its own re-entry:
// while one handler waits on a modal message, the other timers go on (the accounting
// must never stop because a message is open).
class Scheduler
{
public:
    enum class Timer {
        Timer1,         // 1 s: status line, clock, alarms, end of call
        tmrStartUp,     // 900 ms: waits for the connection after dialing
        tmrTime,        // counts the time online
        tmrCost,        // 60 s: charges a minute
        tmrDUNStats,    // 50 ms: adapter statistics
        tmrAlarm,       // 1 s: disconnect countdown
        tmrFlash,       // 300 ms: flashing caption
        tmrCheck,       // 60 s: mailbox check countdown
        tmrRedial,      // one shot: redial after a busy line
        tmrHangUpCheck, // one shot: is the line really down after a hang-up?
        Count_
    };
    using Handler = std::function<void()>;

    virtual ~Scheduler() = default;

    static int defaultInterval(Timer timer);
    static QString name(Timer timer);

    void setHandler(Timer timer, Handler handler);

    // (Re)starts the timer: its first tick comes one interval from now.
    void start(Timer timer) { start(timer, defaultInterval(timer)); }
    virtual void start(Timer timer, int intervalMs) = 0;
    // Starts a timer that ticks once and then stops.
    virtual void startOnce(Timer timer, int delayMs) = 0;
    virtual void stop(Timer timer) = 0;
    virtual bool isActive(Timer timer) const = 0;
    void stopAll();

    // Whether the handler of this timer is running now (possibly waiting on a message).
    bool isRunning(Timer timer) const { return m_running[index(timer)]; }

protected:
    // Runs the handler unless it is already running.
    void fire(Timer timer);
    static constexpr std::size_t index(Timer timer) { return static_cast<std::size_t>(timer); }
    static constexpr std::size_t kCount = static_cast<std::size_t>(Timer::Count_);

private:
    std::array<Handler, kCount> m_handlers;
    std::array<bool, kCount> m_running{};
};
