#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The installed program asked for its help or version where no window system is reachable.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    // "platform" is the child's QT_QPA_PLATFORM; empty: none, and no display either.
    // clang-format off
    void answers_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("platform");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::newRow("version") << QStringList{"--version"} << "" << 0 << "LineMinder " PROJECT_VERSION "\n";
        QTest::newRow("help after Qt's option") << QStringList{"-platform", "xcb", "-h"} << "" << 0 << "--version";
        QTest::newRow("unknown option") << QStringList{"--bogus"} << "offscreen" << 1 << "Unknown option 'bogus'.";
    }
    // clang-format on
    void answers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, platform);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        const QTemporaryDir home;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        if (!platform.isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        environment.insert(QStringLiteral("LINEMINDER_HOME"), home.path());
        environment.insert(QStringLiteral("LINEMINDER_LINE"), QStringLiteral("simulated"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(QStringLiteral(LINEMINDER_BINARY), arguments);
        const bool ended = program.waitForFinished(20'000);
        const QString written = QString::fromUtf8(program.readAll());
        if (!ended)
            program.kill();
        QVERIFY2(ended, qPrintable(written));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        QVERIFY2(written.contains(output), qPrintable(written));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_CommandLine.moc"
