#include "mail/StatReply.h"

#include <QTest>

class TestStatReply : public QObject
{
    Q_OBJECT

    static void row(const char *name, const QString &reply, const QString &count, qint64 value)
    {
        QTest::newRow(name) << reply << count << value;
    }

private slots:
    void count_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("count");
        QTest::addColumn<qint64>("value");
        row("count and size", "+OK 3 1200", "3", 3);
        row("no messages", "+OK 0 0", "0", 0);
        row("many", "+OK 1234 99999999", "1234", 1234);
        row("count without size: no blank after it", "+OK 3", "", 0);
        row("bare +OK", "+OK", "", 0);
        row("two blanks: the count is empty", "+OK  3 100", "", 0);
        row("text for a count", "+OK none 0", "none", 0);
        row("digits then text", "+OK 4x 10", "4x", 4);
        row("negative", "+OK -2 0", "-2", -2);
        row("huge count does not wrap", "+OK 99999999999999999999999 1", "99999999999999999999999", qint64(1) << 53);
    }
    void count()
    {
        QFETCH(QString, reply);
        QFETCH(QString, count);
        QFETCH(qint64, value);
        QCOMPARE(StatCountText(reply), count);
        QCOMPARE(StatCountValue(StatCountText(reply)), value);
    }
};

QTEST_GUILESS_MAIN(TestStatReply)
#include "tst_StatReply.moc"
