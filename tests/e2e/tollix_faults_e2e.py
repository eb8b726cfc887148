"""Faults a meter meets in months of running, run with the Meter of tollix_e2e.py."""
import os
import subprocess
import time
import unittest
from datetime import datetime

from tollix_e2e import NOON, ONE, Meter, contents, day_count, log_line, packed, plus

# A history line and the records of a user with some months of use behind them.
OLD_LOG = (log_line("Home", 1860, datetime(2026, 11, 30, 21, 30, 15), "3.1", "1.2", 11)
           + log_line("Work", 120, datetime(2026, 12, 6, 8, 0, 0), "0.2", "0.24", 1))
OLD_RECORDS = [
    (day_count(datetime(2026, 12, 7, 8, 0, 0)), 1200, 1000, 1, 60, 1),
    (day_count(datetime(2026, 12, 6, 8, 0, 0)), 3600, 3000, 2, 180, 2),
    (day_count(datetime(2026, 12, 1, 8, 0, 0)), 15600, 34000, 3, 2040, 13),
    (day_count(datetime(2026, 1, 1, 8, 0, 0)), 95600, 84000, 9, 9040, 53),
]


def seeded(test, records=OLD_RECORDS):
    m = Meter(test)
    m.peers("Home", "Work")
    m.write("Price.DB", packed(records))
    m.write("time.txt", OLD_LOG)
    return m


def read_only(path):
    """Runs the program in its own mount namespace where `path` is a read-only
    bind mount: permissions do not stop the super-user, a read-only mount does."""
    return ["unshare", "-rm", "sh", "-c", 'mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" "$0" && exec "$@"',
            path]


def assert_start_refused(test, m, opening, named, unchanged=True, **start):
    """The program shows one message naming the file and stays on it, having
    changed nothing it had stored."""
    before = m.snapshot() if unchanged else None
    m.start(NOON, **start)
    shown = m.wait_for_message()
    time.sleep(1)
    test.assertIsNone(m.proc.poll())
    m.kill()
    test.assertEqual(len(shown), 1)
    test.assertIn(opening, shown[0]["text"])
    test.assertIn(m.path(named), shown[0]["text"])
    if unchanged:
        after = m.snapshot()
        after.pop("tollix.lock", None)  # left by the kill; stale locks are taken over
        test.assertEqual(after, before)
    return shown[0]["text"]


class StartRefused(unittest.TestCase):
    def test_read_only_data_folder_or_statistics_file(self):
        if subprocess.run(read_only("/tmp") + ["true"], capture_output=True).returncode != 0:
            self.skipTest("no private read-only mounts here (unshare -rm)")
        # Yesterday's today record must be rolled over, which cannot be written.
        yesterday = [(day_count(datetime(2026, 12, 6, 8)),) + OLD_RECORDS[0][1:]] + OLD_RECORDS[1:]
        for locked, named, opening in (("", "tollix.lock", "Tollix 不能启动"),
                                       ("Price.DB", "Price.DB", "无法打开统计文件，Tollix 不能继续运行。")):
            with self.subTest(named):
                m = seeded(self, records=yesterday)
                m.write("tollix.ini", b"[Start Settings]\r\nPlay Wave=0\r\n")
                text = assert_start_refused(self, m, opening, named, wrapper=read_only(m.path(locked).rstrip("/")))
                self.assertIn(os.strerror(30), text)  # EROFS: the reason, not a guess

    def test_full_disk_or_a_data_file_that_is_no_file(self):
        """A disk full when the lock file is written, and the lock file replaced
        by a named pipe (refused, never waited on)."""
        # Each case with its message, and the size limit, or None for a named pipe.
        cases = [("tollix.lock", "无法建立锁文件 {}：" + os.strerror(27), 4),  # EFBIG
                 ("tollix.lock", "无法建立锁文件 {}：不是普通文件", None)]
        for name, message, file_limit in cases:
            with self.subTest(name=name, message=message):
                m = seeded(self)
                if file_limit is None:
                    os.mkfifo(m.path(name))
                # A pipe is never read, so the folder is compared file by file.
                assert_start_refused(self, m, message.format(m.path(name)), name, file_limit is not None,
                                     file_limit=file_limit)
                self.assertEqual((m.read("Price.DB"), m.read("time.txt")), (packed(OLD_RECORDS), OLD_LOG))


class RunsOn(unittest.TestCase):
    def test_full_disk_when_the_log_is_appended(self):
        """The user is told at once which file is full; at the end of the program
        the line that did not fit is still in the journal, and the error output
        says where."""
        m = seeded(self)
        long_log = OLD_LOG * 6
        m.write("time.txt", long_log)
        # Room for the journal and the whole of Price.DB, not for one more log line.
        m.start(NOON, rate=10, file_limit=len(long_log) + 10)
        time.sleep(2)
        m.connect_for(3)
        shown = m.messages()
        self.assertEqual([s["name"] for s in shown], ["noticeBox"])
        self.assertIn(m.path("time.txt"), shown[0]["text"])
        self.assertEqual(m.stop(), 0, "the meter keeps running after the message")
        self.assertIn(m.path("session.journal"), contents(os.path.join(m.dir, "stderr")).decode())
        self.assertEqual(m.read("time.txt"), long_log)
        self.assertEqual(m.records(), [plus(r) for r in OLD_RECORDS])


class ClockChanges(unittest.TestCase):
    """The wall clock set back a day and forward a month between connections,
    while the steady clock runs on: periods follow the wall clock."""

    def test_clock_moved_between_sessions(self):
        m = seeded(self)
        m.start(datetime(2026, 12, 8, 12, 0, 0), moving_clock=True)
        days = [datetime(2026, 12, 8), datetime(2026, 12, 7), datetime(2027, 1, 8)]  # Tuesday, back, a month on
        for pid, day in enumerate(days, 4242):
            m.set_clock(day.replace(hour=12))
            time.sleep(1.5)
            m.connect_for(3, pid=pid)
        self.assertEqual(m.stop(), 0)
        # The step back kept the day it could not be in, and said so once.
        self.assertEqual([("noticeBox", "时钟可能被调回了" in s["text"]) for s in m.messages()],
                         [("noticeBox", True)])
        # Each connection is logged on the day the wall clock said.
        self.assertEqual([s.date() for s in m.logged_starts()[2:]], [d.date() for d in days])
        # The step forward a month ended the day, the week and the month.
        self.assertEqual([r[1:] for r in m.records()[:3]], [ONE] * 3)


class OddSettings(unittest.TestCase):
    def test_settings_that_are_a_pipe_or_every_value_out_of_range(self):
        """Never waited on, never refused: the connection is metered and stored,
        the two files agree, nothing old is lost and the settings stay as they were."""
        lines = [
            "[Telephone Fee]", "Full Fee=-120", "Start Hour=99", "Start Minute=-61", "Everyday Flag=1",
            "Holiday Flag=1", "Holiday Start=not a date",
            "[Home]", "Fee Type=7", "Half Fee=-1", "Fix Hour=-30", "Fix Fee=-99999999", "Excel Fee=2147483648",
            "Everyday Flag=-1",
            "[Alert Setting]", "DayCheck=1", "Day AlertStandard=9", "Dayhours=-3", "DayFee=-20",
            "DayWaveCheck=1", "Dayminutes=0", "DayFilePath=" + "x" * 300,
            "[Reset]", "Month=40", "[Start Settings]", "Auto Hide=abc", "Play Wave=7",
            "[Max Log Length]", "Log Number=99999", "[" + "y" * 10000 + "]", "Key=" + "z" * 10000,
        ]
        text = "\r\n".join(lines).encode("ascii") + b"\r\n\x00\xff\xfe[\x81\r\n=\x00=\r\n"
        for pipe in (True, False):
            with self.subTest(pipe=pipe):
                m = seeded(self)
                if pipe:
                    os.mkfifo(m.path("tollix.ini"))
                else:
                    m.write("tollix.ini", text)
                m.start(NOON, rate=10)
                time.sleep(2)
                m.connect_for(3)
                self.assertEqual(m.stop(), 0)
                self.assertEqual(m.messages(), [])
                if not pipe:
                    self.assertEqual(m.read("tollix.ini"), text)
                # Stored as one minute and one 180-second unit, at the fees the log shows.
                log = m.read("time.txt")
                self.assertTrue(log.startswith(OLD_LOG), log)
                fields = log[len(OLD_LOG):].split(b",")
                self.assertEqual((fields[1], fields[5]), (b"60", b"1\r\n"))
                if pipe:  # read as no settings at all: the default fees
                    self.assertEqual(fields[3:5], [b"0.1", b"0.12"])
                tel, net = round(float(fields[4]) * 10000), round(float(fields[3]) * 10000)
                self.assertEqual(m.records(), [plus(r, (tel, net, 1, 60, 1)) for r in OLD_RECORDS])


if __name__ == "__main__":
    unittest.main()
