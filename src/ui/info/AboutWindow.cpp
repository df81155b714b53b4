#include "info/AboutWindow.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "desktop/AppIcon.h"
#include "news/VersionCheck.h"
#include "platform/ProgramLauncher.h"
#include "platform/ProgramName.h"
#include "platform/Prompter.h"
#include "settings/GeneralOptions.h"

namespace {

const char *const kDescription =
    "LineMinder watches your dial-up connection: it dials your provider with its built-in "
    "dialer, measures the time you spend online and keeps a log of every call.\n\n"
    "Each call is costed by tariffs you can edit, with their own rates for times of day, "
    "weekends and holidays, so you know what a call costs while it runs.\n\n"
    "Alarms warn you of long or expensive calls; reports, the tray icon, the holiday editor "
    "and the automatic e-mail check do the rest.\n\n"
    "Know your line, mind your bill.";

const char *const kRights = "Copyright \u00A9 the LineMinder developers. Free software: you may use, "
                            "copy and share it under the terms of its licence.";

const char *const kDisclaimer = "Warning: the costs shown are estimates from the tariffs you entered. "
                                "Your provider's and your telephone company's bills are what you pay; "
                                "this program comes with no warranty.";

QLabel *textLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QPushButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *push = new QPushButton(text, parent);
    push->setObjectName(name);
    return push;
}

} // namespace

AboutWindow::AboutWindow(InfoSeams seams, QWidget *parent) : QDialog(parent), m_seams(std::move(seams))
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + ProgramName());
    setWindowFlag(Qt::WindowStaysOnTopHint, m_seams.options.isChecked(GeneralOptions::Check::OnTop));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    const QIcon appIcon = QApplication::windowIcon().isNull() ? AppIcon() : QApplication::windowIcon();
    icon->setPixmap(appIcon.pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto *title = textLabel(QStringLiteral("lblTitle"), ProgramName() + QStringLiteral(" for Linux"), this);
    QFont bigger = title->font();
    bigger.setPointSizeF(bigger.pointSizeF() * 1.5);
    bigger.setBold(true);
    title->setFont(bigger);

    const QString home = m_seams.options.homeUrl(), email = m_seams.options.homeEmail();
    auto *links = new QGridLayout;
    links->addWidget(textLabel(QStringLiteral("Label3"), QStringLiteral("Home Page:"), this), 0, 0);
    links->addWidget(LinkLabel(
                         QStringLiteral("lblHomeURL"), home, [this, home] { openAddress(home); }, this),
                     0, 1);
    links->addWidget(textLabel(QStringLiteral("Label2"), QStringLiteral("E-mail:"), this), 1, 0);
    links->addWidget(LinkLabel(
                         QStringLiteral("lblHomeEmail"), email,
                         [this, email] { openAddress(QStringLiteral("mailto:") + email); }, this),
                     1, 1);
    links->setColumnStretch(1, 1);

    auto *ok = button(QStringLiteral("cmdOK"), QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);
    auto *sysInfo = button(QStringLiteral("cmdSysInfo"), QStringLiteral("&System Info..."), this);
    connect(sysInfo, &QPushButton::clicked, this, &AboutWindow::startSysInfo);
    m_newsButton = button(QStringLiteral("cmdNewVersion"), QStringLiteral("Check for latest news and updates."), this);
    connect(m_newsButton, &QPushButton::clicked, this, &AboutWindow::openNews);

    auto *text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(
        textLabel(QStringLiteral("lblVersion"), QStringLiteral("Version ") + VersionCheck::Running().text(), this));
    text->addWidget(textLabel(QStringLiteral("lblDescription"), QString::fromUtf8(kDescription), this));
    text->addLayout(links);
    text->addWidget(textLabel(QStringLiteral("lblRights"), QString::fromUtf8(kRights), this));
    text->addWidget(textLabel(QStringLiteral("lblDisclaimer"), QString::fromUtf8(kDisclaimer), this));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_newsButton);
    buttons->addStretch(1);
    buttons->addWidget(sysInfo);
    buttons->addWidget(ok);

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(480);
}

void AboutWindow::openAddress(const QString &address)
{
    QString error;
    if (!m_seams.launcher.open(address, &error))
        m_seams.prompter.fail(error);
}

void AboutWindow::startSysInfo()
{
    for (const QString &name : m_seams.options.sysInfoPrograms()) {
        const QString path = QStandardPaths::findExecutable(name.trimmed());
        if (!path.isEmpty() && m_seams.launcher.start(path, ProgramLauncher::WindowStyle::NormalFocus, nullptr))
            return;
    }
    m_seams.prompter.tell(QStringLiteral("System Information Is Unavailable At This Time"));
}

void AboutWindow::openNews()
{
    if (m_news)
        return;
    m_newsButton->setEnabled(false);
    m_news = new NewsWindow(m_seams, this);
    m_news->setAttribute(Qt::WA_DeleteOnClose);
    m_news->setWindowModality(Qt::WindowModal);
    connect(m_news, &QDialog::finished, m_newsButton, [this] { m_newsButton->setEnabled(true); });
    m_news->show();
    m_news->start();
}
