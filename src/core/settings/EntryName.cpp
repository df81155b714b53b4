#include "settings/EntryName.h"

#include <algorithm>

namespace EntryName {

std::optional<QString> Refusal(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("Please enter a name for the connection.");
    if (name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/')))
        return QStringLiteral("The connection name \"%1\" must not contain \"\\\" or \"/\".").arg(name);
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; }))
        return QStringLiteral("The connection name must not contain line breaks, tabs or other control characters.");
    return std::nullopt;
}

bool IsSectionName(const QString &name)
{
    return !Refusal(name).has_value();
}

} // namespace EntryName
