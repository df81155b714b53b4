#include "reports/ReportViewer.h"

#include <QDir>

#include "reports/CsvExport.h"

namespace {

void printFailed(Prompter &prompter, const QString &reason)
{
    prompter.tell(reason);
    prompter.tell(QStringLiteral("There was a problem printing to your printer..."));
}

} // namespace

ReportViewer::ReportViewer(QString logsFolder, DateTimeFormats formats, Prompter &prompter, PrinterPort &printer)
    : m_logsFolder(std::move(logsFolder)), m_formats(formats), m_prompter(prompter), m_printer(printer),
      m_table(std::move(formats))
{
}

QStringList ReportViewer::StyleNames()
{
    return {QStringLiteral("Full Report"), QStringLiteral("Daily Report"), QStringLiteral("Monthly Report")};
}

QString ReportViewer::title(const QDateTime &now) const
{
    return QStringLiteral("Connections' Report Table for: %1 %2")
        .arg(m_formats.date(now.date()), m_formats.time(now.time()));
}

QString ReportViewer::path(ReportStyle style) const
{
    return QDir(m_logsFolder).filePath(ReportColumns::FileName(style));
}

bool ReportViewer::display(int styleIndex, const QString &provider)
{
    if (styleIndex < 0 || styleIndex >= StyleNames().size()) {
        m_prompter.tell(QStringLiteral("Select Report Table Style"));
        return isShown();
    }
    const auto style = ReportStyle(styleIndex + 1);
    m_provider = provider;
    QString error;
    if (!m_table.load(path(style), style, provider, &error))
        m_prompter.fail(error);
    return true;
}

void ReportViewer::clickCell(int row, int column)
{
    if (column == 0)
        m_table.toggleMark(row);
}

QStringList ReportViewer::markedColumn(int column) const
{
    QStringList texts;
    for (const int row : m_table.markedRows())
        texts.append(m_table.cellText(row, column));
    return texts;
}

void ReportViewer::print(const QString &title)
{
    const QString printer = m_printer.defaultPrinterName();
    if (printer.isEmpty()) {
        printFailed(m_prompter,
                    QStringLiteral("There is no default printer: choose one in the system's printer settings."));
        return;
    }
    const Prompt question{QStringLiteral("Are You sure to Print this Report Table using your default printer? \r\n") +
                              QString(19, QLatin1Char(' ')) + printer,
                          QStringLiteral("LineMinder - Report Print"), Prompt::Icon::Question, Prompt::Buttons::YesNo};
    if (m_prompter.ask(question) != Prompt::Answer::Yes)
        return;
    QString error;
    if (!m_printer.printTable(PrintJob{title, &m_table}, &error))
        printFailed(m_prompter, error);
}

void ReportViewer::exportTable(const QString &title)
{
    const QString file = m_prompter.chooseSaveFile(QStringLiteral("Export Report Table"),
                                                   QStringLiteral("CSV (*.csv);;PDF (*.pdf)"), QStringLiteral("csv"));
    if (file.isEmpty())
        return;
    QString error;
    const bool pdf = file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    const bool written =
        pdf ? m_printer.writePdf(PrintJob{title, &m_table}, file, &error)
            : CsvExport::Write(m_table, file, ReportColumns::FirstFieldColumn(m_table.style()), &error);
    if (!written)
        m_prompter.fail(QStringLiteral("The table could not be saved as %1: %2").arg(file, error));
}

bool ReportViewer::deleteTable()
{
    if (!isShown())
        return false;
    const Prompt question{QStringLiteral("Are you sure to delete this table?"), QStringLiteral("LineMinder"),
                          Prompt::Icon::Question, Prompt::Buttons::YesNo};
    if (m_prompter.ask(question) != Prompt::Answer::Yes)
        return false;
    QString error;
    if (!ReportTable::DeleteRecords(path(m_table.style()), m_table.style(), m_provider, &error)) {
        m_prompter.fail(QStringLiteral("The table could not be deleted: %1").arg(error));
        return false;
    }
    return true;
}
