#include "mail/MailServer.h"
#include "mail/MailSettingsCheck.h"

#include <QTest>

#include "settings/ProviderProfile.h"
#include "support/ScriptedPrompter.h"

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;

class TestMailSettingsCheck : public QObject
{
    Q_OBJECT

    // message: the one shown; empty when the settings pass, "-" when refused silently.
    static void row(const char *name, bool email, const QString &host, const QString &user, const QString &password,
                    const QString &interval, const QString &timeout, const QString &message)
    {
        QTest::newRow(name) << email << host << user << password << interval << timeout << message;
    }

private slots:
    // The server address: a host, an IPv6 literal, and an optional port.
    // clang-format off
    void serverAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port"); // 0: refused
        QTest::newRow("host alone: POP3's port") << "mail.example.net" << "mail.example.net" << 110;
        QTest::newRow("host and port") << "127.0.0.1:11010" << "127.0.0.1" << 11010;
        QTest::newRow("blanks around") << "  mail.example.net:995 " << "mail.example.net" << 995;
        QTest::newRow("highest port") << "h:65535" << "h" << 65535;
        QTest::newRow("IPv6 literal") << "::1" << "::1" << 110;
        QTest::newRow("IPv6 literal with port") << "[::1]:2110" << "::1" << 2110;
        QTest::newRow("IPv6 in brackets, no port") << "[fe80::1]" << "fe80::1" << 110;
        QTest::newRow("only a port") << ":110" << "" << 0;
        QTest::newRow("port 0") << "mail:0" << "" << 0;
        QTest::newRow("port too high") << "mail:65536" << "" << 0;
        QTest::newRow("port with a sign") << "mail:+110" << "" << 0;
        QTest::newRow("port of many digits") << "mail:0000110" << "" << 0;
        QTest::newRow("unclosed bracket") << "[::1:110" << "" << 0;
        QTest::newRow("garbage after bracket") << "[::1]110" << "" << 0;
    }
    // clang-format on
    void serverAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, host);
        QFETCH(int, port);
        const std::optional<MailServer> server = ParseMailServer(text);
        QCOMPARE(server ? std::pair(server->host, int(server->port)) : std::pair(QString(), 0), std::pair(host, port));
    }

    // Numbers as such (letters, signs): tst_ProviderProfile.
    // clang-format off
    void check_data()
    {
        QTest::addColumn<bool>("email");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QString>("timeout");
        QTest::addColumn<QString>("message");

        const QString noHost = "You must enter your mail server's address!";
        const QString noUser = "You must set POP3 username!";
        const QString noInterval = "You must set an interval greater than zero!";
        const QString badHost = "The mail server's address must not contain line breaks or NUL characters!";
        const QString badUser = "The POP3 username must not contain line breaks or NUL characters!";

        row("all set", true, "mail.example.net", "bob", "secret", "15", "30", "");
        row("host with port, smallest numbers", true, "127.0.0.1:2110", "bob", "", "1", "1", "");
        row("largest numbers", true, "h", "bob", "x", "32767", "32767", "");
        row("mail off: silent, whatever is set", false, "", "", "", "0", "0", "-");
        row("blank host", true, "   ", "bob", "x", "15", "30", noHost);
        row("host first of all", true, "", "", "x", "0", "0", noHost);
        row("no user", true, "h", "", "x", "15", "30", noUser);
        row("user before interval", true, "h", "", "x", "0", "0", noUser);
        row("interval 0", true, "h", "bob", "x", "0", "30", noInterval);
        row("interval before timeout", true, "h", "bob", "x", "0", "0", noInterval);
        row("interval too large", true, "h", "bob", "x", "32768", "30", noInterval);
        row("timeout 0", true, "h", "bob", "x", "15", "0", "You must set a timeout greater than zero");
        row("LF in host", true, "h\nx", "bob", "x", "15", "30", badHost);
        row("NUL in host", true, "h" + QString(QChar(0)), "bob", "x", "15", "30", badHost);
        row("bad port", true, "h:pop", "bob", "x", "15", "30", "The mail server's port must be a whole number from 1 to 65535!");
        row("CR LF in user", true, "h", "bob\r\nDELE 1", "x", "15", "30", badUser);
        row("LF in password", true, "h", "bob", "x\nDELE 1", "15", "30", "The POP3 password must not contain line breaks or NUL characters!");
    }
    // clang-format on
    void check()
    {
        QFETCH(bool, email);
        QFETCH(QString, host);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, interval);
        QFETCH(QString, timeout);
        QFETCH(QString, message);
        ProviderProfile profile;
        profile.setChecked(Check::EMail, email);
        profile.setText(Text::Pop3Host, host);
        profile.setText(Text::Pop3User, user);
        profile.setText(Text::Pop3Passwd, password);
        profile.setText(Text::Interval, interval);
        profile.setText(Text::Timeout, timeout);
        ScriptedPrompter prompter;
        prompter.allowMessages();
        QCOMPARE(CheckMailSettings(profile, prompter), message.isEmpty());
        QCOMPARE(prompter.shownTexts(), message.isEmpty() || message == "-" ? QStringList() : QStringList{message});
        for (const Prompt &prompt : prompter.shown())
            QCOMPARE(prompt.icon, Prompt::Icon::Exclamation);
    }
};

QTEST_GUILESS_MAIN(TestMailSettingsCheck)
#include "tst_MailSettingsCheck.moc"
