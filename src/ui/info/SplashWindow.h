#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

class QLabel;
class SettingsStore;

// "frmSplash": the first window. It shows the splash picture ("Picture1") while the main
// window is created hidden, and after kShowMs shows the main window and closes itself.
// With ShowSplash "0" the main window is shown at once and the splash is never seen.
class SplashWindow final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kShowMs = 2000;

    // "General Settings" / "ShowSplash" as stored; "1" when missing.
    static QString StoredShowSplash(const SettingsStore &store);
    // Only "0" turns the splash off; any other text shows it.
    static bool WantsSplash(const QString &showSplash);

    // showMs is how long the splash stays up (a monotonic timer, unaffected by the wall clock).
    explicit SplashWindow(int showMs = kShowMs, QWidget *parent = nullptr);

    // loadMain creates the main window without showing it (may be empty when it exists
    // already); showMain shows it. Both run once; a second start() is ignored.
    void start(const QString &showSplash, const std::function<void()> &loadMain, std::function<void()> showMain);

    // Whether the splash is up and the main window not yet shown.
    bool isWaiting() const { return m_waiting; }

public slots:
    // Ends the splash now: shows the main window and closes the splash. Does nothing when
    // the splash is not waiting.
    void finish();

signals:
    // The main window has been shown.
    void finished();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void complete();

    QLabel *m_picture;
    QTimer m_timer;
    std::function<void()> m_showMain;
    bool m_started = false;
    bool m_waiting = false;
    bool m_loading = false;
    bool m_endRequested = false;
};
