#include "line/SerialPorts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSerialPorts : public QObject
{
    Q_OBJECT

private slots:
    // Columns: the files in the device folder; the ports offered, in order.
    // clang-format off
    void listsModemPorts_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("ports");
        QTest::newRow("none") << QStringList{"tty0", "null"} << QStringList{};
        QTest::newRow("groups, each by number") << QStringList{"ttyACM0", "ttyUSB11", "ttyUSB9", "ttyS10", "ttyS2"} << QStringList{"ttyS2", "ttyS10", "ttyUSB9", "ttyUSB11", "ttyACM0"};
        QTest::newRow("other devices left out") << QStringList{"ttySAC0", "ttyS", "ttyUSB0.lock", "ttyAMA0", "ttyS3"} << QStringList{"ttyS3"};
    }
    // clang-format on
    void listsModemPorts()
    {
        QFETCH(QStringList, files);
        QTemporaryDir dev;
        for (const QString &name : files)
            QVERIFY(QFile(dev.filePath(name)).open(QIODevice::WriteOnly));
        QTEST(SerialPorts(dev.path()).replaceInStrings(dev.path() + "/", QString()), "ports");
    }
};

QTEST_GUILESS_MAIN(TestSerialPorts)
#include "tst_SerialPorts.moc"
