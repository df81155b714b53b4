#include "platform/DataLocations.h"
#include "platform/TextFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The file's permission bits, -1 when it cannot be read.
int mode(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

} // namespace

class TestTextFiles : public QObject
{
    Q_OBJECT

private slots:
    // Each line decodes as UTF-8 when it is valid, otherwise as Windows-1252.
    // clang-format off
    void splitsAndDecodesLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("ascii") << QByteArray("plain") << QStringList{"plain"};
        QTest::newRow("utf-8") << QByteArray("M\xC3\xBCller \xE2\x82\xAC") << QStringList{QString::fromUtf8("Müller €")};
        QTest::newRow("cp1252 euro and umlaut") << QByteArray("M\xFCller \x80") << QStringList{QString::fromUtf8("Müller €")};
        QTest::newRow("cp1252 quotes") << QByteArray("\x93x\x94") << QStringList{QString::fromUtf8("“x”")};
        QTest::newRow("truncated utf-8") << QByteArray("\xC3") << QStringList{QString::fromUtf8("Ã")};
        QTest::newRow("CR LF and LF") << QByteArray("a\r\nb\nc") << QStringList{"a", "b", "c"};
        QTest::newRow("empty line kept, last end adds none") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("nothing") << QByteArray("") << QStringList();
        QTest::newRow("byte order mark dropped from the first line only") << QByteArray("\xEF\xBB\xBF\xC3\xA9\r\n\xEF\xBB\xBF\xC3\xA9") << QStringList{QString::fromUtf8("é"), QChar(0xFEFF) + QString::fromUtf8("é")};
        QTest::newRow("old cp1252 line before a UTF-8 one") << QByteArray("\xE9t\xE9\r\n\xC3\xA9t\xC3\xA9\r\n") << QStringList{QString::fromUtf8("été"), QString::fromUtf8("été")};
    }
    // clang-format on
    void splitsAndDecodesLines()
    {
        QFETCH(QByteArray, bytes);
        QTEST(TextFiles::SplitLines(bytes), "lines");
    }

    // Written as UTF-8; a missing folder is a failure told. A FIFO is refused: it would block the open
    // until another program opens its other end.
    void appendsUtf8AndReportsFailure()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.log");
        QVERIFY(TextFiles::Append(path, QString::fromUtf8("é\r\n")));
        QVERIFY(TextFiles::Append(path, "b\r\n"));
        QCOMPARE(readAll(path), QByteArray("\xC3\xA9\r\nb\r\n"));
        QString appendError, replaceError, fifoError;
        QVERIFY(!TextFiles::Append(dir.filePath("missing/x.log"), "b", &appendError));
        QVERIFY(!TextFiles::Replace(dir.filePath("missing/x.log"), "b", &replaceError));
        QVERIFY(!appendError.isEmpty() && !replaceError.isEmpty());
        const QString fifo = dir.filePath("Holiday.hl");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const TextFiles::ReadResult read = TextFiles::ReadLines(fifo);
        QVERIFY(!read.ok && !read.missing && read.error.contains("not a regular file"));
        QVERIFY(!TextFiles::Append(fifo, "x\r\n", &fifoError));
        QVERIFY(fifoError.contains("not a regular file"));
    }

    // A replaced file keeps its permissions unless others are asked for. Modes: 0 = none.
    // clang-format off
    void replaceKeepsOrSetsPermissions_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("after");
        QTest::newRow("kept") << 0640 << 0 << 0640;
        QTest::newRow("set") << 0644 << 0600 << 0600;
        QTest::newRow("new file, set") << 0 << 0600 << 0600;
    }
    // clang-format on
    void replaceKeepsOrSetsPermissions()
    {
        QFETCH(int, before);
        QFETCH(int, asked);
        QTemporaryDir dir;
        const QString path = dir.filePath("peer");
        if (before) {
            QVERIFY(TextFiles::Append(path, "old and longer\n"));
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(before)), 0);
        }
        const auto permissions = asked ? std::optional(QFileDevice::ReadOwner | QFileDevice::WriteOwner) : std::nullopt;
        QVERIFY(TextFiles::ReplaceBytes(path, QByteArray("new\0\n", 5), permissions));
        QCOMPARE(readAll(path), QByteArray("new\0\n", 5));
        QTEST(mode(path), "after");
    }

    // clang-format off
    void safeFileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("safe");
        QTest::newRow("slash") << "a/b" << "a_b";
        QTest::newRow("backslash") << "a\\b" << "a_b";
        QTest::newRow("parent") << "../../etc/passwd" << "_._.._etc_passwd";
        QTest::newRow("dot") << ".hidden" << "_hidden";
        QTest::newRow("nul") << QString("a") + QChar(0) + "b" << "a_b";
        QTest::newRow("control characters") << "a\tb\nc\x7f" << "a_b_c_";
        QTest::newRow("empty") << "" << "_";
    }
    // clang-format on
    void safeFileNames()
    {
        QFETCH(QString, name);
        QTEST(SafeFileName(name), "safe");
    }

    void locationsFromHomeArePrivate()
    {
        QTemporaryDir dir;
        qputenv("LINEMINDER_HOME", dir.filePath("home").toUtf8());
        const DataLocations locations = DataLocations::fromEnvironment();
        qunsetenv("LINEMINDER_HOME");
        QVERIFY(locations.ensureFolders());
        QCOMPARE(locations.logsDir(), dir.filePath("home") + "/Logs");
        QCOMPARE(mode(locations.dataDir()), 0700);
        QVERIFY(locations.logFile("../x", ".log").startsWith(locations.logsDir() + "/"));
        QVERIFY(!locations.logFile("../x", ".log").contains("/../"));

        // An existing file is made private, never truncated.
        const QString file = locations.configDir() + "/settings.db";
        QVERIFY(TextFiles::Append(file, "kept"));
        QVERIFY(EnsurePrivateFile(file));
        QCOMPARE(mode(file), 0600);
        QCOMPARE(TextFiles::ReadLines(file).lines, QStringList{"kept"});
    }
};

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_TextFiles.moc"
