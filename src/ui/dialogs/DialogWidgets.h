#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTabWidget>
#include <QVBoxLayout>

// The controls of the settings windows, each created with the objectName it is known by.
namespace DialogWidgets {

template <typename Widget> Widget *named(Widget *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

// Captions are plain text: a stored name shown in one never turns into markup.
inline QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

inline QCheckBox *newCheck(const QString &name, const QString &text, QWidget *parent)
{
    return named(new QCheckBox(text, parent), name);
}

inline QLineEdit *newEdit(const QString &name, QWidget *parent)
{
    return named(new QLineEdit(parent), name);
}

inline QPushButton *newButton(const QString &name, const QString &text, QWidget *parent)
{
    return named(new QPushButton(text, parent), name);
}

// A settings window's layout: its pages ("tabPages") over the OK button (named okName, the
// default) and "cmdClose" "Cancel", which rejects the window.
struct PagedLayout
{
    QTabWidget *tabs;
    QPushButton *ok;
};

inline PagedLayout pagedLayout(QDialog *dialog, const QString &okName)
{
    auto *tabs = named(new QTabWidget(dialog), QStringLiteral("tabPages"));
    auto *ok = newButton(okName, QStringLiteral("OK"), dialog);
    auto *cancel = newButton(QStringLiteral("cmdClose"), QStringLiteral("Cancel"), dialog);
    ok->setDefault(true);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    return {tabs, ok};
}

} // namespace DialogWidgets
