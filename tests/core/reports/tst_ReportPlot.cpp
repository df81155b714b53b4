#include "reports/ReportPlot.h"

#include <QTest>

class TestReportPlot : public QObject
{
    Q_OBJECT

private slots:
    // times: "12x2:0:0" repeats a time; dates: how many date texts, -1 one per time. lastBar: the
    // last bar's "left,top,right,bottom/width of the surface"; labels: hour labels 1, 3 and the last.
    // clang-format off
    void plotsTheMarkedRows_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("times");
        QTest::addColumn<int>("dates");
        QTest::addColumn<QString>("heights");
        QTest::addColumn<QString>("lastBar");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("labels");
        const int daily = int(ReportStyle::Daily), monthly = int(ReportStyle::Monthly);
        const QString hours = "01:00 -@310,03:00 -@250,09:00 -@70", fourHours = "04:00 -@310,12:00 -@250,40:00 -@40";
        QTest::newRow("two days") << daily << "1:0:0,3:30:0" << -1 << "30,105" << "151,235,217,338/800" << "Daily average of OnLine time is: 2:15  per day." << hours;
        QTest::newRow("half minutes to the even") << daily << "0:0:30,0:1:30" << -1 << "0,1" << "151,339,217,338/800" << "Daily average of OnLine time is: 0:01  per day." << hours;
        QTest::newRow("a half hundredth of an hour up") << daily << "0:1:0,0:2:0" << -1 << "0,1" << "151,339,217,338/800" << "Daily average of OnLine time is: 0:02  per day." << hours;
        QTest::newRow("over 10 hours: above the axis") << daily << "10:2:0,0:0:0" << -1 << "301,0" << "151,340,217,338/800" << "Daily average of OnLine time is: 5:01  per day." << hours;
        QTest::newRow("40 hours: the axis top") << monthly << "40:0:0,20:0:0" << -1 << "300,150" << "151,190,217,338/800" << "Monthly average of OnLine time is: 30:00  per month." << fourHours;
        QTest::newRow("eighths to the even") << monthly << "0:4:0,0:12:0" << -1 << "0,2" << "151,338,217,338/800" << "Monthly average of OnLine time is: 0:08  per month." << fourHours;
        QTest::newRow("twelve bars widen") << daily << "12x2:0:0" << -1 << "60,60,60,60,60,60,60,60,60,60,60,60" << "851,280,917,338/1041" << "Daily average of OnLine time is: 2:00  per day." << hours;
        QTest::newRow("a year of 744-hour months") << monthly << "12x744:0:0" << -1 << "5580,5580,5580,5580,5580,5580,5580,5580,5580,5580,5580,5580" << "851,-5240,917,338/1041" << "Monthly average of OnLine time is: 744:00  per month." << fourHours;
        QTest::newRow("no rows: axes only") << daily << "" << -1 << "" << "0,0,0,0/800" << "" << "";
        QTest::newRow("more dates than times") << monthly << "1:0:0" << 2 << "" << "0,0,0,0/800" << "" << "";
        QTest::newRow("the full table") << int(ReportStyle::Full) << "1:0:0,2:0:0" << -1 << "" << "0,0,0,0/800" << "" << "";
    }
    // clang-format on
    void plotsTheMarkedRows()
    {
        QFETCH(int, style);
        QFETCH(QString, times);
        QFETCH(int, dates);
        QFETCH(QString, heights);
        QFETCH(QString, lastBar);
        QFETCH(QString, line);
        QFETCH(QString, labels);
        QStringList timeTexts, dateTexts, got; // got: the heights, then the labels
        for (const QString &item : times.split(u',', Qt::SkipEmptyParts))
            for (int i = 0; i < qMax(1, item.section(u'x', 0, -2).toInt()); ++i)
                timeTexts.append(item.section(u'x', -1));
        while (dateTexts.size() < (dates < 0 ? timeTexts.size() : dates))
            dateTexts.append(u'd' + QString::number(dateTexts.size()));
        const ReportPlot plot = ReportPlot::FromRows(ReportStyle(style), dateTexts, timeTexts);

        const QList<ChartBar> bars = plot.bars();
        for (const ChartBar &bar : bars)
            got.append(QString::number(bar.height));
        QCOMPARE(got.join(u','), heights);
        const ChartBar last = bars.isEmpty() ? ChartBar{} : bars.last();
        const QString box =
            QString::asprintf("%d,%d,%d,%d/%d", last.left, last.top, last.right, last.bottom, plot.logicalWidth());
        QCOMPARE(box, lastBar);

        // Each bar's date centred below it and its time standing on it; then the labels and the line.
        const QList<ChartText> texts = plot.texts();
        for (qsizetype k = 0; k < bars.size(); ++k) {
            const ChartText &date = texts.at(2 * k), &time = texts.at(2 * k + 1);
            QCOMPARE(date.text + u'@' + QString::number(date.y) + u' ' + time.text + u'@' + QString::number(time.y),
                     dateTexts.at(k) + "@350 " + timeTexts.at(k) + u'@' + QString::number(bars.at(k).top));
            QVERIFY(date.x == time.x && date.x > bars.at(k).left && date.x < bars.at(k).right);
        }
        const QList<ChartText> hourLabels = texts.mid(2 * bars.size(), texts.size() - 2 * bars.size() - 1);
        for (const qsizetype i : {qsizetype(1), qsizetype(3), hourLabels.size() - 1})
            if (i >= 0 && i < hourLabels.size())
                got.append(hourLabels.at(i).text + u'@' + QString::number(hourLabels.at(i).y));
        QCOMPARE(got.mid(bars.size()).join(u','), labels);
        QCOMPARE(texts.isEmpty() ? QString() : texts.last().text, line);
    }
};

QTEST_MAIN(TestReportPlot)
#include "tst_ReportPlot.moc"
