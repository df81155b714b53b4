#include "mainwindow/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "composition/AppCore.h"
#include "desktop/QtPrinterPort.h"
#include "desktop/SystemTrayIcon.h"
#include "dialogs/CalculatorDialog.h"
#include "dialogs/CallPreviewDialog.h"
#include "dialogs/ConnectionSettingsDialog.h"
#include "dialogs/EntryDialog.h"
#include "dialogs/GeneralSettingsDialog.h"
#include "dialogs/HolidayEditorDialog.h"
#include "info/AboutWindow.h"
#include "mail/NotifyWindow.h"
#include "platform/ProgramName.h"
#include "platform/Prompter.h"
#include "platform/TrayIcon.h"
#include "presentation/WindowPlacement.h"
#include "reports/ReportWindow.h"
#include "settings/SettingsLayout.h"

using Field = MainState::Field;

namespace {

// A label that shows one field of the main state. Plain text: a field may carry a text from
// outside (a provider's name, a server's reply), which must never format the window.
QLabel *valueLabel(const MainState &state, Field field, QWidget *parent)
{
    auto *label = new QLabel(state.text(field), parent);
    label->setObjectName(MainState::controlName(field));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// A picture the user can click.
QToolButton *picture(const QString &name, const QString &text, const QString &tip, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

} // namespace

MainWindow::MainWindow(AppCore &core, TrayIcon *tray, QWidget *parent)
    : QMainWindow(parent), m_core(core), m_tray(tray), m_systemPrinter(std::make_unique<QtPrinterPort>()),
      m_printer(m_systemPrinter.get())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(windowCaption(m_core.state().text(Field::Caption)));
    buildToolbar();
    buildMailMenu();
    buildControls();
    bindState();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildToolbar()
{
    auto *toolbar = addToolBar(QStringLiteral("Toolbar1"));
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const struct
    {
        const char *caption;
        const char *key;
        const char *tip;
    } buttons[] = {
        {"DialUP", "Connect", "Connect with current provider"},
        {"Hang Up", "Disconnect", "Disconnect"},
        {"Setup", "ProvSett", "Current Connection Settings"},
        {"Settings", "GenSett", "General Settings"},
        {"Report", "Report", "Display full Report"},
        {"About", "About", "About Dialog"},
        {"Help", "Help", "Help"},
        {"Exit", "Exit", "Exit and Disconnect"},
    };
    for (const auto &button : buttons) {
        QAction *action = toolbar->addAction(QString::fromLatin1(button.caption));
        const QString key = QString::fromLatin1(button.key);
        action->setObjectName(key);
        action->setToolTip(QString::fromLatin1(button.tip));
        connect(action, &QAction::triggered, this, [this, key] { runCommand(key); });
    }
}

void MainWindow::buildMailMenu()
{
    QMenu *mail = menuBar()->addMenu(QStringLiteral("E-Mail"));
    mail->setObjectName(QStringLiteral("mnuMail"));
    QAction *check = mail->addAction(QStringLiteral("Check Mail"));
    check->setObjectName(QStringLiteral("mnuCheckMail"));
    m_mailEnable = mail->addAction(QStringLiteral("Enable"));
    m_mailEnable->setObjectName(QStringLiteral("mnuMailEnable"));
    m_mailEnable->setCheckable(true);
    QAction *configure = mail->addAction(QStringLiteral("Configure"));
    configure->setObjectName(QStringLiteral("mnuMailConfigure"));
    connect(check, &QAction::triggered, &m_core, &AppCore::checkMailNow);
    connect(m_mailEnable, &QAction::triggered, this, [this] { m_mailEnable->setChecked(m_core.toggleMailCheck()); });
    connect(&m_core, &AppCore::mailCheckToggled, m_mailEnable, &QAction::setChecked);
    connect(configure, &QAction::triggered, this,
            [this] { openProviderSettings(false, ConnectionSettingsDialog::EMail); });
}

void MainWindow::buildControls()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    const MainState &state = m_core.state();

    m_providers = new QComboBox(central);
    m_providers->setObjectName(QStringLiteral("Combo1"));
    m_providers->setToolTip(QStringLiteral("Select the provider to dial"));
    layout->addWidget(m_providers);
    connect(m_providers, &QComboBox::textActivated, this, [this](const QString &text) { m_core.selectProvider(text); });

    auto *statusBox = new QGroupBox(QStringLiteral("Connection Status:"), central);
    auto *statusLayout = new QHBoxLayout(statusBox);
    statusLayout->addWidget(valueLabel(state, Field::Status, statusBox));
    layout->addWidget(statusBox);

    auto *figures = new QGridLayout;
    const struct
    {
        const char *caption;
        Field field;
    } rows[] = {
        {"Current Connection Time:", Field::CurrTime}, {"Today Connection Time:", Field::TodayTime},
        {"Month Connection Time:", Field::MonthTime},  {"Total Connection Time:", Field::TotTime},
        {"Total Calls Number :", Field::CallsNumber},
    };
    int row = 0;
    for (const auto &entry : rows) {
        figures->addWidget(new QLabel(QString::fromLatin1(entry.caption), central), row, 0);
        figures->addWidget(valueLabel(state, entry.field, central), row, 1);
        ++row;
    }
    figures->addWidget(new QLabel(QStringLiteral("Total Payment:"), central), row, 0);
    auto *payment = new QHBoxLayout;
    payment->addWidget(valueLabel(state, Field::Sym, central));
    payment->addWidget(valueLabel(state, Field::Cost, central));
    payment->addStretch();
    figures->addLayout(payment, row++, 1);
    figures->addWidget(new QLabel(QStringLiteral("Tariff:"), central), row, 0);
    figures->addWidget(valueLabel(state, Field::TariffName, central), row++, 1);
    figures->addWidget(valueLabel(state, Field::MinuteCost, central), row++, 0, 1, 2);
    layout->addLayout(figures);

    auto *info = new QGroupBox(QStringLiteral("General Information:"), central);
    auto *infoLayout = new QHBoxLayout(info);
    infoLayout->addWidget(new QLabel(QStringLiteral("Time:"), info));
    infoLayout->addWidget(valueLabel(state, Field::Time, info));
    infoLayout->addStretch();
    infoLayout->addWidget(valueLabel(state, Field::Date, info));
    layout->addWidget(info);

    auto *indicators = new QHBoxLayout;
    QToolButton *alert = picture(QStringLiteral("imgAlert"), QStringLiteral("\u23F0"),
                                 QStringLiteral("Click to silence the alarm"), central);
    alert->setVisible(false);
    QLabel *alertMessage = valueLabel(state, Field::Alertmsg, central);
    alertMessage->setVisible(false);
    connect(alert, &QToolButton::clicked, &m_core, &AppCore::silenceAlarm);
    QToolButton *email =
        picture(QStringLiteral("imgEmail"), QStringLiteral("\u2709"), QStringLiteral("Click to Check Mail"), central);
    email->setVisible(false);
    connect(email, &QToolButton::clicked, &m_core, &AppCore::mailPictureClicked);
    indicators->addWidget(alert);
    indicators->addWidget(alertMessage);
    indicators->addStretch();
    indicators->addWidget(valueLabel(state, Field::Email, central));
    indicators->addWidget(email);
    m_statsToggle = picture(QStringLiteral("imgShowDUNStats"), QStringLiteral("\u25BE"),
                            QStringLiteral("Show or hide the network traffic statistics"), central);
    m_statsToggle->setProperty("tag", QStringLiteral("Min"));
    connect(m_statsToggle, &QToolButton::clicked, this, [this] { setStatisticsShown(!statisticsShown()); });
    indicators->addWidget(m_statsToggle);
    layout->addLayout(indicators);
    connect(&state, &MainState::indicatorChanged, this,
            [alert, alertMessage, email](MainState::Indicator which, bool shown) {
                if (which == MainState::Indicator::Alert) {
                    alert->setVisible(shown);
                    alertMessage->setVisible(shown);
                } else {
                    email->setVisible(shown);
                }
            });

    m_statsFrame = new QGroupBox(QStringLiteral("Network Traffic Statistics:"), central);
    m_statsFrame->setObjectName(QStringLiteral("Frame1"));
    auto *stats = new QGridLayout(m_statsFrame);
    const struct
    {
        const char *caption;
        Field field;
    } traffic[] = {{"Connection Speed (bps):", Field::ConnectionSpeed},
                   {"Bytes Received:", Field::BytesRcved},
                   {"Bytes Sent:", Field::BytesXmited}};
    row = 0;
    for (const auto &entry : traffic) {
        stats->addWidget(new QLabel(QString::fromLatin1(entry.caption), m_statsFrame), row, 0);
        QLabel *value = valueLabel(state, entry.field, m_statsFrame);
        if (value->text().isEmpty())
            value->setText(QStringLiteral("0"));
        // Twenty new texts a second: a fixed width keeps each one from re-laying out the window.
        value->setFixedSize(value->fontMetrics().horizontalAdvance(QStringLiteral("0,000,000,000,000")),
                            value->sizeHint().height());
        // Fills its own background, which makes it opaque: a new text repaints this label
        // only, not its parents. The fill must stay (no WA_OpaquePaintEvent): without it the
        // label shows a black box, or a new text over the old one.
        value->setAutoFillBackground(true);
        // Not selectable: a selectable label lays its text out as a document on every
        // change and paint, several times the cost.
        value->setTextInteractionFlags(Qt::NoTextInteraction);
        stats->addWidget(value, row++, 1);
    }
    m_statsFrame->setVisible(false);
    layout->addWidget(m_statsFrame);
    layout->addStretch();
    setCentralWidget(central);
    // The user cannot resize the window; only the traffic panel changes its height.
    QMainWindow::layout()->setSizeConstraint(QLayout::SetFixedSize);

    auto *lineKind =
        new QLabel(m_core.isSimulated() ? QStringLiteral("Simulated line: calls are only pretended, nothing is dialed.")
                                        : QStringLiteral("Line: pppd"),
                   this);
    lineKind->setObjectName(QStringLiteral("lblLineKind"));
    lineKind->setTextFormat(Qt::PlainText);
    statusBar()->addPermanentWidget(lineKind, 1);
}

void MainWindow::bindState()
{
    const MainState &state = m_core.state();
    // Looked up once: some fields change twenty times a second.
    for (std::size_t i = 0; i < m_labels.size(); ++i)
        m_labels[i] = findChild<QLabel *>(MainState::controlName(static_cast<Field>(i)));
    connect(&state, &MainState::textChanged, this, [this](Field field, const QString &text) {
        if (field == Field::Caption) {
            setWindowTitle(windowCaption(text));
            return;
        }
        if (QLabel *label = m_labels[std::size_t(field)])
            label->setText(text);
        // The status that follows a failed call, while the window is hidden in the tray.
        if (field == Field::Status && m_tellStatusInTray && m_tray)
            m_tray->showMessage(ProgramName(), text);
        if (field == Field::Status || field == Field::Time)
            m_tellStatusInTray = false; // only within the tick that saw the failure
        // The tray tip follows the clock: refreshed every second.
        if (field == Field::Time && m_tray && m_tray->isAdded() && !m_core.isCheckingMail())
            m_tray->setTip(m_core.state().text(Field::CurrTime));
    });
    connect(&state, &MainState::providerListChanged, this, [this](const QStringList &items) {
        m_providers->clear();
        m_providers->addItems(items);
        // A refreshed list still shows the provider shown before (-1 when none).
        m_providers->setCurrentIndex(m_providers->findText(m_core.state().selectedProvider()));
    });
    connect(&state, &MainState::selectedProviderChanged, this,
            [this](const QString &name) { m_providers->setCurrentIndex(m_providers->findText(name)); });
    connect(&state, &MainState::providerListEnabledChanged, m_providers, &QWidget::setEnabled);
    connect(&m_core, &AppCore::newEntryWizardRequested, this, [this] { openEntryDialog(QString()); });
    connect(&m_core, &AppCore::restoreWindowRequested, this, [this] {
        // A window the user put in the tray stays there: the tray tells what happened.
        if (hiddenInTray())
            m_tellStatusInTray = true;
        else if (isMinimized())
            showNormal();
    });
    connect(&m_core, &AppCore::minimizeRequested, this, [this] {
        if (trayUsable())
            hideInTray();
        else
            showMinimized();
    });
    connect(&m_core, &AppCore::alarmRaised, this, [this](int, const QString &message) {
        if (isVisible()) {
            if (isMinimized())
                showNormal();
        } else if (m_tray && m_tray->isAdded()) {
            // Hidden in the tray: never a silent alarm.
            m_tray->showMessage(QStringLiteral("Alarm is activated!!!"), message);
        }
    });
    connect(&m_core, &AppCore::flashRequested, this, [this] { QApplication::alert(this, 300); });
    connect(&m_core, &AppCore::mailCountRead, this, [this](const QString &message, const QString &checkedAt) {
        if (m_notify)
            m_notify->setMessage(message, checkedAt);
    });
    connect(&m_core, &AppCore::mailNotificationReady, this, [this](const QString &message, const QString &checkedAt) {
        NotifyWindow::showResult(m_notify, m_core.profile(), m_core.launcher(), message, checkedAt, this);
    });
    connect(&m_core, &AppCore::beepRequested, this, [] { QApplication::beep(); });
    connect(&m_core, &AppCore::trayTipChanged, this, [this](const QString &tip) {
        if (m_tray && m_tray->isAdded())
            m_tray->setTip(tip);
    });

    if (m_tray) {
        m_trayMenu = CreateTrayMenu(this);
        auto *restoreAction = m_trayMenu->findChild<QAction *>(QStringLiteral("mnuTrayRestore"));
        m_trayMinimize = m_trayMenu->findChild<QAction *>(QStringLiteral("mnuTrayMinimize"));
        auto *closeAction = m_trayMenu->findChild<QAction *>(QStringLiteral("mnuTrayClose"));
        // A menu opened before a message box came up does nothing until it is answered.
        connect(restoreAction, &QAction::triggered, this, [this] {
            if (!modalBoxOpen())
                restore();
        });
        connect(m_trayMinimize, &QAction::triggered, this, [this] {
            if (!modalBoxOpen())
                hideInTray();
        });
        connect(closeAction, &QAction::triggered, this, [this] {
            if (!modalBoxOpen())
                close();
        });
        connect(m_tray, &TrayIcon::leftClicked, this, &MainWindow::onTrayClicked);
        connect(m_tray, &TrayIcon::rightClicked, this, [this](const QPoint &at) {
            m_tray->setTip(m_core.state().text(Field::CurrTime));
            if (!modalBoxOpen())
                m_trayMenu->popup(at);
        });
    }
}

bool MainWindow::inTrayMode() const
{
    return m_core.options().minimizeToTray();
}

bool MainWindow::trayUsable() const
{
    return inTrayMode() && m_tray && m_tray->isAdded();
}

bool MainWindow::hiddenInTray() const
{
    return !isVisible() && m_tray && m_tray->isAdded();
}

void MainWindow::hideInTray()
{
    hide();
    m_core.setWindowMinimized(true);
    if (m_trayMinimize)
        m_trayMinimize->setEnabled(false);
}

bool MainWindow::modalBoxOpen()
{
    return QApplication::activeModalWidget() != nullptr;
}

QString MainWindow::windowCaption(const QString &text) const
{
    // Nobody should take a pretended call for a real one, not even from the task bar.
    return m_core.isSimulated() ? text + QStringLiteral(" (simulated line)") : text;
}

void MainWindow::showAtStart()
{
    if (!m_core.options().isChecked(GeneralOptions::Check::StartMini))
        show();
    else if (trayUsable())
        hideInTray(); // starts in the tray, never on screen
    else
        showMinimized();
}

void MainWindow::applyStartSettings()
{
    if (inTrayMode() && m_tray && m_tray->isAvailable())
        m_tray->add(m_core.state().text(Field::CurrTime));
    setStatisticsShown(m_core.options().isChecked(GeneralOptions::Check::DisplayDUNStats));
    if (m_core.options().isChecked(GeneralOptions::Check::Position)) {
        const QString section = SettingsLayout::GeneralSettings();
        const qreal dpi = logicalDpiX();
        const QPoint stored(
            WindowPlacement::storedTwipsToPixels(
                m_core.settings().GetSetting(section, QStringLiteral("PosLeft"), QStringLiteral("0")), dpi),
            WindowPlacement::storedTwipsToPixels(
                m_core.settings().GetSetting(section, QStringLiteral("PosTop"), QStringLiteral("0")), dpi));
        QList<QRect> screens;
        if (QScreen *primary = QGuiApplication::primaryScreen())
            screens.append(primary->availableGeometry());
        for (QScreen *screen : QGuiApplication::screens()) {
            if (screen != QGuiApplication::primaryScreen())
                screens.append(screen->availableGeometry());
        }
        move(WindowPlacement::placeOnScreen(stored, sizeHint(), screens));
    }
    keepOnTop();
}

void MainWindow::keepOnTop()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, m_core.options().isChecked(GeneralOptions::Check::OnTop));
}

bool MainWindow::statisticsShown() const
{
    return m_statsToggle->property("tag").toString() == QLatin1String("Max");
}

void MainWindow::setStatisticsShown(bool shown)
{
    m_statsToggle->setProperty("tag", shown ? QStringLiteral("Max") : QStringLiteral("Min"));
    m_statsToggle->setText(shown ? QStringLiteral("\u25B4") : QStringLiteral("\u25BE"));
    m_statsFrame->setVisible(shown);
    // The new fixed size at once, not when the event loop next lays the window out.
    centralWidget()->layout()->activate();
    QMainWindow::layout()->activate();
}

void MainWindow::onTrayClicked()
{
    m_tray->setTip(m_core.state().text(Field::CurrTime));
    if (modalBoxOpen())
        return; // a dialog is open: the click only refreshes the tip
    restore();
}

void MainWindow::restore()
{
    showNormal();
    raise();
    activateWindow();
    m_core.setWindowMinimized(false);
    if (m_trayMinimize)
        m_trayMinimize->setEnabled(true);
}

ReportWindow *MainWindow::openReportWindow()
{
    if (!m_report)
        m_report = new ReportWindow(m_core, *m_printer, this);
    m_report->show();
    m_report->raise();
    m_report->activateWindow();
    return m_report;
}

void MainWindow::openEntryDialog(const QString &entryToEdit)
{
    if (m_entryDialog && m_entryDialog->isVisible()) {
        m_entryDialog->raise();
        m_entryDialog->activateWindow();
        return;
    }
    // Over the settings window when it asked for it: a box under a modal window takes no input.
    QWidget *owner = m_settings ? static_cast<QWidget *>(m_settings) : this;
    m_entryDialog = new EntryDialog(m_core, entryToEdit, owner);
    m_entryDialog->setAttribute(Qt::WA_DeleteOnClose);
    m_entryDialog->open();
}

void MainWindow::openNetworkConfig()
{
    m_core.openNetworkConfig();
}

void MainWindow::openProviderSettings(bool reload, int page)
{
    if (m_settings) { // already open: only the page changes
        m_settings->showPage(page);
        m_settings->raise();
        m_settings->activateWindow();
        return;
    }
    std::unique_ptr<ProviderProfile> edited = m_core.editProviderSettings(reload);
    if (!edited)
        return;
    m_settings = new ConnectionSettingsDialog(m_core, std::move(edited), this);
    m_settings->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_settings, &ConnectionSettingsDialog::addConnectionRequested, this, [this] { openEntryDialog({}); });
    connect(m_settings, &ConnectionSettingsDialog::editConnectionRequested, this, &MainWindow::openEntryDialog);
    connect(m_settings, &ConnectionSettingsDialog::networkConfigRequested, this, &MainWindow::openNetworkConfig);
    m_settings->showPage(page);
    m_settings->setModal(true);
    m_settings->show();
}

void MainWindow::openGeneralSettings()
{
    if (m_generalSettings) {
        m_generalSettings->raise();
        m_generalSettings->activateWindow();
        return;
    }
    m_generalSettings = new GeneralSettingsDialog(m_core, m_core.editGeneralOptions(), m_core.editTariffs(), this);
    m_generalSettings->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_generalSettings, &GeneralSettingsDialog::statisticsSwitched, this, &MainWindow::setStatisticsShown);
    connect(m_generalSettings, &GeneralSettingsDialog::saved, this, &MainWindow::applySavedOptions);
    // Both open as modal windows owned by the settings window.
    connect(m_generalSettings, &GeneralSettingsDialog::calculatorRequested, this, [this] {
        CalculatorDialog calculator(m_core.options(), m_generalSettings);
        connect(&calculator, &CalculatorDialog::previewRequested, this, [this, &calculator] {
            CallPreviewDialog preview(m_core, &calculator);
            preview.exec();
        });
        calculator.exec();
    });
    connect(m_generalSettings, &GeneralSettingsDialog::holidayEditorRequested, this, [this] {
        HolidayEditorDialog holidays(m_core, m_generalSettings);
        holidays.exec();
    });
    // The load shows the stored switch, as a click on it would.
    setStatisticsShown(m_generalSettings->edited().isChecked(GeneralOptions::Check::DisplayDUNStats));
    m_generalSettings->setModal(true);
    m_generalSettings->show();
}

void MainWindow::openAbout()
{
    if (m_about) {
        m_about->raise();
        m_about->activateWindow();
        return;
    }
    InfoSeams seams{m_core.options(), m_core.launcher(), m_core.prompter(),
                    [this] { return m_core.isLineConnected() || !SystemReportsOffline(); }};
    m_about = new AboutWindow(std::move(seams), this);
    m_about->setAttribute(Qt::WA_DeleteOnClose);
    m_about->show();
}

void MainWindow::applySavedOptions()
{
    keepOnTop();
    if (!m_tray)
        return;
    if (inTrayMode() && !m_tray->isAdded() && m_tray->isAvailable())
        m_tray->add(m_core.state().text(Field::CurrTime));
    else if (!inTrayMode() && m_tray->isAdded() && isVisible())
        m_tray->remove();
}

void MainWindow::runCommand(const QString &key)
{
    // A command given while a message box waits for its answer would run inside the
    // handler that asked (a Connect there dials before the call is counted).
    if (modalBoxOpen())
        return;
    if (key == QLatin1String("Connect"))
        m_core.connectLine();
    else if (key == QLatin1String("Disconnect"))
        m_core.disconnectLine();
    else if (key == QLatin1String("ProvSett"))
        openProviderSettings(true, ConnectionSettingsDialog::Configuration);
    else if (key == QLatin1String("GenSett"))
        openGeneralSettings();
    else if (key == QLatin1String("Exit"))
        close();
    else if (key == QLatin1String("Report"))
        openReportWindow();
    else if (key == QLatin1String("About"))
        openAbout();
    else if (key == QLatin1String("Help"))
        m_core.prompter().tell(QStringLiteral("Help file is not available in this version!"));
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const bool minimized = isMinimized();
    m_core.setWindowMinimized(minimized);
    if (minimized && trayUsable())
        hideInTray();
    else if (m_trayMinimize)
        m_trayMinimize->setEnabled(true);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_exited) {
        event->accept();
        return;
    }
    if (m_exiting) {
        event->ignore();
        return;
    }
    m_exiting = true;
    m_core.shutDown([this] {
        Prompt question;
        question.text = QStringLiteral("You still have an internet connection!\n Do you want to disconnect on exit?");
        question.icon = Prompt::Icon::Question;
        question.buttons = Prompt::Buttons::YesNo;
        return m_core.prompter().ask(question) == Prompt::Answer::Yes;
    });
    if (m_tray)
        m_tray->remove();
    if (!isMinimized() && isVisible()) {
        const qreal dpi = logicalDpiX();
        m_core.storeWindowPosition(WindowPlacement::pixelsToTwips(x(), dpi), WindowPlacement::pixelsToTwips(y(), dpi));
    }
    m_exited = true;
    event->accept();
    emit exited();
}
