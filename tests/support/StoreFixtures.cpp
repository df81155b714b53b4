#include "support/StoreFixtures.h"

#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace StoreFixtures {

void writeTariff(SettingsStore &store, const QString &name, const TariffText &tariff)
{
    SettingsStore::Batch batch(store);
    store.SaveSetting(SettingsLayout::TariffNames(), name, QString(""));
    const QString section = SettingsLayout::Tariff(name);
    store.SaveSetting(section, "Option", tariff.option);
    store.SaveSetting(section, "FirstStart", tariff.firstStart);
    store.SaveSetting(section, "FirstEnd", tariff.firstEnd);
    store.SaveSetting(section, "FirstCost", tariff.firstCost);
    store.SaveSetting(section, "SecondCost", tariff.secondCost);
    if (!tariff.thirdStart.isNull())
        store.SaveSetting(section, "ThirdStart", tariff.thirdStart);
    if (!tariff.thirdCost.isNull())
        store.SaveSetting(section, "ThirdCost", tariff.thirdCost);
    store.SaveSetting(section, "Name", name);
    batch.commit();
}

void assignTariff(SettingsStore &store, const QString &provider, const QString &tariff,
                  std::initializer_list<int> dayClasses)
{
    for (int dayClass : dayClasses)
        store.SaveSetting(SettingsLayout::TariffAssignment(provider), QString::number(dayClass), tariff);
}

void flatTariff(SettingsStore &store, const QString &provider, const QString &cost)
{
    writeTariff(store, "Flat", {"2", "", "", cost, "0", {}, {}});
    assignTariff(store, provider, "Flat");
}

QString providerValue(const SettingsStore &store, const QString &provider, const QString &key)
{
    return store.GetSetting(SettingsLayout::Provider(provider), key, "<missing>");
}

void writeValues(SettingsStore &store, const QString &section, const QStringList &entries)
{
    for (const QString &entry : entries) {
        const qsizetype split = entry.indexOf('=');
        store.SaveSetting(section, entry.left(split), entry.mid(split + 1));
    }
}

QStringList snapshot(const SettingsStore &store, const QStringList &sections, ValueForm form)
{
    QStringList lines;
    for (const QString &section : sections) {
        for (const auto &[key, value] : store.GetAllSettings(section)) {
            const QString shown =
                form == ValueForm::AsText ? value : QString::fromLatin1(store.GetSettingBytes(section, key).toHex(' '));
            lines << section + " | " + key + " = " + shown;
        }
    }
    return lines;
}

WriteLock::WriteLock(const QString &databasePath) : m_connection(QStringLiteral("write-lock"))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(databasePath);
    if (db.open())
        QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE"));
}

WriteLock::~WriteLock()
{
    release();
}

void WriteLock::release()
{
    if (m_connection.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_connection.clear();
}

} // namespace StoreFixtures
