#pragma once

#include <QDialog>

#include <memory>

class AppCore;
class HolidayEditor;
class QCalendarWidget;
class QLineEdit;
class QPushButton;
class QTableWidget;

// frmHolidayEditor: the holidays in a grid, a month calendar and a name box to add one, and
// the buttons to remove the current row, save and cancel. The edits live in the model that
// AppCore hands out until "Save Changes" writes them; the window closes only when that
// succeeded. "Cancel", or closing the window, discards them.
class HolidayEditorDialog : public QDialog
{
    Q_OBJECT
public:
    explicit HolidayEditorDialog(AppCore &core, QWidget *parent = nullptr);
    ~HolidayEditorDialog() override;

    const HolidayEditor &editor() const { return *m_editor; }

private:
    // The grid from the model; the current row moved to row (kept within the rows).
    void showRows(int row);

    void MonthView1_DateClick();
    void cmdAddHoliday_Click();
    void cmdRemoveHoliday_Click();
    void cmdSaveChanges_Click();

    std::unique_ptr<HolidayEditor> m_editor;
    QTableWidget *m_grid = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    QLineEdit *m_name = nullptr;
};
