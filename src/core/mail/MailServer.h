#pragma once

#include <QString>

#include <optional>

// Where the mailbox lives: txtPop3Host holds "host" or "host:port" ("[v6 address]:port"
// for an IPv6 literal), so a server on another port than POP3's own can be reached.
struct MailServer
{
    static constexpr quint16 kDefaultPort = 110;

    QString host;
    quint16 port = kDefaultPort;
};

// Nothing for an empty host or a port that is not a whole number from 1 to 65535.
std::optional<MailServer> ParseMailServer(const QString &text);
