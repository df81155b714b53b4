#include "mainwindow/MainWindow.h"
#include "platform/DataLocations.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LineMinder"));

    const DataLocations locations = DataLocations::fromEnvironment();
    if (!locations.ensureFolders()) {
        QMessageBox::critical(nullptr, QStringLiteral("LineMinder"),
                              QStringLiteral("LineMinder cannot create its data folder %1.").arg(locations.dataDir()));
        return 1;
    }
    SettingsStore store(locations.settingsDatabase());
    if (!store.isOpen()) {
        QMessageBox::critical(nullptr, QStringLiteral("LineMinder"),
                              QStringLiteral("LineMinder cannot open its settings (%1): %2")
                                  .arg(locations.settingsDatabase(), store.error()));
        return 1;
    }

    MainWindow window;
    window.show();
    return app.exec();
}
