#pragma once

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>

#include "accounting/HolidayCalendar.h"

class Clock;
class Prompter;

// The holiday editor's list: the rows of Holiday.hl as the window's grid shows them (below
// its header row), edited in memory and written back only by save(). The window shows this
// model and forwards every user action to it; every message goes through the prompter.
class HolidayEditor : public QObject
{
    Q_OBJECT
public:
    // Reads the file. A file that exists but cannot be read is told, and saving is turned off:
    // the holidays in it must never be overwritten by the empty list shown instead.
    HolidayEditor(const QString &path, Prompter &prompter, const Clock &clock, QObject *parent = nullptr);

    // One row per holiday, in the file's order. Removing the only row leaves one empty row,
    // which saving turns into an empty file.
    const QList<Holiday> &rows() const { return m_rows; }
    // The day the calendar opens on.
    QDate today() const;

    // cmdAddHoliday: appends date (as d/m/yyyy) and name. An empty name is refused with a
    // message and nothing is added. No check for duplicates or for the number of rows: the
    // calendar keeps any number of holidays.
    bool add(const QDate &date, const QString &name);
    // cmdRemoveHoliday: removes the row after the user's Yes. A row that is not there (the
    // grid has no holiday row, or none is current) asks nothing and changes nothing.
    bool remove(int row);

    bool canSave() const { return m_canSave; }
    // cmdSaveChanges: replaces the file by the rows. A failure is told and the rows are
    // kept, so the window can stay open with the edits. Returns whether the file was written.
    bool save();

signals:
    // The file now holds the rows.
    void saved();

private:
    HolidayCalendar m_calendar;
    Prompter &m_prompter;
    const Clock &m_clock;
    QList<Holiday> m_rows;
    bool m_canSave = true;
};
