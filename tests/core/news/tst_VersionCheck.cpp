#include "news/VersionCheck.h"

#include <QTest>

using namespace VersionCheck;

// The version file against the running version, and the news text.
class TestVersionCheck : public QObject
{
    Q_OBJECT

private slots:
    // "result": new (the remote number shown), same (the most recent), or fail.
    // clang-format off
    void comparesTheVersionFile_data()
    {
        QTest::addColumn<QByteArray>("running");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("result");
        QTest::newRow("condensed, newer") << QByteArray("1.2.3") << QByteArray("124") << "new 1.2.4";
        QTest::newRow("condensed, equal") << QByteArray("1.2.3") << QByteArray("123") << "same";
        QTest::newRow("condensed, four digits") << QByteArray("1.2.3") << QByteArray("1234") << "new 12.3.4";
        QTest::newRow("blanks and CR LF") << QByteArray("1.2.3") << QByteArray(" 124\r\n") << "new 1.2.4";
        QTest::newRow("minor of two digits") << QByteArray("1.9.9") << QByteArray("1.10.0") << "new 1.10.0";
        QTest::newRow("major first") << QByteArray("1.9.9") << QByteArray("2.0.0") << "new 2.0.0";
        QTest::newRow("16 bytes") << QByteArray("1.2.3") << QByteArray("0000000000000124") << "new 1.2.4";
        QTest::newRow("17 bytes") << QByteArray("1.2.3") << QByteArray("00000000000000124") << "fail";
        QTest::newRow("major past an int") << QByteArray("1.2.3") << QByteArray("214748364800") << "fail";
        QTest::newRow("dotted, largest int") << QByteArray("1.2.3") << QByteArray("2147483647.0.0") << "new 2147483647.0.0";
        QTest::newRow("dotted past an int") << QByteArray("1.2.3") << QByteArray("2147483648.0.0") << "fail";
        QTest::newRow("letters") << QByteArray("1.2.3") << QByteArray("abc") << "fail";
        QTest::newRow("empty") << QByteArray("1.2.3") << QByteArray("") << "fail";
        QTest::newRow("fraction") << QByteArray("1.2.3") << QByteArray("12.4") << "fail";
        QTest::newRow("empty part") << QByteArray("1.2.3") << QByteArray("1..4") << "fail";
    }
    // clang-format on
    void comparesTheVersionFile()
    {
        QFETCH(QByteArray, running);
        QFETCH(QByteArray, body);
        QFETCH(QString, result);
        const auto remote = Parse(body);
        const QString shown = !remote
                                  ? QStringLiteral("fail")
                                  : ResultText(*Parse(running), *remote)
                                        .replace("A more recent version of LineMinder exists! New version: ", "new ")
                                        .replace("You already have the most recent version!", "same");
        QCOMPARE(shown, result);
    }

    // clang-format off
    void decodesTheNews_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("news");
        QTest::newRow("UTF-8, CR LF") << QByteArray("Gr\xc3\xbc\xc3\x9f" "e\r\nzwei\n") << QString::fromUtf8("Grüße\nzwei");
        QTest::newRow("Windows-1252") << QByteArray("Caf\xe9 \x80 \x93x\x94\n") << QString::fromUtf8("Café € “x”");
        QTest::newRow("last byte is not news") << QByteArray("ab") << QString("a");
        QTest::newRow("one byte") << QByteArray("\n") << QString("");
        QTest::newRow("empty body") << QByteArray("") << QString("");
    }
    // clang-format on
    void decodesTheNews()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, news);
        QCOMPARE(DecodeNews(body), news);
    }
};

QTEST_GUILESS_MAIN(TestVersionCheck)
#include "tst_VersionCheck.moc"
