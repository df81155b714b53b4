#include "news/NewsFetcher.h"
#include "news/VersionCheck.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

// An HTTP server on 127.0.0.1: the n-th connection gets the n-th response once its request is
// in, then a hang-up; an empty response is silence. The request lines are kept.
class CannedHttpServer : public QTcpServer
{
public:
    explicit CannedHttpServer(const QList<QByteArray> &responses)
    {
        QVERIFY(listen(QHostAddress::LocalHost));
        connect(this, &QTcpServer::newConnection, this, [this, responses] {
            QTcpSocket *socket = nextPendingConnection();
            const QByteArray response = responses.value(requests.size());
            requests.append(QByteArray());
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket, response, n = requests.size() - 1] {
                requests[n] += socket->readAll();
                if (requests[n].endsWith("\r\n\r\n") && !response.isEmpty()) {
                    socket->write(response);
                    socket->disconnectFromHost();
                }
            });
        });
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/lm").arg(serverPort())); }
    QList<QByteArray> requests;
};

QByteArray reply(int status, const QByteArray &body)
{
    return "HTTP/1.1 " + QByteArray::number(status) + " Canned\r\nContent-Length: " + QByteArray::number(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

constexpr int kTimeoutMs = 1000;

} // namespace

// The downloads against a local server: what each reply ends in.
class TestNewsFetcher : public QObject
{
    Q_OBJECT

private slots:
    // "result" is the version line, "shown" the news (empty: none came).
    // clang-format off
    void fetchesVersionAndNews_data()
    {
        const QByteArray news = reply(200, "First line\r\nsecond\n");
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<QByteArray>("newsReply");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("shown");
        QTest::newRow("newer version") << reply(200, "99.0.0\n") << news << "A more recent version of LineMinder exists! New version: 99.0.0" << "First line\nsecond";
        QTest::newRow("same version") << reply(200, VersionCheck::Running().text().toLatin1()) << news << "You already have the most recent version!" << "First line\nsecond";
        QTest::newRow("404") << reply(404, "99.0.0") << news << "" << "";
        QTest::newRow("empty body") << reply(200, "") << news << "" << "";
        QTest::newRow("news of 1 MiB") << reply(200, "0.0.1") << reply(200, QByteArray(1 << 20, 'x')) << "You already have the most recent version!" << "";
        QTest::newRow("never answered") << QByteArray() << news << "" << "";
    }
    // clang-format on
    void fetchesVersionAndNews()
    {
        QFETCH(QByteArray, version);
        QFETCH(QByteArray, newsReply);
        QFETCH(QString, result);
        QFETCH(QString, shown);
        CannedHttpServer server({version, newsReply});
        NewsFetcher fetcher(kTimeoutMs);
        QSignalSpy checked(&fetcher, &NewsFetcher::versionChecked);
        QSignalSpy fetched(&fetcher, &NewsFetcher::newsFetched);
        QSignalSpy failed(&fetcher, &NewsFetcher::failed);
        QElapsedTimer clock;
        clock.start();
        fetcher.fetch(server.url());
        QVERIFY(fetcher.isRunning()); // returned at once; the event loop does the rest
        QVERIFY((shown.isEmpty() ? failed : fetched).wait(5 * kTimeoutMs));
        QVERIFY(clock.elapsed() < 3 * kTimeoutMs);
        QCOMPARE(checked.value(0).value(0).toString(), result);
        QCOMPARE(fetched.value(0).value(0).toString(), shown);
        QCOMPARE(failed.count() + fetched.count(), 1);
        QVERIFY(server.requests.value(0).startsWith("GET /lm/Download/Setup1/remotever.dat "));
        if (!shown.isEmpty())
            QVERIFY(server.requests.value(1).startsWith("GET /lm/Download/news.dat "));
    }

    // Cancelled while waiting (the window closed): nothing is reported afterwards.
    void cancelledSilently()
    {
        CannedHttpServer server({});
        NewsFetcher fetcher(kTimeoutMs);
        QSignalSpy failed(&fetcher, &NewsFetcher::failed);
        fetcher.fetch(server.url());
        QTRY_COMPARE(server.requests.size(), 1);
        fetcher.cancel();
        QVERIFY(!failed.wait(2 * kTimeoutMs));
    }
};

QTEST_GUILESS_MAIN(TestNewsFetcher)
#include "tst_NewsFetcher.moc"
