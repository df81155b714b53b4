// The text file reader on any bytes: a line per line end, lines without line ends, the same
// lines from the file as from the bytes, and the lines written back read the same.
#include "FuzzSupport.h"
#include "platform/TextFiles.h"

namespace {

// Leading byte order marks: the one opening the file is dropped as it is read, so a second one
// only goes at the second reading. Harmless (they are invisible); not what this target looks for.
QStringList WithoutLeadingMarks(QStringList lines)
{
    for (QString &line : lines) {
        while (line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, size);
    const QStringList lines = TextFiles::SplitLines(bytes);
    // A byte order mark opening the file is no text of its own.
    const QByteArrayView body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
    const qsizetype ends = body.count('\n');
    Fuzz::Check(lines.size() == ends + (body.isEmpty() || body.endsWith('\n') ? 0 : 1),
                "one line per line end, and one for an unfinished last line");
    for (const QString &line : lines) {
        Fuzz::Check(!line.contains(u'\n'), "a line holds no line end");
        Fuzz::Check(line.size() <= bytes.size(), "a line has no more characters than the file has bytes");
    }

    const TextFiles::ReadResult read = TextFiles::ReadLines(Fuzz::WriteScratch(QStringLiteral("file.txt"), bytes));
    Fuzz::Check(read.ok && !read.missing, "a readable file reads");
    Fuzz::Check(read.lines == lines, "the file gives the lines its bytes give");

    QString text;
    for (const QString &line : lines)
        text += line + TextFiles::kLineEnd;
    const QString copy = Fuzz::ScratchPath(QStringLiteral("copy.txt"));
    Fuzz::Check(TextFiles::Replace(copy, text), "the lines can be written");
    Fuzz::Check(WithoutLeadingMarks(TextFiles::ReadLines(copy).lines) == WithoutLeadingMarks(lines),
                "the lines written back read the same");
    return 0;
}
