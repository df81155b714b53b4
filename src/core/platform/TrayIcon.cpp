#include "platform/TrayIcon.h"

QString TrayIcon::FitTip(const QString &text)
{
    if (text.size() <= kMaxTipLength)
        return text;
    qsizetype length = kMaxTipLength;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

TrayIcon::TrayIcon(QObject *parent) : QObject(parent)
{
}

bool TrayIcon::add(const QString &tip)
{
    m_tip = FitTip(tip);
    if (m_added) {
        changeTip(m_tip);
    } else {
        addIcon(m_tip);
        m_added = true;
    }
    return isAvailable();
}

void TrayIcon::setTip(const QString &text)
{
    m_tip = FitTip(text);
    if (m_added)
        changeTip(m_tip);
}

void TrayIcon::remove()
{
    if (!m_added)
        return;
    m_added = false;
    removeIcon();
}

bool TrayIcon::showMessage(const QString &title, const QString &text)
{
    if (!m_added)
        return false;
    notify(title, text);
    return true;
}
