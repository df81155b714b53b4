#include "reports/PrintLayout.h"

#include <QAbstractItemModel>

#include <algorithm>
#include <array>

namespace PrintLayout {

namespace {

// Proportional fonts make a slightly shorter text wider now and then; a few candidates
// per column catch that without measuring every cell.
constexpr qsizetype kCandidates = 4;

QString cellText(const QAbstractItemModel &table, int row, int column)
{
    return table.data(table.index(row, column), Qt::DisplayRole).toString();
}

} // namespace

int TwipsToDevice(int twips, int resolution)
{
    const qint64 product = qint64{twips} * resolution;
    return static_cast<int>((product + 720) / 1440);
}

int TitleTop(int resolution)
{
    return TwipsToDevice(kTitleTopTwips, resolution);
}

QList<PrintPage> Paginate(int rowCount, const PrintMetrics &metrics)
{
    const int rows = std::max(0, rowCount);
    const int rowHeight = std::max(1, metrics.rowHeight);
    QList<PrintPage> pages;
    int next = 0;
    do {
        PrintPage page;
        page.hasTitle = pages.isEmpty();
        page.tableTop = page.hasTitle ? TitleTop(metrics.resolution) + std::max(0, metrics.titleHeight) : 0;
        const int room = metrics.pageHeight - page.tableTop - metrics.headerHeight;
        page.firstRow = next;
        page.rowCount = std::min(std::max(1, room / rowHeight), rows - next);
        next += page.rowCount;
        pages.append(page);
    } while (next < rows);
    return pages;
}

QList<int> FitColumnWidths(const QAbstractItemModel &table, const TextWidth &width, int padding)
{
    const int columns = table.columnCount();
    const int rows = table.rowCount();
    QList<int> widths;
    widths.reserve(columns);
    for (int column = 0; column < columns; ++column) {
        // The longest texts first; equal lengths keep the earlier text.
        std::array<QString, kCandidates> longest;
        for (int row = 0; row < rows; ++row) {
            QString text = cellText(table, row, column);
            auto slot = std::find_if(longest.begin(), longest.end(),
                                     [&](const QString &kept) { return text.size() > kept.size(); });
            if (slot == longest.end())
                continue;
            std::move_backward(slot, longest.end() - 1, longest.end());
            *slot = std::move(text);
        }
        int widest = width(table.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        for (const QString &text : longest)
            widest = std::max(widest, width(text));
        widths.append(widest + padding);
    }
    return widths;
}

} // namespace PrintLayout
