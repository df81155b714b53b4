#include "platform/SingleInstance.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

// The test binary doubles as the other copy of the program: "--child ROLE FOLDER" runs
//   hold:   takes the lock, prints "locked", prints "raised" for every raise request, runs until killed
//   second: must not get the lock; exits 0 when the first copy acknowledged the raise request
namespace {

constexpr int kWaitMs = 10000;

void say(const char *line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}

int runChild(const QString &role, const QString &lockDir)
{
    auto *instance = new SingleInstance(lockDir, qApp);
    if (role == "second")
        return !instance->tryLock() && instance->alreadyRunning() && instance->signalFirstCopy() ? 0 : 1;
    if (!instance->tryLock())
        return 2;
    QObject::connect(instance, &SingleInstance::raiseRequested, [] { say("raised"); });
    say("locked");
    return QCoreApplication::exec();
}

std::unique_ptr<QProcess> startChild(const QString &role, const QString &lockDir)
{
    auto process = std::make_unique<QProcess>();
    process->start(QCoreApplication::applicationFilePath(), {"--child", role, lockDir});
    return process;
}

// Waits (bounded) until the child has printed line; false when it never does.
bool waitForLine(QProcess &process, const QByteArray &line)
{
    while (process.canReadLine() || process.waitForReadyRead(kWaitMs))
        if (process.canReadLine() && process.readLine() == line + '\n')
            return true;
    return false;
}

// Starts a second copy on lockDir; true when it was refused the lock and the first copy
// acknowledged its raise request. Runs the event loop so a first copy in this process answers.
bool secondStartRaises(const QString &lockDir)
{
    auto second = startChild("second", lockDir);
    QSignalSpy ended(second.get(), &QProcess::finished);
    return ended.wait(kWaitMs) && second->exitStatus() == QProcess::NormalExit && second->exitCode() == 0;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void oneLockPerFolder()
    {
        {
            SingleInstance first(m_dir->path());
            SingleInstance second(m_dir->path());
            QVERIFY(first.tryLock());
            QVERIFY(!second.tryLock() && second.alreadyRunning());
        }
        // The first copy ended: the next start is a first copy again.
        SingleInstance next(m_dir->path());
        QVERIFY(next.tryLock());
        // A missing folder is a failure, not another copy.
        SingleInstance missing(m_dir->filePath("missing"));
        QVERIFY(!missing.tryLock() && !missing.alreadyRunning() && !missing.errorString().isEmpty());
    }

    // A live copy keeps its lock however old the file is; a killed one leaves a lock
    // (and socket) that the next start takes over.
    // clang-format off
    void lockOfAnotherProcess_data()
    {
        QTest::addColumn<bool>("killed");
        QTest::newRow("alive for a day") << false;
        QTest::newRow("killed") << true;
    }
    // clang-format on
    void lockOfAnotherProcess()
    {
        QFETCH(bool, killed);
        auto holder = startChild("hold", m_dir->path());
        QVERIFY(waitForLine(*holder, "locked"));
        SingleInstance probe(m_dir->path());
        if (killed) {
            holder->kill(); // SIGKILL: nothing is cleaned up
            QVERIFY(holder->waitForFinished(kWaitMs));
            QVERIFY(QFile::exists(probe.lockFilePath()));
        } else {
            QFile lock(probe.lockFilePath());
            QVERIFY(lock.open(QIODevice::ReadWrite));
            QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        }
        QCOMPARE(probe.tryLock(), killed);
        QCOMPARE(probe.alreadyRunning(), !killed);
        if (!killed) { // the running copy is the one that hears the second start
            QVERIFY(probe.signalFirstCopy());
            QVERIFY(waitForLine(*holder, "raised"));
            return;
        }
        QVERIFY2(probe.errorString().isEmpty(), qPrintable(probe.errorString())); // listening despite the old socket
        QSignalSpy raised(&probe, &SingleInstance::raiseRequested);
        QVERIFY(secondStartRaises(m_dir->path()));
        QCOMPARE(raised.count(), 1);
    }

    // The raise request of a second process reaches the first copy of its own folder only.
    void raiseReachesOnlyTheSameFolder()
    {
        QTemporaryDir otherDir;
        SingleInstance a(m_dir->path());
        SingleInstance b(otherDir.path());
        QVERIFY(a.tryLock() && b.tryLock());
        QVERIFY(a.serverName() != b.serverName());
        QSignalSpy raisedA(&a, &SingleInstance::raiseRequested);
        QSignalSpy raisedB(&b, &SingleInstance::raiseRequested);
        QVERIFY(secondStartRaises(otherDir.path()));
        QCOMPARE(QList<int>({int(raisedA.count()), int(raisedB.count())}), QList<int>({0, 1}));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "--child")
        return runChild(args[2], args[3]);

    // Sockets go to a private runtime folder of this run (the children inherit it).
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    TestSingleInstance test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SingleInstance.moc"
