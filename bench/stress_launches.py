#!/usr/bin/env python3
"""Launches the real program many times on damaged copies of a pcs.mdb, as a
user's desktop would run it: under Xvfb with a window manager (openbox), a
session bus and the accessibility bus on, core dumps allowed. Every so many
launches the desktop session is started afresh, so that first launches on a
new session are among them.

Each launch ends in one of these outcomes:
  error box N   the program showed its error box with number N; closing it
                ended the program with status 1
  search error N  it started, the keyword search showed an error box with
                number N, and after OK a termination signal ended it with
                status 0
  searched      the program started, a keyword search ran and showed its count,
                and a termination signal ended it with status 0
  started       the same, but no count of a search was seen
  signal S      the program died of signal S (a core file is kept)
  hang          no window within the time allowed, or no end after it was asked
  exit S        it ended with status S without showing any window
  sanitizer     a sanitizer build reported a fault (whatever the outcome)
  odd           anything else (the record says what)

Usage: stress_launches.py --programs DIR --database PCS.MDB [--launches N]
                          [--seed S] [--work DIR] [--display-base N]
       stress_launches.py --programs DIR --replay MDB... --work OTHER-DIR
DIR holds vorimel and vorimel-load; a copy of both is run from --work. --replay
launches once on each damaged copy a run kept (failed-N.mdb), to see it again;
give it a --work of its own, as the copies it keeps are named the same way.
Prints one line per launch and a summary by outcome; the exit status is 1 when
any launch ended by a signal, hung, or drew a sanitizer report. A launch that
died of a signal leaves its core file and the backtraces gdb reads from it in
--work. SIGTERM stops the run after the launch under way, Ctrl-C at once; either way
the summary covers the launches made.
"""

import argparse
import collections
import os
import random
import re
import resource
import shutil
import signal
import subprocess
import sys
import time

PAGE = 4096
WINDOW_WAIT = 90.0  # seconds; a loaded machine starts slowly
END_WAIT = 30.0


# ---- damaged copies -----------------------------------------------------------

def catalog_pages(data):
    """The table definition of MSysObjects (page 2) and its data pages."""
    pages = [2]
    for number in range(len(data) // PAGE):
        page = data[number * PAGE:(number + 1) * PAGE]
        if page[0] == 0x01 and int.from_bytes(page[4:8], "little") == 2:
            pages.append(number)
    return pages


def damage(original, kind, rng):
    data = bytearray(original)
    pages = len(data) // PAGE
    if kind == "truncated":
        # Mostly near the start, where the catalog lies; sometimes anywhere.
        limit = len(data) if rng.random() < 0.3 else min(len(data), 64 * PAGE)
        return bytes(data[:rng.randrange(0, limit)])
    if kind == "bit-flipped":
        for _ in range(rng.choice((1, 4, 32, 256))):
            data[rng.randrange(len(data))] ^= 1 << rng.randrange(8)
    elif kind == "zeroed-pages":
        for _ in range(rng.choice((1, 3, 10))):
            start = rng.randrange(pages) * PAGE
            data[start:start + PAGE] = bytes(PAGE)
    elif kind == "catalog-flipped":
        catalog = catalog_pages(original)
        for _ in range(rng.choice((1, 8, 64))):
            start = rng.choice(catalog) * PAGE
            data[start + rng.randrange(PAGE)] ^= 1 << rng.randrange(8)
    return bytes(data)


KINDS = ("truncated", "bit-flipped", "zeroed-pages", "catalog-flipped")


# ---- one desktop session ---------------------------------------------------------

class Session:
    def __init__(self, display, work):
        self.display = ":%d" % display
        self.processes = []
        self.bus_pid = None
        try:
            self.start_all(work)
        except BaseException:
            self.close()
            raise

    def start_all(self, work):
        self.env = dict(os.environ)
        for name in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"):
            self.env.pop(name, None)
        runtime = os.path.join(work, "runtime")
        shutil.rmtree(runtime, ignore_errors=True)
        os.makedirs(runtime, mode=0o700)
        self.env.update({"DISPLAY": self.display, "XDG_RUNTIME_DIR": runtime, "QT_QPA_PLATFORM": "xcb",
                         "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", "QT_ACCESSIBILITY": "1",
                         "NO_AT_BRIDGE": "0"})
        # Without -noreset the server resets when its first client (the probe
        # below) leaves, and a window manager connecting meanwhile is refused.
        self.start(["Xvfb", self.display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"])
        self.wait_for(lambda: self.run_quiet(["xprop", "-root", "-display", self.display]) == 0, 20)
        bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"],
                             env=self.env, capture_output=True, text=True, check=True).stdout.split()
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus[0]
        self.bus_pid = int(bus[1])
        self.start(["openbox", "--sm-disable"])
        window_manager = self.processes[-1]
        self.wait_for(lambda: window_manager.poll() is None and b"_NET_SUPPORTING_WM_CHECK(WINDOW)" in self.output(
            ["xprop", "-root", "-display", self.display, "_NET_SUPPORTING_WM_CHECK"]), 20,
            lambda: window_manager.poll() is not None)
        self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])

    def start(self, command):
        self.processes.append(subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL))

    def run_quiet(self, command):
        return subprocess.run(command, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode

    def output(self, command, timeout=20):
        try:
            return subprocess.run(command, env=self.env, capture_output=True, timeout=timeout).stdout
        except subprocess.TimeoutExpired:
            return b""

    @staticmethod
    def wait_for(condition, seconds, given_up=lambda: False):
        deadline = time.monotonic() + seconds
        while not condition():
            if time.monotonic() > deadline or given_up():
                raise RuntimeError("the desktop session did not come up")
            time.sleep(0.1)

    def accessibility_bus(self):
        if not getattr(self, "a11y", None):
            answer = self.output(["gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path",
                                  "/org/a11y/bus", "--method", "org.a11y.Bus.GetAddress"]).decode()
            found = re.search(r"'([^']+)'", answer)
            self.a11y = found.group(1) if found else None
        return self.a11y

    def call(self, node, *method):
        return self.output(["gdbus", "call", "--address", self.accessibility_bus(), "--dest", node[0],
                            "--object-path", node[1], "--method"] + list(method), 5).decode(errors="replace")

    def accessibles(self, limit=120):
        """(node, name, role) of the accessible objects of the programs on
        the accessibility bus, as a screen reader finds them."""
        if not self.accessibility_bus():
            return []
        reference = re.compile(r"\('([^']+)', (?:objectpath )?'([^']+)'\)")
        pending = reference.findall(self.call(("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root"),
                                              "org.a11y.atspi.Accessible.GetChildren"))
        found = []
        while pending and limit > 0:
            node = pending.pop(0)
            limit -= 1
            name = self.call(node, "org.freedesktop.DBus.Properties.Get", "org.a11y.atspi.Accessible", "Name")
            role = self.call(node, "org.a11y.atspi.Accessible.GetRoleName")
            found.append((node, name, role))
            pending += reference.findall(self.call(node, "org.a11y.atspi.Accessible.GetChildren"))
        return found

    def press(self, node):
        """Presses a button as assistive technology does, without the keyboard:
        keys sent through the X server can linger and reach the next program."""
        self.call(node, "org.a11y.atspi.Action.DoAction", "0")

    def accessible_texts(self):
        return [name for _, name, _ in self.accessibles()]

    def windows_of(self, pid):
        found = self.output(["xdotool", "search", "--onlyvisible", "--pid", str(pid), "--name", "^Vorimel$"])
        return [int(w) for w in found.split()]

    def is_dialog(self, window):
        return b"_NET_WM_WINDOW_TYPE_DIALOG" in self.output(
            ["xprop", "-display", self.display, "-id", str(window), "_NET_WM_WINDOW_TYPE"])

    def close(self):
        for process in reversed(self.processes):
            process.terminate()
        for process in self.processes:
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        if self.bus_pid:
            try:
                os.kill(self.bus_pid, signal.SIGTERM)
            except ProcessLookupError:
                pass


# ---- one launch -------------------------------------------------------------------

def allow_core_dumps():
    resource.setrlimit(resource.RLIMIT_CORE, (resource.RLIM_INFINITY, resource.RLIM_INFINITY))


def wait_end(process, seconds):
    try:
        return process.wait(seconds)
    except subprocess.TimeoutExpired:
        return None


def ended(status):
    if status < 0:
        return "signal %s" % signal.Signals(-status).name
    return None


def error_box(session, process, window, when):
    """Reads the box's text through the accessibility bus, then presses OK. A
    box at start ends the program with status 1; a failed search leaves it
    running, and a termination signal then ends it with status 0."""
    nodes = session.accessibles()
    text = " ".join(name for _, name, _ in nodes)
    number = re.search(r"Run-time error .(\d+).|Error (\d+): ", text)
    reason = re.search(r"(?:is damaged|cannot be read|prepared for searching|Error \d+): ([^\n\\\"]{1,160})", text)
    pressed = False
    for node, name, role in nodes:
        if "'OK'" in name and "button" in role:
            session.press(node)
            pressed = True
    code = next((group for group in number.groups() if group), "?") if number else "?"
    said = "%s%s" % (when, ": " + reason.group(1).strip() if reason else "")
    if not pressed:
        process.kill()
        process.wait()
        return "odd", "error box %s %s, and no OK button found" % (code, said)
    if when != "at start":
        deadline = time.monotonic() + END_WAIT
        while dialog_of(session, process) and process.poll() is None and time.monotonic() < deadline:
            time.sleep(0.2)
        if process.poll() is not None:
            return ended(process.returncode) or "odd", "search error %s, then status %d" % (code, process.returncode)
        if dialog_of(session, process):
            process.kill()
            process.wait()
            return "hang", "the search error box %s did not close: %s" % (code, said)
        stopped = terminate(process)
        return stopped or "search error %s" % code, said
    status = wait_end(process, END_WAIT)
    if status is None:
        process.kill()
        process.wait()
        return "hang", "the error box %s did not end the program: %s" % (code, said)
    label = "error box %s" % code
    if status != 1:
        return ended(status) or "odd", "%s %s, then status %d" % (label, said, status)
    return label, said


def terminate(process):
    """SIGTERM, which ends the program as its Exit does: None when it ended
    with status 0, else the outcome."""
    process.send_signal(signal.SIGTERM)
    status = wait_end(process, END_WAIT)
    if status is None:
        process.kill()
        process.wait()
        return "hang"
    if status != 0:
        return ended(status) or "odd"
    return None


def dialog_of(session, process):
    for window in session.windows_of(process.pid):
        if session.is_dialog(window):
            return window
    return None


def launch(session, program, cores):
    # Standard error to a file: a pipe nobody reads while the program runs
    # would fill with libmdb's warnings and stop it.
    errors_path = os.path.join(cores, "stderr.txt")
    with open(errors_path, "wb") as errors:
        process = subprocess.Popen([program], env=session.env, cwd=cores, preexec_fn=allow_core_dumps,
                                   stdout=subprocess.DEVNULL, stderr=errors)
    outcome, detail = drive(session, process)
    with open(errors_path, "rb") as errors:
        said = errors.read().decode(errors="replace")
    if "Sanitizer" in said:
        report = [line for line in said.splitlines() if "Sanitizer" in line]
        return "sanitizer", "%s; %s" % (outcome, report[0][:300])
    if outcome.startswith("exit"):
        detail = said[-400:]
    elif outcome == "odd" and said.strip():
        detail += "; it said: " + said[-400:]
    return outcome, detail


def core_files(cores):
    return {name for name in os.listdir(cores) if name.startswith("core")}


def keep_cores(cores, new_cores, folder, prefix):
    """Each new core file beside the damaged copy, with every thread's backtrace
    when gdb is there to read it; returns their names."""
    kept = []
    for name in sorted(new_cores):
        core = "%s-%s" % (prefix, name)
        os.rename(os.path.join(cores, name), core)
        kept.append(os.path.basename(core))
        if not shutil.which("gdb"):
            continue
        executable = os.path.join(folder, "vorimel")
        read = subprocess.run(["gdb", "-batch", "-nx", "-ex", "info program", "-ex", "thread apply all bt 30",
                               "-c", core, executable], capture_output=True, text=True)
        # The core may be the loader's: gdb names the program that dumped it.
        found = re.search(r"Core was generated by `([^ ']+)", read.stdout)
        if found and os.path.basename(found.group(1)) != "vorimel":
            read = subprocess.run(["gdb", "-batch", "-nx", "-ex", "thread apply all bt 30", "-c", core,
                                   os.path.join(folder, os.path.basename(found.group(1)))],
                                  capture_output=True, text=True)
        with open(core + ".backtrace.txt", "w") as text:
            text.write(read.stdout + read.stderr)
    return kept


def box_or_end(session, process, when, gone):
    """The outcome when the program shows an error box or has ended, else None."""
    dialog = dialog_of(session, process)
    if dialog:
        return error_box(session, process, dialog, when)
    status = process.poll()
    if status is not None:
        return ended(status) or "odd", "%s, status %d" % (gone, status)
    return None


def drive(session, process):
    deadline = time.monotonic() + WINDOW_WAIT
    windows = []
    while not windows:
        status = process.poll()
        if status is not None:
            return ended(status) or "exit %d" % status, ""
        if time.monotonic() > deadline:
            process.kill()
            process.wait()
            return "hang", "no window"
        time.sleep(0.2)
        windows = session.windows_of(process.pid)
    time.sleep(1.0)  # the search window opens just after the frame
    early = box_or_end(session, process, "at start", "window gone")
    if early:
        return early
    # Started: a keyword search typed into the search box and the Search
    # button pressed, through the accessibility bus; then a termination
    # signal, which ends the program as its Exit does.
    nodes = session.accessibles()
    for node, name, role in nodes:
        if "'text'" in role:
            session.call(node, "org.a11y.atspi.EditableText.SetTextContents", "heart")
            break
    for node, name, role in nodes:
        if "'Search'" in name and "button" in role:
            session.press(node)
            break
    time.sleep(1.5)
    early = box_or_end(session, process, "in the search", "ended during the search")
    if early:
        return early
    found = re.search(r"(\d+) Item\(s\) Found", " ".join(session.accessible_texts()))
    stopped = terminate(process)
    if stopped:
        return stopped, "after SIGTERM (status %s)" % process.returncode
    if not found:
        return "started", "no search result seen"
    return "searched", "%s found" % found.group(1)


def start_session(display_base, displays, work):
    """A fresh session on the next free display; a session whose server or
    window manager does not come up is closed and tried again."""
    for attempt in range(15):
        display = display_base + attempt % displays
        if os.path.exists("/tmp/.X%d-lock" % display):
            continue
        try:
            return Session(display, work)
        except (RuntimeError, subprocess.CalledProcessError, IndexError) as problem:
            print("     (desktop session on :%d failed: %s; trying again)" % (display, problem), flush=True)
            time.sleep(1)
    raise RuntimeError("no desktop session could be started")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--programs", required=True)
    parser.add_argument("--database")
    parser.add_argument("--launches", type=int, default=1000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--work", default="/tmp/vorimel-stress")
    parser.add_argument("--display-base", type=int, default=100)
    parser.add_argument("--displays", type=int, default=5, help="display numbers to rotate through")
    parser.add_argument("--replay", nargs="+", metavar="MDB",
                        help="launch on these damaged copies (kept failed-N.mdb files) instead; "
                             "--database is then not read")
    parser.add_argument("--session-launches", type=int, default=10,
                        help="launches per desktop session before a fresh one")
    args = parser.parse_args()

    missing = [tool for tool in ("Xvfb", "openbox", "dbus-daemon", "gdbus", "xdotool", "xprop")
               if not shutil.which(tool)]
    if missing or not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        sys.exit("stress_launches: missing %s (apt-get install xvfb openbox dbus libglib2.0-bin x11-utils xdotool at-spi2-core)"
                 % " ".join(missing or ["at-spi-bus-launcher"]))

    work = os.path.abspath(args.work)
    folder = os.path.join(work, "program")
    cores = os.path.join(work, "cores")
    os.makedirs(folder, exist_ok=True)
    os.makedirs(cores, exist_ok=True)
    for name in ("vorimel", "vorimel-load"):
        if os.path.exists(os.path.join(args.programs, name)):
            shutil.copy2(os.path.join(args.programs, name), os.path.join(folder, name))
    program = os.path.join(folder, "vorimel")
    if args.replay:
        args.launches = len(args.replay)
        original = None
    elif args.database:
        with open(args.database, "rb") as f:
            original = f.read()
    else:
        parser.error("--database or --replay is needed")

    # Ended from outside, the run finishes the launch under way, takes its
    # desktop session down and still prints what it saw.
    stop = []
    signal.signal(signal.SIGTERM, lambda *_: stop.append(True))
    rng = random.Random(args.seed)
    outcomes = collections.Counter()
    by_kind = collections.defaultdict(collections.Counter)
    bad = []
    kept_cores = []
    session = None
    started = time.monotonic()
    made = 0
    try:
        for number in range(1, args.launches + 1):
            if stop:
                print("stopped from outside", flush=True)
                break
            first_in_session = session is None
            if session is None:
                session = start_session(args.display_base, args.displays, work)
            if args.replay:
                kind = "replay"
                shutil.copyfile(args.replay[number - 1], os.path.join(folder, "pcs.mdb"))
            else:
                kind = KINDS[(number - 1) % len(KINDS)]
                with open(os.path.join(folder, "pcs.mdb"), "wb") as f:
                    f.write(damage(original, kind, rng))
            before = core_files(cores)
            outcome, detail = launch(session, program, cores)
            made = number
            new_cores = core_files(cores) - before
            if new_cores:
                detail += " [core: %s]" % ", ".join(sorted(new_cores))
                kept_cores += keep_cores(cores, new_cores, folder, os.path.join(work, "failed-%d" % number))
            outcomes[outcome] += 1
            by_kind[kind][outcome] += 1
            line = "%4d %-15s %-14s%s%s" % (number, kind, outcome, " (first in session)" if first_in_session else "",
                                            (": " + detail.strip().replace("\n", " | ")) if detail else "")
            print(line, flush=True)
            if outcome.startswith(("signal", "hang", "odd", "sanitizer")):
                bad.append(line)
                kept = os.path.join(work, "failed-%d.mdb" % number)
                shutil.copy2(os.path.join(folder, "pcs.mdb"), kept)
            if number % args.session_launches == 0:
                session.close()
                session = None
    except KeyboardInterrupt:
        print("interrupted", flush=True)
    finally:
        if session:
            session.close()

    print("\n%d launches in %.0f s%s" % (made, time.monotonic() - started,
                                          "" if made == args.launches else " (of %d asked for)" % args.launches))
    for outcome, count in sorted(outcomes.items(), key=lambda item: -item[1]):
        print("  %-16s %5d" % (outcome, count))
    for kind in ("replay",) if args.replay else KINDS:
        print("  %-16s %s" % (kind, ", ".join("%s %d" % item for item in sorted(by_kind[kind].items()))))
    for line in bad:
        print("BAD " + line)
    print("core files: %s" % (", ".join(kept_cores) or "none"))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
