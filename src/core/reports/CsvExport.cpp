#include "reports/CsvExport.h"

#include <QAbstractItemModel>
#include <QSaveFile>

#include <algorithm>

namespace CsvExport {

namespace {

// The rows are written in blocks of about this many bytes, so a big table is never held whole.
constexpr qsizetype kBlockBytes = 1 << 16;

QString line(const QAbstractItemModel &table, int row, int firstColumn)
{
    QString text;
    for (int column = firstColumn; column < table.columnCount(); ++column) {
        if (column > firstColumn)
            text += QLatin1Char(',');
        text += row < 0 ? Field(HeaderText(table.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()))
                        : Field(table.data(table.index(row, column), Qt::DisplayRole).toString());
    }
    text += QLatin1String("\r\n");
    return text;
}

// Hands the table to sink in blocks, the header row first; stops when sink returns false.
template <typename Sink> bool forEachBlock(const QAbstractItemModel &table, int firstColumn, Sink sink)
{
    const int first = std::max(0, firstColumn);
    QByteArray block = line(table, -1, first).toUtf8();
    for (int row = 0; row < table.rowCount(); ++row) {
        block += line(table, row, first).toUtf8();
        if (block.size() >= kBlockBytes) {
            if (!sink(block))
                return false;
            block.clear();
        }
    }
    return sink(block);
}

} // namespace

QString HeaderText(const QString &header)
{
    if (header.startsWith(QLatin1String(">> ")) || header.startsWith(QLatin1String("<< ")))
        return header.mid(3);
    return header;
}

QString Field(const QString &text)
{
    const bool quoted = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
    });
    if (!quoted)
        return text;
    QString escaped = text;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QByteArray Format(const QAbstractItemModel &table, int firstColumn)
{
    QByteArray bytes;
    forEachBlock(table, firstColumn, [&](const QByteArray &block) {
        bytes += block;
        return true;
    });
    return bytes;
}

bool Write(const QAbstractItemModel &table, const QString &path, int firstColumn, QString *error)
{
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) &&
        forEachBlock(table, firstColumn, [&](const QByteArray &block) { return file.write(block) == block.size(); });
    if (written && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("The table could not be saved to %1: %2").arg(path, file.errorString());
    file.cancelWriting();
    return false;
}

} // namespace CsvExport
