#include "presentation/MainPresenter.h"

#include <QLocale>

#include "accounting/CallAccounting.h"
#include "alerts/AlarmMonitor.h"
#include "mail/MailChecker.h"
#include "platform/Clock.h"
#include "platform/ProgramName.h"
#include "presentation/MainState.h"
#include "session/CallEngine.h"
#include "session/Dialer.h"
#include "stats/AdapterStatistics.h"

using Field = MainState::Field;
using Indicator = MainState::Indicator;

namespace {
const QString kCostPrefix = QStringLiteral("Cost per minute:  ");
} // namespace

MainPresenter::MainPresenter(MainState &state, const Clock &clock, DateTimeFormats formats, QObject *parent)
    : QObject(parent), m_state(state), m_clock(clock), m_formats(std::move(formats))
{
}

void MainPresenter::observe(const CallAccounting &accounting)
{
    m_accounting = &accounting;
    connect(&accounting, &CallAccounting::timesChanged, this, &MainPresenter::showTimes);
    connect(&accounting, &CallAccounting::paymentChanged, this,
            [this] { m_state.setText(Field::Cost, m_accounting->figures().totalPayment.toFixed()); });
    connect(&accounting, &CallAccounting::callsChanged, this,
            [this] { m_state.setText(Field::CallsNumber, QString::number(m_accounting->figures().calls)); });
    connect(&accounting, &CallAccounting::minuteCharged, this, &MainPresenter::showMinuteCost);
    connect(&accounting, &CallAccounting::tariffChanged, this, &MainPresenter::showTariff);
}

void MainPresenter::observe(const AlarmMonitor &alarms)
{
    connect(&alarms, &AlarmMonitor::alarmRaised, this, [this] {
        m_state.setText(Field::Alertmsg, QStringLiteral("Alarm is activated!!!"));
        m_state.setShown(Indicator::Alert, true);
    });
    connect(&alarms, &AlarmMonitor::countdownChanged, this, [this](int seconds) {
        m_state.setText(Field::Alertmsg,
                        QStringLiteral("Alarm is activated! Disconnecting in: ") + QString::number(seconds));
    });
    connect(&alarms, &AlarmMonitor::alarmCleared, this, [this] { m_state.setShown(Indicator::Alert, false); });
}

void MainPresenter::observe(const AdapterStatistics &statistics)
{
    connect(&statistics, &AdapterStatistics::disconnected, this, [this] {
        m_state.setText(Field::ConnectionSpeed, QStringLiteral("Not Connected"));
        m_state.setText(Field::BytesRcved, QStringLiteral("-"));
        m_state.setText(Field::BytesXmited, QStringLiteral("-"));
    });
    connect(&statistics, &AdapterStatistics::trafficRead, this, [this](qint64 speed, qint64 received, qint64 sent) {
        m_state.setText(Field::ConnectionSpeed, trafficText(speed));
        m_state.setText(Field::BytesRcved, trafficText(received));
        m_state.setText(Field::BytesXmited, trafficText(sent));
    });
}

void MainPresenter::observe(const MailChecker &mail)
{
    m_mail = &mail;
    connect(&mail, &MailChecker::stateChanged, this, &MainPresenter::showMail);
    showMail();
}

void MainPresenter::observe(const Dialer &dialer)
{
    connect(&dialer, &Dialer::providersListed, &m_state, &MainState::setProviderList);
    connect(&dialer, &Dialer::providerShown, &m_state, &MainState::setSelectedProvider);
    connect(&dialer, &Dialer::lineInUse, this, [this](bool inUse) { m_state.setProviderListEnabled(!inUse); });
    connect(&dialer, &Dialer::dialRefused, this, [this](const QString &reason) {
        showStatus(reason.isEmpty() ? QStringLiteral("The line refused to dial.") : reason);
    });
}

void MainPresenter::observe(const CallEngine &engine)
{
    connect(&engine, &CallEngine::lineInUse, this, [this](bool inUse) { m_state.setProviderListEnabled(!inUse); });
}

void MainPresenter::showStart(const QString &currencySymbol)
{
    m_state.setText(Field::Sym, currencySymbol);
    m_state.setText(Field::Date, m_formats.date(m_clock.now().date()));
    showStatus(QStringLiteral("Ready..."));
}

void MainPresenter::showStatus(const QString &status)
{
    m_state.setText(Field::Status, status);
}

void MainPresenter::setWindowMinimized(bool minimized)
{
    m_state.setWindowMinimized(minimized);
}

QString MainPresenter::trafficText(qint64 value)
{
    if (value == 0)
        return QString();
    QLocale locale;
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return locale.toString(value);
}

void MainPresenter::showTimes()
{
    const AccountingFigures &figures = m_accounting->figures();
    m_state.setText(Field::CurrTime, m_accounting->currTimeText());
    m_state.setText(Field::TodayTime, figures.today.paddedText());
    m_state.setText(Field::MonthTime, figures.month.paddedText());
    m_state.setText(Field::TotTime, figures.total.paddedText());
}

void MainPresenter::showTariff()
{
    const LoadedTariff &tariff = m_accounting->tariff();
    m_state.setText(Field::TariffName, tariff.shownName());
    m_state.setText(Field::MinuteCost, tariff.TariffAssigned
                                           ? kCostPrefix + tariff.GetMinuteCost(m_clock.now().time()).toFixed()
                                           : kCostPrefix + QStringLiteral("0"));
}

void MainPresenter::showMinuteCost(const Money &cost)
{
    m_state.setText(Field::MinuteCost, kCostPrefix + cost.toPlain());
}

void MainPresenter::showMail()
{
    m_state.setShown(Indicator::Email, m_mail->pictureShown());
    const bool talking = m_mail->isTalking();
    QString text = talking ? QStringLiteral("Checking mail...") : m_mail->lastResult();
    const int minutes = m_mail->minutesToNextCheck();
    if (!talking && minutes > 0) {
        const QString next = QStringLiteral("next check in %1 min").arg(minutes);
        text =
            text.isEmpty() ? QStringLiteral("Next check in %1 min").arg(minutes) : text + QStringLiteral(" - ") + next;
    }
    m_state.setText(Field::Email, text);
}

void MainPresenter::showTick(const QString &status)
{
    showStatus(status);
    m_state.setText(Field::Time, m_formats.time(m_clock.now().time()));
    m_state.setText(Field::Caption, m_state.windowMinimized() ? m_state.text(Field::CurrTime) : ProgramName());
}
