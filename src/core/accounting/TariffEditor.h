#pragma once

#include <QLocale>
#include <QObject>
#include <QStringList>
#include <QTime>

#include <array>
#include <functional>
#include <optional>

#include "accounting/TariffFile.h"
#include "values/DateTimeFormats.h"

class Clock;
class Prompter;
class SettingsStore;

// The "Tariff Settings" page of the general settings: creates, changes, deletes, exports and
// imports the named tariffs. It keeps its own copy of the values it shows; only save() and
// remove() write the store, and a call in progress keeps the tariff it loaded. The page's
// widgets show this model and forward every user action to it; every message goes through
// the prompter.
class TariffEditor : public QObject
{
    Q_OBJECT
public:
    // txtFirstStart, txtFirstEnd, txtSecondStart, txtSecondEnd, txtThirdStart, txtThirdEnds.
    enum class Picker { FirstStart, FirstEnd, SecondStart, SecondEnd, ThirdStart, ThirdEnds, Count_ };
    // txtFirstCost, txtSecondCost, txtThirdCost.
    enum class Cost { First, Second, Third, Count_ };
    // The stored interval codes ("Option"), which are not the number of intervals.
    enum Code { TwoIntervals = 0, ThreeIntervals = 1, OneInterval = 2 };

    static QString NewTariffEntry();  // "[New Tariff]", always the list's last entry
    static QString NoSelectionText(); // "Select Tariff", the list's text before a choice
    static QString ZeroCost();        // "0.0000"
    // The text as "0.0000" with the locale's decimal separator; nothing when it is not a
    // number (either separator is accepted).
    static std::optional<QString> FormatCost(const QString &text, const QLocale &locale);

    struct Seams
    {
        SettingsStore &store;
        Prompter &prompter;
        const Clock &clock;
        // Whether a dial-up connection is up (a save then tells the user to reconnect).
        std::function<bool()> isConnected;
        // "You don't have any available Tariffs!" is shown once per program run: the flag
        // outlives the editor.
        bool &noTariffWarningShown;
    };

    explicit TariffEditor(Seams seams, DateTimeFormats formats = {}, const QLocale &locale = QLocale(),
                          QObject *parent = nullptr);

    // Fills the list from the store (the warning when it is empty) and shows "Select Tariff":
    // nothing selected, the name box hidden, Delete, Export and Import disabled.
    void fill();

    // The stored tariff names in the store's order, then "[New Tariff]".
    QStringList entries() const { return m_entries; }
    // The selected entry; -1 while the list shows "Select Tariff".
    int selectedIndex() const { return m_selected; }
    bool isNewTariffSelected() const;
    // Chooses an entry: "[New Tariff]" clears the values and shows the name box; a stored
    // tariff is loaded (and the name box emptied, so its edits are saved under its name).
    void select(int index);
    // The tariff that save, delete and export act on; empty before any choice.
    QString currentName() const { return m_currentName; }

    // The interval option; the pickers and cost boxes it leaves in use.
    int code() const { return m_code; }
    void setCode(int code);
    bool isEnabled(Picker picker) const;
    bool isEnabled(Cost cost) const;

    // A picker's time; setting one moves its partners so the intervals tile the 24 hours.
    QTime time(Picker picker) const;
    void setTime(Picker picker, const QTime &time);

    // A cost box's text as typed; formatCost() is the box losing the focus.
    QString cost(Cost cost) const;
    void setCost(Cost cost, const QString &text);
    void formatCost(Cost cost);

    // txtTarifName: counts only while "[New Tariff]" is selected.
    QString newName() const { return m_newName; }
    void setNewName(const QString &name);
    bool isNameBoxShown() const { return isNewTariffSelected(); }

    bool canSave() const { return m_selected >= 0; }
    bool canDelete() const;
    bool canExport() const { return m_selected >= 0; }
    bool canImport() const { return m_selected >= 0; }

    // cmdSaveTariff. Refuses (with a message, nothing written) an unusable new name, an
    // existing new name and a cost that is not a number of at least 0. Returns whether the
    // tariff was written.
    bool save();
    // cmdDeleteTariff, after the user's Yes: the list entry and the whole tariff section go;
    // the editor is back at "Select Tariff".
    bool remove();
    // cmdTffExport and cmdTffImport: the file is asked for, then written or read. A failure
    // is told; import changes nothing unless the file holds a usable record.
    bool exportFile();
    bool importFile();

    // The values as a tariff file holds them (the current name, the code, the three times
    // as "HH:mm:ss", the three cost texts).
    TariffFile::Record record() const;

signals:
    // Any value, the list or the selection changed: the page shows the model again.
    void changed();
    // A tariff was written or deleted.
    void tariffsChanged();

private:
    void apply(const TariffFile::Record &record);
    void resetValues();

    Seams m;
    DateTimeFormats m_formats;
    QLocale m_locale;
    QStringList m_entries;
    int m_selected = -1;
    QString m_currentName;
    QString m_newName;
    int m_code = TwoIntervals;
    std::array<QTime, std::size_t(Picker::Count_)> m_times{};
    std::array<QString, std::size_t(Cost::Count_)> m_costs{};
};
