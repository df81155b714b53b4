#include "platform/DataLocations.h"

#include <QDir>
#include <QFileDevice>
#include <QStandardPaths>

namespace {
const QString kAppFolder = QStringLiteral("LineMinder");

bool makePrivateFolder(const QString &path)
{
    QDir dir(path);
    if (!dir.exists() && !QDir().mkpath(path))
        return false;
    return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
} // namespace

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
    return DataLocations(config + QLatin1Char('/') + kAppFolder, data + QLatin1Char('/') + kAppFolder);
}

bool DataLocations::ensureFolders() const
{
    return makePrivateFolder(m_configDir) && makePrivateFolder(m_dataDir) && makePrivateFolder(logsDir());
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
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QChar(0))
            c = QLatin1Char('_');
    }
    if (safe.isEmpty() || safe.startsWith(QLatin1Char('.')))
        safe.replace(0, safe.isEmpty() ? 0 : 1, QLatin1Char('_'));
    return safe;
}
