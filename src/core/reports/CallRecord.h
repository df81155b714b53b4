#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// What the connection log and the call report take from a finished call, as the main
// window shows it at that moment.
struct CallRecord
{
    QString provider;
    QString callsNumber; // lblCallsNumber, this call included
    QDate startDate;     // taken when the connection came up
    QTime startTime;
    QTime endTime;     // taken, to the second, when the end of the call was seen
    QString duration;  // lblCurrTime
    QString callCost;  // the call's payment, "0.0000"
    QString todayTime; // plain "h:m:s"
    QString monthTime;
    QString totalTime;
    QString totalCost;      // lblCost, "0.0000"
    QString tariffName;     // lblTariffName
    QString currencySymbol; // lblSym
};
