#pragma once

#include "platform/Prompter.h"

#include <QPointer>
#include <QWidget>

// Prompts as message boxes over the main window.
class MessageBoxPrompter final : public Prompter
{
public:
    void setParentWindow(QWidget *parent) { m_parent = parent; }
    Prompt::Answer ask(const Prompt &prompt) override;
    std::optional<QString> input(const QString &title, const QString &text) override;
    QString chooseFile(const QString &title, const QString &filter) override;
    QString chooseSaveFile(const QString &title, const QString &filter, const QString &defaultSuffix) override;

private:
    QPointer<QWidget> m_parent;
};
