#pragma once

#include <QList>
#include <QObject>
#include <QTime>

#include "accounting/ChargeSettings.h"
#include "accounting/Tariff.h"
#include "reports/CallRecord.h"
#include "values/Money.h"
#include "values/TimeCounter.h"

// The running figures of the loaded provider.
struct AccountingFigures
{
    TimeCounter call;
    TimeCounter today;
    TimeCounter month;
    TimeCounter total;
    Money totalPayment; // lblCost, currency units
    Money callCost;     // this call's cost
    Money dayPayment;   // today's payments so far
    Money monthPayment; // this month's payments so far
    int calls = 0;      // lblCallsNumber
};

// Counts time and charges money for the loaded provider's calls, and tells when its
// figures change. Driven by the call engine's timers and commands.
class CallAccounting : public QObject
{
    Q_OBJECT
public:
    explicit CallAccounting(QObject *parent = nullptr);

    const AccountingFigures &figures() const { return m_figures; }
    // Replaces the figures (a provider was loaded).
    void setFigures(const AccountingFigures &figures);
    const LoadedTariff &tariff() const { return m_tariff; }
    void setTariff(const LoadedTariff &tariff);

    // Connect: the call counter restarts and the call is counted.
    void BeginCall();
    void ResetCallCounter();
    void CountCall();
    // One second online, on every counter.
    void CountSecond();
    // One minute at the rate of the moment; nothing without a connection or a tariff.
    // Returns whether a minute was charged.
    bool ChargeMinute(bool connected, const QTime &now);
    // The connection came up: connection fee and added time.
    void StartCallCharges(const ChargeSettings &settings);
    // The connection went down: raises the call to the minimum charge.
    void ApplyMinimumCharge(const ChargeSettings &settings);
    // The call's final cost goes into today's and this month's payments, once per call:
    // only what BookCallCostSoFar has not booked yet. Call after ApplyMinimumCharge.
    void CloseCallCharges();
    // A day closes while a call is open: the cost so far belongs to the closing day (and
    // month); the call's own cost and the total stay whole.
    void BookCallCostSoFar();

    // The figures a user can reset, the rows 1..6 of the counters page.
    enum class Counter { Current = 1, Today, Month, Total, Calls, Cost };
    // Back to zero (stored at the next save of the counters). The time counted on is
    // only what elapses from now: the engine credits seconds, never whole calls.
    void ResetCounters(const QList<Counter> &counters);

    // Texts as the log, the archives and the store take them.
    QString currTimeText() const;
    // The finished call as the log and the call report take it, amounts with the symbol
    // of the general options.
    CallRecord record(const QString &provider, const QDateTime &start, const QTime &end,
                      const QString &currencySymbol) const;

signals:
    // The time counters changed (all four or only this call's).
    void timesChanged();
    void paymentChanged();
    void callsChanged();
    // A minute was charged at this cost.
    void minuteCharged(const Money &cost);
    // Another tariff was set (a provider was loaded, or a new day began).
    void tariffChanged();

private:
    AccountingFigures m_figures;
    LoadedTariff m_tariff;
    bool m_callOpen = false; // from StartCallCharges to CloseCallCharges
    Money m_callCostBooked;  // the part of this call's cost already in the day's payment
};
