#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The remote-access service: the phone book of dial-up entries, dialing, hanging up and
// the state of the link. Everything returns at once; nothing waits for a process, a
// device or a socket.

// Connection states as the monitor numbers them.
namespace RasState {
constexpr int OpenPort = 0;
constexpr int PortOpened = 1;
constexpr int ConnectDevice = 2;
constexpr int DeviceConnected = 3;
constexpr int AllDevicesConnected = 4;
constexpr int Authenticate = 5;
constexpr int AuthRetry = 7;
constexpr int AuthAck = 12;
constexpr int Authenticated = 14;
constexpr int Projected = 18;
constexpr int StartAuthentication = 19;
constexpr int LogonNetwork = 21;
constexpr int Connected = 0x2000;
constexpr int Disconnected = 0x2001;
} // namespace RasState

// Error codes the monitor knows (600 and above come from the line; see RasErrors).
namespace RasError {
constexpr quint32 None = 0;
constexpr quint32 NotSupported = 120;
constexpr quint32 Pending = 600;
constexpr quint32 CannotFindEntry = 623;
constexpr quint32 PortNotAvailable = 633;    // device busy, locked or missing
constexpr quint32 RemoteDisconnection = 629; // the other end hung up
constexpr quint32 PortDisconnected = 619;
constexpr quint32 DeviceError = 651; // the modem reported an error
constexpr quint32 LineBusy = 676;
constexpr quint32 NoAnswer = 678;
constexpr quint32 NoCarrier = 679;
constexpr quint32 NoDialTone = 680;
constexpr quint32 AuthenticationFailure = 691;
constexpr quint32 PppTimeout = 718;
constexpr quint32 PppTerminated = 734;
constexpr quint32 ServiceFailed = 797; // the dialing program could not be started
} // namespace RasError

using RasHandle = quint32; // 0: no connection

// What carries the calls: shown so that a simulated call is never taken for a real one.
enum class LineKind { Simulated, Pppd };

struct RasStatus
{
    int state = RasState::OpenPort;
    quint32 error = RasError::None;
};

struct DialParams
{
    QString entry;
    QString phoneNumber; // empty: the entry's own number
    QString userName;    // empty: none
    QByteArray password; // empty: none
};

// How long the texts of a dial may be, so that nothing is cut silently.
struct DialLimits
{
    int entry = 256;
    int phoneNumber = 128;
    int userName = 256;
    int password = 256;
};

struct DialResult
{
    RasHandle handle = 0; // 0 when the dial was refused at once
    quint32 error = RasError::None;
    QString errorText; // why it was refused, in the user's words
};

// A phone-book entry as the program creates and edits it.
struct PhonebookEntry
{
    QString name;
    QString device;     // e.g. /dev/ttyS0
    int speed = 115200; // serial speed
    QString number;     // phone number
    QString user;       // login
};

// The adapter's fourteen counters (bytes and frames of the link, errors, speed).
struct DUNStats
{
    qint64 BytesXmit = 0;
    qint64 BytesRecvd = 0;
    qint64 FramesXmit = 0;
    qint64 FramesRecvd = 0;
    qint64 CRC = 0;
    qint64 Timeout = 0;
    qint64 Alignment = 0;
    qint64 Overrun = 0;
    qint64 Framing = 0;
    qint64 Buffer = 0;
    qint64 Runts = 0;
    qint64 TotalBytesXmit = 0;
    qint64 TotalBytesRecvd = 0;
    qint64 ConnectSpeed = 0;
};

class RemoteAccess : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual LineKind lineKind() const = 0;
    virtual DialLimits dialLimits() const { return DialLimits(); }

    virtual QStringList RasEnumEntries() = 0;
    virtual DialResult RasDial(const DialParams &params) = 0;
    virtual void RasHangUp(RasHandle handle) = 0;
    // The first active connection (dialing or up), 0 when there is none.
    virtual RasHandle RasEnumConnections() = 0;
    virtual RasStatus RasGetConnectStatus(RasHandle handle) = 0;
    // The words for an error code of the line; nothing when the code is unknown.
    virtual std::optional<QString> RasGetErrorString(quint32 error) const;

    virtual std::optional<PhonebookEntry> entry(const QString &name) const = 0;
    virtual bool RasCreatePhonebookEntry(const PhonebookEntry &entry, QString *error) = 0;
    virtual bool RasEditPhonebookEntry(const PhonebookEntry &entry, QString *error) = 0;
    // Gives the entry another name; refused when an entry of that name exists.
    virtual bool RasRenamePhonebookEntry(const QString &name, const QString &newName, QString *error);

    // Reads the link's counters into stats. Counters the source lacks are left as they
    // are; returns false when nothing could be read.
    virtual bool GetDUNStats(DUNStats &stats) = 0;
};
