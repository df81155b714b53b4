#include "desktop/MessageBoxPrompter.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

Prompt::Answer MessageBoxPrompter::ask(const Prompt &prompt)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(prompt.title);
    // Message texts carry words from outside (server replies, file contents, provider names);
    // none of the program's own texts is formatted, so nothing is ever read as rich text.
    box.setTextFormat(Qt::PlainText);
    box.setText(prompt.text);
    switch (prompt.icon) {
    case Prompt::Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Prompt::Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Prompt::Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Prompt::Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Prompt::Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    switch (prompt.buttons) {
    case Prompt::Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Prompt::Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Prompt::Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Prompt::Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Prompt::Answer::Yes;
    case QMessageBox::No: return Prompt::Answer::No;
    case QMessageBox::Cancel: return Prompt::Answer::Cancel;
    default: return Prompt::Answer::Ok;
    }
}

std::optional<QString> MessageBoxPrompter::input(const QString &title, const QString &text)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(m_parent, title, text, QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

QString MessageBoxPrompter::chooseFile(const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, title, QString(), filter);
}

QString MessageBoxPrompter::chooseSaveFile(const QString &title, const QString &filter, const QString &defaultSuffix)
{
    // An object rather than getSaveFileName: only the dialog object adds the suffix to a name
    // typed without one.
    QFileDialog dialog(m_parent, title, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
