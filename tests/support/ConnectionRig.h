#pragma once

#include "line/SimulatedLine.h"
#include "session/CallSession.h"
#include "session/ConnectionMonitor.h"
#include "session/Dialer.h"
#include "stats/AdapterStatistics.h"
#include "support/AccountingRig.h"
#include "support/ManualScheduler.h"

// The accounting rig plus the simulated line, the manual scheduler, the dialer and the
// monitor. Timer1 here only refreshes the status line, as the timer loop does first.
struct ConnectionRig : AccountingRig
{
    explicit ConnectionRig(const QString &phonebook = QString());

    // Loads a provider of the phone book with the given settings.
    void loadProvider(const QString &name, const QString &phone = "[Default Phone Number]", bool redial = false,
                      const QString &login = QString());
    // Status texts seen by Timer1 over the next seconds, each new text once.
    QStringList statusesOver(int seconds);

    ManualScheduler scheduler;
    SimulatedLine line;
    CallSession session;
    AdapterStatistics statistics;
    Dialer dialer;
    ConnectionMonitor monitor;
};
