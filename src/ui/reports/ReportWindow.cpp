#include "reports/ReportWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include "composition/AppCore.h"
#include "desktop/DialogWidgets.h"
#include "reports/PrintLayout.h"
#include "reports/ReportGraphWindow.h"

using DialogWidgets::caption;
using DialogWidgets::named;
using DialogWidgets::newButton;

ReportWindow::ReportWindow(AppCore &core, PrinterPort &printer, QWidget *parent)
    : QWidget(parent, Qt::Window), m_core(core), m_viewer(core.logsFolder(), core.formats(), core.prompter(), printer)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("LineMinder - Report Tabel"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_title = named(caption(m_viewer.title(core.now()), this), QStringLiteral("Label1"));
    m_style = named(new QComboBox(this), QStringLiteral("ComboStyle"));
    m_style->addItems(ReportViewer::StyleNames());
    m_style->setPlaceholderText(QStringLiteral("Select Report Table Style"));
    m_style->setCurrentIndex(-1);
    m_provider = named(new QComboBox(this), QStringLiteral("Combo1"));
    m_provider->addItem(ReportTable::AllProviders());
    m_provider->addItems(core.providerNames());
    auto *display = newButton(QStringLiteral("Command1"), QStringLiteral("Display Report Table"), this);

    m_grid = named(new QTableView(this), QStringLiteral("Grid"));
    m_grid->setModel(&m_viewer.table());
    m_grid->setWordWrap(false);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A million rows: every row the same height, so the view never measures them.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->hide();

    m_counter = named(caption(QStringLiteral("0"), this), QStringLiteral("lblSelectedNum"));
    m_plot = newButton(QStringLiteral("cmdPlot"), QStringLiteral("Plot Graph"), this);
    m_print = newButton(QStringLiteral("cmdPrint"), QStringLiteral("Print Table"), this);
    m_export = newButton(QStringLiteral("cmdExport"), QStringLiteral("Export..."), this);
    m_delete = newButton(QStringLiteral("cmdDelete"), QStringLiteral("DeleteTable"), this);
    auto *close = newButton(QStringLiteral("cmdClose"), QStringLiteral("Close Table"), this);
    for (QPushButton *button : {m_plot, m_print, m_export, m_delete})
        button->setEnabled(false);
    m_plot->hide();

    auto *layout = new QGridLayout(this);
    layout->addWidget(m_title, 0, 0, 1, 4);
    layout->addWidget(named(caption(QStringLiteral("Select Report Table Style:"), this), QStringLiteral("Label2")), 1,
                      0);
    layout->addWidget(m_style, 2, 0);
    layout->addWidget(
        named(caption(QStringLiteral("Select Provider for Report Display:"), this), QStringLiteral("Label3")), 1, 1);
    layout->addWidget(m_provider, 2, 1);
    layout->addWidget(display, 2, 2);
    layout->addWidget(named(caption(QStringLiteral("(You can sort this table by clicking on it's headers)"), this),
                            QStringLiteral("lblSort")),
                      3, 0, 1, 4);
    layout->addWidget(m_grid, 4, 0, 1, 4);
    layout->setRowStretch(4, 1);
    layout->setColumnStretch(3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(named(caption(QStringLiteral("Selection Counter:"), this), QStringLiteral("Label5")));
    buttons->addWidget(m_counter);
    buttons->addStretch();
    for (QPushButton *button : {m_plot, m_print, m_export, m_delete, close})
        buttons->addWidget(button);
    layout->addLayout(buttons, 5, 0, 1, 4);
    resize(900, 560);
    setWindowFlag(Qt::WindowStaysOnTopHint, core.options().isChecked(GeneralOptions::Check::OnTop));

    connect(display, &QPushButton::clicked, this, &ReportWindow::Command1_Click);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &ReportWindow::Grid_HeaderClick);
    connect(m_grid, &QTableView::clicked, this, &ReportWindow::Grid_Click);
    connect(m_plot, &QPushButton::clicked, this, &ReportWindow::cmdPlot_Click);
    connect(m_print, &QPushButton::clicked, this, [this] { m_viewer.print(m_title->text()); });
    connect(m_export, &QPushButton::clicked, this, [this] { m_viewer.exportTable(m_title->text()); });
    connect(m_delete, &QPushButton::clicked, this, &ReportWindow::cmdDelete_Click);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void ReportWindow::Command1_Click()
{
    if (!m_viewer.display(m_style->currentIndex(), m_provider->currentText()))
        return;
    fitColumns();
    m_grid->show();
    m_plot->setVisible(m_viewer.showsPlot());
    for (QPushButton *button : {m_print, m_export, m_delete})
        button->setEnabled(true);
    showCounter();
}

void ReportWindow::fitColumns()
{
    const QFontMetrics header(m_grid->horizontalHeader()->font());
    const QFontMetrics cells(m_grid->font());
    const int padding = PrintLayout::TwipsToDevice(PrintLayout::kColumnPaddingTwips, logicalDpiX());
    const ReportTable &table = m_viewer.table();
    for (int column = 0; column < table.columnCount(); ++column) {
        const int width = std::max(header.horizontalAdvance(QStringLiteral(">> ") + table.headerText(column)),
                                   cells.horizontalAdvance(table.longestText(column)));
        m_grid->horizontalHeader()->resizeSection(column, width + padding);
    }
}

void ReportWindow::Grid_HeaderClick(int column)
{
    m_viewer.table().sortByColumn(column);
}

void ReportWindow::Grid_Click(const QModelIndex &index)
{
    m_viewer.clickCell(index.row(), index.column());
    showCounter();
}

void ReportWindow::showCounter()
{
    m_counter->setText(m_viewer.counterText());
    m_plot->setEnabled(m_viewer.table().canPlot());
}

void ReportWindow::cmdPlot_Click()
{
    auto *graph = new ReportGraphWindow(
        ReportPlot::FromRows(m_viewer.table().style(), m_viewer.plottedDates(), m_viewer.plottedTimes()),
        m_core.prompter());
    graph->show();
}

void ReportWindow::cmdDelete_Click()
{
    if (m_viewer.deleteTable())
        close();
}
