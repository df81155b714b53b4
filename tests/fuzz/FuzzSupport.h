#pragma once

#include <QByteArrayView>
#include <QString>

// What the fuzz targets share: inputs handed to readers as files, and property checks that
// stop the run so that libFuzzer keeps the input.
namespace Fuzz {

// A fixed path in this process's own scratch folder (on tmpfs when there is one: a target
// writes a file per input). The same name always gives the same path.
QString ScratchPath(const QString &name);

// Writes the bytes to ScratchPath(name), replacing what was there, and returns the path.
QString WriteScratch(const QString &name, QByteArrayView bytes);

// Aborts with the property's description when it does not hold.
void Check(bool holds, const char *property);

} // namespace Fuzz
