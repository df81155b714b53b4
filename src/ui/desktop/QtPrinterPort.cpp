#include "desktop/QtPrinterPort.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cups/cups.h>

#include "desktop/TablePainter.h"

namespace {

// Text stays sharp at any resolution; this one keeps the printer's work light.
constexpr int kResolution = 96;

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

// The pages, landscape, as a PDF into device (left open).
bool paintPdf(const PrintJob &job, QIODevice &device, const QPageSize &size, QString *error)
{
    QPdfWriter pdf(&device);
    pdf.setResolution(kResolution);
    pdf.setPageSize(size);
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setTitle(job.title);
    QPainter painter;
    if (!painter.begin(&pdf))
        return fail(error, QStringLiteral("The pages could not be started."));
    QString why;
    const bool painted = TablePainter(job.title, *job.table).paint(painter, pdf, &why);
    if (!painter.end() || !painted) // the last page reaches the device in end()
        return fail(error, why.isEmpty() ? QStringLiteral("The pages could not be finished.") : why);
    return true;
}

} // namespace

QString QtPrinterPort::defaultPrinterName() const
{
    return QPrinterInfo::defaultPrinterName();
}

// Qt's printer hands its document to CUPS without looking at the answer, so a job that CUPS
// refuses (a destination not accepting jobs, a server gone) would pass for printed. The pages
// are made here as a PDF and handed over with the CUPS call that tells.
bool QtPrinterPort::printTable(const PrintJob &job, QString *error)
{
    if (!job.table)
        return fail(error, QStringLiteral("There is no table to print."));
    const QPrinterInfo destination = QPrinterInfo::defaultPrinter();
    if (destination.isNull())
        return fail(error, QStringLiteral("There is no default printer."));
    const QString name = destination.printerName();
    QTemporaryFile file(QDir::temp().filePath(QStringLiteral("lineminder-print-XXXXXX.pdf")));
    if (!file.open())
        return fail(error, QStringLiteral("The print file could not be made: %1").arg(file.errorString()));
    if (!paintPdf(job, file, destination.defaultPageSize(), error))
        return false;
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return fail(error, QStringLiteral("The print file could not be written: %1").arg(file.errorString()));

    cups_option_t *options = nullptr;
    const int count = cupsAddOption("print-quality", "3", 0, &options); // draft
    const int jobId =
        cupsPrintFile2(CUPS_HTTP_DEFAULT, name.toLocal8Bit().constData(),
                       QFile::encodeName(file.fileName()).constData(), job.title.toUtf8().constData(), count, options);
    cupsFreeOptions(count, options);
    if (jobId == 0)
        return fail(error, QStringLiteral("The printer %1 did not take the job: %2")
                               .arg(name, QString::fromUtf8(cupsLastErrorString())));
    return true;
}

bool QtPrinterPort::writePdf(const PrintJob &job, const QString &path, QString *error)
{
    if (!job.table)
        return fail(error, QStringLiteral("There is no table to print."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, QStringLiteral("%1 could not be written: %2").arg(path, file.errorString()));
    if (!paintPdf(job, file, QPageSize(QPageSize::A4), error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return fail(error, QStringLiteral("%1 could not be written: %2").arg(path, file.errorString()));
    return true;
}
