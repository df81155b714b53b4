#include "support/EngineRig.h"

#include "settings/SettingsLayout.h"

#include <QTest>

void EngineRig::prepareHome()
{
    const QString provider = SettingsLayout::Provider("Home");
    store.SaveSetting(provider, "KeepLog", "1");
    store.SaveSetting(provider, "KeepReport", "1");
    for (int item = 1; item <= 11; ++item)
        store.SaveSetting(SettingsLayout::LogSettings(), QString::number(item), "1");
    reloadOptions();
    loadProvider("Home");
}

void EngineRig::connectAndOpen()
{
    QVERIFY(dialer.ConnectCommand());
    for (int i = 0; i < 100 && !session.CallActive; ++i)
        scheduler.advanceMs(100);
    QVERIFY(session.CallActive);
}
