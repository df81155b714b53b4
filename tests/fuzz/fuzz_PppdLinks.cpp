// pppd's pid files and an interface's sysfs values on any bytes: a pid read is a possible pid
// and reads back from the form pppd writes; counters read are never negative.
#include <QDir>

#include "FuzzSupport.h"
#include "line/RemoteAccess.h"
#include "line/pppd/PppdLinks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<qint64> pid = PppdLinks::ParsePid(bytes);
    if (pid) {
        Fuzz::Check(*pid > 1 && *pid <= (1 << 22), "a pid is one a process can have");
        Fuzz::Check(PppdLinks::ParsePid(QByteArray::number(*pid) + '\n') == pid, "a pid reads back as pppd writes it");
    }

    // The same bytes as the pid file and as every value of a fake sysfs interface.
    static const QString root = [] {
        const QString path = Fuzz::ScratchPath(QStringLiteral("sys"));
        QDir().mkpath(path + QStringLiteral("/ppp0/statistics"));
        return path;
    }();
    const QString run = Fuzz::ScratchPath(QString());
    Fuzz::WriteScratch(QStringLiteral("ppp0.pid"), bytes);
    Fuzz::Check(!PppdLinks::LinkPid(run, QStringLiteral("ppp0"), QStringLiteral("lineminder-none")),
                "a pid file never names a process of a program that does not run");
    for (const char *value : {"/ppp0/flags", "/ppp0/statistics/rx_bytes", "/ppp0/statistics/tx_bytes"})
        Fuzz::WriteScratch(QStringLiteral("sys") + QLatin1String(value), bytes);
    PppdLinks::IsUp(root, QStringLiteral("ppp0"));
    DUNStats stats;
    if (PppdLinks::ReadCounters(root, QStringLiteral("ppp0"), stats)) {
        Fuzz::Check(stats.BytesRecvd >= 0 && stats.BytesXmit == stats.BytesRecvd, "counters are read alike");
        Fuzz::Check(stats.TotalBytesRecvd == stats.BytesRecvd, "the totals are the counters");
    }
    return 0;
}
