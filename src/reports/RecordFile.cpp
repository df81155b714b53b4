#include "reports/RecordFile.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include <QFile>

#include "platform/TextFiles.h"

namespace RecordFile {

namespace {

template <typename Char> bool isBlank(Char c)
{
    return c == Char(' ') || c == Char('\t');
}

// Where each field's text lies in the line.
template <typename Char> using Spans = std::vector<std::pair<const Char *, qsizetype>>;

// One parser for both forms a line arrives in: raw bytes when the line is plain ASCII
// (most lines; no decoding step and no intermediate QString), UTF-16 otherwise.
template <typename Char> void splitFields(const Char *p, const Char *end, int fieldCount, Spans<Char> &spans)
{
    spans.clear();
    for (int n = 0; n < fieldCount; ++n) {
        while (p < end && isBlank(*p))
            ++p;
        const Char *text = p;
        const Char *stop;
        if (p < end && *p == Char('"')) {
            text = p + 1;
            stop = std::find(text, end, Char('"'));
            p = std::find(stop, end, Char(','));
        } else {
            stop = std::find(p, end, Char(','));
            p = stop;
        }
        spans.emplace_back(text, stop - text);
        if (p < end)
            ++p;
    }
}

// The fields of one record share one allocation, each with its own terminating NUL as a
// separate string would have. A large report is millions of short fields and reading it
// costs mostly the memory handed out, not the parsing: one block per record instead of one
// per field takes a third less memory and far fewer allocations. Implicit sharing keeps
// this invisible: a field written to while others of its record are alive is copied
// first, and the block goes with the last field that uses it.
template <typename Char> QStringList makeFields(const Spans<Char> &spans)
{
    qsizetype chars = 0;
    for (const auto &span : spans) {
        if (span.second > 0)
            chars += span.second + 1;
    }
    QStringList fields;
    fields.reserve(qsizetype(spans.size()));
    if (chars == 0) {
        fields.resize(qsizetype(spans.size()));
        return fields;
    }
    auto [header, out] = QTypedArrayData<char16_t>::allocate(chars);
    Q_CHECK_PTR(header);
    bool referenced = true; // allocate() hands out the block with one reference
    for (const auto &[text, size] : spans) {
        if (size == 0) {
            fields.append(QString());
            continue;
        }
        if (!referenced)
            header->ref();
        referenced = false;
        std::copy(text, text + size, out);
        out[size] = u'\0';
        fields.append(QString(QString::DataPointer(header, out, size)));
        out += size + 1;
    }
    return fields;
}

bool isAscii(const char *p, const char *end)
{
    unsigned char seen = 0;
    for (; p < end; ++p)
        seen |= static_cast<unsigned char>(*p);
    return seen < 0x80;
}

bool isBlankLine(const char *p, const char *end)
{
    return std::all_of(p, end, isBlank<char>);
}

// Every complete or final line in bytes, appended to records.
void parseLines(QByteArrayView bytes, int fieldCount, QList<QStringList> &records)
{
    Spans<char> spans;
    spans.reserve(std::size_t(fieldCount));
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    while (p < end) {
        const char *newline = static_cast<const char *>(std::memchr(p, '\n', end - p));
        const char *next = newline ? newline + 1 : end;
        const char *stop = newline ? newline : end;
        if (stop > p && stop[-1] == '\r')
            --stop;
        if (!isBlankLine(p, stop)) {
            if (isAscii(p, stop)) {
                splitFields(p, stop, fieldCount, spans);
                records.append(makeFields(spans));
            } else {
                records.append(ParseLine(TextFiles::DecodeLine(QByteArrayView(p, stop - p)), fieldCount));
            }
        }
        p = next;
    }
}

// A stretch of the file that starts at a line start and ends after a line end (or at the
// end of the file).
struct Part
{
    qint64 begin = 0;
    qint64 end = 0;
    QList<QStringList> records;
    QString error;
};

// Reads the part in blocks: the file's bytes are never held whole, which matters for a
// report of years of calls (the parsed records are several times the file's size already).
void readPart(const QString &path, int fieldCount, Part &part)
{
    constexpr qsizetype kBlock = 1 << 20;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || !file.seek(part.begin)) {
        part.error = file.errorString();
        return;
    }
    // Report.ini lines are about 120 bytes; a guess that spares most of the regrowth.
    part.records.reserve((part.end - part.begin) / 96 + 1);
    QByteArray buffer(kBlock, Qt::Uninitialized);
    qsizetype kept = 0; // the start of a line whose end has not been read yet
    qint64 left = part.end - part.begin;
    while (left > 0) {
        if (kept == buffer.size())
            buffer.resize(buffer.size() * 2);
        const qint64 got = file.read(buffer.data() + kept, std::min<qint64>(buffer.size() - kept, left));
        if (got < 0) {
            part.error = file.errorString();
            return;
        }
        if (got == 0)
            break; // the file was cut short while being read: what was read stands
        left -= got;
        const qsizetype filled = kept + got;
        const qsizetype complete = QByteArrayView(buffer.constData(), filled).lastIndexOf('\n') + 1;
        parseLines(QByteArrayView(buffer.constData(), complete), fieldCount, part.records);
        kept = filled - complete;
        std::memmove(buffer.data(), buffer.constData() + complete, kept);
    }
    parseLines(QByteArrayView(buffer.constData(), kept), fieldCount, part.records);
}

// The first line start at or after offset (the file size when there is none).
qint64 lineStartFrom(QFile &file, qint64 offset)
{
    if (offset == 0)
        return 0;
    if (!file.seek(offset - 1))
        return file.size();
    qint64 position = offset - 1;
    while (true) {
        const QByteArray block = file.read(4096);
        if (block.isEmpty())
            return file.size();
        const qsizetype newline = block.indexOf('\n');
        if (newline >= 0)
            return position + newline + 1;
        position += block.size();
    }
}

// Large files are parsed on every core: most of the time goes into allocating the
// records' strings, which scales with the cores.
std::vector<Part> splitIntoParts(QFile &file, qint64 size)
{
    constexpr qint64 kMinPart = 4 << 20;
    const qint64 cores = std::max(1u, std::thread::hardware_concurrency());
    const qint64 count = std::clamp<qint64>(size / kMinPart, 1, std::min<qint64>(cores, 8));
    // An editor may have saved the file with a byte order mark.
    const qint64 start = file.peek(3) == "\xEF\xBB\xBF" ? 3 : 0;
    std::vector<Part> parts;
    qint64 begin = start;
    for (qint64 k = 1; k <= count; ++k) {
        const qint64 end = k == count ? size : std::max(begin, lineStartFrom(file, size * k / count));
        if (end > begin)
            parts.push_back(Part{begin, end, {}, {}});
        begin = end;
    }
    return parts;
}

} // namespace

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
    qsizetype size = 2;
    for (const QString &field : fields)
        size += field.size() + 3;
    QString record;
    record.reserve(size);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += QLatin1Char(',');
        record += QLatin1Char('"');
        record += QuoteField(fields.at(i));
        record += QLatin1Char('"');
    }
    record += TextFiles::kLineEnd;
    return record;
}

QStringList ParseLine(QStringView line, int fieldCount)
{
    if (fieldCount <= 0)
        return QStringList();
    Spans<char16_t> spans;
    spans.reserve(std::size_t(fieldCount));
    splitFields(line.utf16(), line.utf16() + line.size(), fieldCount, spans);
    return makeFields(spans);
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
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QStringLiteral("The file %1 could not be read: %2").arg(path, file.errorString());
        return result;
    }
    if (fieldCount <= 0) {
        result.ok = true;
        return result;
    }
    // The size is taken once: a record appended while the file is read waits for the next read.
    std::vector<Part> parts = splitIntoParts(file, file.size());
    file.close();
    {
        std::vector<std::jthread> helpers;
        std::size_t started = 1;
        try {
            for (; started < parts.size(); ++started)
                helpers.emplace_back(readPart, std::cref(path), fieldCount, std::ref(parts[started]));
        } catch (const std::system_error &) {
            // No more threads to be had: the rest is read here.
        }
        for (std::size_t i = 0; i < parts.size(); ++i) {
            if (i == 0 || i >= started)
                readPart(path, fieldCount, parts[i]);
        }
    }
    qsizetype total = 0;
    for (const Part &part : parts) {
        if (!part.error.isEmpty()) {
            result.error = QStringLiteral("The file %1 could not be read: %2").arg(path, part.error);
            return result;
        }
        total += part.records.size();
    }
    if (parts.size() == 1) {
        result.records = std::move(parts[0].records);
    } else {
        result.records.reserve(total);
        for (Part &part : parts)
            result.records.append(std::move(part.records));
    }
    result.ok = true;
    return result;
}

} // namespace RecordFile
