// A pppd peer file on any bytes: written back it reads the same, pppd's words of every word
// quoted read back unchanged, and the settings this program edits read back as set.
#include "FuzzSupport.h"
#include "line/pppd/PeerFile.h"

namespace {

bool SameSettings(const PeerFile &a, const PeerFile &b)
{
    return a.device() == b.device() && a.speed() == b.speed() && a.user() == b.user() &&
           a.connectCommand() == b.connectCommand();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const PeerFile file = PeerFile::Parse(bytes);
    if (file.endsInOpenWord())
        return 0; // refused for editing: pppd would not read it either
    const QByteArray written = file.toBytes();
    const PeerFile reread = PeerFile::Parse(written);
    Fuzz::Check(reread.toBytes() == written, "a peer file written back reads the same");
    Fuzz::Check(SameSettings(file, reread), "a peer file written back has the same settings");
    Fuzz::Check(file.speed() >= 0, "a speed is never negative");

    const QString user = file.user();
    for (const QString &word : PeerFile::Words(QString::fromUtf8(bytes)))
        Fuzz::Check(PeerFile::Words(PeerFile::Quoted(word)) == QStringList{word}, "a quoted word reads back unchanged");

    if (user.isEmpty() || user.contains(u'\r'))
        return 0; // a carriage return before a line end is read as a DOS line end
    PeerFile edited = file;
    edited.setUser(user);
    edited.setConnectCommand(user);
    const PeerFile back = PeerFile::Parse(edited.toBytes());
    Fuzz::Check(back.user() == user && back.connectCommand() == user, "what is set reads back as set");
    return 0;
}
