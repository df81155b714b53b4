#pragma once

#include "line/RemoteAccess.h"

class MainState;

// The traffic panel's figures: bytes received and sent since the last dial, and the
// link speed, read from the line's counters.
class AdapterStatistics
{
public:
    AdapterStatistics(RemoteAccess &line, MainState &state);

    // Remembers the counters at the moment of dialing. A failed read gives 0.
    void captureBaselines();
    // One refresh of the panel.
    void refresh(bool connected);

    // "##,###": thousands grouped with the locale's separator, empty for zero.
    static QString formatCount(qint64 value);

private:
    RemoteAccess &m_line;
    MainState &m_state;
    DUNStats m_stats;
    qint64 m_receivedBaseline = 0;
    qint64 m_sentBaseline = 0;
};
