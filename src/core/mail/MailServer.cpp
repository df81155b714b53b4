#include "mail/MailServer.h"

#include <algorithm>

namespace {

std::optional<quint16> portNumber(const QString &text)
{
    // Digits only: toUInt would also take blanks and a sign.
    if (text.isEmpty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
        return std::nullopt;
    const uint port = text.toUInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}

} // namespace

std::optional<MailServer> ParseMailServer(const QString &text)
{
    const QString server = text.trimmed();
    MailServer result;
    QString portText;
    bool hasPort = false;
    if (server.startsWith(QLatin1Char('['))) {
        const qsizetype close = server.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        result.host = server.mid(1, close - 1);
        const QString rest = server.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':')))
                return std::nullopt;
            hasPort = true;
            portText = rest.mid(1);
        }
    } else if (server.count(QLatin1Char(':')) == 1) {
        const qsizetype colon = server.indexOf(QLatin1Char(':'));
        result.host = server.left(colon);
        hasPort = true;
        portText = server.mid(colon + 1);
    } else {
        // No colon, or a bare IPv6 address whose colons are its own.
        result.host = server;
    }
    if (result.host.isEmpty())
        return std::nullopt;
    if (hasPort) {
        const std::optional<quint16> port = portNumber(portText);
        if (!port)
            return std::nullopt;
        result.port = *port;
    }
    return result;
}
