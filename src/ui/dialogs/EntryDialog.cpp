#include "dialogs/EntryDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "composition/AppCore.h"
#include "line/SerialPorts.h"

namespace {
constexpr int kDefaultSpeed = 115200;
constexpr std::initializer_list<int> kSpeeds = {9600, 19200, 38400, 57600, 115200, 230400, 460800};
} // namespace

EntryDialog::EntryDialog(AppCore &core, const QString &entryToEdit, QWidget *parent, const QString &devDir)
    : QDialog(parent), m_core(core), m_original(entryToEdit)
{
    setObjectName(QStringLiteral("frmEntry"));
    setWindowTitle(m_original.isEmpty() ? tr("New Dial-up Connection") : tr("Edit Dial-up Connection"));

    auto named = [](QWidget *widget, const char *name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    m_name = new QLineEdit(this);
    m_number = new QLineEdit(this);
    m_device = new QComboBox(this);
    m_speed = new QComboBox(this);
    m_user = new QLineEdit(this);
    auto *form = new QFormLayout;
    form->addRow(tr("Connection Name:"), named(m_name, "txtEntryName"));
    form->addRow(tr("Phone number:"), named(m_number, "txtPhoneNumber"));
    form->addRow(tr("Modem:"), named(m_device, "cmbDevice"));
    form->addRow(tr("Speed:"), named(m_speed, "cmbSpeed"));
    form->addRow(tr("Login :"), named(m_user, "txtLoginName"));

    // Ports not found (a modem plugged in later) can still be typed.
    m_device->setEditable(true);
    m_device->addItems(SerialPorts(devDir));
    m_speed->setEditable(true);
    for (int speed : kSpeeds)
        m_speed->addItem(QString::number(speed));
    m_speed->setValidator(new QIntValidator(0, 4000000, m_speed));

    const std::optional<PhonebookEntry> entry = m_original.isEmpty() ? std::nullopt : m_core.phonebookEntry(m_original);
    m_name->setText(m_original);
    // The simulated line answers at its own modem speed unless one is given.
    m_speed->setCurrentText(m_core.isSimulated() ? QString() : QString::number(kDefaultSpeed));
    if (entry) {
        m_number->setText(entry->number);
        m_device->setCurrentText(entry->device);
        m_speed->setCurrentText(entry->speed > 0 ? QString::number(entry->speed) : QString());
        m_user->setText(entry->user);
    }
    // The simulated line has no modem and takes the login from the provider's settings.
    if (m_core.isSimulated()) {
        m_device->setCurrentText(tr("(simulated line)"));
        m_device->setEnabled(false);
        m_user->setEnabled(false);
    }

    auto *buttons = new QDialogButtonBox(this);
    named(buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole), "cmdOK");
    named(buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole), "cmdCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &EntryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &EntryDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString EntryDialog::entryName() const
{
    return m_name->text().trimmed();
}

void EntryDialog::accept()
{
    PhonebookEntry entry;
    entry.name = m_name->text();
    entry.number = m_number->text().trimmed();
    entry.speed = m_speed->currentText().toInt(); // 0 (empty): the entry's speed is kept
    if (!m_core.isSimulated()) {
        entry.device = m_device->currentText().trimmed();
        entry.user = m_user->text();
    }
    if (m_core.saveEntry(m_original, entry))
        QDialog::accept();
}
