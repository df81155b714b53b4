#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

// The program's icon in the desktop's tray. This base keeps the icon's state and the tip
// rule; a backend only performs the platform calls. Clicks reach the owner as signals.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    // The tip held 64 bytes including its NUL.
    static constexpr qsizetype kMaxTipLength = 63;
    // Cut to kMaxTipLength, never inside a surrogate pair.
    static QString FitTip(const QString &text);

    explicit TrayIcon(QObject *parent = nullptr);

    // Whether the desktop shows tray icons at all. Without one, a window hidden "to the
    // tray" could never be brought back, so the caller must keep it on screen.
    virtual bool isAvailable() const = 0;

    // Shows the icon (once; a second add only changes the tip). Returns isAvailable().
    bool add(const QString &tip);
    // Changes the tip of a shown icon; otherwise only remembered.
    void setTip(const QString &text);
    // Harmless when the icon is not shown.
    void remove();
    // A balloon/notification from the icon (alarms while the window is hidden). False when
    // the icon is not shown, so the caller can tell the user another way.
    bool showMessage(const QString &title, const QString &text);

    bool isAdded() const { return m_added; }
    QString tip() const { return m_tip; }

signals:
    void leftClicked();
    void rightClicked(QPoint globalPos);

protected:
    virtual void addIcon(const QString &tip) = 0;
    virtual void changeTip(const QString &tip) = 0;
    virtual void removeIcon() = 0;
    virtual void notify(const QString &title, const QString &text) = 0;

private:
    bool m_added = false;
    QString m_tip;
};
