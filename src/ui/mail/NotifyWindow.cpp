#include "mail/NotifyWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "platform/ProgramLauncher.h"
#include "settings/ProviderProfile.h"

NotifyWindow::NotifyWindow(ProviderProfile &profile, ProgramLauncher &launcher, QWidget *parent)
    : QWidget(parent, Qt::Window), m_profile(profile), m_launcher(launcher)
{
    setObjectName(QStringLiteral("frmNotify"));
    setAttribute(Qt::WA_DeleteOnClose);
    const ProviderProfile::MailAccount mailbox = profile.currentMail();
    setWindowTitle(designTitle() + QStringLiteral(" - ") + mailbox.user + QLatin1Char('@') + mailbox.host);

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    auto *know = new QLabel(QStringLiteral("Know:"), this);
    know->setObjectName(QStringLiteral("Label1"));
    m_lines[0] = new QLabel(QStringLiteral("xxxxxxxxxxxxxxxxxxxx"), this);
    m_lines[1] = new QLabel(QStringLiteral("00:00:00 00/00/0000"), this);
    for (int i = 0; i < 2; ++i) {
        m_lines[i]->setObjectName(QStringLiteral("lblMsg%1").arg(i));
        m_lines[i]->setTextFormat(Qt::PlainText); // the lines carry what a mail server said
    }

    auto *run = new QPushButton(QStringLiteral("Run Email Program"), this);
    run->setObjectName(QStringLiteral("Command1"));
    run->setEnabled(profile.isChecked(ProviderProfile::Check::LaunchEmail));
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Command2"));
    connect(run, &QPushButton::clicked, this, &NotifyWindow::Command1_Click);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto *grid = new QGridLayout(this);
    grid->addWidget(image, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(know, 0, 1);
    grid->addWidget(m_lines[0], 1, 1);
    grid->addWidget(m_lines[1], 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(run);
    buttons->addWidget(close);
    grid->addLayout(buttons, 3, 0, 1, 2);
}

void NotifyWindow::setMessage(const QString &message, const QString &checkedAt)
{
    m_lines[0]->setText(message);
    m_lines[1]->setText(checkedAt);
}

NotifyWindow *NotifyWindow::showResult(QPointer<NotifyWindow> &window, ProviderProfile &profile,
                                       ProgramLauncher &launcher, const QString &message, const QString &checkedAt,
                                       QWidget *parent)
{
    if (!window)
        window = new NotifyWindow(profile, launcher, parent);
    window->setMessage(message, checkedAt);
    window->show();
    return window;
}

void NotifyWindow::Command1_Click()
{
    const QString program = m_profile.text(ProviderProfile::Text::LaunchEmail);
    if (!program.isEmpty()) {
        // As the user asked for it; a program that does not start is not reported.
        QString ignored;
        m_launcher.start(program, ProgramLauncher::WindowStyle::NormalFocus, &ignored);
    }
    close();
}
