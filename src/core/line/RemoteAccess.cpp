#include "line/RemoteAccess.h"

#include "line/RasErrors.h"

std::optional<QString> RemoteAccess::RasGetErrorString(quint32 error) const
{
    return RasErrorMessage(error);
}

bool RemoteAccess::RasRenamePhonebookEntry(const QString &name, const QString &, QString *error)
{
    if (error)
        *error = QStringLiteral("The dial-up entry \"%1\" cannot be renamed on this line.").arg(name);
    return false;
}
