#include "line/pppd/OutsideLinks.h"

#include <algorithm>
#include <cerrno>
#include <csignal> // kill() (POSIX), SIGTERM

#include "line/pppd/PppdLinks.h"

OutsideLinks::OutsideLinks(QString sysfsRoot, QString runDir, QString programName)
    : m_sysfsRoot(std::move(sysfsRoot)), m_runDir(std::move(runDir)), m_programName(std::move(programName))
{
}

void OutsideLinks::refresh(const QList<qint64> &ownPids, const std::function<RasHandle()> &newHandle)
{
    m_hungUp.removeIf([](qint64 pid) { return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; });
    QHash<QString, Link> seen;
    for (const PppdLinks::Link &link : PppdLinks::UpLinks(m_sysfsRoot, m_runDir, m_programName)) {
        if (ownPids.contains(link.pid) || m_hungUp.contains(link.pid))
            continue;
        const auto known = m_links.constFind(link.interface);
        if (known != m_links.cend() && known->pid == link.pid)
            seen.insert(link.interface, *known);
        else
            seen.insert(link.interface, Link{newHandle(), link.pid});
    }
    m_links = seen;
}

QString OutsideLinks::firstInterface() const
{
    QStringList interfaces = m_links.keys();
    std::sort(interfaces.begin(), interfaces.end());
    return interfaces.value(0);
}

RasHandle OutsideLinks::firstHandle() const
{
    return isEmpty() ? 0 : m_links.value(firstInterface()).handle;
}

QHash<QString, OutsideLinks::Link>::iterator OutsideLinks::find(RasHandle handle)
{
    return std::find_if(m_links.begin(), m_links.end(), [handle](const Link &link) { return link.handle == handle; });
}

bool OutsideLinks::stillRunBySamePppd(const QString &interface, qint64 pid) const
{
    return PppdLinks::LinkPid(m_runDir, interface, m_programName) == pid;
}

bool OutsideLinks::isUp(RasHandle handle)
{
    const auto it = find(handle);
    if (it == m_links.end())
        return false;
    if (PppdLinks::IsUp(m_sysfsRoot, it.key()) && stillRunBySamePppd(it.key(), it->pid))
        return true;
    m_links.erase(it);
    return false;
}

void OutsideLinks::hangUp(RasHandle handle)
{
    const auto it = find(handle);
    if (it == m_links.end())
        return;
    // Re-read the pid file: only the pppd that still runs this link gets the signal.
    if (stillRunBySamePppd(it.key(), it->pid) && ::kill(static_cast<pid_t>(it->pid), SIGTERM) == 0)
        m_hungUp << it->pid;
    m_links.erase(it);
}
