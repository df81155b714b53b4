#include "connection/RemoteAccess.h"

#include "connection/RasErrors.h"

std::optional<QString> RemoteAccess::RasGetErrorString(quint32 error) const
{
    return RasErrorMessage(error);
}
