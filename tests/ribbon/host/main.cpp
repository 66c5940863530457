// vorimel-ribbon-host [--theme 0|1|2]: shows the ribbon as the frame fills it.

#include "RibbonHostWindow.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption themeOption(QStringLiteral("theme"), QStringLiteral("0 BLACK, 1 BLUE, 2 SILVER"),
                                   QStringLiteral("number"), QStringLiteral("0"));
    parser.addOption(themeOption);
    parser.process(app);

    RibbonHostWindow window(parser.value(themeOption).toInt());
    window.show();
    return app.exec();
}
