#include "presentation/MainState.h"

#include <QMetaEnum>

#include "platform/ProgramName.h"

MainState::MainState(QObject *parent) : QObject(parent)
{
    // What an idle main window shows before any provider is loaded.
    setText(Field::CurrTime, QStringLiteral("00:00:00"));
    setText(Field::TodayTime, QStringLiteral("00:00:00"));
    setText(Field::MonthTime, QStringLiteral("00:00:00"));
    setText(Field::TotTime, QStringLiteral("00:00:00"));
    setText(Field::Cost, QStringLiteral("0.0000"));
    setText(Field::CallsNumber, QStringLiteral("0"));
    setText(Field::TariffName, QStringLiteral("None"));
    setText(Field::MinuteCost, QStringLiteral("Cost per minute:  0"));
    setText(Field::Time, QStringLiteral("00:00")); // until the first second of the clock
    setText(Field::Caption, ProgramName());
}

void MainState::setText(Field field, const QString &text)
{
    QString &current = m_texts[index(field)];
    if (current == text && !current.isNull())
        return;
    current = text;
    emit textChanged(field, text);
}

QString MainState::controlName(Field field)
{
    if (field == Field::Caption)
        return QStringLiteral("Form1");
    const char *key = QMetaEnum::fromType<Field>().valueToKey(static_cast<int>(field));
    return QStringLiteral("lbl") + QLatin1String(key);
}

void MainState::setProviderList(const QStringList &items)
{
    if (items == m_providerList)
        return;
    m_providerList = items;
    emit providerListChanged(items);
}

void MainState::setSelectedProvider(const QString &name)
{
    if (name == m_selectedProvider)
        return;
    m_selectedProvider = name;
    emit selectedProviderChanged(name);
}

void MainState::setProviderListEnabled(bool enabled)
{
    if (enabled == m_providerListEnabled)
        return;
    m_providerListEnabled = enabled;
    emit providerListEnabledChanged(enabled);
}

void MainState::setShown(Indicator indicator, bool shown)
{
    bool &current = m_indicators[std::size_t(indicator)];
    if (current == shown)
        return;
    current = shown;
    emit indicatorChanged(indicator, shown);
}
