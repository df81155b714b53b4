// Times writing the full report table of 3,000 calls (11 columns) as PDF pages, the same
// drawing that goes to the printer. Budget: under a second. The CPU time is printed beside the
// wall time: on a machine busy with other work only the CPU time tells the drawing's own cost.

#include <cstdio>
#include <ctime>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTime>

#include "desktop/QtPrinterPort.h"
#include "support/TextTableModel.h"

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList providers{QStringLiteral("Home"), QStringLiteral("Work"), QStringLiteral("Night Line")};
    QList<QStringList> rows;
    for (int i = 0; i < 3000; ++i) {
        const QTime start = QTime(0, 0).addSecs(i * 37 % 86400);
        const int seconds = 30 + i % 7200;
        rows << QStringList{providers.at(i % 3),
                            QString::number(i + 1),
                            QStringLiteral("%1/%2/2026").arg(i % 28 + 1).arg(i % 12 + 1),
                            start.toString(QStringLiteral("HH:mm:ss")),
                            start.addSecs(seconds).toString(QStringLiteral("HH:mm:ss")),
                            QTime(0, 0).addSecs(seconds).toString(QStringLiteral("HH:mm:ss")),
                            QStringLiteral("$%1.%2").arg(seconds / 60).arg(i % 100, 4, 10, QLatin1Char('0')),
                            QStringLiteral("%1:%2:00").arg(i % 24).arg(i % 60),
                            QStringLiteral("%1:%2:00").arg(i % 240).arg(i % 60),
                            QStringLiteral("%1:%2:00").arg(i % 9000).arg(i % 60),
                            QStringLiteral("$%1.%2").arg(i / 3).arg(i % 100, 4, 10, QLatin1Char('0'))};
    }
    const TextTableModel table({QStringLiteral(">> Provider"), QStringLiteral("Call Num."),
                                QStringLiteral("Start Date"), QStringLiteral("Start Time"), QStringLiteral("End Time"),
                                QStringLiteral("Duration"), QStringLiteral("Current Cost"),
                                QStringLiteral("Today Time"), QStringLiteral("Month Time"),
                                QStringLiteral("Total Time"), QStringLiteral("Total Cost")},
                               rows);
    QTemporaryDir dir;
    QtPrinterPort port;
    QString error;
    for (int run = 1; run <= 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpuStart = std::clock();
        if (!port.writePdf({QStringLiteral("Connections' Report Table for: 7/12/2026 14:00:00"), &table},
                           dir.filePath(QStringLiteral("report.pdf")), &error)) {
            std::fprintf(stderr, "writePdf failed: %s\n", qPrintable(error));
            return 1;
        }
        const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        std::printf("run %d: 3000 rows x 11 columns to PDF in %lld ms wall, %.0f ms CPU (budget 1000 ms)\n", run,
                    static_cast<long long>(timer.elapsed()), cpuMs);
    }
    return 0;
}
