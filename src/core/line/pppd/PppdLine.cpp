#include "line/pppd/PppdLine.h"

#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <variant>

#include "line/pppd/PasswordPipe.h"
#include "line/pppd/PeerFile.h"
#include "line/pppd/PppdInput.h"
#include "line/pppd/PppdLinks.h"
#include "line/pppd/PppdOutput.h"

using PppdInput::InQuotes;

void PppdLine::DeleteLater::operator()(QProcess *process) const
{
    process->deleteLater();
}

PppdLine::PppdLine(PppdConfig config, QObject *parent)
    : RemoteAccess(parent), m_config(std::move(config)), m_entries(m_config.peersDir, m_config.chatPath),
      m_outside(m_config.sysfsNetRoot, m_config.runDir, QFileInfo(m_config.pppdPath).fileName())
{
}

PppdLine::~PppdLine()
{
    QList<QProcess *> ending;
    for (const Process &process : m_closing)
        ending << process.get();
    if (m_call && m_call->process)
        ending << m_call->process.get();
    for (QProcess *process : ending) {
        process->disconnect(this);
        process->terminate();
    }
    for (QProcess *process : ending)
        process->waitForFinished(m_config.hangUpGraceMs); // then ~QProcess kills what is left
}

DialLimits PppdLine::dialLimits() const
{
    return PppdInput::Limits;
}

QStringList PppdLine::RasEnumEntries()
{
    return m_entries.list();
}

std::optional<DialResult> PppdLine::checkDial(const DialParams &params) const
{
    auto refuse = [](quint32 error, const QString &text) { return DialResult{0, error, text}; };
    if (m_call && (m_call->running || m_call->waiting))
        return refuse(RasError::PortNotAvailable,
                      tr("A call is already being made or is connected. Hang it up before dialing again."));
    if (auto refused = PppdInput::EntryNameRefusal(params.entry))
        return refused;
    const QString peerPath = m_entries.path(params.entry);
    if (!QFileInfo(peerPath).isFile() || !QFileInfo(peerPath).isReadable())
        return refuse(RasError::CannotFindEntry,
                      tr("There is no dial-up entry %1: the file %2 is missing or cannot be read.")
                          .arg(InQuotes(params.entry), peerPath));
    const QFileInfo pppd(m_config.pppdPath);
    if (!pppd.isFile())
        return refuse(RasError::ServiceFailed,
                      tr("pppd was not found at %1. Install the ppp package.").arg(m_config.pppdPath));
    if (!pppd.isExecutable())
        return refuse(
            RasError::ServiceFailed,
            tr("You may not run %1. Add your user to the dip group and log in again.").arg(m_config.pppdPath));
    return PppdInput::LoginRefusal(params);
}

DialResult PppdLine::RasDial(const DialParams &params)
{
    if (auto refused = checkDial(params))
        return *refused;

    QString readError;
    const auto peer = PeerFile::Read(m_entries.path(params.entry), &readError);
    if (!peer)
        return DialResult{0, RasError::CannotFindEntry,
                          tr("The dial-up entry %1 could not be read: %2").arg(InQuotes(params.entry), readError)};
    auto arguments = PppdInput::DialArguments(params, *peer);
    if (const auto *refused = std::get_if<DialResult>(&arguments))
        return *refused;

    Call call;
    call.handle = nextHandle();
    call.arguments = std::get<QStringList>(std::move(arguments));
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
    if (!m_call || !m_call->waiting || !m_closing.empty())
        return; // a hung-up pppd still holds the modem; its end starts us
    m_call->waiting = false;

    QStringList arguments = m_call->arguments;
    std::optional<PasswordPipe> password;
    if (!m_call->password.isEmpty()) {
        password.emplace(m_call->password);
        m_call->password.fill('\0');
        m_call->password.clear();
        if (!password->isValid()) {
            setError(RasError::ServiceFailed);
            return;
        }
        arguments << QStringLiteral("passwordfd") << QString::number(password->readFd());
    }

    Process process(new QProcess(this));
    process->setProgram(m_config.pppdPath);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setArguments(arguments);
    if (password)
        password->passTo(*process);

    const RasHandle handle = m_call->handle;
    connect(process.get(), &QProcess::started, this, [this, handle] {
        if (m_call && m_call->handle == handle)
            setState(RasState::PortOpened);
    });
    connect(process.get(), &QProcess::readyReadStandardOutput, this, [this, handle] {
        if (m_call && m_call->handle == handle)
            readOutput();
    });
    connect(process.get(), &QProcess::finished, this, [this, handle](int exitCode, QProcess::ExitStatus status) {
        if (m_call && m_call->handle == handle)
            callEnded(exitCode, status == QProcess::CrashExit);
    });
    connect(process.get(), &QProcess::errorOccurred, this, [this, handle](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && m_call && m_call->handle == handle && m_call->running) {
            m_call->running = false;
            m_call->process.reset();
            setError(RasError::ServiceFailed);
        }
    });
    QProcess *started = process.get();
    m_call->process = std::move(process);
    m_call->running = true;
    started->start(); // forks now: the pipe's read end may close when this returns
}

void PppdLine::readOutput()
{
    QProcess *process = m_call->process.get();
    const RasHandle handle = m_call->handle;
    // A listener of stateChanged may hang up (or dial anew) while we read.
    auto stillOurs = [this, handle] { return m_call && m_call->handle == handle; };
    while (process && stillOurs() && process->canReadLine())
        handleLine(QString::fromUtf8(process->readLine()));
    // A line without an end that keeps growing is not pppd's log: do not hoard it.
    if (process && stillOurs() && process->bytesAvailable() > qint64{64} * 1024)
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
    const Process process = std::move(m_call->process);
    m_call->running = false;
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

void PppdLine::closeProcess(Process owned)
{
    QProcess *process = owned.get();
    process->disconnect(this);
    m_closing.push_back(std::move(owned));
    connect(process, &QProcess::readyReadStandardOutput, this, [process] { process->readAll(); });
    connect(process, &QProcess::finished, this, [this, process] {
        std::erase_if(m_closing, [process](const Process &closing) { return closing.get() == process; });
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
            closeProcess(std::move(m_call->process));
        m_call->password.fill('\0');
        m_call.reset();
        return;
    }
    m_outside.hangUp(handle);
}

// Only called without a call of our own: the pppds still ending are not outside links.
void PppdLine::refreshOutside()
{
    QList<qint64> own;
    for (const Process &process : m_closing)
        own << process->processId();
    m_outside.refresh(own, [this] { return nextHandle(); });
}

RasHandle PppdLine::RasEnumConnections()
{
    if (m_call)
        return m_call->handle;
    refreshOutside();
    return m_outside.firstHandle();
}

RasStatus PppdLine::RasGetConnectStatus(RasHandle handle)
{
    if (m_call && m_call->handle == handle)
        return RasStatus{m_call->state, m_call->error};
    return RasStatus{m_outside.isUp(handle) ? RasState::Connected : RasState::Disconnected, RasError::None};
}

bool PppdLine::GetDUNStats(DUNStats &stats)
{
    QString interface;
    if (m_call) {
        interface = m_call->interface;
    } else {
        if (m_outside.isEmpty())
            refreshOutside();
        interface = m_outside.firstInterface();
    }
    if (interface.isEmpty() || !PppdLinks::ReadCounters(m_config.sysfsNetRoot, interface, stats))
        return false;
    if (m_call && m_call->speed > 0)
        stats.ConnectSpeed = m_call->speed;
    return true;
}

std::optional<PhonebookEntry> PppdLine::entry(const QString &name) const
{
    return m_entries.read(name);
}

bool PppdLine::RasCreatePhonebookEntry(const PhonebookEntry &entry, QString *error)
{
    return m_entries.write(entry, true, error);
}

bool PppdLine::RasEditPhonebookEntry(const PhonebookEntry &entry, QString *error)
{
    return m_entries.write(entry, false, error);
}

bool PppdLine::RasRenamePhonebookEntry(const QString &name, const QString &newName, QString *error)
{
    return m_entries.rename(name, newName, error);
}
