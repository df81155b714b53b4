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

QString AccountingRig::stored(const QString &provider, const QString &key) const
{
    return store.GetSetting(SettingsLayout::Provider(provider), key, "<missing>");
}
