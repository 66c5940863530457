#include "ErrorReportingApplication.h"

#include "app/AppVersion.h"

#include <QMessageBox>
#include <QMetaMethod>
#include <new>

namespace app {

ErrorReportingApplication::ErrorReportingApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool ErrorReportingApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportFatal(errorFrom(std::current_exception()));
        return false;
    }
}

bool ErrorReportingApplication::event(QEvent *event)
{
    if (event->type() == QEvent::Quit && isSignalConnected(QMetaMethod::fromSignal(&ErrorReportingApplication::quitRequested))) {
        emit quitRequested();
        return true;
    }
    return QApplication::event(event);
}

void ErrorReportingApplication::reportFatal(const platform::AppError &error)
{
    // Handlers and timers still run behind the box. Leaving the event loops
    // now would close the box before anyone could read it; closing it ends
    // the program anyway.
    if (presenting_)
        return;
    if (!failed_) {
        failed_ = true;
        presenting_ = true;
        if (presenter_)
            presenter_(error);
        else
            QMessageBox::critical(nullptr, QString::fromLatin1(version::ProductName), messageText(error));
        presenting_ = false;
        emit fatalErrorReported();
    }
    QCoreApplication::exit(1);
}

void ErrorReportingApplication::setErrorPresenter(ErrorPresenter presenter)
{
    presenter_ = std::move(presenter);
}

platform::AppError ErrorReportingApplication::errorFrom(std::exception_ptr exception)
{
    const QString source = QString::fromLatin1(version::ProductName);
    try {
        std::rethrow_exception(exception);
    } catch (const platform::AppError &error) {
        return error;
    } catch (const std::bad_alloc &) {
        return platform::AppError(ErrOutOfMemory, source, QStringLiteral("Out of memory"));
    } catch (const std::exception &error) {
        return platform::AppError(ErrInternal, source,
                                  QStringLiteral("Internal error: %1").arg(QString::fromLocal8Bit(error.what())));
    } catch (...) {
        return platform::AppError(ErrInternal, source, QStringLiteral("Internal error"));
    }
}

QString ErrorReportingApplication::messageText(const platform::AppError &error)
{
    return QStringLiteral("Run-time error '%1':\n\n%2").arg(error.number()).arg(error.description());
}

} // namespace app
