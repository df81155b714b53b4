#include "Automation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include "composition/AppCore.h"
#include "mainwindow/MainWindow.h"

namespace {

// How long this process has existed, from the kernel's record of its start: includes
// loading the program and its libraries, not just main().
double processAgeMs()
{
    std::ifstream stat("/proc/self/stat");
    std::string content((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = content.rfind(')');
    if (close == std::string::npos)
        return -1;
    // Field 22 (starttime) counted from the field after the command name (field 3).
    std::istringstream fields(content.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double startMs = std::stod(field) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6 - startMs;
}

} // namespace

Automation::Automation(const QString &script, AppCore &core, MainWindow &window)
    : m_steps(script.split(QLatin1Char(';'), Qt::SkipEmptyParts)), m_core(core), m_window(window)
{
}

void Automation::start()
{
    // The window is shown and painted when the event loop first runs.
    QTimer::singleShot(0, this, [this] {
        m_shownAgeMs = processAgeMs();
        QTimer::singleShot(m_steps.value(0).startsWith(QLatin1String("startup")) ? 0 : 500, this, &Automation::next);
    });
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
        m_core.selectProvider(argument);
    else if (command == QLatin1String("connect"))
        m_window.runCommand(QStringLiteral("Connect"));
    else if (command == QLatin1String("disconnect"))
        m_window.runCommand(QStringLiteral("Disconnect"));
    else if (command == QLatin1String("command"))
        m_window.runCommand(argument);
    else if (command == QLatin1String("page")) {
        if (auto *pages = openWindow().findChild<QTabWidget *>(QStringLiteral("tabPages")))
            pages->setCurrentIndex(argument.toInt());
    } else if (command == QLatin1String("click")) {
        if (auto *button = openWindow().findChild<QAbstractButton *>(argument))
            button->click();
    } else if (command == QLatin1String("choose")) {
        // choose:NAME:INDEX picks an item of a list box.
        if (auto *list = openWindow().findChild<QComboBox *>(argument.section(QLatin1Char(':'), 0, 0)))
            list->setCurrentIndex(argument.section(QLatin1Char(':'), 1).toInt());
    } else if (command == QLatin1String("close")) {
        if (&openWindow() != &m_window)
            openWindow().close();
    } else if (command == QLatin1String("stats"))
        m_window.setStatisticsShown(true);
    else if (command == QLatin1String("wait"))
        delayMs = int(std::clamp(argument.toDouble() * 1000, 0.0, 86'400'000.0)); // a day at most
    else if (command == QLatin1String("startup"))
        std::fprintf(stderr, "startup: %.0f ms from process start to the main window shown\n", m_shownAgeMs);
    else if (command == QLatin1String("cpu")) {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double ms = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
                          static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
        std::fprintf(stderr, "cpu: %.1f ms\n", ms);
    } else if (command == QLatin1String("screenshot")) {
        if (!openWindow().grab().save(argument))
            std::fprintf(stderr, "automation: cannot save %s\n", qPrintable(argument));
    } else if (command == QLatin1String("exit")) {
        m_window.close();
        return;
    }
    QTimer::singleShot(delayMs, this, &Automation::next);
}

QWidget &Automation::openWindow() const
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return *modal;
    // A window of its own, such as the report viewer or the about box.
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto shown = std::find_if(windows.begin(), windows.end(), [this](const QWidget *widget) {
        return widget != &m_window && widget->isVisible() && widget->objectName().startsWith(QLatin1String("frm"));
    });
    return shown != windows.end() ? **shown : static_cast<QWidget &>(m_window);
}

Prompt::Answer AutoAnswerPrompter::ask(const Prompt &prompt)
{
    std::fprintf(stderr, "prompt: [%s] %s\n", qPrintable(prompt.title), qPrintable(prompt.text));
    return prompt.buttons == Prompt::Buttons::YesNo || prompt.buttons == Prompt::Buttons::YesNoCancel
               ? Prompt::Answer::Yes
               : Prompt::Answer::Ok;
}

std::optional<QString> AutoAnswerPrompter::input(const QString &title, const QString &text)
{
    std::fprintf(stderr, "input: [%s] %s\n", qPrintable(title), qPrintable(text));
    return QString();
}

QString AutoAnswerPrompter::chooseFile(const QString &title, const QString &filter)
{
    std::fprintf(stderr, "file: [%s] %s\n", qPrintable(title), qPrintable(filter));
    return QString();
}

QString AutoAnswerPrompter::chooseSaveFile(const QString &title, const QString &filter, const QString &defaultSuffix)
{
    std::fprintf(stderr, "save file: [%s] %s .%s\n", qPrintable(title), qPrintable(filter), qPrintable(defaultSuffix));
    return QString();
}
