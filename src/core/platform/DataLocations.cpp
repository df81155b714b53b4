#include "platform/DataLocations.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

#include "platform/ProgramName.h"

bool EnsurePrivateFolder(const QString &path, QString *reason)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    if (!info.exists() && QDir().mkpath(path) &&
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
        return true;
    if (reason) {
        *reason = info.exists() || info.isSymLink()
                      ? QStringLiteral("%1 exists and is not a folder").arg(QDir::toNativeSeparators(path))
                      : QStringLiteral("the folder %1 could not be created").arg(QDir::toNativeSeparators(path));
    }
    return false;
}

bool EnsurePrivateFile(const QString &path)
{
    const QFileDevice::Permissions userOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    // O_EXCL: a file made by someone else meanwhile is kept as it is, never truncated.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0)
        ::close(fd);
    return QFile::setPermissions(path, userOnly);
}

DataLocations::DataLocations(QString configDir, QString dataDir)
    : m_configDir(std::move(configDir)), m_dataDir(std::move(dataDir))
{
}

DataLocations DataLocations::fromEnvironment()
{
    const QString home = qEnvironmentVariable("LINEMINDER_HOME");
    if (!home.isEmpty())
        return inside(QDir(home).absolutePath());
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return DataLocations(config + QLatin1Char('/') + ProgramName(), data + QLatin1Char('/') + ProgramName());
}

bool DataLocations::ensureFolders(QString *reason) const
{
    return EnsurePrivateFolder(m_configDir, reason) && EnsurePrivateFolder(m_dataDir, reason) &&
           EnsurePrivateFolder(logsDir(), reason);
}

QString DataLocations::settingsDatabase() const
{
    return m_configDir + QStringLiteral("/settings.db");
}

QString DataLocations::logsDir() const
{
    return m_dataDir + QStringLiteral("/Logs");
}

QString DataLocations::holidayFile() const
{
    return m_dataDir + QStringLiteral("/Holiday.hl");
}

QString DataLocations::simulatedPhonebook() const
{
    return m_dataDir + QStringLiteral("/simulated-phonebook.ini");
}

QString DataLocations::logFile(const QString &baseName, const QString &suffix) const
{
    return logsDir() + QLatin1Char('/') + SafeFileName(baseName) + suffix;
}

QString SafeFileName(const QString &name)
{
    QString safe = name;
    for (QChar &c : safe) {
        // Control characters (NUL, tabs, line breaks, escapes) make names that break listings and scripts.
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    if (safe.isEmpty() || safe.startsWith(QLatin1Char('.')))
        safe.replace(0, safe.isEmpty() ? 0 : 1, QLatin1Char('_'));
    return safe;
}
