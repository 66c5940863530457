#include "lookup/UserPrompts.h"

namespace lookup {

namespace {
QString shownText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}
} // namespace

UserPrompts UserPrompts::messageBoxes()
{
    UserPrompts prompts;
    prompts.confirm = [](QWidget *parent, const QString &title, const QString &prompt) {
        return QMessageBox::question(parent, title, shownText(prompt), QMessageBox::Yes | QMessageBox::No)
               == QMessageBox::Yes;
    };
    prompts.tell = [](QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text) {
        QMessageBox box(icon, title, shownText(text), QMessageBox::Ok, parent);
        box.exec();
    };
    return prompts;
}

} // namespace lookup
