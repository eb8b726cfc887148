"""Black-box runs of the built program, as a user would start it.

Each test builds a dial-up world in a temporary folder (TOLLIX_PPP_ROOT: peers,
network interfaces, pid files and /proc entries), starts the real program on it
with its own data folder (TOLLIX_HOME), brings the line up and down by editing
that folder, moves the clock with faketime, and checks Price.DB and time.txt
byte for byte.

faketime with a rate of x10 runs the program's wall and steady clocks ten times
faster while its one-second timer still fires once a real second, so a minute of
connection takes six real seconds and every tick catches up ten seconds.
"""
import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import unittest
from datetime import datetime, timedelta

BINARY = os.environ.get("TOLLIX_BINARY", "build/tollix")
RECORD = struct.Struct("<dqqhii")
FAKETIME_LIB = next((p for p in ("/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1",
                                 "/usr/lib/aarch64-linux-gnu/faketime/libfaketime.so.1",
                                 "/usr/lib/faketime/libfaketime.so.1") if os.path.exists(p)),
                    "libfaketime.so.1")
EPOCH = datetime(1899, 12, 30)


def day_count(moment):
    delta = moment - EPOCH
    return delta.days + delta.seconds / 86400.0


def from_day_count(days):
    whole = int(days)
    seconds = round(abs(days - whole) * 86400)
    return EPOCH + timedelta(days=whole, seconds=seconds)


def log_line(name, seconds, start, net_fee, tel_fee, units):
    stamp = start.strftime("#%Y-%m-%d#") if start.time() == datetime.min.time() \
        else start.strftime("#%Y-%m-%d %H:%M:%S#")
    field = (name + " " * 15)[:15]
    return ('"%s",%d,%s,%s,%s,%d\r\n' % (field, seconds, stamp, net_fee, tel_fee, units)).encode("gbk")


class Meter:
    """One program run in its own world."""

    def __init__(self, test):
        self.dir = tempfile.mkdtemp(prefix="tollix-e2e-")
        test.addCleanup(shutil.rmtree, self.dir, True)
        self.root = os.path.join(self.dir, "root")
        self.home = os.path.join(self.dir, "home")
        for sub in ("etc/ppp/peers", "sys/class/net", "run", "proc"):
            os.makedirs(os.path.join(self.root, sub))
        os.makedirs(self.home)
        self.proc = None
        test.addCleanup(self.kill)

    def peers(self, *names):
        for name in names:
            open(os.path.join(self.root, "etc/ppp/peers", name), "w").close()

    def ini(self, text):
        with open(os.path.join(self.home, "tollix.ini"), "wb") as f:
            f.write(text.replace("\n", "\r\n").encode("gbk"))

    def line_up(self, name="Home", pid=4242):
        procdir = os.path.join(self.root, "proc", str(pid))
        os.makedirs(procdir, exist_ok=True)
        with open(os.path.join(procdir, "cmdline"), "wb") as f:
            f.write(b"/usr/sbin/pppd\0call\0" + name.encode() + b"\0")
        with open(os.path.join(procdir, "comm"), "w") as f:
            f.write("pppd\n")
        with open(os.path.join(self.root, "run", "ppp0.pid"), "w") as f:
            f.write("%d\n" % pid)
        iface = os.path.join(self.root, "sys/class/net/ppp0")
        os.makedirs(iface, exist_ok=True)
        with open(os.path.join(iface, "type"), "w") as f:
            f.write("512\n")
        with open(os.path.join(iface, "flags"), "w") as f:
            f.write("0x1091\n")

    def line_down(self):
        with open(os.path.join(self.root, "sys/class/net/ppp0/flags"), "w") as f:
            f.write("0x1090\n")
        os.unlink(os.path.join(self.root, "run", "ppp0.pid"))

    def start(self, fake_start=None, rate=None):
        env = dict(os.environ)
        env.update(QT_QPA_PLATFORM="offscreen", TOLLIX_HOME=self.home, TOLLIX_PPP_ROOT=self.root,
                   XDG_RUNTIME_DIR=self.dir, QT_LOGGING_RULES="*.debug=false;qt.qpa.*=false")
        # A sanitizer build must not object to libfaketime loading first.
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
        if fake_start:
            # Preloaded directly (not through the faketime wrapper) so that signals
            # reach the program itself.
            env["LD_PRELOAD"] = FAKETIME_LIB
            env["FAKETIME"] = "@" + fake_start.strftime("%Y-%m-%d %H:%M:%S") + (" x%d" % rate if rate else "")
            env["FAKETIME_DONT_RESET"] = "1"
        self.proc = subprocess.Popen([BINARY], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        return self.proc

    def stop(self, sig=signal.SIGTERM):
        self.proc.send_signal(sig)
        try:
            return self.proc.wait(timeout=20)
        finally:
            self.proc.stderr.close()

    def kill(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def records(self):
        with open(os.path.join(self.home, "Price.DB"), "rb") as f:
            data = f.read()
        return [RECORD.unpack_from(data, i * 34) for i in range(len(data) // 34)]

    def log_bytes(self):
        path = os.path.join(self.home, "time.txt")
        if not os.path.exists(path):
            return b""
        with open(path, "rb") as f:
            return f.read()

    def logged_starts(self):
        """Start moments as written in the log, to rebuild the exact expected lines."""
        starts = []
        for line in self.log_bytes().split(b"\r\n")[:-1]:
            stamp = line.split(b",")[2].strip(b"#").decode()
            fmt = "%Y-%m-%d %H:%M:%S" if " " in stamp else "%Y-%m-%d"
            starts.append(datetime.strptime(stamp, fmt))
        return starts


def near(moment, expected, seconds):
    return abs((moment - expected).total_seconds()) <= seconds


class RunningMeter(unittest.TestCase):
    def test_first_start_in_an_empty_folder(self):
        m = Meter(self)
        m.peers("Home")
        t0 = datetime(2026, 12, 7, 12, 0, 0)
        m.start(t0)
        time.sleep(3)
        self.assertEqual(m.stop(), 0)
        with open(os.path.join(m.home, "Price.DB"), "rb") as f:
            data = f.read()
        self.assertEqual(len(data), 136)
        records = m.records()
        start = records[0][0]
        self.assertTrue(near(from_day_count(start), t0, 3), from_day_count(start))
        for r in records:
            # Every period starts at the first start, with nothing counted.
            self.assertEqual(r, (start, 0, 0, 0, 0, 0))
        self.assertEqual(data, RECORD.pack(start, 0, 0, 0, 0, 0) * 4)
        self.assertEqual(m.log_bytes(), b"")
        self.assertFalse(os.path.exists(os.path.join(m.home, "tollix.lock")))

    def test_short_connection_is_stored_as_one_minute_and_one_unit(self):
        m = Meter(self)
        m.peers("Home", "Work")
        m.line_up("Home")
        m.start(datetime(2026, 12, 7, 12, 0, 0))
        time.sleep(6)
        m.line_down()
        time.sleep(2)
        self.assertEqual(m.stop(), 0)
        starts = m.logged_starts()
        self.assertEqual(len(starts), 1)
        self.assertTrue(near(starts[0], datetime(2026, 12, 7, 12, 0, 1), 3))
        self.assertEqual(m.log_bytes(), log_line("Home", 60, starts[0], "0.1", "0.12", 1))
        for r in m.records():
            self.assertEqual(r[1:], (1200, 1000, 1, 60, 1))

    def test_connection_across_the_discount_start(self):
        m = Meter(self)
        m.peers("Home")
        m.ini("[Telephone Fee]\nEveryday Flag=1\nTel Unit=60\n[Home]\nEveryday Flag=1\n")
        m.line_up("Home")
        # Ten times faster: the session opens near 20:59:50, its second unit and minute
        # begin after 21:00 and cost the discount price.
        m.start(datetime(2026, 12, 7, 20, 59, 40), rate=10)
        time.sleep(8.5)
        m.line_down()
        time.sleep(2)
        self.assertEqual(m.stop(), 0)
        starts = m.logged_starts()
        self.assertEqual(len(starts), 1)
        self.assertTrue(starts[0] < datetime(2026, 12, 7, 21, 0, 0), starts[0])
        self.assertEqual(m.log_bytes(), log_line("Home", 120, starts[0], "0.15", "0.18", 3))
        self.assertEqual(m.records()[0][1:], (1800, 1500, 1, 120, 2))

    def test_day_rolls_over_between_two_connections(self):
        m = Meter(self)
        m.peers("Home")
        m.line_up("Home")
        m.start(datetime(2026, 12, 7, 23, 59, 40), rate=10)
        time.sleep(3)  # about 00:00:10: the first connection ran past midnight
        m.line_down()
        time.sleep(2.5)
        m.line_up("Home", pid=4343)
        time.sleep(3)
        m.line_down()
        time.sleep(2)
        self.assertEqual(m.stop(), 0)
        starts = m.logged_starts()
        self.assertEqual(len(starts), 2)
        self.assertEqual(starts[0].date(), datetime(2026, 12, 7).date())
        self.assertEqual(starts[1].date(), datetime(2026, 12, 8).date())
        today, week, month, total = m.records()
        self.assertEqual(from_day_count(today[0]).date(), datetime(2026, 12, 8).date())
        self.assertEqual(today[3], 1)
        self.assertEqual(today[1:3], (1200, 1000))
        for r in (week, month, total):
            self.assertEqual(r[3], 2)
            self.assertEqual(r[1:3], (2400, 2000))

    def test_rated_hours_past_the_allowance(self):
        m = Meter(self)
        m.peers("Home")
        m.ini("[Home]\nFee Type=2\nFix Hour=1\n")
        begun = day_count(datetime(2026, 12, 1, 8, 0, 0))
        with open(os.path.join(m.home, "Price.DB"), "wb") as f:
            f.write(RECORD.pack(day_count(datetime(2026, 12, 7, 8, 0, 0)), 0, 0, 1, 3601, 21))
            for _ in range(3):
                f.write(RECORD.pack(begun, 0, 0, 1, 3601, 21))
        m.line_up("Home")
        m.start(datetime(2026, 12, 7, 12, 0, 0))
        time.sleep(6)
        m.line_down()
        time.sleep(2)
        self.assertEqual(m.stop(), 0)
        starts = m.logged_starts()
        self.assertEqual(m.log_bytes(), log_line("Home", 60, starts[0], "0.1", "0.12", 1))
        month = m.records()[2]
        self.assertEqual(month, (begun, 1200, 1000, 2, 3661, 22))

    def test_terminated_during_a_connection_records_it(self):
        m = Meter(self)
        m.peers("Home")
        m.line_up("Home")
        m.start(datetime(2026, 12, 7, 12, 0, 0))
        time.sleep(6)
        self.assertEqual(m.stop(signal.SIGTERM), 0)
        starts = m.logged_starts()
        self.assertEqual(len(starts), 1)
        self.assertEqual(m.log_bytes(), log_line("Home", 60, starts[0], "0.1", "0.12", 1))
        self.assertEqual(m.records()[3][1:], (1200, 1000, 1, 60, 1))


class Hardening(unittest.TestCase):
    def test_killed_during_a_connection_is_recovered_at_the_next_start(self):
        m = Meter(self)
        m.peers("Home")
        m.line_up("Home")
        # Ten times faster: about 150 s of connection before the power cut.
        m.start(datetime(2026, 12, 7, 12, 0, 0), rate=10)
        time.sleep(16)
        m.stop(signal.SIGKILL)
        self.assertEqual(m.log_bytes(), b"")
        self.assertTrue(os.path.exists(os.path.join(m.home, "session.journal")))
        m.line_down()
        m.start()
        time.sleep(4)
        m.stop()
        starts = m.logged_starts()
        self.assertEqual(len(starts), 1)
        line = m.log_bytes().split(b",")
        # Within a minute of the true length (about 150 s), never more than it.
        self.assertIn(int(line[1]), (120, 180))
        total = m.records()[3]
        self.assertEqual(total[3], 1)
        self.assertEqual(total[4], int(line[1]))
        self.assertFalse(os.path.exists(os.path.join(m.home, "session.journal")))

    def test_second_instance_touches_nothing(self):
        m = Meter(self)
        m.peers("Home")
        m.line_up("Home")
        first = m.start()
        time.sleep(3)
        before = {n: open(os.path.join(m.home, n), "rb").read() for n in os.listdir(m.home)
                  if os.path.isfile(os.path.join(m.home, n))}
        second = Meter(self)
        second.home, second.root, second.dir = m.home, m.root, m.dir
        second.start()
        time.sleep(3)
        # It shows its message and waits for OK; it never opened a session.
        self.assertIsNone(second.proc.poll())
        second.kill()
        second.proc.stderr.close()
        after = {n: open(os.path.join(m.home, n), "rb").read() for n in before}
        self.assertEqual(before, after)
        m.proc = first
        m.line_down()
        time.sleep(2)
        self.assertEqual(m.stop(), 0)
        self.assertEqual(len(m.logged_starts()), 1)


if __name__ == "__main__":
    unittest.main()
