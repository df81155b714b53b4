#include "line/pppd/PppdLinks.h"

#include <cerrno>
#include <csignal> // kill() (POSIX)

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "line/RemoteAccess.h"

namespace {

// A sysfs or proc value: a few bytes at most.
std::optional<QByteArray> ReadSmallFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    char buffer[64];
    const qint64 size = file.read(buffer, sizeof buffer);
    if (size < 0)
        return std::nullopt;
    return QByteArray(buffer, size);
}

std::optional<qint64> ReadCounter(const QString &path)
{
    const auto content = ReadSmallFile(path);
    if (!content)
        return std::nullopt;
    bool ok = false;
    const qint64 value = content->trimmed().toLongLong(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

bool IsPppInterface(const QString &name)
{
    static const QRegularExpression ppp(QStringLiteral(R"(^ppp\d{1,5}\z)"));
    return ppp.match(name).hasMatch();
}

} // namespace

namespace PppdLinks {

std::optional<qint64> ParsePid(const QByteArray &content)
{
    // Linux pids stay below 2^22; more digits, signs or trailing words mean the file is not pppd's.
    static const QRegularExpression pidLine(QStringLiteral(R"(^\s*([0-9]{1,7})\s*(\n.*)?\z)"),
                                            QRegularExpression::DotMatchesEverythingOption);
    const auto match = pidLine.match(QString::fromLatin1(content));
    if (!match.hasMatch())
        return std::nullopt;
    const qint64 pid = match.captured(1).toLongLong();
    if (pid <= 1 || pid > (1 << 22))
        return std::nullopt;
    return pid;
}

bool IsUp(const QString &sysfsRoot, const QString &interface)
{
    const auto flags = ReadSmallFile(sysfsRoot + u'/' + interface + QLatin1String("/flags"));
    if (!flags)
        return false;
    bool ok = false;
    const uint value = flags->trimmed().toUInt(&ok, 16);
    return ok && (value & 0x1) != 0; // IFF_UP
}

std::optional<qint64> LinkPid(const QString &runDir, const QString &interface, const QString &programName)
{
    const auto content = ReadSmallFile(runDir + u'/' + interface + QLatin1String(".pid"));
    if (!content)
        return std::nullopt;
    const auto pid = ParsePid(*content);
    if (!pid)
        return std::nullopt;
    // A stale pid file may name a pid that now belongs to another program: only a live
    // process of the expected name will be told to hang up.
    const auto comm = ReadSmallFile(QStringLiteral("/proc/%1/comm").arg(*pid));
    if (!comm || QString::fromUtf8(comm->trimmed()) != programName.left(15))
        return std::nullopt;
    if (::kill(static_cast<pid_t>(*pid), 0) != 0 && errno != EPERM)
        return std::nullopt;
    return pid;
}

QList<Link> UpLinks(const QString &sysfsRoot, const QString &runDir, const QString &programName)
{
    QList<Link> links;
    const QStringList names =
        QDir(sysfsRoot).entryList({QStringLiteral("ppp*")}, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        if (!IsPppInterface(name) || !IsUp(sysfsRoot, name))
            continue;
        if (const auto pid = LinkPid(runDir, name, programName))
            links << Link{name, *pid};
    }
    return links;
}

bool ReadCounters(const QString &sysfsRoot, const QString &interface, DUNStats &stats)
{
    if (!IsPppInterface(interface))
        return false;
    struct Counter
    {
        const char *file;
        qint64 DUNStats::*field;
        qint64 DUNStats::*total;
    };
    // The ppp device's own counters; a new interface per call makes them the call's figures.
    static constexpr Counter counters[] = {
        {"tx_bytes", &DUNStats::BytesXmit, &DUNStats::TotalBytesXmit},
        {"rx_bytes", &DUNStats::BytesRecvd, &DUNStats::TotalBytesRecvd},
        {"tx_packets", &DUNStats::FramesXmit, nullptr},
        {"rx_packets", &DUNStats::FramesRecvd, nullptr},
        {"rx_crc_errors", &DUNStats::CRC, nullptr},
        {"rx_frame_errors", &DUNStats::Framing, nullptr},
        {"rx_over_errors", &DUNStats::Overrun, nullptr},
        {"rx_fifo_errors", &DUNStats::Buffer, nullptr},
        {"rx_length_errors", &DUNStats::Runts, nullptr},
        {"rx_missed_errors", &DUNStats::Alignment, nullptr},
        {"tx_errors", &DUNStats::Timeout, nullptr},
    };
    const QString folder = sysfsRoot + u'/' + interface + QLatin1String("/statistics/");
    bool any = false;
    for (const Counter &counter : counters) {
        const auto value = ReadCounter(folder + QLatin1String(counter.file));
        if (!value)
            continue;
        stats.*counter.field = *value;
        if (counter.total)
            stats.*counter.total = *value;
        any = true;
    }
    return any;
}

} // namespace PppdLinks
