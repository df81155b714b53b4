#include "info/SplashWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include "desktop/AppIcon.h"
#include "platform/ProgramName.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

namespace {

constexpr QSize kPictureSize(400, 220);

QPixmap drawSplash(qreal devicePixelRatio)
{
    QPixmap pixmap(kPictureSize * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const QRect area(QPoint(0, 0), kPictureSize);
    QLinearGradient background(area.topLeft(), area.bottomLeft());
    background.setColorAt(0, QColor(0x2b, 0x4f, 0x8c));
    background.setColorAt(1, QColor(0x12, 0x24, 0x44));
    painter.fillRect(area, background);
    painter.setPen(QPen(QColor(0xf2, 0xa9, 0x00), 2));
    painter.drawRect(area.adjusted(1, 1, -2, -2));

    painter.drawPixmap(QPoint(24, 56), AppIconPixmap(96, devicePixelRatio));

    const QRect text(136, 40, kPictureSize.width() - 150, kPictureSize.height() - 60);
    QFont font = painter.font();
    font.setPixelSize(36);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(text.adjusted(0, 0, 0, -100), Qt::AlignLeft | Qt::AlignBottom, ProgramName());

    font.setPixelSize(15);
    font.setBold(false);
    painter.setFont(font);
    painter.setPen(QColor(0xf2, 0xa9, 0x00));
    painter.drawText(text.adjusted(0, 70, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     QStringLiteral("Dial-up time and cost monitor"));

    const QString version = QCoreApplication::applicationVersion();
    if (!version.isEmpty()) {
        font.setPixelSize(12);
        painter.setFont(font);
        painter.setPen(QColor(0xc8, 0xd2, 0xe6));
        painter.drawText(text.adjusted(0, 110, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("Version %1").arg(version));
    }
    return pixmap;
}

} // namespace

QString SplashWindow::StoredShowSplash(const SettingsStore &store)
{
    return store.GetSetting(SettingsLayout::GeneralSettings(), QLatin1String(SettingsLayout::Key::ShowSplash),
                            QStringLiteral("1"));
}

bool SplashWindow::WantsSplash(const QString &showSplash)
{
    // Any other text than "0" shows the splash and, like "1", ends in the main window:
    // a value the check box never writes must not leave the program without a window.
    return showSplash != QLatin1String("0");
}

SplashWindow::SplashWindow(int showMs, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_picture(new QLabel(this))
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(ProgramName());

    m_picture->setObjectName(QStringLiteral("Picture1"));
    const qreal ratio = qApp->devicePixelRatio();
    m_picture->setPixmap(drawSplash(ratio));
    // The picture sits at the left edge and the window takes its size.
    m_picture->setFixedSize(kPictureSize);
    m_picture->move(0, 0);
    setFixedSize(kPictureSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_timer.setSingleShot(true);
    m_timer.setInterval(std::max(showMs, 0));
    connect(&m_timer, &QTimer::timeout, this, &SplashWindow::finish);
}

void SplashWindow::start(const QString &showSplash, const std::function<void()> &loadMain,
                         std::function<void()> showMain)
{
    if (m_started)
        return;
    m_started = true;
    m_showMain = std::move(showMain);
    m_waiting = true;
    if (!WantsSplash(showSplash)) {
        if (loadMain)
            loadMain();
        complete();
        return;
    }
    show();
    m_loading = true;
    // Lets the splash appear before the main window takes its time to load.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (loadMain)
        loadMain();
    m_loading = false;
    if (m_endRequested)
        finish();
    else
        m_timer.start();
}

void SplashWindow::finish()
{
    if (!m_waiting)
        return;
    // The main window cannot be shown before it exists.
    if (m_loading) {
        m_endRequested = true;
        return;
    }
    complete();
    close();
}

void SplashWindow::closeEvent(QCloseEvent *event)
{
    if (m_loading) {
        m_endRequested = true;
        event->ignore();
        return;
    }
    // Closed before its time (by the window manager or the user): the main window must
    // still appear, or the program would run with no window at all.
    complete();
    QWidget::closeEvent(event);
}

void SplashWindow::complete()
{
    if (!m_waiting)
        return;
    m_waiting = false;
    m_timer.stop();
    if (m_showMain)
        m_showMain();
    emit finished();
}
