#include "platform/DataLocations.h"
#include "platform/TextFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestTextFiles : public QObject
{
    Q_OBJECT

private slots:
    // clang-format off
    void decodesUtf8OrWindows1252_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QByteArray("plain") << QString("plain");
        QTest::newRow("utf-8") << QByteArray("M\xC3\xBCller \xE2\x82\xAC") << QString::fromUtf8("Müller €");
        QTest::newRow("cp1252 euro and umlaut") << QByteArray("M\xFCller \x80") << QString::fromUtf8("Müller €");
        QTest::newRow("cp1252 quotes") << QByteArray("\x93x\x94") << QString::fromUtf8("“x”");
        QTest::newRow("truncated utf-8") << QByteArray("\xC3") << QString::fromUtf8("Ã");
        QTest::newRow("byte order mark kept")
            << QByteArray("\xEF\xBB\xBF\xC3\xA9") << QChar(0xFEFF) + QString::fromUtf8("é");
    }
    // clang-format on
    void decodesUtf8OrWindows1252()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(TextFiles::DecodeLine(bytes), text);
    }

    void splitsCrLfAndLf()
    {
        QCOMPARE(TextFiles::SplitLines("a\r\nb\nc"), QStringList({"a", "b", "c"}));
        QCOMPARE(TextFiles::SplitLines("a\r\n\r\nb\r\n"), QStringList({"a", "", "b"}));
        QCOMPARE(TextFiles::SplitLines(""), QStringList());
        // A byte order mark is dropped from the file's first line only.
        QCOMPARE(TextFiles::SplitLines("\xEF\xBB\xBF\xC3\xA9\r\n\xEF\xBB\xBF\xC3\xA9"),
                 QStringList({QString::fromUtf8("é"), QChar(0xFEFF) + QString::fromUtf8("é")}));
        // Each line decides its own encoding: an old cp1252 line before a new UTF-8 one.
        QCOMPARE(TextFiles::SplitLines("\xE9t\xE9\r\n\xC3\xA9t\xC3\xA9\r\n"),
                 QStringList({QString::fromUtf8("été"), QString::fromUtf8("été")}));
    }

    void appendsUtf8AndReportsFailure()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.log");
        QVERIFY(TextFiles::Append(path, QString::fromUtf8("é\r\n")));
        QVERIFY(TextFiles::Append(path, "b\r\n"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("\xC3\xA9\r\nb\r\n"));
        QString error;
        QVERIFY(!TextFiles::Append(dir.filePath("missing/x.log"), "b", &error));
        QVERIFY(!error.isEmpty());
        error.clear();
        QVERIFY(!TextFiles::Replace(dir.filePath("missing/x.log"), "b", &error));
        QVERIFY(!error.isEmpty());
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
        QFETCH(int, after);
        QTemporaryDir dir;
        const QString path = dir.filePath("peer");
        const QByteArray name = QFile::encodeName(path);
        if (before) {
            QVERIFY(TextFiles::Append(path, "old and longer\n"));
            QCOMPARE(::chmod(name.constData(), mode_t(before)), 0);
        }
        const auto permissions = asked ? std::optional(QFileDevice::ReadOwner | QFileDevice::WriteOwner) : std::nullopt;
        QVERIFY(TextFiles::ReplaceBytes(path, QByteArray("new\0\n", 5), permissions));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("new\0\n", 5));
        struct stat info
        {
        };
        QCOMPARE(::stat(name.constData(), &info), 0);
        QCOMPARE(int(info.st_mode & 0777), after);
    }

    // A FIFO would block the open until another program opens its other end.
    void refusesSpecialFiles()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("Holiday.hl");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const TextFiles::ReadResult read = TextFiles::ReadLines(fifo);
        QVERIFY(!read.ok && !read.missing);
        QVERIFY(read.error.contains("not a regular file"));
        QString error;
        QVERIFY(!TextFiles::Append(fifo, "x\r\n", &error));
        QVERIFY(error.contains("not a regular file"));
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
        QTest::newRow("control characters") << "a\tb\nc\x7f"
                                            << "a_b_c_";
        QTest::newRow("empty") << "" << "_";
    }
    // clang-format on
    void safeFileNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, safe);
        QCOMPARE(SafeFileName(name), safe);
    }

    void locationsFromHomeArePrivate()
    {
        QTemporaryDir dir;
        qputenv("LINEMINDER_HOME", dir.filePath("home").toUtf8());
        const DataLocations locations = DataLocations::fromEnvironment();
        qunsetenv("LINEMINDER_HOME");
        QVERIFY(locations.ensureFolders());
        QCOMPARE(locations.logsDir(), dir.filePath("home") + "/Logs");
        struct stat info
        {
        };
        QCOMPARE(::stat(QFile::encodeName(locations.dataDir()).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0700u);
        QVERIFY(locations.logFile("../x", ".log").startsWith(locations.logsDir() + "/"));
        QVERIFY(!locations.logFile("../x", ".log").contains("/../"));

        // An existing file is made private, never truncated.
        const QString file = locations.configDir() + "/settings.db";
        QVERIFY(TextFiles::Append(file, "kept"));
        QVERIFY(EnsurePrivateFile(file));
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
        QCOMPARE(TextFiles::ReadLines(file).lines, QStringList{"kept"});
    }
};

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_TextFiles.moc"
