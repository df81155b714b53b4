#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "reports/ReportStyle.h"

// The bar chart of marked daily or monthly report rows, as figures on a surface of
// logicalWidth() x kChartHeight units (x to the right, y downwards from the top-left corner).
// The window only draws what these say.

struct ChartColour
{
    int red = 0;
    int green = 0;
    int blue = 0;
};

// A filled bar: the box from (left, top) to (right, bottom), both corners inside.
struct ChartBar
{
    int height = 0; // units above the x axis
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    ChartColour colour;
};

// A text placed at an anchor in chart units; the text itself keeps its point size whatever the
// surface's scale.
struct ChartText
{
    enum class Anchor {
        Centre,     // centred on (x, y)
        BottomAt,   // centred on x, its bottom on y
        RightEndAt, // ending at x, centred on y
    };
    QString text;
    double x = 0;
    double y = 0;
    Anchor anchor = Anchor::Centre;
    int pointSize = 7;
};

struct ReportPlot
{
    static constexpr int kChartWidth = 800; // the least width; more bars widen it
    static constexpr int kChartHeight = 400;
    static constexpr int kAxisY = 340;    // the x axis, where the bars stand
    static constexpr int kAxisTop = 40;   // the top of the y axis
    static constexpr int kAxisX = 80;     // the y axis
    static constexpr int kLabelEndX = 70; // where the hour labels end

    ReportStyle style = ReportStyle::None;
    QStringList dates;
    QStringList times; // "h:m:s"
    qint64 sumMinutes = 0;

    // The marked rows in the order shown; the sum is taken from the times.
    static ReportPlot FromRows(ReportStyle style, QStringList dates, QStringList times);

    // The number of bars: 0 (axes only) unless the style is daily or monthly and there are as
    // many dates as times.
    int count() const;

    // Units of a bar for these minutes: daily 2 minutes a unit, monthly 8, a half to the even.
    static int BarHeight(ReportStyle style, int minutes);
    // Bar k's colour; past the twelfth the colours start again.
    static ChartColour BarColour(int k);

    QList<ChartBar> bars() const;
    // Where the x axis ends: two bars' room after the last bar.
    int axisEnd() const;
    // Wide enough for the x axis and every bar, at least kChartWidth.
    int logicalWidth() const;

    // Dates under the bars, times on top of them, the hour labels and the average line; none
    // without bars.
    QList<ChartText> texts() const;
    // "Daily Report Graph " or "Monthly Report Graph "; empty for the other styles.
    QString title() const;
    // The mean time per bar as "h:mm" (from the mean in hours to two decimals); empty without bars.
    QString averageText() const;
    QString averageLine() const;
};
