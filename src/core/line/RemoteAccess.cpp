#include "line/RemoteAccess.h"

#include "line/RasErrors.h"

std::optional<QString> RemoteAccess::RasGetErrorString(quint32 error) const
{
    return RasErrorMessage(error);
}
