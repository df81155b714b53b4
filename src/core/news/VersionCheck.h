#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <tuple>

// The version file on the news server and the news text beside it. The version file holds
// either "major.minor.revision" or the condensed number of older releases, where 124 is
// 1.2.4 (major = n / 100, minor = (n % 100) / 10, revision = n % 10).
namespace VersionCheck {

// Bodies larger than these are refused: the server is not answering with our files.
inline constexpr qsizetype kMaxVersionBytes = 16;
inline constexpr qsizetype kMaxNewsBytes = qsizetype(64) * 1024;

struct Version
{
    int major = 0;
    int minor = 0;
    int revision = 0;
    // Major first, then minor, then revision.
    bool operator<(const Version &other) const
    {
        return std::tie(major, minor, revision) < std::tie(other.major, other.minor, other.revision);
    }
    QString text() const;
};

// The running program's version, from the build.
Version Running();

// The version file's body: nothing when it is empty, too large, or neither digits nor
// "a.b.c" (blanks and line ends around the text are allowed).
std::optional<Version> Parse(QByteArrayView body);

// The line the news window shows for a remote version.
QString ResultText(const Version &running, const Version &remote);

// The news file's body as text: its last byte is not part of the news; UTF-8, or
// Windows-1252 where the bytes are not valid UTF-8; line ends as LF.
QString DecodeNews(QByteArrayView body);

} // namespace VersionCheck
