#pragma once

#include <QDialog>

#include <array>
#include <memory>

#include "settings/ProviderProfile.h"

class AppCore;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;

// frmConnectionSettings: everything kept for the current provider, on five pages. It edits
// a copy of the live profile that AppCore hands out and commits on OK; the phone numbers,
// the counter resets and the alerts switch act at once through AppCore. Entries of the
// phone book are created and edited elsewhere: the buttons only ask for it.
class ConnectionSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    // The pages in order, numbered as the commands name them.
    enum Page { Configuration, Counters, Tariffs, Alerts, EMail, PageCount };

    ConnectionSettingsDialog(AppCore &core, std::unique_ptr<ProviderProfile> edited, QWidget *parent = nullptr);
    ~ConnectionSettingsDialog() override;

    void showPage(int page);
    const ProviderProfile &edited() const { return *m_edited; }

signals:
    void addConnectionRequested();
    void editConnectionRequested(const QString &entry);
    void networkConfigRequested();

protected:
    // The tariff lists are filled afresh at every show: tariffs may have been added.
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildConfiguration();
    QWidget *buildCounters();
    QWidget *buildTariffs();
    QWidget *buildAlerts();
    QWidget *buildEMail();

    // The load step: every control from the copy, the counters from the main window.
    void load();
    void fillPhoneNumbers();
    void fillTariffs();
    void showCounters();
    void showAlertsSwitch();
    void followChecks();
    // The controls back into the copy.
    void collect();

    void cmdOK_Click();
    void imgAddPhoneNumber_Click();
    void imgRemovePhoneNumber_Click();
    void cmdResetAll_Click();
    void cmdResetSel_Click();
    void Check2_Click(bool on);
    void Combo1_Click(int day);
    void browseSound(QLineEdit *target);
    void cmdBrowseLaunch_Click();

    QCheckBox *checkBox(ProviderProfile::Check check) const;
    QLineEdit *textBox(ProviderProfile::Text text) const;

    AppCore &m_core;
    std::unique_ptr<ProviderProfile> m_edited;
    QString m_shownPassword; // as loaded: an unedited password keeps its stored bytes
    QTabWidget *m_tabs = nullptr;
    QLineEdit *m_password = nullptr;
    QComboBox *m_phoneNumbers = nullptr;
    std::array<QLineEdit *, 6> m_counters{};
    std::array<QCheckBox *, 6> m_resetRows{};
    std::array<QComboBox *, ProviderProfile::kDays> m_tariffCombos{};
    std::array<QLabel *, ProviderProfile::kDays> m_tariffLabels{};
    QCheckBox *m_alertsSwitch = nullptr;
    QLabel *m_alertsLabel = nullptr;
};
