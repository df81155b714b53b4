#pragma once

#include "support/CoreRig.h"

// The core on the simulated line with its timer loop running, as the window starts it
// (without the start's settings, provider list and demo tariff).
struct ConnectionRig : CoreRig
{
    explicit ConnectionRig(const QString &phonebook = QString(),
                           const QDateTime &start = QDateTime(QDate(2024, 3, 5), QTime(12, 0)))
        : CoreRig(phonebook, start)
    {
        options.setCurrencySymbol("$");
        engine.start();
    }
};
