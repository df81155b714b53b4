#include "settings/ProviderProfile.h"

#include <algorithm>
#include <iterator>

#include "settings/PasswordScrambler.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

namespace {

enum class Section { Provider, Mail, Alerts };

struct Field
{
    const char *control;
    Section section;
    const char *key;
    const char *initial; // the text a load gives when the key is missing
};

// In the order of ProviderProfile::Check.
constexpr Field kChecks[] = {
    {"chkPass", Section::Provider, "SavePass", "0"},
    {"chkRedial", Section::Provider, "Redial", "0"},
    {"chkLog", Section::Provider, "KeepLog", "0"},
    {"chkReport", Section::Provider, "KeepReport", "0"},
    {"chkEMail", Section::Mail, "Check E-mail", "0"},
    {"chkAlert1", Section::Alerts, "1", "0"},
    {"chkAlert2", Section::Alerts, "2", "0"},
    {"chkAlert3", Section::Alerts, "3", "0"},
    {"chkAlert4", Section::Alerts, "4", "0"},
    {"chkAlert5", Section::Alerts, "5", "0"},
    {"chkAlert6", Section::Alerts, "6", "0"},
    {"chkDisconnect15", Section::Alerts, "Disconnect15", "0"},
    {"chkAlertSound", Section::Alerts, "ChkSound", "0"},
    {"chkEmailInt", Section::Mail, "CheckInt", "0"},
    {"chkSound", Section::Mail, "ChkSound", "0"},
    {"chkLaunchEmail", Section::Mail, "Chklaunch", "0"},
};
static_assert(std::size(kChecks) == std::size_t(ProviderProfile::Check::Count_));

// In the order of ProviderProfile::Text.
constexpr Field kTexts[] = {
    {"txtLoginName", Section::Provider, "Login", ""},    {"txtAlertH1", Section::Alerts, "Alert H1", "00"},
    {"txtAlertH2", Section::Alerts, "Alert H2", "00"},   {"txtAlertH3", Section::Alerts, "Alert H3", "00"},
    {"txtAlertH4", Section::Alerts, "Alert H4", "00"},   {"txtAlertM1", Section::Alerts, "Alert M1", "00"},
    {"txtAlertM2", Section::Alerts, "Alert M2", "00"},   {"txtAlertM3", Section::Alerts, "Alert M3", "00"},
    {"txtAlertM4", Section::Alerts, "Alert M4", "00"},   {"txtAlert1", Section::Alerts, "Alert Call", ""},
    {"txtAlert2", Section::Alerts, "Alert Payment", ""}, {"txtAlertSound", Section::Alerts, "AlertSound", ""},
    {"txtPop3Host", Section::Mail, "Host", ""},          {"txtPop3User", Section::Mail, "User", ""},
    {"txtpop3Passwd", Section::Mail, "Passwd", ""},      {"txtInterval", Section::Mail, "Interval", "15"},
    {"txtTimeout", Section::Mail, "Timeout", "30"},      {"txtSound", Section::Mail, "Sound", ""},
    {"txtLaunchEmail", Section::Mail, "launch", ""},
};
static_assert(std::size(kTexts) == std::size_t(ProviderProfile::Text::Count_));

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;

const Field &field(Check check)
{
    return kChecks[int(check)];
}

const Field &field(Text text)
{
    return kTexts[int(text)];
}

QString sectionPath(Section section, const QString &provider)
{
    switch (section) {
    case Section::Provider:
        return SettingsLayout::Provider(provider);
    case Section::Mail:
        return SettingsLayout::ProviderMail(provider);
    case Section::Alerts:
        return SettingsLayout::ProviderAlerts(provider);
    }
    return QString();
}

QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

std::optional<int> wholeNumber(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

Check alertCheck(int n)
{
    return Check(int(Check::Alert1) + n - 1);
}

Text alertHoursText(int n)
{
    return Text(int(Text::AlertH1) + n - 1);
}

Text alertMinutesText(int n)
{
    return Text(int(Text::AlertM1) + n - 1);
}

constexpr int kTimeAlarms = 4; // alarms 1..4 compare hours and minutes

} // namespace

QString ProviderProfile::controlName(Check check)
{
    return QLatin1String(field(check).control);
}

QString ProviderProfile::controlName(Text text)
{
    return QLatin1String(field(text).control);
}

ProviderProfile::ProviderProfile(QObject *parent) : QObject(parent)
{
    reset();
}

void ProviderProfile::reset()
{
    m_provider.clear();
    m_checks.fill(false);
    for (std::size_t i = 0; i < m_texts.size(); ++i)
        m_texts[i] = QLatin1String(kTexts[i].initial);
    m_password.clear();
    m_phoneNumbers = QStringList{defaultPhoneNumber()};
    m_phone = defaultPhoneNumber();
    m_tariffNames.clear();
    m_tariffLabels.fill(QString());
}

void ProviderProfile::load(const SettingsStore &store, const QString &provider)
{
    // Every load starts afresh, so nothing of a provider loaded before can be stored
    // under this one.
    reset();
    if (provider.isEmpty()) {
        emit changed();
        return;
    }
    m_provider = provider;
    const QString section = SettingsLayout::Provider(provider);

    // A password typed for one provider must never be dialled to another.
    if (provider != m_passwordOwner) {
        m_currentPassword.clear();
        m_passwordOwner = provider;
    }
    if (store.GetSetting(section, QStringLiteral("SavePass"), QStringLiteral("0")).trimmed().toInt() == 1) {
        m_password = DecryptPassword(store.GetSettingBytes(section, QStringLiteral("Password")), kPasswordKey);
        m_currentPassword = m_password;
        m_checks[int(Check::Pass)] = true;
    }

    for (const auto &[key, number] : store.GetAllSettings(SettingsLayout::ProviderPhoneNumbers(provider))) {
        if (!m_phoneNumbers.contains(number))
            m_phoneNumbers.append(number);
    }
    // The stored number may be one that is no longer listed (only the last added number
    // is kept): it stays selectable, so the number dialled is the one shown and OK does
    // not replace it behind the user's back.
    const QString stored = store.GetSetting(section, QStringLiteral("Phone"));
    if (!stored.isEmpty()) {
        if (!m_phoneNumbers.contains(stored))
            m_phoneNumbers.append(stored);
        m_phone = stored;
    }
    m_currentPhone = m_phone;

    for (int i = 0; i < int(Check::Count_); ++i) {
        if (Check(i) == Check::Pass)
            continue;
        const Field &f = kChecks[i];
        m_checks[i] = SettingIsTrue(
            store.GetSetting(sectionPath(f.section, provider), QLatin1String(f.key), QLatin1String(f.initial)));
    }
    for (int i = 0; i < int(Text::Count_); ++i) {
        const Field &f = kTexts[i];
        m_texts[i] = store.GetSetting(sectionPath(f.section, provider), QLatin1String(f.key), QLatin1String(f.initial));
    }

    for (const auto &[name, value] : store.GetAllSettings(SettingsLayout::TariffNames()))
        m_tariffNames.append(name);
    if (!m_tariffNames.isEmpty()) {
        for (int day = 1; day <= kDays; ++day)
            m_tariffLabels[day - 1] =
                store.GetSetting(SettingsLayout::TariffAssignment(provider), QString::number(day));
    }

    m_currentMail = MailAccount{text(Text::Pop3Host),
                                text(Text::Pop3User),
                                text(Text::Pop3Passwd),
                                text(Text::Interval),
                                store.GetSetting(SettingsLayout::ProviderMail(provider), QStringLiteral("Program")),
                                text(Text::Sound),
                                text(Text::Timeout)};
    emit changed();
}

bool ProviderProfile::save(SettingsStore &store, const std::function<bool(const ProviderProfile &)> &mailCheck)
{
    if (m_provider.isEmpty())
        return false;

    m_currentPhone = m_phone;
    m_currentPassword = m_password;
    m_passwordOwner = m_provider;
    m_currentMail =
        MailAccount{text(Text::Pop3Host),    text(Text::Pop3User), text(Text::Pop3Passwd), text(Text::Interval),
                    text(Text::LaunchEmail), text(Text::Sound),    text(Text::Timeout)};
    // The check may show a message box: it runs before the transaction opens, so the
    // store is never held locked while the user reads it.
    const bool writeMail = isChecked(Check::EMail) && mailCheck && mailCheck(*this);

    auto write = [&](const Field &f, const QString &value) {
        store.SaveSetting(sectionPath(f.section, m_provider), QLatin1String(f.key), value);
    };
    auto writeCheck = [&](Check check) { write(field(check), flagText(isChecked(check))); };
    auto writeText = [&](Text t) { write(field(t), text(t)); };

    SettingsStore::Batch batch(store);
    const QString section = SettingsLayout::Provider(m_provider);
    writeText(Text::LoginName);
    store.SaveSetting(section, QStringLiteral("Phone"), m_phone);
    writeCheck(Check::Pass);
    // Cleared, the key is written empty rather than deleted.
    store.SaveSettingBytes(section, QStringLiteral("Password"),
                           isChecked(Check::Pass) ? EncryptPassword(m_password, kPasswordKey) : QByteArray());
    for (Check check : {Check::Log, Check::Report, Check::Redial, Check::EMail})
        writeCheck(check);

    for (int day = 1; day <= kDays; ++day)
        store.SaveSetting(SettingsLayout::TariffAssignment(m_provider), QString::number(day), m_tariffLabels[day - 1]);

    for (int n = 1; n <= kTimeAlarms; ++n) {
        writeCheck(alertCheck(n));
        writeText(alertHoursText(n));
        writeText(alertMinutesText(n));
    }
    writeCheck(Check::Alert5);
    writeText(Text::Alert1);
    writeCheck(Check::Alert6);
    writeText(Text::Alert2);
    writeCheck(Check::Disconnect15);
    writeCheck(Check::AlertSound);
    writeText(Text::AlertSound);

    if (writeMail) {
        const QString mail = SettingsLayout::ProviderMail(m_provider);
        writeText(Text::Pop3Host);
        writeText(Text::Pop3User);
        writeText(Text::Pop3Passwd);
        writeText(Text::Interval);
        writeCheck(Check::EmailInt);
        store.SaveSetting(mail, QStringLiteral("Program"), m_currentMail.program);
        writeText(Text::Sound);
        writeCheck(Check::Sound);
        writeText(Text::LaunchEmail);
        writeCheck(Check::LaunchEmail);
        writeText(Text::Timeout);
    }
    const bool stored = batch.commit();
    emit changed();
    return stored;
}

ProviderProfile::PhoneAdded ProviderProfile::addPhoneNumber(SettingsStore &store, const QString &number)
{
    // An empty answer is what a cancelled input box gives: it must not replace the
    // stored number.
    if (m_provider.isEmpty() || number.trimmed().isEmpty())
        return PhoneAdded::Empty;
    if (m_phoneNumbers.contains(number))
        return PhoneAdded::Duplicate;
    m_phoneNumbers.append(number);
    store.SaveSetting(SettingsLayout::ProviderPhoneNumbers(m_provider), QStringLiteral("Number"), number);
    emit changed();
    return PhoneAdded::Added;
}

bool ProviderProfile::canRemovePhoneNumber() const
{
    return !m_provider.isEmpty() && !m_phone.isEmpty() && m_phone != defaultPhoneNumber();
}

bool ProviderProfile::removePhoneNumber(SettingsStore &store)
{
    if (!canRemovePhoneNumber())
        return false;
    const QString removed = m_phone;
    m_phoneNumbers.removeOne(removed);
    m_phone = defaultPhoneNumber();

    // The section keeps one number; it goes only when it is the removed one, so removing
    // a number that was never stored cannot lose the one that is.
    const QString section = SettingsLayout::ProviderPhoneNumbers(m_provider);
    const SettingsStore::Pairs stored = store.GetAllSettings(section);
    if (std::any_of(stored.cbegin(), stored.cend(), [&](const auto &pair) { return pair.second == removed; }))
        store.DeleteSetting(section);
    emit changed();
    return true;
}

bool ProviderProfile::isChecked(Check check) const
{
    return m_checks[int(check)];
}

void ProviderProfile::setChecked(Check check, bool on)
{
    if (m_checks[int(check)] == on)
        return;
    m_checks[int(check)] = on;
    emit changed();
}

QString ProviderProfile::text(Text text) const
{
    return m_texts[int(text)];
}

void ProviderProfile::setText(Text text, const QString &value)
{
    if (m_texts[int(text)] == value)
        return;
    m_texts[int(text)] = value;
    emit changed();
}

void ProviderProfile::setPassword(const QString &password)
{
    const QByteArray bytes = password.toUtf8();
    if (bytes == m_password)
        return;
    m_password = bytes;
    emit changed();
}

bool ProviderProfile::setPhone(const QString &entry)
{
    if (!m_phoneNumbers.contains(entry))
        return false;
    if (m_phone != entry) {
        m_phone = entry;
        emit changed();
    }
    return true;
}

QString ProviderProfile::tariffLabel(int day) const
{
    return day >= 1 && day <= kDays ? m_tariffLabels[day - 1] : QString();
}

bool ProviderProfile::setTariffLabel(int day, const QString &choice)
{
    if (day < 1 || day > kDays)
        return false;
    if (choice != emptyTariff() && !m_tariffNames.contains(choice))
        return false;
    const QString label = choice == emptyTariff() ? QStringLiteral(" ") : choice;
    if (m_tariffLabels[day - 1] != label) {
        m_tariffLabels[day - 1] = label;
        emit changed();
    }
    return true;
}

void ProviderProfile::setAlertsOn(bool on)
{
    if (m_alertsOn == on)
        return;
    m_alertsOn = on;
    emit changed();
}

bool ProviderProfile::alarmOn(int n) const
{
    return n >= 1 && n <= kAlarms && isChecked(alertCheck(n));
}

void ProviderProfile::setAlarmOn(int n, bool on)
{
    if (n >= 1 && n <= kAlarms)
        setChecked(alertCheck(n), on);
}

std::optional<int> ProviderProfile::alertHours(int n) const
{
    if (n < 1 || n > kTimeAlarms)
        return std::nullopt;
    return wholeNumber(text(alertHoursText(n)), 0, 99);
}

std::optional<int> ProviderProfile::alertMinutes(int n) const
{
    if (n < 1 || n > kTimeAlarms)
        return std::nullopt;
    return wholeNumber(text(alertMinutesText(n)), 0, 59);
}

std::optional<int> ProviderProfile::alertCallCount() const
{
    return wholeNumber(text(Text::Alert1), 0, 32767);
}

std::optional<Money> ProviderProfile::alertPayment() const
{
    const std::optional<Money> amount = Money::parse(text(Text::Alert2));
    if (!amount || *amount < Money())
        return std::nullopt;
    return amount;
}

std::optional<int> ProviderProfile::mailInterval() const
{
    return wholeNumber(text(Text::Interval), 1, 32767);
}

std::optional<int> ProviderProfile::mailTimeout() const
{
    return wholeNumber(text(Text::Timeout), 1, 32767);
}

void ProviderProfile::setCurrentPassword(const QByteArray &password)
{
    m_currentPassword = password;
    m_passwordOwner = m_provider;
}
