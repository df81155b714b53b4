#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/Prompter.h"

// The controls of the windows, each created with the objectName it is known by.
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

// A WAV file chosen in the file dialog; empty when none was.
inline QString chooseSound(Prompter &prompter)
{
    return prompter.chooseFile(QStringLiteral("Select WAV File"), QStringLiteral("Sound (*.wav *.WAV)"));
}

// A program chosen in the file dialog: a file that may be run. Empty when none was chosen, or
// when the file chosen is no program (the user is told).
inline QString chooseProgram(Prompter &prompter, const QString &title)
{
    QString path = prompter.chooseFile(title, QString());
    const QFileInfo file(path);
    if (path.isEmpty() || (file.isFile() && file.isExecutable()))
        return path;
    prompter.tell(
        QStringLiteral("\"%1\" is not a program that can be started. Choose a file that may be run as a program.")
            .arg(path),
        Prompt::Icon::Exclamation);
    return QString();
}

} // namespace DialogWidgets
