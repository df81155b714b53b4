#include "reports/RecordFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>

#include "platform/TextFiles.h"
#include "support/TempHome.h"

using Records = QList<QStringList>;

class TestRecordFile : public QObject
{
    Q_OBJECT

    TempHome m_home;

    QString fileWith(const QByteArray &bytes)
    {
        return m_home.writeFile(QString::fromLatin1(QTest::currentDataTag()) + ".ini", bytes);
    }

private slots:
    // clang-format off
    void readsRecords_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Records>("records");
        QTest::newRow("blank lines") << QByteArray("\r\n\"a\",\"b\"\r\n \t\n") << Records{{"a", "b"}};
        QTest::newRow("short line") << QByteArray("\"a\"\r\n\"c\",\"d\"") << Records{{"a", ""}, {"c", "d"}};
        QTest::newRow("extra fields") << QByteArray("\"a\",\"b\",\"x\"\r\n\"c\",\"d\"")
                                      << Records{{"a", "b"}, {"c", "d"}};
        QTest::newRow("stray quote") << QByteArray("\"a,b\r\n\"c\",\"d\"") << Records{{"a,b", ""}, {"c", "d"}};
        QTest::newRow("after closing quote") << QByteArray("\"a\"x,\"b\"") << Records{{"a", "b"}};
        QTest::newRow("doubled quote") << QByteArray("\"a\"\"b\",\"c\"") << Records{{"a", "c"}};
        QTest::newRow("blanks before") << QByteArray(" \t\"a\",  \" b\"") << Records{{"a", " b"}};
        QTest::newRow("unquoted") << QByteArray("a b,\"c,d\"") << Records{{"a b", "c,d"}};
        QTest::newRow("quote in unquoted") << QByteArray("a\"b,c") << Records{{"a\"b", "c"}};
        QTest::newRow("trailing comma") << QByteArray("\"a\",") << Records{{"a", ""}};
        QTest::newRow("encoding per line") << QByteArray("\"\xE9\",\"1\"\r\n\"\xC3\xA9\",\"2\"")
                                           << Records{{QString::fromUtf8("é"), "1"}, {QString::fromUtf8("é"), "2"}};
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF\"a\",\"b\"") << Records{{"a", "b"}};
        QTest::newRow("byte order mark on a later line")
            << QByteArray("\"a\",\"b\"\r\n\xEF\xBB\xBF\"\xC3\xA9\",\"c\"")
            << Records{{"a", "b"}, {QChar(0xFEFF) + QString::fromUtf8("\"é\""), "c"}};
        QTest::newRow("empty file") << QByteArray() << Records{};
        QTest::newRow("past the 16-bit bounds") << "\"" + QByteArray(40000, 'a') + "\",\"" + QByteArray(40000, 'b') + "\""
                                                << Records{{QString(40000, 'a'), QString(65535 - 40000, 'b')}};
    }
    // clang-format on
    void readsRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Records, records);
        const RecordFile::ReadResult read = RecordFile::ReadRecords(fileWith(bytes), 2);
        QVERIFY(read.ok && !read.missing);
        QCOMPARE(read.lists(), records);
        // The line parser follows the same rules as the file reader.
        const QStringList lines = TextFiles::SplitLines(bytes);
        if (!records.isEmpty() && lines.size() == 1)
            QCOMPARE(RecordFile::ParseLine(lines.front(), 2), records.front());
    }

    void missingOrUnreadable()
    {
        const QDir dir(m_home.path());
        const RecordFile::ReadResult missing = RecordFile::ReadRecords(dir.filePath("none.ini"), 2);
        QVERIFY(missing.ok && missing.missing && missing.records.isEmpty());
        const QString fifo = dir.filePath("fifo.ini"); // would block the open
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const RecordFile::ReadResult special = RecordFile::ReadRecords(fifo, 2);
        QVERIFY(!special.ok && !special.missing && !special.error.isEmpty());
    }

    // Large files are read in blocks and in parts: no line lost, doubled or cut where they meet.
    void readsLargeFilesWhole()
    {
        const int count = 120000; // about 12 MB
        QByteArray bytes;
        for (int i = 0; i < count; ++i) {
            // Varying lengths and line ends put block and part ends anywhere in a line, between
            // CR and LF too; some lines are Windows-1252; the last line has no end.
            bytes += '"' + QByteArray::number(i) + "\",\"" + QByteArray(i % 151, i % 7 ? 'x' : '\xE9') + '"';
            if (i + 1 < count)
                bytes += i % 3 ? "\r\n" : "\n";
        }
        const RecordFile::ReadResult read = RecordFile::ReadRecords(m_home.writeFile("large.ini", bytes), 2);
        QCOMPARE(read.records.size(), count);
        for (int i = 0; i < count; ++i) {
            const QStringList record = read.records.at(i).toStringList();
            if (record.at(0) != QString::number(i) || record.at(1).size() != i % 151)
                QFAIL(qPrintable(QStringLiteral("record %1 reads as %2").arg(i).arg(record.join(','))));
        }
        QCOMPARE(read.records.at(7).value(1), QString(7, QChar(0xE9)));
    }

    // What is written reads back as one record a line, in the form the file holds it.
    // clang-format off
    void writesAndReadsBack_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("commas, blanks, empty") << QStringList{"1,5", " a ", ""} << QByteArray("\"1,5\",\" a \",\"\"\r\n");
        QTest::newRow("double quote") << QStringList{"say \"hi\"", "b", "c"} << QByteArray("\"say 'hi'\",\"b\",\"c\"\r\n");
        QTest::newRow("line break") << QStringList{"a\r\nb", "c\nd", ""} << QByteArray("\"a  b\",\"c d\",\"\"\r\n");
        QTest::newRow("utf-8") << QStringList{QString::fromUtf8("Müller €"), "", ""}
                               << QByteArray("\"M\xC3\xBCller \xE2\x82\xAC\",\"\",\"\"\r\n");
    }
    // clang-format on
    void writesAndReadsBack()
    {
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, bytes);
        const QString path = fileWith(QByteArray());
        QVERIFY(TextFiles::Append(path, RecordFile::FormatRecord(fields)));
        QVERIFY(TextFiles::Append(path, RecordFile::FormatRecord(fields)));
        QCOMPARE(m_home.readFile(QFileInfo(path).fileName()), bytes + bytes);
        const QStringList record = RecordFile::ParseLine(QString::fromUtf8(bytes.chopped(2)), 3);
        QCOMPARE(RecordFile::ReadRecords(path, 3).lists(), (Records{record, record}));
    }
};

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_RecordFile.moc"
