#include "info/SplashWindow.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "support/TempHome.h"

namespace {

// Counts how often a widget was shown, so "never seen" means never, not "hidden again".
class ShowCounter : public QObject
{
public:
    explicit ShowCounter(QWidget *widget) { widget->installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

// The main window as the splash sees it: created by load, shown by show.
struct MainRig
{
    std::unique_ptr<QWidget> window;
    int loads = 0;
    int shows = 0;
    bool splashUpWhileLoading = false;
    std::function<void()> duringLoad;

    std::function<void()> load(SplashWindow &splash)
    {
        return [this, &splash] {
            ++loads;
            splashUpWhileLoading = splash.isVisible();
            window = std::make_unique<QWidget>();
            window->setObjectName("Form1");
            if (duringLoad)
                duringLoad();
        };
    }
    std::function<void()> show()
    {
        return [this] {
            ++shows;
            QVERIFY(window);
            window->show();
        };
    }
};

} // namespace

class TestSplashWindow : public QObject
{
    Q_OBJECT

private slots:
    void startsAsShowSplashSays_data()
    {
        QTest::addColumn<QString>("showSplash");
        QTest::addColumn<bool>("splash");
        QTest::newRow("0: no splash") << "0" << false;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("yes") << "yes" << true;
        QTest::newRow("2") << "2" << true;
        QTest::newRow("False") << "False" << true;
    }
    void startsAsShowSplashSays()
    {
        QFETCH(QString, showSplash);
        QFETCH(bool, splash);
        SplashWindow window;
        ShowCounter seen(&window);
        QSignalSpy finished(&window, &SplashWindow::finished);
        MainRig main;

        window.start(showSplash, main.load(window), main.show());
        QCOMPARE(main.loads, 1);
        if (!splash) {
            QCOMPARE(main.shows, 1);
            QVERIFY(main.window->isVisible());
            QCOMPARE(finished.count(), 1);
            window.finish();
            QCOMPARE(seen.shows, 0);
            QCOMPARE(main.shows, 1);
            return;
        }
        // Loaded behind the splash, not yet shown.
        QVERIFY(main.splashUpWhileLoading);
        QVERIFY(window.isVisible());
        QVERIFY(window.isWaiting());
        QVERIFY(!main.window->isVisible());
        QCOMPARE(finished.count(), 0);

        window.finish();
        QCOMPARE(main.shows, 1);
        QVERIFY(main.window->isVisible());
        QVERIFY(!window.isVisible());
        QCOMPARE(finished.count(), 1);
    }

    // However the splash ends, the main window is shown exactly once and only after it exists.
    void endsOnceWhateverEndsIt_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("finish") << "finish";
        QTest::newRow("finish twice") << "finish,finish";
        QTest::newRow("closed early") << "close";
        QTest::newRow("closed, then the timer") << "close,finish";
        QTest::newRow("finish while loading") << "load:finish";
        QTest::newRow("closed while loading") << "load:close";
    }
    void endsOnceWhateverEndsIt()
    {
        QFETCH(QString, how);
        SplashWindow window;
        QSignalSpy finished(&window, &SplashWindow::finished);
        MainRig main;
        auto end = [&window](const QString &step) {
            if (step.endsWith("finish"))
                window.finish();
            else
                window.close();
        };
        if (how.startsWith("load:"))
            main.duringLoad = [&] {
                end(how);
                QCOMPARE(main.shows, 0);
            };

        window.start("1", main.load(window), main.show());
        if (!how.startsWith("load:")) {
            for (const QString &step : how.split(','))
                end(step);
        }
        QCOMPARE(main.shows, 1);
        QVERIFY(main.window->isVisible());
        QVERIFY(!window.isVisible());
        QVERIFY(!window.isWaiting());
        QCOMPARE(finished.count(), 1);
    }

    void timerEndsTheSplash()
    {
        SplashWindow window(0);
        MainRig main;
        window.start("1", main.load(window), main.show());
        QTRY_COMPARE(main.shows, 1);
        QVERIFY(!window.isVisible());
    }

    void pictureFillsTheWindow()
    {
        SplashWindow window;
        QCOMPARE(window.objectName(), "frmSplash");
        auto *picture = window.findChild<QLabel *>("Picture1");
        QVERIFY(picture);
        QVERIFY(!picture->pixmap().isNull());
        QCOMPARE(picture->pos(), QPoint(0, 0));
        QCOMPARE(window.size(), picture->pixmap().deviceIndependentSize().toSize());
        QCOMPARE(picture->size(), window.size());
    }

    void storedSetting_data()
    {
        QTest::addColumn<QString>("stored"); // "-" leaves the key out
        QTest::addColumn<QString>("read");
        QTest::newRow("missing") << "-"
                                 << "1";
        QTest::newRow("off") << "0"
                             << "0";
        QTest::newRow("other text") << "yes"
                                    << "yes";
    }
    void storedSetting()
    {
        QFETCH(QString, stored);
        QFETCH(QString, read);
        TempHome home;
        SettingsStore store(home.locations().settingsDatabase());
        QVERIFY(store.isOpen());
        if (stored != "-")
            QVERIFY(store.SaveSetting(SettingsLayout::GeneralSettings(), "ShowSplash", stored));
        QCOMPARE(SplashWindow::StoredShowSplash(store), read);
    }
};

QTEST_MAIN(TestSplashWindow)
#include "tst_SplashWindow.moc"
