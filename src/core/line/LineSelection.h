#pragma once

#include <QString>

#include <memory>

#include "line/pppd/PppdLine.h"

class Clock;
class DataLocations;
class RemoteAccess;

// Which line the program dials on: LINEMINDER_LINE = simulated | pppd | auto (the
// default: pppd when the peers folder holds entries, the simulated line otherwise).
std::unique_ptr<RemoteAccess> CreateRemoteAccess(const QString &choice, const DataLocations &locations,
                                                 const Clock &clock, const PppdConfig &pppd = PppdConfig());
