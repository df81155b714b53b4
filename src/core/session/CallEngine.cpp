#include "session/CallEngine.h"

#include "accounting/CallAccounting.h"
#include "accounting/ChargeSettings.h"
#include "accounting/HolidayCalendar.h"
#include "accounting/ProviderAccounts.h"
#include "accounting/TariffSelection.h"
#include "alerts/AlarmMonitor.h"
#include "platform/Clock.h"
#include "platform/ProgramLauncher.h"
#include "platform/Prompter.h"
#include "platform/Scheduler.h"
#include "platform/SoundPlayer.h"
#include "reports/CallRecorder.h"
#include "session/Dialer.h"
#include "settings/GeneralOptions.h"
#include "settings/ProviderProfile.h"
#include "settings/SettingsStore.h"
#include "stats/AdapterStatistics.h"

using Timer = Scheduler::Timer;

CallEngine::CallEngine(const CallEngineParts &parts, QObject *parent) : QObject(parent), m(parts)
{
    m.scheduler.setHandler(Timer::Timer1, [this] { Timer1(); });
    m.scheduler.setHandler(Timer::tmrStartUp, [this] { tmrStartUp(); });
    m.scheduler.setHandler(Timer::tmrTime, [this] { tmrTime(); });
    m.scheduler.setHandler(Timer::tmrCost, [this] { tmrCost(); });
    m.scheduler.setHandler(Timer::tmrDUNStats, [this] { tmrDUNStats(); });
}

void CallEngine::start()
{
    m.scheduler.start(Timer::Timer1);
    m.scheduler.start(Timer::tmrTime, kCountIntervalMs);
}

QTime CallEngine::wholeSecondsNow() const
{
    const QTime now = m.clock.now().time();
    return QTime(now.hour(), now.minute(), now.second());
}

void CallEngine::Timer1()
{
    emit ticked();
    closeFinishedDay();
    m.alarms.check();
    if (m_session.CallActive && !isConnected())
        closeCall(wholeSecondsNow());
    retryUnsavedCounters();
}

void CallEngine::retryUnsavedCounters()
{
    const qint64 now = m.clock.monotonicMs();
    if (!m.accounts.hasUnsavedCounters() || now < m_nextSaveRetryMs)
        return;
    m_nextSaveRetryMs = now + qint64{kSaveRetrySeconds} * 1000;
    m.accounts.SaveCounters();
}

void CallEngine::closeFinishedDay()
{
    const QDate today = m.clock.now().date();
    if (!m.accounts.hasPeriodsToClose(today))
        return;
    // The day (and the month) ended while the program ran: settle them as a new start
    // would, and price the rest of the call by the new day's tariff.
    m.accounts.CloseFinishedPeriods(today);
    const LoadedTariff tariff = SelectTariff(m.store, m.holidays, m.prompter, m.accounts.connection().name, today);
    m.accounting.setTariff(tariff);
    startCharging();
}

bool CallEngine::isConnected() const
{
    return IsLineConnected(m.line);
}

void CallEngine::onProviderLoaded()
{
    m_session.CallActive = false;
    startCharging();
}

void CallEngine::onDialingStarted()
{
    m_session.dialing = true;
    m.scheduler.start(Timer::tmrStartUp);
}

void CallEngine::onAttemptEnded()
{
    m_session.dialing = false;
    m.scheduler.stop(Timer::tmrStartUp);
}

void CallEngine::onRedialScheduled()
{
    m.scheduler.stop(Timer::tmrStartUp);
}

void CallEngine::onLineDropped()
{
    m_session.end = wholeSecondsNow();
    m.scheduler.stop(Timer::tmrTime);
    m.scheduler.stop(Timer::tmrCost);
}

void CallEngine::startCharging()
{
    if (m.accounting.tariff().TariffAssigned && !m.scheduler.isActive(Timer::tmrCost))
        m.scheduler.start(Timer::tmrCost);
}

void CallEngine::closeCall(const QTime &end, bool atExit)
{
    if (m_closing)
        return;
    m_closing = true;
    m_session.end = end;
    if (m.options.isChecked(GeneralOptions::Check::Sound2))
        m.sound.play(m.options.text(GeneralOptions::Text::Sound2));
    const ChargeSettings charges = ChargeSettings::read(m.store);
    m.accounting.ApplyMinimumCharge(charges);
    m.accounting.CloseCallCharges();
    const CallRecord record =
        m.accounting.record(m.accounts.connection().name, m_session.start, m_session.end, m.options.currencySymbol());
    m_session.CallActive = false;
    m_countFromMs = -1;
    m.accounts.setLastCallTimes(m_session.start.time(), m_session.end);
    // The records are written either way; "Log Saved!" is not claimed while the counters
    // (this call's number among them) are only in memory.
    const bool saved = m.accounts.SaveCounters(ProviderAccounts::Tell::Later);
    const ProviderConnection &provider = m.accounts.connection();
    m.recorder.recordCall(record, provider.keepLog, provider.keepReport, saved);
    if (!atExit) // the exit sequence's own save tells what is lost
        m.accounts.tellSaveFailure();
    m_closing = false;
    emit callClosed();
}

void CallEngine::closeOpenCall()
{
    if (m_session.CallActive)
        closeCall(wholeSecondsNow(), true);
}

void CallEngine::closeCallBeforeProviderChange()
{
    if (!m_session.CallActive)
        return;
    // The end was taken when the line went down (hang-up, or the last tick that saw it down).
    const bool ended = !isConnected() && m_session.end.isValid();
    closeCall(ended ? m_session.end : wholeSecondsNow());
}

void CallEngine::tmrStartUp()
{
    if (!isConnected())
        return;
    openCall();
}

void CallEngine::openCall()
{
    // Opened once: nothing below can run it again.
    m.scheduler.stop(Timer::tmrStartUp);
    m_session.CallActive = true;
    m_session.dialing = false;
    m.scheduler.start(Timer::tmrCost);
    m_session.start = m.clock.now();
    m_session.start.setTime(wholeSecondsNow());
    m_session.end = QTime(); // taken again when this call ends
    m_countFromMs = m.clock.monotonicMs();
    m_secondsCredited = 0;
    m_minutesCharged = 0;
    m.scheduler.start(Timer::tmrTime, kCountIntervalMs);
    emit lineInUse(true);
    if (m.options.isChecked(GeneralOptions::Check::Sound1))
        m.sound.play(m.options.text(GeneralOptions::Text::Sound1));
    m.accounting.StartCallCharges(ChargeSettings::read(m.store));
    if (m.options.isChecked(GeneralOptions::Check::Minimize))
        emit minimizeRequested();
    ExecuteProgram();
    emit callOpened();
}

void CallEngine::tmrTime()
{
    if (!isConnected()) {
        m_session.end = wholeSecondsNow();
        m_countFromMs = -1;
        if (!m_session.dialing)
            emit lineInUse(false);
        if (m.scheduler.isActive(Timer::tmrDUNStats)) {
            m.statistics.refresh(false); // "Not Connected" stays until the next connection
            m.scheduler.stop(Timer::tmrDUNStats);
        }
        return;
    }
    emit lineInUse(true);
    if (!m.scheduler.isActive(Timer::tmrDUNStats))
        m.scheduler.start(Timer::tmrDUNStats);
    const qint64 now = m.clock.monotonicMs();
    if (m_countFromMs < 0) {
        // A connection this program did not open: counted from when it was first seen, and
        // charged (when the cost timer runs) on the minutes from then on.
        m_countFromMs = now;
        m_secondsCredited = 0;
        m_minutesCharged = 0;
        if (m.scheduler.isActive(Timer::tmrCost))
            m.scheduler.start(Timer::tmrCost);
    }
    const qint64 elapsed = (now - m_countFromMs) / 1000;
    const qint64 before = m_secondsCredited;
    for (; m_secondsCredited < elapsed; ++m_secondsCredited)
        m.accounting.CountSecond();
    if (m_secondsCredited / kCheckpointSeconds != before / kCheckpointSeconds)
        m.accounts.SaveCounters();
}

void CallEngine::tmrCost()
{
    if (m_countFromMs < 0) {
        m.accounting.ChargeMinute(isConnected(), m.clock.now().time());
        return;
    }
    // Every whole minute since the call opened is charged once, a late tick catching up.
    const qint64 minutes = (m.clock.monotonicMs() - m_countFromMs) / 60000;
    for (; m_minutesCharged < minutes; ++m_minutesCharged)
        m.accounting.ChargeMinute(isConnected(), m.clock.now().time());
}

void CallEngine::tmrDUNStats()
{
    m.statistics.refresh(isConnected());
}

void CallEngine::ExecuteProgram()
{
    if (m.options.programCount() <= 0)
        return;
    const auto style = static_cast<ProgramLauncher::WindowStyle>(m.options.launchStyle());
    for (const GeneralOptions::Program &program : m.options.programs()) {
        if (!program.ticked)
            continue;
        QString error;
        if (!m.launcher.start(program.path, style, &error)) {
            Prompt prompt;
            prompt.text = error;
            prompt.title = QStringLiteral("Error!");
            prompt.icon = Prompt::Icon::Critical;
            m.prompter.ask(prompt);
        }
    }
}
