// A POP3 server's bytes, in segments of any sizes: the lines do not depend on how TCP split
// them, none is longer than POP3 allows, and the message count of a STAT reply stays in range.
#include <QByteArray>
#include <QList>
#include <QString>

#include "FuzzSupport.h"
#include "mail/Pop3LineReader.h"
#include "mail/StatReply.h"

namespace {

struct Lines
{
    QList<QByteArray> lines;
    bool overlong = false;
};

// The bytes in segments of sizes drawn from the seed; all at once for seed 0.
Lines Read(const QByteArray &bytes, unsigned seed)
{
    Lines result;
    Pop3LineReader reader;
    const bool whole = seed == 0;
    for (qsizetype at = 0; at < bytes.size();) {
        seed = seed * 1103515245u + 12345u;
        const qsizetype segment = whole ? bytes.size() : 1 + (seed >> 16) % 700;
        reader.append(bytes.mid(at, segment));
        at += segment;
        while (const std::optional<QByteArray> line = reader.takeLine())
            result.lines.append(*line);
    }
    result.overlong = reader.overlong();
    return result;
}

// What the lines must be: every finished line (CR LF or LF) up to the first one too long.
Lines Expected(const QByteArray &bytes)
{
    Lines result;
    QList<QByteArray> pieces = bytes.split('\n');
    const QByteArray unfinished = pieces.takeLast();
    for (QByteArray piece : pieces) {
        if (piece.size() + 1 > Pop3LineReader::kMaxLine) {
            result.overlong = true;
            return result;
        }
        if (piece.endsWith('\r'))
            piece.chop(1);
        result.lines.append(piece);
    }
    result.overlong = unfinished.size() > Pop3LineReader::kMaxLine;
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte seeds the segment sizes; the rest is what the server sent.
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    const Lines expected = Expected(bytes);
    for (unsigned seed : {0u, unsigned(data[0]) + 1}) {
        const Lines lines = Read(bytes, seed);
        Fuzz::Check(lines.lines == expected.lines, "the lines are the finished lines up to an overlong one");
        Fuzz::Check(lines.overlong == expected.overlong, "a line too long is noticed whatever the segments");
    }

    constexpr qint64 kLimit = qint64(1) << 53;
    for (const QByteArray &line : expected.lines) {
        const QString reply = QString::fromUtf8(line);
        const QString count = StatCountText(reply);
        Fuzz::Check(count.isEmpty() || reply.mid(4, count.size()) == count, "the count is taken from the reply");
        Fuzz::Check(!count.contains(u' '), "the count holds no blank");
        Fuzz::Check(StatCountText(QStringLiteral("+OK ") + count + QStringLiteral(" 1200")) == count,
                    "the count reads back from a reply");
        const qint64 value = StatCountValue(count);
        Fuzz::Check(value >= -kLimit && value <= kLimit, "a huge count stops at the limit");
        Fuzz::Check(StatCountValue(QString::number(value)) == value, "the count's value reads back");
    }
    return 0;
}
