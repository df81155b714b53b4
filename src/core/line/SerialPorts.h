#pragma once

#include <QString>
#include <QStringList>

// The serial devices a modem may hang on: /dev/ttyS* (built-in ports), /dev/ttyUSB* (USB
// adapters) and /dev/ttyACM* (USB modems), in that order, each group by its number.
// devDir is "/dev" but for tests.
QStringList SerialPorts(const QString &devDir = QStringLiteral("/dev"));
