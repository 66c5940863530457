#pragma once
// The application object. An error that escapes an event handler ends the
// program as the platform's run-time error did: one box with the error's number
// and description, then exit status 1. Nothing is ever left to crash silently.

#include "platform/AppError.h"

#include <QApplication>
#include <exception>
#include <functional>

namespace app {

class ErrorReportingApplication : public QApplication {
    Q_OBJECT
public:
    // Number and source of errors that are not the program's own AppError.
    static constexpr int ErrOutOfMemory = 7;
    static constexpr int ErrInternal = 51;

    using ErrorPresenter = std::function<void(const platform::AppError &)>;

    ErrorReportingApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
    // A request to quit (the desktop session ends) becomes quitRequested when
    // someone listens: the frame window ignores the close that Qt would try
    // first, so the session's end would otherwise be refused.
    bool event(QEvent *event) override;

    // Shows the error (only the first one: errors raised while the program
    // ends are not shown again), raises fatalErrorReported and leaves the event
    // loop with status 1. Errors raised while the box is up change nothing.
    void reportFatal(const platform::AppError &error);
    bool hasFailed() const { return failed_; }

    // How the error is shown; the default is a critical message box. Tests
    // replace it. An empty presenter restores the default.
    void setErrorPresenter(ErrorPresenter presenter);

    // The error an escaped exception stands for.
    static platform::AppError errorFrom(std::exception_ptr exception);
    // The box's text: the number and the description.
    static QString messageText(const platform::AppError &error);

signals:
    // The host ends the program here (closes the database and its windows).
    void fatalErrorReported();
    void quitRequested();

private:
    ErrorPresenter presenter_;
    bool failed_ = false;
    bool presenting_ = false;
};

} // namespace app
