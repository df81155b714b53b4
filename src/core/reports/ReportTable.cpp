#include "reports/ReportTable.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <numeric>

#include "platform/TextFiles.h"
#include "reports/RecordFile.h"

namespace {

// A provider's name as its records hold it: the writers put a double quote down as a
// single quote, so the name is compared in that form, exactly and with its case.
class ProviderMatch
{
public:
    explicit ProviderMatch(const QString &provider) : m_text(RecordFile::QuoteField(provider)), m_utf8(m_text.toUtf8())
    {
    }
    bool operator()(const ReportStore &store, qsizetype record) const
    {
        return store.isWindows1252(record) ? store.field(record, 0) == m_text : store.fieldBytes(record, 0) == m_utf8;
    }

private:
    QString m_text;
    QByteArray m_utf8;
};

bool isAll(const QString &provider)
{
    return provider.isEmpty() || provider == ReportTable::AllProviders();
}

bool textLess(QByteArrayView a, QByteArrayView b)
{
    // UTF-8 bytes compared unsigned keep the characters' order.
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

} // namespace

ReportTable::ReportTable(DateTimeFormats formats, QObject *parent)
    : QAbstractTableModel(parent), m_formats(std::move(formats))
{
}

bool ReportTable::load(const QString &path, ReportStyle style, const QString &provider, QString *error)
{
    beginResetModel();
    m_style = style;
    m_shown.clear();
    m_rows.clear();
    m_sortColumn = -1;
    m_sortOrder = Qt::AscendingOrder;
    // A missing table is an empty one, created so that it is there next time.
    bool ok = QFile::exists(path) || TextFiles::Append(path, QString(), error);
    ok = ok && m_store.reload(path, ReportColumns::FieldCount(style), error);
    if (ok) {
        m_shown.reserve(std::size_t(m_store.size()));
        const ProviderMatch matches(provider);
        const bool all = isAll(provider);
        for (qsizetype record = 0; record < m_store.size(); ++record) {
            if (all || matches(m_store, record))
                m_shown.push_back(qint32(record));
        }
    } else {
        m_store.clear();
    }
    m_rows = m_shown;
    m_marked.assign(std::size_t(m_store.size()), false);
    m_markedCount = 0;
    endResetModel();
    return ok;
}

int ReportTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ReportTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(ReportColumns::Headers(m_style).size());
}

QVariant ReportTable::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (role == Qt::DisplayRole)
        return cellText(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

QVariant ReportTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return headerText(section);
}

QString ReportTable::cellText(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    if (hasMarkColumn() && column == 0)
        return isMarked(row) ? QStringLiteral("-->") : QString();
    return m_store.field(recordAt(row), fieldOf(column));
}

QString ReportTable::headerText(int column) const
{
    QString header = ReportColumns::Headers(m_style).value(column);
    if (column != m_sortColumn || header.isEmpty())
        return header;
    return (m_sortOrder == Qt::AscendingOrder ? QStringLiteral(">> ") : QStringLiteral("<< ")) + header;
}

QString ReportTable::longestText(int column) const
{
    if (column < 0 || column >= columnCount())
        return {};
    if (hasMarkColumn() && column == 0)
        return m_markedCount > 0 ? QStringLiteral("-->") : QString();
    qsizetype longest = -1;
    qsizetype widest = -1;
    for (const qint32 record : m_shown) {
        const qsizetype size = m_store.fieldBytes(record, fieldOf(column)).size();
        if (size > widest) {
            widest = size;
            longest = record;
        }
    }
    return longest < 0 ? QString() : m_store.field(longest, fieldOf(column));
}

std::vector<ReportColumns::SortKey> ReportTable::sortKeys(int field) const
{
    const ReportColumns::Order order = ReportColumns::FieldOrder(m_style, field);
    const ReportColumns::DateReader dates(m_formats.shortDate);
    std::vector<ReportColumns::SortKey> keys(m_shown.size());
    // Texts are ranked among the column's distinct texts: a column of a few providers
    // repeated a million times then sorts as fast as numbers.
    std::vector<QByteArray> converted; // the Windows-1252 lines' fields, as UTF-8
    QHash<QByteArrayView, int> ids;
    std::vector<QByteArrayView> distinct;
    std::vector<std::pair<std::size_t, int>> texts; // position, text id
    for (std::size_t at = 0; at < m_shown.size(); ++at) {
        const qint32 record = m_shown[at];
        QByteArrayView text = m_store.fieldBytes(record, field);
        if (m_store.isWindows1252(record))
            text = converted.emplace_back(m_store.fieldUtf8(record, field));
        if (const std::optional<double> value = ReportColumns::ReadValue(order, text, dates)) {
            keys[at] = {false, *value};
            continue;
        }
        auto found = ids.constFind(text);
        if (found == ids.cend()) {
            found = ids.insert(text, int(distinct.size()));
            distinct.push_back(text);
        }
        texts.emplace_back(at, *found);
    }
    std::vector<int> byText(distinct.size());
    std::iota(byText.begin(), byText.end(), 0);
    std::sort(byText.begin(), byText.end(),
              [&](int a, int b) { return textLess(distinct[std::size_t(a)], distinct[std::size_t(b)]); });
    std::vector<int> rank(distinct.size());
    for (std::size_t i = 0; i < byText.size(); ++i)
        rank[std::size_t(byText[i])] = int(i);
    for (const auto &[at, id] : texts)
        keys[at] = {true, double(rank[std::size_t(id)])};
    return keys;
}

void ReportTable::sortByColumn(int column)
{
    if (column <= 0 || column >= columnCount())
        return;
    m_sortOrder =
        column == m_sortColumn && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_sortColumn = column;

    const std::vector<ReportColumns::SortKey> keys = sortKeys(fieldOf(column));
    std::vector<qint32> positions(m_shown.size());
    std::iota(positions.begin(), positions.end(), 0);
    // Rows that compare equal keep their order in the file, in either direction.
    if (m_sortOrder == Qt::AscendingOrder)
        std::stable_sort(positions.begin(), positions.end(),
                         [&](qint32 a, qint32 b) { return keys[std::size_t(a)] < keys[std::size_t(b)]; });
    else
        std::stable_sort(positions.begin(), positions.end(),
                         [&](qint32 a, qint32 b) { return keys[std::size_t(b)] < keys[std::size_t(a)]; });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The views' current and selected cells follow their records.
    const QModelIndexList before = persistentIndexList();
    std::vector<qint32> recordsBefore;
    recordsBefore.reserve(std::size_t(before.size()));
    for (const QModelIndex &index : before)
        recordsBefore.push_back(m_rows[std::size_t(index.row())]);
    for (std::size_t i = 0; i < positions.size(); ++i)
        m_rows[i] = m_shown[std::size_t(positions[i])];
    if (!before.isEmpty()) {
        std::vector<qint32> rowOf(std::size_t(m_store.size()));
        for (std::size_t row = 0; row < m_rows.size(); ++row)
            rowOf[std::size_t(m_rows[row])] = qint32(row);
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            after.append(index(rowOf[std::size_t(recordsBefore[std::size_t(i)])], before[i].column()));
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

bool ReportTable::toggleMark(int row)
{
    if (!hasMarkColumn() || row < 0 || row >= rowCount())
        return false;
    const auto record = std::size_t(recordAt(row));
    m_marked[record] = !m_marked[record];
    m_markedCount += m_marked[record] ? 1 : -1;
    emit dataChanged(index(row, 0), index(row, 0));
    return m_marked[record];
}

bool ReportTable::isMarked(int row) const
{
    return row >= 0 && row < rowCount() && m_marked[std::size_t(recordAt(row))];
}

QList<int> ReportTable::markedRows() const
{
    QList<int> rows;
    for (int row = 0; row < rowCount() && rows.size() < m_markedCount; ++row) {
        if (isMarked(row))
            rows.append(row);
    }
    return rows;
}

bool ReportTable::DeleteRecords(const QString &path, ReportStyle style, const QString &provider, QString *error)
{
    if (isAll(provider))
        return TextFiles::ReplaceBytes(path, QByteArrayView(), std::nullopt, error);
    ReportStore store;
    if (!store.load(path, ReportColumns::FieldCount(style), error))
        return false;
    const ProviderMatch matches(provider);
    QByteArray kept;
    for (qsizetype record = 0; record < store.size(); ++record) {
        if (!matches(store, record))
            kept += store.line(record) + "\r\n";
    }
    return TextFiles::ReplaceBytes(path, kept, std::nullopt, error);
}
