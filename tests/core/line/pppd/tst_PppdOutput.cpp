#include "line/pppd/PppdOutput.h"

#include <QTest>

#include "line/RemoteAccess.h"

class TestPppdOutput : public QObject
{
    Q_OBJECT

private slots:
    void parsesLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("state");
        QTest::addColumn<quint32>("error");
        QTest::addColumn<qint64>("speed"); // -1: none
        QTest::addColumn<QString>("interface");

        QTest::newRow("chat dials") << "send (ATDT0123 456^M)" << RasState::ConnectDevice << 0u << -1LL << "";
        QTest::newRow("init string is not dialing") << "send (AT&F&D2^M)" << -1 << 0u << -1LL << "";
        QTest::newRow("modem echo of dial") << "ATDT0123^M" << RasState::ConnectDevice << 0u << -1LL << "";
        QTest::newRow("bare CONNECT") << "CONNECT" << RasState::DeviceConnected << 0u << -1LL << "";
        QTest::newRow("CONNECT with speed") << "CONNECT 33600" << RasState::DeviceConnected << 0u << 33600LL << "";
        QTest::newRow("CONNECT with protocol")
            << "CONNECT 115200/V42bis^M" << RasState::DeviceConnected << 0u << 115200LL << "";
        QTest::newRow("chat REPORT") << "chat:  Dec 06 20:01:08 CONNECT 33600/ARQ/V34/LAPM" << RasState::DeviceConnected
                                     << 0u << 33600LL << "";
        QTest::newRow("chat waits for CONNECT") << "expect (CONNECT)" << -1 << 0u << -1LL << "";
        QTest::newRow("chat arms REPORT") << "report (CONNECT)" << -1 << 0u << -1LL << "";
        QTest::newRow("CONNECTION is not CONNECT") << "CONNECTION LOST" << -1 << 0u << -1LL << "";
        QTest::newRow("serial") << "Serial connection established." << RasState::AllDevicesConnected << 0u << -1LL
                                << "";
        QTest::newRow("using interface") << "Using interface ppp1" << RasState::Authenticate << 0u << -1LL << "ppp1";
        QTest::newRow("connect pppN") << "Connect: ppp0 <--> /dev/ttyS0" << RasState::Authenticate << 0u << -1LL
                                      << "ppp0";
        QTest::newRow("PAP ok") << "PAP authentication succeeded" << RasState::Authenticated << 0u << -1LL << "";
        QTest::newRow("local IP") << "local  IP address 10.0.0.2" << RasState::Connected << 0u << -1LL << "";
        QTest::newRow("remote IP alone") << "remote IP address 10.0.0.1" << -1 << 0u << -1LL << "";
        QTest::newRow("ip-up finished") << "Script /etc/ppp/ip-up finished (pid 77), status = 0x0"
                                        << RasState::Connected << 0u << -1LL << "";
        QTest::newRow("IPv6 only") << "local  LL address fe80::1" << RasState::Connected << 0u << -1LL << "";

        // chat lists its ABORT strings when it starts: that is not a failure.
        QTest::newRow("abort armed") << "abort on (BUSY)" << -1 << 0u << -1LL << "";
        QTest::newRow("Failed BUSY") << "Failed (BUSY)" << -1 << RasError::LineBusy << -1LL << "";
        QTest::newRow("modem BUSY") << "BUSY^M" << -1 << RasError::LineBusy << -1LL << "";
        QTest::newRow("Failed NO CARRIER") << "Failed (NO CARRIER)" << -1 << RasError::NoCarrier << -1LL << "";
        QTest::newRow("NO DIAL TONE") << "Failed (NO DIAL TONE)" << -1 << RasError::NoDialTone << -1LL << "";
        QTest::newRow("NO ANSWER") << "Failed (NO ANSWER)" << -1 << RasError::NoAnswer << -1LL << "";
        QTest::newRow("chat timeout") << "Failed" << -1 << 0u << -1LL << "";
        QTest::newRow("PAP refused") << "PAP authentication failed" << -1 << RasError::AuthenticationFailure << -1LL
                                     << "";
        QTest::newRow("CHAP refused") << "CHAP authentication failed: E=691 R=1" << -1
                                      << RasError::AuthenticationFailure << -1LL << "";
        QTest::newRow("empty") << "" << -1 << 0u << -1LL << "";
    }
    void parsesLines()
    {
        QFETCH(QString, line);
        QFETCH(int, state);
        QFETCH(quint32, error);
        QFETCH(qint64, speed);
        QFETCH(QString, interface);
        const PppdEvent event = PppdOutput::ParseLine(line);
        QCOMPARE(event.state, state);
        QCOMPARE(event.error, error);
        QCOMPARE(event.speed.value_or(-1), speed);
        QCOMPARE(event.interface, interface);
    }

    void mapsExitStatus_data()
    {
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<quint32>("error");
        QTest::newRow("0 peer ended") << 0 << RasError::RemoteDisconnection;
        QTest::newRow("2 options") << 2 << RasError::ServiceFailed;
        QTest::newRow("5 signal") << 5 << RasError::RemoteDisconnection;
        QTest::newRow("6 lock") << 6 << RasError::PortNotAvailable;
        QTest::newRow("8 connect script") << 8 << RasError::DeviceError;
        QTest::newRow("10 negotiation") << 10 << RasError::PppTerminated;
        QTest::newRow("15 echo") << 15 << RasError::PppTimeout;
        QTest::newRow("16 modem hangup") << 16 << RasError::PortDisconnected;
        QTest::newRow("19 our auth") << 19 << RasError::AuthenticationFailure;
        QTest::newRow("unknown") << 77 << RasError::ServiceFailed;
    }
    void mapsExitStatus()
    {
        QFETCH(int, exitCode);
        QFETCH(quint32, error);
        QCOMPARE(PppdOutput::ErrorForExit(exitCode), error);
    }
};

QTEST_GUILESS_MAIN(TestPppdOutput)
#include "tst_PppdOutput.moc"
