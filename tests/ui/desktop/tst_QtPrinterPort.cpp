#include "desktop/QtPrinterPort.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "support/TextTableModel.h"

class TestQtPrinterPort : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // The text of the PDF within its pages (A4 landscape at 72 dpi), pages ending in a form feed.
    static QString pdfText(const QString &path)
    {
        QProcess process;
        const QStringList crop = QStringLiteral("-x 0 -y 0 -W 842 -H 595").split(QLatin1Char(' '));
        process.start(QStringLiteral("pdftotext"), crop + QStringList{path, QStringLiteral("-")});
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }

private slots:
    // clang-format off
    void writesEveryRowToPdf_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::newRow("3,000 rows of the full table") << 3000 << 11;
        QTest::newRow("wider than the page") << 5 << 40;
    }
    // clang-format on
    void writesEveryRowToPdf()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(int, rows);
        QFETCH(int, columns);
        const TextTableModel table(TextTableModel::numberedHeaders(columns),
                                   TextTableModel::numberedRows(rows, columns));
        const QString title = QStringLiteral("Connections' Report Table for: 7/12/2026 14:00:00");
        const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".pdf"));
        QString error;
        QVERIFY2(QtPrinterPort().writePdf({title, &table}, path, &error), qPrintable(error));

        // The title once, on the first page; the header on every page; each row's last cell once.
        const QString text = pdfText(path);
        const qsizetype pages = text.count(QLatin1Char('\f'));
        QCOMPARE(text.count(title), 1);
        QVERIFY(text.indexOf(title) < text.indexOf(QLatin1Char('\f')));
        QCOMPARE(text.count(QStringLiteral("Column %1").arg(columns - 1)), pages);
        const QRegularExpression lastCells(QStringLiteral("\\br\\d+c%1\\b").arg(columns - 1));
        QCOMPARE(text.count(lastCells), rows);
        QVERIFY(text.contains(QStringLiteral("r%1c%2").arg(rows - 1).arg(columns - 1)));
    }

    void reportsPdfFailure()
    {
        const TextTableModel table(TextTableModel::numberedHeaders(2), TextTableModel::numberedRows(2, 2));
        const QString path = m_dir.filePath(QStringLiteral("none/table.pdf"));
        QString error;
        QVERIFY(!QtPrinterPort().writePdf({QStringLiteral("Title"), &table}, path, &error));
        QVERIFY(error.contains(path));
        QVERIFY(!QDir(m_dir.filePath(QStringLiteral("none"))).exists());
    }
};

QTEST_MAIN(TestQtPrinterPort)
#include "tst_QtPrinterPort.moc"
