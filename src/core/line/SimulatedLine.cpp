#include "line/SimulatedLine.h"

#include "platform/Clock.h"
#include "platform/TextFiles.h"

#include <QFile>

namespace {

// Phases of a dial as parts of ConnectAfter (in thousandths).
constexpr qint64 kPortOpenedUntil = 100;
constexpr qint64 kDialingUntil = 600;
constexpr qint64 kAuthenticatingUntil = 850;
constexpr qint64 kNoDialToneAt = 200;
constexpr qint64 kBusyAt = 500;
constexpr qint64 kAuthFailAt = 900;

int intValue(const QString &text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 0 ? value : fallback;
}

// A line break in a name or number would start a key or an entry of its own in the file.
bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// A ";" would start a comment there and cut the number short when the file is read back.
// The name as the phone book's section header can hold it.
bool nameFits(const QString &name, const QString &typed, QString *error)
{
    if (!name.isEmpty() && !name.contains(QLatin1Char(']')) && !hasLineBreak(name) && !name.contains(QLatin1Char(';')))
        return true;
    if (error)
        *error = QStringLiteral("\"%1\" cannot be used as the name of a dial-up entry.").arg(typed);
    return false;
}

bool numberFits(const QString &number, QString *error)
{
    if (!hasLineBreak(number) && !number.contains(QLatin1Char(';')))
        return true;
    if (error)
        *error = QStringLiteral("The phone number \"%1\" cannot hold a line break or \";\".").arg(number);
    return false;
}

} // namespace

SimulatedLine::SimulatedLine(QString phonebookPath, const Clock &clock, QObject *parent)
    : RemoteAccess(parent), m_path(std::move(phonebookPath)), m_clock(clock)
{
    load();
}

QList<SimulatedLine::Entry> SimulatedLine::demoEntries()
{
    Entry demo;
    demo.name = QStringLiteral("Demo ISP (simulated)");
    demo.number = QStringLiteral("555-0100");
    Entry busy = demo;
    busy.name = QStringLiteral("Busy Demo ISP (simulated)");
    busy.number = QStringLiteral("555-0199");
    busy.busyTimes = 2;
    return {demo, busy};
}

QList<SimulatedLine::Entry> SimulatedLine::parsePhonebook(const QString &text)
{
    QList<Entry> entries;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        const qsizetype comment = line.indexOf(QLatin1Char(';'));
        if (comment >= 0)
            line.truncate(comment);
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            Entry entry;
            entry.name = line.mid(1, line.size() - 2).trimmed();
            if (!entry.name.isEmpty())
                entries.append(entry);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0 || entries.isEmpty())
            continue;
        const QString key = line.left(equals).trimmed().toLower();
        const QString value = line.mid(equals + 1).trimmed();
        Entry &entry = entries.last();
        if (key == QLatin1String("number"))
            entry.number = value;
        else if (key == QLatin1String("outcome"))
            entry.outcome = value.toLower();
        else if (key == QLatin1String("busytimes"))
            entry.busyTimes = intValue(value, 0);
        else if (key == QLatin1String("connectafter"))
            entry.connectAfter = intValue(value, 4);
        else if (key == QLatin1String("dropafter"))
            entry.dropAfter = intValue(value, 0);
        else if (key == QLatin1String("speed"))
            entry.speed = intValue(value, 33600);
        else if (key == QLatin1String("rxrate"))
            entry.rxRate = intValue(value, 3000);
        else if (key == QLatin1String("txrate"))
            entry.txRate = intValue(value, 400);
    }
    return entries;
}

QString SimulatedLine::formatPhonebook(const QList<Entry> &entries)
{
    QString text = QStringLiteral("; LineMinder's simulated line. Outcome: connect | busy | no-answer | no-dialtone | "
                                  "auth-fail\r\n");
    // Plain concatenation: a "%1" in a name or number must stay as it is.
    auto key = [&text](QLatin1String name, const QString &value) {
        text += name + QLatin1Char('=') + value + QLatin1String("\r\n");
    };
    for (const Entry &entry : entries) {
        text += QLatin1String("\r\n[") + entry.name + QLatin1String("]\r\n");
        key(QLatin1String("Number"), entry.number);
        key(QLatin1String("Outcome"), entry.outcome);
        key(QLatin1String("BusyTimes"), QString::number(entry.busyTimes));
        key(QLatin1String("ConnectAfter"), QString::number(entry.connectAfter));
        key(QLatin1String("DropAfter"), QString::number(entry.dropAfter));
        key(QLatin1String("Speed"), QString::number(entry.speed));
        key(QLatin1String("RxRate"), QString::number(entry.rxRate));
        key(QLatin1String("TxRate"), QString::number(entry.txRate));
    }
    return text;
}

void SimulatedLine::load()
{
    const TextFiles::ReadResult read = TextFiles::ReadLines(m_path);
    if (read.missing) {
        m_entries = demoEntries();
        save(nullptr);
        return;
    }
    m_entries = parsePhonebook(read.lines.join(QLatin1Char('\n')));
}

bool SimulatedLine::save(QString *error) const
{
    return TextFiles::Replace(m_path, formatPhonebook(m_entries), error);
}

const SimulatedLine::Entry *SimulatedLine::find(const QString &name) const
{
    for (const Entry &entry : m_entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

QStringList SimulatedLine::RasEnumEntries()
{
    QStringList names;
    for (const Entry &entry : m_entries)
        names.append(entry.name);
    return names;
}

DialResult SimulatedLine::RasDial(const DialParams &params)
{
    m_lastDial = params;
    DialResult result;
    const Entry *entry = find(params.entry);
    if (!entry) {
        result.error = RasError::CannotFindEntry;
        result.errorText =
            QStringLiteral("The dial-up entry \"%1\" is not in the simulated phone book.").arg(params.entry);
        return result;
    }
    if (m_call) {
        result.error = RasError::PortNotAvailable;
        result.errorText = QStringLiteral("The simulated modem is already in use.");
        return result;
    }
    int &answered = m_busyAnswered[entry->name];
    Call call;
    call.handle = m_nextHandle++;
    call.entry = *entry;
    call.busy = answered < entry->busyTimes;
    if (call.busy)
        ++answered;
    call.dialedAtMs = m_clock.monotonicMs();
    m_call = call;
    result.handle = call.handle;
    return result;
}

void SimulatedLine::RasHangUp(RasHandle handle)
{
    if (m_call && (handle == 0 || handle == m_call->handle))
        m_call.reset();
}

RasHandle SimulatedLine::RasEnumConnections()
{
    return m_call ? m_call->handle : 0;
}

RasStatus SimulatedLine::RasGetConnectStatus(RasHandle handle)
{
    if (!m_call || handle != m_call->handle)
        return {};
    const Entry &entry = m_call->entry;
    const qint64 elapsed = m_clock.monotonicMs() - m_call->dialedAtMs;
    const qint64 connectMs = qint64(entry.connectAfter) * 1000;
    // Where the dial is, in thousandths of the way to "connected".
    const qint64 progress = connectMs > 0 ? elapsed * 1000 / connectMs : 1000;
    const QString outcome = m_call->busy ? QStringLiteral("busy") : entry.outcome;

    if (outcome == QLatin1String("no-dialtone") && progress >= kNoDialToneAt)
        return {RasState::ConnectDevice, RasError::NoDialTone};
    if (outcome == QLatin1String("busy") && progress >= kBusyAt)
        return {RasState::ConnectDevice, RasError::LineBusy};
    if (outcome == QLatin1String("no-answer") && progress >= 1000)
        return {RasState::ConnectDevice, RasError::NoAnswer};
    if (outcome == QLatin1String("auth-fail") && progress >= kAuthFailAt)
        return {RasState::Authenticate, RasError::AuthenticationFailure};
    if (progress < kPortOpenedUntil)
        return {RasState::PortOpened, RasError::None};
    if (progress < kDialingUntil || outcome != QLatin1String("connect"))
        return {RasState::ConnectDevice, RasError::None};
    if (progress < kAuthenticatingUntil)
        return {RasState::Authenticate, RasError::None};
    if (progress < 1000)
        return {RasState::Authenticated, RasError::None};
    if (entry.dropAfter > 0 && elapsed - connectMs >= qint64(entry.dropAfter) * 1000)
        return {RasState::Disconnected, RasError::RemoteDisconnection};
    return {RasState::Connected, RasError::None};
}

qint64 SimulatedLine::onlineMs() const
{
    if (!m_call)
        return -1;
    const qint64 online = m_clock.monotonicMs() - m_call->dialedAtMs - qint64(m_call->entry.connectAfter) * 1000;
    if (online < 0)
        return -1;
    if (m_call->entry.dropAfter > 0)
        return std::min(online, qint64(m_call->entry.dropAfter) * 1000);
    return online;
}

bool SimulatedLine::GetDUNStats(DUNStats &stats)
{
    const qint64 online = onlineMs();
    if (online < 0 || m_call->busy || m_call->entry.outcome != QLatin1String("connect"))
        return false;
    const Entry &entry = m_call->entry;
    stats.BytesRecvd = stats.TotalBytesRecvd = qint64(entry.rxRate) * online / 1000;
    stats.BytesXmit = stats.TotalBytesXmit = qint64(entry.txRate) * online / 1000;
    stats.FramesRecvd = stats.BytesRecvd / 512;
    stats.FramesXmit = stats.BytesXmit / 128;
    stats.ConnectSpeed = entry.speed;
    return true;
}

std::optional<PhonebookEntry> SimulatedLine::entry(const QString &name) const
{
    const Entry *found = find(name);
    if (!found)
        return std::nullopt;
    PhonebookEntry entry;
    entry.name = found->name;
    entry.device = QStringLiteral("simulated");
    entry.speed = found->speed;
    entry.number = found->number;
    return entry;
}

bool SimulatedLine::RasCreatePhonebookEntry(const PhonebookEntry &entry, QString *error)
{
    const QString name = entry.name.trimmed();
    if (!nameFits(name, entry.name, error))
        return false;
    if (!numberFits(entry.number, error))
        return false;
    if (find(name)) {
        if (error)
            *error = QStringLiteral("A dial-up entry named \"%1\" already exists.").arg(name);
        return false;
    }
    Entry added;
    added.name = name;
    added.number = entry.number;
    if (entry.speed > 0)
        added.speed = entry.speed;
    m_entries.append(added);
    return save(error);
}

bool SimulatedLine::RasEditPhonebookEntry(const PhonebookEntry &entry, QString *error)
{
    if (!numberFits(entry.number, error))
        return false;
    for (Entry &existing : m_entries) {
        if (existing.name == entry.name) {
            existing.number = entry.number;
            if (entry.speed > 0)
                existing.speed = entry.speed;
            return save(error);
        }
    }
    if (error)
        *error = QStringLiteral("The dial-up entry \"%1\" could not be found.").arg(entry.name);
    return false;
}

bool SimulatedLine::RasRenamePhonebookEntry(const QString &name, const QString &newName, QString *error)
{
    const QString renamed = newName.trimmed();
    if (!nameFits(renamed, newName, error))
        return false;
    if (renamed != name && find(renamed)) {
        if (error)
            *error = QStringLiteral("A dial-up entry named \"%1\" already exists.").arg(renamed);
        return false;
    }
    for (Entry &existing : m_entries) {
        if (existing.name != name)
            continue;
        existing.name = renamed;
        if (save(error))
            return true;
        existing.name = name;
        return false;
    }
    if (error)
        *error = QStringLiteral("The dial-up entry \"%1\" could not be found.").arg(name);
    return false;
}
