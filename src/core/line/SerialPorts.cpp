#include "line/SerialPorts.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

QStringList SerialPorts(const QString &devDir)
{
    QStringList ports;
    const QDir dir(devDir);
    for (const char *prefix : {"ttyS", "ttyUSB", "ttyACM"}) {
        // Only the prefix and a number: "ttyS0", never "ttySAC0" or "ttyUSB0.lock".
        const QRegularExpression name(QStringLiteral("^%1([0-9]+)$").arg(QLatin1String(prefix)));
        QList<QPair<int, QString>> group;
        const QStringList found = dir.entryList({QLatin1String(prefix) + QLatin1Char('*')}, QDir::System | QDir::Files);
        for (const QString &file : found) {
            const QRegularExpressionMatch match = name.match(file);
            if (match.hasMatch())
                group.append({match.captured(1).toInt(), file});
        }
        std::sort(group.begin(), group.end());
        for (const auto &port : group)
            ports.append(dir.filePath(port.second));
    }
    return ports;
}
