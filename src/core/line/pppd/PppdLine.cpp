#include "line/pppd/PppdLine.h"

#include <algorithm>
#include <array>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "line/pppd/PeerFile.h"
#include "line/pppd/PppdConnectLine.h"
#include "line/pppd/PppdLinks.h"
#include "line/pppd/PppdOutput.h"

namespace {

const QString kPasswordPlugin = QStringLiteral("passwordfd.so");

// pppd's own limits (MAXNAMELEN, MAXSECRETLEN, a file name): longer texts would be cut.
constexpr DialLimits kLimits{255, 128, 255, 255};

// Names RasEnumEntries shows: what pppd's "call" accepts, without hidden files and the
// copies editors and package tools leave next to a peer file.
bool IsPeerName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(u'.') || name.contains(u'/') || name.endsWith(u'~') ||
        name.endsWith(QLatin1String(".bak")) || name.contains(QLatin1String(".dpkg-")) ||
        name.contains(QLatin1String(".ucf-")))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

// Names this program gives new files: plain, and never hidden from RasEnumEntries.
bool IsSafeEntryName(const QString &name)
{
    static const QRegularExpression safe(QStringLiteral(R"(^[A-Za-z0-9_-][A-Za-z0-9._-]*\z)"));
    return safe.match(name).hasMatch() && IsPeerName(name) && name.size() <= kLimits.entry;
}

// \z, not $: PCRE's $ also matches before a final line break.
bool IsPhoneNumber(const QString &number)
{
    static const QRegularExpression allowed(QStringLiteral(R"(^[0-9 +*#,()\-.wWpPtT]*[0-9][0-9 +*#,()\-.wWpPtT]*\z)"));
    return allowed.match(number).hasMatch();
}

bool HasLineBreakOrNul(QByteArrayView text)
{
    return text.contains('\r') || text.contains('\n') || text.contains('\0');
}

// Values written into a peer file between quotes.
bool IsPlainValue(const QString &value)
{
    return std::none_of(value.begin(), value.end(), [](QChar c) {
        return c == u'"' || c == u'\'' || c == u'\\' || c.category() == QChar::Other_Control;
    });
}

bool IsDevice(const QString &device)
{
    static const QRegularExpression path(QStringLiteral(R"(^/dev/[A-Za-z0-9_.-]+(/[A-Za-z0-9_.-]+)*\z)"));
    return path.match(device).hasMatch() && !device.contains(QLatin1String("/.."));
}

bool IsSerialSpeed(int speed)
{
    static constexpr std::array speeds{300,     600,     1200,    2400,    4800,    9600,    19200,  38400,
                                       57600,   115200,  230400,  460800,  500000,  576000,  921600, 1000000,
                                       1152000, 1500000, 2000000, 2500000, 3000000, 3500000, 4000000};
    return std::find(speeds.begin(), speeds.end(), speed) != speeds.end();
}

QString Quote(const QString &text)
{
    return QStringLiteral("\u201C%1\u201D").arg(text);
}

} // namespace

PppdLine::PppdLine(PppdConfig config, QObject *parent) : RemoteAccess(parent), m_config(std::move(config))
{
}

PppdLine::~PppdLine()
{
    QList<QProcess *> ending = m_closing;
    if (m_call && m_call->process)
        ending << m_call->process;
    for (QProcess *process : ending) {
        process->disconnect(this);
        process->terminate();
    }
    for (QProcess *process : ending)
        process->waitForFinished(m_config.hangUpGraceMs); // then ~QProcess kills what is left
}

QString PppdLine::lineKind() const
{
    return QStringLiteral("pppd");
}

DialLimits PppdLine::dialLimits() const
{
    return kLimits;
}

QStringList PppdLine::RasEnumEntries()
{
    QStringList entries;
    const QFileInfoList files =
        QDir(m_config.peersDir).entryInfoList(QDir::Files | QDir::Readable, QDir::Name | QDir::LocaleAware);
    for (const QFileInfo &file : files) {
        if (IsPeerName(file.fileName()))
            entries << file.fileName();
    }
    return entries;
}

DialResult PppdLine::refuse(quint32 error, const QString &text) const
{
    return DialResult{0, error, text};
}

std::optional<DialResult> PppdLine::checkDial(const DialParams &params) const
{
    if (m_call && (m_call->running || m_call->waiting))
        return refuse(RasError::PortNotAvailable,
                      tr("A call is already being made or is connected. Hang it up before dialing again."));
    if (params.entry.toUtf8().size() > kLimits.entry || !IsPeerName(params.entry))
        return refuse(RasError::CannotFindEntry,
                      tr("%1 is not a valid name for a dial-up entry.").arg(Quote(params.entry)));
    if (!QFileInfo(peerPath(params.entry)).isFile() || !QFileInfo(peerPath(params.entry)).isReadable())
        return refuse(RasError::CannotFindEntry,
                      tr("There is no dial-up entry %1: the file %2 is missing or cannot be read.")
                          .arg(Quote(params.entry), peerPath(params.entry)));
    const QFileInfo pppd(m_config.pppdPath);
    if (!pppd.isFile())
        return refuse(RasError::ServiceFailed,
                      tr("pppd was not found at %1. Install the ppp package.").arg(m_config.pppdPath));
    if (!pppd.isExecutable())
        return refuse(
            RasError::ServiceFailed,
            tr("You may not run %1. Add your user to the dip group and log in again.").arg(m_config.pppdPath));
    if (!params.phoneNumber.isEmpty()) {
        if (params.phoneNumber.toUtf8().size() > kLimits.phoneNumber)
            return refuse(RasError::NotSupported,
                          tr("The phone number is longer than %1 characters.").arg(kLimits.phoneNumber));
        if (!IsPhoneNumber(params.phoneNumber))
            return refuse(RasError::NotSupported,
                          tr("The phone number %1 may hold only digits, blanks and + * # , ( ) - . W P T.")
                              .arg(Quote(params.phoneNumber)));
    }
    if (params.userName.toUtf8().size() > kLimits.userName)
        return refuse(RasError::NotSupported, tr("The user name is longer than %1 bytes.").arg(kLimits.userName));
    if (HasLineBreakOrNul(params.userName.toUtf8()))
        return refuse(RasError::NotSupported, tr("The user name must not contain line breaks."));
    if (params.password.size() > kLimits.password)
        return refuse(RasError::NotSupported, tr("The password is longer than %1 bytes.").arg(kLimits.password));
    if (HasLineBreakOrNul(params.password))
        return refuse(RasError::NotSupported, tr("The password must not contain line breaks."));
    return std::nullopt;
}

DialResult PppdLine::RasDial(const DialParams &params)
{
    if (auto refused = checkDial(params))
        return *refused;

    QString readError;
    const auto peer = PeerFile::Read(peerPath(params.entry), &readError);
    if (!peer)
        return refuse(RasError::CannotFindEntry,
                      tr("The dial-up entry %1 could not be read: %2").arg(Quote(params.entry), readError));

    // Options after "call" override the peer file's. nodetach keeps pppd our child and its
    // log on stdout (logfd 1 even if the file says logfile/nolog); the connect script's
    // stderr is that descriptor too. nopersist: redialing is the program's decision, and a
    // pppd redialing on its own would make calls nobody sees.
    QStringList arguments{QStringLiteral("call"),  params.entry,        QStringLiteral("nodetach"),
                          QStringLiteral("logfd"), QStringLiteral("1"), QStringLiteral("nopersist")};
    if (!params.phoneNumber.isEmpty()) {
        const auto command = peer->connectCommand();
        const auto number = command ? PppdConnectLine::ChatNumber(*command) : std::nullopt;
        if (!number)
            return refuse(RasError::NotSupported,
                          tr("The entry %1 does not dial with chat, so it cannot dial another number. Dial it "
                             "with its own number.")
                              .arg(Quote(params.entry)));
        // pppd lets only root override a connect line from /etc/ppp/peers: pass one only
        // when the number really differs.
        if (*number != params.phoneNumber)
            arguments << QStringLiteral("connect") << *PppdConnectLine::WithNumber(*command, params.phoneNumber);
    }
    if (!params.userName.isEmpty())
        arguments << QStringLiteral("user") << params.userName;
    if (!params.password.isEmpty() && !peer->loadsPlugin(kPasswordPlugin))
        arguments << QStringLiteral("plugin") << kPasswordPlugin; // loading a plugin needs root

    Call call;
    call.handle = nextHandle();
    call.arguments = arguments;
    call.password = params.password;
    call.waiting = true;
    m_call = std::move(call);
    startCall();
    return DialResult{m_call->handle, RasError::None, QString()};
}

RasHandle PppdLine::nextHandle()
{
    if (++m_lastHandle == 0)
        ++m_lastHandle;
    return m_lastHandle;
}

void PppdLine::startCall()
{
    if (!m_call || !m_call->waiting || !m_closing.isEmpty())
        return; // a hung-up pppd still holds the modem; its end starts us
    m_call->waiting = false;

    auto *process = new QProcess(this);
    process->setProgram(m_config.pppdPath);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    QStringList arguments = m_call->arguments;

    // The password goes through a pipe the child inherits (passwordfd): never on a command
    // line, in the environment or in a file. It fits the pipe's buffer, so the write end is
    // closed before pppd starts and pppd reads to its end.
    int passwordFd = -1;
    if (!m_call->password.isEmpty()) {
        int fds[2] = {-1, -1};
        qsizetype written = 0;
        if (::pipe2(fds, O_CLOEXEC) == 0) {
            while (written < m_call->password.size()) {
                const ssize_t n =
                    ::write(fds[1], m_call->password.constData() + written, m_call->password.size() - written);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break;
                written += n;
            }
            ::close(fds[1]);
        }
        const bool complete = fds[0] >= 0 && written == m_call->password.size();
        m_call->password.fill('\0');
        m_call->password.clear();
        if (!complete) { // a cut password would only look like a wrong one
            if (fds[0] >= 0)
                ::close(fds[0]);
            delete process;
            setError(RasError::ServiceFailed);
            return;
        }
        passwordFd = fds[0];
        arguments << QStringLiteral("passwordfd") << QString::number(passwordFd);
        // Runs in the child between fork and exec: only the child's copy loses close-on-exec.
        process->setChildProcessModifier([passwordFd] { ::fcntl(passwordFd, F_SETFD, 0); });
    }
    process->setArguments(arguments);

    const RasHandle handle = m_call->handle;
    connect(process, &QProcess::started, this, [this, handle] {
        if (m_call && m_call->handle == handle)
            setState(RasState::PortOpened);
    });
    connect(process, &QProcess::readyReadStandardOutput, this, [this, handle] {
        if (m_call && m_call->handle == handle)
            readOutput();
    });
    connect(process, &QProcess::finished, this, [this, handle](int exitCode, QProcess::ExitStatus status) {
        if (m_call && m_call->handle == handle)
            callEnded(exitCode, status == QProcess::CrashExit);
    });
    connect(process, &QProcess::errorOccurred, this, [this, handle](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && m_call && m_call->handle == handle && m_call->running) {
            m_call->running = false;
            m_call->process->deleteLater();
            m_call->process = nullptr;
            setError(RasError::ServiceFailed);
        }
    });
    m_call->process = process;
    m_call->running = true;
    process->start();
    if (passwordFd >= 0)
        ::close(passwordFd);
}

void PppdLine::readOutput()
{
    QProcess *process = m_call->process;
    const RasHandle handle = m_call->handle;
    // A listener of stateChanged may hang up (or dial anew) while we read.
    auto stillOurs = [this, handle] { return m_call && m_call->handle == handle; };
    while (process && stillOurs() && process->canReadLine())
        handleLine(QString::fromUtf8(process->readLine()));
    // A line without an end that keeps growing is not pppd's log: do not hoard it.
    if (process && stillOurs() && process->bytesAvailable() > 64 * 1024)
        handleLine(QString::fromUtf8(process->readAll()));
}

void PppdLine::handleLine(const QString &line)
{
    const PppdEvent event = PppdOutput::ParseLine(line);
    if (event.isEmpty())
        return;
    if (!event.interface.isEmpty())
        m_call->interface = event.interface;
    if (event.speed)
        m_call->speed = *event.speed;
    if (event.error != RasError::None)
        setError(event.error);
    else if (event.state > m_call->state) // repeated or late lines never take the call back
        setState(event.state);
}

void PppdLine::setState(int state)
{
    if (m_call->error != RasError::None || m_call->state == state)
        return;
    m_call->state = state;
    emit stateChanged(m_call->handle, state, RasError::None);
}

void PppdLine::setError(quint32 error)
{
    if (m_call->error != RasError::None)
        return; // the first cause is the one the user needs
    m_call->error = error;
    emit stateChanged(m_call->handle, m_call->state, error);
}

void PppdLine::callEnded(int exitCode, bool crashed)
{
    QProcess *process = m_call->process;
    m_call->running = false;
    m_call->process = nullptr;
    process->deleteLater();
    const RasHandle handle = m_call->handle;
    const QByteArray rest = process->readAll();
    for (const QByteArray &line : rest.split('\n')) {
        if (!m_call || m_call->handle != handle)
            return; // hung up by someone told of a state change
        handleLine(QString::fromUtf8(line));
    }
    if (!m_call || m_call->handle != handle)
        return;

    const bool wasUp = m_call->state == RasState::Connected;
    quint32 error = PppdOutput::ErrorForExit(exitCode);
    if (crashed)
        error = wasUp ? RasError::PortDisconnected : RasError::ServiceFailed;
    if (wasUp && m_call->error == RasError::None) {
        m_call->state = RasState::Disconnected;
        m_call->error = error;
        emit stateChanged(handle, m_call->state, error);
        return;
    }
    setError(error);
}

void PppdLine::closeProcess(QProcess *process)
{
    process->disconnect(this);
    m_closing << process;
    connect(process, &QProcess::readyReadStandardOutput, this, [process] { process->readAll(); });
    connect(process, &QProcess::finished, this, [this, process] {
        m_closing.removeOne(process);
        process->deleteLater();
        startCall();
    });
    process->terminate();
    QTimer::singleShot(m_config.hangUpGraceMs, process, [process] {
        if (process->state() != QProcess::NotRunning)
            process->kill();
    });
}

void PppdLine::RasHangUp(RasHandle handle)
{
    if (handle == 0)
        return;
    if (m_call && m_call->handle == handle) {
        if (m_call->process && m_call->running)
            closeProcess(m_call->process);
        m_call->password.fill('\0');
        m_call.reset();
        return;
    }
    for (auto it = m_outside.begin(); it != m_outside.end(); ++it) {
        if (it->handle != handle)
            continue;
        // Re-read the pid file: only the pppd that still runs this link gets the signal.
        if (PppdLinks::LinkPid(m_config.runDir, it.key(), programName()) == it->pid &&
            ::kill(static_cast<pid_t>(it->pid), SIGTERM) == 0)
            m_outsideHungUp << it->pid;
        m_outside.erase(it);
        return;
    }
}

QList<qint64> PppdLine::ownPids() const
{
    QList<qint64> pids;
    if (m_call && m_call->process)
        pids << m_call->process->processId();
    for (const QProcess *process : m_closing)
        pids << process->processId();
    return pids;
}

void PppdLine::refreshOutside()
{
    m_outsideHungUp.removeIf([](qint64 pid) { return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; });
    const QList<qint64> own = ownPids();
    QHash<QString, Outside> seen;
    for (const PppdLinks::Link &link : PppdLinks::UpLinks(m_config.sysfsNetRoot, m_config.runDir, programName())) {
        if (own.contains(link.pid) || m_outsideHungUp.contains(link.pid) ||
            (m_call && m_call->interface == link.interface))
            continue;
        const auto known = m_outside.constFind(link.interface);
        if (known != m_outside.cend() && known->pid == link.pid)
            seen.insert(link.interface, *known);
        else
            seen.insert(link.interface, Outside{nextHandle(), link.pid});
    }
    m_outside = seen;
}

RasHandle PppdLine::RasEnumConnections()
{
    if (m_call)
        return m_call->handle;
    refreshOutside();
    if (m_outside.isEmpty())
        return 0;
    QStringList interfaces = m_outside.keys();
    std::sort(interfaces.begin(), interfaces.end());
    return m_outside.value(interfaces.first()).handle;
}

RasStatus PppdLine::RasGetConnectStatus(RasHandle handle)
{
    if (m_call && m_call->handle == handle)
        return RasStatus{m_call->state, m_call->error};
    for (auto it = m_outside.begin(); it != m_outside.end(); ++it) {
        if (it->handle != handle)
            continue;
        if (PppdLinks::IsUp(m_config.sysfsNetRoot, it.key()) &&
            PppdLinks::LinkPid(m_config.runDir, it.key(), programName()) == it->pid)
            return RasStatus{RasState::Connected, RasError::None};
        m_outside.erase(it);
        break;
    }
    return RasStatus{RasState::Disconnected, RasError::None};
}

bool PppdLine::GetDUNStats(DUNStats &stats)
{
    QString interface;
    if (m_call) {
        interface = m_call->interface;
    } else {
        if (m_outside.isEmpty())
            refreshOutside();
        QStringList interfaces = m_outside.keys();
        std::sort(interfaces.begin(), interfaces.end());
        if (!interfaces.isEmpty())
            interface = interfaces.first();
    }
    if (interface.isEmpty() || !PppdLinks::ReadCounters(m_config.sysfsNetRoot, interface, stats))
        return false;
    if (m_call && m_call->speed > 0)
        stats.ConnectSpeed = m_call->speed;
    return true;
}

std::optional<PhonebookEntry> PppdLine::entry(const QString &name) const
{
    if (!IsPeerName(name))
        return std::nullopt;
    const auto peer = PeerFile::Read(peerPath(name));
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

bool PppdLine::RasCreatePhonebookEntry(const PhonebookEntry &entry, QString *error)
{
    return writeEntry(entry, true, error);
}

bool PppdLine::RasEditPhonebookEntry(const PhonebookEntry &entry, QString *error)
{
    return writeEntry(entry, false, error);
}

bool PppdLine::writeEntry(const PhonebookEntry &entry, bool create, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!IsSafeEntryName(entry.name))
        return fail(tr("%1 cannot be an entry name: use letters, digits, '.', '_' and '-' (not first '.'), at "
                       "most %2 characters.")
                        .arg(Quote(entry.name))
                        .arg(kLimits.entry));
    if (create && entry.device.isEmpty())
        return fail(tr("Choose the modem's device, for example /dev/ttyS0."));
    if (!entry.device.isEmpty() && !IsDevice(entry.device))
        return fail(tr("%1 is not a device name such as /dev/ttyS0.").arg(Quote(entry.device)));
    if (entry.speed != 0 && !IsSerialSpeed(entry.speed))
        return fail(tr("%1 is not a serial speed Linux supports.").arg(entry.speed));
    if (create && entry.number.isEmpty())
        return fail(tr("Enter the phone number to dial."));
    if (!entry.number.isEmpty() && (entry.number.size() > kLimits.phoneNumber || !IsPhoneNumber(entry.number)))
        return fail(tr("The phone number %1 may hold only digits, blanks and + * # , ( ) - . W P T (at most %2).")
                        .arg(Quote(entry.number))
                        .arg(kLimits.phoneNumber));
    if (!IsPlainValue(entry.user) || entry.user.toUtf8().size() > kLimits.userName)
        return fail(tr("The user name must not contain quotes, backslashes or line breaks (at most %1 bytes).")
                        .arg(kLimits.userName));

    const QString path = peerPath(entry.name);
    PeerFile peer;
    QFileDevice::Permissions permissions;
    if (create) {
        if (QFileInfo::exists(path))
            return fail(tr("There is already a dial-up entry called %1.").arg(Quote(entry.name)));
        peer.appendLine(QStringLiteral("# Dial-up entry written by LineMinder; lines it does not know are kept when "
                                       "it edits the entry."));
        peer.setDevice(entry.device);
        peer.setSpeed(entry.speed);
        peer.setUser(entry.user);
        peer.setConnectCommand(PppdConnectLine::StandardCommand(m_config.chatPath, entry.number));
        for (const char *option : {"noauth", "defaultroute", "usepeerdns", "lock", "crtscts", "modem", "hide-password"})
            peer.appendLine(QLatin1String(option));
        peer.appendLine(QStringLiteral("# The password comes through a pipe when LineMinder dials (passwordfd)."));
        peer.appendLine(QStringLiteral("plugin ") + kPasswordPlugin);
        // pppd reads the file as the user who runs it: the dip group must be able to.
        permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    } else {
        QString readError;
        auto existing = PeerFile::Read(path, &readError);
        if (!existing)
            return fail(tr("The dial-up entry %1 could not be read: %2").arg(Quote(entry.name), readError));
        if (existing->endsInOpenWord())
            return fail(tr("The dial-up entry %1 ends inside an open quote, so it is not changed here. Close the "
                           "quote in %2 first.")
                            .arg(Quote(entry.name), path));
        peer = *existing;
        if (!entry.device.isEmpty())
            peer.setDevice(entry.device);
        if (entry.speed != 0)
            peer.setSpeed(entry.speed);
        peer.setUser(entry.user);
        if (!entry.number.isEmpty()) {
            const auto command = peer.connectCommand();
            const auto changed = command ? PppdConnectLine::WithNumber(*command, entry.number)
                                         : PppdConnectLine::StandardCommand(m_config.chatPath, entry.number);
            if (!changed)
                return fail(tr("The entry %1 does not dial with chat, so its number cannot be changed here.")
                                .arg(Quote(entry.name)));
            peer.setConnectCommand(*changed);
        }
        permissions = QFile::permissions(path);
    }
    QString writeError;
    if (!peer.write(path, permissions, &writeError))
        return fail(tr("The dial-up entry could not be saved to %1: %2. Entries in %3 can usually be changed "
                       "only by root.")
                        .arg(path, writeError, m_config.peersDir));
    return true;
}

QString PppdLine::peerPath(const QString &name) const
{
    return m_config.peersDir + u'/' + name;
}

QString PppdLine::programName() const
{
    return QFileInfo(m_config.pppdPath).fileName();
}
