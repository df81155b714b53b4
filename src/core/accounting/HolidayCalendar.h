#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The holiday calendar, Holiday.hl: one record per holiday, "date","name", the date as
// d/m/yyyy. Any number of records; malformed ones are skipped.
struct Holiday
{
    QString dateText; // as stored; may not be a valid date (it then never matches)
    QString name;
};

class HolidayCalendar
{
public:
    explicit HolidayCalendar(QString path);

    // Replaces the holidays by what the file holds now. A missing file is created empty.
    // Returns false (and holds no holidays) when the file exists but cannot be read; *error
    // then names the file and the reason.
    bool LoadHolidays(QString *error = nullptr);

    const QList<Holiday> &holidays() const { return m_holidays; }
    // One more than the number of records read (1 for an empty file), as the editor counts.
    int count() const { return int(m_holidays.size()) + 1; }

    bool isHoliday(const QDate &date) const;

    // Rewrites the file from the editor's rows. One row with both cells empty empties
    // the file; no rows at all leave it unchanged. Returns false with *error on failure.
    bool SaveHolidays(const QList<Holiday> &rows, QString *error = nullptr);

    // "25/12/2024" (also accepts two-digit years as 20yy); invalid QDate otherwise.
    static QDate parseDate(const QString &text);
    static QString formatDate(const QDate &date);

private:
    void setHolidays(QList<Holiday> holidays);

    QString m_path;
    QList<Holiday> m_holidays;
    QList<QDate> m_dates; // m_holidays' dates, parsed once: isHoliday is asked often
};
