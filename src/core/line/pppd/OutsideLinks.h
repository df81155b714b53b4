#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <functional>

#include "line/RemoteAccess.h"

// Links started outside the program (pon, another pppd): a ppp interface that is up and the
// live pppd named in its pid file. They are shown as connected and can be hung up; a link
// keeps its handle while the same pppd runs it.
class OutsideLinks
{
public:
    OutsideLinks(QString sysfsRoot, QString runDir, QString programName);

    // Looks at the links that are up again. Those of ownPids (the program's own pppds, also
    // those still ending) are not outside; newHandle numbers a link seen for the first time.
    void refresh(const QList<qint64> &ownPids, const std::function<RasHandle()> &newHandle);

    bool isEmpty() const { return m_links.isEmpty(); }
    // The link of the first interface by name: its handle (0 when none) and interface.
    RasHandle firstHandle() const;
    QString firstInterface() const;

    // Whether handle is a link that is still up under the same pppd; one that went is forgotten.
    bool isUp(RasHandle handle);
    // Asks the pppd of the link to end (SIGTERM, which pppd ends on); nothing for another handle.
    void hangUp(RasHandle handle);

private:
    struct Link
    {
        RasHandle handle;
        qint64 pid;
    };

    QHash<QString, Link>::iterator find(RasHandle handle);
    bool stillRunBySamePppd(const QString &interface, qint64 pid) const;

    QString m_sysfsRoot;
    QString m_runDir;
    QString m_programName;
    QHash<QString, Link> m_links; // by interface
    QList<qint64> m_hungUp;       // told to end; not shown again while they end
};
