"""The built program with python3-dbusmock's NetworkManager on a private system bus."""
import os
import shutil
import subprocess
import time
import unittest

from tollix_e2e import Meter, NOON, log_line, wait_for

NM = "org.freedesktop.NetworkManager"
NM_PATH = "/org/freedesktop/NetworkManager"
# "My ISP" costs three times the default 0.1 a minute; "Other" is there so
# that the wrong tariff cannot pass for the right one.
TARIFFS = ("[My ISP]\r\nFull Fee=300\r\nHalf Fee=300\r\n"
           "[Other]\r\nFull Fee=700\r\nHalf Fee=700\r\n").encode()


class WithNetworkManager(unittest.TestCase):
    def test_links_of_networkmanager(self):
        """NetworkManager started after the meter: a three-minute line of its
        profile "My ISP" is timed, priced with that profile's tariff and logged
        under its name."""
        if not shutil.which("dbus-daemon") or not shutil.which("busctl"):
            self.skipTest("dbus-daemon or busctl is missing (packages dbus-daemon, systemd)")
        if subprocess.call(["/usr/bin/python3", "-c", "import dbusmock"], stderr=subprocess.DEVNULL):
            self.skipTest("python3-dbusmock is missing (package python3-dbusmock)")
        m = Meter(self)
        # A private bus the program reaches as its system bus.
        socket = os.path.join(m.dir, "bus")
        os.environ["DBUS_SYSTEM_BUS_ADDRESS"] = address = "unix:path=" + socket

        def call(path, interface, method, *args):
            done = subprocess.run(["busctl", "--address=" + address, "call", NM, path, interface, method]
                                  + list(args), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            return done.stdout if done.returncode == 0 else ""

        m.write("tollix.ini", TARIFFS)
        m.peers("Other")  # a meter with an empty phonebook would not start
        m.start(NOON, rate=10)  # no bus at all yet
        time.sleep(2)
        for argv in (["dbus-daemon", "--session", "--nofork", "--address=" + address],
                     ["/usr/bin/python3", "-m", "dbusmock", "--template", "networkmanager"]):
            proc = subprocess.Popen(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.addCleanup(lambda p=proc: (p.terminate(), p.wait()))
            wait_for(lambda: os.path.exists(socket))
        wait_for(lambda: call("/org/freedesktop", "org.freedesktop.DBus.Mock", "AddEthernetDevice", "ssi", "dev0",
                              "lo", "30"), 15)
        for name in ("Other", "My ISP"):  # saved PPPoE profiles; the last is dialled
            profile = call(NM_PATH + "/Settings", NM + ".Settings", "AddConnection", "a{sa{sv}}", "1",
                           "connection", "2", "id", "s", name, "type", "s", "pppoe").split('"')[1]
        active = call(NM_PATH, NM, "ActivateConnection", "ooo", profile, NM_PATH + "/Devices/dev0",
                      "/").split('"')[1]
        journal = m.path("session.journal")
        wait_for(lambda: os.path.exists(journal))
        time.sleep(14)
        call(NM_PATH, NM, "DeactivateConnection", "o", active)
        wait_for(lambda: not os.path.exists(journal))
        self.assertEqual(m.stop(), 0)
        # How the two files count the minutes and units is the session's to pin.
        self.assertEqual(m.read("time.txt"), log_line("My ISP", 180, m.logged_starts()[0], "0.9", "0.12", 2))
        self.assertEqual(m.messages(), [])


if __name__ == "__main__":
    unittest.main()
