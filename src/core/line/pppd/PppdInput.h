#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

#include "line/RemoteAccess.h"

class PeerFile;

// What goes into pppd: the texts a dial and an entry may hold, and the arguments a dial
// starts pppd with. Pure rules, no files read.
namespace PppdInput {

// pppd's own limits (MAXNAMELEN, MAXSECRETLEN, a file name): longer texts would be cut.
inline constexpr DialLimits Limits{255, 128, 255, 255};

// The plugin that reads the password from a pipe (passwordfd).
inline const QString PasswordPlugin = QStringLiteral("passwordfd.so");

// Names RasEnumEntries shows: what pppd's "call" accepts, without hidden files and the
// copies editors and package tools leave next to a peer file.
bool IsPeerName(const QString &name);

// A text between typographic quotes, as the messages show names and numbers.
QString InQuotes(const QString &text);

// Why a dial of this entry is refused at once; nothing when its name is fine.
std::optional<DialResult> EntryNameRefusal(const QString &entry);
// Why the number, login or password of a dial is refused; nothing when they are fine.
std::optional<DialResult> LoginRefusal(const DialParams &params);

// pppd's arguments for a dial of the entry whose peer file is peer (without the password's
// descriptor), or why the entry cannot make that dial.
std::variant<QStringList, DialResult> DialArguments(const DialParams &params, const PeerFile &peer);

// Why an entry cannot be created (create) or edited as it is; nothing when it can. For an
// edit an empty device or number (or speed 0) means "keep the file's".
std::optional<QString> EntryRefusal(const PhonebookEntry &entry, bool create);

} // namespace PppdInput
