#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

#include "line/RemoteAccess.h"
#include "line/pppd/OutsideLinks.h"
#include "line/pppd/PeerEntries.h"

class QProcess;

// Where pppd, chat and the system's view of links are; tests point these at fakes.
struct PppdConfig
{
    QString pppdPath = QStringLiteral("/usr/sbin/pppd");
    QString chatPath = QStringLiteral("/usr/sbin/chat");
    QString peersDir = QStringLiteral("/etc/ppp/peers");
    QString sysfsNetRoot = QStringLiteral("/sys/class/net");
    QString runDir = QStringLiteral("/run");
    int hangUpGraceMs = 5000; // after SIGTERM, before pppd is killed
};

// The real line: entries are pppd peer files, a call is "pppd call <entry> nodetach" whose
// log (with chat's reports) is read line by line. One call at a time. Links started
// outside the program (pon, another pppd) are shown as connected and can be hung up.
//
// After a failure the call keeps the state it had reached and the error until RasHangUp;
// when a call that was up ends, its state becomes Disconnected.
class PppdLine : public RemoteAccess
{
    Q_OBJECT
public:
    explicit PppdLine(PppdConfig config, QObject *parent = nullptr);
    // A call still running is hung up (SIGTERM, at most hangUpGraceMs, then killed):
    // leaving it up after the program has gone would go on costing money unseen.
    ~PppdLine() override;

    LineKind lineKind() const override { return LineKind::Pppd; }
    DialLimits dialLimits() const override;

    QStringList RasEnumEntries() override;
    DialResult RasDial(const DialParams &params) override;
    void RasHangUp(RasHandle handle) override;
    RasHandle RasEnumConnections() override;
    RasStatus RasGetConnectStatus(RasHandle handle) override;

    std::optional<PhonebookEntry> entry(const QString &name) const override;
    // Create refuses to replace an existing entry; Edit keeps the lines it does not own.
    // For Edit an empty device or number (or speed 0) leaves that line as it is; an empty
    // user removes the user line.
    bool RasCreatePhonebookEntry(const PhonebookEntry &entry, QString *error) override;
    bool RasEditPhonebookEntry(const PhonebookEntry &entry, QString *error) override;
    bool RasRenamePhonebookEntry(const QString &name, const QString &newName, QString *error) override;

    bool GetDUNStats(DUNStats &stats) override;

signals:
    // Every change of the call's state or error, as it is read from pppd.
    void stateChanged(RasHandle handle, int state, quint32 error);

private:
    // pppd's process is deleted later: it may be the sender of the signal being handled.
    struct DeleteLater
    {
        void operator()(QProcess *process) const;
    };
    using Process = std::unique_ptr<QProcess, DeleteLater>;

    struct Call
    {
        RasHandle handle = 0;
        Process process;
        QStringList arguments;
        QByteArray password; // held only until pppd has been started
        int state = RasState::OpenPort;
        quint32 error = RasError::None;
        QString interface;
        qint64 speed = 0;
        bool waiting = false; // for a hung-up pppd to release the modem before starting
        bool running = false;
    };

    RasHandle nextHandle();
    std::optional<DialResult> checkDial(const DialParams &params) const;
    void startCall();
    void readOutput();
    void handleLine(const QString &line);
    void setState(int state);
    void setError(quint32 error);
    void callEnded(int exitCode, bool crashed);
    void closeProcess(Process process);
    void refreshOutside();

    PppdConfig m_config;
    PeerEntries m_entries;
    std::optional<Call> m_call;
    std::vector<Process> m_closing; // hung up, still ending
    RasHandle m_lastHandle = 0;
    OutsideLinks m_outside;
};
