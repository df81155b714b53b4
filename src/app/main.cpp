#include <QApplication>

#include "Automation.h"
#include "CommandLine.h"
#include "composition/AppCore.h"
#include "desktop/AppIcon.h"
#include "desktop/MediaSoundPlayer.h"
#include "desktop/MessageBoxPrompter.h"
#include "desktop/SystemTrayIcon.h"
#include "info/SplashWindow.h"
#include "line/LineSelection.h"
#include "mainwindow/MainWindow.h"
#include "platform/Clock.h"
#include "platform/DataLocations.h"
#include "platform/ProgramLauncher.h"
#include "platform/ProgramName.h"
#include "platform/QtScheduler.h"
#include "platform/SingleInstance.h"

namespace {
// Start-up failures are prompts like any other: answered by the automation hook too.
int fail(Prompter &prompter, const QString &text)
{
    prompter.fail(text);
    return 1;
}
} // namespace

int main(int argc, char *argv[])
{
    if (const std::optional<int> answered = AnswerInformationOptions(argc, argv))
        return *answered;
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProgramName());
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    // The installed lineminder.desktop: the desktop shows its name and icon for the windows.
    QApplication::setDesktopFileName(QStringLiteral("lineminder"));
    if (!AcceptRemainingOptions(QApplication::arguments()))
        return 1;
    // Closing a secondary window must never end the program without the exit sequence.
    QApplication::setQuitOnLastWindowClosed(false);

    QApplication::setWindowIcon(AppIcon());
    const QString automationScript = qEnvironmentVariable("LINEMINDER_AUTOMATION");
    MessageBoxPrompter messageBoxes;
    AutoAnswerPrompter autoAnswers;
    Prompter &prompter = automationScript.isEmpty() ? static_cast<Prompter &>(messageBoxes) : autoAnswers;

    const DataLocations locations = DataLocations::fromEnvironment();
    QString reason;
    if (!locations.ensureFolders(&reason))
        return fail(prompter, QStringLiteral("LineMinder cannot create its data folders: %1.").arg(reason));

    SystemClock clock;
    QtScheduler scheduler;

    // One running copy per data folder; a second start brings the first copy forward.
    SingleInstance instance(locations.configDir());
    if (!instance.tryLock()) {
        if (!instance.alreadyRunning())
            return fail(prompter, instance.errorString());
        instance.signalFirstCopy();
        prompter.tell(SingleInstance::AlreadyRunningText());
        return 0;
    }

    MediaSoundPlayer sound;
    ProcessLauncher launcher;

    AppCore core(locations, CreateRemoteAccess(qEnvironmentVariable("LINEMINDER_LINE"), locations, clock),
                 AppSeams{clock, scheduler, prompter, sound, launcher});
    if (!core.isOpen())
        return fail(prompter, QStringLiteral("LineMinder cannot open its settings (%1): %2")
                                  .arg(locations.settingsDatabase(), core.openError()));

    SystemTrayIcon tray(AppIcon());
    MainWindow window(core, &tray);
    messageBoxes.setParentWindow(&window);
    QObject::connect(&window, &MainWindow::exited, &app, &QApplication::quit, Qt::QueuedConnection);
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, &MainWindow::restore);

    Automation automation(automationScript, core, window);
    SplashWindow splash;
    // Under automation the window comes at once: the splash would only slow the test.
    splash.start(
        automationScript.isEmpty() ? SplashWindow::StoredShowSplash(core.settings()) : QStringLiteral("0"),
        [&] {
            core.start();
            window.applyStartSettings();
        },
        [&] {
            window.showAtStart();
            if (!automationScript.isEmpty())
                automation.start();
        });
    return app.exec();
}
