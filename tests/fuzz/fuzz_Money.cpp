// Money texts (fees, payments, tariff prices) on any text: an amount read prints in both forms
// and reads back exactly (also as a stored payment), stays far from the 64-bit limit, and reads alike with either
// separator.
#include <QString>

#include "FuzzSupport.h"
#include "values/Money.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<Money> money = Money::parse(text);
    if (!money) {
        Fuzz::Check(Money::parseOrZero(text) == Money(), "an unreadable amount is zero");
        return 0;
    }
    Fuzz::Check(money->raw() >= -Money::kMaxRaw && money->raw() <= Money::kMaxRaw, "an amount read keeps the range");
    Fuzz::Check(Money::parse(money->toFixed()) == money, "the fixed form reads back");
    Fuzz::Check(Money::parse(money->toPlain()) == money, "the plain form reads back");
    Fuzz::Check(money->toFixed().section(u'.', 1).size() == 4, "the fixed form has four decimals");
    // A stored payment (in hundredths) loaded and saved again loads the same.
    const Money units = money->hundredthsToUnits();
    const Money stored = units.unitsToHundredths();
    Fuzz::Check(Money::parse(stored.toPlain()) == stored && stored.hundredthsToUnits() == units,
                "a payment saved again loads the same");

    QString other = text;
    for (QChar &c : other) {
        if (c == u'.')
            c = u',';
        else if (c == u',')
            c = u'.';
    }
    Fuzz::Check(Money::parse(other) == money, "either separator reads alike");
    return 0;
}
