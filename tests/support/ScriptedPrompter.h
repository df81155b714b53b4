#pragma once

#include "platform/Prompter.h"

#include <QList>

#include <functional>

// Records every prompt. Answers come from a queue of expected prompts; a prompt that
// was not expected fails the running test (and is answered Ok/No so the code goes on).
// Plain Ok messages may be allowed wholesale with allowMessages().
class ScriptedPrompter final : public Prompter
{
public:
    ~ScriptedPrompter() override;

    Prompt::Answer ask(const Prompt &prompt) override;

    // The next prompt must have this text; it is answered with answer.
    void expect(const QString &text, Prompt::Answer answer = Prompt::Answer::Ok);
    // Any prompt with a single Ok button is accepted and recorded without expectation.
    void allowMessages(bool allow = true) { m_allowMessages = allow; }

    // Runs while a prompt is open, before it is answered (a user who takes their time:
    // the test may let virtual time pass here).
    void whileOpen(std::function<void(const Prompt &)> action) { m_whileOpen = std::move(action); }

    const QList<Prompt> &shown() const { return m_shown; }
    QStringList shownTexts() const;
    void clear() { m_shown.clear(); }
    int pendingExpectations() const { return int(m_expected.size()); }

private:
    struct Expectation
    {
        QString text;
        Prompt::Answer answer;
    };
    QList<Expectation> m_expected;
    QList<Prompt> m_shown;
    bool m_allowMessages = false;
    std::function<void(const Prompt &)> m_whileOpen;
};
