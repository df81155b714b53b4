#include "mail/NotifyWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "settings/SettingsLayout.h"
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

namespace {

// A mailbox profile loaded from the store, so its in-memory copies are set as at run time.
struct Rig
{
    Rig(bool launch, const QString &program)
    {
        StoreFixtures::writeValues(
            store, SettingsLayout::ProviderMail("Home"),
            {"Host=pop.example.net:1110", "User=bob", launch ? "Chklaunch=1" : "Chklaunch=0", "launch=" + program});
        profile.load(store, "Home");
    }
    NotifyWindow *show(const QString &message, const QString &checkedAt = "5/3/2024 12:00:02")
    {
        return NotifyWindow::showResult(window, profile, launcher, message, checkedAt);
    }
    QString line(int i) const { return window->findChild<QLabel *>(QStringLiteral("lblMsg%1").arg(i))->text(); }
    QPushButton *button(const char *name) const { return window->findChild<QPushButton *>(name); }

    TempHome home;
    SettingsStore store{home.locations().settingsDatabase()};
    ProviderProfile profile;
    RecordingLauncher launcher;
    QPointer<NotifyWindow> window;
};

} // namespace

class TestNotifyWindow : public QObject
{
    Q_OBJECT

private slots:
    // "Run Email Program" (enabled by chkLaunchEmail: laterResults) starts it and closes.
    // clang-format off
    void runEmailProgram_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("started");
        QTest::newRow("launch on, no program: only closes") << "" << QStringList();
        QTest::newRow("a program that fails: still closes") << "missing-mailer" << QStringList{"missing-mailer"};
    }
    // clang-format on
    void runEmailProgram()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, started);
        Rig rig(true, program);
        rig.show("You have 2 new messages");
        QVERIFY(rig.window->isVisible());
        QCOMPARE(rig.window->windowTitle(), QString("E-mail Notification! - bob@pop.example.net:1110"));
        QCOMPARE(QStringList({rig.line(0), rig.line(1)}),
                 QStringList({"You have 2 new messages", "5/3/2024 12:00:02"}));
        QTest::mouseClick(rig.button("Command1"), Qt::LeftButton);
        QTRY_VERIFY(!rig.window);
        QCOMPARE(rig.launcher.started, started);
    }

    // Open, it only gets the new lines; closed, it is made afresh and its load sees the
    // settings of now.
    void laterResults()
    {
        Rig rig(false, QString());
        NotifyWindow *first = rig.show("You have 1 new messages");
        rig.profile.setChecked(ProviderProfile::Check::LaunchEmail, true);
        QCOMPARE(rig.show("You have 3 new messages", "b"), first);
        QCOMPARE(rig.line(0), QString("You have 3 new messages"));
        QVERIFY(!rig.button("Command1")->isEnabled());
        QTest::mouseClick(rig.button("Command2"), Qt::LeftButton);
        QTRY_VERIFY(!rig.window);
        rig.show("You have 0 new messages", "c");
        QVERIFY(rig.button("Command1")->isEnabled());
        QCOMPARE(rig.line(1), QString("c"));
        delete rig.window;
    }
};

QTEST_MAIN(TestNotifyWindow)
#include "tst_NotifyWindow.moc"
