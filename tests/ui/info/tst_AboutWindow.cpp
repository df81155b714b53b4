#include "info/AboutWindow.h"
#include "settings/GeneralOptions.h"
#include "settings/SettingsLayout.h"
#include "support/CoreRig.h"
#include "support/StoreFixtures.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QStandardPaths>
#include <QTest>

namespace {

// The about box over options read from a store holding the given general settings.
struct AboutRig
{
    explicit AboutRig(const QStringList &settings = {}, bool online = true)
    {
        StoreFixtures::writeValues(home.store, SettingsLayout::GeneralSettings(), settings);
        options.load(home.store);
        about = std::make_unique<AboutWindow>(InfoSeams{options, launcher, prompter, [online] { return online; }});
    }
    template <typename T> T *find(const QString &name) const { return about->findChild<T *>(name); }

    TempStore home;
    GeneralOptions options;
    RecordingLauncher launcher;
    ScriptedPrompter prompter;
    std::unique_ptr<AboutWindow> about;
};

} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT

private slots:
    void showsItsTexts()
    {
        AboutRig rig;
        QStringList shown{rig.about->objectName() + ": " + rig.about->windowTitle()};
        for (const char *name : {"lblTitle", "lblVersion", "Label3", "Label2", "cmdOK", "cmdSysInfo", "cmdNewVersion"})
            shown << (rig.find<QWidget>(name) ? rig.find<QWidget>(name)->property("text").toString()
                                              : "no " + QString(name));
        QCOMPARE(shown,
                 QStringList({"frmAbout: About LineMinder", "LineMinder for Linux", "Version " PROJECT_VERSION,
                              "Home Page:", "E-mail:", "OK", "&System Info...", "Check for latest news and updates."}));
    }

    // The links open through the desktop; an address from the settings is never markup.
    void opensTheLinks()
    {
        AboutRig rig({"HomeURL=https://example.org/?a=1&b=<i>", "HomeEmail=news@example.org"});
        auto *home = rig.find<QLabel>("lblHomeURL");
        QVERIFY(home->text().contains("&amp;b=&lt;i&gt;"));
        emit home->linkActivated("#");
        emit rig.find<QLabel>("lblHomeEmail")->linkActivated("#");
        QCOMPARE(rig.launcher.opened, QStringList({"https://example.org/?a=1&b=<i>", "mailto:news@example.org"}));
    }

    // clang-format off
    void startsSystemInfo_data()
    {
        QTest::addColumn<QString>("programs");
        QTest::addColumn<QString>("started"); // empty: the message instead
        QTest::newRow("first one installed") << "lineminder-no-viewer;sh;ls" << QStandardPaths::findExecutable("sh");
        QTest::newRow("none installed") << "lineminder-no-viewer" << "";
    }
    // clang-format on
    void startsSystemInfo()
    {
        QFETCH(QString, programs);
        QFETCH(QString, started);
        AboutRig rig({"SysInfoPrograms=" + programs});
        if (started.isEmpty())
            rig.prompter.expect("System Information Is Unavailable At This Time");
        rig.find<QAbstractButton>("cmdSysInfo")->click();
        QCOMPARE(rig.launcher.started, started.isEmpty() ? QStringList() : QStringList{started});
    }

    // clang-format off
    void newsButtonWaitsForTheNewsWindow_data()
    {
        QTest::addColumn<bool>("online");
        QTest::addColumn<QString>("server"); // LINEMINDER_NEWS_URL
        QTest::addColumn<QString>("result"); // lblVersion
        QTest::addColumn<QString>("message");
        QTest::newRow("offline: nothing fetched") << false << "http://127.0.0.1:1/" << "" << "You are not connected to the Interenet!";
        QTest::newRow("no server configured") << true << "" << "The news server is not configured." << "";
        QTest::newRow("server refuses") << true << "http://127.0.0.1:1/" << "" << "Problem with the server, please try latter!";
    }
    // clang-format on
    void newsButtonWaitsForTheNewsWindow()
    {
        QFETCH(bool, online);
        QFETCH(QString, server);
        QFETCH(QString, result);
        QFETCH(QString, message);
        qputenv("LINEMINDER_NEWS_URL", server.toUtf8());
        AboutRig rig({}, online);
        if (!message.isEmpty())
            rig.prompter.expect(message);
        rig.about->show();
        auto *button = rig.find<QAbstractButton>("cmdNewVersion");
        button->click();
        QPointer<NewsWindow> news = rig.about->newsWindow();
        QVERIFY(news && news->isVisible() && !button->isEnabled());
        QTRY_COMPARE(rig.prompter.pendingExpectations(), 0);
        QCOMPARE(news->findChild<QLabel *>("lblVersion")->text(), result);
        news->findChild<QAbstractButton *>("Command1")->click();
        QVERIFY(button->isEnabled());
        QTRY_VERIFY(!news);
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_AboutWindow.moc"
