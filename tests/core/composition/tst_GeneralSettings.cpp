#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "platform/AutoStart.h"
#include "support/CoreRig.h"

using Check = GeneralOptions::Check;

// What the general settings window does through the core beyond storing its values: the
// log-in start, the shared log shown.
class TestGeneralSettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); }

    // The box shows whether the entry exists; OK writes it for this program or removes it.
    // clang-format off
    void startUpIsTheAutostartEntry_data()
    {
        QTest::addColumn<bool>("before");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("switched on") << false << true;
        QTest::newRow("switched off") << true << false;
        QTest::newRow("kept on: rewritten for this program") << true << true;
        QTest::newRow("kept off") << false << false;
    }
    // clang-format on
    void startUpIsTheAutostartEntry()
    {
        QFETCH(bool, before);
        QFETCH(bool, ticked);
        QVERIFY(AutoStart::SetEnabled(before, "/old/lineminder"));
        CoreRig rig;
        const std::unique_ptr<GeneralOptions> edited = rig.core.editGeneralOptions();
        QCOMPARE(edited->isChecked(Check::StartUp), before);
        edited->setChecked(Check::StartUp, ticked);
        QVERIFY(rig.core.commitGeneralOptions(*edited));
        QCOMPARE(AutoStart::IsEnabled(), ticked);
        QCOMPARE(AutoStart::EntryPath(), m_config.filePath("autostart/lineminder.desktop"));
        QFile entry(AutoStart::EntryPath());
        QCOMPARE(entry.open(QIODevice::ReadOnly) &&
                     entry.readAll().contains("\nExec=\"" + QCoreApplication::applicationFilePath().toUtf8()),
                 ticked);
        QCOMPARE(rig.store.GetSetting("General Settings", "StartUp") +
                     QString::number(rig.options.isChecked(Check::StartUp)),
                 ticked ? "11" : "00");
    }

    // The Exec key holds the path as one quoted argument, whatever it contains.
    // clang-format off
    void execKeyQuoting_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/usr/bin/lineminder" << R"(Exec="/usr/bin/lineminder")";
        QTest::newRow("blank, $, backtick, quote") << "/opt/My $x/`a`\"b\"" << R"(Exec="/opt/My \\$x/\\`a\\`\\"b\\"")";
        QTest::newRow("backslash") << "/a\\b" << R"(Exec="/a\\\\b")";
        QTest::newRow("percent") << "/50%/lm" << R"(Exec="/50%%/lm")";
    }
    // clang-format on
    void execKeyQuoting()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QVERIFY(AutoStart::EntryText(program).split('\n').contains(exec));
    }

    // An entry that cannot be removed (a folder in its place), or a path it cannot hold, is refused.
    void refusals()
    {
        QVERIFY(QDir().mkpath(AutoStart::EntryPath()));
        QString error;
        QVERIFY(!AutoStart::SetEnabled(false, "/usr/bin/lineminder", &error) && error.endsWith("could not be removed"));
        QVERIFY(QDir().rmdir(AutoStart::EntryPath()));
        QVERIFY(!AutoStart::SetEnabled(true, "/usr/bin/line\nminder", &error) && !AutoStart::IsEnabled());
    }

    void viewOpensTheSharedLog()
    {
        CoreRig rig;
        rig.prompter.allowMessages();
        rig.core.viewSharedLog();
        QCOMPARE(rig.prompter.shownTexts().join(""), "There is no shared log file yet: " + rig.home.path() +
                                                         "/Logs/Connections.log is written when the first call is "
                                                         "logged to it.");
        QVERIFY(rig.launcher.opened.isEmpty());
        rig.home.writeFile("Logs/Connections.log", "a call\r\n");
        rig.core.viewSharedLog();
        QCOMPARE(rig.launcher.opened, QStringList{rig.home.path() + "/Logs/Connections.log"});
    }
};

QTEST_GUILESS_MAIN(TestGeneralSettings)
#include "tst_GeneralSettings.moc"
