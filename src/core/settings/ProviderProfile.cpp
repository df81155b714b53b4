#include "settings/ProviderProfile.h"

#include <iterator>

#include "settings/PasswordScrambler.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

namespace {

namespace Key = SettingsLayout::Key;
using Field = SettingsValues::Field;
// Indexes into ProviderProfile::sections().
enum Section : int { kProvider, kMail, kAlerts };

// In the order of ProviderProfile::Check.
constexpr Field kChecks[] = {
    {"chkPass", kProvider, Key::SavePass, "0"},
    {"chkRedial", kProvider, "Redial", "0"},
    {"chkLog", kProvider, "KeepLog", "0"},
    {"chkReport", kProvider, "KeepReport", "0"},
    {"chkEMail", kMail, "Check E-mail", "0"},
    {"chkAlert1", kAlerts, "1", "0"},
    {"chkAlert2", kAlerts, "2", "0"},
    {"chkAlert3", kAlerts, "3", "0"},
    {"chkAlert4", kAlerts, "4", "0"},
    {"chkAlert5", kAlerts, "5", "0"},
    {"chkAlert6", kAlerts, "6", "0"},
    {"chkDisconnect15", kAlerts, "Disconnect15", "0"},
    {"chkAlertSound", kAlerts, "ChkSound", "0"},
    {"chkEmailInt", kMail, "CheckInt", "0"},
    {"chkSound", kMail, "ChkSound", "0"},
    {"chkLaunchEmail", kMail, "Chklaunch", "0"},
};
static_assert(std::size(kChecks) == std::size_t(ProviderProfile::Check::Count_));

// In the order of ProviderProfile::Text.
constexpr Field kTexts[] = {
    {"txtLoginName", kProvider, Key::Login, ""}, {"txtAlertH1", kAlerts, "Alert H1", "00"},
    {"txtAlertH2", kAlerts, "Alert H2", "00"},   {"txtAlertH3", kAlerts, "Alert H3", "00"},
    {"txtAlertH4", kAlerts, "Alert H4", "00"},   {"txtAlertM1", kAlerts, "Alert M1", "00"},
    {"txtAlertM2", kAlerts, "Alert M2", "00"},   {"txtAlertM3", kAlerts, "Alert M3", "00"},
    {"txtAlertM4", kAlerts, "Alert M4", "00"},   {"txtAlert1", kAlerts, "Alert Call", ""},
    {"txtAlert2", kAlerts, "Alert Payment", ""}, {"txtAlertSound", kAlerts, "AlertSound", ""},
    {"txtPop3Host", kMail, "Host", ""},          {"txtPop3User", kMail, "User", ""},
    {"txtpop3Passwd", kMail, "Passwd", ""},      {"txtInterval", kMail, "Interval", "15"},
    {"txtTimeout", kMail, "Timeout", "30"},      {"txtSound", kMail, "Sound", ""},
    {"txtLaunchEmail", kMail, "launch", ""},
};
static_assert(std::size(kTexts) == std::size_t(ProviderProfile::Text::Count_));

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;

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

// The key of the n-th stored phone number: "Number", "Number2", "Number3", ...
QString phoneKey(int n)
{
    return n == 1 ? QStringLiteral("Number") : QStringLiteral("Number%1").arg(n);
}

// The days count from 1 (their keys); day is 1..kDays here.
std::size_t dayIndex(int day)
{
    return static_cast<std::size_t>(day - 1);
}

} // namespace

QString ProviderProfile::defaultPhoneNumber()
{
    return SettingsLayout::DefaultPhoneNumber();
}

QString ProviderProfile::controlName(Check check)
{
    return QLatin1String(kChecks[int(check)].control);
}

QString ProviderProfile::controlName(Text text)
{
    return QLatin1String(kTexts[int(text)].control);
}

std::optional<QByteArray> ProviderProfile::savedPassword(const SettingsStore &store, const QString &provider)
{
    // "SavePass" alone is read as a whole number rather than by the truth rule.
    const QString section = SettingsLayout::Provider(provider);
    if (store.GetSetting(section, QLatin1String(Key::SavePass), QStringLiteral("0")).trimmed().toInt() != 1)
        return std::nullopt;
    return DecryptPassword(store.GetSettingBytes(section, QLatin1String(Key::Password)), kPasswordKey);
}

ProviderProfile::ProviderProfile(QObject *parent) : QObject(parent), m_values(kChecks, kTexts)
{
    reset();
}

QStringList ProviderProfile::sections() const
{
    return {SettingsLayout::Provider(m_provider), SettingsLayout::ProviderMail(m_provider),
            SettingsLayout::ProviderAlerts(m_provider)};
}

void ProviderProfile::reset()
{
    m_provider.clear();
    m_values.reset();
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
    m_values.load(store, sections());
    const std::optional<QByteArray> saved = savedPassword(store, provider);
    m_values.setChecked(int(Check::Pass), saved.has_value());
    if (saved) {
        m_password = *saved;
        m_currentPassword = m_password;
    } else {
        // An empty box would make OK wipe the password the next dial needs.
        m_password = m_currentPassword;
    }

    for (const auto &[key, number] : store.GetAllSettings(SettingsLayout::ProviderPhoneNumbers(provider))) {
        if (!m_phoneNumbers.contains(number))
            m_phoneNumbers.append(number);
    }
    // The stored number may be one that is no longer listed (removed, or from a store that
    // kept only one): it stays selectable, so the number dialled is the one shown and OK
    // does not replace it behind the user's back.
    const QString stored = store.GetSetting(section, QLatin1String(Key::Phone));
    if (!stored.isEmpty()) {
        if (!m_phoneNumbers.contains(stored))
            m_phoneNumbers.append(stored);
        m_phone = stored;
    }
    m_currentPhone = m_phone;

    for (const auto &[name, value] : store.GetAllSettings(SettingsLayout::TariffNames()))
        m_tariffNames.append(name);
    if (!m_tariffNames.isEmpty()) {
        for (int day = 1; day <= kDays; ++day)
            m_tariffLabels[dayIndex(day)] =
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

ProviderProfile::SaveResult ProviderProfile::save(SettingsStore &store,
                                                  const std::function<bool(const ProviderProfile &)> &mailCheck)
{
    if (m_provider.isEmpty())
        return SaveResult::NoProvider;
    // The check may show a message box: it runs before the transaction opens, so the
    // store is never held locked while the user reads it. A refusal writes nothing, so
    // the dialog can stay open with everything the user typed.
    const bool writeMail = isChecked(Check::EMail);
    if (writeMail && mailCheck && !mailCheck(*this))
        return SaveResult::MailRefused;

    const QStringList paths = sections();
    auto writeCheck = [&](Check check) { m_values.saveCheck(store, paths, int(check)); };
    auto writeText = [&](Text t) { m_values.saveText(store, paths, int(t)); };

    SettingsStore::Batch batch(store);
    const QString section = SettingsLayout::Provider(m_provider);
    writeText(Text::LoginName);
    store.SaveSetting(section, QLatin1String(Key::Phone), m_phone);
    writeCheck(Check::Pass);
    // Cleared, the key is written empty rather than deleted.
    store.SaveSettingBytes(section, QLatin1String(Key::Password),
                           isChecked(Check::Pass) ? EncryptPassword(m_password, kPasswordKey) : QByteArray());
    for (Check check : {Check::Log, Check::Report, Check::Redial, Check::EMail})
        writeCheck(check);

    for (int day = 1; day <= kDays; ++day)
        store.SaveSetting(SettingsLayout::TariffAssignment(m_provider), QString::number(day),
                          m_tariffLabels[dayIndex(day)]);

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
        store.SaveSetting(mail, QStringLiteral("Program"), text(Text::LaunchEmail));
        writeText(Text::Sound);
        writeCheck(Check::Sound);
        writeText(Text::LaunchEmail);
        writeCheck(Check::LaunchEmail);
        writeText(Text::Timeout);
    }
    if (!batch.commit())
        return SaveResult::StoreFailed;

    m_currentPhone = m_phone;
    m_currentPassword = m_password;
    m_passwordOwner = m_provider;
    m_currentMail =
        MailAccount{text(Text::Pop3Host),    text(Text::Pop3User), text(Text::Pop3Passwd), text(Text::Interval),
                    text(Text::LaunchEmail), text(Text::Sound),    text(Text::Timeout)};
    emit changed();
    return SaveResult::Saved;
}

void ProviderProfile::copyFrom(const ProviderProfile &other)
{
    m_provider = other.m_provider;
    m_values = other.m_values;
    m_phoneNumbers = other.m_phoneNumbers;
    m_phone = other.m_phone;
    m_tariffNames = other.m_tariffNames;
    m_tariffLabels = other.m_tariffLabels;
    m_alertsOn = other.m_alertsOn;
    takeCurrentValues(other); // the password box and its owner with the current values
}

void ProviderProfile::takeCurrentValues(const ProviderProfile &other)
{
    // The box too: without "Save Password" it shows the current password, not the stored one.
    m_password = other.m_password;
    m_passwordOwner = other.m_passwordOwner;
    m_currentPassword = other.m_currentPassword;
    m_currentPhone = other.m_currentPhone;
    m_currentMail = other.m_currentMail;
    emit changed();
}

void ProviderProfile::takePhoneNumbers(const ProviderProfile &other)
{
    if (other.m_provider != m_provider)
        return;
    m_phoneNumbers = other.m_phoneNumbers;
    if (!m_phoneNumbers.contains(m_phone))
        m_phone = defaultPhoneNumber();
    emit changed();
}

void ProviderProfile::reloadTariffNames(const SettingsStore &store)
{
    if (m_provider.isEmpty())
        return;
    const bool hadNames = !m_tariffNames.isEmpty();
    m_tariffNames.clear();
    for (const auto &[name, value] : store.GetAllSettings(SettingsLayout::TariffNames()))
        m_tariffNames.append(name);
    if (!hadNames && !m_tariffNames.isEmpty()) {
        for (int day = 1; day <= kDays; ++day)
            m_tariffLabels[dayIndex(day)] =
                store.GetSetting(SettingsLayout::TariffAssignment(m_provider), QString::number(day));
    }
    emit changed();
}

ProviderProfile::PhoneAdded ProviderProfile::addPhoneNumber(SettingsStore &store, const QString &number)
{
    // An empty answer is what a cancelled input box gives: it must not replace the
    // stored number.
    if (m_provider.isEmpty() || number.trimmed().isEmpty())
        return PhoneAdded::Empty;
    if (m_phoneNumbers.contains(number))
        return PhoneAdded::Duplicate;
    const QString section = SettingsLayout::ProviderPhoneNumbers(m_provider);
    QStringList keys;
    for (const auto &[key, value] : store.GetAllSettings(section))
        keys.append(key);
    int n = 1;
    while (keys.contains(phoneKey(n), Qt::CaseInsensitive))
        ++n;
    m_phoneNumbers.append(number);
    store.SaveSetting(section, phoneKey(n), number);
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

    // Only the removed number's key goes; the other numbers stay stored.
    const QString section = SettingsLayout::ProviderPhoneNumbers(m_provider);
    for (const auto &[key, value] : store.GetAllSettings(section)) {
        if (value == removed)
            store.DeleteSetting(section, key);
    }
    emit changed();
    return true;
}

bool ProviderProfile::isChecked(Check check) const
{
    return m_values.isChecked(int(check));
}

void ProviderProfile::setChecked(Check check, bool on)
{
    if (m_values.setChecked(int(check), on))
        emit changed();
}

QString ProviderProfile::text(Text text) const
{
    return m_values.text(int(text));
}

void ProviderProfile::setText(Text text, const QString &value)
{
    if (m_values.setText(int(text), value))
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
    return day >= 1 && day <= kDays ? m_tariffLabels[dayIndex(day)] : QString();
}

bool ProviderProfile::setTariffLabel(int day, const QString &choice)
{
    if (day < 1 || day > kDays)
        return false;
    if (choice != emptyTariff() && !m_tariffNames.contains(choice))
        return false;
    const QString label = choice == emptyTariff() ? QStringLiteral(" ") : choice;
    if (m_tariffLabels[dayIndex(day)] != label) {
        m_tariffLabels[dayIndex(day)] = label;
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
