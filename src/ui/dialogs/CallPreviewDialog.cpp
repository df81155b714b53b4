#include "dialogs/CallPreviewDialog.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "composition/AppCore.h"
#include "desktop/DialogWidgets.h"

using namespace DialogWidgets;
using Row = CallPreview::Row;

namespace {

const QString kDateTime = QStringLiteral("d/M/yyyy HH:mm:ss");

QSpinBox *newSpin(const QString &name, int high, QWidget *parent)
{
    auto *spin = named(new QSpinBox(parent), name);
    spin->setRange(0, high);
    return spin;
}

} // namespace

CallPreviewDialog::CallPreviewDialog(AppCore &core, QWidget *parent) : QDialog(parent), m_core(core)
{
    setObjectName(QStringLiteral("frmCallPreview"));
    setWindowTitle(QStringLiteral("Preview a Call"));
    m_provider = named(new QComboBox(this), QStringLiteral("cboProvider"));
    m_provider->addItems(m_core.providerNames());
    m_provider->setCurrentText(m_core.pickedProvider());
    m_start = named(new QDateTimeEdit(this), QStringLiteral("dtpStart"));
    m_start->setDisplayFormat(kDateTime);
    QDateTime now = m_core.now();
    now.setTime(QTime(now.time().hour(), now.time().minute()));
    m_start->setDateTime(now);
    m_hours = newSpin(QStringLiteral("txtHours"), 99, this);
    m_minutes = newSpin(QStringLiteral("txtMinutes"), 59, this);
    m_seconds = newSpin(QStringLiteral("txtSeconds"), 59, this);
    m_minutes->setValue(10);

    m_rows = named(new QTableWidget(0, 6, this), QStringLiteral("grdBreakdown"));
    m_rows->setHorizontalHeaderLabels({QStringLiteral("From"), QStringLiteral("To"), QStringLiteral("Minutes"),
                                       QStringLiteral("Tariff"), QStringLiteral("Rate"), QStringLiteral("Cost")});
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rows->verticalHeader()->hide();
    m_rows->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_total = named(caption(QString(), this), QStringLiteral("lblTotal"));
    m_notes = named(caption(QString(), this), QStringLiteral("lblNotes"));
    m_notes->setWordWrap(true);
    auto *close = newButton(QStringLiteral("cmdClose"), QStringLiteral("Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *form = new QGridLayout;
    form->addWidget(caption(QStringLiteral("Provider:"), this), 0, 0);
    form->addWidget(m_provider, 0, 1, 1, 6);
    form->addWidget(caption(QStringLiteral("Call begins:"), this), 1, 0);
    form->addWidget(m_start, 1, 1, 1, 6);
    form->addWidget(caption(QStringLiteral("Call lasts:"), this), 2, 0);
    QSpinBox *const parts[] = {m_hours, m_minutes, m_seconds};
    const char *const units[] = {"hours", "minutes", "seconds"};
    for (int i = 0; i < 3; ++i) {
        form->addWidget(parts[i], 2, 1 + 2 * i);
        form->addWidget(caption(QString::fromLatin1(units[i]), this), 2, 2 + 2 * i);
    }
    auto *total = new QHBoxLayout;
    total->addWidget(caption(QStringLiteral("Total:"), this));
    total->addWidget(m_total, 1);
    total->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_rows, 1);
    layout->addWidget(m_notes);
    layout->addLayout(total);
    resize(560, 380);

    connect(m_provider, &QComboBox::currentTextChanged, this, &CallPreviewDialog::showPreview);
    connect(m_start, &QDateTimeEdit::dateTimeChanged, this, &CallPreviewDialog::showPreview);
    for (QSpinBox *spin : {m_hours, m_minutes, m_seconds})
        connect(spin, &QSpinBox::valueChanged, this, &CallPreviewDialog::showPreview);
    showPreview();
}

void CallPreviewDialog::showPreview()
{
    const qint64 seconds = m_hours->value() * 3600 + m_minutes->value() * 60 + m_seconds->value();
    const QDateTime start = m_start->dateTime();
    const CallPreview::Result preview = m_core.previewCall(m_provider->currentText(), start, seconds);
    const QString symbol = m_core.options().currencySymbol();
    const auto when = [&start](const QDateTime &at) {
        return at.toString(at.date() == start.date() ? QStringLiteral("HH:mm:ss") : kDateTime);
    };
    m_rows->setRowCount(int(preview.rows.size()));
    for (int r = 0; r < int(preview.rows.size()); ++r) {
        const Row &row = preview.rows[r];
        QStringList cells;
        switch (row.kind) {
        case Row::Kind::Minutes:
            cells = {when(row.from), when(row.to), QString::number(row.minutes),
                     row.tariff.isEmpty() ? QStringLiteral("None") : row.tariff, symbol + row.rate.toFixed()};
            break;
        case Row::Kind::Fee: cells = {QStringLiteral("Connection fee"), {}, {}, {}, {}}; break;
        case Row::Kind::MinimumCharge: cells = {QStringLiteral("Raised to the minimum charge"), {}, {}, {}, {}}; break;
        }
        cells << symbol + row.cost.toFixed();
        for (int c = 0; c < int(cells.size()); ++c)
            m_rows->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    m_total->setText(symbol + preview.total.toFixed());
    QStringList notes = preview.notes;
    if (preview.unchargedSeconds > 0)
        notes << QStringLiteral("The last %1 seconds are not a whole minute and cost nothing.")
                     .arg(preview.unchargedSeconds);
    m_notes->setText(notes.join(QLatin1Char('\n')));
}
