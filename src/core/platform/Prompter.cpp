#include "platform/Prompter.h"

void Prompter::tell(const QString &text, Prompt::Icon icon)
{
    Prompt prompt;
    prompt.text = text;
    prompt.icon = icon;
    ask(prompt);
}

Prompt::Answer QuietPrompter::ask(const Prompt &prompt)
{
    told.append(prompt.text);
    return prompt.buttons == Prompt::Buttons::Ok || prompt.buttons == Prompt::Buttons::OkCancel ? Prompt::Answer::Ok
                                                                                                : Prompt::Answer::Yes;
}
