#pragma once

#include <QDialog>

#include <functional>

#include "news/NewsFetcher.h"

class GeneralOptions;
class ProgramLauncher;
class Prompter;
class QLabel;
class QPlainTextEdit;

// What the about box and the news window work with.
struct InfoSeams
{
    const GeneralOptions &options;
    ProgramLauncher &launcher;
    Prompter &prompter;
    // A dial-up call is up, or the system says it is online another way.
    std::function<bool()> online;
    int transferTimeoutMs = NewsFetcher::kTransferTimeoutMs;
};

// "frmNews": the version check's result and the news text from the news server. Closing the
// window cancels the downloads.
class NewsWindow final : public QDialog
{
    Q_OBJECT
public:
    explicit NewsWindow(InfoSeams seams, QWidget *parent = nullptr);

    // Checks the connection and starts the downloads; called once the window is shown.
    void start();

private:
    void showFailure(const QString &reason);

    InfoSeams m_seams;
    NewsFetcher m_fetcher;
    QLabel *m_result;
    QPlainTextEdit *m_news;
};

// A label showing one address as a link; a click goes to onClick, never to the label's text.
QLabel *LinkLabel(const QString &name, const QString &shown, const std::function<void()> &onClick, QWidget *parent);
