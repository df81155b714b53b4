// The real chat (package ppp) run on a pseudo-terminal against a scripted modem, with the
// connect line of an entry PppdLine created, read back the way pppd reads a peer file and
// handed to /bin/sh as pppd does. Shows that the quoting survives both, that the number
// reaches the modem, and that chat's report lines mean to the parser what they should.

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include "line/pppd/PeerFile.h"
#include "line/pppd/PppdConnectLine.h"
#include "line/pppd/PppdLine.h"
#include "line/pppd/PppdOutput.h"

namespace {
const QString kChat = QStringLiteral("/usr/sbin/chat");
} // namespace

class TestChatModem : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void chatReportsReachTheParser_data()
    {
        QTest::addColumn<QString>("number"); // "": the entry's own
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<quint32>("error");
        QTest::addColumn<int>("state");
        QTest::addColumn<qint64>("speed");
        QTest::newRow("busy") << "" << QByteArray("\r\nBUSY\r\n") << RasError::LineBusy << RasState::ConnectDevice << 0LL;
        QTest::newRow("connect, another number") << "0800 (555) 12" << QByteArray("\r\nCONNECT 33600/ARQ\r\n")
                                                 << RasError::None << RasState::DeviceConnected << 33600LL;
    }
    // clang-format on
    void chatReportsReachTheParser()
    {
        QFETCH(QString, number);
        QFETCH(QByteArray, answer);
        QFETCH(quint32, error);
        QFETCH(int, state);
        QFETCH(qint64, speed);
        if (!QFileInfo(kChat).isExecutable())
            QSKIP("chat is not installed (package ppp)");

        // The entry as PppdLine writes it, and its connect line as pppd reads it back.
        QTemporaryDir dir;
        PppdLine line(PppdConfig{"/usr/sbin/pppd", kChat, dir.path()});
        QString failure;
        QVERIFY2(line.RasCreatePhonebookEntry({"isp", "/dev/ttyS0", 115200, "0123 456", ""}, &failure),
                 qPrintable(failure));
        QString command = PeerFile::Read(dir.filePath("isp"))->connectCommand().value_or(QString());
        if (!number.isEmpty())
            command = PppdConnectLine::WithNumber(command, number).value_or(QString());

        const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        QVERIFY(master >= 0);
        QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString slaveName = QString::fromLocal8Bit(::ptsname(master));
        // Kept open for the whole run so the modem side never sees the line drop; raw, so
        // nothing is echoed back to chat or turned into other characters.
        const int slave = ::open(slaveName.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        QVERIFY(slave >= 0);
        termios mode{};
        QVERIFY(::tcgetattr(slave, &mode) == 0);
        ::cfmakeraw(&mode);
        QVERIFY(::tcsetattr(slave, TCSANOW, &mode) == 0);

        // The modem's answers wait in the line: OK to ATZ, then the row's words to the dial command.
        const QByteArray answers = "\r\nOK\r\n" + answer;
        QVERIFY(::write(master, answers.constData(), answers.size()) == answers.size());
        QProcess chat;
        chat.setStandardInputFile(slaveName);
        chat.setStandardOutputFile(slaveName);
        chat.start("/bin/sh", {"-c", command}); // as pppd runs its connect script
        QVERIFY(chat.waitForFinished(20000));
        char sent[256] = {};
        QVERIFY(::read(master, sent, sizeof sent - 1) > 0);
        ::close(slave);
        ::close(master);

        QCOMPARE(QByteArray(sent).split('\r').value(1),
                 "ATDT" + (number.isEmpty() ? QString("0123 456") : number).toUtf8());
        PppdEvent seen; // the furthest state, the first failure, the last speed
        const QByteArray log = chat.readAllStandardError();
        for (const QByteArray &text : log.split('\n')) {
            const PppdEvent event = PppdOutput::ParseLine(QString::fromUtf8(text));
            seen.state = std::max(seen.state, event.state);
            seen.error = seen.error ? seen.error : event.error;
            seen.speed = event.speed ? event.speed : seen.speed;
        }
        QVERIFY2(seen.error == error && seen.state == state && seen.speed.value_or(0) == speed, log.constData());
    }
};

QTEST_GUILESS_MAIN(TestChatModem)
#include "tst_ChatModem.moc"
