// The ribbon filled as the frame fills it: a Refresh, a theme change (every
// picture of the theme loaded through a temporary file), and mouse moves swept
// across tabs, categories and buttons.

#include "BenchContext.h"

#include "app/FrameRibbon.h"
#include "ribbon/TelvarRibbon.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace bench {

namespace {

platform::ImageList buttonPictures()
{
    platform::ImageList list;
    for (int i = 0; i < 7; ++i) {
        QPixmap p(32, 32);
        p.fill(QColor::fromHsv(i * 50, 160, 220));
        list.add(p);
    }
    return list;
}

void fillAsTheFrameDoes(TelvarRibbon &ribbon)
{
    ribbon.SetTheme(0);
    ribbon.SetImageList(buttonPictures());
    app::addFrameRibbonContent(ribbon);
    ribbon.Refresh();
}

// Delivers one mouse move to whatever element lies under pos, as the window
// system would.
void moveTo(TelvarRibbon &ribbon, QPoint pos)
{
    QWidget *target = ribbon.childAt(pos);
    if (!target)
        target = &ribbon;
    const QPointF local = target->mapFrom(&ribbon, QPointF(pos));
    QMouseEvent move(QEvent::MouseMove, local, target->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

} // namespace

void runRibbonBenchmarks(const Context &ctx)
{
    QWidget host;
    host.resize(1280, 200);
    auto *ribbon = new TelvarRibbon(&host);
    ribbon->setGeometry(0, 0, 1280, 116);
    fillAsTheFrameDoes(*ribbon);
    host.show();
    QApplication::processEvents();

    Result refresh{QStringLiteral("ribbon Refresh")};
    refresh.target = 5;
    refresh.samples = timeRuns(ctx.runs, 1, [&] { ribbon->Refresh(); });
    ctx.report->add(refresh);

    Result theme{QStringLiteral("ribbon theme change (pictures through temp files)")};
    theme.target = 20;
    int next = 1;
    theme.samples = timeRuns(ctx.runs, 1, [&] { ribbon->SetTheme(next++ % 3); });
    ctx.report->add(theme);
    ribbon->SetTheme(0);
    ribbon->Refresh();

    // A sweep back and forth across the band at three heights: tab strip,
    // category captions and buttons.
    QVector<QPoint> path;
    const int width = std::min(ribbon->width(), 400);
    const int h = ribbon->height();
    for (int i = 0; path.size() < 1000; ++i) {
        const int x = (i * 7) % (2 * width);
        path.push_back(QPoint(x < width ? x : 2 * width - x, (i / 60) % 3 == 0 ? 10 : (i / 60) % 3 == 1 ? h / 2 : h - 12));
    }
    Result moves{QStringLiteral("ribbon: 1,000 mouse moves over tabs, categories, buttons")};
    moves.target = 50;
    moves.samples = timeRuns(ctx.runs, 1, [&] {
        for (const QPoint &p : path)
            moveTo(*ribbon, p);
    });
    ctx.report->add(moves);
}

} // namespace bench
