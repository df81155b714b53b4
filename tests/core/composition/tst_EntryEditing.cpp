#include <QTemporaryDir>
#include <QTest>

#include "settings/PasswordScrambler.h"
#include "settings/SettingsLayout.h"
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

namespace {
const QString kPhonebook = "[Home]\nNumber=555-0100\nConnectAfter=2\n[Work]\nNumber=555-0200\n";
}

class TestEntryEditing : public QObject
{
    Q_OBJECT

private slots:
    // A renamed provider keeps everything stored under its name. Columns: the section ("%1":
    // the provider), the key, the value stored under "Home" before and under "Office" after.
    // clang-format off
    void renameMovesEverySection_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("password") << "Providers \\%1" << "Password" << EncryptPassword("pw", kPasswordKey) << EncryptPassword("pw", kPasswordKey);
        QTest::newRow("counters") << "Providers \\%1" << "Calls" << QByteArray("7") << QByteArray("7");
        QTest::newRow("name") << "Providers \\%1" << "Name" << QByteArray("Home") << QByteArray("Office");
        QTest::newRow("phone numbers") << "Providers \\%1\\Phone Numbers" << "Number2" << QByteArray("555-0199") << QByteArray("555-0199");
        QTest::newRow("mail") << "Providers \\%1\\E-Mail" << "Host" << QByteArray("pop.example.net") << QByteArray("pop.example.net");
        QTest::newRow("alerts") << "Providers \\%1\\Alerts" << "Alert H1" << QByteArray("02") << QByteArray("02");
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
        rig.store.SaveSetting("Providers \\Homer", "Calls", "3"); // a name that starts alike stays
        const QString log = rig.home.writeFile("Logs/Home.log", "calls\r\n");
        rig.loadProvider("Home");

        QVERIFY(rig.core.saveEntry("Home", {"Office", "simulated", 0, "555-0101", ""}));
        QCOMPARE(rig.prompter.shownTexts(), QStringList());
        QCOMPARE(rig.store.GetSettingBytes(section.arg("Office"), key), after);
        QCOMPARE(rig.store.GetAllSettings(section.arg("Home")), SettingsStore::Pairs());
        QCOMPARE(rig.store.GetSetting("Providers \\Homer", "Calls"), "3");
        QCOMPARE(rig.home.readFile("Logs/Office.log"), QByteArray("calls\r\n"));
        QVERIFY(!QFile::exists(log));
        QCOMPARE(rig.line.RasEnumEntries(), QStringList({"Office", "Work"}));
        QCOMPARE(rig.line.entry("Office")->number, "555-0101");
        QCOMPARE(rig.state.providerList(), QStringList({"Office", "Work", rig.dialer.wizardItem()}));
        QCOMPARE(rig.state.selectedProvider(), "Office");
        QCOMPARE(rig.accounts.connection().name, "Office");
    }

    // The settings move in one transaction: when it cannot be written, the entry keeps its
    // name and nothing moves.
    void renameRolledBackWhenTheStoreIsLocked()
    {
        EngineRig rig(kPhonebook);
        rig.store.SaveSetting("Providers \\Home\\E-Mail", "Host", "pop.example.net");
        rig.store.SaveSetting("Tariff Profile \\Providers\\Home", "1", "Day");
        StoreFixtures::WriteLock lock(rig.home.locations().settingsDatabase());
        rig.prompter.allowMessages();
        QVERIFY(!rig.core.saveEntry("Home", {"Office", "simulated", 0, "555-0100", ""}));
        lock.release();
        QVERIFY(rig.prompter.shownTexts().value(0).startsWith("EditEntry Method Failed\n\nThe settings of \"Home\""));
        QCOMPARE(rig.line.RasEnumEntries(), QStringList({"Home", "Work"}));
        QCOMPARE(rig.store.GetSetting("Providers \\Home\\E-Mail", "Host"), "pop.example.net");
        QCOMPARE(rig.store.GetSetting("Tariff Profile \\Providers\\Home", "1"), "Day");
        QCOMPARE(rig.store.GetAllSettings("Tariff Profile \\Providers\\Office"), SettingsStore::Pairs());
    }

    void renameRefusedDuringACall()
    {
        EngineRig rig(kPhonebook);
        rig.prepareHome();
        rig.connectAndOpen();
        rig.prompter.clear();
        rig.prompter.allowMessages();
        QVERIFY(!rig.core.saveEntry("Home", {"Office", "simulated", 0, "555-0100", ""}));
        QCOMPARE(rig.prompter.shownTexts(),
                 QStringList{"\"Home\" cannot be renamed while a call on it runs. Hang up first."});
        QCOMPARE(rig.line.RasEnumEntries(), QStringList({"Home", "Work"}));
        QCOMPARE(rig.accounts.connection().name, "Home");
        // Another entry may be renamed meanwhile.
        QVERIFY(rig.core.saveEntry("Work", {"Office", "simulated", 0, "555-0200", ""}));
    }

    // Columns: the entry edited (empty: a new one), the name and number typed, the message,
    // the entries after.
    // clang-format off
    void createAndEditRefusals_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("created") << "" << " Office " << "555-0300" << "" << QStringList{"Home", "Work", "Office"};
        QTest::newRow("edited") << "Home" << "Home" << "555-0300" << "" << QStringList{"Home", "Work"};
        QTest::newRow("backslash") << "" << "Home\\E-Mail" << "1" << "The connection name \"Home\\E-Mail\" must not contain \"\\\" or \"/\"." << QStringList{"Home", "Work"};
        QTest::newRow("rename to a slash") << "Home" << "a/b" << "1" << "The connection name \"a/b\" must not contain \"\\\" or \"/\"." << QStringList{"Home", "Work"};
        QTest::newRow("empty name") << "" << "" << "1" << "Please enter a name for the connection." << QStringList{"Home", "Work"};
        QTest::newRow("create existing") << "" << "Work" << "1" << "The new dial-up entry could not be created.\n\nA dial-up entry named \"Work\" already exists." << QStringList{"Home", "Work"};
        QTest::newRow("edit missing") << "Gone" << "Gone" << "1" << "EditEntry Method Failed\n\nThe dial-up entry \"Gone\" could not be found." << QStringList{"Home", "Work"};
        QTest::newRow("rename onto another") << "Home" << "Work" << "1" << "EditEntry Method Failed\n\nA dial-up entry named \"Work\" already exists." << QStringList{"Home", "Work"};
    }
    // clang-format on
    void createAndEditRefusals()
    {
        QFETCH(QString, original);
        QFETCH(QString, name);
        QFETCH(QString, number);
        QFETCH(QString, message);
        QFETCH(QStringList, entries);
        CoreRig rig(kPhonebook);
        rig.prompter.allowMessages();
        QCOMPARE(rig.core.saveEntry(original, {name, "simulated", 0, number, ""}), message.isEmpty());
        QCOMPARE(rig.prompter.shownTexts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(rig.line.RasEnumEntries(), entries);
        // The list is refreshed after a save (it is empty before the window's start).
        QCOMPARE(rig.state.providerList().size(), message.isEmpty() ? entries.size() + 1 : 0);
        if (message.isEmpty())
            QCOMPARE(rig.line.entry(name.trimmed())->number, number);
    }

    // A name that is not one path component is never loaded as a provider.
    void providerWithBackslashIsRefused()
    {
        CoreRig rig("[Home\\E-Mail]\nNumber=1\n");
        rig.prompter.allowMessages();
        rig.core.selectProvider("Home\\E-Mail");
        QCOMPARE(rig.prompter.shownTexts(),
                 QStringList{"The connection name \"Home\\E-Mail\" must not contain \"\\\" or \"/\". Please rename "
                             "the dial-up entry before you use it."});
        QVERIFY(!rig.accounts.isLoaded());
        QCOMPARE(rig.store.GetAllSettings("Providers \\Home"), SettingsStore::Pairs());
    }

    // clang-format off
    void networkConfig_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QStringList>("message");
        QTest::newRow("installed") << true << QStringList{};
        QTest::newRow("missing") << false << QStringList{"No network settings program was found. Install nm-connection-editor, or use the network settings of your desktop."};
    }
    // clang-format on
    void networkConfig()
    {
        QFETCH(bool, installed);
        QFETCH(QStringList, message);
        QTemporaryDir bin;
        const QString editor = bin.filePath("nm-connection-editor");
        if (installed) {
            QFile file(editor);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8());
        CoreRig rig;
        rig.prompter.allowMessages();
        rig.core.openNetworkConfig();
        qputenv("PATH", path);
        QCOMPARE(rig.launcher.started, installed ? QStringList{editor} : QStringList());
        QCOMPARE(rig.prompter.shownTexts(), message);
    }
};

QTEST_GUILESS_MAIN(TestEntryEditing)
#include "tst_EntryEditing.moc"
