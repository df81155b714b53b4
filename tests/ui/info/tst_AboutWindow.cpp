#include "info/AboutWindow.h"
#include "info/NewsWindow.h"
#include "settings/GeneralOptions.h"
#include "settings/SettingsLayout.h"
#include "support/CoreRig.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QStandardPaths>
#include <QTest>

namespace {

// The about box over options read from a store holding the given general settings.
struct AboutRig
{
    explicit AboutRig(const QStringList &entries = {}, bool online = true)
    {
        for (const QString &entry : entries)
            home.store.SaveSetting(SettingsLayout::GeneralSettings(), entry.section('=', 0, 0), entry.section('=', 1));
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
    // clang-format off
    void showsItsTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("title") << "lblTitle" << "LineMinder for Linux";
        QTest::newRow("version") << "lblVersion" << "Version " PROJECT_VERSION;
        QTest::newRow("home label") << "Label3" << "Home Page:";
        QTest::newRow("mail label") << "Label2" << "E-mail:";
        QTest::newRow("OK") << "cmdOK" << "OK";
        QTest::newRow("system info") << "cmdSysInfo" << "&System Info...";
        QTest::newRow("news") << "cmdNewVersion" << "Check for latest news and updates.";
    }
    // clang-format on
    void showsItsTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        AboutRig rig;
        QCOMPARE(rig.about->objectName(), QString("frmAbout"));
        QCOMPARE(rig.about->windowTitle(), QString("About LineMinder"));
        auto *label = rig.find<QLabel>(name);
        auto *button = rig.find<QAbstractButton>(name);
        QVERIFY(label || button);
        QCOMPARE(label ? label->text() : button->text(), text);
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
        QTest::mouseClick(rig.find<QAbstractButton>("cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(rig.launcher.started, started.isEmpty() ? QStringList() : QStringList{started});
        QCOMPARE(rig.prompter.pendingExpectations(), 0);
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
        QTest::mouseClick(button, Qt::LeftButton);
        QPointer<NewsWindow> news = rig.about->newsWindow();
        QVERIFY(news && news->isVisible());
        QVERIFY(!button->isEnabled());
        QTRY_COMPARE(rig.prompter.pendingExpectations(), 0);
        QCOMPARE(news->findChild<QLabel *>("lblVersion")->text(), result);

        QTest::mouseClick(news->findChild<QAbstractButton *>("Command1"), Qt::LeftButton);
        QVERIFY(button->isEnabled());
        QTRY_VERIFY(!news);
    }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_AboutWindow.moc"
