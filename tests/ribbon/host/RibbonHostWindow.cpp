#include "RibbonHostWindow.h"

#include "app/FrameRibbon.h"
#include "app/ProgramArt.h"
#include "platform/AppError.h"
#include "ribbon/TelvarRibbon.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QPainter>
#include <QVBoxLayout>

RibbonHostWindow::RibbonHostWindow(int theme, bool demo, QWidget *parent)
    : QMainWindow(parent), ribbon_(new TelvarRibbon), themeChooser_(new QComboBox), workspace_(new QMdiArea),
      events_(new QLabel)
{
    setWindowTitle(QStringLiteral("Vorimel ribbon"));
    themeChooser_->addItems({QStringLiteral("BLACK"), QStringLiteral("BLUE"), QStringLiteral("SILVER")});

    auto *chooserRow = new QHBoxLayout;
    chooserRow->addWidget(new QLabel(QStringLiteral("Theme:")));
    chooserRow->addWidget(themeChooser_);
    chooserRow->addWidget(events_, 1);

    auto *central = new QWidget;
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(ribbon_);
    column->addWidget(workspace_, 1);
    column->addLayout(chooserRow);
    setCentralWidget(central);

    ribbon_->SetImageList(app::buttonPictures());
    app::addFrameRibbonContent(*ribbon_);
    if (demo) {
        ribbon_->AddTab(QStringLiteral("demo"), QStringLiteral("Demo"));
        ribbon_->AddTab(QStringLiteral("more"), QStringLiteral("More"));
        ribbon_->AddCat(QStringLiteral("launch"), QStringLiteral("1"), QStringLiteral("Launcher"), true);
        ribbon_->AddCat(QStringLiteral("d1"), QStringLiteral("demo"), QStringLiteral("Demo group"), true);
        ribbon_->AddButton(QStringLiteral("two"), QStringLiteral("launch"), QStringLiteral("Two\r\nlines"), 2);
        ribbon_->AddButton(QStringLiteral("d"), QStringLiteral("d1"), QStringLiteral("Demo"), 3);
    }

    connect(ribbon_, &TelvarRibbon::TabClick, this,
            [this](const QString &id, const QString &caption) { log(QStringLiteral("TabClick %1 \"%2\"").arg(id, caption)); });
    connect(ribbon_, &TelvarRibbon::CatClick, this,
            [this](const QString &id, const QString &caption) { log(QStringLiteral("CatClick %1 \"%2\"").arg(id, caption)); });
    connect(ribbon_, &TelvarRibbon::ButtonClick, this, [this](const QString &id, const QString &caption) {
        log(QStringLiteral("ButtonClick %1 \"%2\"").arg(id, caption));
        if (id == QLatin1String("3"))
            close();
    });
    connect(themeChooser_, &QComboBox::currentIndexChanged, this, &RibbonHostWindow::applyTheme);

    themeChooser_->setCurrentIndex(qBound(0, theme, 2));
    applyTheme(themeChooser_->currentIndex());
    resize(900, 560);
}

void RibbonHostWindow::applyTheme(int theme)
{
    try {
        ribbon_->SetTheme(theme);
        workspace_->setBackground(ribbon::colorFromValue(ribbon_->BackColor()));
        const QPixmap background = ribbon_->LoadBackground();
        QPixmap canvas(qMax(background.width(), 1600), qMax(background.height(), 1000));
        canvas.fill(ribbon::colorFromValue(ribbon_->BackColor()));
        QPainter(&canvas).drawPixmap(0, 0, background);
        workspace_->setBackground(canvas);
        ribbon_->Refresh();
        log(QStringLiteral("theme %1").arg(ribbon_->Theme()));
    } catch (const platform::AppError &error) {
        log(QStringLiteral("error %1 (%2): %3").arg(error.number()).arg(error.source(), error.description()));
    }
}

void RibbonHostWindow::log(const QString &line)
{
    events_->setText(line);
}
