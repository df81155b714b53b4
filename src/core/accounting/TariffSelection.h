#pragma once

#include <QDateTime>

#include "accounting/Tariff.h"

class HolidayCalendar;
class Prompter;
class SettingsStore;

// Chooses the provider's tariff for a date: the weekday's assignment (1 Sunday ...
// 7 Saturday), or the holiday assignment (8) on a date of the holiday calendar.
// Tells the user when the holiday tariff is active and when there is no tariff (also
// when the assigned tariff does not exist or cannot be priced).
LoadedTariff SelectTariff(const SettingsStore &store, HolidayCalendar &holidays, Prompter &prompter,
                          const QString &provider, const QDate &date);

// Sunday = 1 ... Saturday = 7.
int DayClassOf(const QDate &date);
