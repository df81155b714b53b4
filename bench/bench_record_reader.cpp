// Times RecordFile::ReadRecords on a Report.ini of a million calls, next to Python's csv
// module reading the same file, so a slowdown of the reader shows as a plain number.

#include <cstdio>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/resource.h>

#include "reports/RecordFile.h"

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
    // An existing file may be named to time the reader on it; otherwise one is made.
    QTemporaryDir dir;
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath("Report.ini");
    if (argc <= 1 && (!dir.isValid() || !writeReport(path))) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("file: %lld bytes\n", QFile(path).size());
    timePythonCsv(path);

    // The first run is the one a user waits for: its memory is fresh from the system.
    double best = 1e9;
    qsizetype count = 0;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        const RecordFile::ReadResult read = RecordFile::ReadRecords(path, kFields);
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (!read.ok || read.records.isEmpty() || read.records.back().size() != kFields) {
            std::fprintf(stderr, "read failed: %s\n", qPrintable(read.error));
            return 1;
        }
        count = read.records.size();
        best = std::min(best, seconds);
        std::printf("ReadRecords run %d: %.3f s\n", run + 1, seconds);
    }
    std::printf("ReadRecords best of 3: %.3f s for %lld records\n", best, static_cast<long long>(count));
    std::printf("peak RSS (this process): %ld MiB\n", peakRssKib(RUSAGE_SELF) / 1024);
    return 0;
}
