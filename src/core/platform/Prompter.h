#pragma once

#include <QString>

#include "platform/ProgramName.h"

// Every message box of the program goes through this seam, so the core can ask and
// tell without widgets and tests can script the answers.
struct Prompt
{
    enum class Icon { None, Information, Question, Exclamation, Critical };
    enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    QString text; // shown as plain text, never as rich text
    QString title = ProgramName();
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
};

class Prompter
{
public:
    virtual ~Prompter() = default;
    virtual Prompt::Answer ask(const Prompt &prompt) = 0;

    // Shorthands for the common shapes.
    void tell(const QString &text, Prompt::Icon icon = Prompt::Icon::None);
    void fail(const QString &text) { tell(text, Prompt::Icon::Critical); }
};
