#pragma once
// Drives a search window through its widgets the way a user does, with the
// message boxes replaced by recorded answers.

#include "lookup/frmProcedures.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

class QAbstractButton;
class QListWidget;

struct RecordedPrompts {
    struct Question {
        QString title;
        QString prompt;
    };
    struct Message {
        QMessageBox::Icon icon;
        QString title;
        QString text;
    };
    QList<Question> questions;
    QList<Message> messages;
    bool answer = true;

    lookup::UserPrompts seam();
};

// Runs an action the n-th time pending events are serviced from now on, that
// is, in the middle of whatever reading is started next. It keeps one event
// posted to itself, which each servicing delivers once.
class DuringReading : public QObject {
public:
    DuringReading(int pass, std::function<void()> action);
    bool ran() const { return ran_; }

protected:
    void customEvent(QEvent *event) override;

private:
    int passesLeft_;
    std::function<void()> action_;
    bool ran_ = false;
};

class WindowDriver {
public:
    WindowDriver();
    ~WindowDriver();

    lookup::frmProcedures &window() { return *window_; }
    // Deletes the window at once, as a close with delete-on-close ends up doing.
    void destroyWindow() { delete window_.data(); }
    bool windowExists() const { return !window_.isNull(); }
    RecordedPrompts &prompts() { return *prompts_; }
    // Makes the window the active one, as keys typed by a user need.
    void activate();

    void search(const QString &text);            // types the text, presses "Search"
    void typeAndRelease(const QString &text, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void clickResult(int row);
    void doubleClickDuplicate(int row);
    void openAdvanced();
    void tick(int row, const QString &text);
    void find();

    QStringList results() const;
    QStringList resultIds() const;
    QStringList duplicates() const;
    QStringList gridValues() const;
    QString gridValue(int row) const;

    static QStringList items(const QListWidget *list);
    static QStringList items(const lookup::ResultList *list);
    // Runs the handlers the lists queued for themselves.
    static void settle();
    // One keystroke, then what it queued.
    static void press(QWidget *target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    static void click(QAbstractButton *button);

private:
    std::shared_ptr<RecordedPrompts> prompts_;
    QPointer<lookup::frmProcedures> window_;
};
