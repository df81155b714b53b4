#pragma once

#include <QObject>
#include <QStringList>

#include "platform/Prompter.h"

class MainWindow;
class QWidget;
class AppCore;

// Drives the program from a script, for end-to-end tests and screenshots:
// LINEMINDER_AUTOMATION="select:Demo ISP (simulated);connect;wait:6;screenshot:/tmp/w.png;disconnect;wait:2;exit".
// Steps run one after another on the event loop; "wait:N" lets N seconds pass; "startup"
// prints how long the process took to show its window; "cpu" prints the CPU time used so far.
// For pictures of the other windows: "command:GenSett" runs a toolbar command (its key),
// "page:N" shows the N-th page (from 0) of the window open (a modal one, else another "frm"
// window), "click:NAME" presses its button NAME, "choose:NAME:N" picks item N of its list NAME,
// "screenshot:FILE" saves that window (the main window when none is open), "close" closes it.
class Automation : public QObject
{
    Q_OBJECT
public:
    Automation(const QString &script, AppCore &core, MainWindow &window);
    void start();

private:
    void next();
    // The settings window open (modal), else the main window.
    QWidget &openWindow() const;

    QStringList m_steps;
    AppCore &m_core;
    MainWindow &m_window;
    double m_shownAgeMs = -1;
};

// Under automation nobody is there to click: every prompt is written to standard error
// and answered with its first button (Ok or Yes): an input box with nothing typed, a file
// dialog with no file chosen.
class AutoAnswerPrompter final : public Prompter
{
public:
    Prompt::Answer ask(const Prompt &prompt) override;
    std::optional<QString> input(const QString &title, const QString &text) override;
    QString chooseFile(const QString &title, const QString &filter) override;
    QString chooseSaveFile(const QString &title, const QString &filter, const QString &defaultSuffix) override;
};
