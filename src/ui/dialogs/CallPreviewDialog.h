#pragma once

#include <QDialog>

class AppCore;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QSpinBox;
class QTableWidget;

// frmCallPreview: what a call on a provider, from a start and for a duration, would cost,
// priced by the accounting as the real call would be, with the stretch at each rate, the
// connection fee and the minimum charge. Priced again at every change; it stores nothing.
class CallPreviewDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CallPreviewDialog(AppCore &core, QWidget *parent = nullptr);

private:
    void showPreview();

    AppCore &m_core;
    QComboBox *m_provider = nullptr;
    QDateTimeEdit *m_start = nullptr;
    QSpinBox *m_hours = nullptr;
    QSpinBox *m_minutes = nullptr;
    QSpinBox *m_seconds = nullptr;
    QTableWidget *m_rows = nullptr;
    QLabel *m_total = nullptr;
    QLabel *m_notes = nullptr;
};
