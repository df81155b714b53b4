#include "info/NewsWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Logging.h"
#include "platform/ProgramLauncher.h"
#include "platform/Prompter.h"
#include "settings/GeneralOptions.h"

QLabel *LinkLabel(const QString &name, const QString &shown, const std::function<void()> &onClick, QWidget *parent)
{
    // The address comes from the settings: escaped, so it can only ever be shown.
    auto *label = new QLabel(QStringLiteral("<a href=\"#\">%1</a>").arg(shown.toHtmlEscaped()), parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(false);
    QObject::connect(label, &QLabel::linkActivated, label, [onClick] { onClick(); });
    return label;
}

NewsWindow::NewsWindow(InfoSeams seams, QWidget *parent)
    : QDialog(parent), m_seams(std::move(seams)), m_fetcher(m_seams.transferTimeoutMs), m_result(new QLabel(this)),
      m_news(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("frmNews"));
    setWindowTitle(QStringLiteral("News and Updates"));

    auto *heading = new QLabel(QStringLiteral("Latest news and updates:"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    m_result->setObjectName(QStringLiteral("lblVersion"));
    m_result->setTextFormat(Qt::PlainText);
    m_result->setWordWrap(true);
    m_news->setObjectName(QStringLiteral("Text1"));
    m_news->setReadOnly(true);
    m_news->setMinimumSize(360, 200);

    const QString home = m_seams.options.homeUrl();
    auto *visit = LinkLabel(
        QStringLiteral("Label2"), QStringLiteral("Visit us at: ") + home,
        [this, home] {
            QString error;
            if (!m_seams.launcher.open(home, &error))
                m_seams.prompter.fail(error);
        },
        this);
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Command1"));
    connect(close, &QPushButton::clicked, this, &QDialog::close);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(visit, 1);
    bottom->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_result);
    layout->addWidget(m_news, 1);
    layout->addLayout(bottom);

    connect(&m_fetcher, &NewsFetcher::versionChecked, m_result, &QLabel::setText);
    connect(&m_fetcher, &NewsFetcher::newsFetched, m_news, &QPlainTextEdit::setPlainText);
    connect(this, &QDialog::finished, &m_fetcher, &NewsFetcher::cancel);
    // Queued: the message box waits outside the network code, which may go with the window.
    connect(&m_fetcher, &NewsFetcher::failed, this, &NewsWindow::showFailure, Qt::QueuedConnection);
}

void NewsWindow::start()
{
    if (m_seams.online && !m_seams.online()) {
        m_seams.prompter.tell(QStringLiteral("You are not connected to the Interenet!"));
        return;
    }
    const QUrl server = NewsServerAddress(m_seams.options.newsUrl());
    if (server.isEmpty()) {
        m_result->setText(QStringLiteral("The news server is not configured."));
        return;
    }
    m_fetcher.fetch(server);
}

void NewsWindow::showFailure(const QString &reason)
{
    qCWarning(lcUi) << "News check failed:" << reason;
    m_seams.prompter.tell(QStringLiteral("Problem with the server, please try latter!"));
}
