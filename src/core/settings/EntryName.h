#pragma once

#include <QString>

#include <optional>

// The name of a dial-up entry is also the provider part of every settings section of that
// provider and, on pppd, the name of its peer file: it must be one path component there.
namespace EntryName {

// Why the name cannot be used, in the user's words; nothing when it can.
std::optional<QString> Refusal(const QString &name);

// One component of a section path: a backslash in it would make it a subsection.
bool IsSectionName(const QString &name);

} // namespace EntryName
