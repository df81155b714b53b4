#pragma once

#include <QByteArray>
#include <QString>

class QAbstractItemModel;

// A report table as CSV (RFC 4180): UTF-8 without a byte order mark, CR LF line ends, a field
// quoted when it holds a comma, a double quote, CR or LF, its quotes doubled. The header row
// comes first, without the sort marker of the sorted column.
namespace CsvExport {

// A header without a leading ">> " or "<< ".
QString HeaderText(const QString &header);

QString Field(const QString &text);

// firstColumn leaves out the columns before it (the mark column of the daily and monthly tables).
QByteArray Format(const QAbstractItemModel &table, int firstColumn = 0);

// Replaces the file atomically: readers see the old file or the whole new one.
bool Write(const QAbstractItemModel &table, const QString &path, int firstColumn = 0, QString *error = nullptr);

} // namespace CsvExport
