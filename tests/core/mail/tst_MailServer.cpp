#include "mail/MailServer.h"

#include <QTest>

class TestMailServer : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::newRow("host alone: POP3's port") << "mail.example.net" << true << "mail.example.net" << 110;
        QTest::newRow("host and port") << "127.0.0.1:11010" << true << "127.0.0.1" << 11010;
        QTest::newRow("blanks around") << "  mail.example.net:995 " << true << "mail.example.net" << 995;
        QTest::newRow("highest port") << "h:65535" << true << "h" << 65535;
        QTest::newRow("IPv6 literal") << "::1" << true << "::1" << 110;
        QTest::newRow("IPv6 literal with port") << "[::1]:2110" << true << "::1" << 2110;
        QTest::newRow("IPv6 in brackets, no port") << "[fe80::1]" << true << "fe80::1" << 110;
        QTest::newRow("empty") << "" << false << "" << 0;
        QTest::newRow("only a port") << ":110" << false << "" << 0;
        QTest::newRow("empty port") << "mail:" << false << "" << 0;
        QTest::newRow("port 0") << "mail:0" << false << "" << 0;
        QTest::newRow("port too high") << "mail:65536" << false << "" << 0;
        QTest::newRow("port with a sign") << "mail:+110" << false << "" << 0;
        QTest::newRow("port with a blank") << "mail: 110" << false << "" << 0;
        QTest::newRow("port not a number") << "mail:pop3" << false << "" << 0;
        QTest::newRow("port of many digits") << "mail:0000110" << false << "" << 0;
        QTest::newRow("unclosed bracket") << "[::1:110" << false << "" << 0;
        QTest::newRow("garbage after bracket") << "[::1]110" << false << "" << 0;
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QString, host);
        QFETCH(int, port);
        const std::optional<MailServer> server = ParseMailServer(text);
        QCOMPARE(server.has_value(), valid);
        if (valid) {
            QCOMPARE(server->host, host);
            QCOMPARE(int(server->port), port);
        }
    }
};

QTEST_GUILESS_MAIN(TestMailServer)
#include "tst_MailServer.moc"
