#include "desktop/TablePainter.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QLine>
#include <QList>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <numeric>

#include "reports/PrintLayout.h"

namespace {

constexpr int kPointSize = 9;
const QColor kHeaderBackground(0xd8, 0xd8, 0xd8);

} // namespace

TablePainter::TablePainter(const QString &title, const QAbstractItemModel &table) : m_title(title), m_table(table)
{
}

bool TablePainter::paint(QPainter &painter, QPagedPaintDevice &device, QString *error) const
{
    QFont font = painter.font();
    font.setPointSize(kPointSize);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics metrics(font, &device);
    const QFontMetrics boldMetrics(bold, &device);
    const int resolution = device.logicalDpiY();

    // Bold widths for every text: the header is bold, and a cell never gets too little room.
    const QList<int> widths = PrintLayout::FitColumnWidths(
        m_table, [&](const QString &text) { return boldMetrics.horizontalAdvance(text); },
        PrintLayout::TwipsToDevice(PrintLayout::kColumnPaddingTwips, resolution));
    const int tableWidth = std::accumulate(widths.cbegin(), widths.cend(), 0);
    const qreal scale = tableWidth > device.width() ? qreal(device.width()) / tableWidth : 1.0;
    const auto logical = [scale](int deviceUnits) { return static_cast<int>(deviceUnits / scale); };

    const int titleTop = PrintLayout::TitleTop(resolution);
    const int titleHeight = metrics.height() * 2; // the line and as much space below it
    const int rowHeight = metrics.height() + PrintLayout::TwipsToDevice(80, resolution);
    const int headerHeight = std::max(rowHeight, boldMetrics.height() + PrintLayout::TwipsToDevice(80, resolution));
    // The title keeps its size and place on paper; the table is laid out in its own, scaled
    // units, where the page is taller and an inch holds more units.
    const PrintMetrics sizes{logical(device.height()), logical(resolution), logical(titleHeight), headerHeight,
                             rowHeight};
    const QList<PrintPage> pages = PrintLayout::Paginate(m_table.rowCount(), sizes);

    const int columns = static_cast<int>(widths.size());
    for (const PrintPage &page : pages) {
        if (&page != &pages.front() && !device.newPage()) {
            if (error)
                *error = QStringLiteral("The printer did not start a new page.");
            return false;
        }
        painter.resetTransform();
        if (page.hasTitle) {
            painter.setFont(font);
            painter.drawText(QRect(0, titleTop, device.width(), metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                             m_title);
        }
        painter.scale(scale, scale);

        const int top = page.tableTop;
        const int bottom = top + headerHeight + page.rowCount * rowHeight;
        painter.fillRect(QRect(0, top, tableWidth, headerHeight), kHeaderBackground);
        QList<QLine> grid;
        grid.reserve(page.rowCount + columns + 3);
        grid << QLine(0, top, tableWidth, top);
        int x = 0;
        painter.setFont(bold);
        for (int column = 0; column < columns; ++column) {
            const QRect cell(x, top, widths.at(column), headerHeight);
            painter.drawText(cell, Qt::AlignCenter,
                             m_table.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
            grid << QLine(x, top, x, bottom);
            x += widths.at(column);
        }
        grid << QLine(x, top, x, bottom);
        painter.setFont(font);
        int y = top + headerHeight;
        for (int row = page.firstRow; row < page.firstRow + page.rowCount; ++row) {
            grid << QLine(0, y, tableWidth, y);
            x = 0;
            for (int column = 0; column < columns; ++column) {
                const QRect cell(x, y, widths.at(column), rowHeight);
                painter.drawText(cell, Qt::AlignCenter, m_table.data(m_table.index(row, column)).toString());
                x += widths.at(column);
            }
            y += rowHeight;
        }
        grid << QLine(0, y, tableWidth, y);
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLines(grid);
    }
    return true;
}
