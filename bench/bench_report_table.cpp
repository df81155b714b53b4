// Times the report viewer's table on a Report.ini of a million calls: the load (next to
// Python's csv module reading the same file), a sort by every column, a provider filter,
// and the process's peak memory.

#include <cstdio>
#include <ctime>
#include <memory>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>

#include "reports/RecordFile.h"
#include "reports/ReportTable.h"

namespace {

constexpr int kRecords = 1'000'000;
constexpr int kFields = 11;

bool writeReport(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QStringList providers{"Home", "Work", "Night Line", QString::fromUtf8("Müller Net"), "Office, 2nd"};
    QByteArray chunk;
    for (int i = 0; i < kRecords; ++i) {
        const int seconds = 30 + i % 7200;
        const QTime start = QTime(0, 0).addSecs(i * 37 % 86400);
        const QString duration = QTime(0, 0).addSecs(seconds).toString(u"HH:mm:ss");
        const QStringList fields{
            providers.at(i % providers.size()),
            QString::number(i % 500 + 1),
            QDate(2020, 1, 1).addDays(i / 300).toString(u"d/M/yyyy"),
            start.toString(u"HH:mm:ss"),
            start.addSecs(seconds).toString(u"HH:mm:ss"),
            duration,
            QStringLiteral("$%1.%2").arg(seconds / 60).arg(i % 10000, 4, 10, QLatin1Char('0')),
            QStringLiteral("%1:%2:%3").arg(i % 24).arg(i % 60).arg(i % 59),
            QStringLiteral("%1:%2:%3").arg(i % 240).arg(i % 60).arg(i % 57),
            QStringLiteral("%1:%2:%3").arg(i % 9000).arg(i % 60).arg(i % 53),
            QStringLiteral("$%1.%2").arg(i / 3).arg(i % 10000, 4, 10, QLatin1Char('0')),
        };
        chunk += RecordFile::FormatRecord(fields).toUtf8();
        if (chunk.size() > (1 << 20)) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return file.write(chunk) == chunk.size() && file.flush();
}

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

long peakRssKib(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss;
}

// Python's csv module over the same file. Run before our reader: the child's peak RSS
// counts what it inherits at fork, so it is only meaningful while this process is small.
void timePythonCsv(const QString &path)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty()) {
        std::printf("python3 not found: csv comparison skipped\n");
        return;
    }
    QProcess process;
    process.start(python, {QStringLiteral("-c"),
                           QStringLiteral("import csv,sys,time; t=time.perf_counter(); "
                                          "n=sum(1 for _ in csv.reader(open(sys.argv[1], newline='', "
                                          "encoding='utf-8'))); print(n, time.perf_counter()-t)"),
                           path});
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::printf("python3 csv failed: %s\n", process.readAllStandardError().constData());
        return;
    }
    const QList<QByteArray> answer = process.readAllStandardOutput().trimmed().split(' ');
    if (answer.size() == 2)
        std::printf("python csv: %.3f s for %s records\n", answer.at(1).toDouble(), answer.at(0).constData());
    std::printf("peak RSS (python3): %ld MiB\n", peakRssKib(RUSAGE_CHILDREN) / 1024);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // A file may be named: it is made when missing, kept for the next run, and timed.
    QTemporaryDir dir;
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath("Report.ini");
    if (!QFile::exists(path) && (!dir.isValid() || !writeReport(path))) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("file: %lld bytes\n", QFile(path).size());
    timePythonCsv(path);

    // Each load reads the file afresh (a new table keeps nothing); wall and CPU time are both
    // shown, as other work on the machine only adds to the wall time.
    std::unique_ptr<ReportTable> table;
    double best = 1e9;
    double bestCpu = 1e9;
    for (int run = 0; run < 3; ++run) {
        table = std::make_unique<ReportTable>(DateTimeFormats{});
        const double cpuBefore = cpuSeconds();
        QElapsedTimer timer;
        timer.start();
        if (!table->load(path, ReportStyle::Full, ReportTable::AllProviders()) || table->rowCount() != kRecords) {
            std::fprintf(stderr, "load failed: %d rows\n", table->rowCount());
            return 1;
        }
        const double seconds = timer.nsecsElapsed() / 1e9;
        const double cpu = cpuSeconds() - cpuBefore;
        best = std::min(best, seconds);
        bestCpu = std::min(bestCpu, cpu);
        std::printf("load run %d: %.3f s wall, %.3f s CPU\n", run + 1, seconds, cpu);
    }
    std::printf("load best of 3: %.3f s wall, %.3f s CPU for %d records\n", best, bestCpu, table->rowCount());

    double slowest = 0;
    for (int column = 1; column < table->columnCount(); ++column) {
        QElapsedTimer timer;
        timer.start();
        table->sortByColumn(column);
        const double seconds = timer.nsecsElapsed() / 1e9;
        slowest = std::max(slowest, seconds);
        std::printf("sort by %s: %.3f s\n", qPrintable(table->headerText(column)), seconds);
    }
    std::printf("slowest sort: %.3f s\n", slowest);

    QElapsedTimer timer;
    timer.start();
    // The same file for one provider: what was read is filtered again.
    table->load(path, ReportStyle::Full, QStringLiteral("Work"));
    std::printf("load with a provider filter: %.3f s for %d records\n", timer.nsecsElapsed() / 1e9, table->rowCount());
    std::printf("peak RSS (this process): %ld MiB\n", peakRssKib(RUSAGE_SELF) / 1024);
    return 0;
}
