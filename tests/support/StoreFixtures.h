#pragma once

#include <QString>
#include <QStringList>

class SettingsStore;

// Writes settings the way the dialogs store them, for tests.
namespace StoreFixtures {

struct TariffText
{
    QString option = QStringLiteral("0");
    QString firstStart = QStringLiteral("08:00");
    QString firstEnd = QStringLiteral("20:00");
    QString firstCost = QStringLiteral("0.12");
    QString secondCost = QStringLiteral("0.05");
    QString thirdStart;
    QString thirdCost;
};

void writeTariff(SettingsStore &store, const QString &name, const TariffText &tariff);
// Assigns a tariff to day classes "1".."8" (a list of classes).
void assignTariff(SettingsStore &store, const QString &provider, const QString &tariff,
                  std::initializer_list<int> dayClasses = {1, 2, 3, 4, 5, 6, 7, 8});

// A tariff of one cost a minute all day ("0.10" unless given), assigned to every day class.
void flatTariff(SettingsStore &store, const QString &provider, const QString &cost = QStringLiteral("0.10"));
// A provider's stored value, "<missing>" when there is none.
QString providerValue(const SettingsStore &store, const QString &provider, const QString &key);

// Writes "key=value" entries (split at the first "=") into one section, in order.
void writeValues(SettingsStore &store, const QString &section, const QStringList &entries);

// Every value of the given sections, in listing order, one "section | key = value" line each;
// AsBytes shows the stored bytes in hex (for values that need not be text).
enum class ValueForm { AsText, AsBytes };
QStringList snapshot(const SettingsStore &store, const QStringList &sections, ValueForm form = ValueForm::AsText);

// Another process's write transaction on the store file, held while the object lives.
class WriteLock
{
public:
    explicit WriteLock(const QString &databasePath);
    ~WriteLock();
    void release();

private:
    QString m_connection;
};

} // namespace StoreFixtures
