// Tariff files (.tff) on any bytes: a record read has a known code and usable values for it,
// reads the same from the file as from its bytes, and written back reads the same (a double
// quote becomes a single one).
#include <QTime>

#include "FuzzSupport.h"
#include "accounting/TariffFile.h"
#include "reports/RecordFile.h"
#include "values/Money.h"

namespace {

bool IsCost(const QString &text)
{
    const auto cost = Money::parse(text);
    return cost && *cost >= Money();
}

bool IsTime(const QString &text)
{
    return text.size() == 8 && QTime::fromString(text, QStringLiteral("HH:mm:ss")).isValid();
}

// The record as a file holds it once written.
TariffFile::Record Written(TariffFile::Record record)
{
    for (QString *text : {&record.name, &record.firstStart, &record.firstEnd, &record.thirdStart, &record.firstCost,
                          &record.secondCost, &record.thirdCost})
        *text = RecordFile::QuoteField(*text);
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, size);
    const std::optional<TariffFile::Record> record = TariffFile::Parse(bytes);
    if (qsizetype(size) <= TariffFile::kMaxFileSize) {
        const QString path = Fuzz::WriteScratch(QStringLiteral("read.tff"), bytes);
        Fuzz::Check(TariffFile::Import(path) == record, "the file reads as its bytes");
    }
    if (!record)
        return 0;

    Fuzz::Check(record->code >= 0 && record->code <= 2, "the code is one of the three");
    Fuzz::Check(IsCost(record->firstCost), "the first cost is a cost");
    if (record->code != 2) {
        Fuzz::Check(IsTime(record->firstStart) && IsTime(record->firstEnd), "the first interval's bounds are times");
        Fuzz::Check(IsCost(record->secondCost), "the second cost is a cost");
    }
    if (record->code == 1)
        Fuzz::Check(IsTime(record->thirdStart) && IsCost(record->thirdCost), "the third interval is usable");

    const TariffFile::Record written = Written(*record);
    Fuzz::Check(TariffFile::Parse(TariffFile::Format(*record)) == written, "the record written reads back");
    const QString copy = Fuzz::ScratchPath(QStringLiteral("copy.tff"));
    Fuzz::Check(TariffFile::Export(copy, *record) && TariffFile::Import(copy) == written,
                "the record exported imports back");
    return 0;
}
