#pragma once

#include <QString>

// Hours, minutes and seconds online. 32-bit parts, so totals beyond 255 hours and calls
// beyond a day are kept; the texts are those of the stored form.
struct TimeCounter
{
    quint32 hours = 0;
    quint32 minutes = 0;
    quint32 seconds = 0;

    // One second on: seconds carry 60 at a time, so a counter pushed past 59 by added
    // time catches up over the following seconds (0:0:65 -> 0:1:6).
    void addSecond();
    // Added time lands on the seconds only; the carry follows with addSecond().
    void addSeconds(quint32 count);

    // "1:5:9"
    QString plainText() const;
    // "01:05:09" (each part at least two digits; "123:04:05")
    QString paddedText() const;
    // Reads "h:m:s" (plain or padded); parts that are not whole numbers >= 0 read as 0,
    // and a text without two colons is 0:0:0.
    static TimeCounter fromText(const QString &text);

    bool operator==(const TimeCounter &) const = default;
};
