#include "accounting/HolidayEditor.h"

#include "platform/Clock.h"
#include "platform/Prompter.h"

HolidayEditor::HolidayEditor(const QString &path, Prompter &prompter, const Clock &clock, QObject *parent)
    : QObject(parent), m_calendar(path), m_prompter(prompter), m_clock(clock)
{
    QString error;
    m_canSave = m_calendar.LoadHolidays(&error);
    if (!m_canSave) {
        m_prompter.fail(error + QStringLiteral("\nSave Changes is turned off so that the holidays in the file are "
                                               "kept."));
    }
    m_rows = m_calendar.holidays();
}

QDate HolidayEditor::today() const
{
    return m_clock.now().date();
}

bool HolidayEditor::add(const QDate &date, const QString &name)
{
    if (name.isEmpty()) {
        m_prompter.tell(QStringLiteral("You Must Enter Holiday's Name!"), Prompt::Icon::Exclamation);
        return false;
    }
    m_rows.append({HolidayCalendar::formatDate(date), name});
    return true;
}

bool HolidayEditor::remove(int row)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    const Prompt question{QStringLiteral("Are you sure to delete this Holiday?"), ProgramName(), Prompt::Icon::Question,
                          Prompt::Buttons::YesNo};
    if (m_prompter.ask(question) != Prompt::Answer::Yes)
        return false;
    // The grid keeps one row below its header: the last holiday leaves an empty row, and
    // saving that row empties the file (a list without rows would leave the file as it is).
    if (m_rows.size() == 1)
        m_rows.first() = Holiday{};
    else
        m_rows.removeAt(row);
    return true;
}

bool HolidayEditor::save()
{
    if (!m_canSave)
        return false;
    QString error;
    if (!m_calendar.SaveHolidays(m_rows, &error)) {
        m_prompter.fail(error);
        return false;
    }
    emit saved();
    return true;
}
