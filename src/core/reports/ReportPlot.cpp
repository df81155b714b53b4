#include "reports/ReportPlot.h"

#include <algorithm>
#include <array>
#include <utility>

#include "values/TimeText.h"

namespace {

constexpr int kBarPitch = 70;
constexpr int kBarLeft = 81; // bar k spans 70k + 81 .. 70k + 147
constexpr int kBarRight = 147;
constexpr int kBarBottom = 338;
constexpr int kTextX = 111; // the texts of bar k are centred on 70k + 111
constexpr int kDateY = 350;
constexpr int kRightMargin = 20;

// value / divisor, a half going to the even neighbour; value >= 0.
qint64 divideHalfToEven(qint64 value, qint64 divisor)
{
    const qint64 quotient = value / divisor;
    const qint64 twiceRest = 2 * (value % divisor);
    if (twiceRest > divisor || (twiceRest == divisor && quotient % 2 == 1))
        return quotient + 1;
    return quotient;
}

bool isGraphStyle(ReportStyle style)
{
    return style == ReportStyle::Daily || style == ReportStyle::Monthly;
}

} // namespace

ReportPlot ReportPlot::FromRows(ReportStyle style, QStringList dates, QStringList times)
{
    qint64 sum = 0;
    for (const QString &time : std::as_const(times))
        sum += TimeTextToMinutes(time);
    return {style, std::move(dates), std::move(times), sum};
}

int ReportPlot::count() const
{
    return isGraphStyle(style) && dates.size() == times.size() ? int(times.size()) : 0;
}

int ReportPlot::BarHeight(ReportStyle style, int minutes)
{
    const qint64 perUnit = style == ReportStyle::Monthly ? 8 : 2;
    return int(divideHalfToEven(std::max(minutes, 0), perUnit));
}

ChartColour ReportPlot::BarColour(int k)
{
    // The PC text-mode palette from its second colour on.
    static constexpr std::array<ChartColour, 12> kColours{{
        {0, 0, 128},
        {0, 128, 0},
        {0, 128, 128},
        {128, 0, 0},
        {128, 0, 128},
        {128, 128, 0},
        {192, 192, 192},
        {128, 128, 128},
        {0, 0, 255},
        {0, 255, 0},
        {0, 255, 255},
        {255, 0, 0},
    }};
    return kColours.at(std::size_t(k % int(kColours.size())));
}

QList<ChartBar> ReportPlot::bars() const
{
    QList<ChartBar> result;
    const int n = count();
    for (int k = 0; k < n; ++k) {
        const int height = BarHeight(style, TimeTextToMinutes(times.at(k)));
        result.append(
            {height, kBarPitch * k + kBarLeft, kAxisY - height, kBarPitch * k + kBarRight, kBarBottom, BarColour(k)});
    }
    return result;
}

int ReportPlot::axisEnd() const
{
    return (count() + 2) * kBarPitch + 41;
}

int ReportPlot::logicalWidth() const
{
    return std::max(kChartWidth, axisEnd() + kRightMargin);
}

QList<ChartText> ReportPlot::texts() const
{
    QList<ChartText> result;
    const QList<ChartBar> all = bars();
    for (int k = 0; k < all.size(); ++k) {
        const double x = kBarPitch * k + kTextX;
        result.append({dates.at(k), x, kDateY, ChartText::Anchor::Centre});
        result.append({times.at(k), x, double(all.at(k).top), ChartText::Anchor::BottomAt});
    }
    if (all.isEmpty())
        return result;
    const bool monthly = style == ReportStyle::Monthly;
    const int lastHour = monthly ? 40 : 9;
    const int step = monthly ? 4 : 1;
    const double unitsPerHour = monthly ? 7.5 : 30;
    for (int hour = 0; hour <= lastHour; hour += step) {
        const QString text = (hour < 10 ? QStringLiteral("0") : QString()) + QString::number(hour) + u":00 -";
        result.append({text, kLabelEndX, kAxisY - unitsPerHour * hour, ChartText::Anchor::RightEndAt});
    }
    result.append({averageLine(), logicalWidth() / 2.0, kChartHeight * 61 / 64.0, ChartText::Anchor::Centre, 10});
    return result;
}

QString ReportPlot::title() const
{
    switch (style) {
    case ReportStyle::Daily: return QStringLiteral("Daily Report Graph ");
    case ReportStyle::Monthly: return QStringLiteral("Monthly Report Graph ");
    case ReportStyle::None:
    case ReportStyle::Full: break;
    }
    return {};
}

QString ReportPlot::averageText() const
{
    const qint64 n = count();
    if (n == 0)
        return {};
    // The mean in hours to two decimals (a half away from zero), then the hundredths as minutes.
    const qint64 hundredths = (std::max<qint64>(sumMinutes, 0) * 200 + 60 * n) / (120 * n);
    const qint64 minutes = (hundredths % 100 * 60 + 50) / 100;
    return QString::number(hundredths / 100) + u':' + QStringLiteral("%1").arg(minutes, 2, 10, QLatin1Char('0'));
}

QString ReportPlot::averageLine() const
{
    const QString average = averageText();
    if (average.isEmpty())
        return {};
    if (style == ReportStyle::Monthly)
        return u"Monthly average of OnLine time is: " + average + u"  per month.";
    return u"Daily average of OnLine time is: " + average + u"  per day.";
}
