#include "mail/Pop3LineReader.h"

#include <QTest>

class TestPop3LineReader : public QObject
{
    Q_OBJECT

private slots:
    void framing_data()
    {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<QList<QByteArray>>("lines");
        QTest::addColumn<bool>("overlong");
        using Bytes = QList<QByteArray>;
        QTest::newRow("one line") << Bytes{"+OK ready\r\n"} << Bytes{"+OK ready"} << false;
        QTest::newRow("split inside CR LF") << Bytes{"+OK ready\r", "\n"} << Bytes{"+OK ready"} << false;
        QTest::newRow("split in the word") << Bytes{"+O", "K 2", " 320\r\n"} << Bytes{"+OK 2 320"} << false;
        QTest::newRow("two lines in one read") << Bytes{"+OK a\r\n-ERR b\r\n"} << Bytes{"+OK a", "-ERR b"} << false;
        QTest::newRow("LF alone ends a line") << Bytes{"+OK\n"} << Bytes{"+OK"} << false;
        QTest::newRow("no line end yet") << Bytes{"+OK waiting"} << Bytes{} << false;
        QTest::newRow("empty line") << Bytes{"\r\n"} << Bytes{""} << false;
        QTest::newRow("512 octets with CR LF")
            << Bytes{QByteArray(510, 'x') + "\r\n"} << Bytes{QByteArray(510, 'x')} << false;
        QTest::newRow("513 octets with CR LF") << Bytes{QByteArray(511, 'x') + "\r\n"} << Bytes{} << true;
        QTest::newRow("600 octets in pieces")
            << Bytes{QByteArray(300, 'x'), QByteArray(300, 'x'), "\r\n"} << Bytes{} << true;
        QTest::newRow("513 octets and no end yet") << Bytes{QByteArray(513, 'x')} << Bytes{} << true;
        QTest::newRow("512 octets and no end yet") << Bytes{QByteArray(512, 'x')} << Bytes{} << false;
        QTest::newRow("good line, then a long one") << Bytes{"+OK\r\n" + QByteArray(600, 'x')} << Bytes{"+OK"} << true;
    }
    void framing()
    {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(QList<QByteArray>, lines);
        QFETCH(bool, overlong);
        Pop3LineReader reader;
        QList<QByteArray> taken;
        for (const QByteArray &piece : pieces) {
            reader.append(piece);
            while (const std::optional<QByteArray> line = reader.takeLine())
                taken.append(*line);
        }
        QCOMPARE(taken, lines);
        QCOMPARE(reader.overlong(), overlong);
    }

    void clearStartsAfresh()
    {
        Pop3LineReader reader;
        reader.append(QByteArray(600, 'x'));
        QVERIFY(reader.overlong());
        reader.append("+OK\r\n");
        QVERIFY(!reader.takeLine());
        reader.clear();
        reader.append("half a li");
        reader.clear();
        reader.append("+OK\r\n");
        QCOMPARE(reader.takeLine(), std::optional<QByteArray>("+OK"));
    }
};

QTEST_GUILESS_MAIN(TestPop3LineReader)
#include "tst_Pop3LineReader.moc"
