#include "support/TextTableModel.h"

TextTableModel::TextTableModel(QStringList headers, QList<QStringList> rows, QObject *parent)
    : QAbstractTableModel(parent), m_headers(std::move(headers)), m_rows(std::move(rows))
{
}

QList<QStringList> TextTableModel::numberedRows(int rows, int columns)
{
    QList<QStringList> table;
    for (int row = 0; row < rows; ++row) {
        QStringList cells;
        for (int column = 0; column < columns; ++column)
            cells << QStringLiteral("r%1c%2").arg(row).arg(column);
        table << cells;
    }
    return table;
}

QStringList TextTableModel::numberedHeaders(int columns)
{
    QStringList headers;
    for (int column = 0; column < columns; ++column)
        headers << QStringLiteral("Column %1").arg(column);
    return headers;
}

int TextTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TextTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant TextTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return m_rows.at(index.row()).value(index.column());
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return m_headers.value(section);
}
