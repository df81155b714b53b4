#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include "values/Money.h"

class HolidayCalendar;
class SettingsStore;

// What a call would cost, priced by the same accounting that prices a real call and in the
// same steps as the call engine: the connection fee as the call opens, every whole minute at
// the rate of the moment it completes (by the tariff of that date, holidays included, so a
// midnight crossed switches tariffs), the minimum charge as the call ends. A started minute
// costs nothing; added time counts on the clocks only, never in money.
namespace CallPreview {

struct Row
{
    enum class Kind { Minutes, Fee, MinimumCharge };
    Kind kind = Kind::Minutes;
    // Minutes: the stretch from the start of its first minute to the end of its last.
    QDateTime from;
    QDateTime to;
    int minutes = 0;
    QString tariff; // the tariff's name; empty where no tariff prices the minutes
    Money rate;     // per minute
    Money cost;
};

struct Result
{
    QList<Row> rows; // the stretches at one rate in order, then the fee, then the minimum charge
    Money total;
    int unchargedSeconds = 0; // the part minute at the end
    QStringList notes;        // what the tariff choice tells (a holiday tariff, no tariff)
};

Result Price(const SettingsStore &store, HolidayCalendar &holidays, const QString &provider, const QDateTime &start,
             qint64 seconds);

} // namespace CallPreview
