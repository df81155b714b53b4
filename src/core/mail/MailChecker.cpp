#include "mail/MailChecker.h"

#include "accounting/CallAccounting.h"
#include "mail/MailServer.h"
#include "mail/MailSettingsCheck.h"
#include "mail/StatReply.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/Scheduler.h"
#include "platform/SoundPlayer.h"
#include "settings/ProviderProfile.h"

using Check = ProviderProfile::Check;
using Text = ProviderProfile::Text;
using Timer = Scheduler::Timer;
using Step = Pop3Check::Step;

QString MailChecker::failureText(Step step)
{
    switch (step) {
    case Step::Greeting: return QStringLiteral("The mail server doesn't answer!");
    case Step::User: return QStringLiteral("Invalid POP3 Username!");
    case Step::Pass: return QStringLiteral("Invalid POP3 Password!");
    case Step::Stat: return QStringLiteral("STAT command not recognized");
    }
    return QString();
}

MailChecker::MailChecker(const MailCheckerParts &parts, QObject *parent) : QObject(parent), m(parts)
{
    m.scheduler.setHandler(Timer::tmrCheck, [this] { tmrCheck(); });
    connect(&m.pop3, &Pop3Check::waiting, this, [this] {
        setTrayTip(waitingTip());
        showState();
    });
    connect(&m.pop3, &Pop3Check::finished, this, &MailChecker::onFinished);
    connect(&m.profile, &ProviderProfile::changed, this, &MailChecker::showState);
    m_enableChecked = m.profile.isChecked(Check::EmailInt);
    showState();
}

void MailChecker::onCallOpened()
{
    if (!CheckMailSettings(m.profile, m.prompter))
        return;
    m.scheduler.start(Timer::tmrCheck);
    CheckNow_Click();
}

void MailChecker::onProviderLoaded()
{
    abort();
    m_notifyFlag = false;
    m_lastResult.clear();
    if (m_enableChecked != m.profile.isChecked(Check::EmailInt)) {
        m_enableChecked = !m_enableChecked;
        emit mailEnableCheckedChanged(m_enableChecked);
    }
    showState();
}

void MailChecker::abort()
{
    if (!m.pop3.isRunning())
        return;
    m.pop3.abort();
    m_checking = false;
    setTrayTip(m.accounting.currTimeText());
    showState();
}

void MailChecker::stopPeriodicChecks()
{
    m.scheduler.stop(Timer::tmrCheck);
}

void MailChecker::CheckNow_Click()
{
    if (m_checking)
        return;
    if (const std::optional<QString> problem = MailSettingsProblem(m.profile)) {
        m.prompter.tell(*problem, Prompt::Icon::Exclamation);
        return;
    }
    const MailServer server = *ParseMailServer(m.profile.text(Text::Pop3Host));
    m_interval = *m.profile.mailInterval();
    m_checking = true;
    // The check may end inside start() (a failure reported at once): m_checking is
    // cleared by then.
    if (!m.pop3.start({server.host, server.port, m.profile.text(Text::Pop3User), m.profile.text(Text::Pop3Passwd),
                       *m.profile.mailTimeout()}))
        m_checking = false;
    showState();
}

void MailChecker::imgEmail_Click()
{
    if (m.profile.isChecked(Check::EMail))
        CheckNow_Click();
}

void MailChecker::mnuMailEnable_Click()
{
    m_enableChecked = !m_enableChecked;
    if (m_enableChecked)
        m.scheduler.start(Timer::tmrCheck);
    else
        m.scheduler.stop(Timer::tmrCheck);
    m.profile.setChecked(Check::EmailInt, m_enableChecked);
    emit mailEnableCheckedChanged(m_enableChecked);
    showState();
}

void MailChecker::tmrCheck()
{
    if (!m.profile.isChecked(Check::EmailInt))
        return;
    // Failed checks leave the countdown at 0, where it stays: the periodic checks rest
    // until a check reaches the server's count again.
    if (m_countdown <= 0)
        return;
    --m_countdown;
    showState();
    if (m_countdown == 0 && !m_checking) {
        m_notifyFlag = false;
        CheckNow_Click();
    }
}

void MailChecker::onFinished(const Pop3Check::Result &result)
{
    // m_checking stays set while the result is shown: a message box left open must not
    // let the timer or the user start another check meanwhile.
    switch (result.kind) {
    case Pop3Check::Result::Kind::Counted: announce(result.statReply); break;
    case Pop3Check::Result::Kind::NoReply:
        m_lastResult = failureText(result.step);
        showState();
        setTrayTip(m_lastResult);
        m.prompter.fail(m_lastResult);
        break;
    case Pop3Check::Result::Kind::SocketError:
        m_lastResult = communicationsProblem();
        showState();
        setTrayTip(communicationsProblem());
        m.prompter.fail(result.error.isEmpty() ? communicationsProblem() : result.error);
        break;
    }
    m_checking = false;
    showState();
}

void MailChecker::announce(const QString &statReply)
{
    const QString count = StatCountText(statReply);
    const qint64 waiting = StatCountValue(count);
    const QString message = QStringLiteral("You have ") + count + QLatin1Char(' ') + QStringLiteral("new messages");
    const QDateTime now = m.clock.now();
    const QString checkedAt = m.formats.date(now.date()) + QLatin1Char(' ') + m.formats.time(now.time());
    m_lastResult = message;
    emit countRead(message, checkedAt);
    if (waiting > 0) {
        m.prompter.tell(statReply + QStringLiteral("\r\n"));
        setTrayTip(message);
        if (!m.sound.HasSoundDevice())
            emit beepRequested();
        else if (m.profile.isChecked(Check::Sound) && !m.profile.text(Text::Sound).isEmpty())
            m.sound.play(m.profile.text(Text::Sound));
    } else {
        setTrayTip(message);
    }
    m_countdown = m_interval;
    if (waiting > 0 || m_notifyFlag) {
        // A fresh minute for the countdown, but only where it still runs: a hang-up while
        // the message box was open stopped it, and the periodic checks stay stopped.
        if (m.scheduler.isActive(Timer::tmrCheck))
            m.scheduler.start(Timer::tmrCheck);
        emit notificationReady(message, checkedAt);
    } else {
        m_notifyFlag = true;
        setTrayTip(m.accounting.currTimeText());
    }
}

void MailChecker::setTrayTip(const QString &tip)
{
    m_trayTip = tip;
    emit trayTipChanged(tip);
}

bool MailChecker::pictureShown() const
{
    return m.profile.isChecked(Check::EMail);
}

int MailChecker::minutesToNextCheck() const
{
    const bool counting =
        m.scheduler.isActive(Timer::tmrCheck) && m.profile.isChecked(Check::EmailInt) && m_countdown > 0;
    return counting ? m_countdown : 0;
}
