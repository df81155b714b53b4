#pragma once

#include <QWidget>

#include "reports/ReportViewer.h"

class AppCore;
class PrinterPort;
class QComboBox;
class QLabel;
class QModelIndex;
class QPushButton;
class QTableView;

// "frmReport": one of the report tables in a grid, for all providers or one, sorted by a
// header click, rows marked for a graph by a click on their first cell, printed, exported
// or emptied. The behaviour is the core's ReportViewer; this window lays out its controls.
class ReportWindow final : public QWidget
{
    Q_OBJECT
public:
    ReportWindow(AppCore &core, PrinterPort &printer, QWidget *parent = nullptr);

    ReportViewer &viewer() { return m_viewer; }

private:
    void Command1_Click();
    void Grid_HeaderClick(int column);
    void Grid_Click(const QModelIndex &index);
    void cmdPlot_Click();
    void cmdDelete_Click();
    // Each column as wide as its header (with room for the sort marker) or its longest
    // text, plus the padding; the longest texts are found by length, not by measuring all.
    void fitColumns();
    void showCounter();

    AppCore &m_core;
    ReportViewer m_viewer;
    QLabel *m_title = nullptr;
    QComboBox *m_style = nullptr;
    QComboBox *m_provider = nullptr;
    QTableView *m_grid = nullptr;
    QLabel *m_counter = nullptr;
    QPushButton *m_plot = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_export = nullptr;
};
