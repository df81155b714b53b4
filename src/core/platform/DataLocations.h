#pragma once

#include <QString>

// Where the settings store and the data files live. LINEMINDER_HOME, when set, holds
// everything; otherwise the settings go to the per-user config folder and the data
// (Logs/, Holiday.hl, the simulated phone book) to the per-user data folder.
class DataLocations
{
public:
    DataLocations(QString configDir, QString dataDir);

    // Reads LINEMINDER_HOME / the XDG folders.
    static DataLocations fromEnvironment();
    static DataLocations inside(const QString &home) { return DataLocations(home, home); }

    // Creates the folders (mode 0700) when missing. Returns false when one cannot be made;
    // *reason (when given) then names that folder.
    bool ensureFolders(QString *reason = nullptr) const;

    QString configDir() const { return m_configDir; }
    QString dataDir() const { return m_dataDir; }
    QString settingsDatabase() const;
    QString logsDir() const;
    QString holidayFile() const;
    QString simulatedPhonebook() const;

    // A path inside Logs/ for a file named after a user's text (a provider name): the
    // characters a file name cannot safely hold become "_", so it never leaves the folder.
    QString logFile(const QString &baseName, const QString &suffix) const;

private:
    QString m_configDir;
    QString m_dataDir;
};

// Creates a folder (and its parents) when missing, readable by the user only. On failure
// *reason (when given) says which folder could not be made.
bool EnsurePrivateFolder(const QString &path, QString *reason = nullptr);

// Creates a file when missing (empty) and makes it readable and writable by the user only.
// A new file never exists with wider permissions, and an existing one is never truncated.
// Returns false when the file is not there or its permissions could not be set.
bool EnsurePrivateFile(const QString &path);

// "/", "\", control characters and a leading "." become "_"; an empty name becomes "_".
QString SafeFileName(const QString &name);
