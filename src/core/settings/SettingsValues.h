#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <span>

class SettingsStore;

// The ticks and texts of a settings dialog, each named by a row of a table: its control,
// the section it is stored in (an index into the sections the caller passes), its key and
// the text a load gives when the key is missing. Ticks are stored as "1"/"0" and read by the
// store's truth rule. The models around it decide the order the values are written in.
class SettingsValues
{
public:
    struct Field
    {
        const char *control;
        int section;
        const char *key;
        const char *initial;
    };

    SettingsValues(std::span<const Field> checks, std::span<const Field> texts);

    // Every value back to its initial text.
    void reset();
    // Every value from the store; a missing key gives the field's initial text.
    void load(const SettingsStore &store, const QStringList &sections);
    void saveCheck(SettingsStore &store, const QStringList &sections, int check) const;
    void saveText(SettingsStore &store, const QStringList &sections, int text) const;

    bool isChecked(int check) const;
    // Both give true when the value changed.
    bool setChecked(int check, bool on);
    QString text(int text) const;
    bool setText(int text, const QString &value);

private:
    std::span<const Field> m_checkFields;
    std::span<const Field> m_textFields;
    QList<bool> m_checks;
    QStringList m_texts;
};
