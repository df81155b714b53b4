#include "support/FakeTrayIcon.h"

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
