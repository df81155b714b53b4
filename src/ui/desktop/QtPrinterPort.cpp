#include "desktop/QtPrinterPort.h"

#include <QAbstractItemModel>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

#include "desktop/TablePainter.h"

namespace {

// Text stays sharp at any resolution; this one keeps the printer's work light.
constexpr int kPdfResolution = 96;

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

QString QtPrinterPort::defaultPrinterName() const
{
    return QPrinterInfo::defaultPrinterName();
}

bool QtPrinterPort::printTable(const PrintJob &job, QString *error)
{
    if (!job.table)
        return fail(error, QStringLiteral("There is no table to print."));
    const QPrinterInfo destination = QPrinterInfo::defaultPrinter();
    if (destination.isNull())
        return fail(error, QStringLiteral("There is no default printer."));
    QPrinter printer(destination, QPrinter::ScreenResolution);
    if (!printer.isValid())
        return fail(error, QStringLiteral("The printer %1 is not available.").arg(destination.printerName()));
    printer.setDocName(job.title);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer))
        return fail(error, QStringLiteral("The printer %1 did not accept the job.").arg(destination.printerName()));
    QString why;
    if (!TablePainter(job.title, *job.table).paint(painter, printer, &why)) {
        printer.abort();
        painter.end();
        return fail(error, why);
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return fail(error,
                    QStringLiteral("The job could not be sent to the printer %1.").arg(destination.printerName()));
    return true;
}

bool QtPrinterPort::writePdf(const PrintJob &job, const QString &path, QString *error)
{
    if (!job.table)
        return fail(error, QStringLiteral("There is no table to print."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, QStringLiteral("%1 could not be written: %2").arg(path, file.errorString()));
    bool painted = false;
    QString why;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(kPdfResolution);
        pdf.setPageOrientation(QPageLayout::Landscape);
        pdf.setTitle(job.title);
        QPainter painter;
        painted = painter.begin(&pdf) && TablePainter(job.title, *job.table).paint(painter, pdf, &why);
        painted = painter.end() && painted; // the writer's last page reaches the file here
    }
    if (!painted) {
        file.cancelWriting();
        return fail(error, why.isEmpty() ? QStringLiteral("%1 could not be written.").arg(path) : why);
    }
    if (!file.commit())
        return fail(error, QStringLiteral("%1 could not be written: %2").arg(path, file.errorString()));
    return true;
}
