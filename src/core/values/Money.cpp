#include "values/Money.h"

#include <cstdlib>

namespace {
// The integer digits of the range; the text's last rounding is checked against it too.
constexpr int kMaxIntegerDigits = 12;

qint64 roundedDivide(qint64 value, qint64 divisor)
{
    const qint64 half = divisor / 2;
    return value >= 0 ? (value + half) / divisor : -((-value + half) / divisor);
}
} // namespace

std::optional<Money> Money::parse(QStringView text)
{
    text = text.trimmed();
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    qint64 integer = 0;
    qint64 fraction = 0; // in 1/100000, one digit beyond the scale for rounding
    int integerDigits = 0;
    int fractionDigits = 0;
    bool seenPoint = false;
    bool roundUp = false;
    for (QChar c : text) {
        if (c == u'.' || c == u',') {
            if (seenPoint)
                return std::nullopt;
            seenPoint = true;
            continue;
        }
        if (!c.isDigit() || c.unicode() > 127)
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (!seenPoint) {
            if (integerDigits >= kMaxIntegerDigits && (integer != 0 || digit != 0))
                return std::nullopt;
            integer = integer * 10 + digit;
            if (integer != 0)
                ++integerDigits;
        } else if (fractionDigits < 4) {
            fraction = fraction * 10 + digit;
            ++fractionDigits;
        } else if (fractionDigits == 4) {
            roundUp = digit >= 5;
            ++fractionDigits;
        }
    }
    if (integerDigits == 0 && !seenPoint && text.isEmpty())
        return std::nullopt;
    if (text == u"." || text == u",")
        return std::nullopt;
    for (int i = std::min(fractionDigits, 4); i < 4; ++i)
        fraction *= 10;
    const qint64 raw = integer * kScale + fraction + (roundUp ? 1 : 0);
    if (raw > kMaxRaw)
        return std::nullopt;
    return Money(negative ? -raw : raw);
}

QString Money::toFixed() const
{
    const qint64 magnitude = std::llabs(m_raw);
    QString text = QString::number(magnitude / kScale) + QLatin1Char('.') +
                   QStringLiteral("%1").arg(magnitude % kScale, 4, 10, QLatin1Char('0'));
    return m_raw < 0 ? QLatin1Char('-') + text : text;
}

QString Money::toPlain() const
{
    QString text = toFixed();
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

Money Money::hundredthsToUnits() const
{
    return Money(roundedDivide(m_raw, 100));
}

Money Money::dividedBy(qint64 n) const
{
    if (n == 0)
        return Money();
    // Unsigned magnitudes: the most negative divisor has no positive counterpart.
    const auto magnitude = [](qint64 value) { return value < 0 ? 0 - static_cast<quint64>(value) : quint64(value); };
    const quint64 divisor = magnitude(n);
    quint64 quotient = magnitude(m_raw) / divisor;
    const quint64 remainder = magnitude(m_raw) % divisor;
    if (remainder > divisor - remainder || (remainder == divisor - remainder && quotient % 2 == 1))
        ++quotient;
    const auto raw = static_cast<qint64>(quotient);
    return Money((m_raw < 0) != (n < 0) ? -raw : raw);
}
