#pragma once

#include <QDialog>
#include <QPointer>

#include "info/NewsWindow.h"

class QPushButton;

// "frmAbout": the program's name, version and description, its home page and e-mail links,
// the system information viewer, and the news window.
class AboutWindow final : public QDialog
{
    Q_OBJECT
public:
    explicit AboutWindow(InfoSeams seams, QWidget *parent = nullptr);

    // The first installed of the configured system information viewers, or else the message
    // that there is none.
    void startSysInfo();
    // The news window, window-modal; the button is disabled until it closes.
    void openNews();
    NewsWindow *newsWindow() const { return m_news; }

private:
    void openAddress(const QString &address);

    InfoSeams m_seams;
    QPushButton *m_newsButton = nullptr;
    QPointer<NewsWindow> m_news;
};
