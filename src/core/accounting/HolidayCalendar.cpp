#include "accounting/HolidayCalendar.h"

#include <algorithm>

#include <QFile>
#include <QRegularExpression>

#include "platform/TextFiles.h"
#include "reports/RecordFile.h"

HolidayCalendar::HolidayCalendar(QString path) : m_path(std::move(path))
{
}

bool HolidayCalendar::LoadHolidays(QString *error)
{
    // Emptied first: a holiday deleted from the file, or a file that is gone or cannot be
    // read, must never leave an old holiday priced.
    setHolidays({});
    const RecordFile::ReadResult read = RecordFile::ReadRecords(m_path, 2);
    if (!read.ok) {
        if (error)
            *error = read.error;
        return false;
    }
    if (read.missing) {
        // The editor expects the file to be there. NewOnly: never clobber a file that
        // appeared in the meantime.
        QFile file(m_path);
        file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        return true;
    }
    QList<Holiday> holidays;
    holidays.reserve(read.records.size());
    for (const QStringList &record : read.lists()) {
        if (record.at(0).isEmpty() && record.at(1).isEmpty())
            continue;
        holidays.append({record.at(0), record.at(1)});
    }
    setHolidays(std::move(holidays));
    return true;
}

bool HolidayCalendar::isHoliday(const QDate &date) const
{
    // An invalid date would otherwise equal every unreadable record.
    return date.isValid() && m_dates.contains(date);
}

bool HolidayCalendar::SaveHolidays(const QList<Holiday> &rows, QString *error)
{
    if (rows.isEmpty())
        return true;
    // Rows with both cells empty are the editor's blank lines; they are not holidays, and
    // reading the file back would drop them anyway.
    QList<Holiday> saved;
    QString text;
    for (const Holiday &row : rows) {
        if (row.dateText.isEmpty() && row.name.isEmpty())
            continue;
        const Holiday holiday{RecordFile::QuoteField(row.dateText), RecordFile::QuoteField(row.name)};
        text += RecordFile::FormatRecord({holiday.dateText, holiday.name});
        saved.append(holiday);
    }
    QString reason;
    if (!TextFiles::Replace(m_path, text, &reason)) {
        if (error)
            *error = QStringLiteral("The holiday calendar could not be saved to %1: %2.").arg(m_path, reason);
        return false;
    }
    setHolidays(std::move(saved));
    return true;
}

QDate HolidayCalendar::parseDate(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,2})/([0-9]{1,2})/([0-9]{4}|[0-9]{2})$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return QDate();
    int year = match.capturedView(3).toInt();
    if (match.capturedLength(3) == 2)
        year += 2000;
    return QDate(year, match.capturedView(2).toInt(), match.capturedView(1).toInt());
}

QString HolidayCalendar::formatDate(const QDate &date)
{
    return date.isValid() ? date.toString(u"d/M/yyyy") : QString();
}

void HolidayCalendar::setHolidays(QList<Holiday> holidays)
{
    m_holidays = std::move(holidays);
    m_dates.clear();
    m_dates.reserve(m_holidays.size());
    for (const Holiday &holiday : m_holidays) {
        const QDate date = parseDate(holiday.dateText);
        if (date.isValid())
            m_dates.append(date);
    }
}
