#pragma once
// The questions and messages the search window puts to the user. Tests put
// their own answers in place of the message boxes.

#include <QMessageBox>
#include <QString>
#include <functional>

namespace lookup {

struct UserPrompts {
    // Yes/No question; true for Yes. A CR LF in prompt is a line break.
    std::function<bool(QWidget *parent, const QString &title, const QString &prompt)> confirm;
    // A message with an OK button.
    std::function<void(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)> tell;

    static UserPrompts messageBoxes();
};

} // namespace lookup
