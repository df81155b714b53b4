#include "settings/ProviderProfile.h"

#include <QTest>

#include <map>
#include <memory>

#include "settings/PasswordScrambler.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "support/StoreFixtures.h"
#include "support/TempHome.h"

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;
using PhoneAdded = ProviderProfile::PhoneAdded;

namespace {

const QString kProvider = QStringLiteral("ISP One");
const QString kDefault = ProviderProfile::defaultPhoneNumber();

const QString kProviderSection = SettingsLayout::Provider(kProvider);
const QString kMailSection = SettingsLayout::ProviderMail(kProvider);
const QString kAlertsSection = SettingsLayout::ProviderAlerts(kProvider);
const QString kPhoneSection = SettingsLayout::ProviderPhoneNumbers(kProvider);
const QString kTariffSection = SettingsLayout::TariffAssignment(kProvider);

const auto accept = [](const ProviderProfile &) { return true; };

} // namespace

class TestProviderProfile : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempStore> m_temp;
    SettingsStore &store() { return m_temp->store; }

private slots:
    void init()
    {
        m_temp = std::make_unique<TempStore>();
        QVERIFY(m_temp->home.isValid() && m_temp->store.isOpen());
    }
    void cleanup() { m_temp.reset(); }

    void defaultsOnEmptyStore()
    {
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QStringList values;
        for (int i = 0; i < int(Check::Count_); ++i)
            values << QString::number(profile.isChecked(Check(i)));
        QCOMPARE(values.join(""), QString(int(Check::Count_), '0'));
        values.clear();
        for (int i = 0; i < int(Text::Count_); ++i)
            values << ProviderProfile::controlName(Text(i)) + "=" + profile.text(Text(i));
        QCOMPARE(values,
                 (QStringList{"txtLoginName=", "txtAlertH1=00", "txtAlertH2=00", "txtAlertH3=00", "txtAlertH4=00",
                              "txtAlertM1=00", "txtAlertM2=00", "txtAlertM3=00", "txtAlertM4=00",
                              "txtAlert1=", "txtAlert2=", "txtAlertSound=", "txtPop3Host=", "txtPop3User=",
                              "txtpop3Passwd=", "txtInterval=15", "txtTimeout=30", "txtSound=", "txtLaunchEmail="}));
        QCOMPARE(profile.phoneNumbers(), QStringList{kDefault});
        QCOMPARE(profile.currentPhoneNumber(), kDefault);
        QCOMPARE(profile.currentMail().interval, QString("15"));
        QVERIFY(!profile.alertsOn());
    }

    void loadSaveLoadLeavesStoreUnchanged()
    {
        SettingsStore &s = store();
        StoreFixtures::writeTariff(s, "Day", {});
        StoreFixtures::writeTariff(s, "Night", {});
        s.SaveSettingBytes(kProviderSection, "Password", EncryptPassword(QByteArray("p\xFFw\0x", 5), kPasswordKey));
        StoreFixtures::writeValues(
            s, kProviderSection,
            {"Login=user1", "Phone=777", "SavePass=1", "KeepLog=1", "KeepReport=0", "Redial=1", "Calls=12"});
        StoreFixtures::writeValues(s, kPhoneSection, {"Number=555"});
        for (int day = 1; day <= 8; ++day)
            s.SaveSetting(kTariffSection, QString::number(day), day == 8 ? " " : day % 2 ? "Day" : "Night");
        for (int n = 1; n <= 4; ++n) {
            const QString i = QString::number(n);
            StoreFixtures::writeValues(s, kAlertsSection,
                                       {i + "=" + QString::number(n % 2), "Alert H" + i + "=0" + i,
                                        "Alert M" + i + "=" + QString::number(10 * n)});
        }
        StoreFixtures::writeValues(s, kAlertsSection,
                                   {"5=1", "Alert Call=4", "6=0", "Alert Payment=2.5", "Disconnect15=1", "ChkSound=1",
                                    "AlertSound=/snd/alarm.wav"});
        StoreFixtures::writeValues(s, kMailSection,
                                   {"Check E-mail=1", "Host=h", "User=u", "Passwd=p w", "Interval=20", "CheckInt=1",
                                    "Program=mutt", "Sound=s.wav", "ChkSound=0", "launch=mutt", "Chklaunch=1",
                                    "Timeout=45"});

        const QStringList sections{kProviderSection, kPhoneSection,  kMailSection,
                                   kAlertsSection,   kTariffSection, SettingsLayout::TariffNames()};
        const QStringList before = StoreFixtures::snapshot(s, sections, StoreFixtures::ValueForm::AsBytes);
        ProviderProfile profile;
        profile.load(s, kProvider);
        QCOMPARE(profile.currentPassword(), QByteArray("p\xFFw\0x", 5));
        QVERIFY(profile.save(s, accept));
        QCOMPARE(StoreFixtures::snapshot(s, sections, StoreFixtures::ValueForm::AsBytes), before);
    }

    // clang-format off
    void savesPassword_data()
    {
        QTest::addColumn<bool>("savePass");
        QTest::addColumn<QString>("storedFlag");
        QTest::addColumn<QByteArray>("storedPassword");
        QTest::newRow("ticked") << true << "1" << EncryptPassword("s3cret", kPasswordKey);
        QTest::newRow("cleared") << false << "0" << QByteArray();
    }
    // clang-format on
    void savesPassword()
    {
        QFETCH(bool, savePass);
        QFETCH(QString, storedFlag);
        QFETCH(QByteArray, storedPassword);
        store().SaveSetting(kProviderSection, "SavePass", "1");
        store().SaveSettingBytes(kProviderSection, "Password", EncryptPassword("old", kPasswordKey));
        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setChecked(Check::Pass, savePass);
        profile.setPassword("s3cret");
        QVERIFY(profile.save(store(), accept));

        QCOMPARE(store().GetSetting(kProviderSection, "SavePass"), storedFlag);
        QVERIFY(StoreFixtures::snapshot(store(), {kProviderSection}, StoreFixtures::ValueForm::AsBytes)
                    .contains(kProviderSection + " | Password = " + storedPassword.toHex(' ')));
        QCOMPARE(profile.currentPassword(), QByteArray("s3cret"));
        profile.load(store(), kProvider);
        QCOMPARE(profile.password(), savePass ? QString("s3cret") : QString());
        QCOMPARE(profile.currentPassword(), QByteArray("s3cret"));
    }

    void nothingCarriesOverToAnotherProvider()
    {
        StoreFixtures::writeTariff(store(), "Day", {});
        StoreFixtures::assignTariff(store(), kProvider, "Day");
        store().SaveSetting(kAlertsSection, "1", "1");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setPassword("typed for one");
        QVERIFY(profile.save(store(), accept));
        QCOMPARE(profile.addPhoneNumber(store(), "999"), PhoneAdded::Added);
        profile.load(store(), "Other ISP");
        QCOMPARE(profile.currentPassword(), QByteArray());
        QCOMPARE(profile.tariffLabel(1), QString());
        QVERIFY(!profile.alarmOn(1));
        QCOMPARE(profile.phoneNumbers(), QStringList{kDefault});
    }

    // clang-format off
    void tariffAssignment_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("tariffsDefined");
        QTest::addColumn<QString>("storedSunday");
        QTest::newRow("tariff chosen") << "Night" << true << "Night";
        QTest::newRow("[Empty] stores a blank") << "[Empty]" << true << " ";
        QTest::newRow("not a tariff") << "Nope" << true << "Day";
        QTest::newRow("no tariffs defined") << "Night" << false << "";
    }
    // clang-format on
    void tariffAssignment()
    {
        QFETCH(QString, choice);
        QFETCH(bool, tariffsDefined);
        QFETCH(QString, storedSunday);
        if (tariffsDefined) {
            StoreFixtures::writeTariff(store(), "Day", {});
            StoreFixtures::writeTariff(store(), "Night", {});
        }
        StoreFixtures::assignTariff(store(), kProvider, "Day");
        const QString loaded = tariffsDefined ? "Day" : "";
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QCOMPARE(profile.tariffLabel(1), loaded);
        QCOMPARE(profile.tariffLabel(8), loaded);
        profile.setTariffLabel(1, choice);
        QVERIFY(profile.save(store(), accept));
        QCOMPARE(store().GetSetting(kTariffSection, "1"), storedSunday);
        QCOMPARE(store().GetSetting(kTariffSection, "8"), loaded);
    }

    // Only the last added number is stored; the stored "Phone" stays listed even when it is not.
    void storedPhoneStaysListed()
    {
        store().SaveSetting(kPhoneSection, "Number", "555");
        store().SaveSetting(kProviderSection, "Phone", "777");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QCOMPARE(profile.currentPhoneNumber(), QString("777"));
        QCOMPARE(profile.addPhoneNumber(store(), "111"), PhoneAdded::Added);
        QCOMPARE(profile.addPhoneNumber(store(), "222"), PhoneAdded::Added);
        QCOMPARE(profile.phoneNumbers(), (QStringList{kDefault, "555", "777", "111", "222"}));
        QVERIFY(profile.save(store(), accept));
        profile.load(store(), kProvider);
        QCOMPARE(profile.phoneNumbers(), (QStringList{kDefault, "222", "777"}));
    }

    // clang-format off
    void addPhoneNumber_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<PhoneAdded>("result");
        QTest::addColumn<QString>("storedNumber");
        QTest::newRow("new") << "333" << PhoneAdded::Added << "333";
        QTest::newRow("duplicate") << "111" << PhoneAdded::Duplicate << "111";
        QTest::newRow("the default entry") << kDefault << PhoneAdded::Duplicate << "111";
        QTest::newRow("cancelled (empty)") << "" << PhoneAdded::Empty << "111";
        QTest::newRow("blanks") << "  " << PhoneAdded::Empty << "111";
    }
    // clang-format on
    void addPhoneNumber()
    {
        QFETCH(QString, number);
        QFETCH(PhoneAdded, result);
        QFETCH(QString, storedNumber);
        store().SaveSetting(kPhoneSection, "Number", "111");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        const auto before = profile.phoneNumbers().size();
        QCOMPARE(profile.addPhoneNumber(store(), number), result);
        QCOMPARE(profile.phoneNumbers().size(), before + (result == PhoneAdded::Added ? 1 : 0));
        QCOMPARE(store().GetSetting(kPhoneSection, "Number"), storedNumber);
    }

    // clang-format off
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
    // clang-format on
    void removePhoneNumber()
    {
        QFETCH(QString, shown);
        QFETCH(bool, removed);
        QFETCH(QStringList, entriesAfter);
        QFETCH(QString, storedNumberAfter);
        store().SaveSetting(kPhoneSection, "Blank", "");
        store().SaveSetting(kPhoneSection, "Number", "111");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QCOMPARE(profile.addPhoneNumber(store(), "222"), PhoneAdded::Added);
        store().SaveSetting(kPhoneSection, "Number", "111");
        QVERIFY(profile.setPhone(shown));
        QCOMPARE(profile.removePhoneNumber(store()), removed);
        QCOMPARE(profile.phoneNumbers(), entriesAfter);
        QCOMPARE(store().GetSetting(kPhoneSection, "Number"), storedNumberAfter);
    }

    // clang-format off
    void mailSettingsWrittenOnlyWhenChecked_data()
    {
        QTest::addColumn<bool>("checkMail");
        QTest::addColumn<bool>("checkPasses");
        QTest::addColumn<bool>("mailWritten");
        QTest::newRow("accepted") << true << true << true;
        QTest::newRow("refused") << true << false << false;
        QTest::newRow("mail cleared") << false << true << false;
    }
    // clang-format on
    void mailSettingsWrittenOnlyWhenChecked()
    {
        QFETCH(bool, checkMail);
        QFETCH(bool, checkPasses);
        QFETCH(bool, mailWritten);
        for (const char *key : {"Host", "User", "Passwd", "Interval", "CheckInt", "Program", "Sound", "ChkSound",
                                "launch", "Chklaunch", "Timeout"})
            store().SaveSetting(kMailSection, key, "old");
        store().SaveSetting(kMailSection, "Check E-mail", "1");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setChecked(Check::EMail, checkMail);
        profile.setText(Text::LoginName, "new login");
        profile.setText(Text::Pop3Host, "new.host");
        profile.setText(Text::LaunchEmail, "mailer");
        profile.setText(Text::Timeout, "40");
        QVERIFY(profile.save(store(), [&](const ProviderProfile &) { return checkPasses; }));

        QCOMPARE(store().GetSetting(kProviderSection, "Login"), QString("new login"));
        QCOMPARE(store().GetSetting(kMailSection, "Check E-mail"), QString(checkMail ? "1" : "0"));
        const QString old("old");
        QCOMPARE(store().GetSetting(kMailSection, "Host"), mailWritten ? QString("new.host") : old);
        QCOMPARE(store().GetSetting(kMailSection, "Program"), mailWritten ? QString("mailer") : old);
        QCOMPARE(store().GetSetting(kMailSection, "launch"), mailWritten ? QString("mailer") : old);
        QCOMPARE(store().GetSetting(kMailSection, "Timeout"), mailWritten ? QString("40") : old);
        QCOMPARE(profile.currentMail().program, QString("mailer"));
    }

    // clang-format off
    void thresholds_data()
    {
        QTest::addColumn<Text>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("expected"); // -1: none; a payment in ten-thousandths
        QTest::newRow("hours 99") << Text::AlertH3 << "99" << 99;
        QTest::newRow("hours 100") << Text::AlertH3 << "100" << -1;
        QTest::newRow("hours empty") << Text::AlertH3 << "" << -1;
        QTest::newRow("minutes 59") << Text::AlertM2 << "59" << 59;
        QTest::newRow("minutes 60") << Text::AlertM2 << "60" << -1;
        QTest::newRow("minutes letters") << Text::AlertM2 << "ab" << -1;
        QTest::newRow("calls 32767") << Text::Alert1 << "32767" << 32767;
        QTest::newRow("calls 32768") << Text::Alert1 << "32768" << -1;
        QTest::newRow("calls negative") << Text::Alert1 << "-3" << -1;
        QTest::newRow("payment decimal") << Text::Alert2 << "12.5" << 125000;
        QTest::newRow("payment negative") << Text::Alert2 << "-1" << -1;
        QTest::newRow("payment letters") << Text::Alert2 << "ten" << -1;
        QTest::newRow("payment empty") << Text::Alert2 << "" << -1;
        QTest::newRow("interval 0") << Text::Interval << "0" << -1;
        QTest::newRow("timeout 32768") << Text::Timeout << "32768" << -1;
    }
    // clang-format on
    void thresholds()
    {
        QFETCH(Text, field);
        QFETCH(QString, typed);
        QFETCH(int, expected);
        ProviderProfile profile;
        profile.setText(field, typed);
        const std::optional<Money> payment = profile.alertPayment();
        const std::map<Text, std::optional<int>> values{
            {Text::AlertH3, profile.alertHours(3)},
            {Text::AlertM2, profile.alertMinutes(2)},
            {Text::Alert1, profile.alertCallCount()},
            {Text::Interval, profile.mailInterval()},
            {Text::Timeout, profile.mailTimeout()},
            {Text::Alert2, payment ? std::optional(int(payment->raw())) : std::nullopt}};
        QCOMPARE(values.at(field), expected < 0 ? std::nullopt : std::optional<int>(expected));
    }
};

QTEST_GUILESS_MAIN(TestProviderProfile)
#include "tst_ProviderProfile.moc"