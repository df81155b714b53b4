#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "platform/PrinterPort.h"
#include "platform/Prompter.h"
#include "reports/ReportTable.h"
#include "values/DateTimeFormats.h"

// What the report window does, without the window: the table shown, the header and mark
// clicks, the graph's rows, printing, exporting and emptying the table's file. The window
// lays out the controls and forwards the clicks.
class ReportViewer
{
public:
    ReportViewer(QString logsFolder, DateTimeFormats formats, Prompter &prompter, PrinterPort &printer);

    static QStringList StyleNames();
    // Label1: "Connections' Report Table for: " and the date and time.
    QString title(const QDateTime &now) const;

    ReportTable &table() { return m_table; }
    const ReportTable &table() const { return m_table; }

    // Command1: the style by its index among StyleNames() (anything else is told), the
    // records of the provider (or of all). Returns whether a table is shown; a file that
    // cannot be read is told and shows an empty table.
    bool display(int styleIndex, const QString &provider);
    bool isShown() const { return m_table.style() != ReportStyle::None; }
    bool showsPlot() const { return m_table.hasMarkColumn(); }

    // A click on a cell: on the mark column it marks or unmarks the row.
    void clickCell(int row, int column);
    QString counterText() const { return QString::number(m_table.markedCount()); }

    // The marked rows' dates and times, top to bottom as shown, for the graph.
    QStringList plottedDates() const { return markedColumn(2); }
    QStringList plottedTimes() const { return markedColumn(3); }

    // Print Table: asked first; no default printer or a failure is told, with its reason.
    void print(const QString &title);
    // Export...: CSV, or PDF for a name ending in .pdf (the pages of the printout).
    void exportTable(const QString &title);
    // DeleteTable: asked first; the provider's records, or the whole file for all providers.
    // Returns whether the file was emptied (the window then closes).
    bool deleteTable();

private:
    QStringList markedColumn(int column) const;
    QString path(ReportStyle style) const;

    QString m_logsFolder;
    DateTimeFormats m_formats;
    Prompter &m_prompter;
    PrinterPort &m_printer;
    ReportTable m_table;
    QString m_provider; // as displayed
};
