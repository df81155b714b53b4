#pragma once

#include <QByteArray>
#include <QString>

// What the dialer needs of the loaded provider (all empty when none is loaded).
struct ProviderConnection
{
    QString name;
    QString login;
    QByteArray password; // unscrambled; empty when not saved
    QString phone;
    bool redial = false;
    bool keepLog = false;
    bool keepReport = false;
};
