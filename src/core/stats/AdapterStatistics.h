#pragma once

#include <QObject>

#include "line/RemoteAccess.h"

// The traffic panel's figures: bytes received and sent since the last dial, and the
// link speed, read from the line's counters.
class AdapterStatistics : public QObject
{
    Q_OBJECT
public:
    explicit AdapterStatistics(RemoteAccess &line, QObject *parent = nullptr);

    // Remembers the counters at the moment of dialing. A failed read gives 0.
    void captureBaselines();
    // One refresh of the panel.
    void refresh(bool connected);

signals:
    // Not connected: the panel shows no figures.
    void disconnected();
    // The link's speed (bps) and the bytes since the last dial.
    void trafficRead(qint64 speed, qint64 received, qint64 sent);

private:
    RemoteAccess &m_line;
    DUNStats m_stats;
    qint64 m_receivedBaseline = 0;
    qint64 m_sentBaseline = 0;
};
