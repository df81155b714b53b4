#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>

#include "presentation/MainState.h"

class AboutWindow;
class AppCore;
class EntryDialog;
class GeneralSettingsDialog;
class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QToolButton;
class ConnectionSettingsDialog;
class NotifyWindow;
class PrinterPort;
class ReportWindow;
class TrayIcon;

// The main window "Form1": the provider list, the toolbar, the live figures, the alarm
// and mail indicators and the traffic panel. It shows AppCore's state and forwards the
// user's commands; all behaviour lives in the core.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // tray may be null (no tray on this desktop).
    MainWindow(AppCore &core, TrayIcon *tray, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Applies the general settings that shape the window (tray, statistics, position,
    // on top); called once before the window is first shown.
    void applyStartSettings();
    // Shows the window as the start settings say: normal, minimized, or (tray mode) only
    // in the tray.
    void showAtStart();

    // The toolbar's commands, by key: Connect, Disconnect, ProvSett, GenSett, Report,
    // About, Help, Exit. Unknown keys do nothing.
    void runCommand(const QString &key);

    bool statisticsShown() const;
    void setStatisticsShown(bool shown);

    // Brings the window back from the tray or the task bar.
    void restore();

    // The report viewer; one at a time: open, it comes to the front.
    ReportWindow *openReportWindow();
    // Where the report viewer prints (the system's printers unless a test gives another).
    void setPrinterPort(PrinterPort &printer) { m_printer = &printer; }

public slots:
    // The dial-up entry dialog for a new entry (entryToEdit empty) or an existing one; it
    // is window-modal and does not block.
    void openEntryDialog(const QString &entryToEdit);
    // The desktop's network settings program.
    void openNetworkConfig();

signals:
    // The exit sequence has run; the program may end.
    void exited();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void buildToolbar();
    void buildMailMenu();
    void bindState();
    // Setup (reload) and Configure: the provider settings window, on a page.
    void openProviderSettings(bool reload, int page);
    void openGeneralSettings();
    // The about box; one at a time: asked again, the open one comes to the front.
    void openAbout();
    // After the general settings' OK: on top or not, the tray icon for the minimize mode.
    void applySavedOptions();
    void keepOnTop();
    void onTrayClicked();
    bool inTrayMode() const;
    // Tray mode with the icon shown: minimizing hides the window in the tray.
    bool trayUsable() const;
    bool hiddenInTray() const;
    void hideInTray();
    // A message box waits for its answer: commands and the tray menu do nothing.
    static bool modalBoxOpen();
    QString windowCaption(const QString &text) const;

    AppCore &m_core;
    TrayIcon *m_tray;
    QComboBox *m_providers = nullptr;
    QWidget *m_statsFrame = nullptr;
    QToolButton *m_statsToggle = nullptr;
    QMenu *m_trayMenu = nullptr;
    QAction *m_trayMinimize = nullptr;
    QAction *m_mailEnable = nullptr;
    QPointer<NotifyWindow> m_notify;
    QPointer<ConnectionSettingsDialog> m_settings;
    QPointer<GeneralSettingsDialog> m_generalSettings;
    QPointer<EntryDialog> m_entryDialog;
    QPointer<ReportWindow> m_report;
    std::unique_ptr<PrinterPort> m_systemPrinter;
    PrinterPort *m_printer = nullptr;
    QPointer<AboutWindow> m_about;
    std::array<QLabel *, std::size_t(MainState::Field::Count_)> m_labels{};
    bool m_exiting = false;
    bool m_exited = false;
    bool m_tellStatusInTray = false;
};
