#pragma once

#include <QList>
#include <QString>

#include <functional>

class QAbstractItemModel;

// One printed page of a table. The header row heads every page; the title line is on the
// first page only, above the table.
struct PrintPage
{
    bool hasTitle = false;
    int firstRow = 0;
    int rowCount = 0;
    int tableTop = 0; // top of the header row, from the top of the printable area
};

// Sizes in the units of the surface printed on; resolution in those units per inch.
struct PrintMetrics
{
    int pageHeight = 0;
    int resolution = 0;
    int titleHeight = 0; // the title block, from the title line's top to the table
    int headerHeight = 0;
    int rowHeight = 0;
};

namespace PrintLayout {

// Positions on paper are kept in twips (1/1440 inch), as the report's layout was drawn up.
inline constexpr int kTitleTopTwips = 500;
inline constexpr int kColumnPaddingTwips = 320;

int TwipsToDevice(int twips, int resolution);
int TitleTop(int resolution);

// Every row lands on exactly one page, in order; an empty table still gives one page (title
// and header). A row taller than a page gets a page of its own rather than being dropped.
QList<PrintPage> Paginate(int rowCount, const PrintMetrics &metrics);

// Column widths: the widest of the header and of the longest cell texts, plus padding.
// Only the few longest texts of a column (by length) are measured, so a table of thousands
// of rows costs a handful of measurements per column.
using TextWidth = std::function<int(const QString &)>;
QList<int> FitColumnWidths(const QAbstractItemModel &table, const TextWidth &width, int padding);

} // namespace PrintLayout
