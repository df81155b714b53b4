#include "accounting/TariffFile.h"

#include <QTest>

#include <sys/stat.h>

#include "support/TempHome.h"

class TestTariffFile : public QObject
{
    Q_OBJECT

    TempHome m_home;

private slots:
    // A file is imported, and what it gave is exported again: "none" when it gave nothing.
    void importTakesOnlyAUsableLastRecord_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("exported");
        const QByteArray evening = R"("Evening",0,"08:00:00","18:00:00","00:00:00","0.0500","0.0200","0.0000")"
                                   "\r\n";
        // clang-format off
        QTest::newRow("evening") << evening << evening;
        QTest::newRow("three, h:mm, blanks") << QByteArray(R"( "T" , 1 ,"8:00","18:30:05","22:00","1","2,5","3")") << QByteArray(R"("T",1,"08:00:00","18:30:05","22:00:00","1","2,5","3")" "\r\n");
        QTest::newRow("one interval ignores the rest") << QByteArray(R"("F",2,"x","y","z","0.1","bad","-1")") << QByteArray(R"("F",2,"x","y","z","0.1","bad","-1")" "\r\n");
        QTest::newRow("Windows-1252") << QByteArray("\"Nacht\xE4\",2,\"\",\"\",\"\",\"1\",\"\",\"\"") << QByteArray("\"Nacht\xC3\xA4\",2,\"\",\"\",\"\",\"1\",\"\",\"\"\r\n");
        QTest::newRow("several lines: last complete") << R"("F",2,"","","","1","","")" "\n" + evening + R"("S",2,"","","","1","","","")" "\r\n\r\n" << evening;
        QTest::newRow("last complete has code 3") << evening + R"("B",3,"","","","1","","")" << QByteArray("none");
        QTest::newRow("64 KiB") << QByteArray(TariffFile::kMaxFileSize - evening.size(), '\n') + evening << evening;
        QTest::newRow("huge") << evening + QByteArray(TariffFile::kMaxFileSize, '\n') << QByteArray("none");
        QTest::newRow("binary") << QByteArray("\0\xff,\x01,\x02,\x03,\x04,\x05,\x06,\x07", 16) << QByteArray("none");
        QTest::newRow("seven fields") << QByteArray(R"("F",2,"","","","1","")") << QByteArray("none");
        QTest::newRow("time with AM") << QByteArray(R"("T",0,"1:00 AM","2:00","","1","1","")") << QByteArray("none");
        QTest::newRow("third time bad") << QByteArray(R"("T",1,"1:00","2:00","x","1","1","1")") << QByteArray("none");
        QTest::newRow("third cost empty") << QByteArray(R"("T",1,"1:00","2:00","3:00","1","1","")") << QByteArray("none");
        QTest::newRow("negative cost") << QByteArray(R"("F",2,"","","","-0.0001","","")") << QByteArray("none");
        QTest::newRow("fifo") << QByteArray("fifo") << QByteArray("none");
        // clang-format on
    }
    void importTakesOnlyAUsableLastRecord()
    {
        QFETCH(QByteArray, bytes);
        const QString path = m_home.path() + '/' + QTest::currentDataTag();
        QVERIFY(bytes == "fifo" ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                                : !m_home.writeFile(QTest::currentDataTag(), bytes).isEmpty());
        QString error; // a file is no folder to export into
        QVERIFY(!TariffFile::Export(path + "/in.tff", {}, &error) && !error.isEmpty());
        const auto record = TariffFile::Import(path);
        QVERIFY(!record || TariffFile::Export(path + ".tff", *record));
        QTEST(record ? m_home.readFile(QTest::currentDataTag() + QString(".tff")) : QByteArray("none"), "exported");
    }
};

QTEST_GUILESS_MAIN(TestTariffFile)
#include "tst_TariffFile.moc"
