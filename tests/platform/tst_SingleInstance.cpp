#include "platform/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

// The test binary doubles as the other copy of the program: with LM_CHILD_ROLE set it runs
// one of these roles on the folder in LM_CHILD_LOCKDIR instead of the tests.
//   hold:   takes the lock, prints "locked", prints "raised" for every raise request, runs until killed
//   second: must not get the lock; exits 0 when the first copy acknowledged the raise request
namespace {

const char *const kRoleVariable = "LM_CHILD_ROLE";
const char *const kDirVariable = "LM_CHILD_LOCKDIR";
constexpr int kWaitMs = 10000;

int runChild(const QByteArray &role, const QString &lockDir)
{
    auto *instance = new SingleInstance(lockDir, qApp);
    if (role == "hold") {
        if (!instance->tryLock())
            return 2;
        QObject::connect(instance, &SingleInstance::raiseRequested, [] {
            std::fputs("raised\n", stdout);
            std::fflush(stdout);
        });
        std::fputs("locked\n", stdout);
        std::fflush(stdout);
        return QCoreApplication::exec();
    }
    if (role == "second") {
        if (instance->tryLock() || !instance->alreadyRunning())
            return 3;
        return instance->signalFirstCopy() ? 0 : 1;
    }
    return 4;
}

std::unique_ptr<QProcess> startChild(const QString &role, const QString &lockDir)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kRoleVariable), role);
    environment.insert(QString::fromLatin1(kDirVariable), lockDir);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->start(QCoreApplication::applicationFilePath(), {});
    return process;
}

// Waits (bounded) until the child has printed line; false when it never does.
bool waitForLine(QProcess &process, const QByteArray &line)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QByteArray seen;
    while (elapsed.elapsed() < kWaitMs) {
        seen += process.readAllStandardOutput();
        if (seen.split('\n').contains(line))
            return true;
        if (process.state() == QProcess::NotRunning)
            return false;
        process.waitForReadyRead(100);
    }
    return false;
}

// Sends raw bytes to a server and gives back what it answered before it hung up.
QByteArray exchange(const QString &serverName, const QByteArray &request)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(kWaitMs))
        return "<no connection>";
    QSignalSpy closed(&socket, &QLocalSocket::disconnected);
    QByteArray answer;
    QObject::connect(&socket, &QLocalSocket::readyRead, [&] { answer += socket.readAll(); });
    socket.write(request);
    socket.flush();
    if (socket.state() == QLocalSocket::ConnectedState && !closed.wait(kWaitMs))
        return "<still open>";
    return answer + socket.readAll();
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void secondLockInSameFolderIsRefused()
    {
        {
            SingleInstance first(m_dir->path());
            QVERIFY(first.tryLock());
            QVERIFY(first.isFirstCopy());

            SingleInstance second(m_dir->path());
            QVERIFY(!second.tryLock());
            QVERIFY(second.alreadyRunning());
            QVERIFY(!second.isFirstCopy());
        }
        // The first copy ended: the next start is a first copy again.
        SingleInstance next(m_dir->path());
        QVERIFY(next.tryLock());
    }

    void liveCopyInAnotherProcessKeepsItsLock_data()
    {
        QTest::addColumn<int>("lockAgeSeconds");
        QTest::newRow("just started") << 0;
        QTest::newRow("running for a day") << 24 * 3600;
    }
    void liveCopyInAnotherProcessKeepsItsLock()
    {
        QFETCH(int, lockAgeSeconds);
        auto holder = startChild("hold", m_dir->path());
        QVERIFY(waitForLine(*holder, "locked"));
        SingleInstance probe(m_dir->path());
        QFile lock(probe.lockFilePath());
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(
            lock.setFileTime(QDateTime::currentDateTime().addSecs(-lockAgeSeconds), QFileDevice::FileModificationTime));
        lock.close();

        QVERIFY(!probe.tryLock());
        QVERIFY(probe.alreadyRunning());
        // ...and the running copy is the one that hears the second start.
        QVERIFY(probe.signalFirstCopy());
        QVERIFY(waitForLine(*holder, "raised"));
        holder->kill();
        holder->waitForFinished(kWaitMs);
    }

    void lockOfKilledCopyIsTakenOver()
    {
        auto holder = startChild("hold", m_dir->path());
        QVERIFY(waitForLine(*holder, "locked"));
        holder->kill(); // SIGKILL: the lock file and the socket stay behind
        QVERIFY(holder->waitForFinished(kWaitMs));
        QVERIFY(QFile::exists(m_dir->filePath("lineminder.lock")));

        SingleInstance first(m_dir->path());
        QVERIFY2(first.tryLock(), qPrintable(first.errorString()));
        QVERIFY2(first.errorString().isEmpty(), qPrintable(first.errorString())); // listening despite the old socket

        // A later start reaches the new first copy, not the dead one.
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);
        auto second = startChild("second", m_dir->path());
        QSignalSpy ended(second.get(), &QProcess::finished);
        QVERIFY(ended.wait(kWaitMs));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(raised.count(), 1);
    }

    void raiseFromSecondProcessReachesFirstCopy()
    {
        SingleInstance first(m_dir->path());
        QVERIFY(first.tryLock());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);

        auto second = startChild("second", m_dir->path());
        QSignalSpy ended(second.get(), &QProcess::finished);
        QVERIFY(ended.wait(kWaitMs));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(raised.count(), 1);
    }

    void onlyTheRaiseRequestIsObeyed_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("raises");
        QTest::newRow("raise") << QByteArray("raise\n") << QByteArray("ok\n") << 1;
        QTest::newRow("raise with CR LF") << QByteArray("raise\r\n") << QByteArray("ok\n") << 1;
        QTest::newRow("other word") << QByteArray("quit\n") << QByteArray() << 0;
        QTest::newRow("other case") << QByteArray("RAISE\n") << QByteArray() << 0;
        QTest::newRow("empty line") << QByteArray("\n") << QByteArray() << 0;
        QTest::newRow("raise with tail") << QByteArray("raise now\n") << QByteArray() << 0;
        QTest::newRow("flood without line end") << QByteArray(1 << 20, 'x') << QByteArray() << 0;
        QTest::newRow("long line") << QByteArray(4096, 'x') + "\n" << QByteArray() << 0;
    }
    void onlyTheRaiseRequestIsObeyed()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, answer);
        QFETCH(int, raises);
        SingleInstance first(m_dir->path());
        QVERIFY(first.tryLock());
        QSignalSpy raised(&first, &SingleInstance::raiseRequested);

        QCOMPARE(exchange(first.serverName(), request), answer);
        QCOMPARE(raised.count(), raises);
    }

    void sameFolderGivesSameName_data()
    {
        QTest::addColumn<QString>("other"); // relative to the temporary folder; "*" is the folder itself
        QTest::addColumn<bool>("same");
        QTest::newRow("same spelling") << "*" << true;
        QTest::newRow("trailing slash") << "*/" << true;
        QTest::newRow("dot segments") << "*/a/.." << true;
        QTest::newRow("symbolic link") << "link" << true;
        QTest::newRow("subfolder") << "*/a" << false;
        QTest::newRow("sibling") << "b" << false;
    }
    void sameFolderGivesSameName()
    {
        QFETCH(QString, other);
        QFETCH(bool, same);
        QTemporaryDir base;
        const QString home = base.filePath("home");
        QVERIFY(QDir().mkpath(home + "/a"));
        QVERIFY(QDir().mkpath(base.filePath("b")));
        QVERIFY(QFile::link(home, base.filePath("link")));
        const QString otherPath = other.startsWith('*') ? home + other.mid(1) : base.filePath(other);

        SingleInstance first(home);
        SingleInstance second(otherPath);
        QCOMPARE(first.serverName() == second.serverName(), same);
        QVERIFY(first.tryLock());
        QCOMPARE(second.tryLock(), !same);
    }

    void differentFoldersDoNotInterfere()
    {
        QTemporaryDir otherDir;
        SingleInstance a(m_dir->path());
        SingleInstance b(otherDir.path());
        QVERIFY(a.tryLock());
        QVERIFY(b.tryLock());
        QSignalSpy raisedA(&a, &SingleInstance::raiseRequested);
        QSignalSpy raisedB(&b, &SingleInstance::raiseRequested);

        auto second = startChild("second", otherDir.path());
        QSignalSpy ended(second.get(), &QProcess::finished);
        QVERIFY(ended.wait(kWaitMs));
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(raisedB.count(), 1);
        QCOMPARE(raisedA.count(), 0);
    }

    void missingFolderIsAFailureNotAnotherCopy()
    {
        SingleInstance instance(m_dir->filePath("missing"));
        QVERIFY(!instance.tryLock());
        QVERIFY(!instance.alreadyRunning());
        QVERIFY(!instance.errorString().isEmpty());
    }

    void signalWithoutFirstCopyGivesUpInTime()
    {
        SingleInstance nobody(m_dir->path());
        QElapsedTimer elapsed;
        elapsed.start();
        QVERIFY(!nobody.signalFirstCopy(300));
        QVERIFY(elapsed.elapsed() < SingleInstance::kSignalTimeoutMs);
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QByteArray role = qgetenv(kRoleVariable);
    if (!role.isEmpty())
        return runChild(role, qEnvironmentVariable(kDirVariable));

    // Sockets go to a private runtime folder of this run (the children inherit it).
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    TestSingleInstance test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SingleInstance.moc"
