#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

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

} // namespace DialogWidgets
