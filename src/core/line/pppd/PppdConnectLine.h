#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The value of pppd's "connect" option is a command line that pppd hands to /bin/sh. To
// dial another number we rebuild it with chat's -T; that is only safe for a plain command
// (words and quotes), so anything with pipes, variables or redirections is left alone.
namespace PppdConnectLine {

// The words /bin/sh makes of a plain command; nothing when it uses more than quoting.
std::optional<QStringList> ShellWords(const QString &command);
// A word quoted for /bin/sh (left bare when it holds nothing the shell would interpret).
QString ShellQuoted(const QString &word);
QString JoinShellWords(const QStringList &words);

// chat's -T value of a command that runs chat ("" when it runs chat without -T);
// nothing when the command does not run chat.
std::optional<QString> ChatNumber(const QString &command);

// The command dialing number instead: -T replaced or added, and -v -s added when missing so
// that chat's reports reach pppd's log. Nothing when the command does not run chat.
std::optional<QString> WithNumber(const QString &command, const QString &number);

// The chat line of the entries this program creates.
QString StandardCommand(const QString &chatPath, const QString &number);

} // namespace PppdConnectLine
