#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace Fuzz {

namespace {

QString ScratchFolder()
{
    static const QTemporaryDir folder = [] {
        const QFileInfo shm(QStringLiteral("/dev/shm"));
        const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
        return QTemporaryDir(base + QStringLiteral("/lineminder-fuzz-XXXXXX"));
    }();
    Check(folder.isValid(), "the scratch folder can be made");
    return folder.path();
}

} // namespace

QString ScratchPath(const QString &name)
{
    return ScratchFolder() + u'/' + name;
}

QString WriteScratch(const QString &name, QByteArrayView bytes)
{
    const QString path = ScratchPath(name);
    QFile file(path);
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              file.write(bytes.data(), bytes.size()) == bytes.size(),
          "the input can be written to the scratch folder");
    return path;
}

void Check(bool holds, const char *property)
{
    if (holds)
        return;
    std::fprintf(stderr, "Property does not hold: %s\n", property);
    std::abort();
}

} // namespace Fuzz
