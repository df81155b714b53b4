#pragma once

#include <QString>

// The program's name as the user sees it: captions, message titles, the data folders.
inline QString ProgramName()
{
    return QStringLiteral("LineMinder");
}
