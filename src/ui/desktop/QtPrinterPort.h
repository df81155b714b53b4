#pragma once

#include "platform/PrinterPort.h"

// Prints through the desktop's printing system (CUPS): the default destination, landscape,
// draft quality; a job that CUPS does not take is a failure with CUPS's reason. PDF files come
// from the same drawing.
class QtPrinterPort final : public PrinterPort
{
public:
    QString defaultPrinterName() const override;
    bool printTable(const PrintJob &job, QString *error) override;
    bool writePdf(const PrintJob &job, const QString &path, QString *error) override;
};
