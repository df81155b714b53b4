#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>

// The program's text files (log, archives, Holiday.hl, tariff files) are written as
// UTF-8 with CR LF. Older files may hold Windows-1252 bytes and LF-only lines, so the
// readers decode line by line: valid UTF-8 as such, anything else as Windows-1252.
namespace TextFiles {

inline const QString kLineEnd = QStringLiteral("\r\n");

// A U+FEFF in the line is kept: only a file's first line may begin with a byte order mark.
QString DecodeLine(QByteArrayView bytes);

// Whether every byte is below 0x80 (such bytes read the same in every encoding used).
bool IsAscii(QByteArrayView bytes);

// Each byte as its Windows-1252 character.
QString DecodeCp1252(QByteArrayView bytes);

// Splits a file's bytes into decoded lines (CR LF or LF; a trailing line end adds no
// empty line). A byte order mark at the start of the bytes is dropped.
QStringList SplitLines(QByteArrayView bytes);

// Opens a file only when it is a regular file (for writing with Append, creating it when
// absent). A FIFO, device or socket is refused without waiting: opening a FIFO blocks
// until the other end opens, and reading a device may never end.
bool OpenRegular(QFile &file, QIODevice::OpenMode mode, QString *error = nullptr);

struct ReadResult
{
    bool ok = false;
    bool missing = false;
    QStringList lines;
    QString error;
};
ReadResult ReadLines(const QString &path);

// Appends text (already carrying its CR LF) to a file, creating it when absent.
// The data is flushed to the disk before returning; on failure the reason is in *error.
bool Append(const QString &path, const QString &text, QString *error = nullptr);

// Replaces a whole file atomically: readers see either the old or the new content.
bool Replace(const QString &path, const QString &text, QString *error = nullptr);

// The same for any bytes. The new file gets permissions when given, otherwise those of the
// file it replaces (a new file: the usual ones for the user's umask).
bool ReplaceBytes(const QString &path, QByteArrayView bytes,
                  std::optional<QFileDevice::Permissions> permissions = std::nullopt, QString *error = nullptr);

} // namespace TextFiles
