#include "presentation/WindowPlacement.h"

#include <algorithm>
#include <cmath>

namespace WindowPlacement {

namespace {

qreal usableDpi(qreal dpi)
{
    return std::isfinite(dpi) && dpi > 0 ? dpi : kDefaultDpi;
}

int clampPixels(double value)
{
    if (std::isnan(value))
        return 0;
    return int(std::lround(std::clamp(value, double(-kMaxPixels), double(kMaxPixels))));
}

qint64 area(const QRect &rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

// Squared gap between two rectangles; 0 when they touch or overlap.
qint64 distance(const QRect &a, const QRect &b)
{
    const qint64 dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const qint64 dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

int fitInto(int position, int length, int start, int available)
{
    if (length >= available)
        return start;
    return std::clamp(position, start, start + available - length);
}

} // namespace

int twipsToPixels(double twips, qreal dpi)
{
    return clampPixels(twips * usableDpi(dpi) / kTwipsPerInch);
}

qint64 pixelsToTwips(int pixels, qreal dpi)
{
    return std::llround(double(pixels) * kTwipsPerInch / usableDpi(dpi));
}

int storedTwipsToPixels(const QString &stored, qreal dpi)
{
    bool ok = false;
    const double twips = stored.trimmed().toDouble(&ok);
    return ok ? twipsToPixels(twips, dpi) : 0;
}

QPoint placeOnScreen(QPoint topLeftPixels, QSize windowSize, const QList<QRect> &availableScreens)
{
    QList<QRect> screens;
    std::copy_if(availableScreens.begin(), availableScreens.end(), std::back_inserter(screens),
                 [](const QRect &screen) { return !screen.isEmpty(); });
    if (screens.isEmpty())
        return topLeftPixels;

    const QPoint topLeft(std::clamp(topLeftPixels.x(), -kMaxPixels, kMaxPixels),
                         std::clamp(topLeftPixels.y(), -kMaxPixels, kMaxPixels));
    const QSize size(std::clamp(windowSize.width(), 1, kMaxPixels), std::clamp(windowSize.height(), 1, kMaxPixels));
    const QRect window(topLeft, size);

    qint64 visible = 0;
    qsizetype mostVisible = 0;
    qint64 mostVisibleArea = 0;
    for (qsizetype i = 0; i < screens.size(); ++i) {
        const qint64 shown = area(window.intersected(screens[i]));
        visible += shown;
        if (shown > mostVisibleArea) {
            mostVisibleArea = shown;
            mostVisible = i;
        }
    }
    if (mostVisibleArea > 0 && visible * 2 >= area(window)) {
        // A caption above every screen could not be taken hold of to move the window back.
        const QRect topEdge(topLeft, QSize(size.width(), 1));
        const bool captionShown = std::any_of(screens.begin(), screens.end(),
                                              [&topEdge](const QRect &screen) { return screen.intersects(topEdge); });
        if (captionShown)
            return topLeft;
        return QPoint(topLeft.x(), std::max(topLeft.y(), screens[mostVisible].top()));
    }

    const auto nearest = std::min_element(screens.begin(), screens.end(), [&window](const QRect &a, const QRect &b) {
        return distance(window, a) < distance(window, b);
    });
    return QPoint(fitInto(topLeft.x(), size.width(), nearest->left(), nearest->width()),
                  fitInto(topLeft.y(), size.height(), nearest->top(), nearest->height()));
}

} // namespace WindowPlacement
