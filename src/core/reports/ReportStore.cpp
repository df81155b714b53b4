#include "reports/ReportStore.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

#include "platform/TextFiles.h"
#include "reports/RecordFile.h"

namespace {

constexpr qsizetype kMaxOffset = 0xFFFF;

quint16 offset(const char *at, const char *lineStart)
{
    return quint16(std::min<qsizetype>(at - lineStart, kMaxOffset));
}

} // namespace

void ReportStore::clear()
{
    m_path.clear();
    m_fileSize = -1;
    m_bytes.clear();
    m_lineStarts.clear();
    m_bounds.clear();
    m_windows1252.clear();
}

bool ReportStore::load(const QString &path, int fieldCount, QString *error)
{
    clear();
    m_fieldCount = std::clamp(fieldCount, 0, RecordFile::kMaxSplitFields);
    QFile file(path);
    if (!file.exists())
        return true;
    QString reason;
    if (!TextFiles::OpenRegular(file, QIODevice::ReadOnly, &reason)) {
        if (error)
            *error = QStringLiteral("The file %1 could not be read: %2").arg(path, reason);
        return false;
    }
    // Taken before reading: a record appended meanwhile makes the next reload read again.
    const QFileInfo before(path);
    m_bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("The file %1 could not be read: %2").arg(path, file.errorString());
        clear();
        return false;
    }
    QByteArrayView bytes(m_bytes);
    // An editor may have saved the file with a byte order mark.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    // Report.ini lines are about 110 bytes; a guess that spares most of the regrowth.
    const auto expected = std::size_t(bytes.size() / 100 + 1);
    m_lineStarts.reserve(expected);
    m_bounds.reserve(expected * std::size_t(2 * m_fieldCount));
    m_windows1252.reserve(expected);
    RecordFile::ByteFields fields;
    const std::size_t perRecord = 2 * std::size_t(m_fieldCount);
    RecordFile::ForEachLine(bytes, [&](QByteArrayView line) {
        m_lineStarts.push_back(line.data() - m_bytes.constData());
        RecordFile::SplitFields(line, m_fieldCount, fields);
        const std::size_t at = m_bounds.size();
        m_bounds.resize(at + perRecord);
        quint16 *bound = m_bounds.data() + at;
        for (std::size_t i = 0; i < perRecord / 2; ++i) {
            // A missing field is empty at the line's end.
            const char *begin = fields[i].data() ? fields[i].data() : line.data() + line.size();
            *bound++ = offset(begin, line.data());
            *bound++ = offset(begin + fields[i].size(), line.data());
        }
        m_windows1252.push_back(!TextFiles::IsAscii(line) && !line.isValidUtf8());
    });
    m_bytes.squeeze();
    m_path = path;
    m_fileSize = before.size();
    m_fileChanged = before.lastModified();
    return true;
}

bool ReportStore::reload(const QString &path, int fieldCount, QString *error)
{
    const QFileInfo info(path);
    if (path == m_path && fieldCount == m_fieldCount && info.size() == m_fileSize &&
        info.lastModified() == m_fileChanged)
        return true;
    return load(path, fieldCount, error);
}

QByteArrayView ReportStore::fieldBytes(qsizetype record, int field) const
{
    if (record < 0 || record >= size() || field < 0 || field >= m_fieldCount)
        return {};
    const std::size_t at = std::size_t(record) * std::size_t(2 * m_fieldCount) + std::size_t(2 * field);
    const qsizetype start = m_lineStarts[std::size_t(record)];
    return QByteArrayView(m_bytes).sliced(start + m_bounds[at], m_bounds[at + 1] - m_bounds[at]);
}

QByteArray ReportStore::fieldUtf8(qsizetype record, int field) const
{
    const QByteArrayView bytes = fieldBytes(record, field);
    return isWindows1252(record) ? TextFiles::DecodeCp1252(bytes).toUtf8() : bytes.toByteArray();
}

QString ReportStore::field(qsizetype record, int field) const
{
    const QByteArrayView bytes = fieldBytes(record, field);
    if (record >= 0 && record < size() && isWindows1252(record))
        return TextFiles::DecodeCp1252(bytes);
    return QString::fromUtf8(bytes);
}

QByteArrayView ReportStore::line(qsizetype record) const
{
    if (record < 0 || record >= size())
        return {};
    const qsizetype start = m_lineStarts[std::size_t(record)];
    const QByteArrayView rest = QByteArrayView(m_bytes).sliced(start);
    qsizetype end = rest.indexOf('\n');
    if (end < 0)
        end = rest.size();
    if (end > 0 && rest[end - 1] == '\r')
        --end;
    return rest.first(end);
}
