"""Black-box runs of the built program with python3-dbusmock's NetworkManager
on a private system bus: links NetworkManager brings up are timed, priced and
logged under the profile's name, whenever NetworkManager comes and goes.
"""
import os
import shutil
import subprocess
import time
import unittest

from tollix_e2e import Meter, NOON, RECORD, log_line, wait_for

NM = "org.freedesktop.NetworkManager"
NM_PATH = "/org/freedesktop/NetworkManager"
# "My ISP" costs three times the default 0.1 a minute; "Other" is there so
# that the wrong tariff cannot pass for the right one.
TARIFFS = ("[My ISP]\r\nFull Fee=300\r\nHalf Fee=300\r\n"
           "[Other]\r\nFull Fee=700\r\nHalf Fee=700\r\n").encode()


def missing():
    if not shutil.which("dbus-daemon") or not shutil.which("busctl"):
        return "dbus-daemon or busctl is missing (packages dbus-daemon, systemd)"
    if subprocess.call(["/usr/bin/python3", "-c", "import dbusmock"], stderr=subprocess.DEVNULL):
        return "python3-dbusmock is missing (package python3-dbusmock)"
    return None


class MockNetworkManager:
    """A private bus the program reaches as its system bus, and the mock on it."""

    def __init__(self, test, folder):
        self.test = test
        self.socket = os.path.join(folder, "bus")
        self.address = "unix:path=" + self.socket
        self.bus = self.manager = None
        test.addCleanup(self.stop_bus)

    def start_bus(self):
        self.bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--address=" + self.address],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: os.path.exists(self.socket))

    def stop_bus(self):
        self.stop_manager()
        if self.bus:
            self.bus.terminate()
            self.bus.wait()
            self.bus = None

    def start_manager(self, *profiles):
        """NetworkManager with these saved PPPoE profiles; returns their paths."""
        env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=self.address)
        self.manager = subprocess.Popen(["/usr/bin/python3", "-m", "dbusmock", "--template", "networkmanager"],
                                        env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: self.call("/org/freedesktop", "org.freedesktop.DBus.Mock",
                                   "AddEthernetDevice", "ssi", "dev0", "lo", "30"), 15)
        return [self.call(NM_PATH + "/Settings", NM + ".Settings", "AddConnection", "a{sa{sv}}", "1",
                          "connection", "2", "id", "s", name, "type", "s", "pppoe").split('"')[1]
                for name in profiles]

    def stop_manager(self):
        if self.manager:
            self.manager.terminate()
            self.manager.wait()
            self.manager = None

    def call(self, path, interface, method, *args):
        done = subprocess.run(["busctl", "--address=" + self.address, "call", NM, path, interface, method]
                              + list(args), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        return done.stdout if done.returncode == 0 else ""

    def activate(self, profile):
        return self.call(NM_PATH, NM, "ActivateConnection", "ooo", profile, NM_PATH + "/Devices/dev0",
                         "/").split('"')[1]

    def deactivate(self, active):
        self.call(NM_PATH, NM, "DeactivateConnection", "o", active)


class WithNetworkManager(unittest.TestCase):
    def test_links_of_networkmanager(self):
        reason = missing()
        if reason:
            self.skipTest(reason)

        def there_from_the_start(nm, m, rate):
            nm.start_bus()
            profile = nm.start_manager("Other", "My ISP")[1]
            m.start(NOON, rate=rate)
            return profile

        def appearing_later(nm, m, rate):
            m.start(NOON, rate=rate)  # no bus at all yet
            time.sleep(2)
            nm.start_bus()
            return nm.start_manager("Other", "My ISP")[1]

        def restarting(nm, m):
            # Back within the grace, with the line: the one connection stays one.
            nm.stop_manager()
            return nm.activate(nm.start_manager("Other", "My ISP")[1])

        # How NetworkManager is found; what it does during the line; the clock's
        # rate, the real seconds of the line, and what is billed for it.
        scenarios = [
            ("there from the start", there_from_the_start, None, 10, 14, 180, "0.9", 9000),
            ("started after the meter", appearing_later, None, 10, 14, 180, "0.9", 9000),
            # Real time, for the grace is counted on the program's clock.
            ("restarting during the line", there_from_the_start, restarting, None, 10, 60, "0.3", 3000),
        ]
        for what, before, during, rate, seconds, billed, fee, ten_thousandths in scenarios:
            with self.subTest(what):
                m = Meter(self)
                nm = MockNetworkManager(self, m.dir)
                os.environ["DBUS_SYSTEM_BUS_ADDRESS"] = nm.address
                m.write("tollix.ini", TARIFFS)
                m.peers("Other")  # a meter with an empty phonebook would not start
                active = nm.activate(before(nm, m, rate))
                journal = m.path("session.journal")
                wait_for(lambda: os.path.exists(journal))
                time.sleep(seconds / 2)
                if during:
                    active = during(nm, m)
                time.sleep(seconds / 2)
                nm.deactivate(active)
                wait_for(lambda: not os.path.exists(journal))
                self.assertEqual(m.stop(), 0)
                # The log counts units over the rounded-up length; the records as charged.
                self.assertEqual(m.log_bytes(), log_line("My ISP", billed, m.logged_starts()[0], fee, "0.12",
                                                         billed // 180 + 1))
                self.assertEqual(m.read("Price.DB"), b"".join(
                    RECORD.pack(r[0], 1200, ten_thousandths, 1, billed, 1) for r in m.records()))
                self.assertEqual(m.messages(), [])


if __name__ == "__main__":
    unittest.main()
