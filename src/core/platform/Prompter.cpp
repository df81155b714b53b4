#include "platform/Prompter.h"

void Prompter::tell(const QString &text, Prompt::Icon icon)
{
    Prompt prompt;
    prompt.text = text;
    prompt.icon = icon;
    ask(prompt);
}
