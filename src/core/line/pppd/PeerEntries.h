#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "line/RemoteAccess.h"

// The dial-up entries of the pppd line: the peer files in one folder (/etc/ppp/peers).
class PeerEntries
{
public:
    PeerEntries(QString peersDir, QString chatPath);

    // The names pppd's "call" accepts, by name.
    QStringList list() const;
    QString path(const QString &name) const;
    std::optional<PhonebookEntry> read(const QString &name) const;
    // Create refuses to replace an existing entry; an edit keeps the lines it does not own.
    // For an edit an empty device or number (or speed 0) leaves that line as it is; an empty
    // user removes the user line.
    bool write(const PhonebookEntry &entry, bool create, QString *error) const;
    // Renames the peer file; never replaces another entry.
    bool rename(const QString &name, const QString &newName, QString *error) const;

private:
    QString writeRefused(const QString &file, const QString &reason) const;

    QString m_peersDir;
    QString m_chatPath;
};
