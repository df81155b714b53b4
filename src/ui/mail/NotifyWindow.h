#pragma once

#include <QPointer>
#include <QWidget>

class ProgramLauncher;
class ProviderProfile;
class QLabel;
class QPushButton;

// frmNotify: the result of a mailbox check, with a button that starts the user's e-mail
// program. It only shows what the check hands it; it closes (and deletes itself) with
// either button.
class NotifyWindow : public QWidget
{
    Q_OBJECT
public:
    static QString designTitle() { return QStringLiteral("E-mail Notification!"); }

    // The load: title with the mailbox, "Run Email Program" enabled by chkLaunchEmail.
    NotifyWindow(ProviderProfile &profile, ProgramLauncher &launcher, QWidget *parent = nullptr);

    // lblMsg(0) and lblMsg(1).
    void setMessage(const QString &message, const QString &checkedAt);

    // Shows a result without blocking: an open window only gets the new lines, a closed
    // one is made afresh (so its load sees the settings of now). Returns the window.
    static NotifyWindow *showResult(QPointer<NotifyWindow> &window, ProviderProfile &profile, ProgramLauncher &launcher,
                                    const QString &message, const QString &checkedAt, QWidget *parent = nullptr);

private:
    void Command1_Click();

    ProviderProfile &m_profile;
    ProgramLauncher &m_launcher;
    QLabel *m_lines[2] = {};
};
