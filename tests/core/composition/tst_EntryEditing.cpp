#include <QDir>
#include <QFile>
#include <QTest>

#include "settings/PasswordScrambler.h"
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

namespace {
const QString kPhonebook = "[Home]\nNumber=555-0100\nConnectAfter=2\n[Work]\nNumber=555-0200\n";
}

class TestEntryEditing : public QObject
{
    Q_OBJECT

private slots:
    // The loaded provider renamed keeps all it has: its section with the subsections (moved as the store's
    // test shows), its bytes, its tariffs, its log. Columns: the section ("%1": the provider),
    // the key, the value stored under "Home" before and under "Office" after.
    // clang-format off
    void renameMovesEverySection_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("password") << "Providers \\%1" << "Password" << EncryptPassword("pw", kPasswordKey) << EncryptPassword("pw", kPasswordKey);
        QTest::newRow("name") << "Providers \\%1" << "Name" << QByteArray("Home") << QByteArray("Office");
        QTest::newRow("mail") << "Providers \\%1\\E-Mail" << "Host" << QByteArray("pop.example.net") << QByteArray("pop.example.net");
        QTest::newRow("tariff") << "Tariff Profile \\Providers\\%1" << "2" << QByteArray("Night") << QByteArray("Night");
    }
    // clang-format on
    void renameMovesEverySection()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        EngineRig rig(kPhonebook);
        rig.store.SaveSettingBytes(section.arg("Home"), key, before);
        rig.home.writeFile("Logs/Home.log", "calls\r\n");
        rig.loadProvider("Home");
        QVERIFY(rig.core.saveEntry("Home", {"Office", "", 0, "555-0101", ""}));
        QCOMPARE(rig.store.GetSettingBytes(section.arg("Office"), key), after);
        QCOMPARE(rig.store.GetAllSettings(section.arg("Home")), SettingsStore::Pairs());
        QCOMPARE(rig.home.readFile("Logs/Office.log") + rig.home.readFile("Logs/Home.log"), "calls\r\n");
        QCOMPARE(rig.line.entry("Office")->number, "555-0101");
        QCOMPARE(rig.state.providerList(), QStringList({"Office", "Work", rig.dialer.wizardItem()}));
        QCOMPARE(rig.state.selectedProvider() + rig.accounts.connection().name, "OfficeOffice");
    }

    // While a call runs, or when the settings cannot move (in one transaction), the entry
    // keeps its name and its settings.
    // clang-format off
    void renameRefused_data()
    {
        QTest::addColumn<bool>("call");
        QTest::addColumn<QString>("message");
        QTest::newRow("call") << true << "\"Home\" cannot be renamed while a call on it runs. Hang up first.";
        QTest::newRow("store locked") << false << "EditEntry Method Failed\n\nThe settings of \"Home\" could not be moved to the new name (database is locked), so the entry keeps its name.";
    }
    // clang-format on
    void renameRefused()
    {
        QFETCH(bool, call);
        EngineRig rig(kPhonebook);
        rig.store.SaveSetting("Tariff Profile \\Providers\\Home", "1", "Day");
        if (call) {
            rig.prepareHome();
            rig.connectAndOpen();
        }
        std::optional<StoreFixtures::WriteLock> lock;
        if (!call)
            lock.emplace(rig.home.locations().settingsDatabase());
        rig.prompter.clear();
        rig.prompter.allowMessages();
        QVERIFY(!rig.core.saveEntry("Home", {"Office", "", 0, "555-0100", ""}));
        lock.reset();
        QTEST(rig.prompter.shownTexts().join(""), "message");
        QCOMPARE(rig.line.RasEnumEntries(), QStringList({"Home", "Work"}));
        QCOMPARE(rig.store.GetSetting("Tariff Profile \\Providers\\Home", "1"), "Day");
    }

    // Columns: the entry edited (empty: a new one), the name typed, the message, the entries after.
    // clang-format off
    void createAndEdit_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("created") << "" << " Office " << "" << QStringList{"Home", "Work", "Office"};
        QTest::newRow("create existing") << "" << "Work" << "The new dial-up entry could not be created.\n\nA dial-up entry named \"Work\" already exists." << QStringList{"Home", "Work"};
        QTest::newRow("edit missing") << "Gone" << "Gone" << "EditEntry Method Failed\n\nThe dial-up entry \"Gone\" could not be found." << QStringList{"Home", "Work"};
    }
    // clang-format on
    void createAndEdit()
    {
        QFETCH(QString, original);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(QStringList, entries);
        CoreRig rig(kPhonebook);
        rig.prompter.allowMessages();
        QCOMPARE(rig.core.saveEntry(original, {name, "", 0, "555-0300", ""}), message.isEmpty());
        QCOMPARE(rig.prompter.shownTexts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(rig.line.RasEnumEntries(), entries);
        QCOMPARE(rig.line.entry(name.trimmed()).has_value() && rig.line.entry(name.trimmed())->number == "555-0300",
                 message.isEmpty());
    }

    // A name that is not one settings component is never loaded as a provider.
    void providerWithBackslashIsRefused()
    {
        CoreRig rig("[Home\\E-Mail]\nNumber=1\n");
        rig.prompter.allowMessages();
        rig.core.selectProvider("Home\\E-Mail");
        QVERIFY(rig.prompter.shownTexts().value(0).endsWith("Please rename the dial-up entry before you use it."));
        QVERIFY(!rig.accounts.isLoaded());
    }

    // clang-format off
    void networkConfig_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("message");
        QTest::newRow("installed") << true << "";
        QTest::newRow("missing") << false << "No network settings program was found. Install nm-connection-editor, or use the network settings of your desktop.";
    }
    // clang-format on
    // "Network Config" starts the desktop's network settings program found on PATH.
    void networkConfig()
    {
        QFETCH(bool, installed);
        CoreRig rig;
        QVERIFY(QDir().mkpath(rig.home.path() + "/bin"));
        const QString program = rig.home.writeFile(installed ? "bin/nm-connection-editor" : "bin/other", "#!/bin/sh\n");
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(rig.home.path() + "/bin"));
        rig.prompter.allowMessages();
        rig.core.openNetworkConfig();
        qputenv("PATH", path);
        QCOMPARE(rig.launcher.started, installed ? QStringList{program} : QStringList());
        QTEST(rig.prompter.shownTexts().join(""), "message");
    }
};

QTEST_GUILESS_MAIN(TestEntryEditing)
#include "tst_EntryEditing.moc"
