#include "dialogs/TariffPage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "desktop/DialogWidgets.h"

using namespace DialogWidgets;

namespace {

std::size_t slot(TariffEditor::Picker picker)
{
    return std::size_t(picker);
}

std::size_t slot(TariffEditor::Cost cost)
{
    return std::size_t(cost);
}

// A cost box loses the focus: the editor formats what was typed.
class CostBox final : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;
    std::function<void()> focusLost;

protected:
    void focusOutEvent(QFocusEvent *event) override
    {
        QLineEdit::focusOutEvent(event);
        if (focusLost)
            focusLost();
    }
};

} // namespace

TariffPage::TariffPage(std::unique_ptr<TariffEditor> editor, const QString &currencySymbol, QWidget *parent)
    : QWidget(parent), m_editor(std::move(editor))
{
    m_tariffs = named(new QComboBox(this), QStringLiteral("cboTariffs"));
    m_tariffs->setPlaceholderText(TariffEditor::NoSelectionText());
    connect(m_tariffs, &QComboBox::activated, this, [this](int index) { m_editor->select(index); });
    m_nameCaption = named(caption(QStringLiteral("Enter Tariff's Name:"), this), QStringLiteral("lblTariffName"));
    m_name = newEdit(QStringLiteral("txtTarifName"), this);
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString &text) { m_editor->setNewName(text); });

    const struct
    {
        const char *name;
        const char *text;
        int code;
    } modes[] = {{"opt1Intervals", "1 Interval-Tariff", TariffEditor::OneInterval},
                 {"opt2Intervals", "2 Interval-Tariff", TariffEditor::TwoIntervals},
                 {"opt3Intervals", "3 Interval-Tariff", TariffEditor::ThreeIntervals}};
    auto *modeRow = new QHBoxLayout;
    for (const auto &mode : modes) {
        auto *option = named(new QRadioButton(QString::fromLatin1(mode.text), this), QString::fromLatin1(mode.name));
        m_modes[std::size_t(mode.code)] = option;
        connect(option, &QRadioButton::clicked, this, [this, code = mode.code] { m_editor->setCode(code); });
        modeRow->addWidget(option);
    }
    m_oneDay = named(caption(QStringLiteral("One Day Tariff"), this), QStringLiteral("lblOneday"));
    modeRow->addWidget(m_oneDay);

    const struct
    {
        const char *name;
        const char *caption;
    } pickers[] = {{"txtFirstStart", "First tariff begins:"},   {"txtFirstEnd", "ends:"},
                   {"txtSecondStart", "Second tariff begins:"}, {"txtSecondEnd", "ends:"},
                   {"txtThirdStart", "Third Tariff begins:"},   {"txtThirdEnds", "ends:"}};
    auto *grid = new QGridLayout;
    for (int i = 0; i < int(Picker::Count_); ++i) {
        const auto picker = Picker(i);
        auto *edit = named(new QTimeEdit(this), QString::fromLatin1(pickers[i].name));
        edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        connect(edit, &QTimeEdit::timeChanged, this, [this, picker](QTime time) {
            if (!m_refreshing)
                m_editor->setTime(picker, time);
        });
        m_pickers[slot(picker)] = edit;
        m_pickerCaptions[slot(picker)] = caption(QString::fromLatin1(pickers[i].caption), this);
        grid->addWidget(m_pickerCaptions[slot(picker)], i / 2, (i % 2) * 2);
        grid->addWidget(edit, i / 2, (i % 2) * 2 + 1);
    }
    const char *const costCaptions[] = {
        "First tariff's cost per minute:", "Second tariff's cost per minute:", "Third tariff's cost per minute:"};
    const char *const costNames[] = {"txtFirstCost", "txtSecondCost", "txtThirdCost"};
    for (int i = 0; i < int(Cost::Count_); ++i) {
        const auto cost = Cost(i);
        auto *box = named(new CostBox(this), QString::fromLatin1(costNames[i]));
        box->setText(TariffEditor::ZeroCost());
        connect(box, &QLineEdit::textEdited, this,
                [this, cost](const QString &text) { m_editor->setCost(cost, text); });
        box->focusLost = [this, cost] { m_editor->formatCost(cost); };
        m_costs[slot(cost)] = box;
        m_costCaptions[slot(cost)] = caption(QString::fromLatin1(costCaptions[i]), this);
        auto *symbol = named(caption(currencySymbol, this), QStringLiteral("lblCurrSymb%1").arg(i + 1));
        grid->addWidget(m_costCaptions[slot(cost)], 3 + i, 0, 1, 2);
        grid->addWidget(box, 3 + i, 2);
        grid->addWidget(symbol, 3 + i, 3);
    }

    m_save = newButton(QStringLiteral("cmdSaveTariff"), QStringLiteral("Save tariff"), this);
    m_delete = newButton(QStringLiteral("cmdDeleteTariff"), QStringLiteral("Delete tariff"), this);
    m_export = newButton(QStringLiteral("cmdTffExport"), QStringLiteral("Export to a File"), this);
    m_import = newButton(QStringLiteral("cmdTffImport"), QStringLiteral("Import from a File"), this);
    auto *calculator = newButton(QStringLiteral("Command5"), QStringLiteral("Tariff Calculator"), this);
    auto *holidays = newButton(QStringLiteral("cmdHolidayEditor"), QStringLiteral("Holiday Editor"), this);
    // Save acts on what the boxes show, also when the last box still has the focus.
    connect(m_save, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < int(Cost::Count_); ++i)
            m_editor->formatCost(Cost(i));
        m_editor->save();
    });
    connect(m_delete, &QPushButton::clicked, this, [this] { m_editor->remove(); });
    connect(m_export, &QPushButton::clicked, this, [this] { m_editor->exportFile(); });
    connect(m_import, &QPushButton::clicked, this, [this] { m_editor->importFile(); });
    connect(calculator, &QPushButton::clicked, this, &TariffPage::calculatorRequested);
    connect(holidays, &QPushButton::clicked, this, &TariffPage::holidayEditorRequested);

    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_tariffs, 1);
    nameRow->addWidget(m_nameCaption);
    nameRow->addWidget(m_name, 1);
    auto *buttons = new QGridLayout;
    buttons->addWidget(m_save, 0, 0);
    buttons->addWidget(m_delete, 0, 1);
    buttons->addWidget(m_export, 1, 0);
    buttons->addWidget(m_import, 1, 1);
    buttons->addWidget(calculator, 2, 0);
    buttons->addWidget(holidays, 2, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(modeRow);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addStretch();

    connect(m_editor.get(), &TariffEditor::changed, this, &TariffPage::refresh);
    m_editor->fill();
    refresh();
}

TariffPage::~TariffPage() = default;

void TariffPage::refresh()
{
    m_refreshing = true;
    const QStringList entries = m_editor->entries();
    QStringList shown;
    for (int i = 0; i < m_tariffs->count(); ++i)
        shown << m_tariffs->itemText(i);
    if (shown != entries) {
        const QSignalBlocker blocker(m_tariffs);
        m_tariffs->clear();
        m_tariffs->addItems(entries);
    }
    m_tariffs->setCurrentIndex(m_editor->selectedIndex());

    m_nameCaption->setVisible(m_editor->isNameBoxShown());
    m_name->setVisible(m_editor->isNameBoxShown());
    if (m_name->text() != m_editor->newName())
        m_name->setText(m_editor->newName());

    const int code = m_editor->code();
    // Exclusive options: ticking one clears the others.
    if (code >= 0 && code < int(m_modes.size()))
        m_modes[std::size_t(code)]->setChecked(true);
    m_oneDay->setVisible(code == TariffEditor::OneInterval);
    for (int i = 0; i < int(Picker::Count_); ++i) {
        const auto picker = Picker(i);
        m_pickers[slot(picker)]->setTime(m_editor->time(picker));
        m_pickers[slot(picker)]->setEnabled(m_editor->isEnabled(picker));
        m_pickerCaptions[slot(picker)]->setEnabled(m_editor->isEnabled(picker));
    }
    for (int i = 0; i < int(Cost::Count_); ++i) {
        const auto cost = Cost(i);
        // Only a changed text is set again, so the caret stays where the user types.
        if (m_costs[slot(cost)]->text() != m_editor->cost(cost))
            m_costs[slot(cost)]->setText(m_editor->cost(cost));
        m_costs[slot(cost)]->setEnabled(m_editor->isEnabled(cost));
        m_costCaptions[slot(cost)]->setEnabled(m_editor->isEnabled(cost));
    }
    m_save->setEnabled(m_editor->canSave());
    m_delete->setEnabled(m_editor->canDelete());
    m_export->setEnabled(m_editor->canExport());
    m_import->setEnabled(m_editor->canImport());
    m_refreshing = false;
}
