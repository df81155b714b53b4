#pragma once

#include "support/ConnectionRig.h"

// The running core with "Home" in the phone book, dialed in two seconds.
struct EngineRig : ConnectionRig
{
    explicit EngineRig(const QString &phonebook = "[Home]\nNumber=555-0100\nConnectAfter=2\n",
                       const QDateTime &start = QDateTime(QDate(2024, 3, 5), QTime(12, 0)))
        : ConnectionRig(phonebook, start)
    {
    }

    // Loads "Home" (log, report and all log items on) and reloads the general options.
    void prepareHome();
    // Connect, and run until the call is open.
    void connectAndOpen();
    void reloadOptions() { options.load(store); }
};
