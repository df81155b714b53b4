#include <QApplication>
#include <QMessageBox>

#include "app/Automation.h"
#include "connection/LineSelection.h"
#include "mainwindow/AppCore.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MediaSoundPlayer.h"
#include "mainwindow/MessageBoxPrompter.h"
#include "platform/Clock.h"
#include "platform/DataLocations.h"
#include "platform/ProgramLauncher.h"
#include "platform/QtScheduler.h"

namespace {
int fail(const QString &text)
{
    QMessageBox::critical(nullptr, QStringLiteral("LineMinder"), text);
    return 1;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LineMinder"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    // Closing a secondary window must never end the program without the exit sequence.
    QApplication::setQuitOnLastWindowClosed(false);

    const DataLocations locations = DataLocations::fromEnvironment();
    if (!locations.ensureFolders())
        return fail(QStringLiteral("LineMinder cannot create its data folder %1.").arg(locations.dataDir()));

    const QString automationScript = qEnvironmentVariable("LINEMINDER_AUTOMATION");
    SystemClock clock;
    QtScheduler scheduler;
    MessageBoxPrompter messageBoxes;
    AutoAnswerPrompter autoAnswers;
    Prompter &prompter = automationScript.isEmpty() ? static_cast<Prompter &>(messageBoxes) : autoAnswers;
    MediaSoundPlayer sound;
    ProcessLauncher launcher;

    AppCore core(locations, CreateRemoteAccess(qEnvironmentVariable("LINEMINDER_LINE"), locations, clock),
                 AppSeams{clock, scheduler, prompter, sound, launcher});
    if (!core.isOpen())
        return fail(QStringLiteral("LineMinder cannot open its settings (%1): %2")
                        .arg(locations.settingsDatabase(), core.store.error()));

    MainWindow window(core, nullptr);
    messageBoxes.setParentWindow(&window);
    QObject::connect(&window, &MainWindow::exited, &app, &QApplication::quit, Qt::QueuedConnection);
    core.start();
    window.applyStartSettings();
    if (core.options.isChecked(GeneralOptions::Check::StartMini))
        window.showMinimized();
    else
        window.show();

    Automation automation(automationScript, core, window);
    if (!automationScript.isEmpty())
        automation.start();
    return app.exec();
}
