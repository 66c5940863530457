#pragma once
// A window that carries a ribbon filled like the program's frame, a theme
// chooser and a log of the events the ribbon raises; for looking at the ribbon.

#include <QMainWindow>

class QComboBox;
class QLabel;
class QMdiArea;
class TelvarRibbon;

class RibbonHostWindow : public QMainWindow {
    Q_OBJECT

public:
    RibbonHostWindow(int theme, bool demo, QWidget *parent = nullptr);

private:
    void applyTheme(int theme);
    void log(const QString &line);

    TelvarRibbon *ribbon_;
    QComboBox *themeChooser_;
    QMdiArea *workspace_;
    QLabel *events_;
};
