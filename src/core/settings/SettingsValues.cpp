#include "settings/SettingsValues.h"

#include "settings/SettingsStore.h"

namespace {

QString storedValue(const SettingsStore &store, const QStringList &sections, const SettingsValues::Field &field)
{
    return store.GetSetting(sections.value(field.section), QLatin1String(field.key), QLatin1String(field.initial));
}

} // namespace

SettingsValues::SettingsValues(std::span<const Field> checks, std::span<const Field> texts)
    : m_checkFields(checks), m_textFields(texts)
{
    reset();
}

void SettingsValues::reset()
{
    m_checks.clear();
    for (const Field &field : m_checkFields)
        m_checks.append(SettingIsTrue(QLatin1String(field.initial)));
    m_texts.clear();
    for (const Field &field : m_textFields)
        m_texts.append(QLatin1String(field.initial));
}

void SettingsValues::load(const SettingsStore &store, const QStringList &sections)
{
    for (qsizetype i = 0; i < m_checks.size(); ++i)
        m_checks[i] = SettingIsTrue(storedValue(store, sections, m_checkFields[static_cast<std::size_t>(i)]));
    for (qsizetype i = 0; i < m_texts.size(); ++i)
        m_texts[i] = storedValue(store, sections, m_textFields[static_cast<std::size_t>(i)]);
}

void SettingsValues::saveCheck(SettingsStore &store, const QStringList &sections, int check) const
{
    const Field &field = m_checkFields[static_cast<std::size_t>(check)];
    store.SaveSetting(sections.value(field.section), QLatin1String(field.key),
                      isChecked(check) ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsValues::saveText(SettingsStore &store, const QStringList &sections, int text) const
{
    const Field &field = m_textFields[static_cast<std::size_t>(text)];
    store.SaveSetting(sections.value(field.section), QLatin1String(field.key), m_texts.value(text));
}

bool SettingsValues::isChecked(int check) const
{
    return m_checks.value(check);
}

bool SettingsValues::setChecked(int check, bool on)
{
    if (m_checks[check] == on)
        return false;
    m_checks[check] = on;
    return true;
}

QString SettingsValues::text(int text) const
{
    return m_texts.value(text);
}

bool SettingsValues::setText(int text, const QString &value)
{
    if (m_texts[text] == value)
        return false;
    m_texts[text] = value;
    return true;
}
