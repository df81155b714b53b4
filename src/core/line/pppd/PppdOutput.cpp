#include "line/pppd/PppdOutput.h"

#include <QRegularExpression>

#include "line/RemoteAccess.h"

namespace {

// chat -v shows a received carriage return as "^M", sometimes on a line of its own.
QString Cleaned(QStringView line)
{
    QString text = line.toString();
    text.remove(QLatin1String("^M"));
    text.remove(QLatin1Char('\r'));
    return text.trimmed();
}

std::optional<quint32> ModemFailure(QStringView word)
{
    if (word == u"BUSY")
        return RasError::LineBusy;
    if (word == u"NO CARRIER")
        return RasError::NoCarrier;
    if (word == u"NO DIALTONE" || word == u"NO DIAL TONE")
        return RasError::NoDialTone;
    if (word == u"NO ANSWER")
        return RasError::NoAnswer;
    return std::nullopt;
}

} // namespace

namespace PppdOutput {

PppdEvent ParseLine(QStringView line)
{
    // The modem's own CONNECT line, or chat's REPORT of it ("chat:  Dec 06 20:01:08 CONNECT 33600/ARQ").
    // Anchored, so that chat's "expect (CONNECT)" and pppd's "Connect: ppp0 <--> ..." do not count.
    static const QRegularExpression connectLine(QStringLiteral(R"(^(?:chat:\s.*\s)?CONNECT(?:\s+(\d+))?\b)"));
    static const QRegularExpression dialLine(QStringLiteral(R"(^(?:send \()?ATD)"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression interfaceLine(QStringLiteral(R"(^(?:Using interface|Connect:)\s+(ppp\d+)\b)"));
    static const QRegularExpression failedLine(QStringLiteral(R"(^Failed \((.+)\)$)"));
    static const QRegularExpression upLine(QStringLiteral(R"(^local\s+(?:IP|LL) address\b|\bip-up finished\b)"));

    PppdEvent event;
    const QString text = Cleaned(line);
    if (text.isEmpty())
        return event;

    // "abort on (BUSY)" is chat arming its ABORT strings at the start, not a failure: only
    // "Failed (BUSY)" or the modem's bare word is.
    if (const auto failed = failedLine.match(text); failed.hasMatch()) {
        if (const auto error = ModemFailure(failed.capturedView(1)))
            event.error = *error;
        return event;
    }
    if (const auto error = ModemFailure(text)) {
        event.error = *error;
        return event;
    }
    if (text.contains(QLatin1String("authentication failed"), Qt::CaseInsensitive)) {
        event.error = RasError::AuthenticationFailure;
        return event;
    }
    if (const auto connect = connectLine.match(text); connect.hasMatch()) {
        event.state = RasState::DeviceConnected;
        if (connect.hasCaptured(1))
            event.speed = connect.captured(1).toLongLong();
        return event;
    }
    if (dialLine.match(text).hasMatch()) {
        event.state = RasState::ConnectDevice;
        return event;
    }
    if (text.startsWith(QLatin1String("Serial connection established"))) {
        event.state = RasState::AllDevicesConnected;
        return event;
    }
    if (const auto link = interfaceLine.match(text); link.hasMatch()) {
        event.state = RasState::Authenticate;
        event.interface = link.captured(1);
        return event;
    }
    if (text.contains(QLatin1String("authentication succeeded"), Qt::CaseInsensitive)) {
        event.state = RasState::Authenticated;
        return event;
    }
    if (upLine.match(text).hasMatch())
        event.state = RasState::Connected;
    return event;
}

quint32 ErrorForExit(int exitCode)
{
    switch (exitCode) {
    case 0:  // ended at the peer's request
    case 5:  // SIGTERM/SIGINT/SIGHUP from someone else
    case 12: // idle limit
    case 13: // connect time limit
    case 14: // callback
        return RasError::RemoteDisconnection;
    case 6: // serial port could not be locked
    case 7: // or opened
        return RasError::PortNotAvailable;
    case 8:  // connect script failed without a report we understood
    case 9:  // pty command could not be run
    case 18: // init script failed
        return RasError::DeviceError;
    case 10: // PPP negotiation failed
    case 17: // serial loopback
        return RasError::PppTerminated;
    case 11: // the peer failed to authenticate itself
    case 19: // we failed to authenticate ourselves
        return RasError::AuthenticationFailure;
    case 15: // no answer to echo requests
        return RasError::PppTimeout;
    case 16: // the modem hung up
        return RasError::PortDisconnected;
    default: // 1-4: fatal error, bad options, not permitted, no kernel support; anything unknown
        return RasError::ServiceFailed;
    }
}

} // namespace PppdOutput
