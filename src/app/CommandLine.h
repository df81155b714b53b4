#pragma once

#include <QStringList>

#include <optional>

// The program's command line: --help (-h) and --version (-v); every other option belongs to
// Qt's window system (-platform, -style, ...).

// Answers --help and --version on standard output before any window system is needed, so they
// work without a display (over ssh, in scripts, in a package check). Returns the exit code when
// one of them was asked for; otherwise nothing, and the program goes on to open its windows.
std::optional<int> AnswerInformationOptions(int &argc, char **argv);

// Refuses an option that neither the program nor Qt knows, once QApplication has taken its own
// from `arguments`: writes why to standard error and returns false.
bool AcceptRemainingOptions(const QStringList &arguments);
