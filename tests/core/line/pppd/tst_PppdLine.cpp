#include "line/pppd/PppdLine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <signal.h>

#include <cerrno>
#include <memory>

// PppdLine's process life cycle against fake_pppd (see there), in a temporary peers folder, sysfs
// tree and run folder. What pppd is told and what its log means are tst_pppdtexts' tables.
class TestPppdLine : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    PppdConfig m_config;

    static bool Alive(qint64 pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }
    QString path(const QString &relative) const { return m_dir->filePath(relative); }

    void writeFile(const QString &relative, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    QByteArray readFile(const QString &relative) const
    {
        QFile file(path(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Lines fake_pppd recorded that start with prefix, without it.
    QStringList recorded(const QString &prefix) const
    {
        QStringList lines;
        for (const QString &line : QString::fromUtf8(readFile("record")).split('\n'))
            if (line.startsWith(prefix))
                lines << line.mid(prefix.size());
        return lines;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        for (const char *name : {"connected", "busy", "scriptfail", "peerhangup", "ignoreterm"})
            writeFile(QString("peers/") + name, "lock\n"); // the entry's name is fake_pppd's script
        m_config = PppdConfig{FAKE_PPPD, "/usr/sbin/chat", path("peers"), path("sys"), path("run"), 300};
        qputenv("FAKE_PPPD_RECORD", path("record").toUtf8());
    }

    // The password reaches pppd through its pipe only: never in argv or the environment.
    void walksToConnectedAndReadsCounters()
    {
        const QByteArray password = "pa ss'\"$(x)";
        writeFile("sys/ppp0/statistics/rx_bytes", "1000\n");
        writeFile("sys/ppp0/statistics/tx_bytes", "2000\n");
        PppdLine line(m_config);
        QSignalSpy spy(&line, &PppdLine::stateChanged);

        const RasHandle handle = line.RasDial({"connected", QString(), "alice smith", password}).handle;
        QCOMPARE(line.RasEnumConnections(), handle);
        QTRY_COMPARE_WITH_TIMEOUT(line.RasGetConnectStatus(handle).state, RasState::Connected, 10000);
        QList<int> states;
        for (const QList<QVariant> &change : spy)
            states << (change.at(2).value<quint32>() == RasError::None ? change.at(1).toInt() : -1);
        QCOMPARE(states, QList<int>({RasState::PortOpened, RasState::ConnectDevice, RasState::DeviceConnected,
                                     RasState::AllDevicesConnected, RasState::Authenticate, RasState::Authenticated,
                                     RasState::Connected}));
        DUNStats stats;
        QVERIFY(line.GetDUNStats(stats)); // from the interface the log named, with the modem's speed
        QCOMPARE(QList<qint64>({stats.BytesRecvd, stats.TotalBytesXmit, stats.ConnectSpeed}),
                 QList<qint64>({1000, 2000, 33600}));

        const QStringList started = recorded("arg ");
        QCOMPARE(started.mid(0, started.size() - 1), // the last is the pipe's descriptor
                 QStringList({"call", "connected", "nodetach", "logfd", "1", "nopersist", "user", "alice smith",
                              "plugin", "passwordfd.so", "passwordfd"}));
        QCOMPARE(recorded("password "), QStringList{QString::fromUtf8(password)});
        QVERIFY((recorded("arg ") + recorded("env ")).filter(QString::fromUtf8(password)).isEmpty());
    }

    // A failure keeps the state the call had reached and its first cause; one that was up is Disconnected.
    // clang-format off
    void reportsFailures_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<quint32>("error");
        QTest::addColumn<int>("state");
        QTest::newRow("busy, then exit 8") << "busy" << RasError::LineBusy << RasState::ConnectDevice;
        QTest::newRow("chat timed out: exit 8") << "scriptfail" << RasError::DeviceError << RasState::ConnectDevice;
        QTest::newRow("modem hung up") << "peerhangup" << RasError::PortDisconnected << RasState::Disconnected;
    }
    // clang-format on
    void reportsFailures()
    {
        QFETCH(QString, scenario);
        QFETCH(quint32, error);
        PppdLine line(m_config);
        const RasHandle handle = line.RasDial({scenario, QString(), QString(), QByteArray()}).handle;
        QTRY_VERIFY_WITH_TIMEOUT(!recorded("pid ").isEmpty() && !Alive(recorded("pid ").first().toLongLong()), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(line.RasGetConnectStatus(handle).error, error, 5000);
        QTEST(line.RasGetConnectStatus(handle).state, "state");
        QVERIFY(!recorded("arg ").contains("passwordfd")); // no pipe without a password
        QCOMPARE(line.RasEnumConnections(), handle);       // readable until hung up
        line.RasHangUp(handle);
        QCOMPARE(line.RasEnumConnections(), RasHandle(0));
        QCOMPARE(line.RasGetConnectStatus(handle).error, RasError::None);
    }

    // Each check RasDial makes before pppd runs, once.
    // clang-format off
    void refusesAtOnce_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("pppd"); // "": the fake
        QTest::addColumn<quint32>("error");
        QTest::newRow("no peer file") << "nosuch" << "" << "" << RasError::CannotFindEntry;
        QTest::newRow("path as entry") << "../peers/busy" << "" << "" << RasError::CannotFindEntry;
        QTest::newRow("pppd not executable") << "busy" << "" << "peers/busy" << RasError::ServiceFailed;
        QTest::newRow("command in number") << "busy" << "0123; reboot" << "" << RasError::NotSupported;
    }
    // clang-format on
    void refusesAtOnce()
    {
        QFETCH(QString, entry);
        QFETCH(QString, number);
        QFETCH(QString, pppd);
        if (!pppd.isEmpty())
            m_config.pppdPath = path(pppd);
        PppdLine line(m_config);
        const DialResult result = line.RasDial({entry, number, QString(), "pw"});
        QTEST(result.error, "error");
        QVERIFY(result.handle == 0 && !result.errorText.isEmpty() && line.RasEnumConnections() == 0);
        QVERIFY(!QFile::exists(path("record"))); // pppd never ran
    }

    // clang-format off
    void hangsUp_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<bool>("ignoresTerm");
        QTest::newRow("pppd ends on SIGTERM") << "connected" << false;
        QTest::newRow("pppd ignores SIGTERM: killed after the grace") << "ignoreterm" << true;
    }
    // clang-format on
    void hangsUp()
    {
        QFETCH(QString, scenario);
        QFETCH(bool, ignoresTerm);
        PppdLine line(m_config);
        const RasHandle handle = line.RasDial({scenario, QString(), QString(), "pw"}).handle;
        QTRY_COMPARE_WITH_TIMEOUT(line.RasGetConnectStatus(handle).state, RasState::Connected, 10000);
        QCOMPARE(line.RasDial({"busy", QString(), QString(), QByteArray()}).error, RasError::PortNotAvailable);
        const qint64 pid = recorded("pid ").value(0).toLongLong();

        QElapsedTimer clock;
        clock.start();
        line.RasHangUp(handle);
        QCOMPARE(line.RasEnumConnections(), RasHandle(0)); // at once, without waiting for pppd
        QVERIFY(Alive(pid));
        // A new call waits for the old pppd to let go of the modem.
        const RasHandle next = line.RasDial({"busy", QString(), QString(), QByteArray()}).handle;
        QCOMPARE(line.RasGetConnectStatus(next).state, RasState::OpenPort);
        QTRY_VERIFY_WITH_TIMEOUT(!Alive(pid), 5000);
        QCOMPARE(recorded("term-ignored").size(), ignoresTerm ? 1 : 0);
        QVERIFY(!ignoresTerm || clock.elapsed() >= m_config.hangUpGraceMs - 50);
        QTRY_COMPARE_WITH_TIMEOUT(line.RasGetConnectStatus(next).error, RasError::LineBusy, 10000);
    }

    // A link is another pppd's only while its pid file names a live process of pppd's name.
    // clang-format off
    void seesAndHangsUpOutsideLinks_data()
    {
        QTest::addColumn<QByteArray>("flags");
        QTest::addColumn<QString>("pidOf"); // whose pid the pid file holds
        QTest::addColumn<bool>("seen");
        QTest::newRow("up, run by pppd") << QByteArray("0x1091") << "pppd" << true;
        QTest::newRow("down") << QByteArray("0x1090") << "pppd" << false;
        QTest::newRow("stale: pid of another program") << QByteArray("0x1091") << "sleep" << false;
    }
    // clang-format on
    void seesAndHangsUpOutsideLinks()
    {
        QFETCH(QByteArray, flags);
        QFETCH(QString, pidOf);
        QFETCH(bool, seen);
        QProcess other;
        other.start(pidOf == "sleep" ? QString("sleep") : QString(FAKE_PPPD), {pidOf == "sleep" ? "30" : "nodetach"});
        QVERIFY(other.waitForStarted(5000));
        if (pidOf != "sleep") // its SIGTERM handler is in place once it has written its record
            QTRY_VERIFY_WITH_TIMEOUT(!recorded("pid ").isEmpty(), 5000);
        writeFile("sys/ppp3/flags", flags + "\n");
        writeFile("sys/ppp3/statistics/tx_bytes", "4096\n");
        writeFile("run/ppp3.pid", QByteArray::number(other.processId()) + "\n");

        PppdLine line(m_config);
        const RasHandle handle = line.RasEnumConnections();
        DUNStats stats;
        QCOMPARE(handle != 0, seen);
        QCOMPARE(line.GetDUNStats(stats), seen);
        if (seen) {
            QCOMPARE(line.RasGetConnectStatus(handle).state, RasState::Connected);
            QCOMPARE(stats.BytesXmit, qint64(4096));
            line.RasHangUp(handle);
            QCOMPARE(line.RasEnumConnections(), RasHandle(0));
            QVERIFY(other.waitForFinished(5000)); // SIGTERM, as for pppd (its status 5), not a kill
            QCOMPARE(other.exitCode(), 5);
        } // ~QProcess kills what is left
    }

    void listsPeerFiles()
    {
        for (const char *name : {".hidden", "isp~", "isp.bak", "isp.dpkg-old"})
            writeFile(QString("peers/") + name, "lock\n");
        QDir().mkpath(path("peers/folder"));
        QCOMPARE(PppdLine(m_config).RasEnumEntries(),
                 QStringList({"busy", "connected", "ignoreterm", "peerhangup", "scriptfail"}));
    }

    // Edit keeps the lines it does not own; a refused write changes no file.
    void createsAndEditsEntries()
    {
        PppdLine line(m_config);
        QString error;
        auto read = [&line](const QString &name) {
            const auto entry = line.entry(name).value_or(PhonebookEntry());
            return QStringList({entry.device, QString::number(entry.speed), entry.number, entry.user});
        };
        QVERIFY2(line.RasCreatePhonebookEntry({"home", "/dev/ttyUSB0", 57600, "0123 456", "alice"}, &error),
                 qPrintable(error));
        QCOMPARE(read("home"), QStringList({"/dev/ttyUSB0", "57600", "0123 456", "alice"}));
        QVERIFY(!line.RasCreatePhonebookEntry({"home", "/dev/ttyS0", 57600, "1", ""}, &error)); // never replaced
        QVERIFY(!line.RasCreatePhonebookEntry({"../isp", "/dev/ttyS0", 115200, "0123", ""}, &error));

        writeFile("peers/home", readFile("peers/home") + "idle 600\n");
        QVERIFY2(line.RasEditPhonebookEntry({"home", "/dev/ttyS1", 0, "999", QString()}, &error), qPrintable(error));
        QCOMPARE(read("home"), QStringList({"/dev/ttyS1", "57600", "999", ""}));
        QVERIFY(readFile("peers/home").contains("\nidle 600\n"));
        QCOMPARE(QFile::permissions(path("peers/home")) & 0x7077, // for pppd run by the dip group, kept on edit
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
        QVERIFY(!line.RasEditPhonebookEntry({"nosuch", QString(), 0, "1", QString()}, &error));

        // A line added after an open quote would become part of the quoted word.
        const QByteArray open = "/dev/ttyS0\nuser \"alice\n";
        writeFile("peers/open", open);
        QVERIFY(!line.RasEditPhonebookEntry({"open", QString(), 115200, "1", "bob"}, &error) &&
                error.contains("open quote"));
        QCOMPARE(readFile("peers/open"), open);

        // A rename keeps every line and never replaces another entry.
        const QByteArray before = readFile("peers/home");
        QVERIFY(!line.RasRenamePhonebookEntry("home", "open", &error));
        QVERIFY2(line.RasRenamePhonebookEntry("home", "office", &error), qPrintable(error));
        QVERIFY(line.RasEnumEntries().contains("office") && !line.RasEnumEntries().contains("home"));
        QCOMPARE(readFile("peers/office"), before);

        // A folder the program may not write (here: under a file, which even root cannot) is
        // refused with the way out.
        writeFile("plain", "x");
        m_config.peersDir = path("plain/peers");
        QVERIFY(!PppdLine(m_config).RasCreatePhonebookEntry({"isp", "/dev/ttyS0", 115200, "0123", ""}, &error));
        QVERIFY2(error.contains(m_config.peersDir) && error.contains("(see PPPD.md)"), qPrintable(error));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plain"});
    }
};

QTEST_GUILESS_MAIN(TestPppdLine)
#include "tst_PppdLine.moc"
