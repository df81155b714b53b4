#pragma once

#include <QWidget>

#include <array>

#include "accounting/TariffEditor.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;

// The "Tariff Settings" page of the general settings: shows the tariff editor's model and
// forwards every action to it. The editor is the page's own; it never touches the tariff a
// call in progress uses.
class TariffPage : public QWidget
{
    Q_OBJECT
public:
    TariffPage(std::unique_ptr<TariffEditor> editor, const QString &currencySymbol, QWidget *parent = nullptr);
    ~TariffPage() override;

    TariffEditor &editor() { return *m_editor; }

signals:
    void calculatorRequested();
    void holidayEditorRequested();

private:
    using Picker = TariffEditor::Picker;
    using Cost = TariffEditor::Cost;

    // The whole page from the model; the widgets' own signals are held back meanwhile.
    void refresh();

    std::unique_ptr<TariffEditor> m_editor;
    bool m_refreshing = false;
    QComboBox *m_tariffs = nullptr;
    QLabel *m_nameCaption = nullptr;
    QLineEdit *m_name = nullptr;
    std::array<QRadioButton *, 3> m_modes{}; // by interval code: 0 two, 1 three, 2 one
    QLabel *m_oneDay = nullptr;
    std::array<QTimeEdit *, std::size_t(Picker::Count_)> m_pickers{};
    std::array<QLabel *, std::size_t(Picker::Count_)> m_pickerCaptions{};
    std::array<QLineEdit *, std::size_t(Cost::Count_)> m_costs{};
    std::array<QLabel *, std::size_t(Cost::Count_)> m_costCaptions{};
    QPushButton *m_save = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_import = nullptr;
};
