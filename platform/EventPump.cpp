#include "EventPump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QPointer>

#include <glib.h>

namespace platform {

namespace {

// Qt's event loop on Linux usually runs on GLib's main context of the thread.
bool loopRunsOnGlib()
{
    static QPointer<QAbstractEventDispatcher> known;
    static bool glib = false;
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    if (dispatcher != known) {
        known = dispatcher;
        glib = dispatcher && dispatcher->inherits("QEventDispatcherGlib");
    }
    return glib;
}

// True when a pass of the loop that does not wait would find nothing to do:
// no source (posted events, window system events, timers) is ready, none will
// be before a timeout, and the only descriptor the loop would poll is the
// context's own wake-up, which serves only to end a wait. The sources answer
// from memory; only a poll of descriptors would need the kernel.
bool nothingPending(GMainContext *context)
{
    if (!g_main_context_acquire(context))
        return false; // another thread runs this loop: let Qt sort it out
    gint priority = G_MAXINT;
    const bool ready = g_main_context_prepare(context, &priority);
    gint timeout = -1;
    GPollFD descriptors[2];
    const gint polled = g_main_context_query(context, priority, &timeout, descriptors, 2);
    g_main_context_release(context);
    return !ready && timeout != 0 && polled <= 1;
}

GMainContext *threadContext()
{
    GMainContext *context = g_main_context_get_thread_default();
    return context ? context : g_main_context_default();
}

} // namespace

void serviceEvents()
{
    if (loopRunsOnGlib() && nothingPending(threadContext()))
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace platform
