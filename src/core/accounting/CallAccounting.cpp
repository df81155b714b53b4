#include "accounting/CallAccounting.h"

#include <QDateTime>

CallAccounting::CallAccounting(QObject *parent) : QObject(parent)
{
}

void CallAccounting::setFigures(const AccountingFigures &figures)
{
    m_figures = figures;
    emit timesChanged();
    emit paymentChanged();
    emit callsChanged();
}

void CallAccounting::setTariff(const LoadedTariff &tariff)
{
    m_tariff = tariff;
    emit tariffChanged();
}

void CallAccounting::BeginCall()
{
    ResetCallCounter();
    CountCall();
}

void CallAccounting::ResetCallCounter()
{
    m_figures.call = TimeCounter();
    emit timesChanged();
}

void CallAccounting::CountCall()
{
    m_figures.calls = m_figures.calls < std::numeric_limits<int>::max() ? m_figures.calls + 1 : m_figures.calls;
    emit callsChanged();
}

void CallAccounting::CountSecond()
{
    m_figures.call.addSecond();
    m_figures.total.addSecond();
    m_figures.today.addSecond();
    m_figures.month.addSecond();
    emit timesChanged();
}

bool CallAccounting::ChargeMinute(bool connected, const QTime &now)
{
    if (!connected || !m_tariff.TariffAssigned)
        return false;
    const Money cost = m_tariff.GetMinuteCost(now);
    emit minuteCharged(cost);
    m_figures.totalPayment += cost;
    m_figures.callCost += cost;
    emit paymentChanged();
    return true;
}

void CallAccounting::StartCallCharges(const ChargeSettings &settings)
{
    m_callOpen = true;
    m_callCostBooked = Money();
    if (settings.addFee) {
        m_figures.totalPayment += settings.fee;
        m_figures.callCost = settings.fee;
    } else {
        m_figures.callCost = Money();
    }
    if (settings.addTime) {
        m_figures.total.addSeconds(settings.addSeconds);
        m_figures.today.addSeconds(settings.addSeconds);
        m_figures.month.addSeconds(settings.addSeconds);
        m_figures.call.addSeconds(settings.addSeconds);
    }
    emit paymentChanged();
}

void CallAccounting::ApplyMinimumCharge(const ChargeSettings &settings)
{
    if (!settings.minimumCharge || settings.minimum <= m_figures.callCost)
        return;
    m_figures.totalPayment += settings.minimum - m_figures.callCost;
    m_figures.callCost = settings.minimum;
    emit paymentChanged();
}

void CallAccounting::CloseCallCharges()
{
    m_figures.dayPayment += m_figures.callCost - m_callCostBooked;
    m_figures.monthPayment += m_figures.callCost - m_callCostBooked;
    m_callOpen = false;
    m_callCostBooked = Money();
}

void CallAccounting::BookCallCostSoFar()
{
    if (!m_callOpen)
        return;
    m_figures.dayPayment += m_figures.callCost - m_callCostBooked;
    m_figures.monthPayment += m_figures.callCost - m_callCostBooked;
    m_callCostBooked = m_figures.callCost;
}

void CallAccounting::ResetCounters(const QList<Counter> &counters)
{
    for (const Counter counter : counters) {
        switch (counter) {
        case Counter::Current: m_figures.call = TimeCounter(); break;
        case Counter::Today: m_figures.today = TimeCounter(); break;
        case Counter::Month: m_figures.month = TimeCounter(); break;
        case Counter::Total: m_figures.total = TimeCounter(); break;
        case Counter::Calls: m_figures.calls = 0; break;
        case Counter::Cost: m_figures.totalPayment = Money(); break;
        }
    }
    emit timesChanged();
    emit paymentChanged();
    emit callsChanged();
}

QString CallAccounting::currTimeText() const
{
    // The padded form, which keeps counting past 24 hours (a time of day would not).
    return m_figures.call.paddedText();
}

CallRecord CallAccounting::record(const QString &provider, const QDateTime &start, const QTime &end,
                                  const QString &currencySymbol) const
{
    CallRecord call;
    call.provider = provider;
    call.callsNumber = QString::number(m_figures.calls);
    call.startDate = start.date();
    call.startTime = start.time();
    call.endTime = end;
    call.duration = currTimeText();
    call.callCost = m_figures.callCost.toFixed();
    call.todayTime = m_figures.today.plainText();
    call.monthTime = m_figures.month.plainText();
    call.totalTime = m_figures.total.plainText();
    call.totalCost = m_figures.totalPayment.toFixed();
    call.tariffName = m_tariff.shownName();
    call.currencySymbol = currencySymbol;
    return call;
}
