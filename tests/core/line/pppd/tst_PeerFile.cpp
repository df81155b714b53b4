#include "line/pppd/PeerFile.h"

#include <QTemporaryDir>
#include <QTest>

class TestPeerFile : public QObject
{
    Q_OBJECT

private slots:
    // pppd's reading of an options line (options.c getword).
    // clang-format off
    void readsWordsLikePppd_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("plain") << "user alice" << QStringList{"user", "alice"};
        QTest::newRow("double quotes") << "user \"a b\"" << QStringList{"user", "a b"};
        QTest::newRow("single quotes") << "connect 'chat \"x\"'" << QStringList{"connect", "chat \"x\""};
        QTest::newRow("escaped T") << "connect \"chat ATDT\\\\T\"" << QStringList{"connect", "chat ATDT\\T"};
        QTest::newRow("unknown escape") << "x a\\Tb" << QStringList{"x", "aTb"};
        QTest::newRow("escapes") << "x \\s\\101\\x41\\\"" << QStringList{"x", " AA\""};
        QTest::newRow("comment") << "lock # not noauth" << QStringList{"lock"};
        QTest::newRow("hash ends a word") << "lock#x" << QStringList{"lock"};
        QTest::newRow("hash quoted") << "x \"#1\"" << QStringList{"x", "#1"};
        QTest::newRow("empty word") << "x ''" << QStringList{"x", ""};
        QTest::newRow("continued line") << "connect \\\n  chat" << QStringList{"connect", "chat"};
    }
    // clang-format on
    void readsWordsLikePppd()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, words);
        QCOMPARE(PeerFile::Words(line), words);
    }

    // clang-format off
    void readsOwnLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("speed");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("connect");
        auto row = [](const char *name, const QByteArray &bytes, const char *device, int speed, const char *user,
                      const char *connect) {
            QTest::newRow(name) << bytes << QString(device) << speed << QString(user) << QString(connect);
        };
        row("one per line", "/dev/ttyS0\n115200\nuser \"alice\"\nconnect \"chat x\"\n", "/dev/ttyS0", 115200, "alice",
            "chat x");
        row("device and speed on a line", "/dev/ttyUSB0 57600\r\nuser bob\r\n", "/dev/ttyUSB0", 57600, "bob", "<none>");
        row("numbers of other options are not speeds", "idle 600\nholdoff 30\n", "", 0, "", "<none>");
        row("last one wins", "user a\nuser b\n", "", 0, "b", "<none>");
        row("connect over lines", "connect \"chat\n  ATZ\"\nlock\n", "", 0, "", "chat\n  ATZ");
    }
    // clang-format on
    void readsOwnLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, device);
        QFETCH(int, speed);
        QFETCH(QString, user);
        QFETCH(QString, connect);
        const PeerFile file = PeerFile::Parse(bytes);
        QCOMPARE(file.device(), device);
        QCOMPARE(file.speed(), speed);
        QCOMPARE(file.user(), user);
        QCOMPARE(file.connectCommand().value_or("<none>"), connect);
    }

    // An edit (speed and user here) keeps the lines it does not own, where they are, and what pppd
    // reads from them: splitting a device-and-speed line quotes the device as needed.
    // clang-format off
    void editKeepsOtherLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("edited");
        QTest::newRow("foreign lines") << QByteArray("# mine\n/dev/ttyS1 38400\nuser old\nidle 600\nuser older\nconnect \"chat\n  ATZ\"\nplugin /usr/lib/pppd/2.4.9/passwordfd.so\n")
                                       << QByteArray("# mine\n/dev/ttyS1\n57600\nuser \"new\"\nidle 600\nconnect \"chat\n  ATZ\"\nplugin /usr/lib/pppd/2.4.9/passwordfd.so\n");
        QTest::newRow("quoted device") << QByteArray("\"/dev/my modem\" 115200\n") << QByteArray("\"/dev/my modem\"\n57600\nuser \"new\"\n");
        QTest::newRow("escaped device") << QByteArray("/dev/my\\ modem 115200\n") << QByteArray("\"/dev/my modem\"\n57600\nuser \"new\"\n");
        QTest::newRow("cr lf") << QByteArray("/dev/ttyS0 115200\r\nconnect \"chat\r\n  ATZ\"\r\n")
                               << QByteArray("/dev/ttyS0\r\n57600\r\nconnect \"chat\r\n  ATZ\"\r\nuser \"new\"\r\n");
    }
    // clang-format on
    void editKeepsOtherLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, edited);
        PeerFile file = PeerFile::Parse(bytes);
        file.setSpeed(57600);
        file.setUser("new");
        QCOMPARE(file.toBytes(), edited);
        QCOMPARE(file.loadsPlugin(u"passwordfd.so"), bytes.contains("plugin"));
    }

    // Replacing the file is TextFiles' job; the peer file hands on its bytes, the
    // permissions and the failure.
    void writeHandsOnBytesAndPermissions()
    {
        QTemporaryDir dir;
        const PeerFile file = PeerFile::Parse("lock\n");
        const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
        QString error;
        QVERIFY(file.write(dir.filePath("isp"), permissions, &error));
        QCOMPARE(QFile::permissions(dir.filePath("isp")) & 0x7077, permissions); // owner, group, others; not "user"
        QCOMPARE(PeerFile::Read(dir.filePath("isp"))->toBytes(), QByteArray("lock\n"));
        QVERIFY(!file.write(dir.filePath("missing/isp"), permissions, &error) && !error.isEmpty());
        QVERIFY(!PeerFile::Read(dir.filePath("missing/isp"), &error));
    }
};

QTEST_GUILESS_MAIN(TestPeerFile)
#include "tst_PeerFile.moc"
