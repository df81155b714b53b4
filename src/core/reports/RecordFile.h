#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <algorithm>
#include <array>
#include <cstring>

// The record files (report archives, Holiday.hl, tariff files): one record a line, each
// field in double quotes, fields separated by one comma, CR LF line ends, no header.
namespace RecordFile {

// A double quote inside a field cannot be represented; it is written as a single quote
// so that a reader never shifts columns.
QString QuoteField(const QString &text);

// "\"a\",\"b\"\r\n"
QString FormatRecord(const QStringList &fields);

// Reads one line as a record of exactly fieldCount fields: blanks before a field are
// skipped; a field that begins with a double quote runs to the next double quote (or
// the line end when there is none), anything after it up to the next comma is dropped;
// an unquoted field runs to the next comma. Missing fields are empty, extra fields are
// dropped. A record never continues onto the next line.
QStringList ParseLine(QStringView line, int fieldCount);

// The same reading rule over a line of bytes: where each of fieldCount fields lies in it
// (missing fields are empty views at the line's end). The quotes and commas that bound the
// fields are ASCII, so the views are right for UTF-8 and single-byte lines alike.
constexpr int kMaxSplitFields = 12;
using ByteFields = std::array<QByteArrayView, kMaxSplitFields>;
void SplitFields(QByteArrayView line, int fieldCount, ByteFields &fields);

// Calls visit(line) for every line of bytes that is not blank, without its CR LF or LF.
template <typename Visit> void ForEachLine(QByteArrayView bytes, Visit &&visit)
{
    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    while (p < end) {
        const auto *newline = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char *next = newline ? newline + 1 : end;
        const char *stop = newline ? newline : end;
        if (stop > p && stop[-1] == '\r')
            --stop;
        if (!std::all_of(p, stop, [](char c) { return c == ' ' || c == '\t'; }))
            visit(QByteArrayView(p, stop - p));
        p = next;
    }
}

// One record read back: its fields' texts kept one after another in one string. A report
// of a million calls is eleven million short fields; one allocation per record instead of
// one per field keeps it within memory and time. A record holds at most 65535 characters.
class Record
{
public:
    static constexpr int kMaxFields = kMaxSplitFields;

    Record() = default;
    // The fields of a line; fieldCount is at most kMaxFields.
    Record(QStringView line, int fieldCount);

    qsizetype size() const { return m_count; }
    QStringView field(qsizetype index) const;
    QString value(qsizetype index) const { return field(index).toString(); }
    QStringList toStringList() const;

private:
    QString m_text;
    std::array<quint16, kMaxFields> m_ends{}; // a field longer than 65535 characters is cut
    quint8 m_count = 0;

    friend class RecordBuilder;
};

} // namespace RecordFile

Q_DECLARE_TYPEINFO(RecordFile::Record, Q_RELOCATABLE_TYPE);

namespace RecordFile {

struct ReadResult
{
    bool ok = false;      // false when the file exists but cannot be read
    bool missing = false; // the file does not exist (an empty table)
    QList<Record> records;
    QString error;

    // The records as lists of strings (for small files).
    QList<QStringList> lists() const;
};

// Every non-blank line of the file as a record of fieldCount fields. Lines may end in
// CR LF or LF; bytes that are not UTF-8 are read as Windows-1252.
ReadResult ReadRecords(const QString &path, int fieldCount);

} // namespace RecordFile
