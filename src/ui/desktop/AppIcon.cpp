#include "desktop/AppIcon.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kNavy(0x1f, 0x3a, 0x68);
const QColor kAmber(0xf2, 0xa9, 0x00);
// The picture is designed on a 64 x 64 grid and scaled.
constexpr qreal kGrid = 64.0;

void drawClock(QPainter &painter)
{
    painter.setPen(QPen(kNavy, 4));
    painter.setBrush(kAmber);
    painter.drawEllipse(QRectF(4, 4, 56, 56));
    painter.setPen(QPen(kNavy, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(32, 32), QPointF(32, 14)); // minute hand at twelve
    painter.drawLine(QPointF(32, 32), QPointF(44, 26)); // hour hand at two
}

void drawHandset(QPainter &painter)
{
    // Two ear/mouth pieces joined by a bowed grip, lying across the lower half.
    QPainterPath handset;
    handset.moveTo(10, 46);
    handset.cubicTo(18, 36, 46, 36, 54, 46);
    handset.lineTo(54, 54);
    handset.lineTo(44, 56);
    handset.lineTo(42, 49);
    handset.cubicTo(36, 46, 28, 46, 22, 49);
    handset.lineTo(20, 56);
    handset.lineTo(10, 54);
    handset.closeSubpath();
    painter.setPen(QPen(kAmber, 1.5));
    painter.setBrush(kNavy);
    painter.drawPath(handset);
}

} // namespace

QPixmap AppIconPixmap(int size, qreal devicePixelRatio)
{
    const int pixels = qMax(1, qRound(size * devicePixelRatio));
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(pixels / kGrid, pixels / kGrid);
        drawClock(painter);
        drawHandset(painter);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon AppIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128})
        icon.addPixmap(AppIconPixmap(size));
    return icon;
}
