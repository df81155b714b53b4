#include "platform/ProgramLauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The real launcher starts a script in a folder whose name holds a blank; the script leaves
// its first argument in a marker file.
class TestProgramLauncher : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void startsPrograms_data()
    {
        QTest::addColumn<QString>("commandLine"); // %1: the script's path
        QTest::addColumn<bool>("started");
        QTest::addColumn<QByteArray>("marker");
        QTest::newRow("path with blanks") << "%1" << true << QByteArray("none");
        QTest::newRow("quoted path, argument") << "\"%1\" \"a b\"" << true << QByteArray("a b");
        QTest::newRow("missing program") << "%1.missing x" << false << QByteArray();
    }
    // clang-format on
    void startsPrograms()
    {
        QFETCH(QString, commandLine);
        QFETCH(bool, started);
        QFETCH(QByteArray, marker);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("my programs"));
        const QString script = dir.filePath("my programs/run me");
        const QString markerPath = dir.filePath("marker");
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nprintf '%s' \"${1:-none}\" > \"$(dirname \"$0\")/../marker\"\n");
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));

        ProcessLauncher launcher;
        QString error;
        QCOMPARE(launcher.start(commandLine.arg(script), ProgramLauncher::WindowStyle::NormalFocus, &error), started);
        if (!started) {
            QVERIFY(!error.isEmpty());
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(QFile(markerPath).size() == marker.size(), 10000);
        QFile written(markerPath);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), marker);
    }
};

QTEST_GUILESS_MAIN(TestProgramLauncher)
#include "tst_ProgramLauncher.moc"
