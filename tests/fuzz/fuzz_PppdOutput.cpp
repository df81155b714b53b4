// pppd's log on any bytes, line by line as the line reads it: each line tells at most one thing,
// and only what a call can be told (a known state or error, a speed, a ppp interface).
#include <QByteArray>
#include <QRegularExpression>

#include "FuzzSupport.h"
#include "line/RemoteAccess.h"
#include "line/pppd/PppdOutput.h"

namespace {

bool IsKnownState(int state)
{
    static const QList<int> states = {-1,
                                      RasState::ConnectDevice,
                                      RasState::DeviceConnected,
                                      RasState::AllDevicesConnected,
                                      RasState::Authenticate,
                                      RasState::Authenticated,
                                      RasState::Connected};
    return states.contains(state);
}

bool IsKnownError(quint32 error)
{
    static const QList<quint32> errors = {RasError::None,       RasError::LineBusy, RasError::NoCarrier,
                                          RasError::NoDialTone, RasError::NoAnswer, RasError::AuthenticationFailure};
    return errors.contains(error);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QRegularExpression interface(QStringLiteral(R"(^ppp\d+\z)"));
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QByteArray &line : bytes.split('\n')) {
        const PppdEvent event = PppdOutput::ParseLine(QString::fromUtf8(line + '\n'));
        Fuzz::Check(IsKnownState(event.state), "a line reports a state of a call or none");
        Fuzz::Check(IsKnownError(event.error), "a line reports a failure of a call or none");
        Fuzz::Check(event.error == RasError::None || event.state < 0, "a failure comes without a state");
        Fuzz::Check(!event.speed || (*event.speed >= 0 && event.state == RasState::DeviceConnected),
                    "a speed comes with the modem's CONNECT");
        Fuzz::Check(event.interface.isEmpty() ||
                        (interface.match(event.interface).hasMatch() && event.state == RasState::Authenticate),
                    "an interface is a ppp interface named when the link comes up");
    }
    return 0;
}
