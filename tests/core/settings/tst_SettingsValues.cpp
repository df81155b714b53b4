#include "settings/SettingsValues.h"

#include <QTest>

#include "support/StoreFixtures.h"
#include "support/TempHome.h"

namespace {

// Two sections, as ProviderProfile has several; the same rules serve GeneralOptions.
constexpr SettingsValues::Field kChecks[] = {{"chkA", 0, "A", "0"}, {"chkB", 1, "B", "1"}};
constexpr SettingsValues::Field kTexts[] = {{"txtC", 1, "C", "15"}, {"txtD", 0, "D", ""}};
const QStringList kSections{"One", "One\\Two"};

} // namespace

class TestSettingsValues : public QObject
{
    Q_OBJECT

private slots:
    // A tick is read by the store's truth rule; a missing key gives the initial text.
    // Columns: the stored A and C (null: missing), then the loaded values, then as saved.
    // clang-format off
    void loadsAndSaves_data()
    {
        QTest::addColumn<QString>("storedA");
        QTest::addColumn<QString>("storedC");
        QTest::addColumn<QStringList>("saved");
        QTest::newRow("missing") << QString() << QString() << QStringList{"One | D = ", "One | A = 0", "One\\Two | B = 1", "One\\Two | C = 15"};
        QTest::newRow("True, empty text") << "True" << "" << QStringList{"One | A = 1", "One | D = ", "One\\Two | C = ", "One\\Two | B = 1"};
        QTest::newRow("word, blanks kept") << "yes" << " 7 " << QStringList{"One | A = 0", "One | D = ", "One\\Two | C =  7 ", "One\\Two | B = 1"};
    }
    // clang-format on
    void loadsAndSaves()
    {
        QFETCH(QString, storedA);
        QFETCH(QString, storedC);
        QFETCH(QStringList, saved);
        TempStore temp;
        if (!storedA.isNull())
            temp.store.SaveSetting("One", "A", storedA);
        if (!storedC.isNull())
            temp.store.SaveSetting("One\\Two", "C", storedC);
        SettingsValues values(kChecks, kTexts);
        QVERIFY(values.setChecked(1, false) && !values.setChecked(1, false));
        QVERIFY(values.setText(1, "d") && !values.setText(1, "d"));
        values.load(temp.store, kSections);
        for (int i : {1, 0}) {
            values.saveCheck(temp.store, kSections, i);
            values.saveText(temp.store, kSections, i);
        }
        QCOMPARE(StoreFixtures::snapshot(temp.store, kSections), saved);
        values.setChecked(0, true);
        values.reset();
        QVERIFY(!values.isChecked(0) && values.isChecked(1) && values.text(0) == "15");
    }
};

QTEST_GUILESS_MAIN(TestSettingsValues)
#include "tst_SettingsValues.moc"
