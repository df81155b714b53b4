#pragma once

#include "accounting/CallAccounting.h"
#include "accounting/HolidayCalendar.h"
#include "accounting/ProviderAccounts.h"
#include "presentation/MainPresenter.h"
#include "presentation/MainState.h"
#include "reports/CallRecorder.h"
#include "reports/ReportArchives.h"
#include "settings/GeneralOptions.h"
#include "settings/ProviderProfile.h"
#include "settings/SettingsStore.h"
#include "support/FakeClock.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

// The headless accounting core wired together on a temp home, a fake clock and a
// scripted prompter, with fixed date and time formats ("d/M/yyyy", "HH:mm:ss").
struct AccountingRig
{
    explicit AccountingRig(const QDateTime &start = QDateTime(QDate(2024, 3, 5), QTime(12, 0)));

    // A ProviderAccounts as a new program run would make it (same store and files).
    std::unique_ptr<ProviderAccounts> restart();
    QString stored(const QString &provider, const QString &key) const;

    TempHome home;
    DateTimeFormats formats;
    FakeClock clock;
    ScriptedPrompter prompter;
    SettingsStore store;
    MainState state;
    MainPresenter presenter{state, clock, formats};
    GeneralOptions options;
    HolidayCalendar holidays;
    ReportArchives archives;
    CallAccounting accounting;
    CallRecorder recorder;
    ProviderProfile profile;
    std::unique_ptr<ProviderAccounts> accounts;
};

// A sample call of `provider`, 12:00:00 to 12:10:05 on 5/3/2024, its costs shown with `symbol`.
CallRecord sampleCall(const QString &provider = QStringLiteral("Home"), const QString &symbol = QStringLiteral("$"));
