#include "settings/GeneralOptions.h"

#include <QRegularExpression>
#include <QTest>

#include <optional>

#include "support/StoreFixtures.h"
#include "support/TempHome.h"

using Check = GeneralOptions::Check;
using Text = GeneralOptions::Text;

namespace {

// The sections as the stores name them.
const QString kGeneral = QStringLiteral("General Settings");
const QString kLogs = kGeneral + "\\Log Settings";
const QString kList = kGeneral + "\\Exec";
const QString kTicks = kGeneral + "\\Exec Selected";
const QStringList kSections{kGeneral, kLogs, kList, kTicks};

} // namespace

class TestGeneralOptions : public QObject
{
    Q_OBJECT

private:
    std::optional<TempStore> m_temp;
    SettingsStore &store() { return m_temp->store; }

private slots:
    void init() { m_temp.emplace(); }

    void defaultsOnEmptyStore()
    {
        GeneralOptions options;
        options.load(store());
        QString values =
            QString::asprintf("%d%d%d ", options.minimizeToTray(), options.separateLogs(), options.launchStyle());
        for (int i = 0; i < int(Check::Count_); ++i)
            values += QString::number(options.isChecked(Check(i)));
        for (int n = 1; n <= GeneralOptions::kLogItems; ++n)
            values += QString::number(options.logItem(n));
        for (int i = 0; i < int(Text::Count_); ++i)
            values += "|" + options.text(Text(i));
        // The two options and the style, the ticks (only the splash screen's is on), the log items, the texts.
        QCOMPARE(values, QString("001 00010000000000000000000|0|0|0||"));
    }

    void loadSaveLoadLeavesStoreUnchanged()
    {
        SettingsStore &s = store();
        StoreFixtures::writeValues(s, kGeneral,
                                   {"AddCost=1",       "AddTime=1",          "AddCostTxt=150", "AddTimeTxT=10",
                                    "AddMinCharge=0",  "AddMinChargeTxT=75", "ShowSplash=0",   "chkSound1=1",
                                    "ShowDUNStats=1",  "Sound1=/snd/hi.wav", "chkSound2=0",    "Sound2=/snd/bye.wav",
                                    "Minimize Conn=1", "StartMini=0",        "OnTop=1",        "StartUp=1",
                                    "MinTray=True",    "MinNormal=False",    "SavePos=1",      "NumofEXE=2",
                                    "NumofEXEStyle=4"});
        for (int n = 1; n <= 11; ++n)
            s.SaveSetting(kLogs, QString::number(n), n % 3 ? "1" : "0");
        StoreFixtures::writeValues(s, kLogs, {"1 Log=False", "2 Log=True"});
        StoreFixtures::writeValues(s, kList, {"0=/usr/bin/firefox", "1=/usr/bin/tb --offline"});
        StoreFixtures::writeValues(s, kTicks, {"0=False", "1=True"});

        const QStringList before = StoreFixtures::snapshot(s, kSections);
        GeneralOptions options;
        options.load(s);
        QVERIFY(options.save(s));
        QCOMPARE(StoreFixtures::snapshot(s, kSections), before);

        // Each option pair is stored as two opposite flags.
        options.setMinimizeToTray(false);
        options.setSeparateLogs(false);
        QVERIFY(options.save(s));
        QCOMPARE(StoreFixtures::snapshot(s, kSections).filter(QRegularExpression("\\| (MinTray|MinNormal|. Log) =")),
                 (QStringList{kGeneral + " | MinTray = False", kGeneral + " | MinNormal = True",
                              kLogs + " | 1 Log = True", kLogs + " | 2 Log = False"}));
    }

    void programListStoredWholeOnlyOnSave()
    {
        StoreFixtures::writeValues(store(), kList, {"0=a", "1=b", "2=c"});
        StoreFixtures::writeValues(store(), kTicks, {"0=True", "1=False", "2=True"});
        const QStringList before = StoreFixtures::snapshot(store(), kSections);
        GeneralOptions options;
        options.load(store());
        QVERIFY(!options.addProgram(QString()) && options.removeProgram(0));
        QCOMPARE(options.programs(), (QList<GeneralOptions::Program>{{"b", false}, {"c", true}}));
        QCOMPARE(StoreFixtures::snapshot(store(), kSections), before);

        QVERIFY(options.save(store()));
        QCOMPARE(
            StoreFixtures::snapshot(store(), {kList, kTicks}),
            (QStringList{kList + " | 0 = b", kList + " | 1 = c", kTicks + " | 0 = False", kTicks + " | 1 = True"}));
        QCOMPARE(store().GetSetting(kGeneral, "NumofEXE"), QString("2"));
    }

    // clang-format off
    void launchStyle_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("6") << "6" << 6;
        QTest::newRow("5 is not offered") << "5" << 1;
        QTest::newRow("7") << "7" << 1;
    }
    // clang-format on
    void launchStyle()
    {
        QFETCH(QString, stored);
        QFETCH(int, loaded);
        store().SaveSetting(kGeneral, "NumOfEXEStyle", stored);
        GeneralOptions options;
        options.load(store());
        QCOMPARE(options.launchStyle(), loaded);
        QCOMPARE(options.setLaunchStyle(stored.toInt()), stored.toInt() == loaded);
        QCOMPARE(options.launchStyle(), loaded);
    }
};

QTEST_GUILESS_MAIN(TestGeneralOptions)
#include "tst_GeneralOptions.moc"