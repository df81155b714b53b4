#include "reports/RecordFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "platform/TextFiles.h"

using Records = QList<QStringList>;

class TestRecordFile : public QObject
{
    Q_OBJECT

private slots:
    void parsesLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("fieldCount");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("quoted") << "\"a\",\"b\",\"c\"" << 3 << QStringList{"a", "b", "c"};
        QTest::newRow("comma inside quotes") << "\"a,b\",\"c\"" << 2 << QStringList{"a,b", "c"};
        QTest::newRow("blanks before fields") << " \t\"a\",  \"b\"" << 2 << QStringList{"a", "b"};
        QTest::newRow("blanks inside quotes kept") << "\" a \",\"b \"" << 2 << QStringList{" a ", "b "};
        QTest::newRow("unquoted") << "a,b c,d" << 3 << QStringList{"a", "b c", "d"};
        QTest::newRow("unquoted and quoted") << "1,\"x,y\",2" << 3 << QStringList{"1", "x,y", "2"};
        QTest::newRow("short line") << "\"a\"" << 3 << QStringList{"a", "", ""};
        QTest::newRow("extra fields dropped") << "\"a\",\"b\",\"c\"" << 2 << QStringList{"a", "b"};
        QTest::newRow("empty fields") << "\"\",\"\",\"\"" << 3 << QStringList{"", "", ""};
        QTest::newRow("trailing comma") << "\"a\"," << 2 << QStringList{"a", ""};
        QTest::newRow("empty line") << "" << 2 << QStringList{"", ""};
        QTest::newRow("unterminated quote") << "\"a,b" << 2 << QStringList{"a,b", ""};
        QTest::newRow("text after closing quote") << "\"a\"xyz,\"b\"" << 2 << QStringList{"a", "b"};
        QTest::newRow("doubled quote") << "\"a\"\"b\",\"c\"" << 2 << QStringList{"a", "c"};
        QTest::newRow("stray quote in unquoted") << "ab\"c,d" << 2 << QStringList{"ab\"c", "d"};
        QTest::newRow("non-ascii") << QString::fromUtf8("\"Müller\",\"€\"") << 2
                                   << QStringList{QString::fromUtf8("Müller"), QString::fromUtf8("€")};
        QTest::newRow("no fields wanted") << "\"a\"" << 0 << QStringList{};
    }
    void parsesLines()
    {
        QFETCH(QString, line);
        QFETCH(int, fieldCount);
        QFETCH(QStringList, fields);
        QCOMPARE(RecordFile::ParseLine(line, fieldCount), fields);
    }

    // The fields of a record are read into one shared block; each must still behave as a
    // string of its own: terminated, and changed without touching its neighbours.
    void fieldsAreIndependentStrings_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("ascii") << QByteArray("\"Home\",\"3\",\"5/3/2024\"");
        QTest::newRow("empty fields between") << QByteArray("\"a\",\"\",\"bc\"");
        QTest::newRow("windows-1252") << QByteArray("\"Caf\xE9\",\"\x80\",x");
    }
    void fieldsAreIndependentStrings()
    {
        QFETCH(QByteArray, line);
        QTemporaryDir dir;
        const QString path = dir.filePath("table.ini");
        QVERIFY(TextFiles::Append(path, QString::fromLatin1(line + "\r\n")));
        const QStringList original = RecordFile::ReadRecords(path, 3).records.value(0);
        QCOMPARE(original.size(), 3);

        for (qsizetype changed = 0; changed < original.size(); ++changed) {
            QStringList fields = RecordFile::ReadRecords(path, 3).records.value(0);
            for (const QString &field : fields)
                QCOMPARE(field.utf16()[field.size()], ushort(0));
            fields[changed].append(QStringLiteral("+tail"));
            fields[changed][0] = QLatin1Char('#');
            for (qsizetype other = 0; other < fields.size(); ++other) {
                if (other != changed)
                    QCOMPARE(fields.at(other), original.at(other));
            }
        }

        // The last field left of its record may grow in place over its dead neighbours.
        QString survivor = RecordFile::ReadRecords(path, 3).records.value(0).value(0);
        const QString grown = survivor + QString(200, QLatin1Char('z'));
        survivor.append(QString(200, QLatin1Char('z')));
        survivor.prepend(QStringLiteral(">"));
        QCOMPARE(survivor, QLatin1Char('>') + grown);
    }

    void readsFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("fieldCount");
        QTest::addColumn<Records>("records");
        QTest::newRow("cr lf") << QByteArray("\"a\",\"b\"\r\n\"c\",\"d\"\r\n") << 2 << Records{{"a", "b"}, {"c", "d"}};
        QTest::newRow("lf only") << QByteArray("\"a\",\"b\"\n\"c\",\"d\"\n") << 2 << Records{{"a", "b"}, {"c", "d"}};
        QTest::newRow("no last line end")
            << QByteArray("\"a\",\"b\"\r\n\"c\",\"d\"") << 2 << Records{{"a", "b"}, {"c", "d"}};
        QTest::newRow("blank lines skipped")
            << QByteArray("\r\n\"a\",\"b\"\r\n\r\n  \t\n\"c\",\"d\"\r\n") << 2 << Records{{"a", "b"}, {"c", "d"}};
        QTest::newRow("short line does not shift")
            << QByteArray("\"a\"\r\n\"c\",\"d\"\r\n") << 2 << Records{{"a", ""}, {"c", "d"}};
        QTest::newRow("long line does not shift")
            << QByteArray("\"a\",\"b\",\"x\"\r\n\"c\",\"d\"\r\n") << 2 << Records{{"a", "b"}, {"c", "d"}};
        QTest::newRow("stray quote stays on its line")
            << QByteArray("\"a,b\r\n\"c\",\"d\"\r\n") << 2 << Records{{"a,b", ""}, {"c", "d"}};
        QTest::newRow("windows-1252") << QByteArray("\"Caf\xE9\",\"\x80 5\"\r\n") << 2
                                      << Records{{QString::fromUtf8("Café"), QString::fromUtf8("€ 5")}};
        QTest::newRow("utf-8") << QByteArray("\"M\xC3\xBCller\",\"x\"\r\n") << 2
                               << Records{{QString::fromUtf8("Müller"), "x"}};
        QTest::newRow("encoding per line") << QByteArray("\"\xE9t\xE9\",\"1\"\r\n\"\xC3\xA9t\xC3\xA9\",\"2\"\r\n") << 2
                                           << Records{{QString::fromUtf8("été"), "1"}, {QString::fromUtf8("été"), "2"}};
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF\"a\",\"b\"\r\n") << 2 << Records{{"a", "b"}};
        QTest::newRow("empty file") << QByteArray() << 2 << Records{};
    }
    void readsFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, fieldCount);
        QFETCH(Records, records);
        QTemporaryDir dir;
        const QString path = dir.filePath("table.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        const RecordFile::ReadResult read = RecordFile::ReadRecords(path, fieldCount);
        QVERIFY(read.ok);
        QVERIFY(!read.missing);
        QCOMPARE(read.records, records);
    }

    // Large files are read in blocks and parts; no line may be lost, doubled or cut where
    // they meet.
    void readsLargeFilesWhole_data()
    {
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<bool>("finalLineEnd");
        QTest::newRow("cr lf") << QByteArray("\r\n") << QByteArray() << true;
        QTest::newRow("lf") << QByteArray("\n") << QByteArray() << true;
        QTest::newRow("no final line end") << QByteArray("\r\n") << QByteArray() << false;
        QTest::newRow("byte order mark") << QByteArray("\r\n") << QByteArray("\xEF\xBB\xBF") << true;
    }
    void readsLargeFilesWhole()
    {
        QFETCH(QByteArray, lineEnd);
        QFETCH(QByteArray, start);
        QFETCH(bool, finalLineEnd);
        const int count = 120000; // about 12 MB
        QByteArray bytes = start;
        for (int i = 0; i < count; ++i) {
            // Lengths vary so that part and block ends fall anywhere in a line; every
            // seventh line is Windows-1252.
            bytes += '"' + QByteArray::number(i) + "\",\"" + QByteArray(i % 151, i % 7 ? 'x' : '\xE9') + '"';
            if (i + 1 < count || finalLineEnd)
                bytes += lineEnd;
        }
        QTemporaryDir dir;
        const QString path = dir.filePath("Report.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();

        const RecordFile::ReadResult read = RecordFile::ReadRecords(path, 2);
        QVERIFY(read.ok);
        QCOMPARE(read.records.size(), count);
        for (int i = 0; i < count; ++i) {
            const QStringList &record = read.records.at(i);
            if (record.at(0) != QString::number(i) || record.at(1).size() != i % 151)
                QFAIL(qPrintable(QStringLiteral("record %1 reads as %2").arg(i).arg(record.join(','))));
        }
        QCOMPARE(read.records.at(7).at(1), QString(7 % 151, QChar(0xE9)));
    }

    void missingOrUnreadableFile_data()
    {
        QTest::addColumn<bool>("makeFolder");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("missing");
        QTest::newRow("missing is an empty table") << false << true << true;
        QTest::newRow("a folder cannot be read") << true << false << false;
    }
    void missingOrUnreadableFile()
    {
        QFETCH(bool, makeFolder);
        QFETCH(bool, ok);
        QFETCH(bool, missing);
        QTemporaryDir dir;
        const QString path = dir.filePath("table.ini");
        if (makeFolder)
            QVERIFY(QDir().mkdir(path));
        const RecordFile::ReadResult read = RecordFile::ReadRecords(path, 2);
        QCOMPARE(read.ok, ok);
        QCOMPARE(read.missing, missing);
        QVERIFY(read.records.isEmpty());
        QCOMPARE(read.error.isEmpty(), ok);
    }

    void writesAndReadsBack_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("readBack");
        QTest::newRow("plain") << QStringList{"a", "b"} << QByteArray("\"a\",\"b\"\r\n") << QStringList{"a", "b"};
        QTest::newRow("commas") << QStringList{"1,5", ",", "x"} << QByteArray("\"1,5\",\",\",\"x\"\r\n")
                                << QStringList{"1,5", ",", "x"};
        QTest::newRow("blanks and empty")
            << QStringList{" a ", ""} << QByteArray("\" a \",\"\"\r\n") << QStringList{" a ", ""};
        QTest::newRow("double quote") << QStringList{"say \"hi\"", "b"} << QByteArray("\"say 'hi'\",\"b\"\r\n")
                                      << QStringList{"say 'hi'", "b"};
        QTest::newRow("line break") << QStringList{"a\r\nb", "c\nd"} << QByteArray("\"a  b\",\"c d\"\r\n")
                                    << QStringList{"a  b", "c d"};
        QTest::newRow("utf-8") << QStringList{QString::fromUtf8("Müller €"), "b"}
                               << QByteArray("\"M\xC3\xBCller \xE2\x82\xAC\",\"b\"\r\n")
                               << QStringList{QString::fromUtf8("Müller €"), "b"};
    }
    void writesAndReadsBack()
    {
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, readBack);
        QTemporaryDir dir;
        const QString path = dir.filePath("table.ini");
        // Twice: the second record must not be disturbed by the first.
        QVERIFY(TextFiles::Append(path, RecordFile::FormatRecord(fields)));
        QVERIFY(TextFiles::Append(path, RecordFile::FormatRecord(fields)));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes + bytes);

        const RecordFile::ReadResult read = RecordFile::ReadRecords(path, int(fields.size()));
        QVERIFY(read.ok);
        QCOMPARE(read.records, (Records{readBack, readBack}));
    }
};

QTEST_GUILESS_MAIN(TestRecordFile)
#include "tst_RecordFile.moc"
