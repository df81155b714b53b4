#include "settings/SettingsStore.h"

#include <QAtomicInteger>
#include <QSqlError>
#include <QSqlQuery>

#include <optional>

#include "platform/DataLocations.h"
#include "platform/Logging.h"

namespace {

QAtomicInteger<int> g_connectionCounter;

// SQLite's own words ("database is locked", "database or disk is full") say it best.
QString describe(const QSqlError &error)
{
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

const QString kSqliteBusy = QStringLiteral("5");

// Our layout: the three columns and a primary key on (section, key) that ignores letter
// case; the upserts and the case-blind names rely on it.
bool hasOwnLayout(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    QStringList columns;
    if (!query.exec(QStringLiteral("PRAGMA table_info(settings)")))
        return false;
    while (query.next())
        columns.append(query.value(1).toString().toLower());
    columns.sort();
    if (columns != QStringList({QStringLiteral("key"), QStringLiteral("section"), QStringLiteral("value")}))
        return false;
    QString primaryIndex;
    if (!query.exec(QStringLiteral("PRAGMA index_list(settings)")))
        return false;
    while (query.next()) {
        if (query.value(3).toString() == QLatin1String("pk"))
            primaryIndex = query.value(1).toString();
    }
    if (primaryIndex.isEmpty() || !query.exec(QStringLiteral("PRAGMA index_xinfo(\"%1\")")
                                                  .arg(primaryIndex.replace(QLatin1Char('"'), QStringLiteral("\"\"")))))
        return false;
    QStringList keyColumns;
    while (query.next()) {
        if (query.value(5).toInt() == 1 &&
            query.value(4).toString().compare(QLatin1String("NOCASE"), Qt::CaseInsensitive) == 0)
            keyColumns.append(query.value(2).toString().toLower());
    }
    return keyColumns == QStringList({QStringLiteral("section"), QStringLiteral("key")}) &&
           query.exec(QStringLiteral("SELECT rowid FROM settings LIMIT 0"));
}

QByteArray valueBytes(const QVariant &value)
{
    // Rows written by other tools may hold TEXT instead of a BLOB.
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    return value.toString().toUtf8();
}

} // namespace

QString NormalizeSection(const QString &section)
{
    QString normalized = section;
    while (normalized.endsWith(QLatin1Char('\\')))
        normalized.chop(1);
    return normalized;
}

bool SettingIsTrue(const QString &value)
{
    const QString trimmed = value.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = trimmed.toDouble(&ok);
    return ok && number != 0.0;
}

SettingsStore::SettingsStore(const QString &path)
    : m_connectionName(QStringLiteral("lineminder-settings-%1").arg(g_connectionCounter.fetchAndAddRelaxed(1)))
{
    // Create the file private before SQLite opens it; its WAL files inherit the mode.
    EnsurePrivateFile(path);

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(path);
    // Another process holding the write lock must never freeze the window: a write waits
    // this long at most, fails, and is tried again later.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
        m_error = db.lastError().text();
        return;
    }
    QSqlQuery query(db);
    // A store made by another tool is read, never written into, unless it has our layout.
    if (!query.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'settings'"))) {
        m_error = query.lastError().text();
        return;
    }
    if (query.next() && !hasOwnLayout(db)) {
        m_error = QStringLiteral("its table \"settings\" was made by another program with another layout. "
                                 "LineMinder does not write into it.");
        return;
    }
    const char *createTable = "CREATE TABLE IF NOT EXISTS settings(section TEXT NOT NULL COLLATE NOCASE, "
                              "key TEXT NOT NULL COLLATE NOCASE, value BLOB NOT NULL, PRIMARY KEY(section, key))";
    const char *setup[] = {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", createTable};
    for (const char *statement : setup) {
        if (!query.exec(QString::fromLatin1(statement))) {
            m_error = query.lastError().text();
            return;
        }
    }
    // A file that opens but cannot be written would lose every save: refuse it now (a
    // delete of nothing needs write access and changes nothing). A lock held by another
    // process is no reason to refuse; its writes are tried again later.
    if (!query.exec(QStringLiteral("DELETE FROM settings WHERE 0")) &&
        query.lastError().nativeErrorCode() != kSqliteBusy) {
        m_error = QStringLiteral("the file cannot be written (%1).").arg(describe(query.lastError()));
        return;
    }
    m_open = true;
}

SettingsStore::~SettingsStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool SettingsStore::execute(QSqlQuery &query) const
{
    if (query.exec())
        return true;
    qCWarning(lcSettings) << "settings store:" << query.lastError().text();
    m_error = describe(query.lastError());
    return false;
}

bool SettingsStore::write(QSqlQuery &query)
{
    // A batch stops at its first failure: the rest would only wait for the same lock.
    if (m_batchDepth > 0 && m_batchFailed)
        return false;
    const bool ok = execute(query);
    if (!ok && m_batchDepth > 0)
        m_batchFailed = true;
    return ok;
}

std::optional<QByteArray> SettingsStore::lookup(const QString &section, const QString &key) const
{
    if (!m_open)
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("SELECT value FROM settings WHERE section = ? AND key = ?"));
    query.addBindValue(NormalizeSection(section));
    query.addBindValue(key);
    if (!execute(query) || !query.next())
        return std::nullopt;
    return valueBytes(query.value(0));
}

QString SettingsStore::GetSetting(const QString &section, const QString &key, const QString &defaultValue) const
{
    const std::optional<QByteArray> bytes = lookup(section, key);
    return bytes ? QString::fromUtf8(*bytes) : defaultValue;
}

QByteArray SettingsStore::GetSettingBytes(const QString &section, const QString &key) const
{
    return lookup(section, key).value_or(QByteArray());
}

bool SettingsStore::GetFlag(const QString &section, const QString &key, const QString &defaultValue) const
{
    return SettingIsTrue(GetSetting(section, key, defaultValue));
}

bool SettingsStore::SaveSetting(const QString &section, const QString &key, const QString &value)
{
    return SaveSettingBytes(section, key, value.toUtf8());
}

bool SettingsStore::SaveSettingBytes(const QString &section, const QString &key, const QByteArray &value)
{
    if (!m_open)
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    // An upsert keeps the row (and so its place in the section's order) on update.
    query.prepare(QStringLiteral("INSERT INTO settings(section, key, value) VALUES(?, ?, ?) "
                                 "ON CONFLICT(section, key) DO UPDATE SET value = excluded.value"));
    query.addBindValue(NormalizeSection(section));
    query.addBindValue(key);
    // A null QByteArray would bind as NULL and break the NOT NULL constraint.
    query.addBindValue(value.isNull() ? QByteArray("") : value);
    return write(query);
}

bool SettingsStore::DeleteSetting(const QString &section)
{
    if (!m_open)
        return false;
    const QString path = NormalizeSection(section);
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("DELETE FROM settings WHERE section = :s COLLATE NOCASE "
                                 "OR substr(section, 1, length(:s) + 1) = (:s || '\\') COLLATE NOCASE"));
    query.bindValue(QStringLiteral(":s"), path);
    return write(query);
}

bool SettingsStore::DeleteSetting(const QString &section, const QString &key)
{
    if (!m_open)
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("DELETE FROM settings WHERE section = ? AND key = ?"));
    query.addBindValue(NormalizeSection(section));
    query.addBindValue(key);
    return write(query);
}

bool SettingsStore::MoveSection(const QString &from, const QString &to)
{
    const QString source = NormalizeSection(from);
    const QString target = NormalizeSection(to);
    auto inside = [](const QString &path, const QString &outer) {
        return path.startsWith(outer + QLatin1Char('\\'), Qt::CaseInsensitive);
    };
    if (!m_open || source.isEmpty() || target.isEmpty() || inside(source, target) || inside(target, source))
        return false;
    Batch batch(*this);
    // A name that changes only its letter case is the same section: nothing to replace.
    if (source.compare(target, Qt::CaseInsensitive) != 0)
        DeleteSetting(target);
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("UPDATE settings SET section = :t || substr(section, length(:s) + 1) "
                                 "WHERE section = :s COLLATE NOCASE "
                                 "OR substr(section, 1, length(:s) + 1) = (:s || '\\') COLLATE NOCASE"));
    query.bindValue(QStringLiteral(":s"), source);
    query.bindValue(QStringLiteral(":t"), target);
    write(query);
    return batch.commit();
}

SettingsStore::Pairs SettingsStore::GetAllSettings(const QString &section) const
{
    Pairs pairs;
    if (!m_open)
        return pairs;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("SELECT key, value FROM settings WHERE section = ? ORDER BY rowid"));
    query.addBindValue(NormalizeSection(section));
    if (!execute(query))
        return pairs;
    while (query.next())
        pairs.append({query.value(0).toString(), QString::fromUtf8(valueBytes(query.value(1)))});
    return pairs;
}

bool SettingsStore::beginBatch()
{
    if (!m_open)
        return false;
    if (m_batchDepth++ > 0)
        return !m_batchFailed;
    // The write lock is taken at the start, so a batch that cannot have it writes nothing.
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.prepare(QStringLiteral("BEGIN IMMEDIATE"));
    m_batchFailed = !execute(query);
    return !m_batchFailed;
}

bool SettingsStore::endBatch(bool commit)
{
    if (!m_open || m_batchDepth == 0)
        return false;
    if (!commit)
        m_batchFailed = true;
    if (--m_batchDepth > 0)
        return commit && !m_batchFailed;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!m_batchFailed) {
        query.prepare(QStringLiteral("COMMIT"));
        if (execute(query))
            return true;
    }
    query.exec(QStringLiteral("ROLLBACK")); // fails harmlessly when BEGIN did
    return false;
}

SettingsStore::Batch::Batch(SettingsStore &store) : m_store(store)
{
    m_store.beginBatch();
}

SettingsStore::Batch::~Batch()
{
    if (!m_done)
        m_store.endBatch(false);
}

bool SettingsStore::Batch::commit()
{
    if (m_done)
        return false;
    m_done = true;
    return m_store.endBatch(true);
}
