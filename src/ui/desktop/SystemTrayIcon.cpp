#include "desktop/SystemTrayIcon.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace {
// Long enough to be read, short enough not to pile up under a running alarm.
constexpr int kMessageMs = 10000;
} // namespace

SystemTrayIcon::SystemTrayIcon(const QIcon &icon, QObject *parent)
    : TrayIcon(parent), m_icon(new QSystemTrayIcon(icon, this))
{
    // No context menu is set on purpose: the right click arrives as Context and the owner
    // pops up mnuTray itself, after the checks it makes for every click.
    connect(m_icon, &QSystemTrayIcon::activated, this, &SystemTrayIcon::activated);
}

bool SystemTrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::addIcon(const QString &tip)
{
    m_icon->setToolTip(tip);
    m_icon->show();
}

void SystemTrayIcon::changeTip(const QString &tip)
{
    m_icon->setToolTip(tip);
}

void SystemTrayIcon::removeIcon()
{
    m_icon->hide();
}

void SystemTrayIcon::notify(const QString &title, const QString &text)
{
    m_icon->showMessage(title, text, QSystemTrayIcon::Information, kMessageMs);
}

void SystemTrayIcon::activated(QSystemTrayIcon::ActivationReason reason)
{
    // An activation queued before the icon was removed must not bring anything back.
    if (!isAdded())
        return;
    if (reason == QSystemTrayIcon::Trigger)
        emit leftClicked();
    else if (reason == QSystemTrayIcon::Context)
        emit rightClicked(QCursor::pos());
}

QMenu *CreateTrayMenu(QWidget *parent)
{
    auto *menu = new QMenu(QStringLiteral("PopUp"), parent);
    menu->setObjectName(QStringLiteral("mnuTray"));
    auto item = [menu](const char *name, const char *caption) {
        QAction *action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        return action;
    };
    item("mnuTrayRestore", "&Restore");
    item("mnuTrayMove", "&Move");
    item("mnuTrayMinimize", "Mi&nimize");
    menu->addSeparator()->setObjectName(QStringLiteral("mnuStep"));
    item("mnuTrayClose", "&Close");
    return menu;
}
