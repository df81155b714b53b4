#include "platform/TrayIcon.h"

#include <QTest>

#include "support/FakeTrayIcon.h"

class TestTrayIcon : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void tipIsCutToFit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        const QString face = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two UTF-16 units
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("63 kept") << QString(63, 'a') << QString(63, 'a');
        QTest::newRow("64 cut") << QString(64, 'a') << QString(63, 'a');
        QTest::newRow("pair across the end") << QString(62, 'a') + face + "z" << QString(62, 'a');
        QTest::newRow("pair just inside") << QString(61, 'a') + face + "z" << QString(61, 'a') + face;
    }
    // clang-format on
    void tipIsCutToFit()
    {
        QFETCH(QString, text);
        QFETCH(QString, tip);
        FakeTrayIcon tray;
        tray.add(text);
        QCOMPARE(tray.tip(), tip);
        QCOMPARE(tray.calls(), QStringList{"add:" + tip});
        tray.setTip(text + "!");
        QCOMPARE(tray.calls().last(), "tip:" + TrayIcon::FitTip(text + "!"));
        QVERIFY(tray.tip().size() <= TrayIcon::kMaxTipLength);
    }

    // Each step: "add:<tip>", "tip:<tip>", "remove", "message".
    // clang-format off
    void platformCallsFollowTheIconsState_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("add, tip, remove")
            << QStringList{"add:a", "tip:b", "remove"} << QStringList{"add:a", "tip:b", "remove"};
        QTest::newRow("remove twice") << QStringList{"add:a", "remove", "remove"} << QStringList{"add:a", "remove"};
        QTest::newRow("tip before add") << QStringList{"tip:b", "add:a"} << QStringList{"add:a"};
        QTest::newRow("add twice") << QStringList{"add:a", "add:b"} << QStringList{"add:a", "tip:b"};
        QTest::newRow("add again after remove")
            << QStringList{"add:a", "remove", "add:b"} << QStringList{"add:a", "remove", "add:b"};
        QTest::newRow("message while shown")
            << QStringList{"add:a", "message"} << QStringList{"add:a", "message:Alarm|Over time"};
        QTest::newRow("message without icon") << QStringList{"message"} << QStringList{};
    }
    // clang-format on
    void platformCallsFollowTheIconsState()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, calls);
        FakeTrayIcon tray;
        for (const QString &step : steps) {
            if (step.startsWith("add:"))
                tray.add(step.mid(4));
            else if (step.startsWith("tip:"))
                tray.setTip(step.mid(4));
            else if (step == "remove")
                tray.remove();
            else if (step == "message")
                QCOMPARE(tray.showMessage("Alarm", "Over time"), tray.isAdded());
        }
        QCOMPARE(tray.calls(), calls);
    }
};

QTEST_GUILESS_MAIN(TestTrayIcon)
#include "tst_TrayIcon.moc"
