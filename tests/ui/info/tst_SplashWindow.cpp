#include "info/SplashWindow.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

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

} // namespace

class TestSplashWindow : public QObject
{
    Q_OBJECT

private slots:
    // "ends" lists the steps that end the splash; "load:" takes the step while the main
    // window is still being created.
    // clang-format off
    void showsMainWindowOnce_data()
    {
        QTest::addColumn<QString>("showSplash");
        QTest::addColumn<QString>("ends");
        QTest::newRow("0: no splash") << "0"
                                      << "finish";
        QTest::newRow("yes, finished twice") << "yes" << "finish,finish";
        QTest::newRow("2, closed early") << "2" << "close";
        QTest::newRow("closed, then the timer") << "1" << "close,finish";
        QTest::newRow("closed while loading") << "1" << "load:close";
        QTest::newRow("finished while loading") << "1" << "load:finish";
    }
    // clang-format on
    void showsMainWindowOnce()
    {
        QFETCH(QString, showSplash);
        QFETCH(QString, ends);
        const bool splashWanted = showSplash != "0", whileLoading = ends.startsWith("load:");
        SplashWindow splash;
        ShowCounter seen(&splash);
        QSignalSpy finished(&splash, &SplashWindow::finished);
        std::unique_ptr<QWidget> main;
        int shows = 0;
        auto end = [&splash](const QString &step) { step.endsWith("finish") ? splash.finish() : void(splash.close()); };

        auto load = [&] {
            main = std::make_unique<QWidget>();
            QCOMPARE(splash.isVisible(), splashWanted);
            if (whileLoading) {
                end(ends);
                QCOMPARE(shows, 0);
            }
        };
        splash.start(showSplash, load, [&] {
            ++shows;
            main->show();
        });
        QVERIFY(main);
        if (!whileLoading) { // "0" shows the main window at once; otherwise it waits behind the splash
            QCOMPARE(shows, splashWanted ? 0 : 1);
            QCOMPARE(main->isVisible(), !splashWanted);
            QCOMPARE(splash.isVisible() && splash.isWaiting(), splashWanted);
            QCOMPARE(finished.count(), splashWanted ? 0 : 1);
        }
        if (!whileLoading)
            for (const QString &step : ends.split(','))
                end(step);
        QCOMPARE(shows, 1);
        QVERIFY(main->isVisible());
        QVERIFY(!splash.isVisible() && !splash.isWaiting());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(seen.shows, splashWanted ? 1 : 0);
    }

    void timerEndsTheSplash()
    {
        SplashWindow splash(0);
        QWidget main;
        splash.start("1", {}, [&main] { main.show(); });
        QTRY_VERIFY(main.isVisible());
        QVERIFY(!splash.isVisible());
    }
};

QTEST_MAIN(TestSplashWindow)
#include "tst_SplashWindow.moc"
