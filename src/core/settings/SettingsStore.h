#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class QSqlQuery;

// The per-user store of named text values in sections, held in one SQLite file.
// Section paths are backslash-joined components (blanks inside names are kept); section
// and key names match without regard to ASCII letter case. A section lists its values in
// the order they were first written.
class SettingsStore
{
public:
    using Pairs = QList<QPair<QString, QString>>;

    // Opens (creating when missing, with mode 0600) the store at path. On failure the
    // store is not open and error() tells why; every read then gives defaults. A file
    // whose "settings" table has another layout, or that cannot be written, is refused.
    explicit SettingsStore(const QString &path);
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    // How long a write waits for a lock held by another process before it fails.
    static constexpr int kBusyTimeoutMs = 150;

    bool isOpen() const { return m_open; }
    // Why the store did not open (another program's layout, a file that cannot be
    // written), or why the last statement failed.
    QString error() const { return m_error; }

    QString GetSetting(const QString &section, const QString &key, const QString &defaultValue = QString()) const;
    bool SaveSetting(const QString &section, const QString &key, const QString &value);
    bool DeleteSetting(const QString &section);
    bool DeleteSetting(const QString &section, const QString &key);
    Pairs GetAllSettings(const QString &section) const;
    // Moves a section with its subsections to another path (a renamed provider keeps its
    // values), replacing what was stored there; one transaction. Refused when one path
    // lies inside the other.
    bool MoveSection(const QString &from, const QString &to);

    // Values that are bytes rather than text (a scrambled password may hold any code
    // 0-255, NUL included); stored and returned byte for byte.
    QByteArray GetSettingBytes(const QString &section, const QString &key) const;
    bool SaveSettingBytes(const QString &section, const QString &key, const QByteArray &value);

    // A flag read by the one truth rule of the store (see SettingIsTrue).
    bool GetFlag(const QString &section, const QString &key, const QString &defaultValue) const;

    // Several writes that belong together: committed as one durable transaction when
    // commit() is called, rolled back when the batch is dropped without it. Batches nest;
    // only the outermost one commits. After the first failed write the batch writes
    // nothing more and its commit() fails.
    class Batch
    {
    public:
        explicit Batch(SettingsStore &store);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;
        bool commit();

    private:
        SettingsStore &m_store;
        bool m_done = false;
    };

private:
    bool execute(QSqlQuery &query) const;
    bool write(QSqlQuery &query);
    bool beginBatch();
    bool endBatch(bool commit);
    std::optional<QByteArray> lookup(const QString &section, const QString &key) const;

    QString m_connectionName;
    bool m_open = false;
    mutable QString m_error;
    int m_batchDepth = 0;
    bool m_batchFailed = false;
};

// "True"/"False" in any letter case, or a number where anything but 0 is true.
// Other texts are false.
bool SettingIsTrue(const QString &value);

// A section path as stored: without trailing backslashes.
QString NormalizeSection(const QString &section);
