#include "stats/AdapterStatistics.h"

AdapterStatistics::AdapterStatistics(RemoteAccess &line, QObject *parent) : QObject(parent), m_line(line)
{
}

void AdapterStatistics::captureBaselines()
{
    DUNStats stats;
    m_line.GetDUNStats(stats);
    m_receivedBaseline = stats.BytesRecvd;
    m_sentBaseline = stats.BytesXmit;
}

void AdapterStatistics::refresh(bool connected)
{
    if (!connected) {
        emit disconnected();
        return;
    }
    m_line.GetDUNStats(m_stats);
    // The link's counters restart with every link: below the baseline means a new link.
    if (m_stats.BytesRecvd < m_receivedBaseline)
        m_receivedBaseline = 0;
    if (m_stats.BytesXmit < m_sentBaseline)
        m_sentBaseline = 0;
    emit trafficRead(m_stats.ConnectSpeed, m_stats.BytesRecvd - m_receivedBaseline, m_stats.BytesXmit - m_sentBaseline);
}
