#include "dialogs/CalculatorDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include "settings/GeneralOptions.h"

class TestCalculatorDialog : public QObject
{
    Q_OBJECT

private slots:
    // Steps "control=value" type a cost or set a time box; then what every box and figure shows.
    // clang-format off
    void stepsRecalculate_data()
    {
        QTest::addColumn<bool>("onTop");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("shown");
        QTest::newRow("opens empty, on top") << true << "" << "0.0000 0 0 0.0000 0.0000 0 0 0.0000 0.0000";
        QTest::newRow("typing") << false << "txtCost=12 txtHour0=1 txtMinute0=30 txtAddCost=0.05 txtMinute1=1" << "12 1 30 0.1333 0.05 0 1 0.0500 0.1833";
        QTest::newRow("hours change") << false << "txtCost=6 txtMinute0=30 txtHour0=1" << "6 1 30 0.0667 0.0000 0 0 0.0000 0.0667";
        QTest::newRow("refused time put back") << false << "txtAddCost=8 txtMinute1=8 txtHour1=546" << "0.0000 0 0 0.0000 8 0 8 1.0000 1.0000";
    }
    // clang-format on
    void stepsRecalculate()
    {
        QFETCH(bool, onTop);
        QFETCH(QString, steps);
        GeneralOptions options;
        options.setChecked(GeneralOptions::Check::OnTop, onTop);
        CalculatorDialog dialog(options);
        QCOMPARE(dialog.objectName() + ": " + dialog.windowTitle(), QString("frmCalculator: Tariff Calculator"));
        QCOMPARE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
            const QString name = step.section('=', 0, 0);
            if (auto *spin = dialog.findChild<QSpinBox *>(name)) {
                spin->setValue(step.section('=', 1).toInt());
            } else {
                dialog.findChild<QLineEdit *>(name)->clear();
                QTest::keyClicks(dialog.findChild<QLineEdit *>(name), step.section('=', 1));
            }
        }
        QStringList shown;
        for (const char *name : {"txtCost", "txtHour0", "txtMinute0", "lblMinuteCost", "txtAddCost", "txtHour1",
                                 "txtMinute1", "lblMinuteAddCost", "lblTotalCost"}) {
            const QObject *control = dialog.findChild<QObject *>(name);
            shown << (control ? control->property(control->inherits("QSpinBox") ? "value" : "text").toString()
                              : "missing");
        }
        QTEST(shown.join(' '), "shown");
        for (const auto *label : dialog.findChildren<QLabel *>())
            QVERIFY(!label->text().isEmpty());
        QSignalSpy preview(&dialog, &CalculatorDialog::previewRequested);
        dialog.findChild<QPushButton *>("cmdPreview")->click();
        QCOMPARE(preview.count(), 1);
    }
};

QTEST_MAIN(TestCalculatorDialog)
#include "tst_CalculatorDialog.moc"
