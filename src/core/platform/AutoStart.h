#pragma once

#include <QString>

// "Load the program every time you log in": an XDG autostart entry in the user's config
// folder ($XDG_CONFIG_HOME/autostart, ~/.config/autostart without it), which the desktop
// session reads at log-in.
namespace AutoStart {

QString EntryPath();
bool IsEnabled();

// The entry's text: starts program (its path, quoted for the Exec key).
QString EntryText(const QString &program);

// Writes the entry for program (replacing an older one) or removes it; a missing entry is not
// an error. False with the reason in *error when the file cannot be written or removed.
bool SetEnabled(bool on, const QString &program, QString *error = nullptr);

} // namespace AutoStart
