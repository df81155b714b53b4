#pragma once

#include <QObject>
#include <QString>

#include "mail/Pop3Check.h"
#include "values/DateTimeFormats.h"

class CallAccounting;
class Clock;
class Prompter;
class ProviderProfile;
class Scheduler;
class SoundPlayer;

// Everything the mail check works with, made once by the program (or a test).
struct MailCheckerParts
{
    ProviderProfile &profile;
    Scheduler &scheduler;
    Prompter &prompter;
    const CallAccounting &accounting; // the call's time, for the tray tip between checks
    SoundPlayer &sound;
    const Clock &clock;
    Pop3Check &pop3;
    DateTimeFormats formats;
};

// The mailbox check while online: the first check when a call has been opened, the
// periodic countdown on tmrCheck, the "Check Mail" and "Enable" menu items and the mail
// picture, the tray tip and the figures of lblEmail, the announcement of waiting mail. One check
// runs at a time; requests while one runs are ignored.
class MailChecker : public QObject
{
    Q_OBJECT
public:
    static QString waitingTip() { return QStringLiteral("Wating server to replay..."); }
    static QString communicationsProblem() { return QStringLiteral("Communications problem"); }
    static QString failureText(Pop3Check::Step step);

    explicit MailChecker(const MailCheckerParts &parts, QObject *parent = nullptr);

    // The call engine opened a call: with chkEMail on and sound settings, tmrCheck starts
    // and the first check runs. Settings that cannot be used are shown, and nothing runs.
    void onCallOpened();
    // LoadProvider: a running check ends, the notification flag clears and the "Enable"
    // mark follows the new provider's chkEmailInt.
    void onProviderLoaded();
    // Hang-up, the window closing: a check still talking to the server ends without a
    // word. One whose result is already being shown goes on showing it.
    void abort();

    // The line was hung up: the periodic checks stop.
    void stopPeriodicChecks();
    // mnuCheckMail: one check now, whatever chkEMail says.
    void CheckNow_Click();
    // imgEmail: one check now when chkEMail is on.
    void imgEmail_Click();
    // mnuMailEnable: flips the mark; tmrCheck runs and chkEmailInt is ticked exactly
    // while it is set (in the live settings only, not stored).
    void mnuMailEnable_Click();
    // The tmrCheck tick, every minute while it runs.
    void tmrCheck();

    bool isChecking() const { return m_checking; }
    bool mailEnableChecked() const { return m_enableChecked; }
    // Minutes to the next periodic check; 0 once it ran out (until a check reaches the count).
    int countdown() const { return m_countdown; }
    bool notificationFlag() const { return m_notifyFlag; }
    QString trayTip() const { return m_trayTip; }
    // What lblEmail and imgEmail show: whether the mail picture is shown (chkEMail), a
    // check talking to the server, the last check's result, the minutes to the next
    // periodic check (0: none counted down).
    bool pictureShown() const;
    bool isTalking() const { return m.pop3.isRunning(); }
    QString lastResult() const { return m_lastResult; }
    int minutesToNextCheck() const;

signals:
    void trayTipChanged(const QString &tip);
    // Every check that reaches the count: frmNotify's lines, for a window already open.
    void countRead(const QString &message, const QString &checkedAt);
    // frmNotify's lblMsg(0) and lblMsg(1): the window opens (or, open, shows them).
    void notificationReady(const QString &message, const QString &checkedAt);
    // Mail waits and there is no sound device: the desktop's beep.
    void beepRequested();
    void mailEnableCheckedChanged(bool checked);
    // What lblEmail and imgEmail show may have changed.
    void stateChanged();

private:
    void onFinished(const Pop3Check::Result &result);
    void announce(const QString &statReply);
    void setTrayTip(const QString &tip);
    void showState() { emit stateChanged(); }

    MailCheckerParts m;
    bool m_checking = false;
    bool m_enableChecked = false;
    bool m_notifyFlag = false;
    int m_countdown = 0;
    int m_interval = 0;   // of the check running
    QString m_lastResult; // lblEmail between checks
    QString m_trayTip;
};
