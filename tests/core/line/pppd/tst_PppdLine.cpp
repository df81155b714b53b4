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

#include "line/pppd/PeerFile.h"

namespace {

const QString kChatLine = QStringLiteral("/usr/sbin/chat -v -s -T 0123 ABORT BUSY '' ATZ OK 'ATDT\\T' CONNECT ''");

bool Alive(qint64 pid)
{
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

} // namespace

// PppdLine against fake_pppd (see there), a temporary peers folder, sysfs tree and run folder.
class TestPppdLine : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    PppdConfig m_config;

    QString path(const QString &relative) const { return m_dir->filePath(relative); }

    void writeFile(const QString &relative, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path(relative)).path());
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void writePeer(const QString &name, const QString &scenario, const QByteArray &password = "right",
                   const QString &connect = kChatLine, bool plugin = true)
    {
        writeFile("peers/" + name, "# fake-scenario: " + scenario.toUtf8() + "\n# fake-password: " + password +
                                       "\n/dev/ttyS0\n115200\n" + (plugin ? "plugin passwordfd.so\n" : "") +
                                       "connect " + PeerFile::Quoted(connect).toUtf8() + "\n");
    }

    // Lines fake_pppd recorded that start with prefix, without it.
    QStringList recorded(const QString &prefix) const
    {
        QFile file(path("record"));
        QStringList lines;
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : file.readAll().split('\n')) {
                if (line.startsWith(prefix.toUtf8()))
                    lines << QString::fromUtf8(line.mid(prefix.size()));
            }
        }
        return lines;
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(path("peers"));
        m_config = PppdConfig{FAKE_PPPD, "/usr/sbin/chat", path("peers"), path("sys"), path("run"), 300};
        qputenv("FAKE_PPPD_RECORD", path("record").toUtf8());
        qputenv("FAKE_PPPD_PEERS", path("peers").toUtf8());
    }

    // The password reaches pppd through its pipe only: never in argv or the environment.
    void walksToConnectedAndReadsCounters()
    {
        const QByteArray password = "pa ss'\"$(x)";
        writePeer("isp", "connected", password, kChatLine, false);
        writeFile("sys/ppp0/statistics/rx_bytes", "1000\n");
        writeFile("sys/ppp0/statistics/tx_bytes", "2000\n");
        PppdLine line(m_config);
        QSignalSpy spy(&line, &PppdLine::stateChanged);
        DUNStats stats;
        stats.CRC = 77; // no file for it: stays
        QVERIFY(!line.GetDUNStats(stats));

        const DialResult result = line.RasDial({"isp", QString(), "alice smith", password});
        QVERIFY(result.handle != 0);
        QCOMPARE(line.RasEnumConnections(), result.handle);
        QTRY_COMPARE_WITH_TIMEOUT(line.RasGetConnectStatus(result.handle).state, RasState::Connected, 10000);
        QList<int> states;
        for (const QList<QVariant> &change : spy) {
            QCOMPARE(change.at(2).value<quint32>(), RasError::None);
            states << change.at(1).toInt();
        }
        QCOMPARE(states, QList<int>({RasState::PortOpened, RasState::ConnectDevice, RasState::DeviceConnected,
                                     RasState::AllDevicesConnected, RasState::Authenticate, RasState::Authenticated,
                                     RasState::Connected}));
        QVERIFY(line.GetDUNStats(stats));
        QCOMPARE(stats.BytesRecvd, qint64(1000));
        QCOMPARE(stats.TotalBytesXmit, qint64(2000));
        QCOMPARE(stats.CRC, qint64(77));
        QCOMPARE(stats.ConnectSpeed, qint64(33600));

        QStringList started = recorded("arg ");
        const qsizetype fd = started.indexOf("passwordfd");
        QVERIFY(fd > 0);
        started[fd + 1] = "<fd>";
        QCOMPARE(started, QStringList({"call", "isp", "nodetach", "logfd", "1", "nopersist", "user", "alice smith",
                                       "plugin", "passwordfd.so", "passwordfd", "<fd>"}));
        QCOMPARE(recorded("password "), QStringList{"ok"});
        for (const QString &seen : recorded("arg ") + recorded("env "))
            QVERIFY2(!seen.contains(QString::fromUtf8(password)), qPrintable(seen));
    }

    // clang-format off
    void reportsFailures_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<quint32>("error");
        QTest::addColumn<int>("state");
        auto row = [](const char *name, const char *scenario, const QByteArray &password, quint32 error, int state) {
            QTest::newRow(name) << QString(scenario) << password << error << state;
        };
        row("busy", "busy", "", RasError::LineBusy, RasState::ConnectDevice);
        row("no carrier", "nocarrier", "", RasError::NoCarrier, RasState::ConnectDevice);
        row("chat timed out", "scriptfail", "", RasError::DeviceError, RasState::ConnectDevice);
        row("wrong password", "connected", "wrong", RasError::AuthenticationFailure, RasState::Authenticate);
        row("modem locked", "locked", "", RasError::PortNotAvailable, RasState::PortOpened);
        row("modem hung up", "peerhangup", "right", RasError::PortDisconnected, RasState::Disconnected);
    }
    // clang-format on
    void reportsFailures()
    {
        QFETCH(QString, scenario);
        QFETCH(QByteArray, password);
        QFETCH(quint32, error);
        QFETCH(int, state);
        writePeer("isp", scenario);
        PppdLine line(m_config);
        const RasHandle handle = line.RasDial({"isp", QString(), QString(), password}).handle;
        QTRY_VERIFY_WITH_TIMEOUT(!recorded("pid ").isEmpty() && !Alive(recorded("pid ").first().toLongLong()), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(line.RasGetConnectStatus(handle).error, error, 5000);
        QCOMPARE(line.RasGetConnectStatus(handle).state, state);
        QCOMPARE(recorded("password ").isEmpty(), password.isEmpty()); // no pipe without a password
        QCOMPARE(line.RasEnumConnections(), handle);                   // readable until hung up
        line.RasHangUp(handle);
        QCOMPARE(line.RasEnumConnections(), RasHandle(0));
        QCOMPARE(line.RasGetConnectStatus(handle).error, RasError::None);
    }

    // Each kind of refusal once; the texts refused are PppdInput's.
    // clang-format off
    void refusesAtOnce_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("pppd"); // "": the fake
        QTest::addColumn<quint32>("error");
        auto row = [](const char *name, const QString &entry, const QString &number, const QString &pppd,
                      quint32 error) { QTest::newRow(name) << entry << number << pppd << error; };
        row("no peer file", "nosuch", "", "", RasError::CannotFindEntry);
        row("path as entry", "../peers/isp", "", "", RasError::CannotFindEntry);
        row("no pppd", "isp", "", "missing", RasError::ServiceFailed);
        row("pppd not executable", "isp", "", "plain", RasError::ServiceFailed);
        row("command in number", "isp", "0123; reboot", "", RasError::NotSupported);
        row("other number, entry without chat", "script", "0123", "", RasError::NotSupported);
    }
    // clang-format on
    void refusesAtOnce()
    {
        QFETCH(QString, entry);
        QFETCH(QString, number);
        QFETCH(QString, pppd);
        QFETCH(quint32, error);
        writePeer("isp", "connected");
        writePeer("script", "connected", "right", "/usr/local/bin/dial-isp");
        writeFile("plain", "#!/bin/sh\n");
        if (!pppd.isEmpty())
            m_config.pppdPath = path(pppd);
        PppdLine line(m_config);
        const DialResult result = line.RasDial({entry, number, QString(), "pw"});
        QCOMPARE(result.handle, RasHandle(0));
        QCOMPARE(result.error, error);
        QVERIFY(!result.errorText.isEmpty());
        QCOMPARE(line.RasEnumConnections(), RasHandle(0));
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
        writePeer("isp", scenario);
        writePeer("next", "busy");
        PppdLine line(m_config);
        const RasHandle handle = line.RasDial({"isp", QString(), QString(), "right"}).handle;
        QTRY_COMPARE_WITH_TIMEOUT(line.RasGetConnectStatus(handle).state, RasState::Connected, 10000);
        QCOMPARE(line.RasDial({"isp", QString(), QString(), QByteArray()}).error, RasError::PortNotAvailable);
        const qint64 pid = recorded("pid ").value(0).toLongLong();

        QElapsedTimer clock;
        clock.start();
        line.RasHangUp(handle);
        QCOMPARE(line.RasEnumConnections(), RasHandle(0)); // at once, without waiting for pppd
        QVERIFY(Alive(pid));
        // A new call waits for the old pppd to let go of the modem.
        const RasHandle next = line.RasDial({"next", QString(), QString(), QByteArray()}).handle;
        QCOMPARE(line.RasGetConnectStatus(next).state, RasState::OpenPort);
        QTRY_VERIFY_WITH_TIMEOUT(!Alive(pid), 5000);
        QCOMPARE(recorded("term-ignored").size(), ignoresTerm ? 1 : 0);
        if (ignoresTerm)
            QVERIFY(clock.elapsed() >= m_config.hangUpGraceMs - 50);
        QTRY_COMPARE_WITH_TIMEOUT(line.RasGetConnectStatus(next).error, RasError::LineBusy, 10000);
    }

    // clang-format off
    void seesAndHangsUpOutsideLinks_data()
    {
        QTest::addColumn<QByteArray>("flags");
        QTest::addColumn<QString>("pidFile"); // "pppd", "sleep": that process's pid; otherwise the content
        QTest::addColumn<bool>("seen");
        QTest::newRow("up, run by pppd") << QByteArray("0x1091") << "pppd" << true;
        QTest::newRow("down") << QByteArray("0x1090") << "pppd" << false;
        QTest::newRow("stale: pid of another program") << QByteArray("0x1091") << "sleep" << false;
        QTest::newRow("no pid file") << QByteArray("0x1091") << "" << false;
        QTest::newRow("pid 1") << QByteArray("0x1091") << "1\n" << false;
        QTest::newRow("process group") << QByteArray("0x1091") << "-1234\n" << false;
        QTest::newRow("beyond pid_max") << QByteArray("0x1091") << "99999999\n" << false;
        QTest::newRow("words") << QByteArray("0x1091") << "12 34\n" << false;
    }
    // clang-format on
    void seesAndHangsUpOutsideLinks()
    {
        QFETCH(QByteArray, flags);
        QFETCH(QString, pidFile);
        QFETCH(bool, seen);
        QProcess other;
        other.start(pidFile == "sleep" ? QString("sleep") : QString(FAKE_PPPD), {pidFile == "sleep" ? "30" : "idle"});
        QVERIFY(other.waitForStarted(5000));
        if (pidFile != "sleep") // its SIGTERM handler is in place once it has written its record
            QTRY_VERIFY_WITH_TIMEOUT(!recorded("pid ").isEmpty(), 5000);
        writeFile("sys/ppp3/flags", flags + "\n");
        writeFile("sys/ppp3/statistics/tx_bytes", "4096\n");
        const bool ownPid = pidFile == "pppd" || pidFile == "sleep";
        if (!pidFile.isEmpty())
            writeFile("run/ppp3.pid", ownPid ? QByteArray::number(other.processId()) + "\n" : pidFile.toUtf8());

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
            // SIGTERM, as for pppd (its status 5), not a kill.
            QVERIFY(other.waitForFinished(5000));
            QCOMPARE(other.exitCode(), 5);
        }
        other.kill();
        other.waitForFinished(5000);
    }

    void listsPeerFiles()
    {
        for (const char *name : {"isp", "b-isp", ".hidden", "isp~", "isp.bak", "isp.dpkg-old"})
            writeFile(QString("peers/") + name, "lock\n");
        QDir().mkpath(path("peers/folder"));
        QCOMPARE(PppdLine(m_config).RasEnumEntries(), QStringList({"b-isp", "isp"}));
    }

    void createsAndEditsEntries()
    {
        PppdLine line(m_config);
        QString error;
        const PhonebookEntry home{"home", "/dev/ttyUSB0", 57600, "0123 456", "alice"};
        QVERIFY2(line.RasCreatePhonebookEntry(home, &error), qPrintable(error));
        auto read = line.entry("home");
        QCOMPARE(QStringList({read->device, QString::number(read->speed), read->number, read->user}),
                 QStringList({home.device, QString::number(home.speed), home.number, home.user}));
        QVERIFY(!line.RasCreatePhonebookEntry(home, &error)); // never replaced
        QVERIFY(!error.isEmpty());

        QFile file(path("peers/home"));
        QVERIFY(file.open(QIODevice::Append));
        file.write("idle 600\n");
        file.close();
        QVERIFY2(line.RasEditPhonebookEntry({"home", QString(), 0, "999", QString()}, &error), qPrintable(error));
        read = line.entry("home");
        QCOMPARE(QStringList({read->device, QString::number(read->speed), read->number, read->user}),
                 QStringList({home.device, QString::number(home.speed), "999", ""}));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("\nidle 600\n"));
        QVERIFY(!line.RasEditPhonebookEntry({"nosuch", QString(), 0, "1", QString()}, &error));

        // A line added after an open quote would become part of the quoted word.
        const QByteArray open = "/dev/ttyS0\nuser \"alice\n";
        writeFile("peers/open", open);
        QVERIFY(!line.RasEditPhonebookEntry({"open", QString(), 115200, "1", "bob"}, &error));
        QVERIFY(error.contains("open quote"));
        QFile unchanged(path("peers/open"));
        QVERIFY(unchanged.open(QIODevice::ReadOnly));
        QCOMPARE(unchanged.readAll(), open);

        // A rename keeps every line and never replaces another entry.
        auto bytes = [this](const QString &relative) {
            QFile peer(path(relative));
            return peer.open(QIODevice::ReadOnly) ? peer.readAll() : QByteArray();
        };
        const QByteArray before = bytes("peers/home");
        QVERIFY(!line.RasRenamePhonebookEntry("home", "open", &error));
        QVERIFY2(line.RasRenamePhonebookEntry("home", "office", &error), qPrintable(error));
        QCOMPARE(line.RasEnumEntries(), QStringList({"office", "open"}));
        QCOMPARE(bytes("peers/office"), before);
    }

    // What an entry may hold is PppdInput's; a refused or failed write leaves no file.
    void refusedOrFailedWritesLeaveNoFile()
    {
        writeFile("plain", "x");
        QString error;
        QVERIFY(!PppdLine(m_config).RasCreatePhonebookEntry({"../isp", "/dev/ttyS0", 115200, "0123", ""}, &error));
        m_config.peersDir = path("plain/peers"); // under a file: fails even for root
        QVERIFY(!PppdLine(m_config).RasCreatePhonebookEntry({"isp", "/dev/ttyS0", 115200, "0123", ""}, &error));
        QVERIFY2(error.contains(m_config.peersDir) &&
                     error.contains("unless the group dip may write there (see PPPD.md)"),
                 qPrintable(error));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plain"});
        QCOMPARE(QDir(path("peers")).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestPppdLine)
#include "tst_PppdLine.moc"
