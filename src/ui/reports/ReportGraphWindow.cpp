#include "reports/ReportGraphWindow.h"

#include <QAction>
#include <QDir>
#include <QImageWriter>
#include <QPainter>

#include "platform/Prompter.h"

namespace {

// The chart's text face: Times New Roman where it is installed, else the serif face fontconfig
// offers for it.
QFont chartFont(int pointSize)
{
    QFont font(QStringLiteral("times new roman"));
    font.setStyleHint(QFont::Serif);
    font.setPointSize(pointSize);
    return font;
}

// Draws text at its anchor, already mapped to device pixels, with the painter unscaled.
void drawAnchored(QPainter &painter, const ChartText &text, QPointF at)
{
    constexpr qreal kRoom = 4000; // far more than any text needs; the text is never clipped
    QRectF box(0, 0, kRoom, kRoom);
    Qt::Alignment align;
    switch (text.anchor) {
    case ChartText::Anchor::Centre:
        box.moveCenter(at);
        align = Qt::AlignCenter;
        break;
    case ChartText::Anchor::BottomAt:
        box.moveCenter(at);
        box.moveBottom(at.y());
        align = Qt::AlignHCenter | Qt::AlignBottom;
        break;
    case ChartText::Anchor::RightEndAt:
        box.moveCenter(at);
        box.moveRight(at.x());
        align = Qt::AlignRight | Qt::AlignVCenter;
        break;
    }
    painter.setFont(chartFont(text.pointSize));
    painter.drawText(box, static_cast<int>(align.toInt()) | Qt::TextDontClip | Qt::TextSingleLine, text.text);
}

} // namespace

ReportGraphWindow::ReportGraphWindow(ReportPlot plot, Prompter &prompter, QWidget *parent)
    : QWidget(parent, Qt::Window), m_plot(std::move(plot)), m_prompter(prompter)
{
    setObjectName(QStringLiteral("frmReportGraphPlot"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Report Graph"));
    if (!m_plot.title().isEmpty())
        setWindowTitle(m_plot.title());
    resize(m_plot.logicalWidth(), ReportPlot::kChartHeight);

    auto *save = new QAction(QStringLiteral("Save as PNG..."), this);
    save->setObjectName(QStringLiteral("cmdSavePng"));
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, &ReportGraphWindow::cmdSavePng_Click);
    addAction(save);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ReportGraphWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setWindow(0, 0, m_plot.logicalWidth(), ReportPlot::kChartHeight);
    painter.setViewport(rect());

    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(ReportPlot::kAxisX, ReportPlot::kAxisY, m_plot.axisEnd(), ReportPlot::kAxisY);
    painter.drawLine(ReportPlot::kAxisX, ReportPlot::kAxisTop, ReportPlot::kAxisX, ReportPlot::kAxisY);

    for (const ChartBar &bar : m_plot.bars()) {
        const QColor colour(bar.colour.red, bar.colour.green, bar.colour.blue);
        painter.setPen(QPen(colour, 1));
        painter.setBrush(colour);
        painter.drawRect(QRectF(QPointF(bar.left, bar.top), QPointF(bar.right, bar.bottom)).normalized());
    }

    const QTransform toDevice = painter.combinedTransform();
    painter.setViewTransformEnabled(false);
    painter.setPen(Qt::black);
    for (const ChartText &text : m_plot.texts())
        drawAnchored(painter, text, toDevice.map(QPointF(text.x, text.y)));
}

void ReportGraphWindow::cmdSavePng_Click()
{
    const QString path = m_prompter.chooseSaveFile(QStringLiteral("Save as PNG"), QStringLiteral("PNG picture (*.png)"),
                                                   QStringLiteral("png"));
    if (path.isEmpty())
        return;
    QImageWriter writer(path, "png");
    if (!writer.write(grab().toImage()))
        m_prompter.fail(QStringLiteral("The graph could not be saved as %1: %2")
                            .arg(QDir::toNativeSeparators(path), writer.errorString()));
}
