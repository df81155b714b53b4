#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

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

struct ReadResult
{
    bool ok = false;      // false when the file exists but cannot be read
    bool missing = false; // the file does not exist (an empty table)
    QList<QStringList> records;
    QString error;
};

// Every non-blank line of the file as a record of fieldCount fields. Lines may end in
// CR LF or LF; bytes that are not UTF-8 are read as Windows-1252.
ReadResult ReadRecords(const QString &path, int fieldCount);

} // namespace RecordFile
