#include "settings/GeneralOptions.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "support/TempHome.h"

using Check = GeneralOptions::Check;
using Text = GeneralOptions::Text;
using Program = GeneralOptions::Program;

namespace {

const QString kGeneral = SettingsLayout::GeneralSettings();

QStringList snapshot(const SettingsStore &store, const QStringList &sections)
{
    QStringList lines;
    for (const QString &section : sections) {
        for (const auto &[key, value] : store.GetAllSettings(section))
            lines << section + " | " + key + " = " + value;
    }
    return lines;
}

QStringList optionSections()
{
    return {kGeneral, SettingsLayout::LogSettings(), SettingsLayout::ExecList(), SettingsLayout::ExecSelected()};
}

QStringList paths(const QList<Program> &programs)
{
    QStringList list;
    for (const Program &program : programs)
        list << program.path;
    return list;
}

} // namespace

class TestGeneralOptions : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempHome> m_home;
    std::unique_ptr<SettingsStore> m_store;
    SettingsStore &store() { return *m_store; }

    void storePrograms(const QStringList &programPaths)
    {
        GeneralOptions options;
        options.load(store());
        for (const QString &path : programPaths)
            options.addProgram(path);
        for (int i = 0; i < programPaths.size(); i += 2)
            options.setProgramTicked(i, true);
        QVERIFY(options.save(store()));
    }

private slots:
    void init()
    {
        m_home = std::make_unique<TempHome>();
        QVERIFY(m_home->isValid());
        m_store = std::make_unique<SettingsStore>(m_home->locations().settingsDatabase());
        QVERIFY(m_store->isOpen());
    }
    void cleanup()
    {
        m_store.reset();
        m_home.reset();
    }

    // Splash on, everything else off, normal minimizing, one shared log, no log items,
    // no programs, "Normal with Focus".
    void defaultsOnEmptyStore()
    {
        GeneralOptions options;
        QSignalSpy changed(&options, &GeneralOptions::changed);
        options.load(store());
        QCOMPARE(changed.size(), 1);
        for (int i = 0; i < int(Check::Count_); ++i)
            QCOMPARE(options.isChecked(Check(i)), Check(i) == Check::ShowSplash);
        QVERIFY(!options.minimizeToTray());
        QVERIFY(!options.separateLogs());
        for (int n = 1; n <= GeneralOptions::kLogItems; ++n)
            QVERIFY(!options.logItem(n));
        QCOMPARE(options.programCount(), 0);
        QCOMPARE(options.launchStyle(), 1);
        QCOMPARE(options.text(Text::AddCost), QString("0"));
        QCOMPARE(options.text(Text::AddTime), QString("0"));
        QCOMPARE(options.text(Text::MinCharge), QString("0"));
        QCOMPARE(options.text(Text::Sound1), QString());
        QCOMPARE(options.addSeconds(), 0u);
    }

    // Each check box comes from its own key and from no other.
    void loadsEachCheckBoxFromItsKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<Check>("check");
        QTest::newRow("AddCost") << "AddCost" << Check::AddCost;
        QTest::newRow("AddTime") << "AddTime" << Check::AddTime;
        QTest::newRow("AddMinCharge") << "AddMinCharge" << Check::MinCharge;
        QTest::newRow("chkSound1") << "chkSound1" << Check::Sound1;
        QTest::newRow("ShowDUNStats") << "ShowDUNStats" << Check::DisplayDUNStats;
        QTest::newRow("chkSound2") << "chkSound2" << Check::Sound2;
        QTest::newRow("Minimize Conn") << "Minimize Conn" << Check::Minimize;
        QTest::newRow("StartMini") << "StartMini" << Check::StartMini;
        QTest::newRow("OnTop") << "OnTop" << Check::OnTop;
        QTest::newRow("StartUp") << "StartUp" << Check::StartUp;
        QTest::newRow("SavePos") << "SavePos" << Check::Position;
    }
    void loadsEachCheckBoxFromItsKey()
    {
        QFETCH(QString, key);
        QFETCH(Check, check);
        store().SaveSetting(kGeneral, key, "1");
        store().SaveSetting(kGeneral, "ShowSplash", "0");
        GeneralOptions options;
        options.load(store());
        for (int i = 0; i < int(Check::Count_); ++i)
            QCOMPARE(options.isChecked(Check(i)), Check(i) == check);
    }

    // Option buttons are stored as "True"/"False" but read from numbers too.
    void readsOptionButtons_data()
    {
        QTest::addColumn<QString>("minTray");
        QTest::addColumn<QString>("secondLog");
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("separate");
        QTest::newRow("True") << "True"
                              << "True" << true << true;
        QTest::newRow("1") << "1"
                           << "1" << true << true;
        QTest::newRow("-1") << "-1"
                            << "-1" << true << true;
        QTest::newRow("false") << "false"
                               << "False" << false << false;
        QTest::newRow("0") << "0"
                           << "0" << false << false;
        QTest::newRow("no truth value") << "yes"
                                        << "maybe" << false << false;
    }
    void readsOptionButtons()
    {
        QFETCH(QString, minTray);
        QFETCH(QString, secondLog);
        QFETCH(bool, tray);
        QFETCH(bool, separate);
        store().SaveSetting(kGeneral, "MinTray", minTray);
        store().SaveSetting(SettingsLayout::LogSettings(), "2 Log", secondLog);
        GeneralOptions options;
        options.load(store());
        QCOMPARE(options.minimizeToTray(), tray);
        QCOMPARE(options.separateLogs(), separate);
    }

    void storedTexts_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::newRow("check box ticked") << kGeneral << "AddCost"
                                          << "1";
        QTest::newRow("check box cleared") << kGeneral << "OnTop"
                                           << "0";
        QTest::newRow("splash") << kGeneral << "ShowSplash"
                                << "0";
        QTest::newRow("fee text") << kGeneral << "AddCostTxt"
                                  << "150";
        QTest::newRow("seconds text") << kGeneral << "AddTimeTxT"
                                      << "12";
        QTest::newRow("minimum text") << kGeneral << "AddMinChargeTxT"
                                      << "75";
        QTest::newRow("sound 2") << kGeneral << "Sound2"
                                 << "/snd/bye.wav";
        QTest::newRow("tray") << kGeneral << "MinTray"
                              << "True";
        QTest::newRow("normal") << kGeneral << "MinNormal"
                                << "False";
        QTest::newRow("count") << kGeneral << "NumofEXE"
                               << "0";
        QTest::newRow("style") << kGeneral << "NumofEXEStyle"
                               << "6";
        QTest::newRow("shared log") << SettingsLayout::LogSettings() << "1 Log"
                                    << "False";
        QTest::newRow("separate logs") << SettingsLayout::LogSettings() << "2 Log"
                                       << "True";
        QTest::newRow("log item 11") << SettingsLayout::LogSettings() << "11"
                                     << "1";
        QTest::newRow("log item 1") << SettingsLayout::LogSettings() << "1"
                                    << "0";
    }
    void storedTexts()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        GeneralOptions options;
        options.load(store());
        options.setChecked(Check::AddCost, true);
        options.setChecked(Check::ShowSplash, false);
        options.setText(Text::AddCost, "150");
        options.setText(Text::AddTime, "12");
        options.setText(Text::MinCharge, "75");
        options.setText(Text::Sound2, "/snd/bye.wav");
        options.setMinimizeToTray(true);
        options.setSeparateLogs(true);
        options.setLogItem(11, true);
        QVERIFY(options.setLaunchStyle(6));
        QVERIFY(options.save(store()));
        QCOMPARE(store().GetSetting(section, key, "missing"), stored);
    }

    void loadSaveLoadLeavesStoreUnchanged()
    {
        SettingsStore &s = store();
        const QStringList general{
            "AddCost",       "1", "AddTime",         "1",           "AddCostTxt", "150", "AddTimeTxT", "10",
            "AddMinCharge",  "0", "AddMinChargeTxT", "75",          "ShowSplash", "0",   "chkSound1",  "1",
            "ShowDUNStats",  "1", "Sound1",          "/snd/hi.wav", "chkSound2",  "0",   "Sound2",     "/snd/bye.wav",
            "Minimize Conn", "1", "StartMini",       "0",           "OnTop",      "1"};
        for (int i = 0; i < general.size(); i += 2)
            s.SaveSetting(kGeneral, general[i], general[i + 1]);
        for (int n = 1; n <= 11; ++n)
            s.SaveSetting(SettingsLayout::LogSettings(), QString::number(n), n % 3 ? "1" : "0");
        s.SaveSetting(SettingsLayout::LogSettings(), "1 Log", "False");
        s.SaveSetting(SettingsLayout::LogSettings(), "2 Log", "True");
        const QStringList rest{"StartUp", "1", "MinTray",  "True", "MinNormal",     "False",
                               "SavePos", "1", "NumofEXE", "2",    "NumofEXEStyle", "4"};
        for (int i = 0; i < rest.size(); i += 2)
            s.SaveSetting(kGeneral, rest[i], rest[i + 1]);
        s.SaveSetting(SettingsLayout::ExecList(), "0", "/usr/bin/firefox");
        s.SaveSetting(SettingsLayout::ExecList(), "1", "/usr/bin/thunderbird --offline");
        s.SaveSetting(SettingsLayout::ExecSelected(), "0", "False");
        s.SaveSetting(SettingsLayout::ExecSelected(), "1", "True");

        const QStringList before = snapshot(s, optionSections());
        GeneralOptions options;
        options.load(s);
        QVERIFY(options.save(s));
        QCOMPARE(snapshot(s, optionSections()), before);
    }

    void programListPairsPathsAndTicksByPosition_data()
    {
        QTest::addColumn<QStringList>("ticks"); // values of Exec Selected under "0", "1", ...
        QTest::addColumn<QList<bool>>("expected");
        QTest::newRow("all ticks") << QStringList{"True", "False", "1"} << QList<bool>{true, false, true};
        QTest::newRow("short tick section") << QStringList{"True"} << QList<bool>{true, false, false};
        QTest::newRow("no tick section") << QStringList{} << QList<bool>{false, false, false};
    }
    void programListPairsPathsAndTicksByPosition()
    {
        QFETCH(QStringList, ticks);
        QFETCH(QList<bool>, expected);
        for (int i = 0; i < 3; ++i)
            store().SaveSetting(SettingsLayout::ExecList(), QString::number(i), "prog" + QString::number(i));
        for (int i = 0; i < ticks.size(); ++i)
            store().SaveSetting(SettingsLayout::ExecSelected(), QString::number(i), ticks[i]);
        GeneralOptions options;
        options.load(store());
        QCOMPARE(options.programCount(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(options.programs()[i], (Program{"prog" + QString::number(i), expected[i]}));
    }

    void shrinkingProgramListLeavesNoStaleEntries_data()
    {
        QTest::addColumn<int>("removed");
        QTest::addColumn<QStringList>("remaining");
        QTest::addColumn<QStringList>("ticks");
        QTest::newRow("first") << 0 << QStringList{"b", "c"} << QStringList{"False", "True"};
        QTest::newRow("last") << 2 << QStringList{"a", "b"} << QStringList{"True", "False"};
        QTest::newRow("no selection") << -1 << QStringList{"a", "b", "c"} << QStringList{"True", "False", "True"};
    }
    void shrinkingProgramListLeavesNoStaleEntries()
    {
        QFETCH(int, removed);
        QFETCH(QStringList, remaining);
        QFETCH(QStringList, ticks);
        storePrograms({"a", "b", "c"});
        GeneralOptions options;
        options.load(store());
        QCOMPARE(options.removeProgram(removed), removed >= 0);
        QVERIFY(options.save(store()));

        QStringList storedPaths;
        QStringList storedTicks;
        for (const auto &[key, value] : store().GetAllSettings(SettingsLayout::ExecList())) {
            QCOMPARE(key, QString::number(storedPaths.size()));
            storedPaths << value;
        }
        for (const auto &[key, value] : store().GetAllSettings(SettingsLayout::ExecSelected()))
            storedTicks << value;
        QCOMPARE(storedPaths, remaining);
        QCOMPARE(storedTicks, ticks);
        QCOMPARE(store().GetSetting(kGeneral, "NumofEXE"), QString::number(remaining.size()));
    }

    // Adding or removing a program stores nothing until OK: Cancel keeps the stored list.
    void programChangesAreKeptUntilSaved()
    {
        storePrograms({"a", "b"});
        const QStringList before = snapshot(store(), optionSections());
        GeneralOptions options;
        options.load(store());
        QVERIFY(!options.addProgram(QString()));
        QVERIFY(options.addProgram("c"));
        QVERIFY(options.removeProgram(0));
        QCOMPARE(paths(options.programs()), (QStringList{"b", "c"}));
        QVERIFY(!options.programs().last().ticked);
        QCOMPARE(snapshot(store(), optionSections()), before);
    }

    void launchStyle_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("missing") << QString() << 1;
        QTest::newRow("2") << "2" << 2;
        QTest::newRow("4") << "4" << 4;
        QTest::newRow("6") << "6" << 6;
        QTest::newRow("5 is not offered") << "5" << 1;
        QTest::newRow("0") << "0" << 1;
        QTest::newRow("7") << "7" << 1;
        QTest::newRow("letters") << "max" << 1;
    }
    void launchStyle()
    {
        QFETCH(QString, stored);
        QFETCH(int, loaded);
        if (!stored.isNull())
            store().SaveSetting(kGeneral, "NumOfEXEStyle", stored);
        GeneralOptions options;
        options.load(store());
        QCOMPARE(options.launchStyle(), loaded);
        const int wanted = stored.toInt();
        QCOMPARE(options.setLaunchStyle(wanted), GeneralOptions::isLaunchStyle(wanted));
        QCOMPARE(options.launchStyle(), GeneralOptions::isLaunchStyle(wanted) ? wanted : loaded);
    }

    void addedSeconds_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<quint32>("seconds");
        QTest::newRow("10") << "10" << 10u;
        QTest::newRow("blanks") << " 7 " << 7u;
        QTest::newRow("negative") << "-5" << 0u;
        QTest::newRow("letters") << "ten" << 0u;
        QTest::newRow("empty") << "" << 0u;
        QTest::newRow("fraction") << "1.5" << 0u;
        QTest::newRow("more than a day") << "999999" << 86400u;
    }
    void addedSeconds()
    {
        QFETCH(QString, typed);
        QFETCH(quint32, seconds);
        GeneralOptions options;
        options.setText(Text::AddTime, typed);
        QCOMPARE(options.addSeconds(), seconds);
    }

    void feeAndMinimumCharge_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<qint64>("raw");
        QTest::newRow("whole") << "150" << qint64(1500000);
        QTest::newRow("decimal") << "12.5" << qint64(125000);
        QTest::newRow("negative") << "-3" << qint64(0);
        QTest::newRow("letters") << "x" << qint64(0);
        QTest::newRow("empty") << "" << qint64(0);
    }
    void feeAndMinimumCharge()
    {
        QFETCH(QString, typed);
        QFETCH(qint64, raw);
        GeneralOptions options;
        options.setText(Text::AddCost, typed);
        options.setText(Text::MinCharge, typed);
        QCOMPARE(options.feeHundredths(), Money::fromRaw(raw));
        QCOMPARE(options.minimumChargeHundredths(), Money::fromRaw(raw));
    }
};

QTEST_GUILESS_MAIN(TestGeneralOptions)
#include "tst_GeneralOptions.moc"
