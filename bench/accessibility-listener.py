#!/usr/bin/python3
"""Stands in for a screen reader while the benchmarks run.

Registers with the AT-SPI registry for the events a screen reader follows, so
that every program on the bus sends them, and does what a reader does with the
few that call for speech: it asks the focused object for its name and role.
Prints "ready" once registered; on SIGTERM or SIGINT it stops and prints how
many events it heard, so a run that heard nothing is plain to see.
With VORIMEL_LISTENER_LOG set to a file, each event's type and its source's
role and name are written there, one line each (asking costs round trips:
for finding out which events a step sends, not for timing).
"""

import os

import signal
import sys

import pyatspi
from gi.repository import GLib

# What a screen reader such as Orca registers for.
EVENTS = (
    "object:children-changed",
    "object:state-changed",
    "object:property-change:accessible-name",
    "object:property-change:accessible-description",
    "object:property-change:accessible-value",
    "object:selection-changed",
    "object:active-descendant-changed",
    "object:text-changed",
    "object:text-caret-moved",
    "object:text-selection-changed",
    "object:value-changed",
    "object:visible-data-changed",
    "object:row-inserted",
    "object:row-deleted",
    "object:row-reordered",
    "object:column-reordered",
    "window:activate",
    "window:deactivate",
    "window:create",
    "window:destroy",
    "focus:",
)

heard = {"events": 0, "questions": 0}
log_path = os.environ.get("VORIMEL_LISTENER_LOG")
log = open(log_path, "w", buffering=1) if log_path else None


def describe(accessible):
    try:
        return "%s %r" % (accessible.getRoleName(), accessible.name)
    except Exception:
        return "(gone)"


def speak(accessible):
    """A reader reads out what got the focus: its name and its role."""
    try:
        accessible.name
        accessible.getRoleName()
        heard["questions"] += 1
    except Exception:  # the object may be gone already; a reader shrugs
        pass


def on_event(event):
    heard["events"] += 1
    if log:
        print(event.type, event.detail1, describe(event.source), file=log)
    if event.type.startswith("focus"):
        speak(event.source)
    elif event.type == "object:state-changed:focused" and event.detail1 == 1:
        speak(event.source)
    elif event.type.startswith("object:active-descendant-changed") and event.any_data is not None:
        speak(event.any_data)


def stop(*_):
    pyatspi.Registry.stop()
    return GLib.SOURCE_REMOVE


def main():
    pyatspi.Registry.registerEventListener(on_event, *EVENTS)
    for number in (signal.SIGTERM, signal.SIGINT):
        GLib.unix_signal_add(GLib.PRIORITY_HIGH, number, stop)
    print("ready", flush=True)
    pyatspi.Registry.start()
    print(
        "accessibility listener: heard %d events, asked %d objects for name and role"
        % (heard["events"], heard["questions"]),
        file=sys.stderr,
        flush=True,
    )


if __name__ == "__main__":
    main()
