#pragma once

#include <QDialog>

class AppCore;
class QComboBox;
class QLineEdit;

// The dial-up entry dialog: a new entry, or an entry edited (a changed name renames it, and
// the provider's settings go with it). What the line keeps beyond these fields is left as
// it is. OK saves through the core and closes; a refusal is told and the dialog stays open.
class EntryDialog : public QDialog
{
    Q_OBJECT
public:
    // entryToEdit empty: a new entry. devDir is where the serial ports are looked for.
    EntryDialog(AppCore &core, const QString &entryToEdit, QWidget *parent = nullptr,
                const QString &devDir = QStringLiteral("/dev"));

    QString entryName() const;

public slots:
    void accept() override;

private:
    AppCore &m_core;
    QString m_original;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_number = nullptr;
    QComboBox *m_device = nullptr;
    QComboBox *m_speed = nullptr;
    QLineEdit *m_user = nullptr;
};
