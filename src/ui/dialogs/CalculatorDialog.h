#pragma once

#include <QDialog>

#include <array>

#include "accounting/CostCalculator.h"

class GeneralOptions;
class QLabel;
class QSpinBox;

// frmCalculator: works out a cost per minute from what a stretch of online time cost, for the
// call's cost and an additive cost, and their sum. It reads no tariff and stores nothing.
class CalculatorDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CalculatorDialog(const GeneralOptions &options, QWidget *parent = nullptr);

signals:
    // cmdPreview: the user wants to see what a call would cost.
    void previewRequested();

private:
    using Frames = std::array<QSpinBox *, CostCalculator::kFrames>;

    QWidget *buildFrame(int frame);
    // A time box changed; a refused time is put back to the one the figures use.
    void timeChanged(int frame, QSpinBox *box, bool accepted);
    void showFigures();

    CostCalculator m_calculator;
    Frames m_hours{};
    Frames m_minutes{};
    std::array<QLabel *, CostCalculator::kFrames> m_perMinute{};
    QLabel *m_total = nullptr;
};
