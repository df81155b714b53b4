#pragma once

#include "platform/TrayIcon.h"

#include <QStringList>

// Records the platform calls ("add:<tip>", "tip:<tip>", "remove", "message:<title>|<text>")
// and lets a test click the icon.
class FakeTrayIcon final : public TrayIcon
{
    Q_OBJECT
public:
    explicit FakeTrayIcon(QObject *parent = nullptr) : TrayIcon(parent) {}

    bool isAvailable() const override { return m_available; }
    void setAvailable(bool available) { m_available = available; }

    QStringList calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }

    // Clicks reach the owner only while the icon is shown, as on a desktop.
    void click();
    void rightClick(QPoint globalPos);

protected:
    void addIcon(const QString &tip) override { m_calls << QStringLiteral("add:") + tip; }
    void changeTip(const QString &tip) override { m_calls << QStringLiteral("tip:") + tip; }
    void removeIcon() override { m_calls << QStringLiteral("remove"); }
    void notify(const QString &title, const QString &text) override
    {
        m_calls << QStringLiteral("message:%1|%2").arg(title, text);
    }

private:
    bool m_available = true;
    QStringList m_calls;
};
