#include "platform/AutoStart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/ProgramName.h"
#include "platform/TextFiles.h"

namespace AutoStart {

QString EntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/lineminder.desktop");
}

bool IsEnabled()
{
    return QFileInfo(EntryPath()).isFile();
}

QString EntryText(const QString &program)
{
    // The Exec key quotes an argument in double quotes with \ " ` $ escaped, and a backslash
    // of the value is itself escaped once more; % is doubled for the field codes.
    QString quoted;
    for (const QChar c : program) {
        if (c == u'\\')
            quoted += QStringLiteral("\\\\\\\\");
        else if (c == u'"' || c == u'`' || c == u'$')
            quoted += QStringLiteral("\\\\") + c;
        else if (c == u'%')
            quoted += QStringLiteral("%%");
        else
            quoted += c;
    }
    return QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=\"%2\"\nX-GNOME-Autostart-enabled=true\n")
        .arg(ProgramName(), quoted);
}

bool SetEnabled(bool on, const QString &program, QString *error)
{
    const QString path = EntryPath();
    if (!on) {
        if (!QFileInfo::exists(path) || QFile::remove(path))
            return true;
        if (error)
            *error = QStringLiteral("%1 could not be removed").arg(QDir::toNativeSeparators(path));
        return false;
    }
    // A line break in the path would end the key: such a program cannot be started from here.
    if (program.contains(u'\n') || program.contains(u'\r')) {
        if (error)
            *error = QStringLiteral("the program's path holds a line break");
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath()); // when it cannot be made, the write says why
    return TextFiles::ReplaceBytes(path, EntryText(program).toUtf8(), std::nullopt, error);
}

} // namespace AutoStart
