"""The built program on real display servers: X11 (Xvfb) with a notification
area that comes and goes (trayer), and a headless Wayland compositor (weston).
Each test is skipped, saying why, where its server cannot run here."""
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

from tollix_e2e import Meter, contents, wait_for


def until(test, condition, what, timeout=30, meter=None):
    wait_for(condition, timeout)
    if not condition() and meter:
        what += "; program %s, stderr %r" % (meter.proc.poll(), contents(os.path.join(meter.dir, "stderr"))[-2000:])
    test.assertTrue(condition(), what)


def start_xvfb(test):
    """An X server of its own; its display number, or a skip."""
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "800x600x24", "-nolisten", "tcp"],
                            pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    # Xvfb writes the number, then its line end, once it takes connections.
    number = b""
    while not number.endswith(b"\n") and (chunk := os.read(read, 16)):
        number += chunk
    os.close(read)
    test.addCleanup(lambda: (xvfb.kill(), xvfb.wait()))
    if not number.strip():
        test.skipTest("Xvfb did not start")
    return number.decode().strip()


def start_server(test, argv, env=None):
    proc = subprocess.Popen(argv, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    test.addCleanup(lambda: (proc.poll() is None and proc.kill(), proc.wait()))
    return proc


class TrayComesAndGoes(unittest.TestCase):
    """A panel that goes takes no window with it; one started after the program
    still gets the icon."""

    def setUp(self):
        for tool in ("Xvfb", "trayer", "xwininfo"):
            if not shutil.which(tool):
                self.skipTest("%s is not installed (scripts/setup.sh installs it)" % tool)
        number = start_xvfb(self)
        self.display = {"DISPLAY": ":" + number, "QT_QPA_PLATFORM": "xcb",
                        "DBUS_SESSION_BUS_ADDRESS": "unix:path=/nonexistent/tollix-test-bus"}

    def main_window(self, state):
        """Whether the main window is there and in the map state asked for: one not
        made yet is neither shown nor hidden (it is shown first, then hides itself)."""
        out = subprocess.run(["xwininfo", "-name", "Tollix V3.1"], env=dict(os.environ, **self.display),
                             capture_output=True, text=True).stdout
        return "Map State: " + state in out

    def icon_embedded(self):
        """A window of the program inside another window: only the panel takes one in. The
        tree indents the root's children by five spaces and each level below by three more."""
        tree = subprocess.run(["xwininfo", "-root", "-tree"], env=dict(os.environ, **self.display),
                              capture_output=True, text=True).stdout
        return any(line.startswith(" " * 6) and '("tollix"' in line for line in tree.splitlines())

    def trayer(self):
        return start_server(self, ["trayer", "--edge", "bottom", "--widthtype", "pixel", "--width", "200"],
                            env=dict(os.environ, **self.display))

    def test_tray_that_goes_and_comes_back(self):
        panel = self.trayer()
        time.sleep(1)
        m = Meter(self)
        m.peers("Home")
        m.write("tollix.ini", b"[Start Settings]\r\nAuto Hide=-1\r\n")
        m.start(desktop=self.display)
        until(self, self.icon_embedded, "icon embedded", 40, m)
        until(self, lambda: self.main_window("IsUnMapped"), "main window hidden")
        panel.send_signal(signal.SIGTERM)
        panel.wait()
        # Hidden in a tray that is gone, the window comes back and stays.
        until(self, lambda: self.main_window("IsViewable"), "main window back")
        time.sleep(2)
        self.assertTrue(self.main_window("IsViewable"))
        # A panel started later (autostart at login) still gets the icon, and
        # the window hides to it as auto-hide asked.
        self.trayer()
        until(self, self.icon_embedded, "icon embedded again", 40, m)
        until(self, lambda: self.main_window("IsUnMapped"), "main window hidden again")
        self.assertEqual(m.stop(), 0)


class Wayland(unittest.TestCase):
    """The program as a Wayland client: its window appears, it ends cleanly;
    and a StatusNotifierItem host started after it (the only kind of
    notification area there) gets its icon."""

    def setUp(self):
        if not shutil.which("weston"):
            self.skipTest("weston is not installed (scripts/setup.sh installs it)")
        runtime = tempfile.mkdtemp(prefix="tollix-wayland-")
        self.addCleanup(shutil.rmtree, runtime, True)
        os.chmod(runtime, 0o700)
        socket = "tollix-test-%d" % os.getpid()
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime)
        env.pop("DISPLAY", None)
        start_server(self, ["weston", "--backend=headless-backend.so", "--socket=" + socket, "--idle-time=0",
                            "--no-config"], env=env)
        wait_for(lambda: os.path.exists(os.path.join(runtime, socket)), 10)
        if not os.path.exists(os.path.join(runtime, socket)):
            self.skipTest("weston --backend=headless-backend.so did not start here")
        self.desktop = {"QT_QPA_PLATFORM": "wayland", "WAYLAND_DISPLAY": os.path.join(runtime, socket),
                        "WAYLAND_DEBUG": "client"}

    def test_window_appears_and_a_tray_host_started_after_it_gets_the_icon(self):
        for tool in ("dbus-daemon", "gdbus", "status-notifier-watcher", "gtk-sni-tray-standalone", "Xvfb"):
            if not shutil.which(tool):
                self.skipTest("%s is not installed (scripts/setup.sh installs it)" % tool)
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"], stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True)
        self.addCleanup(lambda: (bus.kill(), bus.wait(), bus.stdout.close()))
        address = bus.stdout.readline().strip()
        self.desktop["DBUS_SESSION_BUS_ADDRESS"] = address
        m = Meter(self)
        m.peers("Home")
        m.start(desktop=self.desktop)
        stderr = os.path.join(m.dir, "stderr")

        # The compositor took the main window: titled, and configured by it.
        def configured():
            text = contents(stderr).decode(errors="replace")
            titled = re.search(r'xdg_toplevel@(\d+)\.set_title\("Tollix V3\.1"\)', text)
            return titled and re.search(r"^\[.*\] xdg_toplevel@%s\.configure\(" % titled.group(1), text, re.M)
        until(self, configured, "main window titled and configured", meter=m)
        # The host is a GTK panel; it draws on an X server of its own.
        env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS=address, DISPLAY=":" + start_xvfb(self), GDK_BACKEND="x11")
        start_server(self, ["status-notifier-watcher"], env=env)

        def items():
            return subprocess.run(["gdbus", "call", "--session", "--dest", "org.kde.StatusNotifierWatcher",
                                   "--object-path", "/StatusNotifierWatcher", "--method",
                                   "org.freedesktop.DBus.Properties.Get", "org.kde.StatusNotifierWatcher",
                                   "RegisteredStatusNotifierItems"], env=env, capture_output=True, text=True).stdout
        until(self, lambda: items().startswith("(<@as []>"), "the watcher runs and no icon is there before a host")
        start_server(self, ["gtk-sni-tray-standalone"], env=env)
        # The item is registered under the program's own bus name.
        until(self, lambda: re.match(r"\(<\['", items()), "the icon registered with the host", meter=m)
        self.assertEqual(m.stop(), 0)


if __name__ == "__main__":
    unittest.main()
