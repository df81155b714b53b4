#include "support/CoreRig.h"

#include <QSignalSpy>
#include <QTest>

using Field = MainState::Field;
using Timer = Scheduler::Timer;

namespace {
const QString kPhonebook = "[Home]\nNumber=555-0100\nConnectAfter=4\n"
                           "[Busy]\nNumber=555-0101\nOutcome=busy\nConnectAfter=4\n"
                           "[BusyTwice]\nNumber=555-0102\nBusyTimes=2\nConnectAfter=4\n"
                           "[NoAnswer]\nOutcome=no-answer\nConnectAfter=4\n"
                           "[NoTone]\nOutcome=no-dialtone\nConnectAfter=4\n"
                           "[Denied]\nOutcome=auth-fail\nConnectAfter=4\n"
                           "[Drops]\nConnectAfter=4\nDropAfter=10\n"
                           "[Slow]\nNumber=555-0100\nConnectAfter=20\n";
const QString kDialing = "Dialing to the network...   ";
} // namespace

// A line whose hang-up does nothing: the link stays up.
class StubbornLine final : public RemoteAccess
{
public:
    explicit StubbornLine(SimulatedLine &line) : m_line(line) {}
    LineKind lineKind() const override { return m_line.lineKind(); }
    QStringList RasEnumEntries() override { return m_line.RasEnumEntries(); }
    DialResult RasDial(const DialParams &params) override { return m_line.RasDial(params); }
    void RasHangUp(RasHandle) override {}
    RasHandle RasEnumConnections() override { return m_line.RasEnumConnections(); }
    RasStatus RasGetConnectStatus(RasHandle handle) override { return m_line.RasGetConnectStatus(handle); }
    std::optional<PhonebookEntry> entry(const QString &name) const override { return m_line.entry(name); }
    bool RasCreatePhonebookEntry(const PhonebookEntry &, QString *) override { return false; }
    bool RasEditPhonebookEntry(const PhonebookEntry &, QString *) override { return false; }
    bool GetDUNStats(DUNStats &stats) override { return m_line.GetDUNStats(stats); }

private:
    SimulatedLine &m_line;
};

class TestDialer : public QObject
{
    Q_OBJECT

private slots:
    void listsProvidersWithWizardLast()
    {
        ConnectionRig rig("[Home]\n[Work]\n");
        rig.dialer.FillProviderList();
        QCOMPARE(rig.state.providerList(), QStringList({"Home", "Work", "[Create New DialUp Connection]"}));
        ConnectionRig empty("; nothing here\n");
        empty.dialer.FillProviderList();
        QCOMPARE(empty.state.providerList(), QStringList({"[Create New DialUp Connection]"}));
    }

    void walksToConnected()
    {
        ConnectionRig rig(kPhonebook);
        rig.loadProvider("Slow", "555-0100");
        QVERIFY(rig.dialer.ConnectCommand());
        QVERIFY(rig.scheduler.isActive(Timer::tmrStartUp));
        QVERIFY(!rig.state.providerListEnabled());
        QCOMPARE(rig.statusesOver(21),
                 QStringList({"Port Successfully Opened", kDialing + "555-0100",
                              "Verifying your username and password...", "Authenticated", "Connected"}));
        QVERIFY(rig.dialer.IsConnected());
        QCOMPARE(rig.state.text(Field::CallsNumber), QString("1"));
        QCOMPARE(rig.line.lastDial().phoneNumber, QString("555-0100"));
    }

    // Each failure, the line dropping by itself included: its words in the status line, the
    // line hung up, the attempt over.
    // clang-format off
    void failuresEndTheAttempt_data()
    {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("text");
        QTest::newRow("busy, redial off") << "Busy" << "The line is busy.";
        QTest::newRow("no answer") << "NoAnswer" << "There was no answer.";
        QTest::newRow("no dial tone") << "NoTone" << "There is no dial tone. Check that the phone line is plugged in.";
        QTest::newRow("auth failure") << "Denied" << "Access was denied: the user name or password is not valid for this provider.";
        QTest::newRow("line drops") << "Drops" << "The connection was closed by the remote computer.";
    }
    // clang-format on
    void failuresEndTheAttempt()
    {
        QFETCH(QString, provider);
        QFETCH(QString, text);
        ConnectionRig rig(kPhonebook);
        rig.loadProvider(provider);
        QSignalSpy restore(&rig.monitor, &ConnectionMonitor::restoreWindowRequested);
        QVERIFY(rig.dialer.ConnectCommand());
        const QStringList statuses = rig.statusesOver(16);
        QVERIFY2(statuses.contains(text), qPrintable(statuses.join(" | ")));
        QCOMPARE(statuses.last(), QString("Ready..."));
        QCOMPARE(rig.line.RasEnumConnections(), RasHandle(0));
        QCOMPARE(restore.count(), 1);
        QVERIFY(!rig.session.dialing);
        QVERIFY(!rig.scheduler.isActive(Timer::tmrStartUp));
        QVERIFY(rig.state.providerListEnabled());
    }

    // Busy is shown for the two seconds of the wait (hung up meanwhile), then dialed again
    // (redials are one call), unless Disconnect or another provider's pick cancels it.
    // clang-format off
    void redial_data()
    {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<int>("cancel"); // 1: Disconnect, 2: another provider
        QTest::addColumn<int>("busyShown"); // from the first busy on
        QTest::addColumn<QString>("last");
        QTest::newRow("busy twice, then connects") << "BusyTwice" << 0 << 2 << "Connected";
        QTest::newRow("cancelled by Disconnect") << "Busy" << 1 << 1 << "Ready...";
        QTest::newRow("cancelled by another provider") << "Busy" << 2 << 1 << "Ready...";
    }
    // clang-format on
    void redial()
    {
        QFETCH(QString, provider);
        QFETCH(int, cancel);
        ConnectionRig rig(kPhonebook);
        rig.loadProvider(provider, "555-0102", true);
        QVERIFY(rig.dialer.ConnectCommand());
        rig.scheduler.advanceMs(2000); // busy is seen at the tick of 2 s
        QCOMPARE(rig.line.RasEnumConnections(), RasHandle(0));
        rig.scheduler.advanceMs(1000);
        QCOMPARE(rig.state.text(Field::Status), ConnectionMonitor::busyText());
        QVERIFY(rig.monitor.redialPending());
        rig.prompter.allowMessages();
        if (cancel == 1)
            rig.dialer.DisconnectCommand();
        if (cancel == 2)
            rig.dialer.SelectProvider("Home");
        QCOMPARE(rig.monitor.redialPending(), cancel == 0);
        const QStringList statuses = rig.statusesOver(21);
        QTEST(int(statuses.count(ConnectionMonitor::busyText())), "busyShown");
        QTEST(statuses.last(), "last");
        QCOMPARE(rig.state.text(Field::CallsNumber), QString(cancel == 2 ? "0" : "1")); // Home's after the pick
    }

    // clang-format off
    void dialParameters_data()
    {
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QStringList>("dialed"); // entry, number, user, password
        QTest::newRow("default number") << "[Default Phone Number]" << "joe" << QStringList({"Home", "", "joe", "pw"});
        QTest::newRow("chosen number") << "555-0199" << "joe" << QStringList({"Home", "555-0199", "joe", "pw"});
        QTest::newRow("empty number copied") << "" << "joe" << QStringList({"Home", "", "joe", "pw"});
        QTest::newRow("no login, no password") << "1" << "" << QStringList({"Home", "1", "", ""});
    }
    // clang-format on
    void dialParameters()
    {
        QFETCH(QString, phone);
        QFETCH(QString, login);
        ConnectionRig rig(kPhonebook);
        rig.loadProvider("Home", phone, false, login);
        QVERIFY(rig.dialer.ConnectCommand());
        const DialParams dialed = rig.line.lastDial();
        QTEST(QStringList({dialed.entry, dialed.phoneNumber, dialed.userName, dialed.password}), "dialed");
    }

    // A text unsafe for the dial (a line break, a NUL, beyond the line's limits) is refused in a
    // message box, an entry the line does not know in the status line; either way no call.
    // clang-format off
    void dialsRefused_data()
    {
        QTest::addColumn<QString>("provider");
        QTest::addColumn<QString>("phone");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("status"); // the line's refusal; none: told in a message box
        QTest::newRow("line break in number") << "Home" << "555\n0100" << "joe" << "";
        QTest::newRow("NUL in login") << "Home" << "555" << QString("jo") + QChar(0) + "e" << "";
        QTest::newRow("number too long") << "Home" << QString(129, '5') << "joe" << "";
        QTest::newRow("login too long") << "Home" << "555" << QString(257, 'j') << "";
        QTest::newRow("entry not in the phone book") << "Gone" << "555" << "joe" << "The dial-up entry \"Gone\" is not in the simulated phone book.";
    }
    // clang-format on
    void dialsRefused()
    {
        QFETCH(QString, provider);
        QFETCH(QString, phone);
        QFETCH(QString, login);
        QFETCH(QString, status);
        ConnectionRig rig(kPhonebook);
        rig.loadProvider(provider, phone, false, login);
        rig.prompter.allowMessages();
        QVERIFY(!rig.dialer.ConnectCommand());
        if (status.isEmpty())
            QCOMPARE(rig.prompter.shown().value(0).icon, Prompt::Icon::Exclamation);
        else
            QCOMPARE(rig.state.text(Field::Status), status);
        QCOMPARE(rig.prompter.shown().size(), status.isEmpty() ? 1 : 0);
        QCOMPARE(rig.line.RasEnumConnections(), RasHandle(0));
        QCOMPARE(rig.state.text(Field::CallsNumber), QString("0"));
        QVERIFY(!rig.scheduler.isActive(Timer::tmrStartUp));
        QVERIFY(!rig.session.dialing);
    }

    // No provider, a dial under way, a connection up: no call.
    void connectRefusals()
    {
        ConnectionRig rig(kPhonebook);
        rig.prompter.expect("Select Provider");
        QVERIFY(!rig.dialer.ConnectCommand());
        rig.loadProvider("Home");
        QVERIFY(rig.dialer.ConnectCommand());
        QVERIFY(!rig.dialer.ConnectCommand()); // a dial is under way: not a second call
        QCOMPARE(rig.state.text(Field::CallsNumber), QString("1"));
        rig.scheduler.advanceSeconds(5);
        rig.prompter.expect("You already have an Internet Connection!!!");
        QVERIFY(!rig.dialer.ConnectCommand());
        QCOMPARE(rig.prompter.shown().last().icon, Prompt::Icon::Information);
    }

    void selectionMessagesAndWizard()
    {
        ConnectionRig rig(kPhonebook);
        rig.prompter.expect("You didn't select any Provider!!!");
        rig.dialer.SelectProvider("");
        rig.loadProvider("Home");
        QSignalSpy wizard(&rig.dialer, &Dialer::newEntryWizardRequested);
        rig.dialer.SelectProvider(Dialer::wizardItem());
        QCOMPARE(wizard.count(), 1);
        QCOMPARE(rig.state.selectedProvider(), QString("Home"));
        QCOMPARE(rig.accounts.connection().name, QString("Home"));
    }

    void hangupEndsTheCallsTimers()
    {
        ConnectionRig rig(kPhonebook);
        rig.loadProvider("Home");
        QVERIFY(rig.dialer.ConnectCommand());
        rig.scheduler.advanceSeconds(5);
        rig.scheduler.start(Timer::tmrTime);
        rig.scheduler.start(Timer::tmrCost);
        rig.dialer.DisconnectCommand();
        QVERIFY(!rig.dialer.IsConnected());
        QVERIFY(!rig.scheduler.isActive(Timer::tmrTime));
        QVERIFY(!rig.scheduler.isActive(Timer::tmrCost));
        QCOMPARE(rig.session.end, QTime(12, 0, 5));
        rig.scheduler.advanceSeconds(5); // the line is down: no complaint
        QVERIFY(rig.prompter.shown().isEmpty());
    }

    void lineThatStaysUpAfterHangUpIsReported()
    {
        ConnectionRig rig(kPhonebook);
        StubbornLine stubborn(rig.line);
        Dialer dialer(stubborn, rig.prompter, rig.scheduler, rig.session, [&rig] { return rig.accounts.connection(); });
        rig.loadProvider("Home");
        QVERIFY(dialer.ConnectCommand());
        rig.scheduler.advanceSeconds(5);
        dialer.hangup();
        rig.prompter.allowMessages();
        rig.scheduler.advanceSeconds(2);
        QVERIFY(rig.prompter.shown().isEmpty()); // a few seconds are allowed
        rig.scheduler.advanceSeconds(2);
        QCOMPARE(rig.prompter.shown().size(), 1);
        QVERIFY(rig.prompter.shown().first().text.startsWith("The line could not be hung up"));
    }

    void statisticsBaselinesAndNewLink()
    {
        ConnectionRig rig("[P]\nConnectAfter=1\nRxRate=1000\nTxRate=100\n");
        rig.loadProvider("P");
        rig.statistics.refresh(false);
        QCOMPARE(rig.state.text(Field::ConnectionSpeed), QString("Not Connected"));
        QCOMPARE(rig.state.text(Field::BytesRcved), QString("-"));
        QVERIFY(rig.dialer.ConnectCommand());
        rig.scheduler.advanceSeconds(13);
        rig.statistics.refresh(true);
        QCOMPARE(rig.state.text(Field::BytesRcved), QLocale().toString(12000));
        QCOMPARE(rig.state.text(Field::BytesXmited), QLocale().toString(1200));
        // Connect again while the old link's counters are high: the baseline is taken
        // from them; the new link's counters start below it and the baseline resets.
        rig.dialer.DisconnectCommand();
        rig.scheduler.advanceSeconds(4);
        rig.line.RasDial({"P", "", "", ""}); // a link made outside the program
        rig.scheduler.advanceSeconds(3);
        rig.statistics.captureBaselines();
        rig.line.RasHangUp(rig.line.RasEnumConnections());
        rig.line.RasDial({"P", "", "", ""});
        rig.scheduler.advanceSeconds(2);
        rig.statistics.refresh(true);
        QCOMPARE(rig.state.text(Field::BytesRcved), QLocale().toString(1000));
    }
};

QTEST_GUILESS_MAIN(TestDialer)
#include "tst_Dialer.moc"
