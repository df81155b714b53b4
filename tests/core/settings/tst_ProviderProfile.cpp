#include "settings/ProviderProfile.h"

#include <QTest>

#include <optional>

#include "settings/PasswordScrambler.h"
#include "support/StoreFixtures.h"
#include "support/TempHome.h"

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;
using PhoneAdded = ProviderProfile::PhoneAdded;

namespace {

const QString kProvider = QStringLiteral("ISP One");
const QString kDefault = ProviderProfile::defaultPhoneNumber();

// The sections as the stores name them: the blanks after "Providers" and "Tariff Profile" belong to the names.
const QString kProviderSection = QStringLiteral("Providers \\ISP One");
const QString kMailSection = kProviderSection + "\\E-Mail";
const QString kAlertsSection = kProviderSection + "\\Alerts";
const QString kPhoneSection = kProviderSection + "\\Phone Numbers";
const QString kTariffSection = QStringLiteral("Tariff Profile \\Providers\\ISP One");

const auto accept = [](const ProviderProfile &) { return true; };

} // namespace

class TestProviderProfile : public QObject
{
    Q_OBJECT

private:
    std::optional<TempStore> m_temp;
    SettingsStore &store() { return m_temp->store; }

private slots:
    void init() { m_temp.emplace(); }

    void defaultsOnEmptyStore()
    {
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QString values;
        for (int i = 0; i < int(Check::Count_); ++i)
            values += QString::number(profile.isChecked(Check(i)));
        for (int i = 0; i < int(Text::Count_); ++i)
            values += "|" + profile.text(Text(i));
        // The texts in the order of Text: login, hours 1-4, minutes 1-4, ..., interval, timeout, ...
        QCOMPARE(values, QString(16, '0') + "||00|00|00|00|00|00|00|00|||||||15|30||");
        QCOMPARE(profile.phoneNumbers() << profile.currentPhoneNumber(), QStringList({kDefault, kDefault}));
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
        StoreFixtures::writeValues(s, kAlertsSection,
                                   {"1=1", "Alert H1=01", "Alert M1=10", "2=0", "Alert H2=02", "Alert M2=20", "3=1",
                                    "Alert H3=03", "Alert M3=30", "4=0", "Alert H4=04", "Alert M4=40", "5=1",
                                    "Alert Call=4", "6=0", "Alert Payment=2.5", "Disconnect15=1", "ChkSound=1",
                                    "AlertSound=/snd/alarm.wav"});
        StoreFixtures::writeValues(s, kMailSection,
                                   {"Check E-mail=1", "Host=h", "User=u", "Passwd=p w", "Interval=20", "CheckInt=1",
                                    "Program=mutt", "Sound=s.wav", "ChkSound=0", "launch=mutt", "Chklaunch=1",
                                    "Timeout=45"});

        const QStringList sections{kProviderSection, kPhoneSection, kMailSection, kAlertsSection, kTariffSection};
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
        QTest::addColumn<QByteArray>("storedPassword"); // cleared, it is written empty rather than deleted
        QTest::newRow("ticked") << true << EncryptPassword("s3cret", kPasswordKey);
        QTest::newRow("cleared") << false << QByteArray();
    }
    // clang-format on
    void savesPassword()
    {
        QFETCH(bool, savePass);
        QFETCH(QByteArray, storedPassword);
        store().SaveSetting(kProviderSection, "SavePass", "1");
        store().SaveSettingBytes(kProviderSection, "Password", EncryptPassword("old", kPasswordKey));
        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setChecked(Check::Pass, savePass);
        profile.setPassword("s3cret");
        QVERIFY(profile.save(store(), accept));

        QCOMPARE(store().GetSetting(kProviderSection, "SavePass"), QString::number(savePass));
        QVERIFY(StoreFixtures::snapshot(store(), {kProviderSection}, StoreFixtures::ValueForm::AsBytes)
                    .contains(kProviderSection + " | Password = " + storedPassword.toHex(' ')));
        profile.load(store(), kProvider);
        QCOMPARE(profile.password(), savePass ? QString("s3cret") : QString());
        QCOMPARE(profile.currentPassword(), QByteArray("s3cret"));
        // Nothing carries over to another provider.
        QCOMPARE(profile.addPhoneNumber(store(), "999"), PhoneAdded::Added);
        profile.load(store(), "Other ISP");
        QCOMPARE(profile.currentPassword(), QByteArray());
        QCOMPARE(profile.phoneNumbers(), QStringList{kDefault});
    }

    // Sunday's label is "Day" as loaded; then the choice is made and stored.
    // clang-format off
    void tariffChoice_data()
    {
        QTest::addColumn<bool>("tariffsDefined");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("label");
        QTest::newRow("tariff chosen") << true << "Night" << "Night";
        QTest::newRow("[Empty] is a blank") << true << "[Empty]" << " ";
        QTest::newRow("not a tariff") << true << "Nope" << "Day";
        QTest::newRow("no tariffs defined") << false << "Night" << "";
    }
    // clang-format on
    void tariffChoice()
    {
        QFETCH(bool, tariffsDefined);
        QFETCH(QString, choice);
        QFETCH(QString, label);
        for (const QString &name : tariffsDefined ? QStringList{"Day", "Night"} : QStringList())
            StoreFixtures::writeTariff(store(), name, {});
        StoreFixtures::assignTariff(store(), kProvider, "Day");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setTariffLabel(1, choice);
        QCOMPARE(profile.tariffLabel(1), label);
        QVERIFY(profile.save(store(), accept));
        QCOMPARE(store().GetSetting(kTariffSection, "1"), label);
    }

    // The list holds the default entry, a stored blank, the stored "Number" 111, the stored "Phone" 777 (it
    // stays listed though it is no stored number) and 222, added since (only the last added number is stored).
    // Columns: "+n" adds n, "-n" shows n and removes it; the result; the list and the stored "Number" after.
    // clang-format off
    void editPhoneNumbers_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("stored");
        const QStringList all{kDefault, "", "111", "777", "222"};
        QTest::newRow("add new") << "+333" << "Added" << all + QStringList{"333"} << "333";
        QTest::newRow("add duplicate") << "+111" << "Duplicate" << all << "111";
        QTest::newRow("add blanks (cancelled)") << "+  " << "Empty" << all << "111";
        QTest::newRow("remove default does nothing") << "-" + kDefault << "false" << all << "111";
        QTest::newRow("remove empty does nothing") << "-" << "false" << all << "111";
        QTest::newRow("remove stored number") << "-111" << "true" << QStringList{kDefault, "", "777", "222"} << "";
        QTest::newRow("remove unstored keeps stored") << "-222" << "true" << QStringList{kDefault, "", "111", "777"} << "111";
    }
    // clang-format on
    void editPhoneNumbers()
    {
        QFETCH(QString, edit);
        StoreFixtures::writeValues(store(), kPhoneSection, {"Blank=", "Number=111"});
        store().SaveSetting(kProviderSection, "Phone", "777");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        QCOMPARE(profile.currentPhoneNumber(), QString("777"));
        QCOMPARE(profile.addPhoneNumber(store(), "222"), PhoneAdded::Added);
        store().SaveSetting(kPhoneSection, "Number", "111");
        const QString number = edit.mid(1);
        const QVariant outcome = edit.startsWith('+')
                                     ? QVariant::fromValue(profile.addPhoneNumber(store(), number))
                                     : QVariant(profile.setPhone(number) && profile.removePhoneNumber(store()));
        QTEST(outcome.toString(), "result");
        QTEST(profile.phoneNumbers(), "listed");
        QTEST(store().GetSetting(kPhoneSection, "Number"), "stored");
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
        StoreFixtures::writeValues(store(), kMailSection,
                                   {"Check E-mail=1", "Host=old", "Program=old", "launch=old", "Timeout=old"});
        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setChecked(Check::EMail, checkMail);
        profile.setText(Text::LoginName, "new login");
        profile.setText(Text::Pop3Host, "new.host");
        profile.setText(Text::LaunchEmail, "mailer");
        profile.setText(Text::Timeout, "40");
        QVERIFY(profile.save(store(), [&](const ProviderProfile &) { return checkPasses; }));

        QCOMPARE(store().GetSetting(kProviderSection, "Login"), QString("new login"));
        QStringList mail;
        for (const char *key : {"Check E-mail", "Host", "Program", "launch", "Timeout"})
            mail << store().GetSetting(kMailSection, key);
        QCOMPARE(mail, (mailWritten ? QStringList{"1", "new.host", "mailer", "mailer", "40"}
                                    : QStringList{QString::number(checkMail), "old", "old", "old", "old"}));
        QCOMPARE(profile.currentMail().program, QString("mailer"));
    }

    // The thresholds typed into: the hours and minutes of alarm 3, the call count, the payment (alarms 5 and
    // 6), the mail interval and timeout; read back, "-" is none (the alarm never fires, the mail check refuses).
    // clang-format off
    void thresholds_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<QString>("read");
        QTest::newRow("lowest") << QStringList{"0", "0", "0", "0", "1", "1"} << "0 0 0 0.0000 1 1";
        QTest::newRow("highest") << QStringList{"99", "59", "32767", "12.5", "32767", "32767"} << "99 59 32767 12.5000 32767 32767";
        QTest::newRow("one past") << QStringList{"100", "60", "32768", "-0.01", "32768", "32768"} << "- - - - - -";
        QTest::newRow("one below") << QStringList{"-1", "-1", "-1", "-1", "0", "0"} << "- - - - - -";
        QTest::newRow("no numbers") << QStringList{"", "ab", "1.5", "ten", "", "x"} << "- - - - - -";
    }
    // clang-format on
    void thresholds()
    {
        QFETCH(QStringList, typed);
        ProviderProfile profile;
        const Text fields[] = {Text::AlertH3, Text::AlertM2, Text::Alert1, Text::Alert2, Text::Interval, Text::Timeout};
        for (int i = 0; i < 6; ++i)
            profile.setText(fields[i], typed[i]);
        const auto shown = [](std::optional<int> value) { return value ? QString::number(*value) : QString("-"); };
        const std::optional<Money> payment = profile.alertPayment();
        const QStringList values{shown(profile.alertHours(3)),    shown(profile.alertMinutes(2)),
                                 shown(profile.alertCallCount()), payment ? payment->toFixed() : "-",
                                 shown(profile.mailInterval()),   shown(profile.mailTimeout())};
        QTEST(values.join(' '), "read");
    }
};

QTEST_GUILESS_MAIN(TestProviderProfile)
#include "tst_ProviderProfile.moc"