#include "desktop/MessageBoxPrompter.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestMessageBoxPrompter : public QObject
{
    Q_OBJECT

private slots:
    // A mail server's reply in a message box: its markup is shown, not obeyed.
    void showsTextsAsPlainText()
    {
        const QString reply = QStringLiteral("+OK <b>2</b> <a href=\"x\">click</a><img src=\"/x\">");
        Qt::TextFormat format = Qt::AutoText;
        QString shown;
        QTimer::singleShot(0, this, [&] {
            QMessageBox *box = nullptr;
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *found = qobject_cast<QMessageBox *>(widget); found && found->isVisible())
                    box = found;
            }
            if (!box)
                qFatal("no message box is shown");
            const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            format = label ? label->textFormat() : box->textFormat();
            shown = label ? label->text() : QString();
            box->button(QMessageBox::Yes)->click();
        });
        MessageBoxPrompter prompter;
        Prompt prompt;
        prompt.text = reply;
        prompt.buttons = Prompt::Buttons::YesNo;
        QCOMPARE(prompter.ask(prompt), Prompt::Answer::Yes);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(shown, reply);
    }
};

QTEST_MAIN(TestMessageBoxPrompter)
#include "tst_MessageBoxPrompter.moc"
