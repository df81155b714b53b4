#pragma once

#include <QDateTime>
#include <QTime>

// The state of the current call that the dialer, the monitor and the timer loop share.
struct CallSession
{
    bool CallActive = false; // the call was opened and its end not yet handled
    bool dialing = false;    // from a dial until the call opens or the attempt ends
    QDateTime start;         // StartDate and StartTime
    QTime end;               // EndTime
};
