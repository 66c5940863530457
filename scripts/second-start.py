#!/usr/bin/python3
"""The two helpers of scripts/second-start.

  second-start.py cover PROGRAM
      A plain window that covers most of the screen and takes the focus, as
      another program the user works in; 1.5 s after it is shown it starts
      PROGRAM as a desktop's launcher does, through GIO with the display's
      launch context, which hands PROGRAM an activation token
      (XDG_ACTIVATION_TOKEN on Wayland, DESKTOP_STARTUP_ID on X11).
      It stays open until killed.

  second-start.py report [SECONDS]
      Waits up to SECONDS (default 10) until some window is active in the
      accessibility tree, then prints one line: how many Vorimel frames
      there are, the active frame, its application, and the control with
      the keyboard focus in it.
      Exit status 0 when the active frame is Vorimel's and its search box has
      the focus.

  second-start.py wait-for NAME [SECONDS]
      Waits until an application named NAME shows a frame in the
      accessibility tree; status 1 when it does not in time.
"""
import sys
import time


def cover(program):
    import gi

    gi.require_version("Gtk", "3.0")
    from gi.repository import Gio, GLib, Gtk

    window = Gtk.Window(title="Cover")
    window.set_default_size(1400, 950)
    window.add(Gtk.Entry())
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    window.present()

    def launch():
        context = window.get_display().get_app_launch_context()
        info = Gio.AppInfo.create_from_commandline(program, "Vorimel", Gio.AppInfoCreateFlags.SUPPORTS_STARTUP_NOTIFICATION)
        info.launch([], context)
        print(f"cover: started the second instance (the cover active then: {window.is_active()})", flush=True)
        return False

    GLib.timeout_add(1500, launch)
    Gtk.main()


def frames():
    import pyatspi

    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        try:
            children = list(app)
        except Exception:
            continue
        for child in children:
            if child is not None:
                yield app, child


def focused_in(accessible, depth=0):
    """The innermost focused control under accessible: Qt marks the child
    window that holds the focus as focused too."""
    import pyatspi

    if accessible is None or depth > 40:
        return None
    try:
        for child in accessible:
            found = focused_in(child, depth + 1)
            if found is not None:
                return found
        if accessible.getState().contains(pyatspi.STATE_FOCUSED):
            return accessible
    except Exception:
        return None
    return None


def report(seconds):
    import pyatspi

    deadline = time.monotonic() + seconds
    while True:
        active = [(app, frame) for app, frame in frames() if frame.getState().contains(pyatspi.STATE_ACTIVE)]
        if active or time.monotonic() > deadline:
            break
        time.sleep(0.2)
    if not active:
        print("active: none")
        return 1
    app, frame = active[0]
    focus = focused_in(frame)
    focus_name = f"{focus.name!r} ({focus.getRoleName()})" if focus is not None else "none"
    ours = sum(1 for app_, frame_ in frames() if app_.name == "Vorimel" and frame_.name == "Vorimel")
    print(f"vorimel frames: {ours}; active: {frame.name!r} of {app.name!r}; focus: {focus_name}")
    return 0 if frame.name == "Vorimel" and focus is not None and focus.name == "Search text" else 1


def wait_for(name, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if any(app.name.lower() == name.lower() for app, _ in frames()):
            return 0
        time.sleep(0.2)
    return 1


def main(argv):
    if len(argv) >= 3 and argv[1] == "cover":
        cover(argv[2])
        return 0
    if len(argv) >= 2 and argv[1] == "report":
        return report(float(argv[2]) if len(argv) > 2 else 10)
    if len(argv) >= 3 and argv[1] == "wait-for":
        return wait_for(argv[2], float(argv[3]) if len(argv) > 3 else 60)
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
