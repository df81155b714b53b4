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
};

// Starts the program detached with QProcess; the window style is left to the desktop.
class ProcessLauncher final : public ProgramLauncher
{
public:
    bool start(const QString &commandLine, WindowStyle style, QString *error) override;
};
