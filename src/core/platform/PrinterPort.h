#pragma once

#include <QString>

class QAbstractItemModel;

// What is printed: the title line of the first page and the table as the viewer shows it
// (rows filtered and sorted, headers with their sort marker).
struct PrintJob
{
    QString title;
    const QAbstractItemModel *table = nullptr;
};

// The printing system, so that the report window runs in tests without a printer.
class PrinterPort
{
public:
    virtual ~PrinterPort() = default;
    // The default destination's name; empty when there is none.
    virtual QString defaultPrinterName() const = 0;
    // Prints on the default destination (landscape, draft); false with a description in *error.
    virtual bool printTable(const PrintJob &job, QString *error) = 0;
    // The same pages into a PDF file.
    virtual bool writePdf(const PrintJob &job, const QString &path, QString *error) = 0;
};
