#include "settings/ProviderProfile.h"

#include <QTest>

#include <optional>

#include "settings/PasswordScrambler.h"
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"
#include "support/TempHome.h"

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;
using PhoneAdded = ProviderProfile::PhoneAdded;
using SaveResult = ProviderProfile::SaveResult;

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
const QString kDemo = QStringLiteral("Demo ISP (simulated)");

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
        QCOMPARE(profile.save(s, accept), SaveResult::Saved);
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
        QCOMPARE(profile.save(store(), accept), SaveResult::Saved);

        QCOMPARE(store().GetSetting(kProviderSection, "SavePass"), QString::number(savePass));
        QVERIFY(StoreFixtures::snapshot(store(), {kProviderSection}, StoreFixtures::ValueForm::AsBytes)
                    .contains(kProviderSection + " | Password = " + storedPassword.toHex(' ')));
        // Nothing carries over to another provider (the password neither, as the window's copy test shows).
        QCOMPARE(profile.addPhoneNumber(store(), "999"), PhoneAdded::Added);
        profile.load(store(), "Other ISP");
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
        for (const QString &name : tariffsDefined ? QStringList{"Day", "Night"} : QStringList())
            StoreFixtures::writeTariff(store(), name, {});
        StoreFixtures::assignTariff(store(), kProvider, "Day");
        ProviderProfile profile;
        profile.load(store(), kProvider);
        profile.setTariffLabel(1, choice);
        QTEST(profile.tariffLabel(1), "label");
        QCOMPARE(profile.save(store(), accept), SaveResult::Saved);
        QCOMPARE(store().GetSetting(kTariffSection, "1"), profile.tariffLabel(1));
    }

    // The list holds the default entry, a stored blank, the stored "Number" 111 (a store of one number), the
    // stored "Phone" 777 (it stays listed though it is no stored number) and 222, added since under "Number2".
    // Columns: "+n" adds n, "-n" shows n and removes it; the result; the list and the stored numbers after.
    // clang-format off
    void editPhoneNumbers_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("stored");
        const QStringList all{kDefault, "", "111", "777", "222"};
        QTest::newRow("add new") << "+333" << "Added" << all + QStringList{"333"} << "Blank=|Number=111|Number2=222|Number3=333";
        QTest::newRow("add duplicate") << "+111" << "Duplicate" << all << "Blank=|Number=111|Number2=222";
        QTest::newRow("add blanks (cancelled)") << "+  " << "Empty" << all << "Blank=|Number=111|Number2=222";
        QTest::newRow("remove default does nothing") << "-" + kDefault << "false" << all << "Blank=|Number=111|Number2=222";
        QTest::newRow("remove empty does nothing") << "-" << "false" << all << "Blank=|Number=111|Number2=222";
        QTest::newRow("remove first keeps the others") << "-111" << "true" << QStringList{kDefault, "", "777", "222"} << "Blank=|Number2=222";
        QTest::newRow("remove added keeps the others") << "-222" << "true" << QStringList{kDefault, "", "111", "777"} << "Blank=|Number=111";
        QTest::newRow("remove unstored") << "-777" << "true" << QStringList{kDefault, "", "111", "222"} << "Blank=|Number=111|Number2=222";
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
        const QString number = edit.mid(1);
        const QVariant outcome = edit.startsWith('+')
                                     ? QVariant::fromValue(profile.addPhoneNumber(store(), number))
                                     : QVariant(profile.setPhone(number) && profile.removePhoneNumber(store()));
        QTEST(outcome.toString(), "result");
        QTEST(profile.phoneNumbers(), "listed");
        QStringList pairs;
        for (const auto &[key, value] : store().GetAllSettings(kPhoneSection))
            pairs << key + "=" + value;
        QTEST(pairs.join('|'), "stored");
    }

    // A refused mail check writes nothing at all and keeps the current values; so does a profile of no provider.
    // clang-format off
    void okWritesAllOrNothing_data()
    {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<bool>("checkMail");
        QTest::addColumn<bool>("checkPasses");
        QTest::addColumn<SaveResult>("result");
        QTest::addColumn<QString>("stored"); // "Login", then "Check E-mail", "Host", "Program", "launch", "Timeout"
        QTest::addColumn<QString>("program"); // the current mail program
        QTest::newRow("accepted") << kProvider << true << true << SaveResult::Saved << "new|1|new.host|mailer|mailer|40" << "mailer";
        QTest::newRow("refused") << kProvider << true << false << SaveResult::MailRefused << "old|1|old|old|old|old" << "old";
        QTest::newRow("mail cleared") << kProvider << false << true << SaveResult::Saved << "new|0|old|old|old|old" << "mailer";
        QTest::newRow("no provider") << "" << true << true << SaveResult::NoProvider << "old|1|old|old|old|old" << "";
    }
    // clang-format on
    void okWritesAllOrNothing()
    {
        QFETCH(QString, provider);
        QFETCH(bool, checkMail);
        QFETCH(bool, checkPasses);
        store().SaveSetting(kProviderSection, "Login", "old");
        StoreFixtures::writeValues(store(), kMailSection,
                                   {"Check E-mail=1", "Host=old", "Program=old", "launch=old", "Timeout=old"});
        ProviderProfile profile;
        profile.load(store(), provider);
        profile.setChecked(Check::EMail, checkMail);
        profile.setText(Text::LoginName, "new");
        profile.setText(Text::Pop3Host, "new.host");
        profile.setText(Text::LaunchEmail, "mailer");
        profile.setText(Text::Timeout, "40");
        QTEST(profile.save(store(), [&](const ProviderProfile &) { return checkPasses; }), "result");

        QStringList values{store().GetSetting(kProviderSection, "Login")};
        for (const char *key : {"Check E-mail", "Host", "Program", "launch", "Timeout"})
            values << store().GetSetting(kMailSection, key);
        QTEST(values.join('|'), "stored");
        QTEST(profile.currentMail().program, "program");
    }

    // The settings window edits a copy: the live profile (what the dialer and the alarms read) changes only on
    // an OK that stored it. A password typed this session (not saved) shows in the copy and stays after OK
    // (an OK does not wipe it), also in the next opening.
    // clang-format off
    void windowCopyCommittedOnOk_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("storedLogin");
        QTest::addColumn<QString>("liveLogin");
        QTest::addColumn<QByteArray>("password"); // the one the dialer sends
        QTest::newRow("OK") << "ok" << "Saved" << "new" << "new" << QByteArray("newer");
        QTest::newRow("OK, password as shown") << "shown" << "Saved" << "new" << "new" << QByteArray("typed");
        QTest::newRow("Cancel") << "cancel" << "" << "old" << "old" << QByteArray("typed");
        QTest::newRow("another provider picked") << "other" << "NoProvider" << "old" << "" << QByteArray("pw");
    }
    // clang-format on
    void windowCopyCommittedOnOk()
    {
        QFETCH(QString, how);
        QFETCH(QByteArray, password);
        CoreRig rig;
        rig.loadProvider(kDemo, kDefault, false, "old");
        rig.store.SaveSetting("Providers \\" + kDemo, "SavePass", "0");
        rig.profile.setCurrentPassword("typed");
        std::unique_ptr<ProviderProfile> edited = rig.core.editProviderSettings(true);
        QCOMPARE(edited->password(), QString("typed"));
        edited->setText(Text::LoginName, "new");
        if (how != "shown")
            edited->setPassword("newer");
        if (how == "other")
            rig.loadProvider("Busy Demo ISP (simulated)");
        const QString outcome =
            how == "cancel" ? QString() : QVariant::fromValue(rig.core.commitProviderSettings(*edited)).toString();
        QTEST(outcome, "result");
        QTEST(rig.store.GetSetting("Providers \\" + kDemo, "Login"), "storedLogin");
        QTEST(rig.accounts.connection().login, "liveLogin");
        QCOMPARE(rig.accounts.connection().password, password);
        QCOMPARE(rig.core.editProviderSettings(false)->passwordBytes(), password); // the next opening shows it
    }

    // "New Phone Number": Cancel adds nothing; a number listed already is refused. A number
    // added is then removed when the question is answered Yes.
    // clang-format off
    void phoneNumberAsked_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<QString>("removal"); // the answer to "Are you sure to delete...", if asked
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Cancel") << std::optional<QString>() << "" << false << "";
        QTest::newRow("listed already") << std::optional<QString>(kDefault) << "" << false << "";
        QTest::newRow("new, removal answered No") << std::optional<QString>("555") << "No" << false << "555";
        QTest::newRow("new, removal answered Yes") << std::optional<QString>("555") << "Yes" << true << "";
    }
    // clang-format on
    void phoneNumberAsked()
    {
        QFETCH(std::optional<QString>, answer);
        QFETCH(QString, removal);
        QFETCH(QString, stored);
        CoreRig rig;
        rig.loadProvider(kDemo);
        std::unique_ptr<ProviderProfile> edited = rig.core.editProviderSettings(false);
        rig.prompter.expectInput("Please enter new phone number for \n" + kDemo, answer);
        if (answer == kDefault)
            rig.prompter.expect("This phone number already exists!");
        bool done = rig.core.addPhoneNumber(*edited);
        if (!removal.isEmpty()) {
            rig.prompter.expect("Are you sure to delete this phone number?",
                                removal == "Yes" ? Prompt::Answer::Yes : Prompt::Answer::No);
            edited->setPhone("555");
            done = rig.core.removePhoneNumber(*edited) && done; // the number was added
        }
        QTEST(done, "changed");
        QCOMPARE(rig.store.GetSetting("Providers \\" + kDemo + "\\Phone Numbers", "Number"), stored);
        QCOMPARE(rig.profile.phoneNumbers().contains("555"), !stored.isEmpty()); // the live list too
        QCOMPARE(rig.prompter.pendingExpectations(), 0);
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