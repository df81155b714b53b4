#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

struct DUNStats;

// What the system shows of ppp links: interfaces under /sys/class/net, pppd's pid files in
// /run, the counters of an interface. Small reads only: the counters are read many times a
// second.
namespace PppdLinks {

struct Link
{
    QString interface;
    qint64 pid = 0;
};

// The pid in a pid file as pppd writes it ("1234\n"); nothing for anything else.
std::optional<qint64> ParsePid(const QByteArray &content);

// Whether the interface exists and is up (IFF_UP in its flags).
bool IsUp(const QString &sysfsRoot, const QString &interface);

// The pid of the program (by its process name) that runs the interface, from
// <runDir>/<interface>.pid; nothing when the file is missing, malformed or stale.
std::optional<qint64> LinkPid(const QString &runDir, const QString &interface, const QString &programName);

// ppp interfaces that are up and run by a live programName, ordered by interface name.
QList<Link> UpLinks(const QString &sysfsRoot, const QString &runDir, const QString &programName);

// Reads the interface's statistics into stats; counters without a file keep their values.
// False when none could be read.
bool ReadCounters(const QString &sysfsRoot, const QString &interface, DUNStats &stats);

} // namespace PppdLinks
