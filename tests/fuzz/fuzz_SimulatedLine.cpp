// The simulated line's phone book on any bytes: the line offers the entries its file holds,
// every figure read is one a dial can use, and the phone book written back reads the same.
#include "FuzzSupport.h"
#include "line/SimulatedLine.h"
#include "platform/Clock.h"
#include "platform/TextFiles.h"

namespace {

bool Same(const SimulatedLine::Entry &a, const SimulatedLine::Entry &b)
{
    return a.name == b.name && a.number == b.number && a.outcome == b.outcome && a.busyTimes == b.busyTimes &&
           a.connectAfter == b.connectAfter && a.dropAfter == b.dropAfter && a.speed == b.speed &&
           a.rxRate == b.rxRate && a.txRate == b.txRate;
}

bool Same(const QList<SimulatedLine::Entry> &a, const QList<SimulatedLine::Entry> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const SimulatedLine::Entry &x, const SimulatedLine::Entry &y) { return Same(x, y); });
}

QList<SimulatedLine::Entry> Parse(QByteArrayView bytes)
{
    return SimulatedLine::parsePhonebook(TextFiles::SplitLines(bytes).join(u'\n'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const SystemClock clock;
    const QByteArrayView bytes(data, size);
    const QList<SimulatedLine::Entry> entries = Parse(bytes);
    QStringList names;
    for (const SimulatedLine::Entry &entry : entries) {
        Fuzz::Check(!entry.name.isEmpty(), "an entry has a name");
        Fuzz::Check(entry.busyTimes >= 0 && entry.connectAfter >= 0 && entry.dropAfter >= 0 && entry.speed >= 0 &&
                        entry.rxRate >= 0 && entry.txRate >= 0,
                    "no figure of an entry is negative");
        Fuzz::Check(entry.outcome == entry.outcome.toLower(), "an outcome is read in lower case");
        names.append(entry.name);
    }

    SimulatedLine line(Fuzz::WriteScratch(QStringLiteral("simulated-phonebook.ini"), bytes), clock);
    Fuzz::Check(line.RasEnumEntries() == names, "the line offers the entries of its phone book");

    const QString written = SimulatedLine::formatPhonebook(entries);
    Fuzz::Check(Same(Parse(written.toUtf8()), entries), "the phone book written back reads the same");
    return 0;
}
