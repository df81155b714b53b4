// The record reader (report archives, Holiday.hl, tariff files) on any bytes: reading the file
// agrees with reading its lines one by one, and what was read, written back, reads the same.
#include <QList>
#include <QStringList>

#include <algorithm>

#include "FuzzSupport.h"
#include "platform/TextFiles.h"
#include "reports/RecordFile.h"

namespace {

// As many fields as the first line has (its commas and one), so that seeds keep their shape.
int FieldCount(QByteArrayView bytes)
{
    const qsizetype end = bytes.indexOf('\n');
    const QByteArrayView first = end < 0 ? bytes : bytes.first(end);
    return int(std::clamp<qsizetype>(first.count(',') + 1, 1, RecordFile::Record::kMaxFields));
}

bool IsBlank(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// The records the lines give one by one: what reading the file in blocks must give too.
QList<QStringList> LineByLine(QByteArrayView bytes, int fieldCount)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QList<QStringList> records;
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf('\n');
        QByteArrayView line = end < 0 ? bytes : bytes.first(end);
        bytes = end < 0 ? QByteArrayView() : bytes.sliced(end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!IsBlank(line))
            records.append(RecordFile::ParseLine(TextFiles::DecodeLine(line), fieldCount));
    }
    return records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, size);
    const int fieldCount = FieldCount(bytes);
    const QString path = Fuzz::WriteScratch(QStringLiteral("Report.ini"), bytes);

    const RecordFile::ReadResult read = RecordFile::ReadRecords(path, fieldCount);
    Fuzz::Check(read.ok && !read.missing && read.error.isEmpty(), "a readable file reads without an error");
    const QList<QStringList> records = read.lists();
    Fuzz::Check(records == LineByLine(bytes, fieldCount), "the file reader agrees with the line reader");

    QString text;
    QList<QStringList> expected;
    for (const QStringList &fields : records) {
        Fuzz::Check(fields.size() == fieldCount, "every record has the fields asked for");
        text += RecordFile::FormatRecord(fields);
        QStringList quoted;
        for (const QString &field : fields)
            quoted.append(RecordFile::QuoteField(field));
        expected.append(quoted);
    }
    const QString copy = Fuzz::WriteScratch(QStringLiteral("Report-copy.ini"), text.toUtf8());
    Fuzz::Check(RecordFile::ReadRecords(copy, fieldCount).lists() == expected,
                "records written back read the same (but for what a field cannot hold)");
    return 0;
}
