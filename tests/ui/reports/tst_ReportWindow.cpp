#include "reports/ReportWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "reports/ReportGraphWindow.h"
#include "support/CoreRig.h"
#include "support/FakePrinterPort.h"

// A user's week on the simulated line, looked back on in the report window.
class TestReportWindow : public QObject
{
    Q_OBJECT

    static void call(EngineRig &rig, int seconds)
    {
        rig.prompter.allowMessages(); // the call's own messages
        rig.connectAndOpen();
        rig.scheduler.advanceSeconds(seconds);
        rig.core.disconnectLine();
        rig.scheduler.advanceSeconds(3);
    }

    static void nextDay(EngineRig &rig)
    {
        rig.clock.setNow(QDateTime(rig.clock.now().date().addDays(1), QTime(9, 0)));
        rig.scheduler.advanceSeconds(2);
        rig.loadProvider("Home"); // the day before closes into the daily archive
    }

    static void display(ReportWindow &window, int style)
    {
        window.findChild<QComboBox *>("ComboStyle")->setCurrentIndex(style);
        window.findChild<QPushButton *>("Command1")->click();
    }

    static void clickCell(QTableView *grid, int row, int column)
    {
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

private slots:
    // Three calls on two days; the viewer sorts the days, marks both, plots them, prints the
    // daily table and exports it.
    void threeCallsOnTwoDays()
    {
        EngineRig rig;
        rig.prepareHome();
        call(rig, 60);
        call(rig, 7200);
        nextDay(rig);
        call(rig, 1800);
        nextDay(rig);
        QCoreApplication::processEvents(); // the messages shown after the calls
        rig.prompter.allowMessages(false);

        FakePrinterPort printer;
        printer.setDefaultPrinterName("Office");
        ReportWindow window(rig.core, printer);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("LineMinder - Report Tabel"));
        auto *grid = window.findChild<QTableView *>("Grid");
        auto *plot = window.findChild<QPushButton *>("cmdPlot");
        QVERIFY(grid->isHidden() && !window.findChild<QPushButton *>("cmdPrint")->isEnabled());
        display(window, 0);
        QCOMPARE(grid->model()->rowCount(), 3);
        QCOMPARE(grid->model()->index(2, 6).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QVERIFY(plot->isHidden());

        display(window, 1);
        QCOMPARE(grid->model()->rowCount(), 2);
        QVERIFY(plot->isVisible() && !plot->isEnabled());
        grid->horizontalHeader()->sectionClicked(3);
        grid->horizontalHeader()->sectionClicked(3); // the longest day first
        QCOMPARE(grid->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("<< Day Time"));
        QCOMPARE(grid->model()->index(1, 3).data().toString(), QStringLiteral("0:30:0"));
        clickCell(grid, 0, 0);
        clickCell(grid, 1, 0);
        QCOMPARE(window.findChild<QLabel *>("lblSelectedNum")->text(), QStringLiteral("2"));
        QCOMPARE(grid->model()->index(1, 0).data().toString(), QStringLiteral("-->"));
        QVERIFY(plot->isEnabled());

        plot->click();
        ReportGraphWindow *graph = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            graph = graph ? graph : qobject_cast<ReportGraphWindow *>(widget);
        QVERIFY(graph);
        QCOMPARE(graph->plot().times, (QStringList{"2:1:0", "0:30:0"}));
        graph->close();
        QCOMPARE(window.findChild<QLabel *>("lblSelectedNum")->text(), QStringLiteral("2"));

        rig.prompter.expect("Are You sure to Print this Report Table using your default printer? \r\n" +
                                QString(19, ' ') + "Office",
                            Prompt::Answer::Yes);
        window.findChild<QPushButton *>("cmdPrint")->click();
        QCOMPARE(printer.printed().size(), 1);
        QCOMPARE(printer.printed().front().rows, 2);
        QVERIFY(printer.printed().front().title.startsWith("Connections' Report Table for: "));

        const QString csv = rig.home.path() + "/days.csv";
        rig.prompter.expectFile("Export Report Table", csv);
        window.findChild<QPushButton *>("cmdExport")->click();
        const QList<QByteArray> lines = rig.home.readFile("days.csv").split('\n');
        QCOMPARE(lines.size(), 4); // the header, two days, the last line end
        QVERIFY(lines.at(1).startsWith("Home,5/3/2024,2:1:0,"));
    }
};

QTEST_MAIN(TestReportWindow)
#include "tst_ReportWindow.moc"
