#pragma once

#include <QString>
#include <QTime>

#include <optional>

#include "accounting/TariffFile.h"
#include "values/Money.h"

class SettingsStore;

// A tariff: up to three daily intervals with a cost per minute each.
//   Option 2: one interval, FirstCost all day.
//   Option 0: FirstCost strictly between FirstStart and FirstEnd, SecondCost elsewhere.
//   Option 1: as 0, then SecondCost strictly between FirstEnd and ThirdStart, ThirdCost
//             elsewhere (so from ThirdStart over midnight to FirstStart).
//   Any other option costs nothing.
// The bounds themselves never belong to interval 1 or 2.
struct Tariff
{
    quint8 option = 0;
    int firstStart = 0; // seconds since midnight
    int firstEnd = 0;
    int thirdStart = 0;
    Money firstCost;
    Money secondCost;
    Money thirdCost;

    Money GetMinuteCost(int secondOfDay) const;

    // Reads the tariff's section. Nothing when the tariff does not exist (no values in
    // its section) or a text it uses does not convert: a tariff that cannot be priced
    // must never charge 0 under its name.
    static std::optional<Tariff> read(const SettingsStore &store, const QString &name);
};

// The tariff of the loaded provider for today: its name, or none.
struct LoadedTariff
{
    bool TariffAssigned = false;
    QString name;
    Tariff rates;

    // The name the window and the records show: "None" without a tariff.
    QString shownName() const { return TariffAssigned ? name : QStringLiteral("None"); }

    // The cost per minute at a time of day given as "hh:mm:ss" (an unreadable text costs
    // what midnight costs). Nothing is charged without a tariff.
    Money GetMinuteCost(const QString &timeText) const;
    Money GetMinuteCost(const QTime &time) const;
};

// Stores a tariff as the editor saves it, in one batch: its entry in the list of tariff names
// and, in its section, "Option" (the code), "SavedOn", "Name", the first interval's bounds,
// the first and second cost and, with three intervals only, "ThirdStart" and "ThirdCost". Keys
// an earlier save wrote and this one does not are kept. The texts are stored as given; a name
// that cannot be a section of its own is refused. Returns whether the batch was committed.
bool WriteTariff(SettingsStore &store, const TariffFile::Record &values, const QString &savedOn);
// The texts WriteTariff stores, read back (a missing key gives an empty text; an "Option" that
// is no number gives the code -1).
TariffFile::Record ReadTariffTexts(const SettingsStore &store, const QString &name);

// "08:00", "8:00:00", "8:00 PM"... as a second of the day; nothing when not a time.
std::optional<int> ParseTimeOfDay(const QString &text);
