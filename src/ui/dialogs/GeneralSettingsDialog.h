#pragma once

#include <QDialog>

#include <array>
#include <memory>

#include "settings/GeneralOptions.h"

class AppCore;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTabWidget;
class TariffEditor;
class TariffPage;

// frmGeneralSettings: the settings that belong to no provider, on five pages. It edits a copy
// of the live options that AppCore hands out and commits it on OK. Two switches act at once
// and are put back by Cancel: the main window's statistics panel and the launch style.
class GeneralSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    enum Page { General, Tariffs, Logging, Connection, Executions, PageCount };

    GeneralSettingsDialog(AppCore &core, std::unique_ptr<GeneralOptions> edited, std::unique_ptr<TariffEditor> tariffs,
                          QWidget *parent = nullptr);
    ~GeneralSettingsDialog() override;

    void showPage(int page);
    const GeneralOptions &edited() const { return *m_edited; }
    TariffPage &tariffPage() { return *m_tariffPage; }

    void reject() override;

signals:
    // chkDisplayDUNStats: the main window unfolds (true) or folds its statistics panel.
    void statisticsSwitched(bool shown);
    // OK stored the options: the main window applies its on-top and tray settings.
    void saved();
    void calculatorRequested();
    void holidayEditorRequested();

private:
    QWidget *buildGeneral();
    QWidget *buildLogging();
    QWidget *buildConnection();
    QWidget *buildExecutions();

    void load();
    void fillPrograms();
    void collect();
    void cmdSaveSettings_Click();
    void Command1_Click();
    void cmdExeRemove_Click();
    void browseSound(QLineEdit *target);

    QCheckBox *checkBox(GeneralOptions::Check check) const;
    QLineEdit *textBox(GeneralOptions::Text text) const;

    AppCore &m_core;
    std::unique_ptr<GeneralOptions> m_edited;
    // What acts at once, as it was when the window opened.
    bool m_statisticsBefore = false;
    int m_launchStyleBefore = 1;
    QTabWidget *m_tabs = nullptr;
    TariffPage *m_tariffPage = nullptr;
    QRadioButton *m_minTray = nullptr;
    QRadioButton *m_minNormal = nullptr;
    QRadioButton *m_oneLog = nullptr;
    QRadioButton *m_separateLogs = nullptr;
    std::array<QCheckBox *, GeneralOptions::kLogItems> m_logItems{};
    QListWidget *m_programs = nullptr;
    QLabel *m_programCount = nullptr;
    QButtonGroup *m_styles = nullptr;
};
