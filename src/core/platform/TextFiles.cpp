#include "platform/TextFiles.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace TextFiles {

namespace {

// Qt 6.4 has no Windows-1252 codec without ICU; only 0x80-0x9F differ from Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

} // namespace

bool IsAscii(QByteArrayView bytes)
{
    unsigned char seen = 0;
    for (char byte : bytes)
        seen |= static_cast<unsigned char>(byte);
    return seen < 0x80;
}

QString DecodeCp1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        *out++ = (c >= 0x80 && c < 0xA0) ? QChar(kCp1252High[c - 0x80]) : QChar(char16_t{c});
    }
    return text;
}

QString DecodeLine(QByteArrayView bytes)
{
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), bytes.size());
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return DecodeCp1252(bytes);
}

QStringList SplitLines(QByteArrayView bytes)
{
    QStringList lines;
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    const qsizetype size = bytes.size();
    while (start < size) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? size : end + 1;
        if (end < 0)
            end = size;
        qsizetype stop = end;
        if (stop > start && bytes[stop - 1] == '\r')
            --stop;
        lines.append(DecodeLine(bytes.sliced(start, stop - start)));
        start = next;
    }
    return lines;
}

bool OpenRegular(QFile &file, QIODevice::OpenMode mode, QString *error)
{
    auto fail = [&](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    // O_NONBLOCK: a FIFO opens at once (or fails) instead of waiting for its other end; the
    // file type is then checked on the open descriptor, so nothing can be swapped in between.
    const bool writing = mode.testFlag(QIODevice::WriteOnly);
    const int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (writing ? O_WRONLY | O_APPEND | O_CREAT : O_RDONLY);
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(), flags, 0666);
    const QString notRegular = QStringLiteral("%1 is not a regular file.").arg(file.fileName());
    if (fd < 0) // ENXIO: a FIFO that nobody reads, or a device that is not there
        return fail(errno == ENXIO ? notRegular : QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(notRegular);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
    return true;
}

ReadResult ReadLines(const QString &path)
{
    ReadResult result;
    QFile file(path);
    if (!file.exists()) {
        result.missing = true;
        result.error = QStringLiteral("The file %1 does not exist.").arg(path);
        return result;
    }
    if (!OpenRegular(file, QIODevice::ReadOnly, &result.error))
        return result;
    const QByteArray bytes = file.readAll();
    result.lines = SplitLines(bytes);
    result.ok = true;
    return result;
}

bool Append(const QString &path, const QString &text, QString *error)
{
    QFile file(path);
    if (!OpenRegular(file, QIODevice::WriteOnly | QIODevice::Append, error))
        return false;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool Replace(const QString &path, const QString &text, QString *error)
{
    return ReplaceBytes(path, text.toUtf8(), std::nullopt, error);
}

bool ReplaceBytes(const QString &path, QByteArrayView bytes, std::optional<QFileDevice::Permissions> permissions,
                  QString *error)
{
    // QSaveFile writes a temporary file beside the target (with the target's permissions)
    // and renames it over the target on commit.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (permissions)
        file.setPermissions(*permissions);
    file.write(bytes.data(), bytes.size());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace TextFiles
