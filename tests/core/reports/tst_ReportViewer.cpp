#include "reports/ReportViewer.h"

#include <QTest>

#include <optional>

#include "support/FakePrinterPort.h"
#include "support/ScriptedPrompter.h"
#include "support/TempHome.h"

namespace {
const QString kQuestion = QStringLiteral("Are You sure to Print this Report Table using your default printer? \r\n");
const QString kProblem = QStringLiteral("There was a problem printing to your printer...");
} // namespace

class TestReportViewer : public QObject
{
    Q_OBJECT

    TempHome m_home;
    ScriptedPrompter m_prompter;
    FakePrinterPort m_printer;
    std::optional<ReportViewer> m_viewer;

private slots:
    void init()
    {
        m_home.writeFile("Logs/DayArchive.ini", "Home,1/1/2026,3:0:0,$1\r\nWork,2/1/2026,1:0:0,$2\r\n"
                                                "Home,3/1/2026,2:0:0,$3\r\n");
        m_printer = FakePrinterPort();
        m_viewer.emplace(m_home.locations().logsDir(), DateTimeFormats{}, m_prompter, m_printer);
        QVERIFY(m_viewer->display(1, "[All Providers]"));
        m_prompter.clear();
    }

    void plotsTheMarkedRowsAsShown()
    {
        m_viewer->clickCell(0, 0);
        m_viewer->clickCell(2, 0);
        m_viewer->clickCell(1, 1); // not the mark column
        m_viewer->table().sortByColumn(3);
        QCOMPARE(m_viewer->counterText(), QStringLiteral("2"));
        QCOMPARE(m_viewer->plottedDates(), (QStringList{"3/1/2026", "1/1/2026"}));
        QCOMPARE(m_viewer->plottedTimes(), (QStringList{"2:0:0", "3:0:0"}));
        m_prompter.expect("Select Report Table Style");
        QVERIFY(m_viewer->display(3, "Home")); // the table on display stays
        QCOMPARE(m_viewer->counterText(), QStringLiteral("2"));
    }

    // clang-format off
    void printsAfterTheQuestion_data()
    {
        QTest::addColumn<QString>("printer");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<int>("printed");
        QTest::newRow("printed") << "Office" << int(Prompt::Answer::Yes) << "" << QStringList{kQuestion + QString(19, ' ') + "Office"} << 1;
        QTest::newRow("declined") << "Office" << int(Prompt::Answer::No) << "" << QStringList{kQuestion + QString(19, ' ') + "Office"} << 0;
        QTest::newRow("no default printer") << "" << 0 << "" << QStringList{"There is no default printer: choose one in the system's printer settings.", kProblem} << 0;
        QTest::newRow("printing fails") << "Office" << int(Prompt::Answer::Yes) << "Out of paper" << QStringList{kQuestion + QString(19, ' ') + "Office", "Out of paper", kProblem} << 0;
    }
    // clang-format on
    void printsAfterTheQuestion()
    {
        QFETCH(QString, printer);
        QFETCH(int, answer);
        QFETCH(QString, failure);
        QFETCH(QStringList, told);
        QFETCH(int, printed);
        m_printer.setDefaultPrinterName(printer);
        m_printer.setFailure(failure);
        m_prompter.allowMessages();
        if (!printer.isEmpty())
            m_prompter.expect(told.front(), Prompt::Answer(answer));
        m_viewer->print("Title");
        QCOMPARE(m_prompter.shownTexts(), told);
        QCOMPARE(m_printer.printed().size(), printed);
        if (printed)
            QCOMPARE(m_printer.printed().front().rows, 3);
    }

    void exportsTheTableAsShown()
    {
        m_viewer->display(1, "Home");
        m_viewer->table().sortByColumn(3);
        const QString csv = m_home.path() + "/table.csv";
        m_prompter.expectFile("Export Report Table", csv);
        m_viewer->exportTable("Title");
        QCOMPARE(m_home.readFile("table.csv"),
                 QByteArray("Provider,Date,Day Time,Day Cost\r\nHome,3/1/2026,2:0:0,$3\r\nHome,1/1/2026,3:0:0,$1\r\n"));
        m_prompter.expectFile("Export Report Table", m_home.path() + "/table.PDF");
        m_viewer->exportTable("Title");
        QCOMPARE(m_printer.printed().size(), 1);
        QCOMPARE(m_printer.printed().front().pdfPath, m_home.path() + "/table.PDF");
    }

    void deletesOnlyAfterYes()
    {
        m_viewer->display(1, "Home");
        m_prompter.expect("Are you sure to delete this table?", Prompt::Answer::No);
        QVERIFY(!m_viewer->deleteTable());
        m_prompter.expect("Are you sure to delete this table?", Prompt::Answer::Yes);
        QVERIFY(m_viewer->deleteTable());
        QCOMPARE(m_home.readFile("Logs/DayArchive.ini"), QByteArray("Work,2/1/2026,1:0:0,$2\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestReportViewer)
#include "tst_ReportViewer.moc"
