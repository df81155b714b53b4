#pragma once

#include <QWidget>

#include "reports/ReportPlot.h"

class Prompter;

// "frmReportGraphPlot": the bar chart of the rows marked in the report window. It keeps its
// own copy of the plot, so it outlives the report window and closing it changes nothing
// there. The chart fills the window and is scaled to its size; the texts keep their point
// size. The context menu (and Ctrl+S) saves the chart as a PNG picture. Deletes itself when
// closed.
class ReportGraphWindow final : public QWidget
{
    Q_OBJECT
public:
    ReportGraphWindow(ReportPlot plot, Prompter &prompter, QWidget *parent = nullptr);

    const ReportPlot &plot() const { return m_plot; }

public slots:
    // Asks for a file name and writes the chart as it is shown now; a failure is told.
    void cmdSavePng_Click();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ReportPlot m_plot;
    Prompter &m_prompter;
};
