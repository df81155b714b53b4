#include "reports/RecordFile.h"

#include <QFile>

#include <algorithm>
#include <cstring>

#include "platform/TextFiles.h"

namespace RecordFile {

namespace {

template <typename Char> bool isBlank(Char c)
{
    return c == Char(' ') || c == Char('\t');
}

// Fields are a few bytes long: a plain loop finds their ends sooner than a call to memchr.
template <typename Char> const Char *find(const Char *p, const Char *end, Char c)
{
    while (p < end && *p != c)
        ++p;
    return p;
}

template <typename Char> struct Span
{
    const Char *text = nullptr;
    qsizetype size = 0;
};

// One parser for both forms a line arrives in: raw bytes when the line is plain ASCII
// (most lines: no decoding step), UTF-16 otherwise.
template <typename Char>
int splitFields(const Char *p, const Char *end, int fieldCount, std::array<Span<Char>, Record::kMaxFields> &spans)
{
    fieldCount = std::clamp(fieldCount, 0, Record::kMaxFields);
    for (std::size_t n = 0; n < static_cast<std::size_t>(fieldCount); ++n) {
        while (p < end && isBlank(*p))
            ++p;
        const Char *text = p;
        const Char *stop;
        if (p < end && *p == Char('"')) {
            text = p + 1;
            stop = find(text, end, Char('"'));
            p = find(stop, end, Char(','));
        } else {
            stop = find(p, end, Char(','));
            p = stop;
        }
        spans[n] = {text, stop - text};
        if (p < end)
            ++p;
    }
    return fieldCount;
}

} // namespace

// Fills a record from the spans of its fields.
class RecordBuilder
{
    // The field bounds are 16-bit; a record's text beyond that is cut.
    static constexpr qsizetype kMaxTotal = 0xFFFF;

public:
    template <typename Char> static Record build(const std::array<Span<Char>, Record::kMaxFields> &spans, int count)
    {
        Record record;
        const auto fields = static_cast<std::size_t>(count); // 0..kMaxFields, as split
        qsizetype chars = 0;
        for (std::size_t i = 0; i < fields; ++i)
            chars += std::min<qsizetype>(spans[i].size, kMaxTotal - chars);
        record.m_text = QString(chars, Qt::Uninitialized);
        auto *out = reinterpret_cast<char16_t *>(record.m_text.data());
        qsizetype end = 0;
        for (std::size_t i = 0; i < fields; ++i) {
            const qsizetype size = std::min<qsizetype>(spans[i].size, kMaxTotal - end);
            out = std::copy(spans[i].text, spans[i].text + size, out);
            end += size;
            record.m_ends[i] = quint16(end);
        }
        record.m_count = quint8(count);
        return record;
    }
};

namespace {

template <typename Char> Record parse(const Char *begin, const Char *end, int fieldCount)
{
    std::array<Span<Char>, Record::kMaxFields> spans;
    const int count = splitFields(begin, end, fieldCount, spans);
    return RecordBuilder::build(spans, count);
}

// Every line of bytes, appended to records.
void parseLines(QByteArrayView bytes, int fieldCount, QList<Record> &records)
{
    ForEachLine(bytes, [&](QByteArrayView line) {
        if (TextFiles::IsAscii(line))
            records.append(parse(line.data(), line.data() + line.size(), fieldCount));
        else
            records.append(Record(TextFiles::DecodeLine(line), fieldCount));
    });
}

} // namespace

Record::Record(QStringView line, int fieldCount)
{
    const auto *begin = reinterpret_cast<const char16_t *>(line.utf16());
    *this = parse(begin, begin + line.size(), fieldCount);
}

void SplitFields(QByteArrayView line, int fieldCount, ByteFields &fields)
{
    std::array<Span<char>, Record::kMaxFields> spans;
    const int count = splitFields(line.data(), line.data() + line.size(), fieldCount, spans);
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = int(i) < count ? QByteArrayView(spans[i].text, spans[i].size) : QByteArrayView();
}

QStringView Record::field(qsizetype index) const
{
    if (index < 0 || index >= m_count)
        return QStringView();
    const auto at = static_cast<std::size_t>(index);
    const qsizetype begin = at == 0 ? 0 : m_ends[at - 1];
    return QStringView(m_text).sliced(begin, m_ends[at] - begin);
}

QStringList Record::toStringList() const
{
    QStringList fields;
    fields.reserve(m_count);
    for (qsizetype i = 0; i < m_count; ++i)
        fields.append(value(i));
    return fields;
}

QList<QStringList> ReadResult::lists() const
{
    QList<QStringList> lists;
    lists.reserve(records.size());
    for (const Record &record : records)
        lists.append(record.toStringList());
    return lists;
}

QString QuoteField(const QString &text)
{
    QString field = text;
    for (QChar &c : field) {
        if (c == QLatin1Char('"'))
            c = QLatin1Char('\'');
        // A line break would end the record early and shift every record after it.
        else if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    return field;
}

QString FormatRecord(const QStringList &fields)
{
    QString record;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += QLatin1Char(',');
        record += QLatin1Char('"') + QuoteField(fields.at(i)) + QLatin1Char('"');
    }
    record += TextFiles::kLineEnd;
    return record;
}

QStringList ParseLine(QStringView line, int fieldCount)
{
    return Record(line, fieldCount).toStringList();
}

ReadResult ReadRecords(const QString &path, int fieldCount)
{
    ReadResult result;
    QFile file(path);
    if (!file.exists()) {
        result.ok = true;
        result.missing = true;
        return result;
    }
    QString reason;
    if (!TextFiles::OpenRegular(file, QIODevice::ReadOnly | QIODevice::Unbuffered, &reason)) {
        result.error = QStringLiteral("The file %1 could not be read: %2").arg(path, reason);
        return result;
    }
    // An editor may have saved the file with a byte order mark.
    if (file.peek(3) == "\xEF\xBB\xBF")
        file.seek(3);
    // Report.ini lines are about 120 bytes; a guess that spares most of the regrowth.
    result.records.reserve(file.size() / 110 + 1);

    // Read in blocks: the file's bytes are never held whole beside the records.
    constexpr qsizetype kBlock = 1 << 20;
    QByteArray buffer(kBlock, Qt::Uninitialized);
    qsizetype kept = 0; // the start of a line whose end has not been read yet
    for (;;) {
        if (kept == buffer.size())
            buffer.resize(buffer.size() * 2);
        const qint64 got = file.read(buffer.data() + kept, buffer.size() - kept);
        if (got < 0) {
            result.records.clear();
            result.error = QStringLiteral("The file %1 could not be read: %2").arg(path, file.errorString());
            return result;
        }
        if (got == 0)
            break;
        const qsizetype filled = kept + got;
        const qsizetype complete = QByteArrayView(buffer.constData(), filled).lastIndexOf('\n') + 1;
        parseLines(QByteArrayView(buffer.constData(), complete), fieldCount, result.records);
        kept = filled - complete;
        std::memmove(buffer.data(), buffer.constData() + complete, static_cast<std::size_t>(kept));
    }
    parseLines(QByteArrayView(buffer.constData(), kept), fieldCount, result.records);
    result.ok = true;
    return result;
}

} // namespace RecordFile
