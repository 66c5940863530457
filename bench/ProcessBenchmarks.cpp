// Benchmarks measured from outside a process: building the full pcs.mdb with
// vorimel-pcsdb, and the program's start until its window is on the X server.

#include "BenchContext.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <cstdio>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace bench {

namespace {

QString releaseFile(const Context &ctx, const char *name)
{
    return ctx.workDir + QStringLiteral("/release/") + QLatin1String(name);
}

} // namespace

void runBuildBenchmark(const Context &ctx)
{
    const QString output = ctx.workDir + QStringLiteral("/pcs-build.mdb");
    const QStringList args{QStringLiteral("--order"), releaseFile(ctx, "icd10pcs_order_2020.txt"),
                           QStringLiteral("--tables"), releaseFile(ctx, "icd10pcs_tables_2020.xml"),
                           QStringLiteral("--gem"), releaseFile(ctx, "2018_I10_pcs_gem.txt"),
                           QStringLiteral("--icd9"), releaseFile(ctx, "CMS32_DESC_LONG_SG.txt"),
                           QStringLiteral("--output"), output};
    bool failed = false;
    Result r{QStringLiteral("build the full pcs.mdb from the release")};
    r.target = 5000;
    r.samples = timeRuns(std::max(3, ctx.runs / 3), 0, [&] {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(ctx.binDir + QStringLiteral("/vorimel-pcsdb"), args);
        if (!p.waitForFinished(120000) || p.exitCode() != 0)
            failed = true;
    });
    QFile::remove(output);
    if (failed)
        std::fprintf(stderr, "vorimel-pcsdb failed during the build benchmark\n");
    else
        ctx.report->add(r);
}

namespace {

struct XcbDeleter {
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, XcbDeleter>;

bool hasViewableWindowTitled(xcb_connection_t *c, xcb_window_t root, const char *title)
{
    XcbReply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree)
        return false;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    const int n = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < n; ++i) {
        XcbReply<xcb_get_property_reply_t> name(xcb_get_property_reply(
            c, xcb_get_property(c, 0, children[i], XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr));
        if (!name)
            continue;
        const int len = xcb_get_property_value_length(name.get());
        if (len != int(std::strlen(title))
            || std::memcmp(xcb_get_property_value(name.get()), title, size_t(len)) != 0)
            continue;
        XcbReply<xcb_get_window_attributes_reply_t> attrs(xcb_get_window_attributes_reply(
            c, xcb_get_window_attributes(c, children[i]), nullptr));
        if (attrs && attrs->map_state == XCB_MAP_STATE_VIEWABLE)
            return true;
    }
    return false;
}

} // namespace

void runStartupBenchmark(const Context &ctx)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "no DISPLAY: start-up benchmark skipped (run under xvfb-run)\n");
        return;
    }
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot reach the X server: start-up benchmark skipped\n");
        xcb_disconnect(c);
        return;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    bool failed = false;
    Result r{QStringLiteral("program start until the search window is shown (xcb, Xvfb)")};
    r.target = 400;
    QElapsedTimer timer;
    for (int i = 0; i < std::max(5, ctx.runs / 2) && !failed; ++i) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        timer.start();
        p.start(ctx.workDir + QStringLiteral("/vorimel"), {});
        bool shown = false;
        while (!shown && timer.elapsed() < 20000 && p.state() != QProcess::NotRunning) {
            shown = hasViewableWindowTitled(c, root, "Vorimel");
            if (!shown)
                QThread::usleep(500);
        }
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        p.terminate();
        if (!p.waitForFinished(5000)) {
            p.kill();
            p.waitForFinished(5000);
        }
        if (!shown)
            failed = true;
        else
            r.samples << ms;
    }
    xcb_disconnect(c);
    if (failed)
        std::fprintf(stderr, "the program did not show its window: start-up benchmark failed\n");
    else
        ctx.report->add(r);
}

} // namespace bench
