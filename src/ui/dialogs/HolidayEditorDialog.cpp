#include "dialogs/HolidayEditorDialog.h"

#include <algorithm>

#include <QCalendarWidget>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "accounting/HolidayEditor.h"
#include "composition/AppCore.h"
#include "desktop/DialogWidgets.h"
#include "presentation/WindowPlacement.h"
#include "settings/GeneralOptions.h"

using namespace DialogWidgets;

namespace {

constexpr int kDateWidthTwips = 1200;
constexpr int kNameWidthTwips = 4000;

QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return item;
}

} // namespace

HolidayEditorDialog::HolidayEditorDialog(AppCore &core, QWidget *parent)
    : QDialog(parent), m_editor(core.editHolidays())
{
    setObjectName(QStringLiteral("frmHolidayEditor"));
    setWindowTitle(QStringLiteral("Holiday Editor"));

    auto *frame = named(new QGroupBox(QStringLiteral("Available Holidays:"), this), QStringLiteral("Frame2"));
    m_grid = named(new QTableWidget(0, 2, frame), QStringLiteral("MSFlexGrid1"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Holiday Name")});
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    const qreal dpi = logicalDpiX();
    const int dateWidth = WindowPlacement::twipsToPixels(kDateWidthTwips, dpi);
    const int nameWidth = WindowPlacement::twipsToPixels(kNameWidthTwips, dpi);
    m_grid->setColumnWidth(0, dateWidth);
    m_grid->setColumnWidth(1, nameWidth);
    // Both columns in view, with room for the scroll bar of a long list.
    m_grid->setMinimumWidth(dateWidth + nameWidth + 2 * m_grid->frameWidth() +
                            m_grid->verticalScrollBar()->sizeHint().width());
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_grid);

    m_calendar = named(new QCalendarWidget(this), QStringLiteral("MonthView1"));
    m_calendar->setSelectedDate(m_editor->today());
    m_name = newEdit(QStringLiteral("Text1"), this);
    m_name->setText(QStringLiteral("Holiday's Name"));
    auto *add = newButton(QStringLiteral("cmdAddHoliday"), QStringLiteral("Add New Holiday"), this);
    auto *remove = newButton(QStringLiteral("cmdRemoveHoliday"), QStringLiteral("Remove Holiday"), this);
    auto *save = newButton(QStringLiteral("cmdSaveChanges"), QStringLiteral("Save Changes"), this);
    auto *cancel = newButton(QStringLiteral("Command1"), QStringLiteral("Cancel"), this);
    save->setEnabled(m_editor->canSave());

    auto *entry = new QVBoxLayout;
    entry->addWidget(m_calendar);
    entry->addWidget(m_name);
    entry->addWidget(add);
    entry->addWidget(remove);
    entry->addStretch();
    auto *lists = new QHBoxLayout;
    lists->addWidget(frame, 1);
    lists->addLayout(entry);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(buttons);

    connect(m_calendar, &QCalendarWidget::clicked, this, &HolidayEditorDialog::MonthView1_DateClick);
    connect(add, &QPushButton::clicked, this, &HolidayEditorDialog::cmdAddHoliday_Click);
    connect(remove, &QPushButton::clicked, this, &HolidayEditorDialog::cmdRemoveHoliday_Click);
    connect(save, &QPushButton::clicked, this, &HolidayEditorDialog::cmdSaveChanges_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    showRows(0);
    setWindowFlag(Qt::WindowStaysOnTopHint, core.options().isChecked(GeneralOptions::Check::OnTop));
}

HolidayEditorDialog::~HolidayEditorDialog() = default;

void HolidayEditorDialog::showRows(int row)
{
    const QList<Holiday> &rows = m_editor->rows();
    m_grid->setRowCount(int(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) {
        m_grid->setItem(i, 0, cell(rows.at(i).dateText));
        m_grid->setItem(i, 1, cell(rows.at(i).name));
    }
    if (!rows.isEmpty())
        m_grid->setCurrentCell(std::clamp(row, 0, int(rows.size()) - 1), 0);
}

void HolidayEditorDialog::MonthView1_DateClick()
{
    m_name->clear();
    m_name->setFocus();
}

void HolidayEditorDialog::cmdAddHoliday_Click()
{
    if (!m_editor->add(m_calendar->selectedDate(), m_name->text())) {
        m_name->setFocus();
        return;
    }
    showRows(int(m_editor->rows().size()) - 1);
}

void HolidayEditorDialog::cmdRemoveHoliday_Click()
{
    const int row = m_grid->currentRow();
    if (m_editor->remove(row))
        showRows(row);
}

void HolidayEditorDialog::cmdSaveChanges_Click()
{
    if (m_editor->save())
        accept();
}
