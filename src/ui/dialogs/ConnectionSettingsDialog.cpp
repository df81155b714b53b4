#include "dialogs/ConnectionSettingsDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "composition/AppCore.h"
#include "desktop/DialogWidgets.h"
#include "platform/Prompter.h"
#include "presentation/MainState.h"
#include "settings/GeneralOptions.h"

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;
using Field = MainState::Field;
using namespace DialogWidgets;

namespace {

constexpr int kRows = 6; // the counters page: current, today, month, total, calls, cost

// A pair of arrows beside a two-digit box (UpDown1..8): steps its number within 0..high.
QWidget *upDown(const QString &name, QLineEdit *buddy, int high, QWidget *parent)
{
    auto *arrows = named(new QWidget(parent), name);
    auto *layout = new QVBoxLayout(arrows);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const int step : {1, -1}) {
        auto *arrow = new QToolButton(arrows);
        arrow->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setFixedSize(16, 11);
        QObject::connect(arrow, &QToolButton::clicked, buddy, [buddy, step, high] {
            const int value = std::clamp(buddy->text().toInt() + step, 0, high);
            buddy->setText(QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')));
        });
        layout->addWidget(arrow);
    }
    return arrows;
}

std::size_t slot(int index)
{
    return static_cast<std::size_t>(index);
}

} // namespace

ConnectionSettingsDialog::ConnectionSettingsDialog(AppCore &core, std::unique_ptr<ProviderProfile> edited,
                                                   QWidget *parent)
    : QDialog(parent), m_core(core), m_edited(std::move(edited))
{
    setObjectName(QStringLiteral("frmConnectionSettings"));
    setWindowTitle(QStringLiteral("Connection Settings"));
    const PagedLayout paged = pagedLayout(this, QStringLiteral("cmdOK"));
    m_tabs = paged.tabs;
    m_tabs->addTab(buildConfiguration(), QStringLiteral("Configuration"));
    m_tabs->addTab(buildCounters(), QStringLiteral("Counters-Values"));
    m_tabs->addTab(buildTariffs(), QStringLiteral("Tariff Assignment"));
    m_tabs->addTab(buildAlerts(), QStringLiteral("Alerts"));
    m_tabs->addTab(buildEMail(), QStringLiteral("E-mail"));
    connect(paged.ok, &QPushButton::clicked, this, &ConnectionSettingsDialog::cmdOK_Click);

    // The counters page follows the main window's figures (resets, a call running).
    connect(&m_core.state(), &MainState::textChanged, this, &ConnectionSettingsDialog::showCounters);
    load();
}

ConnectionSettingsDialog::~ConnectionSettingsDialog() = default;

QWidget *ConnectionSettingsDialog::buildConfiguration()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    auto *name = newEdit(QStringLiteral("Text1"), page);
    name->setReadOnly(true); // an entry is renamed in its own dialog
    m_password = newEdit(QStringLiteral("txtPassword"), page);
    m_password->setEchoMode(QLineEdit::Password);
    m_phoneNumbers = named(new QComboBox(page), QStringLiteral("cmbPhoneNumbers"));
    connect(m_phoneNumbers, &QComboBox::textActivated, this, [this](const QString &text) { m_edited->setPhone(text); });
    auto *add = named(new QToolButton(page), QStringLiteral("imgAddPhoneNumber"));
    add->setText(QStringLiteral("+"));
    add->setToolTip(QStringLiteral("Click to add new phone number"));
    auto *remove = named(new QToolButton(page), QStringLiteral("imgRemovePhoneNumber"));
    remove->setText(QStringLiteral("-"));
    remove->setToolTip(QStringLiteral("Click to remove phone number"));
    connect(add, &QToolButton::clicked, this, &ConnectionSettingsDialog::imgAddPhoneNumber_Click);
    connect(remove, &QToolButton::clicked, this, &ConnectionSettingsDialog::imgRemovePhoneNumber_Click);

    grid->addWidget(caption(QStringLiteral("Connection Name:"), page), 0, 0);
    grid->addWidget(name, 0, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("Login :"), page), 1, 0);
    grid->addWidget(newEdit(QStringLiteral("txtLoginName"), page), 1, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("Password:"), page), 2, 0);
    grid->addWidget(m_password, 2, 1);
    grid->addWidget(newCheck(QStringLiteral("chkPass"), QStringLiteral("Save Password"), page), 2, 2, 1, 2);
    grid->addWidget(caption(QStringLiteral("Phone number:"), page), 3, 0);
    grid->addWidget(m_phoneNumbers, 3, 1);
    grid->addWidget(add, 3, 2);
    grid->addWidget(remove, 3, 3);
    grid->addWidget(newCheck(QStringLiteral("chkRedial"), QStringLiteral("Auto Redial if busy"), page), 4, 0, 1, 4);
    grid->addWidget(newCheck(QStringLiteral("chkLog"), QStringLiteral("Keep log"), page), 5, 0, 1, 4);
    grid->addWidget(newCheck(QStringLiteral("chkReport"), QStringLiteral("Keep Report"), page), 6, 0, 1, 4);

    auto *addEntry = newButton(QStringLiteral("cmdAddConnection"), QStringLiteral("Add Connection"), page);
    auto *editEntry = newButton(QStringLiteral("cmdEditConnection"), QStringLiteral("Edit Connection"), page);
    auto *network = newButton(QStringLiteral("Command2"), QStringLiteral("Network Config"), page);
    connect(addEntry, &QPushButton::clicked, this, &ConnectionSettingsDialog::addConnectionRequested);
    connect(editEntry, &QPushButton::clicked, this, [this] { emit editConnectionRequested(m_edited->provider()); });
    connect(network, &QPushButton::clicked, this, &ConnectionSettingsDialog::networkConfigRequested);
    auto *entries = new QHBoxLayout;
    entries->addWidget(addEntry);
    entries->addWidget(editEntry);
    entries->addWidget(network);
    grid->addLayout(entries, 7, 0, 1, 4);
    grid->setRowStretch(8, 1);
    return page;
}

QWidget *ConnectionSettingsDialog::buildCounters()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    grid->addWidget(caption(QStringLiteral("Counters and Timers for:"), page), 0, 0);
    grid->addWidget(named(caption(QString(), page), QStringLiteral("lblName")), 0, 1);
    const struct
    {
        const char *caption;
        const char *field;
        const char *initial;
    } rows[kRows] = {
        {"Current Timer:", "txtCurrent", "00:00:00"}, {"Today Time:", "txtToday", "00:00:00"},
        {"This Month Time:", "txtMonth", "00:00:00"}, {"Total Time:", "txtTotal", "00:00:00"},
        {"Number of Calls:", "txtCalls", "0"},        {"Total Cost:", "txtCost", "0"},
    };
    for (int row = 0; row < kRows; ++row) {
        const auto &counter = rows[row];
        m_resetRows[slot(row)] =
            newCheck(QStringLiteral("chk%1").arg(row + 1), QString::fromLatin1(counter.caption), page);
        m_counters[slot(row)] = newEdit(QString::fromLatin1(counter.field), page);
        m_counters[slot(row)]->setText(QString::fromLatin1(counter.initial));
        m_counters[slot(row)]->setReadOnly(true);
        grid->addWidget(m_resetRows[slot(row)], row + 1, 0);
        grid->addWidget(m_counters[slot(row)], row + 1, 1);
    }
    auto *resetSelected = newButton(QStringLiteral("cmdResetSel"), QStringLiteral("Reset Selected"), page);
    auto *resetAll = newButton(QStringLiteral("cmdResetAll"), QStringLiteral("Reset All"), page);
    connect(resetSelected, &QPushButton::clicked, this, &ConnectionSettingsDialog::cmdResetSel_Click);
    connect(resetAll, &QPushButton::clicked, this, &ConnectionSettingsDialog::cmdResetAll_Click);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(resetSelected);
    buttons->addWidget(resetAll);
    grid->addLayout(buttons, kRows + 1, 0, 1, 2);
    grid->setRowStretch(kRows + 2, 1);
    return page;
}

QWidget *ConnectionSettingsDialog::buildTariffs()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    grid->addWidget(caption(QStringLiteral("Tariff assignment for:"), page), 0, 0);
    grid->addWidget(named(caption(QString(), page), QStringLiteral("lblProvider")), 0, 1);
    grid->addWidget(caption(QStringLiteral("Assigned Tariff:"), page), 1, 2);
    const char *days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Holiday"};
    for (int day = 1; day <= ProviderProfile::kDays; ++day) {
        const std::size_t index = slot(day - 1);
        m_tariffCombos[index] = named(new QComboBox(page), QStringLiteral("Combo1%1").arg(day));
        m_tariffCombos[index]->setPlaceholderText(QStringLiteral("Select Tariff"));
        m_tariffLabels[index] = named(caption(QString(), page), QStringLiteral("Label%1").arg(day));
        connect(m_tariffCombos[index], &QComboBox::activated, this, [this, day] { Combo1_Click(day); });
        grid->addWidget(caption(QString::fromLatin1(days[index]), page), day + 1, 0);
        grid->addWidget(m_tariffCombos[index], day + 1, 1);
        grid->addWidget(m_tariffLabels[index], day + 1, 2);
    }
    grid->setRowStretch(ProviderProfile::kDays + 2, 1);
    return page;
}

QWidget *ConnectionSettingsDialog::buildAlerts()
{
    auto *page = new QWidget(this);
    auto *outer = new QVBoxLayout(page);
    auto *frame = new QGroupBox(QStringLiteral("Alerts Configurations:"), page);
    outer->addWidget(frame);
    auto *grid = new QGridLayout(frame);
    grid->addWidget(caption(QStringLiteral("Here you can set alerts according to your timers."), frame), 0, 0, 1, 5);
    grid->addWidget(caption(QStringLiteral("Hours"), frame), 1, 1);
    grid->addWidget(caption(QStringLiteral("Mins"), frame), 1, 3);
    const char *captions[] = {
        "Alert if \"Current Time\" :", "Alert if \"Today Time\":",     "Alert if \"Month Time\" :",
        "Alert if \"Total Time\" :",   "Alert if Number of calls is:", "Alert if Total payment is:"};
    for (int n = 1; n <= ProviderProfile::kAlarms; ++n) {
        const int row = n + 1;
        grid->addWidget(newCheck(QStringLiteral("chkAlert%1").arg(n), QString::fromLatin1(captions[n - 1]), frame), row,
                        0);
        if (n <= 4) {
            auto *hours = newEdit(QStringLiteral("txtAlertH%1").arg(n), frame);
            auto *minutes = newEdit(QStringLiteral("txtAlertM%1").arg(n), frame);
            for (QLineEdit *box : {hours, minutes}) {
                box->setMaxLength(2);
                box->setText(QStringLiteral("00"));
            }
            grid->addWidget(hours, row, 1);
            grid->addWidget(upDown(QStringLiteral("UpDown%1").arg(n + 4), hours, 99, frame), row, 2);
            grid->addWidget(minutes, row, 3);
            grid->addWidget(upDown(QStringLiteral("UpDown%1").arg(n), minutes, 59, frame), row, 4);
        } else {
            grid->addWidget(newEdit(QStringLiteral("txtAlert%1").arg(n - 4), frame), row, 1, 1, 4);
        }
    }
    grid->addWidget(newCheck(QStringLiteral("chkDisconnect15"), QStringLiteral("Disconnect after 15 seconds."), frame),
                    8, 0, 1, 5);
    auto *soundBrowse = newButton(QStringLiteral("cmdAlertSoundBrowse"), QStringLiteral("Browse..."), frame);
    auto *sound = newEdit(QStringLiteral("txtAlertSound"), frame);
    connect(soundBrowse, &QPushButton::clicked, this, [this, sound] { browseSound(sound); });
    grid->addWidget(newCheck(QStringLiteral("chkAlertSound"), QStringLiteral("Alert's Sound"), frame), 9, 0);
    grid->addWidget(sound, 9, 1, 1, 3);
    grid->addWidget(soundBrowse, 9, 4);

    m_alertsSwitch = newCheck(QStringLiteral("Check2"), QString(), page);
    m_alertsLabel = named(caption(QStringLiteral("Set Alerts on"), page), QStringLiteral("lblAlert"));
    connect(m_alertsSwitch, &QCheckBox::clicked, this, &ConnectionSettingsDialog::Check2_Click);
    auto *alertsSwitch = new QHBoxLayout;
    alertsSwitch->addWidget(m_alertsSwitch);
    alertsSwitch->addWidget(m_alertsLabel);
    alertsSwitch->addStretch();
    outer->addLayout(alertsSwitch);
    outer->addStretch();
    return page;
}

QWidget *ConnectionSettingsDialog::buildEMail()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    auto *host = newEdit(QStringLiteral("txtPop3Host"), page);
    auto *user = newEdit(QStringLiteral("txtPop3User"), page);
    auto *password = newEdit(QStringLiteral("txtpop3Passwd"), page);
    password->setEchoMode(QLineEdit::Password);
    grid->addWidget(newCheck(QStringLiteral("chkEMail"), QStringLiteral("Check E-Mail"), page), 0, 0, 1, 4);
    grid->addWidget(caption(QStringLiteral("POP3 Host Address:"), page), 1, 0);
    grid->addWidget(host, 1, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("User Name:"), page), 2, 0);
    grid->addWidget(user, 2, 1, 1, 3);
    grid->addWidget(caption(QStringLiteral("Password:"), page), 3, 0);
    grid->addWidget(password, 3, 1, 1, 3);
    grid->addWidget(newCheck(QStringLiteral("chkEmailInt"), QStringLiteral("Check for new Mail every"), page), 4, 0);
    grid->addWidget(newEdit(QStringLiteral("txtInterval"), page), 4, 1);
    grid->addWidget(caption(QStringLiteral("Minutes."), page), 4, 2);
    grid->addWidget(caption(QStringLiteral("Timeout:"), page), 5, 0);
    grid->addWidget(newEdit(QStringLiteral("txtTimeout"), page), 5, 1);

    auto *sound = newEdit(QStringLiteral("txtSound"), page);
    auto *soundBrowse = newButton(QStringLiteral("cmdSoundBrowse"), QStringLiteral("Browse..."), page);
    connect(soundBrowse, &QPushButton::clicked, this, [this, sound] { browseSound(sound); });
    grid->addWidget(newCheck(QStringLiteral("chkSound"), QStringLiteral("Sound Notification"), page), 6, 0);
    grid->addWidget(sound, 6, 1, 1, 2);
    grid->addWidget(soundBrowse, 6, 3);
    auto *launchBrowse = newButton(QStringLiteral("cmdBrowseLaunch"), QStringLiteral("Browse..."), page);
    connect(launchBrowse, &QPushButton::clicked, this, &ConnectionSettingsDialog::cmdBrowseLaunch_Click);
    grid->addWidget(newCheck(QStringLiteral("chkLaunchEmail"), QStringLiteral("Launch E-Mail Program."), page), 7, 0);
    grid->addWidget(newEdit(QStringLiteral("txtLaunchEmail"), page), 7, 1, 1, 2);
    grid->addWidget(launchBrowse, 7, 3);

    auto *address = new QGroupBox(QStringLiteral("E-mail address to check:"), page);
    auto *addressLayout = new QHBoxLayout(address);
    auto *shownUser = named(caption(QString(), address), QStringLiteral("lblAddress0"));
    auto *shownHost = named(caption(QString(), address), QStringLiteral("lblAddress1"));
    addressLayout->addWidget(shownUser);
    addressLayout->addWidget(caption(QStringLiteral("@"), address));
    addressLayout->addWidget(shownHost);
    addressLayout->addStretch();
    connect(user, &QLineEdit::textChanged, shownUser, &QLabel::setText);
    connect(host, &QLineEdit::textChanged, shownHost, &QLabel::setText);
    grid->addWidget(address, 8, 0, 1, 4);
    grid->setRowStretch(9, 1);
    return page;
}

QCheckBox *ConnectionSettingsDialog::checkBox(Check check) const
{
    return findChild<QCheckBox *>(ProviderProfile::controlName(check));
}

QLineEdit *ConnectionSettingsDialog::textBox(Text text) const
{
    return findChild<QLineEdit *>(ProviderProfile::controlName(text));
}

void ConnectionSettingsDialog::showPage(int page)
{
    m_tabs->setCurrentIndex(page >= 0 && page < PageCount ? page : Configuration);
}

void ConnectionSettingsDialog::load()
{
    const ProviderProfile &profile = *m_edited;
    const QString provider = profile.provider();
    findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(provider);
    for (const QString &name : {QStringLiteral("lblName"), QStringLiteral("lblProvider")})
        findChild<QLabel *>(name)->setText(provider);
    for (int i = 0; i < int(Check::Count_); ++i)
        checkBox(Check(i))->setChecked(profile.isChecked(Check(i)));
    for (int i = 0; i < int(Text::Count_); ++i)
        textBox(Text(i))->setText(profile.text(Text(i)));
    m_shownPassword = profile.password();
    m_password->setText(m_shownPassword);
    fillPhoneNumbers();
    fillTariffs();
    showCounters();
    showAlertsSwitch();
    followChecks();
    setWindowFlag(Qt::WindowStaysOnTopHint, m_core.options().isChecked(GeneralOptions::Check::OnTop));
}

void ConnectionSettingsDialog::fillPhoneNumbers()
{
    m_phoneNumbers->clear();
    m_phoneNumbers->addItems(m_edited->phoneNumbers());
    m_phoneNumbers->setCurrentText(m_edited->phone());
}

void ConnectionSettingsDialog::fillTariffs()
{
    const QStringList names = m_edited->tariffNames();
    for (int day = 1; day <= ProviderProfile::kDays; ++day) {
        QComboBox *combo = m_tariffCombos[slot(day - 1)];
        combo->clear();
        combo->addItem(ProviderProfile::emptyTariff());
        combo->addItems(names);
        combo->setCurrentIndex(-1); // "Select Tariff"
        m_tariffLabels[slot(day - 1)]->setText(m_edited->tariffLabel(day));
    }
}

void ConnectionSettingsDialog::showCounters()
{
    const Field fields[kRows] = {Field::CurrTime, Field::TodayTime,   Field::MonthTime,
                                 Field::TotTime,  Field::CallsNumber, Field::Cost};
    for (int row = 0; row < kRows; ++row) {
        const QString text = m_core.state().text(fields[row]);
        if (!text.isEmpty())
            m_counters[slot(row)]->setText(text);
    }
}

void ConnectionSettingsDialog::showAlertsSwitch()
{
    // The real state, without the side effects of a click.
    const bool on = m_core.alertsOn();
    m_alertsSwitch->setChecked(on);
    m_alertsLabel->setText(on ? QStringLiteral("Set Alerts Off") : QStringLiteral("Set Alerts on"));
}

void ConnectionSettingsDialog::followChecks()
{
    const struct
    {
        Check check;
        const char *field;
        const char *browse;
    } follows[] = {{Check::AlertSound, "txtAlertSound", "cmdAlertSoundBrowse"},
                   {Check::Sound, "txtSound", "cmdSoundBrowse"},
                   {Check::LaunchEmail, "txtLaunchEmail", "cmdBrowseLaunch"}};
    for (const auto &follow : follows) {
        QCheckBox *box = checkBox(follow.check);
        auto *field = findChild<QWidget *>(QLatin1String(follow.field));
        auto *browse = findChild<QWidget *>(QLatin1String(follow.browse));
        auto apply = [field, browse](bool on) {
            field->setEnabled(on);
            browse->setEnabled(on);
        };
        apply(box->isChecked());
        connect(box, &QCheckBox::toggled, this, apply);
    }
}

void ConnectionSettingsDialog::showEvent(QShowEvent *event)
{
    m_edited->reloadTariffNames(m_core.settings());
    fillTariffs();
    QDialog::showEvent(event);
}

void ConnectionSettingsDialog::collect()
{
    for (int i = 0; i < int(Check::Count_); ++i)
        m_edited->setChecked(Check(i), checkBox(Check(i))->isChecked());
    for (int i = 0; i < int(Text::Count_); ++i)
        m_edited->setText(Text(i), textBox(Text(i))->text());
    if (m_password->text() != m_shownPassword)
        m_edited->setPassword(m_password->text());
    m_edited->setPhone(m_phoneNumbers->currentText());
}

void ConnectionSettingsDialog::cmdOK_Click()
{
    collect();
    switch (m_core.commitProviderSettings(*m_edited)) {
    case ProviderProfile::SaveResult::Saved:
    case ProviderProfile::SaveResult::NoProvider: accept(); break;
    case ProviderProfile::SaveResult::MailRefused:
        // The check told why; what was typed stays for the user to mend.
        m_tabs->setCurrentIndex(EMail);
        break;
    case ProviderProfile::SaveResult::StoreFailed:
        m_core.prompter().fail(QStringLiteral("The settings could not be stored; nothing was changed. Check that the "
                                              "settings file can be written and try again."));
        break;
    }
}

void ConnectionSettingsDialog::imgAddPhoneNumber_Click()
{
    if (m_core.addPhoneNumber(*m_edited)) {
        const QString shown = m_phoneNumbers->currentText();
        fillPhoneNumbers();
        m_phoneNumbers->setCurrentText(shown);
    }
}

void ConnectionSettingsDialog::imgRemovePhoneNumber_Click()
{
    m_edited->setPhone(m_phoneNumbers->currentText());
    if (m_core.removePhoneNumber(*m_edited))
        fillPhoneNumbers();
}

void ConnectionSettingsDialog::cmdResetAll_Click()
{
    m_core.resetCounters(AppCore::Reset::All);
}

void ConnectionSettingsDialog::cmdResetSel_Click()
{
    QList<CallAccounting::Counter> selected;
    for (int row = 0; row < kRows; ++row) {
        if (m_resetRows[slot(row)]->isChecked())
            selected.append(CallAccounting::Counter(row + 1));
    }
    if (!m_core.resetCounters(AppCore::Reset::Selected, selected))
        return;
    for (QCheckBox *box : m_resetRows)
        box->setChecked(false);
}

void ConnectionSettingsDialog::Check2_Click(bool on)
{
    m_core.setAlertsOn(on);
    m_alertsLabel->setText(on ? QStringLiteral("Set Alerts Off") : QStringLiteral("Set Alerts On"));
}

void ConnectionSettingsDialog::Combo1_Click(int day)
{
    QComboBox *combo = m_tariffCombos[slot(day - 1)];
    m_edited->setTariffLabel(day, combo->currentText());
    m_tariffLabels[slot(day - 1)]->setText(m_edited->tariffLabel(day));
}

void ConnectionSettingsDialog::browseSound(QLineEdit *target)
{
    const QString path = chooseSound(m_core.prompter());
    if (!path.isEmpty())
        target->setText(path);
}

void ConnectionSettingsDialog::cmdBrowseLaunch_Click()
{
    const QString path = chooseProgram(m_core.prompter(), QStringLiteral("Select E-Mail Program"));
    if (!path.isEmpty())
        textBox(Text::LaunchEmail)->setText(path);
}
