#pragma once
// A screen reader follows what it can see. Qt tells it of every change to
// every widget, shown or not: disabling the search window for a search
// disables some two hundred controls, most of them in hidden panels, and each
// change became a message to the reader (and often its question back) while
// the search ran. Changes to widgets that are not shown are therefore not
// sent; the reader reads their state afresh when they are shown, and showing
// and hiding themselves always reach it.

class QAccessibleEvent;

namespace platform {

// Whether the event is worth a reader's attention: false only for a change of
// state, name, value, place or table contents of a widget that is not shown.
bool reachesAssistiveTechnology(const QAccessibleEvent &event);

// Makes Qt send only those events; once is enough, more calls change nothing.
void sendAccessibilityUpdatesOfShownWidgetsOnly();

} // namespace platform
