#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// A read-only table of texts with a header row, standing in for the report table.
class TextTableModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    TextTableModel(QStringList headers, QList<QStringList> rows, QObject *parent = nullptr);

    // columns x rows cells reading "r<row>c<column>"; headers "Column <column>".
    static QList<QStringList> numberedRows(int rows, int columns);
    static QStringList numberedHeaders(int columns);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QStringList m_headers;
    QList<QStringList> m_rows;
};
