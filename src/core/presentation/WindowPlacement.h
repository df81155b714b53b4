#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// Window positions are stored in twips (1/1440 inch) and must land on a screen that still
// exists when they are read back. Pure functions; the caller supplies the screens' DPI and
// available geometries.
namespace WindowPlacement {

constexpr int kTwipsPerInch = 1440;
// Used when the given DPI is not a positive number.
constexpr qreal kDefaultDpi = 96.0;
// Pixel coordinates are kept within this, so window arithmetic can never overflow.
constexpr int kMaxPixels = 1000000;

int twipsToPixels(double twips, qreal dpi);
qint64 pixelsToTwips(int pixels, qreal dpi);
// A stored PosTop/PosLeft: text that is not a number reads as 0.
int storedTwipsToPixels(const QString &stored, qreal dpi);

// Where a window of windowSize may go when asked for topLeftPixels. A window at least half
// visible stays where it is (only its caption is pulled down below a screen's top edge);
// otherwise it is moved fully onto the nearest screen, the first one (the primary) on ties.
// With no screens at all the position is returned unchanged.
QPoint placeOnScreen(QPoint topLeftPixels, QSize windowSize, const QList<QRect> &availableScreens);

} // namespace WindowPlacement
