#pragma once
// A screen reader follows what it can see. Qt tells it of every change to
// every widget, shown or not: disabling the search window for a search
// disables some two hundred controls, most of them in hidden panels, and each
// change became a message to the reader (and often its question back) while
// the search ran. Changes to widgets that are not shown are therefore not
// sent; the reader reads their state afresh when they are shown, and showing
// and hiding themselves always reach it. Nor is anything sent about the parts
// of a scroll area (its viewport, the boxes around its scroll bars), which no
// reader can reach: the list and the grid changed them with every search.
// Enabling, showing and a widget's focus are sent as their net change a
// moment later (HeldStateChanges.h).

class QAccessibleEvent;

namespace platform {

// Whether the event is worth a reader's attention: false for a change of
// state, name, value, place or table contents of a widget that is not shown,
// for any change, showing or hiding of a widget outside the reader's tree, for
// the hiding of a widget whose container the reader sees hidden with it, and
// for the focus in a list or table with the keyboard neither in it nor beside it.
bool reachesAssistiveTechnology(const QAccessibleEvent &event);

// Where the events worth sending go: Qt's bridge to the reader, or what a
// test gives.
using AccessibleEventSink = void (*)(QAccessibleEvent &);

// Makes Qt send only those events; once is enough, more calls change nothing.
void sendAccessibilityUpdatesOfShownWidgetsOnly(AccessibleEventSink sink = nullptr);

} // namespace platform
