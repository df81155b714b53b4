#include "settings/ProviderProfile.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "settings/PasswordScrambler.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "support/StoreFixtures.h"
#include "support/TempHome.h"

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;

namespace {

const QString kProvider = QStringLiteral("ISP One");
const QString kDefault = ProviderProfile::defaultPhoneNumber();

QString providerSection()
{
    return SettingsLayout::Provider(kProvider);
}
QString mailSection()
{
    return SettingsLayout::ProviderMail(kProvider);
}
QString alertsSection()
{
    return SettingsLayout::ProviderAlerts(kProvider);
}
QString phoneSection()
{
    return SettingsLayout::ProviderPhoneNumbers(kProvider);
}
QString tariffSection()
{
    return SettingsLayout::TariffAssignment(kProvider);
}

// Every value of the given sections, in listing order, bytes shown in hex.
QStringList snapshot(const SettingsStore &store, const QStringList &sections)
{
    QStringList lines;
    for (const QString &section : sections) {
        for (const auto &[key, value] : store.GetAllSettings(section))
            lines << section + " | " + key + " = " + store.GetSettingBytes(section, key).toHex(' ');
    }
    return lines;
}

QStringList profileSections()
{
    return {providerSection(), phoneSection(),  mailSection(),
            alertsSection(),   tariffSection(), SettingsLayout::TariffNames()};
}

bool accept(const ProviderProfile &)
{
    return true;
}
bool refuse(const ProviderProfile &)
{
    return false;
}

} // namespace

class TestProviderProfile : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<SettingsStore> m_store;
    SettingsStore &store() { return *m_store; }

    // Mail settings a check would accept, so the e-mail section is written.
    static void makeMailValid(ProviderProfile &profile)
    {
        profile.setChecked(Check::EMail, true);
        profile.setText(Text::Pop3Host, "pop.example.net");
        profile.setText(Text::Pop3User, "me");
    }

private slots:
    void init()
    {
        m_home = std::make_unique<TempHome>();
        QVERIFY(m_home->isValid());
        m_store = std::make_unique<SettingsStore>(m_home->locations().settingsDatabase());
        QVERIFY(m_store->isOpen());
    }
    void cleanup()
    {
        m_store.reset();
        m_home.reset();
    }

    void defaultsOnEmptyStore()
    {
        ProviderProfile profile;
        profile.load(store(), kProvider);
        for (int i = 0; i < int(Check::Count_); ++i)
            QVERIFY2(!profile.isChecked(Check(i)), qPrintable(ProviderProfile::controlName(Check(i))));
        for (Text t : {Text::AlertH1, Text::AlertH4, Text::AlertM1, Text::AlertM4})
            QCOMPARE(profile.text(t), QString("00"));
        QCOMPARE(profile.text(Text::Interval), QString("15"));
        QCOMPARE(profile.text(Text::Timeout), QString("30"));
        QCOMPARE(profile.text(Text::LoginName), QString());
        QCOMPARE(profile.text(Text::Alert1), QString());
        QCOMPARE(profile.phoneNumbers(), QStringList{kDefault});
        QCOMPARE(profile.phone(), kDefault);
        QCOMPARE(profile.currentPhoneNumber(), kDefault);
        QCOMPARE(profile.currentMail().interval, QString("15"));
        QCOMPARE(profile.currentMail().timeout, QString("30"));
        QVERIFY(profile.tariffNames().isEmpty());
        QVERIFY(!profile.alertsOn());
        QCOMPARE(profile.mailInterval(), std::optional<int>(15));
        QCOMPARE(profile.mailTimeout(), std::optional<int>(30));
        QCOMPARE(profile.alertCallCount(), std::nullopt);
    }

    // Each check box comes from its own key in its own section, and from no other.
    void loadsEachCheckBoxFromItsKey_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Check>("check");
        QTest::newRow("KeepLog") << providerSection() << "KeepLog"
                                 << "1" << Check::Log;
        QTest::newRow("KeepReport") << providerSection() << "KeepReport"
                                    << "1" << Check::Report;
        QTest::newRow("Redial as True") << providerSection() << "Redial"
                                        << "True" << Check::Redial;
        QTest::newRow("Check E-mail") << mailSection() << "Check E-mail"
                                      << "1" << Check::EMail;
        QTest::newRow("alert 1") << alertsSection() << "1"
                                 << "1" << Check::Alert1;
        QTest::newRow("alert 4") << alertsSection() << "4"
                                 << "1" << Check::Alert4;
        QTest::newRow("alert 5") << alertsSection() << "5"
                                 << "1" << Check::Alert5;
        QTest::newRow("alert 6") << alertsSection() << "6"
                                 << "1" << Check::Alert6;
        QTest::newRow("Disconnect15") << alertsSection() << "Disconnect15"
                                      << "1" << Check::Disconnect15;
        QTest::newRow("alert ChkSound") << alertsSection() << "ChkSound"
                                        << "1" << Check::AlertSound;
        QTest::newRow("mail ChkSound") << mailSection() << "ChkSound"
                                       << "1" << Check::Sound;
        QTest::newRow("CheckInt") << mailSection() << "CheckInt"
                                  << "1" << Check::EmailInt;
        QTest::newRow("Chklaunch lower case") << mailSection() << "chklaunch"
                                              << "1" << Check::LaunchEmail;
    }
    void loadsEachCheckBoxFromItsKey()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(Check, check);
        store().SaveSetting(section, key, stored);
        ProviderProfile profile;
        profile.load(store(), kProvider);
        for (int i = 0; i < int(Check::Count_); ++i)
            QCOMPARE(profile.isChecked(Check(i)), Check(i) == check);
    }

    void loadsEachTextFromItsKey_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<Text>("text");
        QTest::newRow("login") << providerSection() << "login" << Text::LoginName;
        QTest::newRow("Alert H3") << alertsSection() << "Alert H3" << Text::AlertH3;
        QTest::newRow("Alert M2") << alertsSection() << "Alert M2" << Text::AlertM2;
        QTest::newRow("Alert Call") << alertsSection() << "Alert Call" << Text::Alert1;
        QTest::newRow("Alert Payment") << alertsSection() << "Alert Payment" << Text::Alert2;
        QTest::newRow("AlertSound") << alertsSection() << "AlertSound" << Text::AlertSound;
        QTest::newRow("Host") << mailSection() << "Host" << Text::Pop3Host;
        QTest::newRow("Passwd") << mailSection() << "Passwd" << Text::Pop3Passwd;
        QTest::newRow("mail Sound") << mailSection() << "Sound" << Text::Sound;
        QTest::newRow("launch") << mailSection() << "launch" << Text::LaunchEmail;
        QTest::newRow("Timeout") << mailSection() << "Timeout" << Text::Timeout;
    }
    void loadsEachTextFromItsKey()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(Text, text);
        ProviderProfile defaults;
        defaults.load(store(), kProvider);
        store().SaveSetting(section, key, "stored text");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        for (int i = 0; i < int(Text::Count_); ++i)
            QCOMPARE(profile.text(Text(i)), Text(i) == text ? QString("stored text") : defaults.text(Text(i)));
    }

    // What save writes, load reads back: no value is stored under a key it is not read from.
    void everyValueSurvivesSaveAndLoad_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(Check::Count_); ++i)
            QTest::newRow(qPrintable(ProviderProfile::controlName(Check(i)))) << i;
    }
    void everyValueSurvivesSaveAndLoad()
    {
        QFETCH(int, index);
        const Check check = Check(index);
        ProviderProfile profile;
        profile.load(store(), kProvider);
        makeMailValid(profile);
        profile.setChecked(check, true);
        for (int i = 0; i < int(Text::Count_); ++i)
            profile.setText(Text(i), QString::number(i + 1));
        QVERIFY(profile.save(store(), accept));

        ProviderProfile reloaded;
        reloaded.load(store(), kProvider);
        for (int i = 0; i < int(Check::Count_); ++i)
            QCOMPARE(reloaded.isChecked(Check(i)), profile.isChecked(Check(i)));
        for (int i = 0; i < int(Text::Count_); ++i)
            QCOMPARE(reloaded.text(Text(i)), profile.text(Text(i)));
    }

    void storesCheckBoxesAsZeroOne()
    {
        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setChecked(Check::Redial, true);
        profile.setChecked(Check::Alert6, true);
        QVERIFY(profile.save(store(), refuse));
        QCOMPARE(store().GetSetting(providerSection(), "Redial"), QString("1"));
        QCOMPARE(store().GetSetting(providerSection(), "KeepLog"), QString("0"));
        QCOMPARE(store().GetSetting(alertsSection(), "6"), QString("1"));
        QCOMPARE(store().GetSetting(mailSection(), "Check E-mail"), QString("0"));
    }

    void savesPassword_data()
    {
        QTest::addColumn<bool>("savePass");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("storedFlag");
        QTest::addColumn<QByteArray>("storedPassword");
        QTest::addColumn<QString>("shownAfterReload");
        QTest::newRow("ticked") << true << "s3cret"
                                << "1" << EncryptPassword("s3cret", kPasswordKey) << "s3cret";
        QTest::newRow("cleared") << false << "s3cret"
                                 << "0" << QByteArray() << "";
        QTest::newRow("ticked, empty") << true << ""
                                       << "1" << QByteArray() << "";
    }
    void savesPassword()
    {
        QFETCH(bool, savePass);
        QFETCH(QString, typed);
        QFETCH(QString, storedFlag);
        QFETCH(QByteArray, storedPassword);
        QFETCH(QString, shownAfterReload);
        store().SaveSettingBytes(providerSection(), "Password", EncryptPassword("old", kPasswordKey));
        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setChecked(Check::Pass, savePass);
        profile.setPassword(typed);
        QVERIFY(profile.save(store(), accept));

        QCOMPARE(store().GetSetting(providerSection(), "SavePass"), storedFlag);
        QCOMPARE(store().GetSettingBytes(providerSection(), "Password"), storedPassword);
        QCOMPARE(profile.currentPassword(), typed.toUtf8());

        // Reloading the same provider keeps the typed password for dialling.
        profile.load(store(), kProvider);
        QCOMPARE(profile.password(), shownAfterReload);
        QCOMPARE(profile.isChecked(Check::Pass), savePass);
        QCOMPARE(profile.currentPassword(), typed.toUtf8());
    }

    void clearedPasswordKeyIsWrittenNotDeleted()
    {
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QVERIFY(profile.save(store(), accept));
        bool found = false;
        for (const auto &[key, value] : store().GetAllSettings(providerSection()))
            found = found || (key == "Password" && value.isEmpty());
        QVERIFY(found);
    }

    void passwordIsNeverDialledToAnotherProvider()
    {
        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setPassword("typed for one");
        QVERIFY(profile.save(store(), accept));
        profile.load(store(), "Other ISP");
        QCOMPARE(profile.currentPassword(), QByteArray());
    }

    // A stored password that is no valid UTF-8 goes back byte for byte.
    void unreadablePasswordBytesRoundTrip()
    {
        const QByteArray plain("\xE9t\xE9\x01", 4);
        store().SaveSetting(providerSection(), "SavePass", "1");
        store().SaveSettingBytes(providerSection(), "Password", EncryptPassword(plain, kPasswordKey));
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QCOMPARE(profile.currentPassword(), plain);
        QVERIFY(profile.save(store(), accept));
        QCOMPARE(store().GetSettingBytes(providerSection(), "Password"), EncryptPassword(plain, kPasswordKey));
    }

    void tariffAssignment_data()
    {
        QTest::addColumn<bool>("tariffsDefined");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("loadedLabel");
        QTest::addColumn<QString>("storedSunday");
        QTest::newRow("tariff chosen") << true << "Night"
                                       << "Day"
                                       << "Night";
        QTest::newRow("[Empty] stores a blank") << true << "[Empty]"
                                                << "Day"
                                                << " ";
        QTest::newRow("not a tariff") << true << "Nope"
                                      << "Day"
                                      << "Day";
        QTest::newRow("no tariffs defined") << false << "Night"
                                            << ""
                                            << "";
    }
    void tariffAssignment()
    {
        QFETCH(bool, tariffsDefined);
        QFETCH(QString, choice);
        QFETCH(QString, loadedLabel);
        QFETCH(QString, storedSunday);
        if (tariffsDefined) {
            StoreFixtures::writeTariff(store(), "Day", {});
            StoreFixtures::writeTariff(store(), "Night", {});
        }
        StoreFixtures::assignTariff(store(), kProvider, "Day");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QCOMPARE(profile.tariffLabel(1), loadedLabel);
        QCOMPARE(profile.tariffLabel(8), loadedLabel);
        profile.setTariffLabel(1, choice);
        QVERIFY(profile.save(store(), accept));
        QCOMPARE(store().GetSetting(tariffSection(), "1"), storedSunday);
        QCOMPARE(store().GetSetting(tariffSection(), "8"), loadedLabel);
    }

    void shownPhoneNumber_data()
    {
        QTest::addColumn<QString>("storedNumber");
        QTest::addColumn<QString>("storedPhone");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("shown");
        QTest::newRow("nothing stored") << QString() << QString() << QStringList{kDefault} << kDefault;
        QTest::newRow("default") << "555" << kDefault << QStringList{kDefault, "555"} << kDefault;
        QTest::newRow("listed number") << "555"
                                       << "555" << QStringList{kDefault, "555"} << "555";
        QTest::newRow("number no longer listed") << "555"
                                                 << "777" << QStringList{kDefault, "555", "777"} << "777";
    }
    void shownPhoneNumber()
    {
        QFETCH(QString, storedNumber);
        QFETCH(QString, storedPhone);
        QFETCH(QStringList, entries);
        QFETCH(QString, shown);
        if (!storedNumber.isNull())
            store().SaveSetting(phoneSection(), "Number", storedNumber);
        if (!storedPhone.isNull())
            store().SaveSetting(providerSection(), "Phone", storedPhone);
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QCOMPARE(profile.phoneNumbers(), entries);
        QCOMPARE(profile.phone(), shown);
        QCOMPARE(profile.currentPhoneNumber(), shown);
        QVERIFY(profile.save(store(), accept));
        QCOMPARE(store().GetSetting(providerSection(), "Phone"), shown);
    }

    void twoNumbersAddedThenReload()
    {
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QCOMPARE(profile.addPhoneNumber(store(), "111"), ProviderProfile::PhoneAdded::Added);
        QCOMPARE(profile.addPhoneNumber(store(), "222"), ProviderProfile::PhoneAdded::Added);
        QCOMPARE(profile.phoneNumbers(), (QStringList{kDefault, "111", "222"}));
        QVERIFY(profile.setPhone("111"));
        QVERIFY(profile.save(store(), accept));

        ProviderProfile reloaded;
        reloaded.load(store(), kProvider);
        QCOMPARE(reloaded.phoneNumbers(), (QStringList{kDefault, "222", "111"}));
        QCOMPARE(reloaded.phone(), QString("111"));
    }

    void addPhoneNumber_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<ProviderProfile::PhoneAdded>("result");
        QTest::addColumn<QString>("storedNumber");
        QTest::newRow("new") << "333" << ProviderProfile::PhoneAdded::Added << "333";
        QTest::newRow("duplicate") << "111" << ProviderProfile::PhoneAdded::Duplicate << "111";
        QTest::newRow("the default entry") << kDefault << ProviderProfile::PhoneAdded::Duplicate << "111";
        QTest::newRow("differs in case only") << "1a" << ProviderProfile::PhoneAdded::Added << "1a";
        QTest::newRow("cancelled (empty)") << "" << ProviderProfile::PhoneAdded::Empty << "111";
        QTest::newRow("blanks") << "  " << ProviderProfile::PhoneAdded::Empty << "111";
    }
    void addPhoneNumber()
    {
        QFETCH(QString, number);
        QFETCH(ProviderProfile::PhoneAdded, result);
        QFETCH(QString, storedNumber);
        store().SaveSetting(phoneSection(), "Number", "111");
        store().SaveSetting(phoneSection(), "Old", "1A");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        const int before = int(profile.phoneNumbers().size());
        QCOMPARE(profile.addPhoneNumber(store(), number), result);
        QCOMPARE(profile.phoneNumbers().size(), before + (result == ProviderProfile::PhoneAdded::Added ? 1 : 0));
        QCOMPARE(store().GetSetting(phoneSection(), "Number"), storedNumber);
    }

    void removePhoneNumber_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("removed");
        QTest::addColumn<QStringList>("entriesAfter");
        QTest::addColumn<QString>("storedNumberAfter");
        QTest::newRow("default does nothing") << kDefault << false << QStringList{kDefault, "", "111", "222"} << "111";
        QTest::newRow("empty does nothing") << "" << false << QStringList{kDefault, "", "111", "222"} << "111";
        QTest::newRow("stored number") << "111" << true << QStringList{kDefault, "", "222"} << "";
        QTest::newRow("unstored number keeps stored") << "222" << true << QStringList{kDefault, "", "111"} << "111";
    }
    void removePhoneNumber()
    {
        QFETCH(QString, shown);
        QFETCH(bool, removed);
        QFETCH(QStringList, entriesAfter);
        QFETCH(QString, storedNumberAfter);
        store().SaveSetting(phoneSection(), "Blank", "");
        store().SaveSetting(phoneSection(), "Number", "111");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QVERIFY(profile.addPhoneNumber(store(), "222") == ProviderProfile::PhoneAdded::Added);
        store().SaveSetting(phoneSection(), "Number", "111"); // as if 222 was added in an earlier opening
        QVERIFY(profile.setPhone(shown));
        QCOMPARE(profile.canRemovePhoneNumber(), removed);
        QCOMPARE(profile.removePhoneNumber(store()), removed);
        QCOMPARE(profile.phoneNumbers(), entriesAfter);
        QCOMPARE(store().GetSetting(phoneSection(), "Number"), storedNumberAfter);
        if (removed)
            QCOMPARE(profile.phone(), kDefault);
    }

    void mailSettingsWrittenOnlyWhenChecked_data()
    {
        QTest::addColumn<bool>("checkMail");
        QTest::addColumn<bool>("checkPasses");
        QTest::addColumn<bool>("mailWritten");
        QTest::addColumn<int>("checksRun");
        QTest::newRow("accepted") << true << true << true << 1;
        QTest::newRow("refused") << true << false << false << 1;
        QTest::newRow("mail cleared") << false << true << false << 0;
    }
    void mailSettingsWrittenOnlyWhenChecked()
    {
        QFETCH(bool, checkMail);
        QFETCH(bool, checkPasses);
        QFETCH(bool, mailWritten);
        QFETCH(int, checksRun);
        const QStringList keys{"Host",  "User",     "Passwd", "Interval",  "CheckInt", "Program",
                               "Sound", "ChkSound", "launch", "Chklaunch", "Timeout"};
        const QString before("old");
        for (const QString &key : keys)
            store().SaveSetting(mailSection(), key, before);
        store().SaveSetting(mailSection(), "Check E-mail", "1");

        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setChecked(Check::EMail, checkMail);
        profile.setText(Text::LoginName, "new login");
        profile.setText(Text::Pop3Host, "new.host");
        profile.setText(Text::LaunchEmail, "mailer");
        profile.setText(Text::Timeout, "40");
        int runs = 0;
        QVERIFY(profile.save(store(), [&](const ProviderProfile &p) {
            ++runs;
            return checkPasses && p.text(Text::Pop3Host) == "new.host";
        }));

        QCOMPARE(runs, checksRun);
        QCOMPARE(store().GetSetting(providerSection(), "Login"), QString("new login"));
        QCOMPARE(store().GetSetting(mailSection(), "Check E-mail"), QString(checkMail ? "1" : "0"));
        QCOMPARE(store().GetSetting(mailSection(), "Host"), mailWritten ? QString("new.host") : before);
        QCOMPARE(store().GetSetting(mailSection(), "Program"), mailWritten ? QString("mailer") : before);
        QCOMPARE(store().GetSetting(mailSection(), "launch"), mailWritten ? QString("mailer") : before);
        QCOMPARE(store().GetSetting(mailSection(), "Timeout"), mailWritten ? QString("40") : before);
        QCOMPARE(profile.currentMail().host, QString("new.host"));
        QCOMPARE(profile.currentMail().program, QString("mailer"));
    }

    void currentMailProgramComesFromProgramKey()
    {
        store().SaveSetting(mailSection(), "Program", "from Program");
        store().SaveSetting(mailSection(), "launch", "from launch");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QCOMPARE(profile.currentMail().program, QString("from Program"));
        QCOMPARE(profile.text(Text::LaunchEmail), QString("from launch"));
    }

    void countAndPaymentAlarmsPersist()
    {
        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setAlarmOn(5, true);
        profile.setAlarmOn(6, true);
        profile.setText(Text::Alert1, "3");
        profile.setText(Text::Alert2, "12.50");
        QVERIFY(profile.save(store(), accept));
        QCOMPARE(store().GetSetting(alertsSection(), "Alert Call"), QString("3"));
        QCOMPARE(store().GetSetting(alertsSection(), "Alert Payment"), QString("12.50"));

        ProviderProfile reloaded;
        reloaded.load(store(), kProvider);
        QVERIFY(reloaded.alarmOn(5));
        QVERIFY(reloaded.alarmOn(6));
        QCOMPARE(reloaded.alertCallCount(), std::optional<int>(3));
        QCOMPARE(reloaded.alertPayment(), Money::parse(u"12.5"));
    }

    void firedAlarmIsDisarmedInModelOnly()
    {
        store().SaveSetting(alertsSection(), "2", "1");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setAlertsOn(true);
        QSignalSpy changed(&profile, &ProviderProfile::changed);
        profile.setAlarmOn(2, false);
        QCOMPARE(changed.size(), 1);
        QVERIFY(!profile.alarmOn(2));
        QCOMPARE(store().GetSetting(alertsSection(), "2"), QString("1"));
        profile.load(store(), kProvider);
        QVERIFY(profile.alarmOn(2));
        QVERIFY(profile.alertsOn()); // the master switch is not a stored value
    }

    void thresholds_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("expected"); // -1: no threshold, the alarm never fires
        QTest::newRow("hours 00") << "hours"
                                  << "00" << 0;
        QTest::newRow("hours 99") << "hours"
                                  << "99" << 99;
        QTest::newRow("hours 100") << "hours"
                                   << "100" << -1;
        QTest::newRow("hours negative") << "hours"
                                        << "-1" << -1;
        QTest::newRow("hours empty") << "hours"
                                     << "" << -1;
        QTest::newRow("hours letters") << "hours"
                                       << "ab" << -1;
        QTest::newRow("hours fraction") << "hours"
                                        << "1.5" << -1;
        QTest::newRow("hours blanks") << "hours"
                                      << " 7 " << 7;
        QTest::newRow("minutes 59") << "minutes"
                                    << "59" << 59;
        QTest::newRow("minutes 60") << "minutes"
                                    << "60" << -1;
        QTest::newRow("calls 0") << "calls"
                                 << "0" << 0;
        QTest::newRow("calls 32767") << "calls"
                                     << "32767" << 32767;
        QTest::newRow("calls 32768") << "calls"
                                     << "32768" << -1;
        QTest::newRow("calls negative") << "calls"
                                        << "-3" << -1;
        QTest::newRow("interval 0") << "interval"
                                    << "0" << -1;
        QTest::newRow("interval 1") << "interval"
                                    << "1" << 1;
        QTest::newRow("interval empty") << "interval"
                                        << "" << -1;
        QTest::newRow("timeout 32767") << "timeout"
                                       << "32767" << 32767;
        QTest::newRow("timeout 32768") << "timeout"
                                       << "32768" << -1;
    }
    void thresholds()
    {
        QFETCH(QString, which);
        QFETCH(QString, typed);
        QFETCH(int, expected);
        ProviderProfile profile;
        profile.load(store(), kProvider);
        std::optional<int> value;
        if (which == "hours") {
            profile.setText(Text::AlertH3, typed);
            value = profile.alertHours(3);
        } else if (which == "minutes") {
            profile.setText(Text::AlertM2, typed);
            value = profile.alertMinutes(2);
        } else if (which == "calls") {
            profile.setText(Text::Alert1, typed);
            value = profile.alertCallCount();
        } else if (which == "interval") {
            profile.setText(Text::Interval, typed);
            value = profile.mailInterval();
        } else {
            profile.setText(Text::Timeout, typed);
            value = profile.mailTimeout();
        }
        QCOMPARE(value, expected < 0 ? std::nullopt : std::optional<int>(expected));
    }

    void paymentThreshold_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("raw");
        QTest::newRow("decimal") << "12.5" << true << qint64(125000);
        QTest::newRow("comma") << "1,25" << true << qint64(12500);
        QTest::newRow("zero") << "0" << true << qint64(0);
        QTest::newRow("negative") << "-1" << false << qint64(0);
        QTest::newRow("empty") << "" << false << qint64(0);
        QTest::newRow("letters") << "ten" << false << qint64(0);
    }
    void paymentThreshold()
    {
        QFETCH(QString, typed);
        QFETCH(bool, valid);
        QFETCH(qint64, raw);
        ProviderProfile profile;
        profile.setText(Text::Alert2, typed);
        QCOMPARE(profile.alertPayment(), valid ? std::optional<Money>(Money::fromRaw(raw)) : std::nullopt);
    }

    void alarmNumbersOutOfRange_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("canBeOn");
        QTest::newRow("0") << 0 << false;
        QTest::newRow("5 has no hours") << 5 << true;
        QTest::newRow("7") << 7 << false;
    }
    void alarmNumbersOutOfRange()
    {
        QFETCH(int, n);
        QFETCH(bool, canBeOn);
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QCOMPARE(profile.alertHours(n), std::nullopt);
        QCOMPARE(profile.alertMinutes(n), std::nullopt);
        profile.setAlarmOn(n, true);
        QCOMPARE(profile.alarmOn(n), canBeOn);
    }

    void loadSaveLoadLeavesStoreUnchanged()
    {
        SettingsStore &s = store();
        StoreFixtures::writeTariff(s, "Day", {});
        StoreFixtures::writeTariff(s, "Night", {});
        s.SaveSetting(providerSection(), "Login", "user1");
        s.SaveSetting(providerSection(), "Phone", "777");
        s.SaveSetting(providerSection(), "SavePass", "1");
        s.SaveSettingBytes(providerSection(), "Password", EncryptPassword(QByteArray("p\xFFw\0x", 5), kPasswordKey));
        s.SaveSetting(providerSection(), "KeepLog", "1");
        s.SaveSetting(providerSection(), "KeepReport", "0");
        s.SaveSetting(providerSection(), "Redial", "1");
        s.SaveSetting(providerSection(), "Calls", "12");
        s.SaveSetting(phoneSection(), "Number", "555");
        s.SaveSetting(mailSection(), "Check E-mail", "1");
        for (int day = 1; day <= 8; ++day)
            s.SaveSetting(tariffSection(), QString::number(day), day == 8 ? " " : day % 2 ? "Day" : "Night");
        for (int n = 1; n <= 4; ++n) {
            s.SaveSetting(alertsSection(), QString::number(n), n % 2 ? "1" : "0");
            s.SaveSetting(alertsSection(), "Alert H" + QString::number(n), "0" + QString::number(n));
            s.SaveSetting(alertsSection(), "Alert M" + QString::number(n), QString::number(10 * n));
        }
        s.SaveSetting(alertsSection(), "5", "1");
        s.SaveSetting(alertsSection(), "Alert Call", "4");
        s.SaveSetting(alertsSection(), "6", "0");
        s.SaveSetting(alertsSection(), "Alert Payment", "2.5");
        s.SaveSetting(alertsSection(), "Disconnect15", "1");
        s.SaveSetting(alertsSection(), "ChkSound", "1");
        s.SaveSetting(alertsSection(), "AlertSound", "/snd/alarm.wav");
        const QStringList mail{"Host",     "h",    "User",      "u",    "Passwd",  "p w",   "Interval", "20",
                               "CheckInt", "1",    "Program",   "mutt", "Sound",   "s.wav", "ChkSound", "0",
                               "launch",   "mutt", "Chklaunch", "1",    "Timeout", "45"};
        for (int i = 0; i < mail.size(); i += 2)
            s.SaveSetting(mailSection(), mail[i], mail[i + 1]);

        const QStringList before = snapshot(s, profileSections());
        ProviderProfile profile;
        profile.load(s, kProvider);
        QVERIFY(profile.save(s, accept));
        QCOMPARE(snapshot(s, profileSections()), before);
    }

    void emptyProviderLoadsAndStoresNothing()
    {
        store().SaveSetting(providerSection(), "Login", "user1");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QCOMPARE(profile.text(Text::LoginName), QString("user1"));
        profile.setAlertsOn(true);
        profile.load(store(), QString());
        QCOMPARE(profile.provider(), QString());
        QCOMPARE(profile.text(Text::LoginName), QString());
        QVERIFY(profile.alertsOn());
        QVERIFY(!profile.save(store(), accept));
        QCOMPARE(profile.addPhoneNumber(store(), "123"), ProviderProfile::PhoneAdded::Empty);
        QCOMPARE(
            snapshot(store(), {SettingsLayout::Provider(QString()), SettingsLayout::ProviderPhoneNumbers(QString())}),
            QStringList());
    }

    // Values of a provider loaded before never end up stored under the next one.
    void nothingCarriesOverToAnotherProvider()
    {
        StoreFixtures::writeTariff(store(), "Day", {});
        StoreFixtures::assignTariff(store(), kProvider, "Day");
        store().SaveSetting(alertsSection(), "1", "1");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QVERIFY(profile.addPhoneNumber(store(), "999") == ProviderProfile::PhoneAdded::Added);
        profile.load(store(), "Other ISP");
        QCOMPARE(profile.tariffLabel(1), QString());
        QVERIFY(!profile.alarmOn(1));
        QCOMPARE(profile.phoneNumbers(), QStringList{kDefault});
    }
};

QTEST_GUILESS_MAIN(TestProviderProfile)
#include "tst_ProviderProfile.moc"
