#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

#include "settings/SettingsValues.h"

class SettingsStore;

// Everything frmGeneralSettings holds, kept alive while the dialog is closed: the call
// start-up and end steps, the launcher, the log writer and the main window read it here.
// Setters change the model only; load() and save() are the only ones that touch the store.
class GeneralOptions : public QObject
{
    Q_OBJECT
public:
    enum class Check {
        AddCost,         // chkAddCost: "AddCost"
        AddTime,         // chkAddTime: "AddTime"
        MinCharge,       // chkMinCharge: "AddMinCharge"
        ShowSplash,      // chkShowSplash: "ShowSplash"
        Sound1,          // chkSound1: "chkSound1"
        DisplayDUNStats, // chkDisplayDUNStats: "ShowDUNStats"
        Sound2,          // chkSound2: "chkSound2"
        Minimize,        // chkMinimize: "Minimize Conn"
        StartMini,       // chkStartMini: "StartMini"
        OnTop,           // chkOnTop: "OnTop"
        StartUp,         // chkStartUp: "StartUp"
        Position,        // chkpPosition: "SavePos"
        Count_
    };
    Q_ENUM(Check)

    enum class Text {
        AddCost,   // txtAddCost: "AddCostTxt", hundredths of the currency unit
        AddTime,   // txtAddTime: "AddTimeTxT", seconds
        MinCharge, // txtMinCharge: "AddMinChargeTxT", hundredths of the currency unit
        Sound1,    // txtSound1: "Sound1"
        Sound2,    // txtSound2: "Sound2"
        Count_
    };
    Q_ENUM(Text)

    // An entry of List1: a program started after a connection is made, when ticked.
    struct Program
    {
        QString path;
        bool ticked = false;
        bool operator==(const Program &) const = default;
    };

    static constexpr int kLogItems = 11; // chkLog(1..11)

    static QString controlName(Check check);
    static QString controlName(Text text);
    // The window styles optEXE offers: 1, 2, 3, 4 and 6.
    static bool isLaunchStyle(int style);

    explicit GeneralOptions(QObject *parent = nullptr);

    void load(const SettingsStore &store);
    // Stores every value as one transaction; the stored program list is replaced by the
    // one held here. Returns false when the store refused.
    bool save(SettingsStore &store);

    bool isChecked(Check check) const;
    void setChecked(Check check, bool on);
    QString text(Text text) const;
    void setText(Text text, const QString &value);

    // optMinTray; optMinNormal is its other option.
    bool minimizeToTray() const { return m_minimizeToTray; }
    void setMinimizeToTray(bool tray);
    // optSepLogs; opt1Log is its other option.
    bool separateLogs() const { return m_separateLogs; }
    void setSeparateLogs(bool separate);
    // chkLog(n), n = 1..11.
    bool logItem(int n) const;
    void setLogItem(int n, bool on);

    // List1 and lblExec (its count).
    QList<Program> programs() const { return m_programs; }
    int programCount() const { return int(m_programs.size()); }
    // An empty path (the file dialog cancelled) adds nothing and gives false.
    bool addProgram(const QString &path);
    // Gives false when index names no entry (nothing selected).
    bool removeProgram(int index);
    bool setProgramTicked(int index, bool ticked);

    // The index of the ticked optEXE; false for a style that is not offered.
    int launchStyle() const { return m_launchStyle; }
    bool setLaunchStyle(int style);

    // lblCurrSymb(1..3) and the main window's lblSym. The user's locale's symbol by default.
    QString currencySymbol() const { return m_currencySymbol; }
    void setCurrencySymbol(const QString &symbol);

    // Read from the store, not edited here: the about box's links, the news server's
    // address (empty: not configured) and the system information viewers to try.
    QString homeUrl() const { return m_homeUrl; }
    QString homeEmail() const { return m_homeEmail; }
    QString newsUrl() const { return m_newsUrl; }
    QStringList sysInfoPrograms() const { return m_sysInfoPrograms; }

signals:
    void changed();

private:
    SettingsValues m_values;
    bool m_minimizeToTray = false;
    bool m_separateLogs = false;
    std::array<bool, kLogItems> m_logItems{};
    QList<Program> m_programs;
    int m_launchStyle = 1;
    QString m_currencySymbol;
    QString m_homeUrl;
    QString m_homeEmail;
    QString m_newsUrl;
    QStringList m_sysInfoPrograms;
};
