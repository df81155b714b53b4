#include "news/VersionCheck.h"

#include <limits>

#include "platform/TextFiles.h"

namespace VersionCheck {

namespace {

bool allDigits(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// A run of digits as an int; nothing past the int's range.
std::optional<int> number(QByteArrayView digits)
{
    if (!allDigits(digits))
        return std::nullopt;
    qint64 value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int>::max())
            return std::nullopt;
    }
    return int(value);
}

} // namespace

QString Version::text() const
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

Version Running()
{
    return {LINEMINDER_VERSION_MAJOR, LINEMINDER_VERSION_MINOR, LINEMINDER_VERSION_PATCH};
}

std::optional<Version> Parse(QByteArrayView body)
{
    if (body.size() > kMaxVersionBytes)
        return std::nullopt;
    const QByteArrayView text = body.trimmed();
    if (allDigits(text)) {
        // At most 16 digits: the number fits in 64 bits; its major part must fit an int.
        qint64 n = 0;
        for (char c : text)
            n = n * 10 + (c - '0');
        if (n / 100 > std::numeric_limits<int>::max())
            return std::nullopt;
        return Version{int(n / 100), int(n % 100 / 10), int(n % 10)};
    }
    const qsizetype first = text.indexOf('.');
    const qsizetype second = text.indexOf('.', first + 1); // no first: none either
    if (second < 0)
        return std::nullopt;
    const auto major = number(text.first(first));
    const auto minor = number(text.sliced(first + 1, second - first - 1));
    const auto revision = number(text.sliced(second + 1)); // a third '.' is no digit
    if (!major || !minor || !revision)
        return std::nullopt;
    return Version{*major, *minor, *revision};
}

QString ResultText(const Version &running, const Version &remote)
{
    if (running < remote)
        return QStringLiteral("A more recent version of LineMinder exists! New version: ") + remote.text();
    return QStringLiteral("You already have the most recent version!");
}

QString DecodeNews(QByteArrayView body)
{
    if (body.isEmpty())
        return {};
    QString text = TextFiles::DecodeLine(body.chopped(1));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace VersionCheck
