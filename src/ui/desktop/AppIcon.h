#pragma once

#include <QIcon>
#include <QPixmap>

// The program's icon, drawn in code: a clock face with a telephone handset across it.
QIcon AppIcon();
// The same picture at one size (in device-independent pixels).
QPixmap AppIconPixmap(int size, qreal devicePixelRatio = 1.0);
