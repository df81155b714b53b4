#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Exact money: a signed 64-bit count of ten-thousandths (four decimals). Never a double.
class Money
{
public:
    static constexpr qint64 kScale = 10000;

    constexpr Money() = default;
    static constexpr Money fromRaw(qint64 tenThousandths) { return Money(tenThousandths); }

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
    Money unitsToHundredths() const { return Money(m_raw * 100); }

    constexpr Money operator+(Money other) const { return Money(m_raw + other.m_raw); }
    constexpr Money operator-(Money other) const { return Money(m_raw - other.m_raw); }
    Money &operator+=(Money other)
    {
        m_raw += other.m_raw;
        return *this;
    }
    constexpr auto operator<=>(const Money &) const = default;

private:
    constexpr explicit Money(qint64 raw) : m_raw(raw) {}
    qint64 m_raw = 0;
};
