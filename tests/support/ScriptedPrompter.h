#pragma once

#include "platform/Prompter.h"

#include <QList>

#include <functional>

// Records every prompt. Answers come from a queue of expected prompts; a prompt
// that was not expected fails the running test (and is answered Ok/No so the
// code goes on). Plain Ok messages may be allowed wholesale with
// allowMessages().
class ScriptedPrompter final : public Prompter
{
public:
    ~ScriptedPrompter() override;

    Prompt::Answer ask(const Prompt &prompt) override;
    // Input boxes and file dialogs are recorded as prompts with their title; an
    // input box has its text, a file dialog its filter as the text.
    std::optional<QString> input(const QString &title, const QString &text) override;
    QString chooseFile(const QString &title, const QString &filter) override;
    QString chooseSaveFile(const QString &title, const QString &filter, const QString &defaultSuffix) override;

    // The next prompt must have this text; it is answered with answer.
    void expect(const QString &text, Prompt::Answer answer = Prompt::Answer::Ok) { m_expected.append({text, answer}); }
    // The next prompt must be an input box with this text; it answers reply
    // (nothing: Cancel).
    void expectInput(const QString &text, const std::optional<QString> &reply)
    {
        m_expected.append({text, Prompt::Answer::Ok, Kind::Input, reply});
    }
    // The next prompt must be a file dialog (to open or to save) with this title; it
    // answers path.
    void expectFile(const QString &title, const QString &path) { m_expected.append({title, {}, Kind::File, path}); }
    // Any prompt with a single Ok button is accepted and recorded without
    // expectation.
    void allowMessages(bool allow = true) { m_allowMessages = allow; }

    // Runs while a prompt is open, before it is answered (a user who takes their
    // time: the test may let virtual time pass here).
    void whileOpen(std::function<void(const Prompt &)> action) { m_whileOpen = std::move(action); }

    const QList<Prompt> &shown() const { return m_shown; }
    QStringList shownTexts() const;
    void clear() { m_shown.clear(); }
    int pendingExpectations() const { return int(m_expected.size()); }

private:
    enum class Kind { Message, Input, File };
    struct Expectation
    {
        QString text;
        Prompt::Answer answer = Prompt::Answer::Ok;
        Kind kind = Kind::Message;
        std::optional<QString> reply = std::nullopt;
    };
    // Records the prompt; the next expectation when it is of this kind and
    // matches key, else (unless a message is allowed) fails the test.
    std::optional<Expectation> take(Kind kind, const QString &key, const Prompt &prompt);
    QList<Expectation> m_expected;
    QList<Prompt> m_shown;
    bool m_allowMessages = false;
    std::function<void(const Prompt &)> m_whileOpen;
};
