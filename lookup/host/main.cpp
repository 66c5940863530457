// Shows the search window by itself in a plain window, on pcs.mdb beside the
// program or on the file given. Options put the window into a state to look at:
//   vorimel-lookup-host [pcs.mdb] [--search TEXT] [--pick ROW] [--advanced]

#include "lookup/frmProcedures.h"
#include "platform/db/Database.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

bool openDatabase(const QString &file)
{
    auto &connection = platform::db::sharedConnection();
    try {
        connection.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=")
                                       + QDir::toNativeSeparators(file) + QStringLiteral(";Mode=Read"));
        connection.open();
        return true;
    } catch (const platform::AppError &error) {
        QMessageBox::critical(nullptr, QStringLiteral("Procedures"),
                              QStringLiteral("Error %1: %2").arg(error.number()).arg(error.description()));
        return false;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("database"), QStringLiteral("pcs.mdb to open (default: beside the program)"));
    const QCommandLineOption search(QStringLiteral("search"), QStringLiteral("Runs a keyword search."), QStringLiteral("text"));
    const QCommandLineOption pick(QStringLiteral("pick"), QStringLiteral("Selects a result row (from 0)."), QStringLiteral("row"));
    const QCommandLineOption advanced(QStringLiteral("advanced"), QStringLiteral("Opens the advanced search panel."));
    parser.addOptions({search, pick, advanced});
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    const QString file = positional.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/pcs.mdb")
                                              : positional.first();
    if (!openDatabase(file))
        return 1;

    int status = 0;
    {
        QMainWindow window;
        auto *procedures = new lookup::frmProcedures;
        procedures->setBackground(QPixmap(), QColor(0x30, 0x30, 0x30));
        window.setCentralWidget(procedures);
        window.setWindowTitle(procedures->windowTitle());
        window.resize(procedures->minimumSize() + QSize(40, 40));
        window.show();
        QTimer::singleShot(200, procedures, [&] {
            if (parser.isSet(search)) {
                procedures->txtSearch()->setText(parser.value(search));
                procedures->cmdSearch()->click();
            }
            if (parser.isSet(pick))
                procedures->lstSearch()->setCurrentRow(parser.value(pick).toInt());
            if (parser.isSet(advanced))
                procedures->Command1()->click();
        });
        status = app.exec();
    }
    platform::db::releaseShared();
    return status;
}
