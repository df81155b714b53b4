#include <QTest>

#include <tuple>

#include "line/pppd/PeerFile.h"
#include "line/pppd/PppdConnectLine.h"
#include "line/pppd/PppdInput.h"
#include "line/pppd/PppdOutput.h"

Q_DECLARE_METATYPE(DialParams)
Q_DECLARE_METATYPE(PhonebookEntry)

namespace {

using EventFields = std::tuple<int, quint32, qint64, QString>; // state, error, speed (-1: none), interface

const QString kChatLine = QStringLiteral("/usr/sbin/chat -v -s -T 0123 ABORT BUSY '' ATZ OK 'ATDT\\T' CONNECT ''");
const quint32 kInvalid = RasError::NotSupported;
const QString kBytes254(127, QChar(0xE9)); // in UTF-8

const PhonebookEntry kIsp{"isp", "/dev/ttyS0", 115200, "0123", "alice"};

// kIsp with one field changed.
template <typename T, typename V> PhonebookEntry With(T PhonebookEntry::*field, const V &value)
{
    PhonebookEntry entry = kIsp;
    entry.*field = value;
    return entry;
}

void ArgumentsRow(const char *name, const QString &connect, bool plugin, const DialParams &dial,
                  const QStringList &arguments)
{
    const QString peer =
        QStringLiteral("connect %1\n%2").arg(PeerFile::Quoted(connect), plugin ? "plugin passwordfd.so\n" : "");
    QTest::newRow(name) << peer.toUtf8() << dial << arguments;
}

} // namespace

// pppd's texts, pure: what a dial and an entry may hold, pppd's arguments and the connect
// line's number going in; its log lines and exit codes coming out.
class TestPppdTexts : public QObject
{
    Q_OBJECT

private slots:
    // Each text dialed (an entry's name, number and user, and a password), and stored as an entry.
    // clang-format off
    void checksTexts_data()
    {
        QTest::addColumn<PhonebookEntry>("entry");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<quint32>("dialError");
        QTest::addColumn<bool>("created");
        QTest::addColumn<bool>("edited");
        const quint32 noEntry = RasError::CannotFindEntry;
        auto row = [](const char *name, const PhonebookEntry &entry, const QByteArray &password, quint32 dialError,
                      bool created, bool edited) {
            QTest::newRow(name) << entry << password << dialError << created << edited;
        };
        row("path as entry", With(&PhonebookEntry::name, "x/../isp"), "pw", noEntry, false, false);
        row("name RasEnumEntries hides", With(&PhonebookEntry::name, "isp.bak"), "pw", noEntry, false, false);
        row("line break in name", With(&PhonebookEntry::name, "isp\n"), "pw", noEntry, false, false);
        row("name at the limit", With(&PhonebookEntry::name, QString(255, 'i')), "pw", 0, true, true);
        row("name too long", With(&PhonebookEntry::name, QString(256, 'i')), "pw", noEntry, false, false);
        row("dial characters", With(&PhonebookEntry::number, "*70,0800 (555) 12-3#wP"), "pw", 0, true, true);
        row("command in number", With(&PhonebookEntry::number, "0123; reboot"), "pw", kInvalid, false, false);
        row("line break after number", With(&PhonebookEntry::number, "0123\n"), "pw", kInvalid, false, false);
        row("no digit", With(&PhonebookEntry::number, "--"), "pw", kInvalid, false, false);
        row("number at the limit", With(&PhonebookEntry::number, QString(128, '1')), "pw", 0, true, true);
        row("number too long", With(&PhonebookEntry::number, QString(129, '1')), "pw", kInvalid, false, false);
        row("no number: the entry's own", With(&PhonebookEntry::number, ""), "pw", 0, false, true);
        row("quote in user: fine as an argument", With(&PhonebookEntry::user, "al\"ice"), "pw", 0, false, false);
        row("line break in user", With(&PhonebookEntry::user, "alice\nnoauth"), "pw", kInvalid, false, false);
        row("NUL in user", With(&PhonebookEntry::user, QString("a") + QChar(0)), "pw", kInvalid, false, false);
        row("user at the limit in bytes", With(&PhonebookEntry::user, kBytes254 + 'a'), "pw", 0, true, true);
        row("user too long in bytes", With(&PhonebookEntry::user, kBytes254 + u'\xE9'), "pw", kInvalid, false, false);
        row("password at the limit", kIsp, QByteArray(255, 'x'), 0, true, true);
        row("password too long", kIsp, QByteArray(256, 'x'), kInvalid, true, true);
        row("line break in password", kIsp, "pw\r", kInvalid, true, true);
        row("no device: kept on edit", With(&PhonebookEntry::device, ""), "pw", 0, false, true);
        row("not a device", With(&PhonebookEntry::device, "/etc/passwd"), "pw", 0, false, false);
        row("device path climbs out", With(&PhonebookEntry::device, "/dev/../etc/x"), "pw", 0, false, false);
        row("odd speed", With(&PhonebookEntry::speed, 12345), "pw", 0, false, false);
        row("no speed: the port's", With(&PhonebookEntry::speed, 0), "pw", 0, true, true);
    }
    // clang-format on
    void checksTexts()
    {
        QFETCH(PhonebookEntry, entry);
        QFETCH(QByteArray, password);
        QFETCH(quint32, dialError);
        QFETCH(bool, created);
        QFETCH(bool, edited);
        const DialParams dial{entry.name, entry.number, entry.user, password};
        auto refused = PppdInput::EntryNameRefusal(dial.entry);
        if (!refused)
            refused = PppdInput::LoginRefusal(dial);
        QCOMPARE(refused.value_or(DialResult()).error, dialError);
        QVERIFY(!refused || !refused->errorText.isEmpty());
        QCOMPARE(PppdInput::EntryRefusal(entry, true).value_or("").isEmpty(), created);
        QCOMPARE(PppdInput::EntryRefusal(entry, false).value_or("").isEmpty(), edited);
    }

    // Another number goes in the connect line's chat -T, read back by ChatNumber.
    // clang-format off
    void buildsDialArguments_data()
    {
        QTest::addColumn<QByteArray>("peer");
        QTest::addColumn<DialParams>("dial");
        QTest::addColumn<QStringList>("arguments"); // after "call isp nodetach logfd 1 nopersist"; {"<refused>"}
        ArgumentsRow("the entry's own number", kChatLine, true, {"isp", "0123", "", ""}, {});
        ArgumentsRow("user and password", kChatLine, true, {"isp", "", "alice smith", "pw"}, {"user", "alice smith"});
        ArgumentsRow("plugin not in the peer", kChatLine, false, {"isp", "", "", "pw"}, {"plugin", "passwordfd.so"});
        ArgumentsRow("no plugin without a password", kChatLine, false, {"isp", "", "", ""}, {});
        ArgumentsRow("all, in order", kChatLine, false, {"isp", "0800 (555) 12", "al", "pw"},
                     {"connect", "/usr/sbin/chat -v -s -T '0800 (555) 12' ABORT BUSY '' ATZ OK 'ATDT\\T' CONNECT ''", "user", "al", "plugin", "passwordfd.so"});
        ArgumentsRow("replaces glued -T", "chat -vsT111 -t 5 ''", true, {"isp", "222", "", ""}, {"connect", "chat -vs -t 5 -T 222 ''"});
        ArgumentsRow("adds -T, -v and -s", "exec chat -f /etc/chatscripts/isp", true, {"isp", "333", "", ""},
                     {"connect", "exec chat -v -s -f /etc/chatscripts/isp -T 333"});
        ArgumentsRow("keeps -V and -S", "chat -V -S -s -v ABORT", true, {"isp", "4", "", ""}, {"connect", "chat -V -S -s -v -T 4 ABORT"});
        ArgumentsRow("other number, entry without chat", "/usr/local/bin/dial-isp 0123", true, {"isp", "0123", "", ""}, {"<refused>"});
        ArgumentsRow("other number, chat in shell logic", "chat x && echo ok", true, {"isp", "1", "", ""}, {"<refused>"});
    }
    // clang-format on
    void buildsDialArguments()
    {
        QFETCH(QByteArray, peer);
        QFETCH(DialParams, dial);
        QFETCH(QStringList, arguments);
        const auto built = PppdInput::DialArguments(dial, PeerFile::Parse(peer));
        const auto *refused = std::get_if<DialResult>(&built);
        QCOMPARE(refused ? QStringList{"<refused>"} : std::get<QStringList>(built).mid(6), arguments);
        QVERIFY(refused ? refused->error == kInvalid && !refused->errorText.isEmpty()
                        : std::get<QStringList>(built).mid(0, 6).join(' ') == "call isp nodetach logfd 1 nopersist");
        if (arguments.value(0) == "connect")
            QCOMPARE(PppdConnectLine::ChatNumber(arguments.at(1)), dial.phoneNumber);
    }

    // The words /bin/sh makes of a command; the words quoted again read back the same.
    // clang-format off
    void splitsShellWords_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("words"); // {"<none>"}: refused
        const QStringList none{"<none>"};
        QTest::newRow("plain") << "chat -v ABORT BUSY" << QStringList{"chat", "-v", "ABORT", "BUSY"};
        QTest::newRow("single quotes") << "chat '' 'NO CARRIER' 'ATDT\\T'" << QStringList{"chat", "", "NO CARRIER", "ATDT\\T"};
        QTest::newRow("double quotes") << "chat \"a \\\"b\\\" \\\\c \\$(d) it's\"" << QStringList{"chat", "a \"b\" \\c $(d) it's"};
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
        if (words.first() != "<none>")
            QCOMPARE(PppdConnectLine::ShellWords(PppdConnectLine::JoinShellWords(words)).value_or(QStringList()),
                     words);
    }

    // clang-format off
    void parsesLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<EventFields>("event");
        auto row = [](const char *name, const char *line, int state, quint32 error = 0, qint64 speed = -1, const char *interface = "") {
            QTest::newRow(name) << QString(line) << EventFields(state, error, speed, interface);
        };
        row("chat dials", "send (ATDT0123 456^M)", RasState::ConnectDevice);
        row("init string is not dialing", "send (AT&F&D2^M)", -1);
        row("modem echo of dial", "ATDT0123^M", RasState::ConnectDevice);
        row("bare CONNECT", "CONNECT", RasState::DeviceConnected);
        row("CONNECT with protocol", "CONNECT 115200/V42bis^M", RasState::DeviceConnected, 0, 115200);
        row("chat REPORT", "chat:  Dec 06 20:01:08 CONNECT 33600/ARQ/V34/LAPM", RasState::DeviceConnected, 0, 33600);
        row("chat waits for CONNECT", "expect (CONNECT)", -1);
        row("CONNECTION is not CONNECT", "CONNECTION LOST", -1);
        row("serial", "Serial connection established.", RasState::AllDevicesConnected);
        row("using interface", "Using interface ppp1", RasState::Authenticate, 0, -1, "ppp1");
        row("connect pppN", "Connect: ppp0 <--> /dev/ttyS0", RasState::Authenticate, 0, -1, "ppp0");
        row("PAP ok", "PAP authentication succeeded", RasState::Authenticated);
        row("local IP", "local  IP address 10.0.0.2", RasState::Connected);
        row("remote IP alone", "remote IP address 10.0.0.1", -1);
        row("ip-up finished", "Script /etc/ppp/ip-up finished (pid 77), status = 0x0", RasState::Connected);
        row("IPv6 only", "local  LL address fe80::1", RasState::Connected);
        // chat lists its ABORT strings when it starts: that is not a failure.
        row("abort armed", "abort on (BUSY)", -1);
        row("Failed BUSY", "Failed (BUSY)", -1, RasError::LineBusy);
        row("modem BUSY", "BUSY^M", -1, RasError::LineBusy);
        row("Failed NO CARRIER", "Failed (NO CARRIER)", -1, RasError::NoCarrier);
        row("NO DIAL TONE", "Failed (NO DIAL TONE)", -1, RasError::NoDialTone);
        row("NO ANSWER", "Failed (NO ANSWER)", -1, RasError::NoAnswer);
        row("chat timeout", "Failed", -1);
        row("PAP refused", "PAP authentication failed", -1, RasError::AuthenticationFailure);
    }
    // clang-format on
    void parsesLines()
    {
        QFETCH(QString, line);
        QFETCH(EventFields, event);
        const PppdEvent parsed = PppdOutput::ParseLine(line);
        QCOMPARE(EventFields(parsed.state, parsed.error, parsed.speed.value_or(-1), parsed.interface), event);
    }

    // clang-format off
    void mapsExitStatus_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<quint32>("error");
        QTest::newRow("0 peer ended") << 0 << RasError::RemoteDisconnection;
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
