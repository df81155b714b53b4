#include "settings/GeneralOptions.h"

#include <QRegularExpression>
#include <QTest>

#include <memory>

#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "support/StoreFixtures.h"
#include "support/TempHome.h"

using Check = GeneralOptions::Check;
using Text = GeneralOptions::Text;

namespace {

const QString kGeneral = SettingsLayout::GeneralSettings();
const QString kLogs = SettingsLayout::LogSettings();
const QStringList kSections{kGeneral, kLogs, SettingsLayout::ExecList(), SettingsLayout::ExecSelected()};

} // namespace

class TestGeneralOptions : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempStore> m_temp;
    SettingsStore &store() { return m_temp->store; }

private slots:
    void init()
    {
        m_temp = std::make_unique<TempStore>();
        QVERIFY(m_temp->home.isValid() && m_temp->store.isOpen());
    }
    void cleanup() { m_temp.reset(); }

    void defaultsOnEmptyStore()
    {
        GeneralOptions options;
        options.load(store());
        QString values;
        for (int i = 0; i < int(Check::Count_); ++i)
            values += QString::number(options.isChecked(Check(i)));
        for (int n = 1; n <= GeneralOptions::kLogItems; ++n)
            values += QString::number(options.logItem(n));
        values += QString(" %1%2 %3 %4")
                      .arg(int(options.minimizeToTray()))
                      .arg(int(options.separateLogs()))
                      .arg(options.programCount())
                      .arg(options.launchStyle());
        for (int i = 0; i < int(Text::Count_); ++i)
            values += "|" + options.text(Text(i));
        QCOMPARE(values, QString("000100000000"
                                 "00000000000 00 0 1|0|0|0||"));
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
        StoreFixtures::writeValues(s, SettingsLayout::ExecList(), {"0=/usr/bin/firefox", "1=/usr/bin/tb --offline"});
        StoreFixtures::writeValues(s, SettingsLayout::ExecSelected(), {"0=False", "1=True"});

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
        StoreFixtures::writeValues(store(), SettingsLayout::ExecList(), {"0=a", "1=b", "2=c"});
        StoreFixtures::writeValues(store(), SettingsLayout::ExecSelected(), {"0=True", "1=False", "2=True"});
        const QStringList before = StoreFixtures::snapshot(store(), kSections);
        GeneralOptions options;
        options.load(store());
        QVERIFY(!options.addProgram(QString()));
        QVERIFY(options.removeProgram(0));
        QCOMPARE(options.programs(), (QList<GeneralOptions::Program>{{"b", false}, {"c", true}}));
        QCOMPARE(StoreFixtures::snapshot(store(), kSections), before);

        QVERIFY(options.save(store()));
        const QString list = SettingsLayout::ExecList() + " | ";
        const QString ticks = SettingsLayout::ExecSelected() + " | ";
        QCOMPARE(StoreFixtures::snapshot(store(), {SettingsLayout::ExecList(), SettingsLayout::ExecSelected()}),
                 (QStringList{list + "0 = b", list + "1 = c", ticks + "0 = False", ticks + "1 = True"}));
        QCOMPARE(store().GetSetting(kGeneral, "NumofEXE"), QString("2"));
    }

    // clang-format off
    void launchStyle_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("missing") << QString() << 1;
        QTest::newRow("6") << "6" << 6;
        QTest::newRow("5 is not offered") << "5" << 1;
        QTest::newRow("7") << "7" << 1;
        QTest::newRow("letters") << "max" << 1;
    }
    // clang-format on
    void launchStyle()
    {
        QFETCH(QString, stored);
        QFETCH(int, loaded);
        if (!stored.isNull())
            store().SaveSetting(kGeneral, "NumOfEXEStyle", stored);
        GeneralOptions options;
        options.load(store());
        QCOMPARE(options.launchStyle(), loaded);
        QCOMPARE(options.setLaunchStyle(stored.toInt()), stored.toInt() == loaded);
        QCOMPARE(options.launchStyle(), loaded);
    }

    // clang-format off
    void typedAmounts_data()
    {
        QTest::addColumn<Text>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("expected"); // seconds, or money in ten-thousandths
        QTest::newRow("seconds") << Text::AddTime << " 7 " << qint64(7);
        QTest::newRow("seconds negative") << Text::AddTime << "-5" << qint64(0);
        QTest::newRow("seconds over a day") << Text::AddTime << "999999" << qint64(86400);
        QTest::newRow("fee negative") << Text::AddCost << "-3" << qint64(0);
        QTest::newRow("minimum whole") << Text::MinCharge << "150" << qint64(1500000);
        QTest::newRow("minimum letters") << Text::MinCharge << "x" << qint64(0);
    }
    // clang-format on
    void typedAmounts()
    {
        QFETCH(Text, field);
        QFETCH(QString, typed);
        QFETCH(qint64, expected);
        GeneralOptions options;
        options.setText(field, typed);
        const qint64 value = field == Text::AddTime   ? qint64(options.addSeconds())
                             : field == Text::AddCost ? options.feeHundredths().raw()
                                                      : options.minimumChargeHundredths().raw();
        QCOMPARE(value, expected);
    }
};

QTEST_GUILESS_MAIN(TestGeneralOptions)
#include "tst_GeneralOptions.moc"