#include "line/pppd/PeerEntries.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "line/pppd/PeerFile.h"
#include "line/pppd/PppdConnectLine.h"
#include "line/pppd/PppdInput.h"

using PppdInput::InQuotes;

namespace {

// The messages keep the translation context of the line that shows them.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(PppdLine)
};

} // namespace

PeerEntries::PeerEntries(QString peersDir, QString chatPath)
    : m_peersDir(std::move(peersDir)), m_chatPath(std::move(chatPath))
{
}

QStringList PeerEntries::list() const
{
    QStringList entries;
    const QFileInfoList files =
        QDir(m_peersDir).entryInfoList(QDir::Files | QDir::Readable, QDir::Name | QDir::LocaleAware);
    for (const QFileInfo &file : files) {
        if (PppdInput::IsPeerName(file.fileName()))
            entries << file.fileName();
    }
    return entries;
}

QString PeerEntries::path(const QString &name) const
{
    return m_peersDir + u'/' + name;
}

std::optional<PhonebookEntry> PeerEntries::read(const QString &name) const
{
    if (!PppdInput::IsPeerName(name))
        return std::nullopt;
    const auto peer = PeerFile::Read(path(name));
    if (!peer)
        return std::nullopt;
    PhonebookEntry entry;
    entry.name = name;
    entry.device = peer->device();
    entry.speed = peer->speed();
    entry.user = peer->user();
    if (const auto command = peer->connectCommand())
        entry.number = PppdConnectLine::ChatNumber(*command).value_or(QString());
    return entry;
}

bool PeerEntries::write(const PhonebookEntry &entry, bool create, QString *error) const
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (const auto refused = PppdInput::EntryRefusal(entry, create))
        return fail(*refused);

    const QString file = path(entry.name);
    PeerFile peer;
    QFileDevice::Permissions permissions;
    if (create) {
        if (QFileInfo::exists(file))
            return fail(Texts::tr("There is already a dial-up entry called %1.").arg(InQuotes(entry.name)));
        peer.appendLine(QStringLiteral("# Dial-up entry written by LineMinder; lines it does not know are kept when "
                                       "it edits the entry."));
        peer.setDevice(entry.device);
        peer.setSpeed(entry.speed);
        peer.setUser(entry.user);
        peer.setConnectCommand(PppdConnectLine::StandardCommand(m_chatPath, entry.number));
        for (const char *option : {"noauth", "defaultroute", "usepeerdns", "lock", "crtscts", "modem", "hide-password"})
            peer.appendLine(QLatin1String(option));
        peer.appendLine(QStringLiteral("# The password comes through a pipe when LineMinder dials (passwordfd)."));
        peer.appendLine(QStringLiteral("plugin ") + PppdInput::PasswordPlugin);
        // pppd reads the file as the user who runs it: the dip group must be able to.
        permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    } else {
        QString readError;
        auto existing = PeerFile::Read(file, &readError);
        if (!existing)
            return fail(Texts::tr("The dial-up entry %1 could not be read: %2").arg(InQuotes(entry.name), readError));
        if (existing->endsInOpenWord())
            return fail(Texts::tr("The dial-up entry %1 ends inside an open quote, so it is not changed here. Close "
                                  "the quote in %2 first.")
                            .arg(InQuotes(entry.name), file));
        peer = *existing;
        if (!entry.device.isEmpty())
            peer.setDevice(entry.device);
        if (entry.speed != 0)
            peer.setSpeed(entry.speed);
        peer.setUser(entry.user);
        if (!entry.number.isEmpty()) {
            const auto command = peer.connectCommand();
            const auto changed = command ? PppdConnectLine::WithNumber(*command, entry.number)
                                         : PppdConnectLine::StandardCommand(m_chatPath, entry.number);
            if (!changed)
                return fail(Texts::tr("The entry %1 does not dial with chat, so its number cannot be changed here.")
                                .arg(InQuotes(entry.name)));
            peer.setConnectCommand(*changed);
        }
        permissions = QFile::permissions(file);
    }
    QString writeError;
    if (!peer.write(file, permissions, &writeError))
        return fail(writeRefused(file, writeError));
    return true;
}

bool PeerEntries::rename(const QString &name, const QString &newName, QString *error) const
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    PhonebookEntry renamed;
    renamed.name = newName;
    renamed.speed = 0;
    if (const auto refused = PppdInput::EntryRefusal(renamed, false))
        return fail(*refused);
    const QString from = path(name);
    const QString to = path(newName);
    if (!PppdInput::IsPeerName(name) || !QFileInfo::exists(from))
        return fail(Texts::tr("The dial-up entry %1 could not be found.").arg(InQuotes(name)));
    if (QFileInfo::exists(to))
        return fail(Texts::tr("There is already a dial-up entry called %1.").arg(InQuotes(newName)));
    QFile file(from);
    if (!file.rename(to))
        return fail(writeRefused(to, file.errorString()));
    return true;
}

QString PeerEntries::writeRefused(const QString &file, const QString &reason) const
{
    return Texts::tr("The dial-up entry could not be saved to %1: %2. Only root may change the entries in %3, "
                     "unless the group dip may write there (see PPPD.md).")
        .arg(file, reason, m_peersDir);
}
