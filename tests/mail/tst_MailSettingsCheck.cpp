#include "mail/MailSettingsCheck.h"

#include <QTest>

#include "settings/ProviderProfile.h"
#include "support/ScriptedPrompter.h"

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;

class TestMailSettingsCheck : public QObject
{
    Q_OBJECT

private slots:
    void check_data()
    {
        QTest::addColumn<bool>("email");
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("interval");
        QTest::addColumn<QString>("timeout");
        QTest::addColumn<QString>("message"); // empty: passes

        const QString noHost = "You must enter your mail server's address!";
        const QString noUser = "You must set POP3 username!";
        const QString noInterval = "You must set an interval greater than zero!";
        const QString noTimeout = "You must set a timeout greater than zero";
        const QString badHost = "The mail server's address must not contain line breaks or NUL characters!";
        const QString badPort = "The mail server's port must be a whole number from 1 to 65535!";
        const QString badUser = "The POP3 username must not contain line breaks or NUL characters!";
        const QString badPassword = "The POP3 password must not contain line breaks or NUL characters!";
        const QString nul(QChar(0));

        QTest::newRow("all set") << true << "mail.example.net" << "bob" << "secret" << "15" << "30" << "";
        QTest::newRow("host with port") << true << "127.0.0.1:2110" << "bob" << "" << "1" << "1" << "";
        QTest::newRow("largest numbers") << true << "h" << "bob" << "x" << "32767" << "32767" << "";
        QTest::newRow("mail off: silent, whatever is set") << false << "" << "" << "" << "0" << "0" << "-";
        QTest::newRow("no host") << true << "" << "bob" << "x" << "15" << "30" << noHost;
        QTest::newRow("blank host") << true << "   " << "bob" << "x" << "15" << "30" << noHost;
        QTest::newRow("host first of all") << true << "" << "" << "x" << "0" << "0" << noHost;
        QTest::newRow("no user") << true << "h" << "" << "x" << "15" << "30" << noUser;
        QTest::newRow("user before interval") << true << "h" << "" << "x" << "0" << "0" << noUser;
        QTest::newRow("interval 0") << true << "h" << "bob" << "x" << "0" << "30" << noInterval;
        QTest::newRow("interval before timeout") << true << "h" << "bob" << "x" << "0" << "0" << noInterval;
        QTest::newRow("interval negative") << true << "h" << "bob" << "x" << "-5" << "30" << noInterval;
        QTest::newRow("interval too large") << true << "h" << "bob" << "x" << "32768" << "30" << noInterval;
        QTest::newRow("interval not a number") << true << "h" << "bob" << "x" << "ten" << "30" << noInterval;
        QTest::newRow("interval empty") << true << "h" << "bob" << "x" << "" << "30" << noInterval;
        QTest::newRow("timeout 0") << true << "h" << "bob" << "x" << "15" << "0" << noTimeout;
        QTest::newRow("timeout too large") << true << "h" << "bob" << "x" << "15" << "99999" << noTimeout;
        QTest::newRow("timeout fraction") << true << "h" << "bob" << "x" << "15" << "1.5" << noTimeout;
        QTest::newRow("LF in host") << true << "h\nx" << "bob" << "x" << "15" << "30" << badHost;
        QTest::newRow("NUL in host") << true << "h" + nul << "bob" << "x" << "15" << "30" << badHost;
        QTest::newRow("bad port") << true << "h:pop" << "bob" << "x" << "15" << "30" << badPort;
        QTest::newRow("port 70000") << true << "h:70000" << "bob" << "x" << "15" << "30" << badPort;
        QTest::newRow("CR LF in user") << true << "h" << "bob\r\nDELE 1" << "x" << "15" << "30" << badUser;
        QTest::newRow("NUL in user") << true << "h" << "b" + nul + "ob" << "x" << "15" << "30" << badUser;
        QTest::newRow("LF in password") << true << "h" << "bob" << "x\nDELE 1" << "15" << "30" << badPassword;
        QTest::newRow("CR in password") << true << "h" << "bob" << "x\r" << "15" << "30" << badPassword;
        QTest::newRow("empty password is allowed") << true << "h" << "bob" << "" << "15" << "30" << "";
    }
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
        const bool silent = message.isEmpty() || message == "-";
        if (!silent)
            prompter.expect(message);

        QCOMPARE(CheckMailSettings(profile, prompter), message.isEmpty());

        QCOMPARE(prompter.shown().size(), silent ? 0 : 1);
        if (!silent) {
            QCOMPARE(prompter.shown().first().icon, Prompt::Icon::Exclamation);
            QCOMPARE(prompter.shown().first().title, QString("LineMinder"));
        }
    }
};

QTEST_GUILESS_MAIN(TestMailSettingsCheck)
#include "tst_MailSettingsCheck.moc"
