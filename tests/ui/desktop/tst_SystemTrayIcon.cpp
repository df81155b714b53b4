#include "desktop/SystemTrayIcon.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <set>

#include "desktop/AppIcon.h"

Q_DECLARE_METATYPE(QSystemTrayIcon::ActivationReason)

class TestSystemTrayIcon : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void onlyRealClicksCount_data()
    {
        QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("right");
        QTest::newRow("left click") << QSystemTrayIcon::Trigger << true << 1 << 0;
        QTest::newRow("right click") << QSystemTrayIcon::Context << true << 0 << 1;
        QTest::newRow("double click") << QSystemTrayIcon::DoubleClick << true << 0 << 0;
        QTest::newRow("left click after removal") << QSystemTrayIcon::Trigger << false << 0 << 0;
    }
    // clang-format on
    void onlyRealClicksCount()
    {
        QFETCH(QSystemTrayIcon::ActivationReason, reason);
        QFETCH(bool, shown);
        QFETCH(int, left);
        QFETCH(int, right);
        SystemTrayIcon tray(AppIcon());
        auto *platformIcon = tray.findChild<QSystemTrayIcon *>();
        QVERIFY(platformIcon);
        tray.add("00:00:00");
        if (!shown)
            tray.remove();
        QSignalSpy leftSpy(&tray, &TrayIcon::leftClicked);
        QSignalSpy rightSpy(&tray, &TrayIcon::rightClicked);

        emit platformIcon->activated(reason);
        QCOMPARE(leftSpy.count(), left);
        QCOMPARE(rightSpy.count(), right);
    }

    void tipReachesTheDesktopCut()
    {
        SystemTrayIcon tray(AppIcon());
        auto *platformIcon = tray.findChild<QSystemTrayIcon *>();
        tray.add(QString(100, 'x'));
        QCOMPARE(platformIcon->toolTip(), QString(63, 'x'));
        tray.setTip("00:00:05");
        QCOMPARE(platformIcon->toolTip(), "00:00:05");
        QCOMPARE(tray.isAvailable(), QSystemTrayIcon::isSystemTrayAvailable());
    }

    void programIconIsDrawn()
    {
        const int size = 16;
        const QImage image = AppIcon().pixmap(size, size).toImage();
        QCOMPARE(image.size(), QSize(size, size));
        // Not blank, transparent around the face, and in (at least) two colours.
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        std::set<QRgb> opaque;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (image.pixelColor(x, y).alpha() == 255)
                    opaque.insert(image.pixel(x, y));
        QVERIFY(opaque.size() >= 2);
    }
};

QTEST_MAIN(TestSystemTrayIcon)
#include "tst_SystemTrayIcon.moc"
