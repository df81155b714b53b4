#include "app/Automation.h"

#include <QPixmap>
#include <QTimer>

#include <cstdio>

#include "mainwindow/AppCore.h"
#include "mainwindow/MainWindow.h"

Automation::Automation(const QString &script, AppCore &core, MainWindow &window)
    : m_steps(script.split(QLatin1Char(';'), Qt::SkipEmptyParts)), m_core(core), m_window(window)
{
}

void Automation::start()
{
    QTimer::singleShot(500, this, &Automation::next);
}

void Automation::next()
{
    if (m_steps.isEmpty())
        return;
    const QString step = m_steps.takeFirst().trimmed();
    const QString command = step.section(QLatin1Char(':'), 0, 0);
    const QString argument = step.section(QLatin1Char(':'), 1);
    std::fprintf(stderr, "automation: %s\n", qPrintable(step));
    int delayMs = 100;
    if (command == QLatin1String("select"))
        m_core.dialer.SelectProvider(argument);
    else if (command == QLatin1String("connect"))
        m_window.runCommand(QStringLiteral("Connect"));
    else if (command == QLatin1String("disconnect"))
        m_window.runCommand(QStringLiteral("Disconnect"));
    else if (command == QLatin1String("stats"))
        m_window.setStatisticsShown(true);
    else if (command == QLatin1String("wait"))
        delayMs = int(argument.toDouble() * 1000);
    else if (command == QLatin1String("screenshot"))
        m_window.grab().save(argument);
    else if (command == QLatin1String("exit")) {
        m_window.close();
        return;
    }
    QTimer::singleShot(delayMs, this, &Automation::next);
}

Prompt::Answer AutoAnswerPrompter::ask(const Prompt &prompt)
{
    std::fprintf(stderr, "prompt: [%s] %s\n", qPrintable(prompt.title), qPrintable(prompt.text));
    return prompt.buttons == Prompt::Buttons::YesNo || prompt.buttons == Prompt::Buttons::YesNoCancel
               ? Prompt::Answer::Yes
               : Prompt::Answer::Ok;
}
