#pragma once

#include "line/RemoteAccess.h"

#include <QHash>
#include <QList>

class Clock;

// A built-in line for trying the program without a modem. Its phone book is an INI
// file; a dial walks the real states on the clock and answers as its entry says:
//
//   [Demo ISP (simulated)]
//   Number=555-0100
//   Outcome=connect      ; connect | busy | no-answer | no-dialtone | auth-fail
//   BusyTimes=0          ; busy answers before the outcome applies
//   ConnectAfter=4       ; seconds from dial to connected
//   DropAfter=0          ; seconds online before the line drops by itself; 0 = never
//   Speed=33600          ; bits per second
//   RxRate=3000          ; bytes per second received while online
//   TxRate=400
class SimulatedLine final : public RemoteAccess
{
    Q_OBJECT
public:
    struct Entry
    {
        QString name;
        QString number;
        QString outcome = QStringLiteral("connect");
        int busyTimes = 0;
        int connectAfter = 4;
        int dropAfter = 0;
        int speed = 33600;
        int rxRate = 3000;
        int txRate = 400;
    };

    // Reads the phone book, creating it with two demo entries when it is missing.
    SimulatedLine(QString phonebookPath, const Clock &clock, QObject *parent = nullptr);

    LineKind lineKind() const override { return LineKind::Simulated; }
    QStringList RasEnumEntries() override;
    DialResult RasDial(const DialParams &params) override;
    void RasHangUp(RasHandle handle) override;
    RasHandle RasEnumConnections() override;
    RasStatus RasGetConnectStatus(RasHandle handle) override;
    std::optional<PhonebookEntry> entry(const QString &name) const override;
    bool RasCreatePhonebookEntry(const PhonebookEntry &entry, QString *error) override;
    bool RasEditPhonebookEntry(const PhonebookEntry &entry, QString *error) override;
    bool RasRenamePhonebookEntry(const QString &name, const QString &newName, QString *error) override;
    bool GetDUNStats(DUNStats &stats) override;

    // What the last dial asked for (tests check the dial parameters).
    const DialParams &lastDial() const { return m_lastDial; }

    static QList<Entry> parsePhonebook(const QString &text);
    static QString formatPhonebook(const QList<Entry> &entries);
    static QList<Entry> demoEntries();

private:
    struct Call
    {
        RasHandle handle = 0;
        Entry entry;
        bool busy = false;
        qint64 dialedAtMs = 0;
    };
    void load();
    bool save(QString *error) const;
    const Entry *find(const QString &name) const;
    qint64 onlineMs() const;

    QString m_path;
    const Clock &m_clock;
    QList<Entry> m_entries;
    QHash<QString, int> m_busyAnswered; // per entry, for BusyTimes
    std::optional<Call> m_call;
    RasHandle m_nextHandle = 1;
    DialParams m_lastDial;
};
