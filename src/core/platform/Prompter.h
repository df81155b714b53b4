#pragma once

#include <QString>
#include <QStringList>

#include <optional>

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
    // An input box: the text typed, or nothing when it was cancelled.
    virtual std::optional<QString> input(const QString &title, const QString &text) = 0;
    // A file dialog for an existing file; filter as "Sound (*.wav *.WAV)", empty for any
    // file. Returns the path chosen, or an empty text when none was.
    virtual QString chooseFile(const QString &title, const QString &filter) = 0;
    // A file dialog for a file to write, which adds defaultSuffix (without its dot) to a name
    // typed without one. Returns the path chosen, or an empty text when none was.
    virtual QString chooseSaveFile(const QString &title, const QString &filter, const QString &defaultSuffix) = 0;

    // Shorthands for the common shapes.
    void tell(const QString &text, Prompt::Icon icon = Prompt::Icon::None);
    void fail(const QString &text) { tell(text, Prompt::Icon::Critical); }
};

// Asks nobody: every prompt is answered with Ok (or Yes), no text is typed and no file chosen;
// the texts are kept. For work done where nobody is asked, such as a preview.
class QuietPrompter final : public Prompter
{
public:
    Prompt::Answer ask(const Prompt &prompt) override;
    std::optional<QString> input(const QString &, const QString &) override { return std::nullopt; }
    QString chooseFile(const QString &, const QString &) override { return {}; }
    QString chooseSaveFile(const QString &, const QString &, const QString &) override { return {}; }

    QStringList told;
};
