"""Black-box runs of the built program, as a user would start it.

Each test builds a dial-up world in a temporary folder (TOLLIX_PPP_ROOT: peers,
network interfaces, pid files and /proc entries), starts the real program on it
with its own data folder (TOLLIX_HOME), brings the line up and down by editing
that folder, moves the clock with faketime, and checks Price.DB and time.txt
byte for byte. What the user is told is read from TOLLIX_MESSAGE_LOG, where the
program notes every message box it shows.

faketime with a rate of x10 runs the program's wall and steady clocks ten times
faster while its one-second timer still fires once a real second, so a minute of
connection takes six real seconds and every tick catches up ten seconds.
"""
import glob
import json
import os
import resource
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import unittest
from datetime import datetime

BINARY = os.environ.get("TOLLIX_BINARY", "build/tollix")
RECORD = struct.Struct("<dqqhii")
FAKETIME_LIB = (glob.glob("/usr/lib/*/faketime/libfaketime.so.1") + ["libfaketime.so.1"])[0]
EPOCH = datetime(1899, 12, 30)
NOON = datetime(2026, 12, 7, 12, 0, 0)  # a Monday
ONE = (1200, 1000, 1, 60, 1)  # a short daytime connection: fees, connection, seconds, unit


def day_count(moment):
    delta = moment - EPOCH
    return delta.days + delta.seconds / 86400.0


def log_line(name, seconds, start, net_fee="0.1", tel_fee="0.12", units=1):
    stamp = start.strftime("#%Y-%m-%d %H:%M:%S#")
    field = (name + " " * 15)[:15]
    return ('"%s",%d,%s,%s,%s,%d\r\n' % (field, seconds, stamp, net_fee, tel_fee, units)).encode("gbk")


def packed(records):
    return b"".join(RECORD.pack(*r) for r in records)


def plus(record, added=ONE):
    return record[:1] + tuple(a + b for a, b in zip(record[1:], added))


def store(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def contents(path):
    if not os.path.exists(path):
        return b""
    with open(path, "rb") as f:
        return f.read()


def wait_for(condition, timeout=20):
    deadline = time.monotonic() + timeout
    while not condition() and time.monotonic() < deadline:
        time.sleep(0.1)


class Meter:
    """One program run in its own world; `share` runs a second copy in another's."""

    def __init__(self, test, share=None):
        self.test = test
        self.dir = tempfile.mkdtemp(prefix="tollix-e2e-")
        test.addCleanup(shutil.rmtree, self.dir, True)
        self.root = os.path.join(self.dir, "root")
        self.home = os.path.join(self.dir, "home")
        if share:
            self.root, self.home = share.root, share.home
        else:
            for sub in ("etc/ppp/peers", "sys/class/net", "run", "proc"):
                os.makedirs(os.path.join(self.root, sub))
            os.makedirs(self.home)
        # The message boxes are noted in a pipe, which a limit on the size of
        # the program's files (a full disk) cannot bind. Held open for reading
        # and writing, so the program's opens never wait.
        self.message_log = os.path.join(self.dir, "messages.fifo")
        os.mkfifo(self.message_log)
        self.fifo = os.open(self.message_log, os.O_RDWR | os.O_NONBLOCK)
        test.addCleanup(os.close, self.fifo)
        self.clock_file = os.path.join(self.dir, "clock.rc")
        self.fifo_data, self.proc = b"", None
        test.addCleanup(self.kill)

    def path(self, name):
        return os.path.join(self.home, name)

    def peers(self, *names):
        for name in names:
            self.put("etc/ppp/peers/" + name, b"")

    def write(self, name, data):
        store(self.path(name), data)

    def read(self, name):
        return contents(self.path(name))

    def put(self, relative, data):
        store(os.path.join(self.root, relative), data)

    def line_up(self, name="Home", pid=4242):
        self.put("proc/%d/cmdline" % pid, b"/usr/sbin/pppd\0call\0" + name.encode() + b"\0")
        self.put("proc/%d/comm" % pid, b"pppd\n")
        self.put("run/ppp0.pid", b"%d\n" % pid)  # named before the line shows as up
        self.put("sys/class/net/ppp0/type", b"512\n")
        self.put("sys/class/net/ppp0/flags", b"0x1091\n")

    def line_down(self):
        self.put("sys/class/net/ppp0/flags", b"0x1090\n")
        os.unlink(os.path.join(self.root, "run", "ppp0.pid"))

    def set_clock(self, moment):
        """Moves the wall clock of a program started with moving_clock=True."""
        with open(self.clock_file + ".tmp", "w") as f:
            f.write(moment.strftime("@%Y-%m-%d %H:%M:%S\n"))
        os.replace(self.clock_file + ".tmp", self.clock_file)

    def start(self, fake_start=None, rate=None, wrapper=(), file_limit=None, moving_clock=False, desktop=None):
        env = dict(os.environ)
        env.update(QT_QPA_PLATFORM="offscreen", TOLLIX_HOME=self.home, TOLLIX_PPP_ROOT=self.root,
                   XDG_RUNTIME_DIR=self.dir, QT_LOGGING_RULES="*.debug=false;qt.qpa.*=false",
                   TOLLIX_MESSAGE_LOG=self.message_log)
        env.update(desktop or {})  # a real display server instead of none
        # A sanitizer build must not object to libfaketime loading first.
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
        if fake_start or moving_clock:
            # Preloaded directly (not through the faketime wrapper) so that signals
            # reach the program itself.
            env.update(LD_PRELOAD=FAKETIME_LIB, FAKETIME_DONT_RESET="1")
        if moving_clock:
            # The wall clock follows the file; the steady clock stays real, as it
            # does when someone sets the clock of a real machine.
            self.set_clock(fake_start)
            env.update(FAKETIME_TIMESTAMP_FILE=self.clock_file, FAKETIME_NO_CACHE="1",
                       FAKETIME_DONT_FAKE_MONOTONIC="1")
        elif fake_start:
            env["FAKETIME"] = "@" + fake_start.strftime("%Y-%m-%d %H:%M:%S") + (" x%d" % rate if rate else "")

        def limit_files():
            # A full disk as the program meets it: writes past the limit fail (EFBIG).
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (file_limit, file_limit))

        with open(os.path.join(self.dir, "stderr"), "ab") as err:
            self.proc = subprocess.Popen(list(wrapper) + [BINARY], env=env, stdout=subprocess.DEVNULL, stderr=err,
                                         preexec_fn=limit_files if file_limit is not None else None)

    def stop(self, sig=signal.SIGTERM):
        self.proc.send_signal(sig)
        return self.proc.wait(timeout=20)

    def kill(self):
        if self.proc and self.proc.poll() is None:
            self.stop(signal.SIGKILL)

    def records(self):
        data = self.read("Price.DB")
        return [RECORD.unpack_from(data, i * 34) for i in range(len(data) // 34)]

    def logged_starts(self):
        """Start moments as written in the log, to rebuild the exact expected lines."""
        stamps = [line.split(b",")[2].strip(b"#").decode() for line in self.read("time.txt").split(b"\r\n")[:-1]]
        return [datetime.strptime(s, "%Y-%m-%d %H:%M:%S") for s in stamps]

    def snapshot(self):
        """Every file of the data folder (a folder by what it holds)."""
        return {name: sorted(os.listdir(self.path(name))) if os.path.isdir(self.path(name)) else self.read(name)
                for name in os.listdir(self.home)}

    def messages(self):
        """The message boxes shown so far (the last line may still be on its way)."""
        try:
            while chunk := os.read(self.fifo, 65536):
                self.fifo_data += chunk
        except BlockingIOError:
            pass
        return [json.loads(line) for line in self.fifo_data.split(b"\n")[:-1]]

    def wait_for_message(self):
        wait_for(lambda: self.messages() or self.proc.poll() is not None, 15)
        self.test.assertTrue(self.messages(), "no message shown; exit status %r, stderr %r"
                             % (self.proc.poll(), contents(os.path.join(self.dir, "stderr"))))
        return self.messages()

    def connect_for(self, seconds, name="Home", pid=4242):
        """Waits for the session to open (its journal appears) and to close (it
        goes, or the user is told why it cannot be written yet), so that a slow
        start, as under the sanitizers, sees it whole."""
        journal = self.path("session.journal")
        self.line_up(name, pid)
        wait_for(lambda: os.path.exists(journal))
        time.sleep(seconds)
        told = len(self.messages())
        self.line_down()
        wait_for(lambda: not os.path.exists(journal) or len(self.messages()) > told)
        time.sleep(0.5)


class StartAndSignals(unittest.TestCase):
    """What only the running program shows: its first start and its signals."""

    def test_first_start_in_an_empty_folder(self):
        m = Meter(self)
        # Without a phonebook entry it says so, naming the system it runs on.
        m.start()
        self.assertTrue(m.wait_for_message()[0]["text"].startswith("你的系统没有安装拨号网络"))
        m.kill()
        m.peers("Home")
        m.start(NOON)
        time.sleep(3)
        # Sound, printing and the charts are opened when first used, not at start.
        maps = contents("/proc/%d/maps" % m.proc.pid).decode()
        for late in ("Multimedia", "PrintSupport", "Charts", "Concurrent", "OpenGLWidgets"):
            self.assertNotIn(late, maps)
        self.assertEqual(m.stop(), 0)
        # Every period starts at the first start, with nothing counted.
        start = m.records()[0][0]
        self.assertLessEqual(abs(start - day_count(NOON)) * 86400, 3)
        self.assertEqual(m.read("Price.DB"), RECORD.pack(start, 0, 0, 0, 0, 0) * 4)

    def test_killed_during_a_connection_is_recovered_at_the_next_start(self):
        m = Meter(self)
        m.peers("Home")
        m.line_up("Home")
        m.start(NOON, rate=10)  # about 150 s of connection before the power cut
        time.sleep(16)
        m.stop(signal.SIGKILL)
        m.line_down()
        m.start()
        time.sleep(4)
        m.stop()
        self.assertEqual(len(m.logged_starts()), 1)
        seconds = int(m.read("time.txt").split(b",")[1])
        # Within a minute of the true length (about 150 s), never more than it; how
        # the recovered session is counted is the journal's to pin.
        self.assertIn(seconds, (120, 180))

    def test_second_instance_touches_nothing_and_sigterm_records_the_connection(self):
        """A second copy in the same folder, or in another folder whose
        statistics file is the first one's through a link, starts nothing; the
        first, ended by SIGTERM during its connection, records it."""
        first = Meter(self)
        first.peers("Home")
        first.line_up("Home")
        first.start(NOON)
        time.sleep(3)
        before = first.snapshot()
        same, linked = Meter(self, share=first), Meter(self, share=first)
        linked.home = os.path.join(linked.dir, "home")
        os.makedirs(linked.home)
        os.symlink(first.path("Price.DB"), linked.path("Price.DB"))
        for second in (same, linked):
            second.start()
            # It shows its message and waits for OK; it never opened a session,
            # nor recovered or removed the first copy's journal.
            shown = [s["text"] for s in second.wait_for_message()]
            self.assertEqual([t.split("\n")[0] for t in shown], ["Tollix 3.1已经在运行了!"])
            self.assertIsNone(second.proc.poll())
            second.kill()
        self.assertEqual(first.snapshot(), before)
        self.assertEqual(first.stop(signal.SIGTERM), 0)
        self.assertEqual(first.read("time.txt"), log_line("Home", 60, first.logged_starts()[0]))
        self.assertEqual([r[1:] for r in first.records()], [ONE] * 4)
        self.assertEqual(first.messages(), [])


if __name__ == "__main__":
    unittest.main()
