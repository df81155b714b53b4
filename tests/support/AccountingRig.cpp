#include "support/AccountingRig.h"

#include "settings/SettingsLayout.h"

AccountingRig::AccountingRig(const QDateTime &start)
    : clock(start), store(home.locations().settingsDatabase()), holidays(home.locations().holidayFile()),
      archives(home.locations(), formats), recorder(store, prompter, home.locations(), archives, formats)
{
    presenter.observe(accounting);
    options.setCurrencySymbol("$");
    accounts = restart();
}

std::unique_ptr<ProviderAccounts> AccountingRig::restart()
{
    return std::make_unique<ProviderAccounts>(store, prompter, clock, holidays, archives, accounting, options, profile,
                                              formats);
}

CallRecord sampleCall(const QString &provider, const QString &symbol)
{
    return {provider, "3",     QDate(2024, 3, 5), QTime(12, 0, 0), QTime(12, 10, 5), "00:10:05", "1.5000",
            "0:10:5", "1:0:0", "10:0:0",          "13.5000",       "Night",          symbol};
}

QString AccountingRig::stored(const QString &provider, const QString &key) const
{
    return store.GetSetting(SettingsLayout::Provider(provider), key, "<missing>");
}
