#include "dialogs/GeneralSettingsDialog.h"

#include <QButtonGroup>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "composition/AppCore.h"
#include "desktop/DialogWidgets.h"
#include "dialogs/TariffPage.h"
#include "platform/ProgramName.h"
#include "platform/Prompter.h"

using Check = GeneralOptions::Check;
using Text = GeneralOptions::Text;
using namespace DialogWidgets;

namespace {

QCheckBox *newCheck(Check check, const QString &text, QWidget *parent)
{
    return DialogWidgets::newCheck(GeneralOptions::controlName(check), text, parent);
}

QLineEdit *newEdit(Text text, QWidget *parent)
{
    return DialogWidgets::newEdit(GeneralOptions::controlName(text), parent);
}

// A sound row: its switch enables the path and the browse button.
void followSwitch(QCheckBox *box, QLineEdit *path, QWidget *browse)
{
    auto apply = [path, browse](bool on) {
        path->setEnabled(on);
        browse->setEnabled(on);
    };
    QObject::connect(box, &QCheckBox::toggled, path, apply);
    apply(box->isChecked());
}

} // namespace

GeneralSettingsDialog::GeneralSettingsDialog(AppCore &core, std::unique_ptr<GeneralOptions> edited,
                                             std::unique_ptr<TariffEditor> tariffs, QWidget *parent)
    : QDialog(parent), m_core(core), m_edited(std::move(edited)),
      m_statisticsBefore(core.options().isChecked(Check::DisplayDUNStats)),
      m_launchStyleBefore(core.options().launchStyle())
{
    setObjectName(QStringLiteral("frmGeneralSettings"));
    setWindowTitle(ProgramName() + QStringLiteral(" - Settings"));
    m_tariffPage = new TariffPage(std::move(tariffs), core.options().currencySymbol(), this);
    connect(m_tariffPage, &TariffPage::calculatorRequested, this, &GeneralSettingsDialog::calculatorRequested);
    connect(m_tariffPage, &TariffPage::holidayEditorRequested, this, &GeneralSettingsDialog::holidayEditorRequested);
    const PagedLayout paged = pagedLayout(this, QStringLiteral("cmdSaveSettings"));
    m_tabs = paged.tabs;
    m_tabs->addTab(buildGeneral(), QStringLiteral("General Settings"));
    m_tabs->addTab(m_tariffPage, QStringLiteral("Tariff Settings"));
    m_tabs->addTab(buildLogging(), QStringLiteral("Logging Setup"));
    m_tabs->addTab(buildConnection(), QStringLiteral("Connection"));
    m_tabs->addTab(buildExecutions(), QStringLiteral("Executions"));
    connect(paged.ok, &QPushButton::clicked, this, &GeneralSettingsDialog::cmdSaveSettings_Click);
    load();
}

GeneralSettingsDialog::~GeneralSettingsDialog() = default;

void GeneralSettingsDialog::showPage(int page)
{
    m_tabs->setCurrentIndex(page >= 0 && page < PageCount ? page : General);
}

QWidget *GeneralSettingsDialog::buildGeneral()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    auto *statistics = newCheck(Check::DisplayDUNStats, QStringLiteral("Display Network Traffic Statistics"), page);
    // Acts at once: the panel folds or unfolds before OK.
    connect(statistics, &QCheckBox::clicked, this, &GeneralSettingsDialog::statisticsSwitched);
    layout->addWidget(statistics);
    layout->addWidget(newCheck(Check::ShowSplash, QStringLiteral("Display opening splash - screen on startup."), page));
    layout->addWidget(newCheck(Check::StartMini, QStringLiteral("Always start LineMinder minimized."), page));
    layout->addWidget(newCheck(Check::StartUp, QStringLiteral("Load LineMinder every time you log in."), page));
    layout->addWidget(
        newCheck(Check::Minimize, QStringLiteral("Minimize LineMinder when connection is established."), page));
    layout->addWidget(newCheck(Check::Position, QStringLiteral("Save main - window position on exit."), page));
    layout->addWidget(newCheck(Check::OnTop, QStringLiteral("On Top All when LineMinder is activated."), page));

    auto *minimize = new QGroupBox(QStringLiteral("When LineMinder is minimized:"), page);
    auto *modes = new QHBoxLayout(minimize);
    m_minNormal =
        named(new QRadioButton(QStringLiteral("Normal Minimize Mode"), minimize), QStringLiteral("optMinNormal"));
    m_minTray =
        named(new QRadioButton(QStringLiteral("Minimize to System Tray"), minimize), QStringLiteral("optMinTray"));
    modes->addWidget(m_minNormal);
    modes->addWidget(m_minTray);
    layout->addWidget(minimize);

    const struct
    {
        Check check;
        Text text;
        const char *caption;
        const char *browse;
    } sounds[] = {{Check::Sound1, Text::Sound1, "Play WAV file on connection.", "cmdSoundBrowse1"},
                  {Check::Sound2, Text::Sound2, "Play WAV file on disconnection.", "cmdSoundBrowse2"}};
    for (const auto &sound : sounds) {
        auto *box = newCheck(sound.check, QString::fromLatin1(sound.caption), page);
        auto *path = newEdit(sound.text, page);
        auto *browse = newButton(QString::fromLatin1(sound.browse), QStringLiteral("Browse..."), page);
        connect(browse, &QPushButton::clicked, this, [this, path] { browseSound(path); });
        followSwitch(box, path, browse);
        auto *row = new QHBoxLayout;
        row->addWidget(path, 1);
        row->addWidget(browse);
        layout->addWidget(box);
        layout->addLayout(row);
    }
    layout->addStretch();
    return page;
}

QWidget *GeneralSettingsDialog::buildLogging()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    m_oneLog = named(new QRadioButton(QStringLiteral("Keep One Log file for all Connection-Providers."), page),
                     QStringLiteral("opt1Log"));
    m_separateLogs =
        named(new QRadioButton(
                  QStringLiteral("Keep separate and individual Log files for every Connection - Provider."), page),
              QStringLiteral("optSepLogs"));
    auto *view = newButton(QStringLiteral("Command2"), QStringLiteral("View"), page);
    connect(view, &QPushButton::clicked, this, [this] { m_core.viewSharedLog(); });
    auto *shared = new QHBoxLayout;
    shared->addWidget(m_oneLog, 1);
    shared->addWidget(view);
    layout->addLayout(shared);
    layout->addWidget(m_separateLogs);

    auto *items = new QGroupBox(QStringLiteral("Select the data you would like to be saved:"), page);
    auto *grid = new QGridLayout(items);
    const char *const captions[GeneralOptions::kLogItems] = {
        "Provider's name", "Start Time/Date",    "End Time",      "Duration Time",   "Today Time", "Month Time",
        "Total Time",      "Total num of calls", "Total Payment", "Current Payment", "Tariff Name"};
    for (int n = 1; n <= GeneralOptions::kLogItems; ++n) {
        auto *box =
            DialogWidgets::newCheck(QStringLiteral("chkLog%1").arg(n), QString::fromLatin1(captions[n - 1]), items);
        m_logItems[std::size_t(n - 1)] = box;
        grid->addWidget(box, (n - 1) % 6, (n - 1) / 6);
    }
    layout->addWidget(items);
    layout->addWidget(caption(QStringLiteral("* Your log files Will be kept in %1 directory.")
                                  .arg(QDir::toNativeSeparators(m_core.logsFolder())),
                              page));
    layout->addWidget(caption(
        QStringLiteral(
            "* Whether a provider's calls are logged at all is set by \"Keep log\" in its Connection Settings."),
        page));
    layout->addStretch();
    return page;
}

QWidget *GeneralSettingsDialog::buildConnection()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    const struct
    {
        Check check;
        Text text;
        const char *caption;
        const char *amount;
    } fees[] = {
        {Check::AddTime, Text::AddTime, "Add Time after Internet connection is established..", "Seconds to add:"},
        {Check::MinCharge, Text::MinCharge, "Add minimum call fee that is beeing charged by the\nphone company.",
         "Fee to add:"},
        {Check::AddCost, Text::AddCost,
         "Add fee for every call-connection that is being charged\nby the phone company.", "Fee to add:"},
    };
    int row = 0;
    for (const auto &fee : fees) {
        grid->addWidget(newCheck(fee.check, QString::fromLatin1(fee.caption), page), row++, 0, 1, 3);
        grid->addWidget(caption(QString::fromLatin1(fee.amount), page), row, 0);
        grid->addWidget(newEdit(fee.text, page), row, 1);
        if (fee.check == Check::AddTime)
            grid->addWidget(caption(QStringLiteral("(Usually, this is: Modem dialing delay, about 10 sec.)"), page),
                            row, 2);
        ++row;
    }
    grid->addWidget(caption(QStringLiteral("(Metric Units of currency)"), page), row, 0, 1, 3);
    grid->setRowStretch(row + 1, 1);
    return page;
}

QWidget *GeneralSettingsDialog::buildExecutions()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(
        caption(QStringLiteral("Here you can specify programs wich will executed after connection."), page));
    m_programs = named(new QListWidget(page), QStringLiteral("List1"));
    auto *add = newButton(QStringLiteral("Command1"), QStringLiteral("Add"), page);
    auto *remove = newButton(QStringLiteral("cmdExeRemove"), QStringLiteral("Remove"), page);
    connect(add, &QPushButton::clicked, this, &GeneralSettingsDialog::Command1_Click);
    connect(remove, &QPushButton::clicked, this, &GeneralSettingsDialog::cmdExeRemove_Click);
    m_programCount = named(caption(QStringLiteral("0"), page), QStringLiteral("lblExec"));
    auto *list = new QHBoxLayout;
    list->addWidget(m_programs, 1);
    auto *listButtons = new QVBoxLayout;
    listButtons->addWidget(add);
    listButtons->addWidget(remove);
    listButtons->addStretch();
    list->addLayout(listButtons);
    layout->addLayout(list);
    auto *count = new QHBoxLayout;
    count->addWidget(caption(QStringLiteral("Number of executions:"), page));
    count->addWidget(m_programCount);
    count->addStretch();
    layout->addLayout(count);

    const struct
    {
        int style;
        const char *caption;
        const char *tip;
    } styles[] = {
        {1, "Normal with Focus", "Window has focus and is restored to its original size and position."},
        {2, "Minimized with Focus", "Window is displayed as an icon with focus."},
        {3, "Maximized with Focus", "Window is maximized with focus."},
        {4, "Normal without Focus",
         "Window is restored to its most recent size and position. The currently active window remains active."},
        {6, "Minimized without Focus", "Window is displayed as an icon. The currently active window remains active"},
    };
    auto *group = new QGroupBox(page);
    auto *options = new QVBoxLayout(group);
    m_styles = new QButtonGroup(this);
    for (const auto &style : styles) {
        auto *option = named(new QRadioButton(QString::fromLatin1(style.caption), group),
                             QStringLiteral("optEXE%1").arg(style.style));
        option->setToolTip(QString::fromLatin1(style.tip));
        m_styles->addButton(option, style.style);
        options->addWidget(option);
    }
    // The launch style acts at once: a call made while the window is open starts its
    // programs so.
    connect(m_styles, &QButtonGroup::idClicked, this, [this](int style) {
        m_edited->setLaunchStyle(style);
        m_core.setLaunchStyle(style);
    });
    layout->addWidget(group);
    return page;
}

QCheckBox *GeneralSettingsDialog::checkBox(Check check) const
{
    return findChild<QCheckBox *>(GeneralOptions::controlName(check));
}

QLineEdit *GeneralSettingsDialog::textBox(Text text) const
{
    return findChild<QLineEdit *>(GeneralOptions::controlName(text));
}

void GeneralSettingsDialog::load()
{
    const GeneralOptions &options = *m_edited;
    for (int i = 0; i < int(Check::Count_); ++i)
        checkBox(Check(i))->setChecked(options.isChecked(Check(i)));
    for (int i = 0; i < int(Text::Count_); ++i)
        textBox(Text(i))->setText(options.text(Text(i)));
    (options.minimizeToTray() ? m_minTray : m_minNormal)->setChecked(true);
    (options.separateLogs() ? m_separateLogs : m_oneLog)->setChecked(true);
    for (int n = 1; n <= GeneralOptions::kLogItems; ++n)
        m_logItems[std::size_t(n - 1)]->setChecked(options.logItem(n));
    fillPrograms();
    m_styles->button(options.launchStyle())->setChecked(true);
    m_core.setLaunchStyle(options.launchStyle());
    setWindowFlag(Qt::WindowStaysOnTopHint, m_core.options().isChecked(Check::OnTop));
}

void GeneralSettingsDialog::fillPrograms()
{
    m_programs->clear();
    for (const GeneralOptions::Program &program : m_edited->programs()) {
        auto *item = new QListWidgetItem(program.path, m_programs);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(program.ticked ? Qt::Checked : Qt::Unchecked);
    }
    m_programCount->setText(QString::number(m_edited->programCount()));
}

void GeneralSettingsDialog::collect()
{
    for (int i = 0; i < int(Check::Count_); ++i)
        m_edited->setChecked(Check(i), checkBox(Check(i))->isChecked());
    for (int i = 0; i < int(Text::Count_); ++i)
        m_edited->setText(Text(i), textBox(Text(i))->text());
    m_edited->setMinimizeToTray(m_minTray->isChecked());
    m_edited->setSeparateLogs(m_separateLogs->isChecked());
    for (int n = 1; n <= GeneralOptions::kLogItems; ++n)
        m_edited->setLogItem(n, m_logItems[std::size_t(n - 1)]->isChecked());
    for (int i = 0; i < m_programs->count(); ++i)
        m_edited->setProgramTicked(i, m_programs->item(i)->checkState() == Qt::Checked);
}

void GeneralSettingsDialog::cmdSaveSettings_Click()
{
    collect();
    if (!m_core.commitGeneralOptions(*m_edited))
        return; // told; the window stays open with everything typed
    emit saved();
    accept();
}

void GeneralSettingsDialog::reject()
{
    // Cancel puts back what acted at once.
    emit statisticsSwitched(m_statisticsBefore);
    m_core.setLaunchStyle(m_launchStyleBefore);
    QDialog::reject();
}

void GeneralSettingsDialog::Command1_Click()
{
    const QString path = chooseProgram(m_core.prompter(), QStringLiteral("Select Program"));
    if (path.isEmpty())
        return;
    collect(); // the ticks set so far stay
    m_edited->addProgram(path);
    fillPrograms();
}

void GeneralSettingsDialog::cmdExeRemove_Click()
{
    // The highlighted entry; nothing without one. Nothing is stored before OK.
    const int row = m_programs->currentRow();
    if (row < 0 || !m_programs->item(row)->isSelected())
        return;
    collect();
    m_edited->removeProgram(row);
    fillPrograms();
}

void GeneralSettingsDialog::browseSound(QLineEdit *target)
{
    const QString path = chooseSound(m_core.prompter());
    if (!path.isEmpty())
        target->setText(path);
}
