#include "news/NewsFetcher.h"

#include <QNetworkInformation>
#include <QNetworkReply>
#include <QNetworkRequest>

#include "news/VersionCheck.h"

QUrl NewsServerAddress(const QString &configured)
{
    const QString fromEnvironment = qEnvironmentVariable("LINEMINDER_NEWS_URL").trimmed();
    const QString address = fromEnvironment.isEmpty() ? configured.trimmed() : fromEnvironment;
    return address.isEmpty() ? QUrl() : QUrl(address);
}

bool SystemReportsOffline()
{
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend())
        return false;
    const auto reachability = QNetworkInformation::instance()->reachability();
    return reachability == QNetworkInformation::Reachability::Disconnected ||
           reachability == QNetworkInformation::Reachability::Local;
}

namespace {

// The files lie below the server's address, which is taken as a folder.
QUrl below(QUrl server, const QString &path)
{
    if (!server.path().endsWith(QLatin1Char('/')))
        server.setPath(server.path() + QLatin1Char('/'));
    return server.resolved(QUrl(path));
}

} // namespace

QUrl NewsFetcher::VersionFileUrl(const QUrl &server)
{
    return below(server, QStringLiteral("Download/Setup1/remotever.dat"));
}

QUrl NewsFetcher::NewsFileUrl(const QUrl &server)
{
    return below(server, QStringLiteral("Download/news.dat"));
}

NewsFetcher::NewsFetcher(int transferTimeoutMs, QObject *parent)
    : QObject(parent), m_transferTimeoutMs(transferTimeoutMs)
{
}

NewsFetcher::~NewsFetcher()
{
    drop();
}

void NewsFetcher::fetch(const QUrl &server)
{
    cancel();
    const QString scheme = server.scheme().toLower();
    if (!server.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        emit failed(QStringLiteral("The news server's address \"%1\" is no http or https address.")
                        .arg(server.toDisplayString()));
        return;
    }
    m_server = server;
    get(Step::Version);
}

void NewsFetcher::cancel()
{
    drop();
}

qsizetype NewsFetcher::limit() const
{
    return m_step == Step::Version ? VersionCheck::kMaxVersionBytes : VersionCheck::kMaxNewsBytes;
}

void NewsFetcher::get(Step step)
{
    m_step = step;
    m_body.clear();
    QNetworkRequest request(step == Step::Version ? VersionFileUrl(m_server) : NewsFileUrl(m_server));
    request.setTransferTimeout(m_transferTimeoutMs);
    // Always the file as it is now, not a copy kept by a proxy.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &NewsFetcher::onData);
    connect(m_reply, &QNetworkReply::finished, this, &NewsFetcher::onFinished);
}

void NewsFetcher::onData()
{
    // Read as it comes, so an endless body is stopped at the limit instead of filling memory.
    m_body += m_reply->read(limit() + 1 - m_body.size());
    if (m_body.size() > limit())
        fail(QStringLiteral("%1 is larger than %2 bytes.").arg(m_reply->url().toDisplayString()).arg(limit()));
}

void NewsFetcher::onFinished()
{
    QNetworkReply *reply = m_reply;
    const QString url = reply->url().toDisplayString();
    if (reply->error() != QNetworkReply::NoError)
        return fail(QStringLiteral("%1: %2").arg(url, reply->errorString()));
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299)
        return fail(QStringLiteral("%1: HTTP status %2").arg(url).arg(status));
    onData();
    if (!m_reply)
        return; // too large
    if (m_body.isEmpty())
        return fail(QStringLiteral("%1 is empty.").arg(url));
    const QByteArray body = m_body;
    drop();
    if (m_step == Step::Version) {
        const auto remote = VersionCheck::Parse(body);
        if (!remote)
            return fail(QStringLiteral("%1 holds no version number.").arg(url));
        get(Step::News);
        emit versionChecked(VersionCheck::ResultText(VersionCheck::Running(), *remote));
        return;
    }
    emit newsFetched(VersionCheck::DecodeNews(body));
}

void NewsFetcher::fail(const QString &reason)
{
    drop();
    emit failed(reason);
}

void NewsFetcher::drop()
{
    m_body.clear();
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}
