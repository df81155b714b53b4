#include "support/TempHome.h"

#include <QFile>

TempHome::TempHome() : m_locations(DataLocations::inside(m_dir.path()))
{
    m_locations.ensureFolders();
}

QByteArray TempHome::readFile(const QString &relativePath) const
{
    QFile file(m_dir.filePath(relativePath));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool TempHome::exists(const QString &relativePath) const
{
    return QFile::exists(m_dir.filePath(relativePath));
}

QString TempHome::writeFile(const QString &relativePath, const QByteArray &bytes) const
{
    QFile file(m_dir.filePath(relativePath));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    return file.fileName();
}
