#include "accounting/CostCalculator.h"

namespace {

// A whole count of 0 or more in plain digits; anything beyond the 16-bit range is refused
// before it could overflow.
std::optional<int> count(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > CostCalculator::kMaxMinutes)
            return std::nullopt;
    }
    return value;
}

} // namespace

void CostCalculator::setCost(int frame, QStringView text)
{
    Frame &changed = m_frames.at(std::size_t(frame));
    changed.cost = Money::parse(text);
    recalculate(changed);
}

bool CostCalculator::setHours(int frame, QStringView text)
{
    return setTime(frame, count(text), minutes(frame));
}

bool CostCalculator::setMinutes(int frame, QStringView text)
{
    return setTime(frame, hours(frame), count(text));
}

bool CostCalculator::setTime(int frame, std::optional<int> hours, std::optional<int> minutes)
{
    if (!hours || !minutes || *hours * 60 + *minutes > kMaxMinutes)
        return false;
    Frame &changed = m_frames.at(std::size_t(frame));
    changed.hours = *hours;
    changed.minutes = *minutes;
    recalculate(changed);
    return true;
}

void CostCalculator::recalculate(Frame &frame)
{
    const int minutes = frame.hours * 60 + frame.minutes;
    if (minutes <= 0 || !frame.cost)
        return;
    frame.perMinute = *frame.cost > Money() ? frame.cost->dividedBy(minutes) : Money();
}
