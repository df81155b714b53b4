#include "dialogs/CalculatorDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLocale>
#include <QSignalBlocker>
#include <QSpinBox>

#include "desktop/DialogWidgets.h"
#include "settings/GeneralOptions.h"

using namespace DialogWidgets;

namespace {

// "0.0000" with the locale's decimal separator.
QString shown(Money amount)
{
    return amount.toFixed().replace(QLatin1Char('.'), QLocale().decimalPoint());
}

} // namespace

CalculatorDialog::CalculatorDialog(const GeneralOptions &options, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCalculator"));
    setWindowTitle(QStringLiteral("Tariff Calculator"));
    setWindowFlag(Qt::WindowStaysOnTopHint, options.isChecked(GeneralOptions::Check::OnTop));

    m_total = named(caption(shown(Money()), this), QStringLiteral("lblTotalCost"));
    auto *preview = newButton(QStringLiteral("cmdPreview"), QStringLiteral("Preview a Call..."), this);
    connect(preview, &QPushButton::clicked, this, &CalculatorDialog::previewRequested);

    auto *totalRow = new QHBoxLayout;
    totalRow->addWidget(caption(QStringLiteral("Total Sum:"), this));
    totalRow->addWidget(m_total);
    totalRow->addStretch();
    totalRow->addWidget(preview);
    auto *layout = new QVBoxLayout(this);
    for (int frame = 0; frame < CostCalculator::kFrames; ++frame)
        layout->addWidget(buildFrame(frame));
    layout->addLayout(totalRow);
}

QWidget *CalculatorDialog::buildFrame(int frame)
{
    const bool additive = frame == 1;
    auto *box = new QGroupBox(
        additive ? QStringLiteral("Additive Cost Calculation:") : QStringLiteral("Per minute Cost Calculation:"), this);
    auto *cost = newEdit(additive ? QStringLiteral("txtAddCost") : QStringLiteral("txtCost"), box);
    cost->setText(shown(Money()));
    connect(cost, &QLineEdit::textChanged, this, [this, frame](const QString &text) {
        m_calculator.setCost(frame, text);
        showFigures();
    });

    auto *hours = named(new QSpinBox(box), QStringLiteral("txtHour%1").arg(frame));
    hours->setRange(0, CostCalculator::kMaxMinutes / 60);
    connect(hours, &QSpinBox::valueChanged, this, [this, frame, hours](int value) {
        timeChanged(frame, hours, m_calculator.setHours(frame, QString::number(value)));
    });
    auto *minutes = named(new QSpinBox(box), QStringLiteral("txtMinute%1").arg(frame));
    minutes->setRange(0, 59);
    connect(minutes, &QSpinBox::valueChanged, this, [this, frame, minutes](int value) {
        timeChanged(frame, minutes, m_calculator.setMinutes(frame, QString::number(value)));
    });
    m_hours[std::size_t(frame)] = hours;
    m_minutes[std::size_t(frame)] = minutes;
    m_perMinute[std::size_t(frame)] = named(caption(shown(Money()), box), additive ? QStringLiteral("lblMinuteAddCost")
                                                                                   : QStringLiteral("lblMinuteCost"));

    auto *grid = new QGridLayout(box);
    grid->addWidget(caption(QStringLiteral("Total cost:"), box), 0, 0);
    grid->addWidget(cost, 0, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("Hours:"), box), 1, 0);
    grid->addWidget(hours, 1, 1);
    grid->addWidget(caption(QStringLiteral("Minutes:"), box), 1, 2);
    grid->addWidget(minutes, 1, 3);
    grid->addWidget(caption(QStringLiteral("Cost per minute:"), box), 2, 0);
    grid->addWidget(m_perMinute[std::size_t(frame)], 2, 1, 1, 3);
    return box;
}

void CalculatorDialog::timeChanged(int frame, QSpinBox *box, bool accepted)
{
    if (!accepted) {
        const QSignalBlocker blocker(box);
        box->setValue(box == m_hours[std::size_t(frame)] ? m_calculator.hours(frame) : m_calculator.minutes(frame));
    }
    showFigures();
}

void CalculatorDialog::showFigures()
{
    for (int frame = 0; frame < CostCalculator::kFrames; ++frame)
        m_perMinute[std::size_t(frame)]->setText(shown(m_calculator.perMinute(frame)));
    m_total->setText(shown(m_calculator.total()));
}
