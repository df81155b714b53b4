#include "mail/NotifyWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "settings/ProviderProfile.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "support/CoreRig.h"
#include "support/TempHome.h"

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;

class TestNotifyWindow : public QObject
{
    Q_OBJECT

    // A profile loaded from the store, so the in-memory mailbox copies are set as at
    // run time.
    static void loadMailbox(SettingsStore &store, ProviderProfile &profile, bool launch, const QString &program)
    {
        const QString mail = SettingsLayout::ProviderMail("Home");
        store.SaveSetting(mail, "Host", "pop.example.net:1110");
        store.SaveSetting(mail, "User", "bob");
        store.SaveSetting(mail, "Chklaunch", launch ? "1" : "0");
        store.SaveSetting(mail, "launch", program);
        profile.load(store, "Home");
    }

private slots:
    // clang-format off
    void runEmailProgram_data()
    {
        QTest::addColumn<bool>("launch");
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QStringList>("started");
        QTest::newRow("launch off: button disabled") << false << "thunderbird" << false << QStringList();
        QTest::newRow("launch on: program started")
            << true << "thunderbird -mail" << true << QStringList{"thunderbird -mail"};
        QTest::newRow("launch on, no program: only closes") << true << "" << true << QStringList();
        QTest::newRow("a program that fails: still closes")
            << true << "missing-mailer" << true << QStringList{"missing-mailer"};
    }
    // clang-format on
    void runEmailProgram()
    {
        QFETCH(bool, launch);
        QFETCH(QString, program);
        QFETCH(bool, enabled);
        QFETCH(QStringList, started);
        TempHome home;
        SettingsStore store(home.locations().settingsDatabase());
        ProviderProfile profile;
        loadMailbox(store, profile, launch, program);
        RecordingLauncher launcher;
        QPointer<NotifyWindow> window;

        NotifyWindow::showResult(window, profile, launcher, "You have 2 new messages", "5/3/2024 12:00:02");

        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->objectName(), QString("frmNotify"));
        QCOMPARE(window->windowTitle(), QString("E-mail Notification! - bob@pop.example.net:1110"));
        QCOMPARE(window->findChild<QLabel *>("lblMsg0")->text(), QString("You have 2 new messages"));
        QCOMPARE(window->findChild<QLabel *>("lblMsg1")->text(), QString("5/3/2024 12:00:02"));
        QCOMPARE(window->findChild<QLabel *>("Label1")->text(), QString("Know:"));
        auto *run = window->findChild<QPushButton *>("Command1");
        QCOMPARE(run->text(), QString("Run Email Program"));
        QCOMPARE(run->isEnabled(), enabled);
        if (enabled) {
            QTest::mouseClick(run, Qt::LeftButton);
            QTRY_VERIFY(!window);
        }
        QCOMPARE(launcher.started, started);
    }

    // Open, it only gets the new lines; closed, it is made afresh and its load sees the
    // settings of now.
    void laterResults()
    {
        TempHome home;
        SettingsStore store(home.locations().settingsDatabase());
        ProviderProfile profile;
        loadMailbox(store, profile, false, QString());
        RecordingLauncher launcher;
        QPointer<NotifyWindow> window;
        NotifyWindow *first = NotifyWindow::showResult(window, profile, launcher, "You have 1 new messages", "a");
        profile.setChecked(Check::LaunchEmail, true);
        QCOMPARE(NotifyWindow::showResult(window, profile, launcher, "You have 3 new messages", "b"), first);
        QCOMPARE(first->findChild<QLabel *>("lblMsg0")->text(), QString("You have 3 new messages"));
        QVERIFY(!first->findChild<QPushButton *>("Command1")->isEnabled());

        auto *close = first->findChild<QPushButton *>("Command2");
        QCOMPARE(close->text(), QString("Close"));
        QTest::mouseClick(close, Qt::LeftButton);
        QTRY_VERIFY(!window);
        NotifyWindow::showResult(window, profile, launcher, "You have 0 new messages", "c");
        QVERIFY(window);
        QVERIFY(window->findChild<QPushButton *>("Command1")->isEnabled());
        QCOMPARE(window->findChild<QLabel *>("lblMsg1")->text(), QString("c"));
        delete window;
    }
};

QTEST_MAIN(TestNotifyWindow)
#include "tst_NotifyWindow.moc"
