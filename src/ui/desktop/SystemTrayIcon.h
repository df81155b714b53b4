#pragma once

#include "platform/TrayIcon.h"

#include <QIcon>
#include <QSystemTrayIcon>

class QMenu;
class QWidget;

// The tray icon on the desktop's tray (StatusNotifier or XEmbed, as Qt finds it). Only real
// activations of the icon count as clicks: a left click is Trigger, a right click Context.
class SystemTrayIcon final : public TrayIcon
{
    Q_OBJECT
public:
    explicit SystemTrayIcon(const QIcon &icon, QObject *parent = nullptr);

    bool isAvailable() const override;

protected:
    void addIcon(const QString &tip) override;
    void changeTip(const QString &tip) override;
    void removeIcon() override;
    void notify(const QString &title, const QString &text) override;

private:
    void activated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon *m_icon;
};

// The tray pop-up "mnuTray" (caption "PopUp"): mnuTrayRestore, mnuTrayMove, mnuTrayMinimize,
// the separator mnuStep and mnuTrayClose. The caller connects the actions.
QMenu *CreateTrayMenu(QWidget *parent);
