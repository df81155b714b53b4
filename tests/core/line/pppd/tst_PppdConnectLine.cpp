#include "line/pppd/PppdConnectLine.h"

#include <QTest>

class TestPppdConnectLine : public QObject
{
    Q_OBJECT

private slots:
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
    void splitsShellWords()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, words);
        QCOMPARE(PppdConnectLine::ShellWords(command).value_or(QStringList{"<none>"}), words);
    }

    // Whatever the word, the shell reads back exactly that word.
    void quotingRoundTrips_data()
    {
        QTest::addColumn<QString>("word");
        QTest::newRow("plain") << "0123";
        QTest::newRow("blank") << "0123 456";
        QTest::newRow("apostrophe") << "it's";
        QTest::newRow("backslash") << "ATDT\\T";
        QTest::newRow("shell metacharacters") << "a;b|c$(d)`e`&>";
    }
    void quotingRoundTrips()
    {
        QFETCH(QString, word);
        const QString line = PppdConnectLine::JoinShellWords({"chat", word});
        QCOMPARE(PppdConnectLine::ShellWords(line).value_or(QStringList()), QStringList({"chat", word}));
    }

    void setsNumber_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("result"); // "<none>": not a chat line
        QTest::newRow("replaces -T") << "/usr/sbin/chat -v -s -T 111 '' ATZ OK ATDT\\\\T"
                                     << "0123 456"
                                     << "/usr/sbin/chat -v -s -T '0123 456' '' ATZ OK 'ATDT\\T'";
        QTest::newRow("replaces glued -T") << "chat -vsT111 -t 5 ''"
                                           << "222"
                                           << "chat -vs -t 5 -T 222 ''";
        QTest::newRow("adds -T, -v and -s") << "exec chat -f /etc/chatscripts/isp"
                                            << "333"
                                            << "exec chat -v -s -f /etc/chatscripts/isp -T 333";
        QTest::newRow("keeps -V and -S") << "chat -V -S -s -v ABORT"
                                         << "4"
                                         << "chat -V -S -s -v -T 4 ABORT";
        QTest::newRow("other program") << "/usr/local/bin/dialer 0123"
                                       << "1"
                                       << "<none>";
        QTest::newRow("shell logic") << "chat x && echo ok"
                                     << "1"
                                     << "<none>";
    }
    void setsNumber()
    {
        QFETCH(QString, command);
        QFETCH(QString, number);
        QFETCH(QString, result);
        QCOMPARE(PppdConnectLine::WithNumber(command, number).value_or("<none>"), result);
        if (result != "<none>")
            QCOMPARE(PppdConnectLine::ChatNumber(result), number);
    }
};

QTEST_GUILESS_MAIN(TestPppdConnectLine)
#include "tst_PppdConnectLine.moc"
