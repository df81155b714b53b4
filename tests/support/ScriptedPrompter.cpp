#include "support/ScriptedPrompter.h"

#include <QTest>

ScriptedPrompter::~ScriptedPrompter()
{
    if (!m_expected.isEmpty())
        qWarning("ScriptedPrompter: %d expected prompt(s) never shown, first: %s", int(m_expected.size()),
                 qPrintable(m_expected.first().text));
}

Prompt::Answer ScriptedPrompter::ask(const Prompt &prompt)
{
    m_shown.append(prompt);
    if (m_whileOpen)
        m_whileOpen(prompt);
    if (!m_expected.isEmpty() && m_expected.first().kind == Kind::Message && m_expected.first().text == prompt.text)
        return m_expected.takeFirst().answer;
    if (m_allowMessages && prompt.buttons == Prompt::Buttons::Ok)
        return Prompt::Answer::Ok;
    QTest::qFail(
        qPrintable(QStringLiteral("unexpected prompt: \"%1\"%2")
                       .arg(prompt.text, m_expected.isEmpty()
                                             ? QString()
                                             : QStringLiteral(" (expected \"%1\")").arg(m_expected.first().text))),
        __FILE__, __LINE__);
    return prompt.buttons == Prompt::Buttons::Ok ? Prompt::Answer::Ok : Prompt::Answer::No;
}

void ScriptedPrompter::expect(const QString &text, Prompt::Answer answer)
{
    m_expected.append({text, answer, Kind::Message, std::nullopt});
}

void ScriptedPrompter::expectInput(const QString &text, const std::optional<QString> &reply)
{
    m_expected.append({text, Prompt::Answer::Ok, Kind::Input, reply});
}

void ScriptedPrompter::expectFile(const QString &title, const QString &path)
{
    m_expected.append({title, Prompt::Answer::Ok, Kind::File, path});
}

std::optional<QString> ScriptedPrompter::take(Kind kind, const QString &key, const Prompt &prompt)
{
    m_shown.append(prompt);
    if (m_whileOpen)
        m_whileOpen(prompt);
    if (!m_expected.isEmpty() && m_expected.first().kind == kind && m_expected.first().text == key)
        return m_expected.takeFirst().reply;
    QTest::qFail(
        qPrintable(QStringLiteral("unexpected %1: \"%2\"")
                       .arg(kind == Kind::Input ? QStringLiteral("input box") : QStringLiteral("file dialog"), key)),
        __FILE__, __LINE__);
    return std::nullopt;
}

std::optional<QString> ScriptedPrompter::input(const QString &title, const QString &text)
{
    Prompt prompt;
    prompt.title = title;
    prompt.text = text;
    return take(Kind::Input, text, prompt);
}

QString ScriptedPrompter::chooseFile(const QString &title, const QString &filter)
{
    Prompt prompt;
    prompt.title = title;
    prompt.text = filter;
    return take(Kind::File, title, prompt).value_or(QString());
}

QStringList ScriptedPrompter::shownTexts() const
{
    QStringList texts;
    for (const Prompt &prompt : m_shown)
        texts.append(prompt.text);
    return texts;
}
