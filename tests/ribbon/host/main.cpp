// vorimel-ribbon-host [--theme 0|1|2] [--demo]: shows the ribbon as the frame fills
// it; --demo adds a second tab with a dialog launcher and a two-line caption.

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
    QCommandLineOption demoOption(QStringLiteral("demo"), QStringLiteral("add a second tab to try every look"));
    parser.addOption(demoOption);
    parser.process(app);

    RibbonHostWindow window(parser.value(themeOption).toInt(), parser.isSet(demoOption));
    window.show();
    return app.exec();
}
