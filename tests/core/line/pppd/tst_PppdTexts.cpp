#include <QTest>

#include "line/pppd/PeerFile.h"
#include "line/pppd/PppdConnectLine.h"
#include "line/pppd/PppdInput.h"
#include "line/pppd/PppdOutput.h"

Q_DECLARE_METATYPE(DialParams)
Q_DECLARE_METATYPE(PhonebookEntry)

namespace {

const QString kChatLine = QStringLiteral("/usr/sbin/chat -v -s -T 0123 ABORT BUSY '' ATZ OK 'ATDT\\T' CONNECT ''");
const quint32 kInvalid = RasError::NotSupported;
const QString kBytes254(127, QChar(0xE9)); // in UTF-8

void DialRow(const char *name, const QString &entry, const QString &number, const QString &user,
             const QByteArray &password, quint32 error)
{
    QTest::newRow(name) << DialParams{entry, number, user, password} << error;
}

void ArgumentsRow(const char *name, const QString &connect, bool plugin, const DialParams &dial,
                  const QStringList &arguments)
{
    const QString peer =
        QStringLiteral("connect %1\n%2").arg(PeerFile::Quoted(connect), plugin ? "plugin passwordfd.so\n" : "");
    QTest::newRow(name) << peer.toUtf8() << dial << arguments;
}

void EntryRow(const char *name, const PhonebookEntry &entry, bool create, bool accepted)
{
    QTest::newRow(name) << entry << create << accepted;
}

} // namespace

// pppd's texts, pure: what a dial and an entry may hold, pppd's arguments and the connect
// line's number going in; its log lines and exit codes coming out.
class TestPppdTexts : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void refusesDialTexts_data()
    {
        QTest::addColumn<DialParams>("dial");
        QTest::addColumn<quint32>("error");
        DialRow("path as entry", "../peers/isp", "", "", "pw", RasError::CannotFindEntry);
        DialRow("hidden entry", ".isp", "", "", "pw", RasError::CannotFindEntry);
        DialRow("entry name at the limit", QString(255, 'i'), "", "", "pw", RasError::None);
        DialRow("entry name too long", QString(256, 'i'), "", "", "pw", RasError::CannotFindEntry);
        DialRow("dial characters", "isp", "*70,0800 (555) 12-3#wP", "", "pw", RasError::None);
        DialRow("command in number", "isp", "0123; reboot", "", "pw", kInvalid);
        DialRow("substitution in number", "isp", "0$(id)", "", "pw", kInvalid);
        DialRow("line break after number", "isp", "0123\n", "", "pw", kInvalid);
        DialRow("no digit", "isp", "--", "", "pw", kInvalid);
        DialRow("number at the limit", "isp", QString(128, '1'), "", "pw", RasError::None);
        DialRow("number too long", "isp", QString(129, '1'), "", "pw", kInvalid);
        DialRow("line break in login", "isp", "", "alice\nnoauth", "pw", kInvalid);
        DialRow("NUL in login", "isp", "", QString("a") + QChar(0), "pw", kInvalid);
        DialRow("login at the limit in bytes", "isp", "", kBytes254 + 'a', "pw", RasError::None);
        DialRow("login too long in bytes", "isp", "", kBytes254 + u'\xE9', "pw", kInvalid);
        DialRow("password at the limit", "isp", "", "", QByteArray(255, 'x'), RasError::None);
        DialRow("password too long", "isp", "", "", QByteArray(256, 'x'), kInvalid);
        DialRow("line break in password", "isp", "", "", "pw\r", kInvalid);
    }
    // clang-format on
    void refusesDialTexts()
    {
        QFETCH(DialParams, dial);
        QFETCH(quint32, error);
        auto refused = PppdInput::EntryNameRefusal(dial.entry);
        if (!refused)
            refused = PppdInput::LoginRefusal(dial);
        QCOMPARE(refused.value_or(DialResult()).error, error);
        QCOMPARE(refused.has_value(), !refused.value_or(DialResult()).errorText.isEmpty());
    }

    // clang-format off
    void buildsDialArguments_data()
    {
        QTest::addColumn<QByteArray>("peer");
        QTest::addColumn<DialParams>("dial");
        QTest::addColumn<QStringList>("arguments"); // after "call isp nodetach logfd 1 nopersist"; {"<refused>"}
        const QString other = "0800 (555) 12";
        const QString otherLine = *PppdConnectLine::WithNumber(kChatLine, other);
        ArgumentsRow("entry as it is", kChatLine, true, {"isp", "", "", ""}, {});
        ArgumentsRow("the entry's own number", kChatLine, true, {"isp", "0123", "", ""}, {});
        ArgumentsRow("another number", kChatLine, true, {"isp", other, "", ""}, {"connect", otherLine});
        ArgumentsRow("user and password", kChatLine, true, {"isp", "", "alice smith", "pw"}, {"user", "alice smith"});
        ArgumentsRow("plugin not in the peer", kChatLine, false, {"isp", "", "", "pw"}, {"plugin", "passwordfd.so"});
        ArgumentsRow("no plugin without a password", kChatLine, false, {"isp", "", "", ""}, {});
        ArgumentsRow("all, in order", kChatLine, false, {"isp", other, "al", "pw"},
                     {"connect", otherLine, "user", "al", "plugin", "passwordfd.so"});
        ArgumentsRow("other number, entry without chat", "/usr/local/bin/dial-isp", true, {"isp", "0123", "", ""},
                     {"<refused>"});
    }
    // clang-format on
    void buildsDialArguments()
    {
        QFETCH(QByteArray, peer);
        QFETCH(DialParams, dial);
        QFETCH(QStringList, arguments);
        const auto built = PppdInput::DialArguments(dial, PeerFile::Parse(peer));
        if (const auto *refused = std::get_if<DialResult>(&built)) {
            QCOMPARE(arguments, QStringList{"<refused>"});
            QCOMPARE(refused->error, kInvalid);
            QVERIFY(!refused->errorText.isEmpty());
            return;
        }
        QCOMPARE(std::get<QStringList>(built),
                 QStringList({"call", "isp", "nodetach", "logfd", "1", "nopersist"}) + arguments);
    }

    // clang-format off
    void checksEntries_data()
    {
        QTest::addColumn<PhonebookEntry>("entry");
        QTest::addColumn<bool>("create");
        QTest::addColumn<bool>("accepted");
        EntryRow("good", {"isp", "/dev/ttyS0", 115200, "0123", "alice"}, true, true);
        EntryRow("path in name", {"../isp", "/dev/ttyS0", 115200, "0123", "alice"}, true, false);
        EntryRow("hidden name", {".isp", "/dev/ttyS0", 115200, "0123", "alice"}, true, false);
        EntryRow("name RasEnumEntries hides", {"isp.bak", "/dev/ttyS0", 115200, "0123", "alice"}, true, false);
        EntryRow("line break in name", {"isp\n", "/dev/ttyS0", 115200, "0123", "alice"}, true, false);
        EntryRow("name at the limit", {QString(255, 'i'), "/dev/ttyS0", 115200, "0123", "alice"}, true, true);
        EntryRow("name too long", {QString(256, 'i'), "/dev/ttyS0", 115200, "0123", "alice"}, true, false);
        EntryRow("quote in user", {"isp", "/dev/ttyS0", 115200, "0123", "al\"ice"}, true, false);
        EntryRow("user at the limit in bytes", {"isp", "/dev/ttyS0", 115200, "0123", kBytes254 + 'a'}, true, true);
        EntryRow("user too long in bytes", {"isp", "/dev/ttyS0", 115200, "0123", kBytes254 + u'\xE9'}, true, false);
        EntryRow("line break in user", {"isp", "/dev/ttyS0", 115200, "0123", "alice\nnoauth"}, true, false);
        EntryRow("not a device", {"isp", "/etc/passwd", 115200, "0123", "alice"}, true, false);
        EntryRow("device path climbs out", {"isp", "/dev/../etc/x", 115200, "0123", "alice"}, true, false);
        EntryRow("odd speed", {"isp", "/dev/ttyS0", 12345, "0123", "alice"}, true, false);
        EntryRow("command in number", {"isp", "/dev/ttyS0", 115200, "1'; reboot; '", "alice"}, true, false);
        EntryRow("number at the limit", {"isp", "/dev/ttyS0", 115200, QString(128, '1'), "alice"}, true, true);
        EntryRow("number too long", {"isp", "/dev/ttyS0", 115200, QString(129, '1'), "alice"}, true, false);
        EntryRow("create without device", {"isp", "", 115200, "0123", "alice"}, true, false);
        EntryRow("create without number", {"isp", "/dev/ttyS0", 115200, "", "alice"}, true, false);
        EntryRow("edit keeps device, speed and number", {"isp", "", 0, "", ""}, false, true);
    }
    // clang-format on
    void checksEntries()
    {
        QFETCH(PhonebookEntry, entry);
        QFETCH(bool, create);
        QFETCH(bool, accepted);
        const auto refused = PppdInput::EntryRefusal(entry, create);
        QVERIFY2(refused.has_value() != accepted, qPrintable(refused.value_or("accepted")));
        QVERIFY(!refused.value_or("x").isEmpty());
    }

    // clang-format off
    void splitsShellWords_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("words"); // {"<none>"}: refused
        const QStringList none{"<none>"};
        QTest::newRow("plain") << "chat -v ABORT BUSY" << QStringList{"chat", "-v", "ABORT", "BUSY"};
        QTest::newRow("single quotes") << "chat '' 'NO CARRIER' 'ATDT\\T'"
                                       << QStringList{"chat", "", "NO CARRIER", "ATDT\\T"};
        QTest::newRow("double quotes") << "chat \"a \\\"b\\\" \\\\c\"" << QStringList{"chat", "a \"b\" \\c"};
        QTest::newRow("backslash outside quotes") << "chat ATDT\\T a\\ b" << QStringList{"chat", "ATDTT", "a b"};
        QTest::newRow("pipe") << "chat x | tee log" << none;
        QTest::newRow("sequence") << "chat x; reboot" << none;
        QTest::newRow("variable") << "chat -T $NUMBER" << none;
        QTest::newRow("variable in double quotes") << "chat \"$NUMBER\"" << none;
        QTest::newRow("redirection") << "chat -f script 2>/tmp/x" << none;
    }
    // clang-format on
    void splitsShellWords()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, words);
        QCOMPARE(PppdConnectLine::ShellWords(command).value_or(QStringList{"<none>"}), words);
    }

    // Whatever the word, the shell reads back exactly that word.
    // clang-format off
    void quotingRoundTrips_data()
    {
        QTest::addColumn<QString>("word");
        QTest::newRow("plain") << "0123";
        QTest::newRow("blank") << "0123 456";
        QTest::newRow("apostrophe") << "it's";
        QTest::newRow("backslash") << "ATDT\\T";
        QTest::newRow("shell metacharacters") << "a;b|c$(d)`e`&>";
    }
    // clang-format on
    void quotingRoundTrips()
    {
        QFETCH(QString, word);
        const QString line = PppdConnectLine::JoinShellWords({"chat", word});
        QCOMPARE(PppdConnectLine::ShellWords(line).value_or(QStringList()), QStringList({"chat", word}));
    }

    // clang-format off
    void setsNumber_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("result"); // "<none>": not a chat line
        auto row = [](const char *name, const QString &command, const QString &number, const QString &result) {
            QTest::newRow(name) << command << number << result;
        };
        row("replaces -T", "/usr/sbin/chat -v -s -T 111 '' ATZ OK ATDT\\\\T", "0123 456",
            "/usr/sbin/chat -v -s -T '0123 456' '' ATZ OK 'ATDT\\T'");
        row("replaces glued -T", "chat -vsT111 -t 5 ''", "222", "chat -vs -t 5 -T 222 ''");
        row("adds -T, -v and -s", "exec chat -f /etc/chatscripts/isp", "333",
            "exec chat -v -s -f /etc/chatscripts/isp -T 333");
        row("keeps -V and -S", "chat -V -S -s -v ABORT", "4", "chat -V -S -s -v -T 4 ABORT");
        row("other program", "/usr/local/bin/dialer 0123", "1", "<none>");
        row("shell logic", "chat x && echo ok", "1", "<none>");
    }
    // clang-format on
    void setsNumber()
    {
        QFETCH(QString, command);
        QFETCH(QString, number);
        QFETCH(QString, result);
        QCOMPARE(PppdConnectLine::WithNumber(command, number).value_or("<none>"), result);
        if (result != "<none>")
            QCOMPARE(PppdConnectLine::ChatNumber(result), number);
    }

    // clang-format off
    void parsesLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("state");
        QTest::addColumn<quint32>("error");
        QTest::addColumn<qint64>("speed"); // -1: none
        QTest::addColumn<QString>("interface");

        auto row = [](const char *name, const char *line, int state, quint32 error, qint64 speed,
                      const char *interface) {
            QTest::newRow(name) << QString(line) << state << error << speed << QString(interface);
        };
        row("chat dials", "send (ATDT0123 456^M)", RasState::ConnectDevice, 0u, -1, "");
        row("init string is not dialing", "send (AT&F&D2^M)", -1, 0u, -1, "");
        row("modem echo of dial", "ATDT0123^M", RasState::ConnectDevice, 0u, -1, "");
        row("bare CONNECT", "CONNECT", RasState::DeviceConnected, 0u, -1, "");
        row("CONNECT with speed", "CONNECT 33600", RasState::DeviceConnected, 0u, 33600, "");
        row("CONNECT with protocol", "CONNECT 115200/V42bis^M", RasState::DeviceConnected, 0u, 115200, "");
        row("chat REPORT", "chat:  Dec 06 20:01:08 CONNECT 33600/ARQ/V34/LAPM", RasState::DeviceConnected, 0u, 33600,
            "");
        row("chat waits for CONNECT", "expect (CONNECT)", -1, 0u, -1, "");
        row("chat arms REPORT", "report (CONNECT)", -1, 0u, -1, "");
        row("CONNECTION is not CONNECT", "CONNECTION LOST", -1, 0u, -1, "");
        row("serial", "Serial connection established.", RasState::AllDevicesConnected, 0u, -1, "");
        row("using interface", "Using interface ppp1", RasState::Authenticate, 0u, -1, "ppp1");
        row("connect pppN", "Connect: ppp0 <--> /dev/ttyS0", RasState::Authenticate, 0u, -1, "ppp0");
        row("PAP ok", "PAP authentication succeeded", RasState::Authenticated, 0u, -1, "");
        row("local IP", "local  IP address 10.0.0.2", RasState::Connected, 0u, -1, "");
        row("remote IP alone", "remote IP address 10.0.0.1", -1, 0u, -1, "");
        row("ip-up finished", "Script /etc/ppp/ip-up finished (pid 77), status = 0x0", RasState::Connected, 0u, -1, "");
        row("IPv6 only", "local  LL address fe80::1", RasState::Connected, 0u, -1, "");

        // chat lists its ABORT strings when it starts: that is not a failure.
        row("abort armed", "abort on (BUSY)", -1, 0u, -1, "");
        row("Failed BUSY", "Failed (BUSY)", -1, RasError::LineBusy, -1, "");
        row("modem BUSY", "BUSY^M", -1, RasError::LineBusy, -1, "");
        row("Failed NO CARRIER", "Failed (NO CARRIER)", -1, RasError::NoCarrier, -1, "");
        row("NO DIAL TONE", "Failed (NO DIAL TONE)", -1, RasError::NoDialTone, -1, "");
        row("NO ANSWER", "Failed (NO ANSWER)", -1, RasError::NoAnswer, -1, "");
        row("chat timeout", "Failed", -1, 0u, -1, "");
        row("PAP refused", "PAP authentication failed", -1, RasError::AuthenticationFailure, -1, "");
        row("CHAP refused", "CHAP authentication failed: E=691 R=1", -1, RasError::AuthenticationFailure, -1, "");
        row("empty", "", -1, 0u, -1, "");
    }
    // clang-format on
    void parsesLines()
    {
        QFETCH(QString, line);
        QFETCH(int, state);
        QFETCH(quint32, error);
        QFETCH(qint64, speed);
        QFETCH(QString, interface);
        const PppdEvent event = PppdOutput::ParseLine(line);
        QCOMPARE(event.state, state);
        QCOMPARE(event.error, error);
        QCOMPARE(event.speed.value_or(-1), speed);
        QCOMPARE(event.interface, interface);
    }

    // clang-format off
    void mapsExitStatus_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<quint32>("error");
        QTest::newRow("0 peer ended") << 0 << RasError::RemoteDisconnection;
        QTest::newRow("2 options") << 2 << RasError::ServiceFailed;
        QTest::newRow("5 signal") << 5 << RasError::RemoteDisconnection;
        QTest::newRow("6 lock") << 6 << RasError::PortNotAvailable;
        QTest::newRow("8 connect script") << 8 << RasError::DeviceError;
        QTest::newRow("10 negotiation") << 10 << RasError::PppTerminated;
        QTest::newRow("15 echo") << 15 << RasError::PppTimeout;
        QTest::newRow("16 modem hangup") << 16 << RasError::PortDisconnected;
        QTest::newRow("19 our auth") << 19 << RasError::AuthenticationFailure;
        QTest::newRow("unknown") << 77 << RasError::ServiceFailed;
    }
    // clang-format on
    void mapsExitStatus()
    {
        QFETCH(int, exitCode);
        QFETCH(quint32, error);
        QCOMPARE(PppdOutput::ErrorForExit(exitCode), error);
    }
};

QTEST_GUILESS_MAIN(TestPppdTexts)
#include "tst_PppdTexts.moc"
