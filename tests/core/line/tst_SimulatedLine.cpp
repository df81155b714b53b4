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
        // Read back by a new line: same entries, in file order.
        QCOMPARE(open()->RasEnumEntries(), line->RasEnumEntries());
        QCOMPARE(open()->entry("Busy Demo ISP (simulated)")->number, QString("555-0199"));

        const DialResult unknown = line->RasDial({"Nobody", "", "", ""});
        QCOMPARE(unknown.handle, RasHandle(0));
        QCOMPARE(unknown.error, RasError::CannotFindEntry);
        QVERIFY(!unknown.errorText.isEmpty());
    }

    void parsesCommentsAndOrder()
    {
        const auto entries = SimulatedLine::parsePhonebook("; top\n[Zeta]\nNumber=1 ; the number\nOutcome=BUSY\n"
                                                           "ConnectAfter=x\n\n[Alpha]\nDropAfter=30\nSpeed=56000\n");
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].name, QString("Zeta"));
        QCOMPARE(entries[0].number, QString("1"));
        QCOMPARE(entries[0].outcome, QString("busy"));
        QCOMPARE(entries[0].connectAfter, 4);
        QCOMPARE(entries[1].dropAfter, 30);
        QCOMPARE(entries[1].speed, 56000);
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
        const DialResult dial = line->RasDial({"P", "", "", ""});
        QVERIFY(dial.handle != 0);
        m_clock->advanceMs(ms);
        QCOMPARE(line->RasEnumConnections(), dial.handle);
        const RasStatus status = line->RasGetConnectStatus(dial.handle);
        QCOMPARE(status.state, state);
        QCOMPARE(int(status.error), error);
    }

    void busyTimesThenConnectsAndCountersGrow()
    {
        m_home->writeFile("simulated-phonebook.ini", "[P]\nBusyTimes=2\nConnectAfter=4\nRxRate=1000\nTxRate=100\n");
        const auto line = open();
        QList<int> errors;
        for (int dial = 0; dial < 3; ++dial) {
            const RasHandle handle = line->RasDial({"P", "", "", ""}).handle;
            m_clock->advanceSeconds(5);
            errors.append(int(line->RasGetConnectStatus(handle).error));
            if (dial < 2)
                line->RasHangUp(handle);
        }
        QCOMPARE(errors, QList<int>({676, 676, 0}));
        DUNStats stats;
        QVERIFY(line->GetDUNStats(stats));
        QCOMPARE(stats.BytesRecvd, qint64(1000));
        QCOMPARE(stats.ConnectSpeed, qint64(33600));
        m_clock->advanceSeconds(10);
        QVERIFY(line->GetDUNStats(stats));
        QCOMPARE(stats.BytesRecvd, qint64(11000));
        QCOMPARE(stats.BytesXmit, qint64(1100));
        // A second dial while the line is in use is refused at once.
        QCOMPARE(line->RasDial({"P", "", "", ""}).handle, RasHandle(0));
        line->RasHangUp(line->RasEnumConnections());
        QCOMPARE(line->RasEnumConnections(), RasHandle(0));
        QVERIFY(!line->GetDUNStats(stats));
    }

    void createsAndEditsEntries()
    {
        const auto line = open();
        QString error;
        QVERIFY(line->RasCreatePhonebookEntry({"Office", "simulated", 56000, "555-0142", ""}, &error));
        QVERIFY(!line->RasCreatePhonebookEntry({"Office", "simulated", 56000, "1", ""}, &error));
        QVERIFY(error.contains("already exists"));
        QVERIFY(!line->RasCreatePhonebookEntry({"Bad]Name", "", 0, "", ""}, &error));
        QVERIFY(line->RasEditPhonebookEntry({"Office", "simulated", 0, "555-0143", ""}, &error));
        const auto again = open();
        QCOMPARE(again->RasEnumEntries().last(), QString("Office"));
        QCOMPARE(again->entry("Office")->number, QString("555-0143"));
        QCOMPARE(again->entry("Office")->speed, 56000);
    }

    // What the file cannot hold is refused; everything else is read back as it was written.
    // clang-format off
    void keepsTextsThroughARewrite_data()
    {
        QTest::addColumn<bool>("created");
        QTest::addColumn<bool>("edited"); // the demo entry's number
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("number");
        QTest::newRow("placeholders") << true << true << "Net %1 %2" << QString("%3-%9");
        QTest::newRow("line break in name") << false << true << "Evil\r\n[Other]" << QString("1");
        QTest::newRow("line break in number") << false << false << "Evil" << QString("1\nOutcome=busy");
        QTest::newRow("comment in number") << false << false << "Evil" << QString("1;2");
    }
    // clang-format on
    void keepsTextsThroughARewrite()
    {
        QFETCH(QString, name);
        QFETCH(QString, number);
        QFETCH(bool, created);
        QFETCH(bool, edited);
        const auto line = open();
        QString error;
        QCOMPARE(line->RasCreatePhonebookEntry({name, "simulated", 0, number, ""}, &error), created);
        QCOMPARE(error.isEmpty(), created);
        QCOMPARE(line->RasEditPhonebookEntry({"Demo ISP (simulated)", "simulated", 0, number, ""}, &error), edited);
        const auto again = open();
        QCOMPARE(again->RasEnumEntries().size(), created ? 3 : 2);
        QCOMPARE(again->entry("Demo ISP (simulated)")->number, edited ? number : "555-0100");
        if (created)
            QCOMPARE(again->entry(name)->number, number);
    }
};

QTEST_GUILESS_MAIN(TestSimulatedLine)
#include "tst_SimulatedLine.moc"
