#pragma once

#include <QByteArray>

#include <optional>

// Frames a POP3 server's bytes into reply lines. Bytes are kept until a line is whole, so
// a reply split across TCP segments is read as one. A line may hold at most 512 octets
// with its line end (the POP3 limit); anything longer marks the reader overlong, and it
// stops keeping bytes, so a server cannot make it grow without bound.
class Pop3LineReader
{
public:
    static constexpr qsizetype kMaxLine = 512;

    void append(const QByteArray &bytes);
    void clear();

    // The next whole line without its line end (LF, or CR LF); nothing while none is
    // whole or once the reader is overlong.
    std::optional<QByteArray> takeLine();
    bool overlong() const { return m_overlong; }

private:
    void checkHead();

    QByteArray m_buffer;
    bool m_overlong = false;
};
