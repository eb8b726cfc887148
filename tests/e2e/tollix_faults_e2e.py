"""Faults a meter meets in months of running: a read-only data folder, a full
disk, data files replaced by folders, links or garbage, a second copy started
during a connection, clock changes and a hand-edited tollix.ini.

The runs use the same fake pppd world as tollix_e2e.py. What the user is told
is read from TOLLIX_MESSAGE_LOG, where the program notes every message box it
shows, so no box on the invisible screen has to be answered.
"""
import json
import os
import resource
import signal
import socket
import struct
import subprocess
import threading
import time
import unittest
from datetime import datetime

import tollix_e2e as e2e
from tollix_e2e import RECORD, day_count, from_day_count, log_line

# A history line and the records of a user with some months of use behind them.
OLD_LOG = (log_line("Home", 1860, datetime(2026, 11, 30, 21, 30, 15), "3.1", "1.2", 11)
           + log_line("Work", 120, datetime(2026, 12, 6, 8, 0, 0), "0.2", "0.24", 1))
OLD_RECORDS = [
    (day_count(datetime(2026, 12, 7, 8, 0, 0)), 1200, 1000, 1, 60, 1),
    (day_count(datetime(2026, 12, 6, 8, 0, 0)), 3600, 3000, 2, 180, 2),
    (day_count(datetime(2026, 12, 1, 8, 0, 0)), 15600, 34000, 3, 2040, 13),
    (day_count(datetime(2026, 1, 1, 8, 0, 0)), 95600, 84000, 9, 9040, 53),
]
NOON = datetime(2026, 12, 7, 12, 0, 0)  # a Monday


def packed(records):
    return b"".join(RECORD.pack(*r) for r in records)


def plus(record, seconds, tel, net, units, connections=1):
    start, t, n, c, s, u = record
    return (start, t + tel, n + net, c + connections, s + seconds, u + units)


class FaultMeter(e2e.Meter):
    """A Meter that can run the program in a read-only folder, under a file-size
    limit or on a clock that is moved while it runs, and reads its messages."""

    def __init__(self, test):
        super().__init__(test)
        self.test = test
        self.message_log = os.path.join(self.dir, "messages.jsonl")
        self.clock_file = os.path.join(self.dir, "clock.rc")

    def seed(self, ini=None, records=OLD_RECORDS, log=OLD_LOG):
        if ini is not None:
            self.ini(ini)
        if records is not None:
            self.write("Price.DB", packed(records))
        if log is not None:
            self.write("time.txt", log)

    def write(self, name, data):
        with open(os.path.join(self.home, name), "wb") as f:
            f.write(data)

    def read(self, name):
        with open(os.path.join(self.home, name), "rb") as f:
            return f.read()

    def snapshot(self):
        """Every file of the data folder (links and folders by what they are)."""
        state = {}
        for name in sorted(os.listdir(self.home)):
            path = os.path.join(self.home, name)
            if os.path.islink(path):
                state[name] = ("link", os.readlink(path))
            elif os.path.isdir(path):
                state[name] = ("folder", sorted(os.listdir(path)))
            else:
                state[name] = ("file", self.read(name))
        return state

    def set_clock(self, moment):
        """Moves the wall clock of a program started with moving_clock=True."""
        tmp = self.clock_file + ".tmp"
        with open(tmp, "w") as f:
            f.write(moment.strftime("@%Y-%m-%d %H:%M:%S\n"))
        os.replace(tmp, self.clock_file)

    def start(self, fake_start=None, rate=None, wrapper=(), file_limit=None, moving_clock=False):
        env = dict(os.environ)
        env.update(QT_QPA_PLATFORM="offscreen", TOLLIX_HOME=self.home, TOLLIX_PPP_ROOT=self.root,
                   XDG_RUNTIME_DIR=self.dir, QT_LOGGING_RULES="*.debug=false;qt.qpa.*=false",
                   TOLLIX_MESSAGE_LOG=self.message_log)
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
        if fake_start or moving_clock:
            env["LD_PRELOAD"] = e2e.FAKETIME_LIB
            env["FAKETIME_DONT_RESET"] = "1"
        if moving_clock:
            # The wall clock follows the file; the steady clock stays real, as it
            # does when someone sets the clock of a real machine.
            self.set_clock(fake_start)
            env.update(FAKETIME_TIMESTAMP_FILE=self.clock_file, FAKETIME_NO_CACHE="1",
                       FAKETIME_DONT_FAKE_MONOTONIC="1")
        elif fake_start:
            env["FAKETIME"] = "@" + fake_start.strftime("%Y-%m-%d %H:%M:%S") + (" x%d" % rate if rate else "")

        def limit_files():
            # A full disk as the program meets it: writes past the limit fail
            # (EFBIG) instead of killing it.
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (file_limit, file_limit))

        if file_limit is not None:
            # The limit binds the message log too; a pipe has no size to limit.
            env["TOLLIX_MESSAGE_LOG"] = self.message_pipe()
        self.proc = subprocess.Popen(list(wrapper) + [e2e.BINARY], env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE,
                                     preexec_fn=limit_files if file_limit is not None else None)
        return self.proc

    def message_pipe(self):
        """A FIFO whose messages a thread copies into the message log."""
        fifo = os.path.join(self.dir, "messages.fifo")
        if not os.path.exists(fifo):
            os.mkfifo(fifo)

            def copy():
                # The program opens and closes the log for each message.
                while True:
                    with open(fifo, "rb") as pipe, open(self.message_log, "ab") as out:
                        data = pipe.read()
                        if data == b"STOP":
                            return
                        out.write(data)

            reader = threading.Thread(target=copy, daemon=True)
            reader.start()

            def stop():
                with open(fifo, "wb") as pipe:
                    pipe.write(b"STOP")
                reader.join(5)

            self.test.addCleanup(stop)
        return fifo

    def finish(self):
        """Kills a program waiting on a modal message and closes its pipe."""
        self.kill()
        self.proc.stderr.close()

    def messages(self):
        if not os.path.exists(self.message_log):
            return []
        with open(self.message_log, "rb") as f:
            lines = f.read().split(b"\n")
        # The last line may still be on its way.
        return [json.loads(line) for line in lines[:-1]]

    def wait_for_message(self, timeout=15):
        deadline = time.time() + timeout
        while time.time() < deadline:
            found = self.messages()
            if found:
                return found
            if self.proc.poll() is not None:
                break
            time.sleep(0.2)
        self.test.fail("no message shown; exit status %r, stderr %r"
                       % (self.proc.poll(), self.proc.stderr.read() if self.proc.poll() is not None else b""))

    def connect_for(self, seconds, name="Home", pid=4242):
        # Waits for the session to open (its journal appears) and to close (it goes),
        # so that a slow start, as under the sanitizers, still sees the whole connection.
        journal = os.path.join(self.home, "session.journal")
        self.line_up(name, pid)
        wait_for(lambda: os.path.exists(journal))
        time.sleep(seconds)
        self.line_down()
        wait_for(lambda: not os.path.exists(journal))
        time.sleep(0.5)


def wait_for(condition, timeout=20):
    deadline = time.monotonic() + timeout
    while not condition() and time.monotonic() < deadline:
        time.sleep(0.1)


def read_only_wrapper(*paths):
    """Runs the program in its own mount namespace where `paths` are read-only
    bind mounts: permissions do not stop the super-user, a read-only mount does."""
    script = ('for p in "$@"; do [ "$p" = -- ] && break; mount --bind "$p" "$p" && '
              'mount -o remount,bind,ro "$p" "$p" || exit 97; shift; done; shift; exec "$@"')
    return ["unshare", "-rm", "sh", "-c", script, "sh"] + list(paths) + ["--"]


def read_only_mounts_work():
    probe = subprocess.run(read_only_wrapper("/tmp") + ["true"], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
    return probe.returncode == 0


class ReadOnlyAndFullDisk(unittest.TestCase):
    def setUp(self):
        self.m = FaultMeter(self)
        self.m.peers("Home", "Work")

    def test_read_only_data_folder_is_named_and_left_alone(self):
        if not read_only_mounts_work():
            self.skipTest("no private read-only mounts here (unshare -rm)")
        m = self.m
        m.seed("[Start Settings]\nPlay Wave=0\n")
        before = m.snapshot()
        m.start(NOON, wrapper=read_only_wrapper(m.home))
        shown = m.wait_for_message()
        # It waits on its message and never got as far as a session.
        time.sleep(1)
        self.assertIsNone(m.proc.poll())
        m.finish()
        self.assertEqual(len(shown), 1)
        text = shown[0]["text"]
        self.assertIn(os.path.join(m.home, "tollix.lock"), text)
        self.assertIn(os.strerror(30), text)  # EROFS: the reason, not a guess
        self.assertIn("Tollix 不能启动", text)
        self.assertEqual(m.snapshot(), before)

    def test_read_only_statistics_file_stops_the_start_and_keeps_everything(self):
        if not read_only_mounts_work():
            self.skipTest("no private read-only mounts here (unshare -rm)")
        m = self.m
        # Yesterday's today record must be rolled over, which cannot be written.
        records = [(day_count(datetime(2026, 12, 6, 8, 0, 0)),) + OLD_RECORDS[0][1:]] + OLD_RECORDS[1:]
        m.seed(records=records)
        before = m.snapshot()
        m.start(NOON, wrapper=read_only_wrapper(os.path.join(m.home, "Price.DB")))
        shown = m.wait_for_message()
        m.finish()
        self.assertEqual(len(shown), 1)
        text = shown[0]["text"]
        self.assertTrue(text.startswith("无法打开统计文件，Tollix 不能继续运行。"), text)
        self.assertIn(os.path.join(m.home, "Price.DB"), text)
        self.assertIn(os.strerror(30), text)
        after = m.snapshot()
        after.pop("tollix.lock", None)  # left by the kill; stale locks are taken over
        self.assertEqual(after, before)

    def test_statistics_that_cannot_be_written_at_a_session_end_are_reported(self):
        if not read_only_mounts_work():
            self.skipTest("no private read-only mounts here (unshare -rm)")
        m = self.m
        m.seed()  # today's records: nothing to write at the start
        m.start(NOON, rate=10, wrapper=read_only_wrapper(os.path.join(m.home, "Price.DB")))
        time.sleep(2)
        m.connect_for(3)
        shown = m.messages()
        self.assertIsNone(m.proc.poll(), "the meter keeps running after the message")
        self.assertEqual([s["name"] for s in shown], ["noticeBox"])
        self.assertIn("无法写入统计文件 " + os.path.join(m.home, "Price.DB"), shown[0]["text"])
        self.assertEqual(m.stop(), 0)
        self.assertEqual(m.read("Price.DB"), packed(OLD_RECORDS))
        # The connection still reached the log, and the session is closed.
        self.assertEqual(len(m.logged_starts()), 3)
        self.assertFalse(os.path.exists(os.path.join(m.home, "session.journal")))

    def test_full_disk_when_the_log_is_appended(self):
        m = self.m
        m.seed()
        # The limit binds writes in place too: leave room for the whole of Price.DB.
        m.start(NOON, rate=10, file_limit=max(len(OLD_LOG), 136) + 10)
        time.sleep(2)
        m.connect_for(3)
        shown = m.messages()
        self.assertIsNone(m.proc.poll())
        self.assertEqual([s["name"] for s in shown], ["noticeBox"])
        self.assertIn(os.path.join(m.home, "time.txt"), shown[0]["text"])
        self.assertIn(os.strerror(27), shown[0]["text"])  # EFBIG
        self.assertEqual(m.stop(), 0)
        # Not half a line more, and the statistics took the connection.
        self.assertEqual(m.read("time.txt"), OLD_LOG)
        today, week, month, total = m.records()
        self.assertEqual(total, plus(OLD_RECORDS[3], 60, 1200, 1000, 1))
        self.assertEqual(today, plus(OLD_RECORDS[0], 60, 1200, 1000, 1))
        self.assertFalse(os.path.exists(os.path.join(m.home, "session.journal")))

    def test_full_disk_when_a_statistics_record_is_written(self):
        m = self.m
        # Three records: the start-up must add the all-time record at the end.
        short = packed(OLD_RECORDS[:3])
        m.seed(records=None)
        m.write("Price.DB", short)
        # Room for the lock file (pid, name, host, boot and machine ids) but not
        # for the fourth record.
        lock_size = 8 + 7 + len(socket.gethostname()) + 1 + 33 + 37
        limit = max(lock_size + 4, len(short) + 8)
        if limit >= len(short) + 34:
            self.skipTest("host name too long to tell the lock file from the record")
        m.start(NOON, file_limit=limit)
        shown = m.wait_for_message()
        m.finish()
        text = shown[0]["text"]
        self.assertIn("无法写入统计文件 " + os.path.join(m.home, "Price.DB"), text)
        self.assertIn(os.strerror(27), text)
        # What was stored is still there; the log and the settings were not touched.
        self.assertEqual(m.read("Price.DB")[:len(short)], short)
        self.assertEqual(m.read("time.txt"), OLD_LOG)
        self.assertFalse(os.path.exists(os.path.join(m.home, "tollix.ini")))


class DamagedFiles(unittest.TestCase):
    """Price.DB and time.txt replaced by something else: the meter either says
    what is wrong with which file, or meters a connection and keeps what it can."""

    def run_meter(self, prepare):
        m = FaultMeter(self)
        m.peers("Home")
        m.seed()
        prepare(m)
        m.start(NOON, rate=10)
        time.sleep(2)
        return m

    def test_statistics_file_that_is_not_a_file(self):
        cases = [
            ("folder", lambda m: (os.unlink(os.path.join(m.home, "Price.DB")),
                                  os.mkdir(os.path.join(m.home, "Price.DB"))), "这是一个文件夹，不是文件"),
            ("link to a device", lambda m: (os.unlink(os.path.join(m.home, "Price.DB")),
                                            os.symlink("/dev/zero", os.path.join(m.home, "Price.DB"))),
             "不是普通文件"),
            ("link loop", lambda m: (os.unlink(os.path.join(m.home, "Price.DB")),
                                     os.symlink("Price.DB", os.path.join(m.home, "Price.DB"))),
             os.strerror(40)),
        ]
        for name, prepare, reason in cases:
            with self.subTest(name):
                m = self.run_meter(prepare)
                before = m.snapshot()
                shown = m.wait_for_message()
                m.finish()
                self.assertEqual(len(shown), 1)
                self.assertIn("无法打开统计文件 " + os.path.join(m.home, "Price.DB") + "：" + reason,
                              shown[0]["text"])
                after = m.snapshot()
                self.assertEqual(after, before)

    def test_statistics_file_through_a_link_or_with_garbage(self):
        elsewhere = []

        def link(m):
            target = os.path.join(m.dir, "Price-elsewhere.DB")
            os.rename(os.path.join(m.home, "Price.DB"), target)
            os.symlink(target, os.path.join(m.home, "Price.DB"))
            elsewhere.append(target)

        garbage = bytes((i * 73 + 41) % 256 for i in range(500))
        huge = [(r[0], 2**63 - 500, 2**63 - 500) + r[3:] for r in OLD_RECORDS]
        fresh = (1200, 1000, 1, 60, 1)

        def exact(recs):
            for old, new in zip(OLD_RECORDS, recs):
                self.assertEqual(new, plus(old, 60, 1200, 1000, 1))

        def started_afresh(recs):
            # A record cut to three bytes is no record: every period starts now.
            for r in recs:
                self.assertTrue(e2e.near(from_day_count(r[0]), NOON, 30))
                self.assertEqual(r[1:], fresh)

        def fees_held(recs):
            # Fees at the largest amount stay there instead of turning negative.
            for r in recs:
                self.assertEqual(r[1:3], (2**63 - 1, 2**63 - 1))

        cases = [
            ("link", link, exact),
            ("garbage bytes", lambda m: m.write("Price.DB", garbage), None),
            ("short", lambda m: m.write("Price.DB", b"\x01\x02\x03"), started_afresh),
            ("huge fees", lambda m: m.write("Price.DB", packed(huge)), fees_held),
        ]
        for name, prepare, check in cases:
            with self.subTest(name):
                m = self.run_meter(prepare)
                m.connect_for(3)
                self.assertEqual(m.messages(), [])
                self.assertEqual(m.stop(), 0)
                # One more well-formed log line, whatever the statistics held.
                starts = m.logged_starts()
                self.assertEqual(m.log_bytes(), OLD_LOG + log_line("Home", 60, starts[-1], "0.1", "0.12", 1))
                self.assertGreaterEqual(len(m.read("Price.DB")), 136)
                if check:
                    check(m.records())
                if elsewhere:
                    self.assertTrue(os.path.islink(os.path.join(m.home, "Price.DB")))
                    elsewhere.clear()

    def test_log_that_is_a_folder_a_link_or_garbage(self):
        line = log_line("Home", 60, NOON, "0.1", "0.12", 1)
        garbage = b"\x00\xff garbage without a line end"
        target = {}

        def folder(m):
            os.unlink(os.path.join(m.home, "time.txt"))
            os.mkdir(os.path.join(m.home, "time.txt"))

        def link(m):
            target["path"] = os.path.join(m.dir, "log-elsewhere.txt")
            os.rename(os.path.join(m.home, "time.txt"), target["path"])
            os.symlink(target["path"], os.path.join(m.home, "time.txt"))

        cases = [
            ("folder", folder),
            ("link", link),
            ("garbage", lambda m: m.write("time.txt", garbage)),
        ]
        for name, prepare in cases:
            with self.subTest(name):
                m = self.run_meter(prepare)
                m.connect_for(3)
                shown = m.messages()
                self.assertEqual(m.stop(), 0)
                # The statistics have the connection in every case.
                self.assertEqual(m.records()[3], plus(OLD_RECORDS[3], 60, 1200, 1000, 1))
                path = os.path.join(m.home, "time.txt")
                if name == "folder":
                    self.assertEqual([s["name"] for s in shown], ["noticeBox"])
                    self.assertIn("time.txt", shown[0]["text"])
                    self.assertEqual(os.listdir(path), [])
                    continue
                self.assertEqual(shown, [])
                written = m.read("time.txt")
                start = m.logged_starts()[-1] if name == "link" else None
                if name == "link":
                    self.assertTrue(os.path.islink(path))
                    self.assertEqual(written, OLD_LOG + line.replace(b"12:00:00", start.strftime("%H:%M:%S").encode()))
                else:
                    # The garbage stays; the new line starts on a line of its own.
                    self.assertTrue(written.startswith(garbage + b"\r\n\"Home"), written)
                    self.assertTrue(written.endswith(b",0.1,0.12,1\r\n"), written)


class Instances(unittest.TestCase):
    def test_second_instance_during_a_session_says_so_and_the_session_is_kept(self):
        first = FaultMeter(self)
        first.peers("Home")
        first.seed()
        first.line_up("Home")
        first.start(NOON, rate=10)
        time.sleep(3)
        second = FaultMeter(self)
        second.home, second.root = first.home, first.root
        journal = first.read("session.journal")
        second.start(NOON, rate=10)
        shown = second.wait_for_message()
        self.assertEqual(shown[0]["text"], "Tollix 3.1已经在运行了!")
        self.assertIsNone(second.proc.poll())
        second.finish()
        # The first copy's journal is its own: the second neither recovered nor removed it.
        self.assertTrue(os.path.exists(os.path.join(first.home, "session.journal")))
        self.assertGreaterEqual(len(first.read("session.journal")), len(journal) - 4)
        time.sleep(3)
        first.line_down()
        time.sleep(2)
        self.assertEqual(first.stop(), 0)
        self.assertEqual(len(first.logged_starts()), 3)
        self.assertEqual(first.records()[3][3], OLD_RECORDS[3][3] + 1)
        self.assertEqual(first.messages(), [])


class ClockChanges(unittest.TestCase):
    """The wall clock set back a day and forward a month, while the steady clock
    runs on: periods follow the wall clock, connected time follows the steady one."""

    def test_clock_moved_during_a_session(self):
        m = FaultMeter(self)
        m.peers("Home")
        m.seed()
        m.start(NOON, moving_clock=True)
        time.sleep(1.5)
        m.line_up("Home")
        time.sleep(2.5)
        m.set_clock(datetime(2026, 12, 6, 12, 0, 5))
        time.sleep(2.5)
        m.set_clock(datetime(2027, 1, 7, 12, 0, 8))
        time.sleep(2.5)
        m.line_down()
        time.sleep(2)
        self.assertEqual(m.stop(), 0)
        # About eight seconds of connection: one minute, one unit, at the prices of
        # a Monday noon, logged at its true start.
        starts = m.logged_starts()
        self.assertEqual(len(starts), 3)
        self.assertTrue(e2e.near(starts[-1], datetime(2026, 12, 7, 12, 0, 2), 2), starts[-1])
        self.assertEqual(m.log_bytes(), OLD_LOG + log_line("Home", 60, starts[-1], "0.1", "0.12", 1))
        for old, new in zip(OLD_RECORDS, m.records()):
            self.assertEqual(new, plus(old, 60, 1200, 1000, 1))

    def test_clock_moved_between_sessions(self):
        m = FaultMeter(self)
        m.peers("Home")
        m.seed()
        m.start(datetime(2026, 12, 8, 12, 0, 0), moving_clock=True)
        time.sleep(1.5)
        m.connect_for(3)  # Tuesday
        m.set_clock(datetime(2026, 12, 7, 12, 0, 0))
        time.sleep(1.5)
        m.connect_for(3, pid=4343)  # back to Monday
        m.set_clock(datetime(2027, 1, 8, 12, 0, 0))
        time.sleep(1.5)
        m.connect_for(3, pid=4444)  # a month on
        self.assertEqual(m.stop(), 0)
        self.assertEqual(m.messages(), [])
        # Each connection was seen for a few seconds and is stored as a minute.
        self.assertEqual([line.split(b",")[1] for line in m.log_bytes()[len(OLD_LOG):].split(b"\r\n")[:-1]],
                         [b"60"] * 3)
        days = [s.date() for s in m.logged_starts()[2:]]
        self.assertEqual(days, [datetime(2026, 12, 8).date(), datetime(2026, 12, 7).date(),
                                datetime(2027, 1, 8).date()])
        today, week, month, total = m.records()
        one = (1200, 1000, 1, 60, 1)
        # Each step of the clock ended the day; the month ended only with the last.
        self.assertEqual(from_day_count(today[0]).date(), datetime(2027, 1, 8).date())
        self.assertEqual(today[1:], one)
        self.assertEqual(week[1:], one)
        self.assertEqual(month[1:], one)
        # Nothing paid for is lost from the all-time record.
        self.assertEqual(total, plus(OLD_RECORDS[3], 180, 3600, 3000, 3, 3))


class HandEditedSettings(unittest.TestCase):
    def test_every_value_out_of_range(self):
        m = FaultMeter(self)
        m.peers("Home")
        lines = [
            "[Telephone Fee]", "Full Fee=-120", "Half Fee=99999999999999999999", "Tel Unit=0",
            "Start Hour=99", "Start Minute=-61", "End Hour=-5", "End Minute=abc", "Everyday Flag=1",
            "Holiday Flag=1", "Holiday Start=not a date",
            "[Home]", "Fee Type=7", "Full Fee=abc", "Half Fee=-1", "Fix Hour=-30", "Fix Fee=-99999999",
            "Excel Fee=2147483648", "Start Hour=99", "Everyday Flag=-1",
            "[Alert Setting]", "DayCheck=1", "Day AlertStandard=9", "Dayhours=-3", "DayFee=-20",
            "DayWaveCheck=1", "Dayminutes=0", "DayFilePath=" + "x" * 300,
            "WeekCheck=1", "Weekminutes=-7", "MonthCheck=1", "Monthhours=99999",
            "[Reset]", "Month=40", "Week=-3",
            "[ProAdd]", "ProAdd Seconds=-100",
            "[Start Settings]", "Auto Hide=abc", "Play Wave=7",
            "[Max Log Length]", "Log Number=99999",
            "[" + "y" * 10000 + "]", "Key=" + "z" * 10000,
        ]
        text = "\r\n".join(lines).encode("ascii") + b"\r\n\x00\xff\xfe[\x81\r\n=\x00=\r\n"
        for variant, extra in (("first", b""), ("second", b"[Telephone Fee]\r\nTel Unit=-5\r\n")):
            with self.subTest(variant):
                m.write("tollix.ini", extra + text)
                m.seed(records=OLD_RECORDS, log=OLD_LOG)
                ini = m.read("tollix.ini")
                m.start(NOON, rate=10)
                time.sleep(2)
                m.connect_for(3)
                self.assertIsNone(m.proc.poll(), m.proc.stderr.read() if m.proc.poll() is not None else "")
                self.assertEqual(m.stop(), 0)
                self.assertEqual([s["name"] for s in m.messages()], [])
                # Stored as one minute and one 180-second unit; fees are what they are,
                # but the two files agree and nothing old was lost.
                self.assertEqual(m.read("tollix.ini"), ini)
                log = m.log_bytes()
                self.assertTrue(log.startswith(OLD_LOG), log)
                fields = log[len(OLD_LOG):].split(b",")
                self.assertEqual(fields[1], b"60")
                self.assertEqual(fields[5], b"1\r\n")
                for old, new in zip(OLD_RECORDS, m.records()):
                    self.assertEqual(new[3:], (old[3] + 1, old[4] + 60, old[5] + 1))
                    self.assertEqual(new[1] - old[1], round(float(fields[4]) * 10000))
                    self.assertEqual(new[2] - old[2], round(float(fields[3]) * 10000))
                os.unlink(m.message_log) if os.path.exists(m.message_log) else None


if __name__ == "__main__":
    unittest.main()
