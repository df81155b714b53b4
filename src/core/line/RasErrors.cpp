#include "line/RasErrors.h"

#include "line/RemoteAccess.h"

std::optional<QString> RasErrorMessage(quint32 error)
{
    switch (error) {
    case RasError::Pending: return QStringLiteral("The operation is pending.");
    case RasError::PortDisconnected: return QStringLiteral("The modem was disconnected.");
    case RasError::CannotFindEntry: return QStringLiteral("The dial-up entry could not be found.");
    case RasError::RemoteDisconnection: return QStringLiteral("The connection was closed by the remote computer.");
    case RasError::PortNotAvailable:
        return QStringLiteral("The modem is not available: it is missing, in use by another program or not "
                              "configured for dialing.");
    case RasError::DeviceError: return QStringLiteral("The modem reported an error.");
    case RasError::LineBusy: return QStringLiteral("The line is busy.");
    case RasError::NoAnswer: return QStringLiteral("There was no answer.");
    case RasError::NoCarrier:
        return QStringLiteral("No carrier was detected: the remote modem did not answer with a connection.");
    case RasError::NoDialTone: return QStringLiteral("There is no dial tone. Check that the phone line is plugged in.");
    case RasError::AuthenticationFailure:
        return QStringLiteral("Access was denied: the user name or password is not valid for this provider.");
    case RasError::PppTimeout:
        return QStringLiteral("The provider's computer did not answer in time while the connection was set up.");
    case RasError::PppTerminated:
        return QStringLiteral("The connection was ended by the provider while it was being set up.");
    case RasError::ServiceFailed:
        return QStringLiteral("The dialing program (pppd) could not be started. Check that the ppp package is "
                              "installed and that you may use it.");
    default: return std::nullopt;
    }
}
