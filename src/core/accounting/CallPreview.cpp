#include "accounting/CallPreview.h"

#include "accounting/CallAccounting.h"
#include "accounting/ChargeSettings.h"
#include "accounting/TariffSelection.h"
#include "platform/Prompter.h"

namespace CallPreview {

Result Price(const SettingsStore &store, HolidayCalendar &holidays, const QString &provider, const QDateTime &start,
             qint64 seconds)
{
    Result result;
    QuietPrompter notes; // what the tariff choice tells becomes a note
    const ChargeSettings charges = ChargeSettings::read(store);
    CallAccounting accounting;
    QDate day = start.date();
    accounting.setTariff(SelectTariff(store, holidays, notes, provider, day));

    accounting.StartCallCharges(charges);
    const Money fee = accounting.figures().callCost; // shown after the minutes

    const qint64 minutes = std::max<qint64>(seconds, 0) / 60;
    for (qint64 minute = 1; minute <= minutes; ++minute) {
        const QDateTime end = start.addSecs(minute * 60);
        if (end.date() != day) { // the engine takes the new day's tariff at midnight
            day = end.date();
            accounting.setTariff(SelectTariff(store, holidays, notes, provider, day));
        }
        const Money before = accounting.figures().callCost;
        accounting.ChargeMinute(true, end.time());
        const Money rate = accounting.figures().callCost - before;
        const QString tariff = accounting.tariff().TariffAssigned ? accounting.tariff().name : QString();
        Row *last = result.rows.isEmpty() ? nullptr : &result.rows.last();
        if (last && last->kind == Row::Kind::Minutes && last->tariff == tariff && last->rate == rate) {
            last->to = end;
            ++last->minutes;
            last->cost += rate;
        } else {
            result.rows.append({Row::Kind::Minutes, end.addSecs(-60), end, 1, tariff, rate, rate});
        }
    }
    result.unchargedSeconds = int(std::max<qint64>(seconds, 0) % 60);

    if (fee > Money())
        result.rows.append({Row::Kind::Fee, start, start, 0, {}, {}, fee});
    const Money beforeMinimum = accounting.figures().callCost;
    accounting.ApplyMinimumCharge(charges);
    const Money raised = accounting.figures().callCost - beforeMinimum;
    if (raised > Money())
        result.rows.append(
            {Row::Kind::MinimumCharge, start.addSecs(seconds), start.addSecs(seconds), 0, {}, {}, raised});
    result.total = accounting.figures().callCost;
    result.notes = notes.told;
    result.notes.removeDuplicates();
    return result;
}

} // namespace CallPreview
