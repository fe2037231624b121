"""A private desktop session for driving the built program with real input.

Each test script of this folder starts its own session, so that scripts run in
parallel without sharing a display or a bus:

    from desktop_session import Session

    with Session(program) as s:                 # Xvfb, D-Bus, AT-SPI, program
        box = s.control("圆 的 直 径", within="圆的周长面积")
        s.click_control(box)
        s.key("1", "0", "Tab")
        assert s.text(box) == "10"

The steps are separate, so that a caller can put its own pieces in between or
instead (a window manager, another display server):

    s = Session(program, start=False)
    s.start_display()            # Xvfb on a free display (-displayfd)
    s.start_buses()              # private session bus, then the AT-SPI bus
    s.start_window_manager(["openbox", "--sm-disable"])   # optional
    s.start_program()            # QT_QPA_PLATFORM=xcb, accessibility on
    ...
    s.stop_program(); s.start_program()   # a fresh program on the same session
    s.stop()

A Wayland run replaces start_display() by a compositor of its own: set
s.env["WAYLAND_DISPLAY"] (and DISPLAY, for Xwayland) and s.platform = "wayland"
before start_program(); the X helpers below (xdotool, xprop) then work only on
the Xwayland clients.

Everything the session starts gets the environment in s.env (DISPLAY,
DBUS_SESSION_BUS_ADDRESS, a private XDG_RUNTIME_DIR and HOME); this process
takes the same values, and AT_SPI_BUS_ADDRESS, before it first talks to
AT-SPI, which is why a process holds one session at a time (libatspi keeps its
bus connection for the life of the process). The program finds the AT-SPI bus
through the session bus, as on a desktop: Qt 6.4 given the address directly
(AT_SPI_BUS_ADDRESS, or the AT_SPI_BUS property of the root window, which is
removed for that reason) connects but never registers its windows.

Input goes through the X server's XTEST extension (xdotool), as from a real
keyboard and mouse; what the program shows is read back through its
accessibility interface (pyatspi, Debian's python3-pyatspi, importable only
from /usr/bin/python3), never through anything compiled into the program.

Helpers:
- key(*keysyms), key_down/key_up, type_text(text), click(x, y), click_control(acc);
- numlock(on), numlock_is_on();
- control(name, within=None, role=None): the program's control with that
  accessible name (edit boxes are named after the label beside them, the
  buttons and radio buttons by their text), inside the group box or window
  of that name; controls(...) gives every match;
- text(acc), set_text is deliberately missing (input goes through the keys);
  is_checked(acc), is_focused(acc), focused(), is_enabled(acc), extents(acc);
- windows(title), wait_window(title), window_gone(title), xprop(window, name),
  active_window(), focus_window(window);
- wait_until(predicate, timeout): polls, since the program reacts
  asynchronously to the X server's events;
- screenshot(path): the whole screen, for looking at a failure.

Failures of the session itself raise SessionError with the log of the piece
that failed.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time

__all__ = ["Session", "SessionError", "wait_until", "missing_tools", "run_table", "main",
           "expect"]

# What a session needs on the machine; scripts/lib/common.sh installs them.
TOOLS = ["Xvfb", "xdotool", "xprop", "dbus-daemon", "dbus-send",
         "/usr/libexec/at-spi-bus-launcher"]
SKIP = 77  # CTest's SKIP_RETURN_CODE for these tests


class SessionError(RuntimeError):
    pass


def expect(read, expected, what, timeout=2.0):
    """Waits until read() gives expected; fails with what was seen instead.
    For a value that must stay as it is, the key helpers' settle time is the
    wait; this only absorbs the program's delay in reacting."""
    deadline = time.monotonic() + timeout
    while True:
        seen = read()
        if seen == expected:
            return
        if time.monotonic() > deadline:
            raise AssertionError(f"{what}: expected {expected!r}, saw {seen!r}")
        time.sleep(0.03)


def missing_tools():
    """The programs and modules a session needs that are not installed."""
    missing = [t for t in TOOLS if shutil.which(t) is None]
    try:
        import importlib.util
        if importlib.util.find_spec("pyatspi") is None:
            missing.append("pyatspi (python3-pyatspi, for /usr/bin/python3)")
    except ImportError:
        missing.append("pyatspi")
    return missing


def run_table(title, cases, run, reset=None):
    """Runs run(case) for every case of a table and reports each one.

    A case is a tuple or object whose first item (or .name) names it; it fails
    by raising (an AssertionError with a message saying what was seen). reset,
    when given, is called before each case; a session error in reset is not
    the case's fault, so it ends the table. Returns the names of the failed
    cases."""
    failed = []
    for case in cases:
        name = case[0] if isinstance(case, tuple) else getattr(case, "name", str(case))
        if reset is not None:
            reset()
        started = time.monotonic()
        try:
            run(case)
        except (AssertionError, SessionError) as error:
            failed.append(name)
            print(f"FAIL {title}: {name}: {error}", flush=True)
            continue
        print(f"ok   {title}: {name} ({time.monotonic() - started:.1f} s)", flush=True)
    return failed


def main(body):
    """Runs body(program) for a test script: skips (exit 77) when a tool is
    missing, prints the failed cases and exits 1 when any failed. body returns
    the list of failed case names."""
    import sys
    if len(sys.argv) < 2:
        print(f"usage: {sys.argv[0]} PATH_TO_VELQUIST", file=sys.stderr)
        sys.exit(2)
    missing = missing_tools()
    if missing:
        print("skipped: not installed: " + ", ".join(missing))
        sys.exit(SKIP)
    failed = body(sys.argv[1])
    if failed:
        print(f"{len(failed)} failed: " + "; ".join(failed))
        sys.exit(1)
    print("all passed")


def wait_until(predicate, timeout=10.0, interval=0.05, what="condition"):
    """Calls predicate until it returns a true value, which is returned."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise SessionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def _read_line_from_fd(fd, timeout, what):
    """Reads one line that a child writes to the pipe fd (e.g. -displayfd)."""
    import select
    data = b""
    deadline = time.monotonic() + timeout
    while not data.endswith(b"\n"):
        left = deadline - time.monotonic()
        if left <= 0:
            raise SessionError(f"{what} did not report in {timeout} s")
        ready, _, _ = select.select([fd], [], [], left)
        if not ready:
            continue
        chunk = os.read(fd, 4096)
        if not chunk:
            break
        data += chunk
    if not data.strip():
        raise SessionError(f"{what} closed its pipe without a word")
    return data.decode().strip()


class Session:
    """A private X server, session bus, AT-SPI bus and program run."""

    def __init__(self, program, *, args=(), window_manager=None, screen="1024x768x24",
                 platform="xcb", extra_env=None, start=True):
        self.program = os.path.abspath(program)
        self.args = list(args)
        self.window_manager = window_manager
        self.screen = screen
        self.platform = platform
        self.extra_env = dict(extra_env or {})
        self.start_all = start
        self.tmp = tempfile.mkdtemp(prefix="velquist-desktop-")
        os.chmod(self.tmp, 0o700)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                                 "AT_SPI_BUS_ADDRESS", "QT_QPA_PLATFORM", "SESSION_MANAGER",
                                 "XAUTHORITY")}
        self.env["XDG_RUNTIME_DIR"] = self.tmp
        self.env["HOME"] = os.path.join(self.tmp, "home")
        os.makedirs(self.env["HOME"])
        self.env["NO_AT_BRIDGE"] = "0"
        self._children = []          # (name, Popen), stopped in reverse order
        self.program_process = None
        self._app = None
        self._atspi = None
        self._found = {}

    # -- start and stop -------------------------------------------------

    def __enter__(self):
        if self.start_all:
            try:
                self.start_display()
                self.start_buses()
                if self.window_manager:
                    self.start_window_manager(self.window_manager)
                self.start_program()
            except BaseException:
                self.stop()
                raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False

    def _log(self, name):
        return open(os.path.join(self.tmp, name + ".log"), "ab")

    def log_text(self, name):
        path = os.path.join(self.tmp, name + ".log")
        try:
            with open(path, "rb") as f:
                return f.read().decode(errors="replace")
        except OSError:
            return ""

    def _spawn(self, name, command, *, pass_fds=(), env=None):
        process = subprocess.Popen(command, env=env or self.env, stdin=subprocess.DEVNULL,
                                   stdout=self._log(name), stderr=subprocess.STDOUT,
                                   pass_fds=pass_fds, start_new_session=True)
        self._children.append((name, process))
        return process

    def start_display(self):
        """Xvfb on a display it picks itself; sets DISPLAY."""
        read_fd, write_fd = os.pipe()
        try:
            self._spawn("xvfb", ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", self.screen,
                                 "-nolisten", "tcp", "-noreset"], pass_fds=(write_fd,))
            os.close(write_fd)
            write_fd = None
            number = _read_line_from_fd(read_fd, 20, "Xvfb")
        except SessionError as error:
            raise SessionError(f"{error}\n{self.log_text('xvfb')}") from None
        finally:
            os.close(read_fd)
            if write_fd is not None:
                os.close(write_fd)
        self.env["DISPLAY"] = ":" + number
        os.environ["DISPLAY"] = self.env["DISPLAY"]

    def start_buses(self):
        """A private session bus, and on it the AT-SPI bus with its registry."""
        read_fd, write_fd = os.pipe()
        try:
            self._spawn("dbus", ["dbus-daemon", "--session", "--nofork", "--nopidfile",
                                 f"--print-address={write_fd}"], pass_fds=(write_fd,))
            os.close(write_fd)
            write_fd = None
            address = _read_line_from_fd(read_fd, 20, "dbus-daemon")
        finally:
            os.close(read_fd)
            if write_fd is not None:
                os.close(write_fd)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
        os.environ["XDG_RUNTIME_DIR"] = self.tmp

        # The launcher owns org.a11y.Bus on the session bus and runs the
        # accessibility bus, on which the registry daemon starts on demand.
        self._spawn("at-spi-bus", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])

        def a11y_address():
            result = subprocess.run(
                ["dbus-send", "--session", "--dest=org.a11y.Bus", "--print-reply=literal",
                 "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                env=self.env, capture_output=True, text=True, timeout=10)
            return result.stdout.strip() if result.returncode == 0 else None

        try:
            address = wait_until(a11y_address, 20, 0.1, "the AT-SPI bus")
        except SessionError as error:
            raise SessionError(f"{error}\n{self.log_text('at-spi-bus')}") from None
        # Only this process is told the address: a Qt program given it (in
        # AT_SPI_BUS_ADDRESS or on the root window) connects at once but never
        # registers its windows, since its bridge hears of the connection
        # before it listens. Asking the session bus, as on a desktop, works.
        os.environ["AT_SPI_BUS_ADDRESS"] = address
        self.a11y_address = address
        subprocess.run(["xprop", "-root", "-remove", "AT_SPI_BUS"], env=self.env,
                       capture_output=True, timeout=10)
        # As a screen reader would: toolkits that watch these (Qt does)
        # register their windows on the accessibility bus.
        for name in ("IsEnabled", "ScreenReaderEnabled"):
            subprocess.run(["dbus-send", "--session", "--dest=org.a11y.Bus", "/org/a11y/bus",
                            "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status",
                            f"string:{name}", "variant:boolean:true"],
                           env=self.env, capture_output=True, timeout=10)
        # The registry, which applications register with, running before the
        # first of them arrives.
        self._spawn("at-spi-registry", ["/usr/libexec/at-spi2-registryd"])
        wait_until(lambda: self._registry_running(), 20, 0.1, "the AT-SPI registry")

    def _registry_running(self):
        result = subprocess.run(
            ["dbus-send", f"--bus={self.a11y_address}", "--print-reply",
             "--dest=org.freedesktop.DBus", "/", "org.freedesktop.DBus.NameHasOwner",
             "string:org.a11y.atspi.Registry"], env=self.env, capture_output=True, text=True,
            timeout=10)
        return "boolean true" in result.stdout

    def start_window_manager(self, command):
        """Any window manager (or other X client) that lives for the session."""
        self._spawn("window-manager", list(command))
        time.sleep(0.5)

    def start_program(self, extra_env=None):
        """Starts the program and waits until AT-SPI shows its main window."""
        env = dict(self.env)
        env.update(self.extra_env)
        env.update(extra_env or {})
        env["QT_QPA_PLATFORM"] = self.platform
        # Qt's bridge registers only when a screen reader is said to run;
        # this says so for this program alone.
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env["QT_ACCESSIBILITY"] = "1"
        self.program_process = self._spawn("program", [self.program, *self.args], env=env)
        self._app = None
        self._found = {}
        try:
            wait_until(self.application, 30, 0.1, "the program on the AT-SPI bus")
            wait_until(lambda: self._frames(), 20, 0.1, "the program's first window")
        except SessionError as error:
            raise SessionError(f"{error}\n{self.log_text('program')}") from None
        return self.program_process

    def restart_program(self):
        """A fresh program on the same display and buses: the cheapest way
        back to the window's opening state between cases."""
        self.stop_program()
        return self.start_program()

    def stop_program(self, timeout=10):
        """Ends the program if it still runs; returns its exit code."""
        process = self.program_process
        self.program_process = None
        self._app = None
        self._found = {}
        if process is None:
            return None
        if process.poll() is None:
            process.terminate()
        try:
            return process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            return process.wait()

    def wait_program_end(self, timeout=10):
        """Waits for the program to end by itself; returns its exit code."""
        process = self.program_process
        code = process.wait(timeout)
        self.program_process = None
        self._app = None
        self._found = {}
        return code

    def stop(self):
        if self.program_process is not None:
            self.stop_program()
        for name, process in reversed(self._children):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for name, process in reversed(self._children):
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                process.wait()
        self._children = []
        if os.environ.get("VELQUIST_KEEP_SESSION_LOGS"):
            print(f"session logs kept in {self.tmp}")
        else:
            shutil.rmtree(self.tmp, ignore_errors=True)

    # -- X input and windows (xdotool, XTEST) ----------------------------

    def xdotool(self, *args, check=True):
        result = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                                timeout=30)
        if check and result.returncode != 0:
            raise SessionError(f"xdotool {' '.join(args)} failed: {result.stderr.strip()}")
        return result.stdout.strip()

    def key(self, *keysyms, delay_ms=15, settle=0.1):
        """Presses and releases each key in turn ("Delete", "shift+Tab", "KP_End")."""
        if keysyms:
            self.xdotool("key", "--delay", str(delay_ms), *keysyms)
        time.sleep(settle)

    def key_down(self, keysym):
        self.xdotool("keydown", keysym)

    def key_up(self, keysym):
        self.xdotool("keyup", keysym)

    def type_text(self, text, settle=0.1):
        self.xdotool("type", "--delay", "15", "--", text)
        time.sleep(settle)

    def click(self, x, y, button=1, settle=0.1):
        # No --sync: it waits for a motion, and there is none when the pointer
        # is already there. The server keeps XTEST's events in order anyway.
        self.xdotool("mousemove", str(int(x)), str(int(y)), "click", str(button))
        time.sleep(settle)

    def click_control(self, acc, button=1, settle=0.1):
        x, y, w, h = self.extents(acc)
        self.click(x + w // 2, y + h // 2, button, settle)

    def numlock_is_on(self):
        """Whether the X server's Num Lock indicator is lit."""
        return bool(_indicators(self.env["DISPLAY"]) & _numlock_mask(self.env["DISPLAY"]))

    def numlock(self, on):
        if self.numlock_is_on() != on:
            self.key("Num_Lock")
            wait_until(lambda: self.numlock_is_on() == on, 5, what="Num Lock")

    def windows(self, title, visible=True):
        """Ids of the windows whose title is exactly title."""
        args = ["search"] + (["--onlyvisible"] if visible else []) + ["--name", f"^{_regex(title)}$"]
        out = self.xdotool(*args, check=False)
        return [int(w) for w in out.split()] if out else []

    def wait_window(self, title, timeout=10):
        return wait_until(lambda: (self.windows(title) or [None])[0], timeout,
                          what=f'the window "{title}"')

    def window_gone(self, title, timeout=10):
        wait_until(lambda: not self.windows(title), timeout, what=f'"{title}" to close')

    def active_window(self):
        out = self.xdotool("getactivewindow", check=False)
        return int(out) if out else None

    def focus_window(self, window):
        self.xdotool("windowfocus", "--sync", str(window))
        time.sleep(0.1)

    def xprop(self, window, name):
        """The value of one X property of a window as xprop prints it, or None."""
        result = subprocess.run(["xprop", "-id", str(window), name], env=self.env,
                                capture_output=True, text=True)
        out = result.stdout.strip()
        if result.returncode != 0 or "not found" in out or "no such atom" in out:
            return None
        return out.split("=", 1)[1].strip() if "=" in out else out.split(":", 1)[-1].strip()

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, check=False)

    # -- what the program shows (AT-SPI) ----------------------------------

    @property
    def atspi(self):
        if self._atspi is None:
            import pyatspi  # noqa: after the session's environment is in place
            self._atspi = pyatspi
        return self._atspi

    def application(self):
        """The program's application object on the AT-SPI bus, or None."""
        if self._app is not None:
            return self._app
        if self.program_process is None or self.program_process.poll() is not None:
            raise SessionError(f"the program is not running\n{self.log_text('program')}")
        desktop = self.atspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == self.program_process.pid:
                    # The program changes under our eyes: read, never cache.
                    app.set_cache_mask(self.atspi.Atspi.Cache.NONE)
                    self._app = app
                    return app
            except Exception:
                continue
        return None

    def _frames(self):
        app = self.application()
        if app is None:
            return []
        frames = []
        for i in range(app.childCount):
            child = app.getChildAtIndex(i)
            if child is not None:
                frames.append(child)
        return frames

    def frame(self, title):
        """The program's top-level window (frame or dialog) with that name."""
        return next((f for f in self._frames() if f.name == title), None)

    def wait_frame(self, title, timeout=10):
        return wait_until(lambda: self.frame(title), timeout, what=f'the window "{title}"')

    def _walk(self, acc):
        yield acc
        try:
            count = acc.childCount
        except Exception:
            return
        for i in range(count):
            child = acc.getChildAtIndex(i)
            if child is not None:
                yield from self._walk(child)

    def controls(self, name, within=None, role=None):
        """Every control with that accessible name, inside the group box or
        window named within when given, of that role when given
        ("text", "push button", "radio button", "dialog", "frame")."""
        roots = self._frames()
        if within is not None:
            roots = [a for r in roots for a in self._walk(r) if a.name == within]
        found = []
        for root in roots:
            for acc in self._walk(root):
                if acc.name == name and (role is None or self.has_role(acc, role)):
                    if acc not in found:
                        found.append(acc)
        return found

    def has_role(self, acc, role):
        """Whether acc has the role named in AT-SPI's classic words ("push
        button", "radio button", "menu item", "label"...). The role itself is
        compared, not its name: newer AT-SPI names a push button "button"."""
        return acc.getRole() == getattr(self.atspi, "ROLE_" + role.upper().replace(" ", "_"))

    def control(self, name, within=None, role=None):
        key = (name, within, role)
        if key in self._found:
            return self._found[key]
        found = self.controls(name, within, role)
        if len(found) != 1:
            raise SessionError(f'{len(found)} controls named "{name}" in {within!r} ({role})')
        self._found[key] = found[0]
        return found[0]

    def text(self, acc):
        t = acc.queryText()
        return t.getText(0, -1)

    def _states(self, acc):
        return acc.getState()

    def is_checked(self, acc):
        return self._states(acc).contains(self.atspi.STATE_CHECKED)

    def is_focused(self, acc):
        return self._states(acc).contains(self.atspi.STATE_FOCUSED)

    def is_enabled(self, acc):
        return self._states(acc).contains(self.atspi.STATE_ENABLED)

    def focused(self, within=None):
        """The control that has the keyboard focus, or None."""
        roots = self._frames()
        for root in roots:
            for acc in self._walk(root):
                if acc is not root and self.is_focused(acc):
                    return acc
        return None

    def caret(self, acc):
        return acc.queryText().caretOffset

    def selection(self, acc):
        """The selected part of an edit box's text, "" when none."""
        t = acc.queryText()
        if t.getNSelections() == 0:
            return ""
        start, end = t.getSelection(0)
        return t.getText(start, end)

    def extents(self, acc):
        box = acc.queryComponent().getExtents(self.atspi.DESKTOP_COORDS)
        return box.x, box.y, box.width, box.height


def _xlib():
    import ctypes
    import ctypes.util
    lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    lib.XOpenDisplay.restype = ctypes.c_void_p
    lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    lib.XInternAtom.restype = ctypes.c_ulong
    lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    lib.XkbGetIndicatorState.argtypes = [ctypes.c_void_p, ctypes.c_uint,
                                         ctypes.POINTER(ctypes.c_uint)]
    lib.XkbGetNamedIndicator.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                         ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                         ctypes.c_void_p, ctypes.c_void_p]
    return lib, ctypes


def _with_display(name, action):
    lib, ctypes = _xlib()
    display = lib.XOpenDisplay(name.encode())
    if not display:
        raise SessionError(f"cannot open the display {name}")
    try:
        return action(lib, ctypes, display)
    finally:
        lib.XCloseDisplay(display)


_XKB_USE_CORE_KBD = 0x0100


def _indicators(name):
    def read(lib, ctypes, display):
        state = ctypes.c_uint(0)
        lib.XkbGetIndicatorState(display, _XKB_USE_CORE_KBD, ctypes.byref(state))
        return state.value
    return _with_display(name, read)


def _numlock_mask(name):
    def read(lib, ctypes, display):
        atom = lib.XInternAtom(display, b"Num Lock", 0)
        index = ctypes.c_int(-1)
        lib.XkbGetNamedIndicator(display, atom, ctypes.byref(index), None, None, None)
        return 1 << index.value if index.value >= 0 else 0x2
    return _with_display(name, read)


def _regex(text):
    """The title as a literal POSIX extended regular expression for xdotool."""
    out = []
    for ch in text:
        out.append("\\" + ch if ch in ".^$*+?()[]{}|\\" else ch)
    return "".join(out)
