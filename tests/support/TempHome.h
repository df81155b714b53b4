#pragma once

#include "platform/DataLocations.h"
#include "settings/SettingsStore.h"

#include <QByteArray>
#include <QTemporaryDir>

// A throw-away data folder (with Logs/) for one test.
class TempHome
{
public:
    TempHome();
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    const DataLocations &locations() const { return m_locations; }

    QByteArray readFile(const QString &relativePath) const;
    bool exists(const QString &relativePath) const;
    // Returns the file's full path.
    QString writeFile(const QString &relativePath, const QByteArray &bytes) const;

private:
    QTemporaryDir m_dir;
    DataLocations m_locations;
};

// A temp home with its settings store open.
struct TempStore
{
    TempHome home;
    SettingsStore store{home.locations().settingsDatabase()};
};
