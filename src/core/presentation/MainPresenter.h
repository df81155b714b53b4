#pragma once

#include <QObject>

#include "values/DateTimeFormats.h"

class AdapterStatistics;
class AlarmMonitor;
class CallAccounting;
class CallEngine;
class Clock;
class Dialer;
class MailChecker;
class MainState;
class Money;

// The one writer of the main window's state: the parts publish figures and states, and
// this turns each into the text the window shows.
class MainPresenter : public QObject
{
    Q_OBJECT
public:
    MainPresenter(MainState &state, const Clock &clock, DateTimeFormats formats, QObject *parent = nullptr);

    // Follows a part from now on (and shows what it holds now, where it holds something).
    void observe(const CallAccounting &accounting);
    void observe(const AlarmMonitor &alarms);
    void observe(const AdapterStatistics &statistics);
    void observe(const MailChecker &mail);
    void observe(const Dialer &dialer);
    void observe(const CallEngine &engine);

    // What the window shows when it starts: the currency symbol, today's date, "Ready...".
    void showStart(const QString &currencySymbol);
    void showStatus(const QString &status);
    // Timer1: the status line, the clock, the caption.
    void showTick(const QString &status);
    // While the window is minimized its caption shows the call's time.
    void setWindowMinimized(bool minimized);

    // A traffic figure, "##,###": thousands grouped with the locale's separator, empty for zero.
    static QString trafficText(qint64 value);

private:
    void showTimes();
    void showTariff();
    void showMinuteCost(const Money &cost);
    void showMail();

    MainState &m_state;
    const Clock &m_clock;
    DateTimeFormats m_formats;
    const CallAccounting *m_accounting = nullptr;
    const MailChecker *m_mail = nullptr;
};
