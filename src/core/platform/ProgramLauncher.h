#pragma once

#include <QString>

// Starts other programs without waiting for them.
class ProgramLauncher
{
public:
    // How the started program's window should appear, where the desktop honours it.
    enum class WindowStyle {
        NormalFocus = 1,
        MinimizedFocus = 2,
        MaximizedFocus = 3,
        NormalNoFocus = 4,
        MinimizedNoFocus = 6
    };

    virtual ~ProgramLauncher() = default;
    // The path of an executable file (blanks and all), or else a command line (program and
    // arguments, quoted as a shell would). On failure, *error says why.
    virtual bool start(const QString &commandLine, WindowStyle style, QString *error) = 0;
    // Opens a file with the desktop's handler for its type. On failure, *error says why.
    virtual bool open(const QString &path, QString *error) = 0;
};

// Starts the program detached with QProcess; the window style is left to the desktop.
class ProcessLauncher final : public ProgramLauncher
{
public:
    bool start(const QString &commandLine, WindowStyle style, QString *error) override;
    // Through xdg-open, which hands the file to the desktop's handler.
    bool open(const QString &path, QString *error) override;
};
