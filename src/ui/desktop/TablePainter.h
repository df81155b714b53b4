#pragma once

#include <QString>

class QAbstractItemModel;
class QPagedPaintDevice;
class QPainter;

// Draws a table on paper: the title line centred on the first page, then the table with its
// header row (grey, bold) on every page, grid lines and centred cell texts. A table wider
// than the page is scaled down to the page's width.
class TablePainter
{
public:
    TablePainter(const QString &title, const QAbstractItemModel &table);

    // painter is active on device. False when the device refuses a new page.
    bool paint(QPainter &painter, QPagedPaintDevice &device, QString *error) const;

private:
    QString m_title;
    const QAbstractItemModel &m_table;
};
