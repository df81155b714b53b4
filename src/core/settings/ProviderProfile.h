#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

#include "settings/SettingsValues.h"
#include "values/Money.h"

class SettingsStore;

// Everything frmConnectionSettings holds for the current provider, kept alive while the
// dialog is closed: the dialer, the alarms, the mail check and the logs read it here.
// Setters change the model only; load(), save() and the phone-number operations are the
// only ones that touch the store.
class ProviderProfile : public QObject
{
    Q_OBJECT
public:
    enum class Check {
        Pass,   // chkPass: "SavePass"
        Redial, // chkRedial: "Redial"
        Log,    // chkLog: "KeepLog"
        Report, // chkReport: "KeepReport"
        EMail,  // chkEMail: "Check E-mail" in the e-mail section
        Alert1, // chkAlert1..chkAlert6: "1".."6" in the alerts section
        Alert2,
        Alert3,
        Alert4,
        Alert5,
        Alert6,
        Disconnect15, // chkDisconnect15: "Disconnect15"
        AlertSound,   // chkAlertSound: "ChkSound" in the alerts section
        EmailInt,     // chkEmailInt: "CheckInt"
        Sound,        // chkSound: "ChkSound" in the e-mail section
        LaunchEmail,  // chkLaunchEmail: "Chklaunch"
        Count_
    };
    Q_ENUM(Check)

    enum class Text {
        LoginName, // txtLoginName: "Login"
        AlertH1,   // txtAlertH1..4: "Alert H1".."Alert H4"
        AlertH2,
        AlertH3,
        AlertH4,
        AlertM1, // txtAlertM1..4: "Alert M1".."Alert M4"
        AlertM2,
        AlertM3,
        AlertM4,
        Alert1,      // txtAlert1, the call count: "Alert Call"
        Alert2,      // txtAlert2, the payment: "Alert Payment"
        AlertSound,  // txtAlertSound: "AlertSound"
        Pop3Host,    // txtPop3Host: "Host"
        Pop3User,    // txtPop3User: "User"
        Pop3Passwd,  // txtpop3Passwd: "Passwd"
        Interval,    // txtInterval: "Interval"
        Timeout,     // txtTimeout: "Timeout"
        Sound,       // txtSound: "Sound"
        LaunchEmail, // txtLaunchEmail: "launch" (and "Program")
        Count_
    };
    Q_ENUM(Text)

    // Empty: an empty answer (a cancelled input box) or no provider; nothing changes.
    enum class PhoneAdded { Added, Duplicate, Empty };
    Q_ENUM(PhoneAdded)

    // What OK did. Only Saved changed the store and the current values.
    enum class SaveResult { Saved, NoProvider, MailRefused, StoreFailed };
    Q_ENUM(SaveResult)

    // The mailbox settings the mail check works with (set by load and OK).
    struct MailAccount
    {
        QString host;
        QString user;
        QString password;
        QString interval;
        QString program;
        QString sound;
        QString timeout;
    };

    static constexpr int kDays = 8;   // Label(1..8): Sunday .. Saturday, holiday
    static constexpr int kAlarms = 6; // chkAlert(1..6)

    static QString defaultPhoneNumber();
    static QString emptyTariff() { return QStringLiteral("[Empty]"); }
    static QString controlName(Check check);
    static QString controlName(Text text);
    // The provider's stored password when "save password" is ticked for it, else nothing.
    static std::optional<QByteArray> savedPassword(const SettingsStore &store, const QString &provider);

    explicit ProviderProfile(QObject *parent = nullptr);

    // Fills every value of this provider from the store. An empty provider leaves all
    // values at their initial state and the current values untouched. Without a saved
    // password the box shows the password of this session, so OK keeps it.
    void load(const SettingsStore &store, const QString &provider);
    // Stores the values as one transaction. With chkEMail ticked mailCheck must accept
    // the mail settings first, or nothing at all is written and the current values stay;
    // with it cleared only "Check E-mail" of the e-mail section is written.
    SaveResult save(SettingsStore &store, const std::function<bool(const ProviderProfile &)> &mailCheck);
    // Another profile's copy of everything (the settings window edits such a copy).
    void copyFrom(const ProviderProfile &other);
    // The current password (and the box showing it), phone number and mail account that
    // other's OK set.
    void takeCurrentValues(const ProviderProfile &other);
    // The phone-number list of other (a copy whose numbers were added or removed at once).
    void takePhoneNumbers(const ProviderProfile &other);
    // The tariff names again (tariffs may have been added since the load); the labels are
    // read when there were no names before.
    void reloadTariffNames(const SettingsStore &store);

    // Adds a number to the list and stores it under a key of its own ("Number",
    // "Number2", ...).
    PhoneAdded addPhoneNumber(SettingsStore &store, const QString &number);
    // Whether the shown number is one that can be removed (callers ask before removing).
    bool canRemovePhoneNumber() const;
    // Removes the shown number from the list and its key from the store.
    bool removePhoneNumber(SettingsStore &store);

    QString provider() const { return m_provider; }

    bool isChecked(Check check) const;
    void setChecked(Check check, bool on);
    QString text(Text text) const;
    void setText(Text text, const QString &value);

    // txtPassword. Kept as the bytes the dialer sends, so an unedited stored password
    // goes back into the store byte for byte.
    QString password() const { return QString::fromUtf8(m_password); }
    QByteArray passwordBytes() const { return m_password; }
    void setPassword(const QString &password);

    // cmbPhoneNumbers: its entries (first the default one) and the one shown.
    QStringList phoneNumbers() const { return m_phoneNumbers; }
    QString phone() const { return m_phone; }
    bool setPhone(const QString &entry); // false for a text that is not an entry

    // The tariff names and Label(1..8).
    QStringList tariffNames() const { return m_tariffNames; }
    QString tariffLabel(int day) const;
    // Choosing in Combo1(day): "[Empty]" shows (and stores) a single space.
    bool setTariffLabel(int day, const QString &choice);

    // Check2: the alarms' master switch. Never stored; off at start, kept across loads.
    bool alertsOn() const { return m_alertsOn; }
    void setAlertsOn(bool on);

    // Alarm n (1..6): its tick and its threshold. A threshold that is empty, no whole
    // number or out of range gives nothing, and that alarm never fires.
    bool alarmOn(int n) const;
    void setAlarmOn(int n, bool on);
    std::optional<int> alertHours(int n) const;   // 0..99, n = 1..4
    std::optional<int> alertMinutes(int n) const; // 0..59, n = 1..4
    std::optional<int> alertCallCount() const;    // 0..32767
    std::optional<Money> alertPayment() const;    // not negative, currency units

    // txtInterval in minutes and txtTimeout in seconds, 1..32767.
    std::optional<int> mailInterval() const;
    std::optional<int> mailTimeout() const;

    // The run-time values the dialer and the mail check use.
    QByteArray currentPassword() const { return m_currentPassword; }
    void setCurrentPassword(const QByteArray &password);
    QString currentPhoneNumber() const { return m_currentPhone; }
    MailAccount currentMail() const { return m_currentMail; }

signals:
    void changed();

private:
    void reset();

    // The sections the values of m_provider are stored in.
    QStringList sections() const;

    QString m_provider;
    SettingsValues m_values;
    QByteArray m_password;
    QStringList m_phoneNumbers;
    QString m_phone;
    QStringList m_tariffNames;
    std::array<QString, kDays> m_tariffLabels;
    bool m_alertsOn = false;

    QString m_passwordOwner; // the provider the current password belongs to
    QByteArray m_currentPassword;
    QString m_currentPhone;
    MailAccount m_currentMail;
};
