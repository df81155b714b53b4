#include "line/SimulatedLine.h"
#include "support/FakeClock.h"
#include "support/TempHome.h"

#include <QTest>

#include <memory>
#include <optional>

class TestSimulatedLine : public QObject
{
    Q_OBJECT

    std::optional<TempHome> m_home;
    std::optional<FakeClock> m_clock;

    // A line on the test's phone book; a second one reads back what the first wrote.
    std::unique_ptr<SimulatedLine> open() const
    {
        return std::make_unique<SimulatedLine>(m_home->locations().simulatedPhonebook(), *m_clock);
    }

private slots:
    void init()
    {
        m_home.emplace();
        m_clock.emplace();
    }

    void createsDemoPhonebook()
    {
        const auto line = open();
        QCOMPARE(line->RasEnumEntries(), QStringList({"Demo ISP (simulated)", "Busy Demo ISP (simulated)"}));
        QVERIFY(m_home->exists("simulated-phonebook.ini"));
        QCOMPARE(open()->entry("Busy Demo ISP (simulated)")->number, QString("555-0199")); // read back
        QCOMPARE(line->RasDial({"Nobody", "", "", ""}).error, RasError::CannotFindEntry);
    }

    void parsesCommentsAndOrder()
    {
        const auto entries = SimulatedLine::parsePhonebook("; top\n[Zeta]\nNumber=1 ; the number\nOutcome=BUSY\n"
                                                           "ConnectAfter=x\n\n[Alpha]\nDropAfter=30\nSpeed=56000\n");
        QCOMPARE(entries.size(), 2);
        QCOMPARE(QStringList({entries[0].name, entries[0].number, entries[0].outcome, entries[1].name}),
                 QStringList({"Zeta", "1", "busy", "Alpha"}));
        QCOMPARE(QList<int>({entries[0].connectAfter, entries[1].dropAfter, entries[1].speed}),
                 QList<int>({4, 30, 56000})); // a figure that is no number keeps its default
    }

    // The state and error at a number of milliseconds after dialing (ConnectAfter=10).
    // clang-format off
    void walksStates_data()
    {
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("error");
        QTest::newRow("port opened") << "connect" << 500 << RasState::PortOpened << 0;
        QTest::newRow("dialing") << "connect" << 3000 << RasState::ConnectDevice << 0;
        QTest::newRow("authenticating") << "connect" << 7000 << RasState::Authenticate << 0;
        QTest::newRow("authenticated") << "connect" << 9000 << RasState::Authenticated << 0;
        QTest::newRow("connected") << "connect" << 10000 << RasState::Connected << 0;
        QTest::newRow("dropped") << "connect" << 40000 << RasState::Disconnected << 629;
        QTest::newRow("busy early") << "busy" << 4000 << RasState::ConnectDevice << 0;
        QTest::newRow("busy") << "busy" << 5000 << RasState::ConnectDevice << 676;
        QTest::newRow("no dial tone") << "no-dialtone" << 2000 << RasState::ConnectDevice << 680;
        QTest::newRow("no answer") << "no-answer" << 10000 << RasState::ConnectDevice << 678;
        QTest::newRow("auth fail") << "auth-fail" << 9000 << RasState::Authenticate << 691;
    }
    // clang-format on
    void walksStates()
    {
        QFETCH(QString, outcome);
        QFETCH(int, ms);
        QFETCH(int, state);
        QFETCH(int, error);
        m_home->writeFile("simulated-phonebook.ini",
                          QStringLiteral("[P]\nOutcome=%1\nConnectAfter=10\nDropAfter=30\n").arg(outcome).toUtf8());
        const auto line = open();
        const RasHandle handle = line->RasDial({"P", "", "", ""}).handle;
        m_clock->advanceMs(ms);
        QCOMPARE(line->RasEnumConnections(), handle);
        const RasStatus status = line->RasGetConnectStatus(handle);
        QCOMPARE(QList<int>({status.state, int(status.error)}), QList<int>({state, error}));
    }

    void busyTimesThenConnectsAndCountersGrow()
    {
        m_home->writeFile("simulated-phonebook.ini", "[P]\nBusyTimes=2\nConnectAfter=4\nRxRate=1000\nTxRate=100\n");
        const auto line = open();
        QList<int> errors;
        for (int dial = 0; dial < 3; ++dial) {
            line->RasHangUp(line->RasEnumConnections());
            const RasHandle handle = line->RasDial({"P", "", "", ""}).handle;
            m_clock->advanceSeconds(5);
            errors.append(int(line->RasGetConnectStatus(handle).error));
        }
        QCOMPARE(errors, QList<int>({676, 676, 0}));
        DUNStats stats;
        QVERIFY(line->GetDUNStats(stats));
        QCOMPARE(QList<qint64>({stats.BytesRecvd, stats.ConnectSpeed}), QList<qint64>({1000, 33600}));
        m_clock->advanceSeconds(10);
        QVERIFY(line->GetDUNStats(stats));
        QCOMPARE(QList<qint64>({stats.BytesRecvd, stats.BytesXmit}), QList<qint64>({11000, 1100}));
        QCOMPARE(line->RasDial({"P", "", "", ""}).handle, RasHandle(0)); // the line is in use
        line->RasHangUp(line->RasEnumConnections());
        QCOMPARE(line->RasEnumConnections(), RasHandle(0));
        QVERIFY(!line->GetDUNStats(stats));
    }

    // What the file cannot hold is refused; the rest is read back by a new line as it was written.
    // clang-format off
    void createsAndEditsEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("created");
        QTest::addColumn<bool>("edited"); // the demo entry's number
        QTest::newRow("placeholders") << "Net %1 %2" << "%3-%9" << true << true;
        QTest::newRow("name taken") << "Demo ISP (simulated)" << "1" << false << true;
        QTest::newRow("bracket in name") << "Bad]Name" << "1" << false << true;
        QTest::newRow("line break in name") << "Evil\r\n[Other]" << "1" << false << true;
        QTest::newRow("line break in number") << "Evil" << "1\nOutcome=busy" << false << false;
        QTest::newRow("comment in number") << "Evil" << "1;2" << false << false;
    }
    // clang-format on
    void createsAndEditsEntries()
    {
        QFETCH(QString, name);
        QFETCH(QString, number);
        QFETCH(bool, created);
        QFETCH(bool, edited);
        const auto line = open();
        QString error;
        QCOMPARE(line->RasCreatePhonebookEntry({name, "simulated", 56000, number, ""}, &error), created);
        QCOMPARE(error.isEmpty(), created);
        QCOMPARE(line->RasEditPhonebookEntry({"Demo ISP (simulated)", "simulated", 0, number, ""}, &error), edited);
        const auto again = open();
        QCOMPARE(again->RasEnumEntries().size(), created ? 3 : 2);
        QCOMPARE(again->entry("Demo ISP (simulated)")->number, edited ? number : "555-0100");
        QCOMPARE(again->entry("Demo ISP (simulated)")->speed, 33600); // speed 0 leaves it
        if (created)
            QCOMPARE(std::pair(again->entry(name)->number, again->entry(name)->speed), std::pair(number, 56000));
    }
};

QTEST_GUILESS_MAIN(TestSimulatedLine)
#include "tst_SimulatedLine.moc"
