#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <vector>

// The records of one report file, read once: the file's bytes kept in one buffer and, per
// record, where its line starts and where each field lies in it. A field is decoded only
// when it is shown or compared; a million calls then cost about half the memory of one
// string per field, and the load is a single scan of the bytes.
class ReportStore
{
public:
    // Reads every non-blank line of the file as a record of fieldCount fields (at most 12;
    // missing fields are empty). A missing file is an empty store, not an error.
    bool load(const QString &path, int fieldCount, QString *error = nullptr);
    // The same, but keeps what was read when the file has not changed since (same size and
    // time of change): showing another provider's records then only filters them again.
    bool reload(const QString &path, int fieldCount, QString *error = nullptr);
    void clear();

    qsizetype size() const { return qsizetype(m_lineStarts.size()); }
    int fieldCount() const { return m_fieldCount; }

    // The field's bytes: UTF-8 unless the line is not valid UTF-8 (an older file's
    // Windows-1252 line), which fieldUtf8 converts.
    QByteArrayView fieldBytes(qsizetype record, int field) const;
    bool isWindows1252(qsizetype record) const { return m_windows1252[std::size_t(record)]; }
    QByteArray fieldUtf8(qsizetype record, int field) const;
    QString field(qsizetype record, int field) const;
    // The whole line, without its line end.
    QByteArrayView line(qsizetype record) const;

private:
    QByteArray m_bytes;
    int m_fieldCount = 0;
    QString m_path;
    qint64 m_fileSize = -1;
    QDateTime m_fileChanged;
    std::vector<qsizetype> m_lineStarts;
    // Per record and field: the begin and end of its text, counted from the line's start.
    // Lines are short; a field reaching past 65535 bytes into its line is cut there.
    std::vector<quint16> m_bounds;
    std::vector<bool> m_windows1252;
};
