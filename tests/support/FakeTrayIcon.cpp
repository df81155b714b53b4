#include "support/FakeTrayIcon.h"

FakeTrayIcon::FakeTrayIcon(QObject *parent) : TrayIcon(parent)
{
}

void FakeTrayIcon::click()
{
    if (isAdded())
        emit leftClicked();
}

void FakeTrayIcon::rightClick(QPoint globalPos)
{
    if (isAdded())
        emit rightClicked(globalPos);
}

void FakeTrayIcon::addIcon(const QString &tip)
{
    m_calls << QStringLiteral("add:") + tip;
}

void FakeTrayIcon::changeTip(const QString &tip)
{
    m_calls << QStringLiteral("tip:") + tip;
}

void FakeTrayIcon::removeIcon()
{
    m_calls << QStringLiteral("remove");
}

void FakeTrayIcon::notify(const QString &title, const QString &text)
{
    m_calls << QStringLiteral("message:%1|%2").arg(title, text);
}
