#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

// The news server's address: LINEMINDER_NEWS_URL when set, otherwise the configured one.
// Empty when neither is set.
QUrl NewsServerAddress(const QString &configured);

// Whether the system says it has no way out (no link, or only the local network). Without
// a network information backend it cannot tell and says false: the check is tried.
bool SystemReportsOffline();

// Fetches the version file and then the news file from below the server's address, without
// blocking. Each download has a transfer time-out (no data for that long ends it) and a size
// limit; every failure, a reply that is no success or not our file, ends the fetch with
// failed(). Dropping the fetcher cancels what is under way, without signals.
class NewsFetcher : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTransferTimeoutMs = 30000;
    static QUrl VersionFileUrl(const QUrl &server);
    static QUrl NewsFileUrl(const QUrl &server);

    explicit NewsFetcher(int transferTimeoutMs = kTransferTimeoutMs, QObject *parent = nullptr);
    ~NewsFetcher() override;

    // Starts over: a fetch under way is cancelled first. A server address that is not http
    // or https fails at once.
    void fetch(const QUrl &server);
    void cancel();
    bool isRunning() const { return m_reply != nullptr; }

signals:
    // The version file was read: the line to show.
    void versionChecked(const QString &result);
    // The news file was read; the fetch is over.
    void newsFetched(const QString &news);
    // The fetch ended without the news; why, for the log.
    void failed(const QString &reason);

private:
    enum class Step { Version, News };
    void get(Step step);
    void onData();
    void onFinished();
    void fail(const QString &reason);
    void drop();
    qsizetype limit() const;

    QNetworkAccessManager m_network;
    const int m_transferTimeoutMs;
    QUrl m_server;
    Step m_step = Step::Version;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
};
