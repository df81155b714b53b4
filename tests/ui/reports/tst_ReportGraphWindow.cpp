#include "reports/ReportGraphWindow.h"

#include <QAction>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "support/ScriptedPrompter.h"

class TestReportGraphWindow : public QObject
{
    Q_OBJECT

private slots:
    // The chart saved (or, when that fails, as shown), stretched unevenly: each bar has its
    // colour where the geometry puts it.
    // clang-format off
    void drawsAndSaves_data()
    {
        QTest::addColumn<QString>("file"); // chosen in a temp folder
        QTest::addColumn<bool>("saved");
        QTest::newRow("saved") << "graph.png" << true;
        QTest::newRow("no such folder: told") << "missing/graph.png" << false;
    }
    // clang-format on
    void drawsAndSaves()
    {
        QFETCH(QString, file);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        ScriptedPrompter prompter;
        prompter.allowMessages();
        prompter.expectFile("Save as PNG", dir.filePath(file));
        ReportGraphWindow window(ReportPlot::FromRows(ReportStyle::Daily, {"1/3/26", "2/3/26"}, {"1:0:0", "3:30:0"}),
                                 prompter);
        window.resize(1200, 300); // 1.5 pixels a unit across, 0.75 down
        window.findChild<QAction *>("cmdSavePng")->trigger();
        QCOMPARE(prompter.shown().last().icon, saved ? Prompt::Icon::None : Prompt::Icon::Critical);

        const QImage image = saved ? QImage(dir.filePath(file)) : window.grab().toImage();
        QCOMPARE(image.size(), QSize(1200, 300));
        const QList<ChartBar> bars = window.plot().bars();
        const QList<QColor> navyThenGreen{QColor(0, 0, 128), QColor(0, 128, 0)};
        for (qsizetype k = 0; k < bars.size(); ++k) {
            const QPointF middle((bars.at(k).left + bars.at(k).right) * 0.75,
                                 (bars.at(k).top + bars.at(k).bottom) * 0.375);
            QCOMPARE(image.pixelColor(middle.toPoint()), navyThenGreen.at(k));
        }
        QCOMPARE(window.windowTitle(), QString("Daily Report Graph "));
    }
};

QTEST_MAIN(TestReportGraphWindow)
#include "tst_ReportGraphWindow.moc"
