#include "platform/ProgramLauncher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

bool ProcessLauncher::start(const QString &commandLine, WindowStyle, QString *error)
{
    // A listed program's path may hold blanks ("/opt/My Browser/run"): a text that names an
    // executable file is that program, without arguments; anything else is a command line.
    const QFileInfo whole(commandLine);
    const bool namesProgram = commandLine.contains(QLatin1Char('/')) && whole.isFile() && whole.isExecutable();
    QStringList arguments = namesProgram ? QStringList{commandLine} : QProcess::splitCommand(commandLine);
    if (arguments.isEmpty()) {
        if (error)
            *error = QStringLiteral("The command line is empty.");
        return false;
    }
    const QString program = arguments.takeFirst();
    // startDetached reports a missing program only through its result; say which one.
    const QString found = program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    if (found.isEmpty() || !QFileInfo(found).isExecutable()) {
        if (error)
            *error = QStringLiteral("The program \"%1\" could not be found or is not executable.").arg(program);
        return false;
    }
    if (!QProcess::startDetached(found, arguments)) {
        if (error)
            *error = QStringLiteral("The program \"%1\" could not be started.").arg(program);
        return false;
    }
    return true;
}

bool ProcessLauncher::open(const QString &path, QString *error)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty() || !QProcess::startDetached(opener, {path})) {
        if (error)
            *error = QStringLiteral("No program to open %1 could be started (xdg-open is missing).").arg(path);
        return false;
    }
    return true;
}
