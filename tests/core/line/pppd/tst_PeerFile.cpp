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
        QTest::newRow("quote inside a word") << "x a\\\"b" << QStringList{"x", "a\"b"};
    }
    // clang-format on
    void readsWordsLikePppd()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, words);
        QCOMPARE(PeerFile::Words(line), words);
        // What this program writes reads back as the same words.
        QStringList written;
        for (const QString &word : words)
            written << PeerFile::Written(word);
        QCOMPARE(PeerFile::Words(written.join(' ')), words);
    }

    // What this program reads of a file (device, speed, user, connect) and the file after an edit
    // of speed and user: the lines it does not own stay where they are and read the same.
    // clang-format off
    void readsAndEditsOwnLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("read");
        QTest::addColumn<QByteArray>("edited");
        QTest::newRow("one per line") << QByteArray("/dev/ttyS0\n115200\nuser \"alice\"\nconnect \"chat x\"\n") << QStringList{"/dev/ttyS0", "115200", "alice", "chat x"}
                                      << QByteArray("/dev/ttyS0\n57600\nuser \"new\"\nconnect \"chat x\"\n");
        QTest::newRow("foreign lines, the last user wins") << QByteArray("# mine\n/dev/ttyS1 38400\nuser old\nidle 600\nholdoff 30\nuser older\nconnect \"chat\n  ATZ\"\nplugin /usr/lib/pppd/2.4.9/passwordfd.so\n")
                                                           << QStringList{"/dev/ttyS1", "38400", "older", "chat\n  ATZ"}
                                                           << QByteArray("# mine\n/dev/ttyS1\n57600\nuser \"new\"\nidle 600\nholdoff 30\nconnect \"chat\n  ATZ\"\nplugin /usr/lib/pppd/2.4.9/passwordfd.so\n");
        QTest::newRow("quoted device") << QByteArray("\"/dev/my modem\" 115200\n") << QStringList{"/dev/my modem", "115200", "", ""} << QByteArray("\"/dev/my modem\"\n57600\nuser \"new\"\n");
        QTest::newRow("escaped device") << QByteArray("/dev/my\\ modem 115200\n") << QStringList{"/dev/my modem", "115200", "", ""} << QByteArray("\"/dev/my modem\"\n57600\nuser \"new\"\n");
        QTest::newRow("cr lf") << QByteArray("/dev/ttyUSB0 115200\r\nuser bob\r\nconnect \"chat\r\n  ATZ\"\r\n") << QStringList{"/dev/ttyUSB0", "115200", "bob", "chat\r\n  ATZ"}
                               << QByteArray("/dev/ttyUSB0\r\n57600\r\nuser \"new\"\r\nconnect \"chat\r\n  ATZ\"\r\n");
    }
    // clang-format on
    void readsAndEditsOwnLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, read);
        QFETCH(QByteArray, edited);
        PeerFile file = PeerFile::Parse(bytes);
        QCOMPARE(QStringList(
                     {file.device(), QString::number(file.speed()), file.user(), file.connectCommand().value_or("")}),
                 read);
        QCOMPARE(file.loadsPlugin(u"passwordfd.so"), bytes.contains("plugin"));
        file.setSpeed(57600);
        file.setUser("new");
        QCOMPARE(file.toBytes(), edited);
    }

    // Replacing the file is TextFiles' job, the permissions PeerEntries' (see tst_pppdline); the peer
    // file hands on the failure.
    void reportsWriteAndReadFailures()
    {
        QTemporaryDir dir;
        QString error;
        QVERIFY(!PeerFile::Parse("lock\n").write(dir.filePath("missing/isp"), QFileDevice::ReadOwner, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!PeerFile::Read(dir.filePath("missing/isp"), &error));
    }
};

QTEST_GUILESS_MAIN(TestPeerFile)
#include "tst_PeerFile.moc"
