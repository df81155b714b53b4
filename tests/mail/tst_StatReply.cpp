#include "mail/StatReply.h"

#include <QTest>

class TestStatReply : public QObject
{
    Q_OBJECT

private slots:
    void count_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("count");
        QTest::addColumn<qint64>("value");
        QTest::newRow("count and size") << "+OK 3 1200" << "3" << qint64(3);
        QTest::newRow("no messages") << "+OK 0 0" << "0" << qint64(0);
        QTest::newRow("many") << "+OK 1234 99999999" << "1234" << qint64(1234);
        QTest::newRow("count without size: no blank after it") << "+OK 3" << "" << qint64(0);
        QTest::newRow("bare +OK") << "+OK" << "" << qint64(0);
        QTest::newRow("two blanks: the count is empty") << "+OK  3 100" << "" << qint64(0);
        QTest::newRow("text for a count") << "+OK none 0" << "none" << qint64(0);
        QTest::newRow("digits then text") << "+OK 4x 10" << "4x" << qint64(4);
        QTest::newRow("negative") << "+OK -2 0" << "-2" << qint64(-2);
        QTest::newRow("huge count does not wrap") << "+OK 99999999999999999999999 1" << "99999999999999999999999"
                                                  << (qint64(1) << 53);
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
