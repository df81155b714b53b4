#include "support/ScriptedPrompter.h"

#include <QTest>

ScriptedPrompter::~ScriptedPrompter()
{
    if (!m_expected.isEmpty())
        qWarning("ScriptedPrompter: %d expected prompt(s) never shown, first: %s", int(m_expected.size()),
                 qPrintable(m_expected.first().text));
}

std::optional<ScriptedPrompter::Expectation> ScriptedPrompter::take(Kind kind, const QString &key, const Prompt &prompt)
{
    m_shown.append(prompt);
    if (m_whileOpen)
        m_whileOpen(prompt);
    if (!m_expected.isEmpty() && m_expected.first().kind == kind && m_expected.first().text == key)
        return m_expected.takeFirst();
    if (kind == Kind::Message && m_allowMessages && prompt.buttons == Prompt::Buttons::Ok)
        return Expectation{key};
    QTest::qFail(qPrintable(QStringLiteral("unexpected prompt: \"%1\"%2")
                                .arg(key, m_expected.isEmpty()
                                              ? QString()
                                              : QStringLiteral(" (expected \"%1\")").arg(m_expected.first().text))),
                 __FILE__, __LINE__);
    return std::nullopt;
}

Prompt::Answer ScriptedPrompter::ask(const Prompt &prompt)
{
    const Prompt::Answer unexpected = prompt.buttons == Prompt::Buttons::Ok ? Prompt::Answer::Ok : Prompt::Answer::No;
    return take(Kind::Message, prompt.text, prompt).value_or(Expectation{{}, unexpected}).answer;
}

std::optional<QString> ScriptedPrompter::input(const QString &title, const QString &text)
{
    return take(Kind::Input, text, {text, title}).value_or(Expectation{}).reply;
}

QString ScriptedPrompter::chooseFile(const QString &title, const QString &filter)
{
    return take(Kind::File, title, {filter, title}).value_or(Expectation{}).reply.value_or(QString());
}

QString ScriptedPrompter::chooseSaveFile(const QString &title, const QString &filter, const QString &)
{
    return chooseFile(title, filter);
}

QStringList ScriptedPrompter::shownTexts() const
{
    QStringList texts;
    for (const Prompt &prompt : m_shown)
        texts.append(prompt.text);
    return texts;
}
