#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <vector>

#include "reports/ReportColumns.h"
#include "reports/ReportStore.h"
#include "reports/ReportStyle.h"
#include "values/DateTimeFormats.h"

// The report viewer's table: the records of one report file, those of one provider or
// all, sorted by a column on request, with the rows the user marked for a graph. Row 0 of
// the viewer's grid is this model's horizontal header; the daily and monthly tables begin
// with the mark column. A mark belongs to its record, so it travels with every sort.
class ReportTable : public QAbstractTableModel
{
    Q_OBJECT
public:
    static QString AllProviders() { return QStringLiteral("[All Providers]"); }
    static constexpr int kMinPlotted = 2;
    static constexpr int kMaxPlotted = 12;

    explicit ReportTable(DateTimeFormats formats, QObject *parent = nullptr);

    // Reads the style's file (a missing one is created empty) and shows the records of the
    // provider, or of all for AllProviders() or an empty text. Clears the marks and the sort.
    bool load(const QString &path, ReportStyle style, const QString &provider, QString *error = nullptr);
    ReportStyle style() const { return m_style; }
    bool hasMarkColumn() const { return ReportColumns::FirstFieldColumn(m_style) == 1; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    QString cellText(int row, int column) const;
    // The header with the sort marker: ">> " ascending, "<< " descending.
    QString headerText(int column) const;
    // Of every shown cell of the column, the one with the longest text (by its length): what
    // the column's width must hold besides its header, found without measuring each cell.
    QString longestText(int column) const;

    // A header click: the first click on a column sorts ascending, the next ones toggle.
    // The first column does nothing (the mark column, or the full table's providers).
    void sortByColumn(int column);
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    // A click on a row's mark cell: marks it or takes the mark away. The full table has no
    // marks. Returns whether the row is marked now.
    bool toggleMark(int row);
    bool isMarked(int row) const;
    int markedCount() const { return m_markedCount; }
    bool canPlot() const { return m_markedCount >= kMinPlotted && m_markedCount <= kMaxPlotted; }
    // The marked rows, top to bottom as shown.
    QList<int> markedRows() const;

    // Empties the style's file; when a provider is given only its records go (the file is
    // read again and rewritten atomically), otherwise the file is truncated.
    static bool DeleteRecords(const QString &path, ReportStyle style, const QString &provider,
                              QString *error = nullptr);

private:
    qsizetype recordAt(int row) const { return m_rows[std::size_t(row)]; }
    int fieldOf(int column) const { return column - ReportColumns::FirstFieldColumn(m_style); }
    std::vector<ReportColumns::SortKey> sortKeys(int field) const;

    DateTimeFormats m_formats;
    ReportStyle m_style = ReportStyle::None;
    ReportStore m_store;
    std::vector<qint32> m_shown; // the provider's records in file order
    std::vector<qint32> m_rows;  // m_shown as sorted
    std::vector<bool> m_marked;  // per record
    int m_markedCount = 0;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
