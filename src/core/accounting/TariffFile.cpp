#include "accounting/TariffFile.h"

#include <QFile>
#include <QStringList>
#include <QTime>

#include <algorithm>

#include "accounting/Tariff.h"
#include "platform/TextFiles.h"
#include "reports/RecordFile.h"
#include "values/Money.h"

namespace TariffFile {

namespace {

constexpr int kFieldCount = 8;

// How many fields the record reader finds in a line: a quoted field runs to its closing
// quote, and the next comma after it starts the following field.
int countFields(QStringView line)
{
    int count = 1;
    qsizetype at = 0;
    for (;;) {
        while (at < line.size() && (line[at] == QLatin1Char(' ') || line[at] == QLatin1Char('\t')))
            ++at;
        if (at < line.size() && line[at] == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), at + 1);
            if (close < 0)
                return count;
            at = close + 1;
        }
        at = line.indexOf(QLatin1Char(','), at);
        if (at < 0)
            return count;
        ++at;
        ++count;
    }
}

std::optional<QString> timeText(QStringView text)
{
    // Only h:mm or h:mm:ss, the forms the editor writes: no AM/PM, no other digits.
    const QString trimmed = text.trimmed().toString();
    if (!std::all_of(trimmed.cbegin(), trimmed.cend(), [](QChar c) { return c == u':' || (c >= u'0' && c <= u'9'); }))
        return std::nullopt;
    const auto second = ParseTimeOfDay(trimmed);
    if (!second)
        return std::nullopt;
    return QTime::fromMSecsSinceStartOfDay(*second * 1000).toString(QStringLiteral("HH:mm:ss"));
}

bool isCost(QStringView text)
{
    const auto cost = Money::parse(text);
    return cost && *cost >= Money();
}

std::optional<Record> fromFields(const RecordFile::Record &fields)
{
    Record record;
    record.name = fields.value(0);
    const QString code = fields.value(1).trimmed();
    if (code != QLatin1String("0") && code != QLatin1String("1") && code != QLatin1String("2"))
        return std::nullopt;
    record.code = code.at(0).unicode() - u'0';
    record.firstStart = fields.value(2);
    record.firstEnd = fields.value(3);
    record.thirdStart = fields.value(4);
    record.firstCost = fields.value(5);
    record.secondCost = fields.value(6);
    record.thirdCost = fields.value(7);

    if (!isCost(record.firstCost))
        return std::nullopt;
    if (record.code == 2)
        return record;
    const auto firstStart = timeText(record.firstStart);
    const auto firstEnd = timeText(record.firstEnd);
    if (!firstStart || !firstEnd || !isCost(record.secondCost))
        return std::nullopt;
    record.firstStart = *firstStart;
    record.firstEnd = *firstEnd;
    if (record.code == 0)
        return record;
    const auto thirdStart = timeText(record.thirdStart);
    if (!thirdStart || !isCost(record.thirdCost))
        return std::nullopt;
    record.thirdStart = *thirdStart;
    return record;
}

} // namespace

QByteArray Format(const Record &record)
{
    auto quoted = [](const QString &text) -> QString {
        return QLatin1Char('"') + RecordFile::QuoteField(text) + QLatin1Char('"');
    };
    const QString line = QStringList{quoted(record.name),       QString::number(record.code), quoted(record.firstStart),
                                     quoted(record.firstEnd),   quoted(record.thirdStart),    quoted(record.firstCost),
                                     quoted(record.secondCost), quoted(record.thirdCost)}
                             .join(QLatin1Char(','));
    return (line + TextFiles::kLineEnd).toUtf8();
}

std::optional<Record> Parse(QByteArrayView bytes)
{
    const QStringList lines = TextFiles::SplitLines(bytes);
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (countFields(lines.at(i)) == kFieldCount)
            return fromFields(RecordFile::Record(lines.at(i), kFieldCount));
    }
    return std::nullopt;
}

bool Export(const QString &path, const Record &record, QString *error)
{
    return TextFiles::ReplaceBytes(path, Format(record), std::nullopt, error);
}

std::optional<Record> Import(const QString &path)
{
    QFile file(path);
    if (!TextFiles::OpenRegular(file, QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize)
        return std::nullopt;
    return Parse(bytes);
}

} // namespace TariffFile
