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
    if (!m_expected.isEmpty() && m_expected.first().text == prompt.text)
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
    m_expected.append({text, answer});
}

QStringList ScriptedPrompter::shownTexts() const
{
    QStringList texts;
    for (const Prompt &prompt : m_shown)
        texts.append(prompt.text);
    return texts;
}
