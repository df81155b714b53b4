#include "stats/AdapterStatistics.h"

#include "presentation/MainState.h"

#include <QLocale>

AdapterStatistics::AdapterStatistics(RemoteAccess &line, MainState &state) : m_line(line), m_state(state) {}

void AdapterStatistics::captureBaselines()
{
    DUNStats stats;
    m_line.GetDUNStats(stats);
    m_receivedBaseline = stats.BytesRecvd;
    m_sentBaseline = stats.BytesXmit;
}

QString AdapterStatistics::formatCount(qint64 value)
{
    if (value == 0)
        return QString();
    QLocale locale;
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return locale.toString(value);
}

void AdapterStatistics::refresh(bool connected)
{
    if (!connected) {
        m_state.setText(MainState::Field::ConnectionSpeed, QStringLiteral("Not Connected"));
        m_state.setText(MainState::Field::BytesRcved, QStringLiteral("-"));
        m_state.setText(MainState::Field::BytesXmited, QStringLiteral("-"));
        return;
    }
    m_line.GetDUNStats(m_stats);
    // The link's counters restart with every link: below the baseline means a new link.
    if (m_stats.BytesRecvd < m_receivedBaseline)
        m_receivedBaseline = 0;
    if (m_stats.BytesXmit < m_sentBaseline)
        m_sentBaseline = 0;
    m_state.setText(MainState::Field::ConnectionSpeed, formatCount(m_stats.ConnectSpeed));
    m_state.setText(MainState::Field::BytesRcved, formatCount(m_stats.BytesRecvd - m_receivedBaseline));
    m_state.setText(MainState::Field::BytesXmited, formatCount(m_stats.BytesXmit - m_sentBaseline));
}
