#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <optional>

// Exact money: a signed 64-bit count of ten-thousandths (four decimals). Never a double.
// Every amount lies within one range, +-999,999,999,999.9999: parsing refuses texts beyond
// it and arithmetic stops at its edges, so no sum (a year of minutes, or more) and no
// conversion to hundredths can overflow.
class Money
{
public:
    static constexpr qint64 kScale = 10000;
    static constexpr qint64 kMaxRaw = 9'999'999'999'999'999;

    constexpr Money() = default;
    static constexpr Money fromRaw(qint64 tenThousandths) { return Money(inRange(tenThousandths)); }

    // Decimal text with "." or "," as separator and an optional sign; more than four
    // decimals are rounded half away from zero. Blanks around it are ignored.
    // Empty, non-numeric or out-of-range texts give nothing.
    static std::optional<Money> parse(QStringView text);
    static Money parseOrZero(QStringView text) { return parse(text).value_or(Money()); }

    constexpr qint64 raw() const { return m_raw; }

    // The "0.0000" pattern: at least one integer digit, exactly four decimals.
    QString toFixed() const;
    // The plain form: no trailing zeros, no point for whole amounts ("0.12", "1350", "0").
    QString toPlain() const;

    // Stored fees and payments are in hundredths of the currency unit.
    Money hundredthsToUnits() const;
    Money unitsToHundredths() const { return Money(inRange(m_raw * 100)); }
    // The amount shared into n equal parts, to the nearest ten-thousandth; an exact half goes
    // to the even neighbour. n must not be 0 (the amount is then 0).
    Money dividedBy(qint64 n) const;

    // Two amounts of the range never overflow 64 bits; the result is brought back into it.
    constexpr Money operator+(Money other) const { return Money(inRange(m_raw + other.m_raw)); }
    constexpr Money operator-(Money other) const { return Money(inRange(m_raw - other.m_raw)); }
    Money &operator+=(Money other) { return *this = *this + other; }
    // NOLINTNEXTLINE(modernize-use-nullptr): clang-tidy 14 takes the 0 of a rewritten comparison for a pointer
    constexpr auto operator<=>(const Money &) const = default;

private:
    constexpr explicit Money(qint64 raw) : m_raw(raw) {}
    static constexpr qint64 inRange(qint64 raw) { return std::clamp(raw, -kMaxRaw, kMaxRaw); }
    qint64 m_raw = 0;
};
