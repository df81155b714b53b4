#include "accounting/TariffEditor.h"

#include <QFileInfo>

#include "accounting/Tariff.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "settings/EntryName.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "values/Money.h"

namespace {

using Picker = TariffEditor::Picker;
using Cost = TariffEditor::Cost;

const QString kTimeFormat = QStringLiteral("HH:mm:ss");
const QString kFileFilter = QStringLiteral("Tariff Files (*.tff)");

std::size_t at(Picker picker)
{
    return std::size_t(picker);
}

std::size_t at(Cost cost)
{
    return std::size_t(cost);
}

bool isCode(int code)
{
    return code >= TariffEditor::TwoIntervals && code <= TariffEditor::OneInterval;
}

} // namespace

QString TariffEditor::NewTariffEntry()
{
    return QStringLiteral("[New Tariff]");
}

QString TariffEditor::NoSelectionText()
{
    return QStringLiteral("Select Tariff");
}

QString TariffEditor::ZeroCost()
{
    return QStringLiteral("0.0000");
}

std::optional<QString> TariffEditor::FormatCost(const QString &text, const QLocale &locale)
{
    const auto cost = Money::parse(text);
    if (!cost)
        return std::nullopt;
    return cost->toFixed().replace(QLatin1Char('.'), locale.decimalPoint());
}

TariffEditor::TariffEditor(Seams seams, DateTimeFormats formats, const QLocale &locale, QObject *parent)
    : QObject(parent), m(std::move(seams)), m_formats(std::move(formats)), m_locale(locale)
{
    resetValues();
}

void TariffEditor::fill()
{
    m_entries.clear();
    for (const auto &entry : m.store.GetAllSettings(SettingsLayout::TariffNames()))
        m_entries.append(entry.first);
    if (m_entries.isEmpty() && !m.noTariffWarningShown) {
        m.prompter.tell(QStringLiteral("You don't have any available Tariffs!"), Prompt::Icon::Critical);
        m.noTariffWarningShown = true;
    }
    m_entries.append(NewTariffEntry());
    m_selected = -1;
    m_currentName.clear();
    resetValues();
    emit changed();
}

bool TariffEditor::isNewTariffSelected() const
{
    return m_selected >= 0 && m_selected == m_entries.size() - 1;
}

void TariffEditor::select(int index)
{
    if (index < 0 || index >= m_entries.size())
        return;
    m_selected = index;
    if (isNewTariffSelected()) {
        resetValues();
        emit changed();
        return;
    }
    m_currentName = m_entries.at(index);
    m_newName.clear();
    const TariffFile::Record stored = ReadTariffTexts(m.store, m_currentName);
    apply(stored);
    emit changed();
}

void TariffEditor::apply(const TariffFile::Record &record)
{
    // A bound that does not read leaves its pickers as they are.
    auto load = [this](const QString &text, std::initializer_list<Picker> pickers) {
        const auto second = ParseTimeOfDay(text);
        if (!second)
            return;
        for (Picker picker : pickers)
            m_times[at(picker)] = QTime::fromMSecsSinceStartOfDay(*second * 1000);
    };
    switch (record.code) {
    case TwoIntervals:
        load(record.firstStart, {Picker::FirstStart, Picker::SecondEnd});
        load(record.firstEnd, {Picker::FirstEnd, Picker::SecondStart});
        m_costs[at(Cost::First)] = record.firstCost;
        m_costs[at(Cost::Second)] = record.secondCost;
        break;
    case ThreeIntervals:
        load(record.firstStart, {Picker::FirstStart, Picker::ThirdEnds});
        load(record.firstEnd, {Picker::FirstEnd, Picker::SecondStart});
        load(record.thirdStart, {Picker::ThirdStart, Picker::SecondEnd});
        m_costs[at(Cost::First)] = record.firstCost;
        m_costs[at(Cost::Second)] = record.secondCost;
        m_costs[at(Cost::Third)] = record.thirdCost;
        break;
    case OneInterval: m_costs[at(Cost::First)] = record.firstCost; break;
    default: return;
    }
    setCode(record.code);
}

void TariffEditor::setCode(int code)
{
    if (!isCode(code))
        return;
    m_code = code;
    if (code == OneInterval)
        m_times.fill(QTime(0, 0));
    emit changed();
}

bool TariffEditor::isEnabled(Picker picker) const
{
    switch (m_code) {
    case TwoIntervals: return picker != Picker::ThirdStart && picker != Picker::ThirdEnds;
    case ThreeIntervals: return true;
    default: return false;
    }
}

bool TariffEditor::isEnabled(Cost cost) const
{
    switch (cost) {
    case Cost::First: return true;
    case Cost::Second: return m_code == TwoIntervals || m_code == ThreeIntervals;
    default: return m_code == ThreeIntervals;
    }
}

QTime TariffEditor::time(Picker picker) const
{
    return m_times.at(at(picker));
}

void TariffEditor::setTime(Picker picker, const QTime &time)
{
    if (!time.isValid() || m_times.at(at(picker)) == time)
        return; // a picker that already shows the time passes nothing on
    m_times[at(picker)] = time;
    // The partners that keep the intervals joined: each ends where the next begins.
    const bool three = m_code == ThreeIntervals;
    const bool two = m_code == TwoIntervals;
    switch (picker) {
    case Picker::FirstEnd: setTime(Picker::SecondStart, time); break;
    case Picker::SecondStart: setTime(Picker::FirstEnd, time); break;
    case Picker::ThirdStart: setTime(Picker::SecondEnd, time); break;
    case Picker::SecondEnd:
        if (three)
            setTime(Picker::ThirdStart, time);
        if (two)
            setTime(Picker::FirstStart, time);
        break;
    case Picker::FirstStart:
        if (two)
            setTime(Picker::SecondEnd, time);
        if (three)
            setTime(Picker::ThirdEnds, time);
        break;
    case Picker::ThirdEnds:
        if (three)
            setTime(Picker::FirstStart, time);
        break;
    case Picker::Count_: break;
    }
    emit changed();
}

QString TariffEditor::cost(Cost cost) const
{
    return m_costs.at(at(cost));
}

void TariffEditor::setCost(Cost cost, const QString &text)
{
    m_costs[at(cost)] = text;
    emit changed();
}

void TariffEditor::formatCost(Cost cost)
{
    const auto formatted = FormatCost(m_costs.at(at(cost)), m_locale);
    if (!formatted)
        return;
    m_costs[at(cost)] = *formatted;
    emit changed();
}

void TariffEditor::setNewName(const QString &name)
{
    m_newName = name;
    emit changed();
}

bool TariffEditor::canDelete() const
{
    return m_selected >= 0 && !isNewTariffSelected() && !m_currentName.isEmpty();
}

bool TariffEditor::save()
{
    if (!canSave())
        return false;
    const bool isNew = isNewTariffSelected();
    const QString name = isNew ? m_newName : m_currentName;
    if (isNew) {
        const bool reserved = name == NewTariffEntry() || name == QLatin1String("[Empty]") || name == NoSelectionText();
        if (name.trimmed().isEmpty() || reserved || !EntryName::IsSectionName(name)) {
            m.prompter.tell(QStringLiteral("You Must Enter Tariff's Name!"), Prompt::Icon::Exclamation);
            return false;
        }
        // The store does not tell "Cheap" from "cheap": either would overwrite the other.
        QStringList taken = m_entries;
        for (const auto &entry : m.store.GetAllSettings(SettingsLayout::TariffNames()))
            taken.append(entry.first);
        if (taken.contains(name, Qt::CaseInsensitive)) {
            m.prompter.tell(QStringLiteral("Tariff with this name already exists!"), Prompt::Icon::Exclamation);
            return false;
        }
    }
    for (Cost cost : {Cost::First, Cost::Second, Cost::Third}) {
        const auto value = Money::parse(m_costs.at(at(cost)));
        if (isEnabled(cost) && (!value || *value < Money())) {
            m.prompter.tell(QStringLiteral("The cost per minute must be a number of 0 or more!"),
                            Prompt::Icon::Exclamation);
            return false;
        }
    }

    TariffFile::Record values = record();
    values.name = name;
    const QDateTime now = m.clock.now();
    if (!WriteTariff(m.store, values, m_formats.date(now.date()) + QLatin1Char(' ') + m_formats.time(now.time()))) {
        m.prompter.fail(QStringLiteral("The tariff \"%1\" could not be saved: %2").arg(name, m.store.error()));
        return false;
    }
    if (isNew) {
        m_entries.insert(m_entries.size() - 1, name);
        m_currentName = name;
        m_newName.clear();
    }
    if (m.isConnected && m.isConnected())
        m.prompter.tell(QStringLiteral("You have to restart you connection"));
    emit tariffsChanged();
    emit changed();
    return true;
}

bool TariffEditor::remove()
{
    if (!canDelete())
        return false;
    const QString name = m_currentName;
    Prompt question{QStringLiteral("Are you sure to delete ") + name + QStringLiteral(" tariff?")};
    question.icon = Prompt::Icon::Question;
    question.buttons = Prompt::Buttons::YesNo;
    if (m.prompter.ask(question) != Prompt::Answer::Yes)
        return false;

    SettingsStore::Batch batch(m.store);
    m.store.DeleteSetting(SettingsLayout::TariffNames(), name);
    // A listed name with a backslash is no section of its own: deleting its path would
    // take another tariff's values.
    if (!name.contains(QLatin1Char('\\')))
        m.store.DeleteSetting(SettingsLayout::Tariff(name));
    if (!batch.commit()) {
        m.prompter.fail(QStringLiteral("The tariff \"%1\" could not be deleted: %2").arg(name, m.store.error()));
        return false;
    }
    m_entries.removeAt(m_selected);
    m_selected = -1;
    m_currentName.clear();
    resetValues();
    emit tariffsChanged();
    emit changed();
    return true;
}

bool TariffEditor::exportFile()
{
    if (!canExport())
        return false;
    if (m_currentName.isEmpty()) {
        m.prompter.tell(QStringLiteral("You Must Enter Tariff's Name!"), Prompt::Icon::Exclamation);
        return false;
    }
    const QString path =
        m.prompter.chooseSaveFile(QStringLiteral("Export to a File"), kFileFilter, QStringLiteral("tff"));
    if (path.isEmpty())
        return false;
    QString error;
    if (!TariffFile::Export(path, record(), &error)) {
        m.prompter.fail(QStringLiteral("The tariff could not be exported to %1: %2").arg(path, error));
        return false;
    }
    return true;
}

bool TariffEditor::importFile()
{
    if (!canImport())
        return false;
    const QString path = m.prompter.chooseFile(QStringLiteral("Import from a File"), kFileFilter);
    if (path.isEmpty())
        return false;
    const auto imported = TariffFile::Import(path);
    if (!imported) {
        m.prompter.tell(QFileInfo(path).fileName() + QStringLiteral(" is not a tariff file."),
                        Prompt::Icon::Exclamation);
        return false;
    }
    apply(*imported);
    emit changed();
    return true;
}

TariffFile::Record TariffEditor::record() const
{
    TariffFile::Record values;
    values.name = m_currentName;
    values.code = m_code;
    values.firstStart = time(Picker::FirstStart).toString(kTimeFormat);
    values.firstEnd = time(Picker::FirstEnd).toString(kTimeFormat);
    values.thirdStart = time(Picker::ThirdStart).toString(kTimeFormat);
    values.firstCost = cost(Cost::First);
    values.secondCost = cost(Cost::Second);
    values.thirdCost = cost(Cost::Third);
    return values;
}

void TariffEditor::resetValues()
{
    m_times.fill(QTime(0, 0));
    m_costs.fill(ZeroCost());
    m_newName.clear();
}
