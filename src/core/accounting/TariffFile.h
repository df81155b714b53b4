#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// A tariff file (.tff) moves one tariff's editor values between stores: one line of eight
// comma-separated fields ended by CR LF, written as UTF-8:
//   "name",code,"first start","first end","third start","first cost","second cost","third cost"
// The interval code is bare (2 one interval, 0 two, 1 three); every other field is quoted.
namespace TariffFile {

// The values as the tariff editor holds them; all eight are written whatever the code.
struct Record
{
    QString name;
    int code = 0;
    QString firstStart;
    QString firstEnd;
    QString thirdStart;
    QString firstCost;
    QString secondCost;
    QString thirdCost;

    bool operator==(const Record &) const = default;
};

// A file larger than this is not a tariff file and is not read past it.
constexpr qsizetype kMaxFileSize = 65536; // 64 KiB

// The record's line. A double quote or line break inside a text cannot be represented and is
// written as a single quote or a blank, so that a reader never shifts fields.
QByteArray Format(const Record &record);

// The last complete record (a line of exactly eight fields) of a file's bytes, when its code
// is 0, 1 or 2 and every field that code uses converts: times of day as h:mm[:ss], costs as
// numbers of at least 0. The times it uses come back as "HH:mm:ss", everything else as
// written; fields the code does not use are not checked. Lines may be Windows-1252.
std::optional<Record> Parse(QByteArrayView bytes);

// Replaces the file atomically; false with the reason in *error when it cannot.
bool Export(const QString &path, const Record &record, QString *error = nullptr);

// Parse of a regular file of at most kMaxFileSize bytes (a FIFO or device is refused without
// waiting); nothing when the file cannot be read or holds no usable record.
std::optional<Record> Import(const QString &path);

} // namespace TariffFile
