// The search window's own work on the full database: keyword searches from the
// Search click until the count is set, how long the window goes without a
// repaint during an empty search, the advanced search, the details of a
// procedure with one and with three ICD-9 rows, and peak memory after an empty
// search (measured in a fresh process so nothing else inflates it).

#include "BenchContext.h"

#include "lookup/AdvancedPanel.h"
#include "lookup/DuplicatesPanel.h"
#include "lookup/frmProcedures.h"
#include "platform/db/Database.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace bench {

namespace {

using namespace platform::db;

void openShared(const Context &ctx)
{
    Connection &c = sharedConnection();
    if (c.isOpen())
        return;
    c.setConnectionString(ctx.connectionString());
    c.setCursorLocation(adUseClient);
    c.open();
}

// The first ID whose procedure has exactly `rows` rows in getalldata.
qint32 procedureWithRows(int rows)
{
    Command command;
    command.setActiveConnection(&sharedConnection());
    command.setCommandText(
        QStringLiteral("SELECT ID FROM getalldata GROUP BY ID HAVING count(*) = %1 ORDER BY ID;").arg(rows));
    Recordset rs;
    rs.open(command);
    const qint32 id = rs.eof() ? 0 : rs.field(QStringLiteral("ID")).value().toInt();
    rs.close();
    return id;
}

lookup::frmProcedures *makeWindow()
{
    auto *w = new lookup::frmProcedures;
    lookup::UserPrompts yes;
    yes.confirm = [](QWidget *, const QString &, const QString &) { return true; };
    yes.tell = [](QWidget *, QMessageBox::Icon, const QString &title, const QString &text) {
        std::fprintf(stderr, "search window says: %s: %s\n", qPrintable(title), qPrintable(text));
    };
    w->setPrompts(yes);
    w->resize(1280, 900);
    w->show();
    return w;
}

void keywordSearch(lookup::frmProcedures &w, const QString &text)
{
    w.txtSearch()->setText(text);
    w.cmdSearch()->click();
}

void benchmarkKeyword(const Context &ctx, lookup::frmProcedures &w, const Descriptions &descriptions,
                      const QString &word, double target, int runs)
{
    Result r;
    r.samples = timeRuns(runs, 1, [&] { keywordSearch(w, word); });
    r.name = QStringLiteral("keyword search \"%1\" (%2)").arg(word, w.lblSearch()->text());
    r.target = target;
    Result floor;
    floor.samples = substringScanTimes(descriptions, word, runs);
    r.reference = floor.median();
    r.referenceName = QStringLiteral("substring floor");
    ctx.report->add(r);
}

// Records the longest time between two paints of a widget.
class PaintPauses : public QObject {
public:
    explicit PaintPauses(QWidget *watched) : watched_(watched) { watched->installEventFilter(this); }
    ~PaintPauses() override { watched_->removeEventFilter(this); }
    void start()
    {
        longest_ = 0;
        since_.start();
    }
    // Includes the pause from the last paint until now.
    double longestMs() const { return std::max(longest_, double(since_.nsecsElapsed()) / 1e6); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            longest_ = std::max(longest_, double(since_.nsecsElapsed()) / 1e6);
            since_.start();
        }
        return false;
    }

private:
    QWidget *watched_;
    QElapsedTimer since_;
    double longest_ = 0;
};

// During an empty search the wait label is asked to repaint every few
// milliseconds, as an uncovered window is; the longest pause between its
// paints is how long the window looks frozen.
void benchmarkRepaintPauses(const Context &ctx, lookup::frmProcedures &w)
{
    QWidget *label = w.lblWait(1);
    PaintPauses pauses(label);
    QTimer asker;
    asker.setTimerType(Qt::PreciseTimer);
    asker.setInterval(5);
    QObject::connect(&asker, &QTimer::timeout, label, qOverload<>(&QWidget::update));
    Result r{QStringLiteral("empty search: longest pause between repaints of the window")};
    r.target = 50;
    r.comparesWithBaseline = false;
    for (int i = 0; i < std::max(3, ctx.runs / 3); ++i) {
        asker.start();
        pauses.start();
        keywordSearch(w, QString());
        r.samples << pauses.longestMs();
        asker.stop();
    }
    ctx.report->add(r);
}

void benchmarkAdvanced(const Context &ctx, lookup::frmProcedures &w)
{
    w.Command1()->click();
    lookup::AdvancedPanel *panel = w.picAdvanced();
    // "Starting With" anchors both texts at their start; the leading % in the
    // description's text makes that one an "includes" condition.
    panel->selectPosition(lookup::TextPosition::StartingWith);
    panel->selectJoining(lookup::Joining::AllKeywords);
    panel->chkParam(0)->setChecked(true);
    panel->txtParam(0)->setText(QStringLiteral("%artery"));
    panel->chkParam(1)->setChecked(true);
    panel->txtParam(1)->setText(QStringLiteral("02"));
    Result r;
    r.samples = timeRuns(ctx.runs, 1, [&] { panel->cmdAdvancedSearch()->click(); });
    r.name = QStringLiteral("advanced: Desc includes artery AND Code starts 02 (%1)").arg(w.lblSearch()->text());
    r.target = 40;
    ctx.report->add(r);
    panel->cmdAdvancedCancel()->click();
}

void benchmarkDetails(const Context &ctx, lookup::frmProcedures &w, int rows)
{
    const qint32 id = procedureWithRows(rows);
    if (id == 0) {
        std::fprintf(stderr, "no procedure with %d ICD-9 rows: details benchmark skipped\n", rows);
        return;
    }
    Result r;
    r.samples = timeRuns(ctx.runs, 1, [&] { w.GetProductDetails(id, QStringLiteral("0")); });
    const int shown = rows > 1 ? w.picDuplicates()->lstDuplicates()->count() : 1;
    r.name = QStringLiteral("details, %1 ICD-9 row(s) (ID %2, %3 line(s) shown)").arg(rows).arg(id).arg(shown);
    r.target = 1;
    ctx.report->add(r);
}

void benchmarkMemory(const Context &ctx)
{
    Result r{QStringLiteral("peak memory, full database open after an empty search")};
    r.unit = QStringLiteral("MB");
    r.target = 100;
    for (int i = 0; i < 3; ++i) {
        QProcess probe;
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        probe.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--work"), ctx.workDir, QStringLiteral("--accessibility"), ctx.accessibility,
                     QStringLiteral("--memory-probe")});
        if (!probe.waitForFinished(120000) || probe.exitCode() != 0) {
            std::fprintf(stderr, "memory probe failed\n");
            return;
        }
        r.samples << probe.readAllStandardOutput().trimmed().toDouble();
    }
    ctx.report->add(r);
}

} // namespace

int runMemoryProbe(const Context &ctx)
{
    openShared(ctx);
    std::unique_ptr<lookup::frmProcedures> w(makeWindow());
    keywordSearch(*w, QString());
    // The peak of this process image only: getrusage's maximum survives exec
    // and would report the benchmark process that started the probe.
    QFile status(QStringLiteral("/proc/self/status"));
    double peakMb = -1;
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                peakMb = line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        }
    }
    if (peakMb < 0)
        return 1;
    std::printf("%.1f\n", peakMb);
    return 0;
}

int runProfiled(const Context &ctx, const QString &what, int repeats)
{
    openShared(ctx);
    std::unique_ptr<lookup::frmProcedures> w(makeWindow());
    std::function<void()> step;
    if (what.startsWith(QLatin1String("search:"))) {
        const QString text = what.mid(7);
        step = [&, text] { keywordSearch(*w, text); };
    } else if (what.startsWith(QLatin1String("details:"))) {
        const qint32 id = procedureWithRows(what.mid(8).toInt());
        // Details are read with a full result list, as in the benchmark: the
        // list is disabled and enabled again around each reading.
        keywordSearch(*w, QStringLiteral("artery"));
        step = [&, id] { w->GetProductDetails(id, QStringLiteral("0")); };
    } else {
        std::fprintf(stderr, "--profile takes search:<text> or details:<rows>\n");
        return 2;
    }
    step(); // warm-up: fonts, caches, the first layout
    for (int i = 0; i < repeats; ++i)
        step();
    std::printf("%s\n", qPrintable(w->lblSearch()->text()));
    return 0;
}

void runLookupBenchmarks(const Context &ctx)
{
    openShared(ctx);
    const auto descriptions = loadDescriptions(sharedConnection());
    std::unique_ptr<lookup::frmProcedures> w(makeWindow());
    benchmarkKeyword(ctx, *w, descriptions, QStringLiteral("bypass"), 12, ctx.runs);
    benchmarkKeyword(ctx, *w, descriptions, QStringLiteral("heart"), 3, ctx.runs);
    benchmarkKeyword(ctx, *w, descriptions, QString(), 120, std::max(5, ctx.runs / 2));
    benchmarkRepaintPauses(ctx, *w);
    benchmarkAdvanced(ctx, *w);
    benchmarkDetails(ctx, *w, 1);
    benchmarkDetails(ctx, *w, 3);
    w.reset();
    benchmarkMemory(ctx);
}

} // namespace bench
