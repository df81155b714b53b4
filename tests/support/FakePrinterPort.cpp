#include "support/FakePrinterPort.h"

#include <QAbstractItemModel>

bool FakePrinterPort::printTable(const PrintJob &job, QString *error)
{
    if (m_defaultName.isEmpty()) {
        if (error)
            *error = QStringLiteral("There is no default printer.");
        return false;
    }
    return record(job, {}, error);
}

bool FakePrinterPort::writePdf(const PrintJob &job, const QString &path, QString *error)
{
    return record(job, path, error);
}

bool FakePrinterPort::record(const PrintJob &job, const QString &pdfPath, QString *error)
{
    if (!m_failure.isEmpty()) {
        if (error)
            *error = m_failure;
        return false;
    }
    m_printed.append({job.title, job.table ? job.table->rowCount() : 0, pdfPath});
    return true;
}
