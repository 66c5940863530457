// Shows the search window by itself in a plain window, on pcs.mdb beside the
// program or on the file named by the first argument.

#include "lookup/frmProcedures.h"
#include "platform/db/Database.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMessageBox>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString file = arguments.size() > 1 ? arguments[1]
                                              : QCoreApplication::applicationDirPath() + QStringLiteral("/pcs.mdb");

    auto &connection = platform::db::sharedConnection();
    try {
        connection.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
                                       + QDir::toNativeSeparators(file) + QStringLiteral(";Mode=Read"));
        connection.setCursorLocation(platform::db::adUseClient);
        connection.open();
    } catch (const platform::AppError &error) {
        QMessageBox::critical(nullptr, QStringLiteral("Procedures"),
                              QStringLiteral("Error %1: %2").arg(error.number()).arg(error.description()));
        return 1;
    }

    int status = 0;
    {
        QMainWindow window;
        auto *procedures = new lookup::frmProcedures;
        procedures->setBackground(QPixmap(), QColor(0x30, 0x30, 0x30));
        window.setCentralWidget(procedures);
        window.setWindowTitle(procedures->windowTitle());
        window.resize(procedures->minimumSize() + QSize(40, 40));
        window.show();
        status = app.exec();
    }
    platform::db::releaseShared();
    return status;
}
