#include "reports/ReportColumns.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "reports/ReportArchives.h"

namespace ReportColumns {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && (text.front() == ' ' || text.front() == '\t'))
        text = text.sliced(1);
    while (!text.isEmpty() && (text.back() == ' ' || text.back() == '\t'))
        text.chop(1);
    return text;
}

std::optional<double> number(QByteArrayView text)
{
    if (text.isEmpty() || !(isDigit(text.front()) || text.front() == '-' || text.front() == '.'))
        return std::nullopt;
    double value = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The runs of digits in text, when it is exactly `count` of them, each joined to the next
// by one separator for which isSeparator holds.
template <std::size_t Count, typename Separator>
std::optional<std::array<double, Count>> digitRuns(QByteArrayView text, Separator isSeparator)
{
    std::array<double, Count> runs{};
    const char *p = text.data();
    const char *const end = p + text.size();
    for (std::size_t i = 0; i < Count; ++i) {
        if (i > 0) {
            if (p == end || !isSeparator(*p))
                return std::nullopt;
            ++p;
        }
        const char *start = p;
        double value = 0;
        for (; p < end && isDigit(*p); ++p)
            value = value * 10 + (*p - '0');
        if (p == start)
            return std::nullopt;
        runs[i] = value;
    }
    if (p != end)
        return std::nullopt;
    return runs;
}

bool isColon(char c)
{
    return c == ':';
}

std::optional<double> duration(QByteArrayView text)
{
    if (!text.contains(':'))
        return number(text);
    const auto parts = digitRuns<3>(text, isColon);
    if (!parts)
        return std::nullopt;
    return (*parts)[0] * 3600 + (*parts)[1] * 60 + (*parts)[2];
}

// "14:05:09", "2:05:09 PM", "12:00:00 am".
std::optional<double> clockTime(QByteArrayView text)
{
    const auto timeEnd = std::find_if(text.begin(), text.end(), [](char c) { return !isDigit(c) && c != ':'; });
    const auto parts = digitRuns<3>(text.first(timeEnd - text.begin()), isColon);
    if (!parts)
        return std::nullopt;
    double hours = (*parts)[0];
    const QByteArrayView suffix = trimmed(text.sliced(timeEnd - text.begin()));
    if (!suffix.isEmpty()) {
        const char marker = char(suffix.front() | 0x20);
        if (marker != 'a' && marker != 'p')
            return std::nullopt;
        hours = std::fmod(hours, 12) + (marker == 'p' ? 12 : 0);
    }
    return hours * 3600 + (*parts)[1] * 60 + (*parts)[2];
}

// "$12.3456", "12,3456 €", "0.0700".
std::optional<double> money(QByteArrayView text)
{
    const auto first =
        std::find_if(text.begin(), text.end(), [](char c) { return isDigit(c) || c == '-' || c == '.'; });
    const auto last = std::find_if(text.rbegin(), text.rend(), isDigit).base();
    if (first >= last)
        return std::nullopt;
    QByteArray amount(first, last - first);
    amount.replace(',', '.');
    return number(amount);
}

std::optional<double> monthDate(QByteArrayView text)
{
    const auto parts = digitRuns<2>(text, [](char c) { return c == '/'; });
    if (!parts || (*parts)[0] < 1 || (*parts)[0] > 12)
        return std::nullopt;
    return (*parts)[1] * 100 + (*parts)[0];
}

} // namespace

QString FileName(ReportStyle style)
{
    switch (style) {
    case ReportStyle::Full: return ReportArchives::reportFileName();
    case ReportStyle::Daily: return ReportArchives::dayFileName();
    case ReportStyle::Monthly: return ReportArchives::monthFileName();
    case ReportStyle::None: break;
    }
    return {};
}

int FieldCount(ReportStyle style)
{
    return style == ReportStyle::Full ? 11 : style == ReportStyle::None ? 0 : 4;
}

QStringList Headers(ReportStyle style)
{
    const char *headers = "";
    switch (style) {
    case ReportStyle::Full:
        headers = "Provider|Call Num.|Start Date|Start Time|End Time|Duration|Current Cost|Today Time|"
                  "Month Time|Total Time|Total Cost";
        break;
    case ReportStyle::Daily: headers = "Select|Provider|Date|Day Time|Day Cost"; break;
    case ReportStyle::Monthly: headers = "Select|Provider|Month Date|Month Time|Month Cost"; break;
    case ReportStyle::None: return {};
    }
    return QString::fromLatin1(headers).split(QLatin1Char('|'));
}

int FirstFieldColumn(ReportStyle style)
{
    return style == ReportStyle::Daily || style == ReportStyle::Monthly ? 1 : 0;
}

Order FieldOrder(ReportStyle style, int field)
{
    static constexpr std::array<Order, 11> kCalls{
        Order::Text,  Order::Number,   Order::Date,     Order::ClockTime, Order::ClockTime, Order::Duration,
        Order::Money, Order::Duration, Order::Duration, Order::Duration,  Order::Money,
    };
    static constexpr std::array<Order, 4> kDays{Order::Text, Order::Date, Order::Duration, Order::Money};
    static constexpr std::array<Order, 4> kMonths{Order::Text, Order::MonthDate, Order::Duration, Order::Money};
    if (field < 0)
        return Order::Text;
    const auto at = std::size_t(field);
    switch (style) {
    case ReportStyle::Full: return at < kCalls.size() ? kCalls[at] : Order::Text;
    case ReportStyle::Daily: return at < kDays.size() ? kDays[at] : Order::Text;
    case ReportStyle::Monthly: return at < kMonths.size() ? kMonths[at] : Order::Text;
    case ReportStyle::None: break;
    }
    return Order::Text;
}

DateReader::DateReader(const QString &shortDateFormat)
{
    const qsizetype day = shortDateFormat.indexOf(QLatin1Char('d'));
    const qsizetype month = shortDateFormat.indexOf(QLatin1Char('M'));
    const qsizetype year = shortDateFormat.indexOf(QLatin1Char('y'));
    m_usable = day >= 0 && month >= 0 && year >= 0 && !shortDateFormat.contains(QLatin1String("MMM"));
    auto rank = [&](qsizetype at) { return int(at > day) + int(at > month) + int(at > year); };
    m_dayAt = rank(day);
    m_monthAt = rank(month);
    m_yearAt = rank(year);
}

std::optional<double> DateReader::read(QByteArrayView text) const
{
    if (!m_usable)
        return std::nullopt;
    const auto parts = digitRuns<3>(text, [](char c) { return !isDigit(c) && c != ' '; });
    if (!parts)
        return std::nullopt;
    const double day = (*parts)[std::size_t(m_dayAt)];
    const double month = (*parts)[std::size_t(m_monthAt)];
    double year = (*parts)[std::size_t(m_yearAt)];
    if (day < 1 || day > 31 || month < 1 || month > 12)
        return std::nullopt;
    // As QDate reads "yy": the twentieth century.
    if (year < 100)
        year += 1900;
    return year * 10000 + month * 100 + day;
}

std::optional<double> ReadValue(Order order, QByteArrayView text, const DateReader &dates)
{
    text = trimmed(text);
    switch (order) {
    case Order::Number: return number(text);
    case Order::Date: return dates.read(text);
    case Order::ClockTime: return clockTime(text);
    case Order::Duration: return duration(text);
    case Order::Money: return money(text);
    case Order::MonthDate: return monthDate(text);
    case Order::Text: break;
    }
    return std::nullopt;
}

} // namespace ReportColumns
