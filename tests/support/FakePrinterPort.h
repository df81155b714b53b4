#pragma once

#include "platform/PrinterPort.h"

#include <QList>

// Records what would have been printed. Without a default name, printTable fails as the real
// port does; setFailure makes every print and PDF fail with the given description.
class FakePrinterPort final : public PrinterPort
{
public:
    struct Printed
    {
        QString title;
        int rows = 0;
        QString pdfPath; // empty for the printer
    };

    QString defaultPrinterName() const override { return m_defaultName; }
    void setDefaultPrinterName(const QString &name) { m_defaultName = name; }
    void setFailure(const QString &error) { m_failure = error; }

    bool printTable(const PrintJob &job, QString *error) override;
    bool writePdf(const PrintJob &job, const QString &path, QString *error) override;

    const QList<Printed> &printed() const { return m_printed; }

private:
    bool record(const PrintJob &job, const QString &pdfPath, QString *error);

    QString m_defaultName = QStringLiteral("Test Printer");
    QString m_failure;
    QList<Printed> m_printed;
};
