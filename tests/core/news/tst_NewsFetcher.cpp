#include "news/NewsFetcher.h"
#include "news/VersionCheck.h"

#include <QElapsedTimer>
#include <QMap>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace {

// An HTTP server on 127.0.0.1 that answers each path with its canned response, written as it
// stands and followed by a hang-up; a path without one gets silence.
class CannedHttpServer : public QObject
{
public:
    CannedHttpServer()
    {
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/lm").arg(m_server.serverPort())); }
    QMap<QByteArray, QByteArray> responses;

private:
    void answer(QTcpSocket *socket)
    {
        const QByteArray request = socket->peek(socket->bytesAvailable());
        if (!request.contains("\r\n\r\n"))
            return;
        socket->readAll();
        const QByteArray path = request.split(' ').value(1);
        if (!responses.contains(path))
            return;
        socket->write(responses.value(path));
        socket->disconnectFromHost();
    }
    QTcpServer m_server;
};

QByteArray reply(int status, const QByteArray &body)
{
    return "HTTP/1.1 " + QByteArray::number(status) + " Canned\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

const QByteArray kVersionPath = "/lm/Download/Setup1/remotever.dat";
const QByteArray kNewsPath = "/lm/Download/news.dat";
constexpr int kTimeoutMs = 1000;

} // namespace

// The downloads against a local server: what each reply ends in.
class TestNewsFetcher : public QObject
{
    Q_OBJECT

private slots:
    // "result" is the version line (empty: none), "news" the text shown (empty: none).
    // clang-format off
    void fetchesVersionAndNews_data()
    {
        const QByteArray running = VersionCheck::Running().text().toLatin1();
        const QByteArray news = reply(200, "First line\r\nsecond\n");
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QByteArray>("newsReply");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("fails");
        QTest::newRow("newer version") << reply(200, "99.0.0\n") << news << "A more recent version of LineMinder exists! New version: 99.0.0" << "First line\nsecond" << false;
        QTest::newRow("same version") << reply(200, running) << news << "You already have the most recent version!" << "First line\nsecond" << false;
        QTest::newRow("version 404") << reply(404, "Not here") << news << "" << "" << true;
        QTest::newRow("version not a number") << reply(200, "<html>") << news << "" << "" << true;
        QTest::newRow("version empty") << reply(200, "") << news << "" << "" << true;
        QTest::newRow("version of 1 MiB") << reply(200, QByteArray(1 << 20, '1')) << news << "" << "" << true;
        QTest::newRow("news 404") << reply(200, "0.0.1") << reply(404, "") << "You already have the most recent version!" << "" << true;
        QTest::newRow("news of 1 MiB") << reply(200, "0.0.1") << reply(200, QByteArray(1 << 20, 'x')) << "You already have the most recent version!" << "" << true;
        QTest::newRow("version never answered") << QByteArray() << news << "" << "" << true;
    }
    // clang-format on
    void fetchesVersionAndNews()
    {
        QFETCH(QByteArray, version);
        QFETCH(QByteArray, newsReply);
        QFETCH(QString, result);
        QFETCH(QString, shown);
        QFETCH(bool, fails);
        CannedHttpServer server;
        for (const auto &[path, response] : {std::pair(kVersionPath, version), std::pair(kNewsPath, newsReply)}) {
            if (!response.isEmpty())
                server.responses.insert(path, response);
        }
        NewsFetcher fetcher(kTimeoutMs);
        QSignalSpy checked(&fetcher, &NewsFetcher::versionChecked);
        QSignalSpy fetched(&fetcher, &NewsFetcher::newsFetched);
        QSignalSpy failed(&fetcher, &NewsFetcher::failed);
        // The window stays responsive: fetch() returns at once and the event loop runs on.
        int ticks = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&ticks] { ++ticks; });
        tick.start(50);
        QElapsedTimer clock;
        clock.start();

        fetcher.fetch(server.url());
        QVERIFY(fetcher.isRunning());
        QVERIFY((fails ? failed : fetched).wait(5 * kTimeoutMs));
        QCOMPARE(checked.value(0).value(0).toString(), result);
        QCOMPARE(fetched.value(0).value(0).toString(), shown);
        QCOMPARE(failed.count(), int(fails));
        QVERIFY(!fetcher.isRunning());
        QVERIFY(clock.elapsed() < 3 * kTimeoutMs);
        if (version.isEmpty())
            QVERIFY(ticks >= 10);
    }

    // Dropped while waiting (the window closed): nothing is reported afterwards.
    void cancelledSilently()
    {
        CannedHttpServer server; // never answers
        NewsFetcher fetcher(kTimeoutMs);
        QSignalSpy failed(&fetcher, &NewsFetcher::failed);
        fetcher.fetch(server.url());
        QTest::qWait(100);
        fetcher.cancel();
        QVERIFY(!fetcher.isRunning());
        QVERIFY(!failed.wait(2 * kTimeoutMs));
    }

    // clang-format off
    void placesTheFilesBelowTheServer_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("news");
        QTest::newRow("folder") << "http://example.org/lm/" << "http://example.org/lm/Download/news.dat";
        QTest::newRow("no slash") << "http://example.org/lm" << "http://example.org/lm/Download/news.dat";
        QTest::newRow("host only") << "https://example.org" << "https://example.org/Download/news.dat";
    }
    // clang-format on
    void placesTheFilesBelowTheServer()
    {
        QFETCH(QString, server);
        QFETCH(QString, news);
        QCOMPARE(NewsFetcher::NewsFileUrl(QUrl(server)).toString(), news);
    }

    // Another scheme is refused without a download.
    void refusesOtherSchemes()
    {
        NewsFetcher fetcher;
        QSignalSpy failed(&fetcher, &NewsFetcher::failed);
        fetcher.fetch(QUrl("file:///etc/passwd"));
        QCOMPARE(failed.count(), 1);
        QVERIFY(!fetcher.isRunning());
    }
};

QTEST_GUILESS_MAIN(TestNewsFetcher)
#include "tst_NewsFetcher.moc"
