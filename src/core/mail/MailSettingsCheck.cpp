#include "mail/MailSettingsCheck.h"

#include "mail/MailServer.h"
#include "platform/Prompter.h"
#include "settings/ProviderProfile.h"

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;

namespace {

bool breaksCommandLine(const QString &text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) || text.contains(QChar(0));
}

} // namespace

std::optional<QString> MailSettingsProblem(const ProviderProfile &profile)
{
    const QString host = profile.text(Text::Pop3Host);
    const QString user = profile.text(Text::Pop3User);
    if (host.trimmed().isEmpty())
        return QStringLiteral("You must enter your mail server's address!");
    if (breaksCommandLine(host))
        return QStringLiteral("The mail server's address must not contain line breaks or NUL characters!");
    if (!ParseMailServer(host))
        return QStringLiteral("The mail server's port must be a whole number from 1 to 65535!");
    if (user.isEmpty())
        return QStringLiteral("You must set POP3 username!");
    if (breaksCommandLine(user))
        return QStringLiteral("The POP3 username must not contain line breaks or NUL characters!");
    if (breaksCommandLine(profile.text(Text::Pop3Passwd)))
        return QStringLiteral("The POP3 password must not contain line breaks or NUL characters!");
    if (!profile.mailInterval())
        return QStringLiteral("You must set an interval greater than zero!");
    if (!profile.mailTimeout())
        return QStringLiteral("You must set a timeout greater than zero");
    return std::nullopt;
}

bool CheckMailSettings(const ProviderProfile &profile, Prompter &prompter)
{
    if (!profile.isChecked(Check::EMail))
        return false;
    if (const std::optional<QString> problem = MailSettingsProblem(profile)) {
        prompter.tell(*problem, Prompt::Icon::Exclamation);
        return false;
    }
    return true;
}
