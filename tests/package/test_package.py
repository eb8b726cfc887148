"""The Debian package from scripts/build-deb.sh: installed with dpkg, run, and removed again.

Run as root (or with password-less sudo) after the package is built:
    python3 -m unittest -v tests/package/test_package.py
It skips, saying why, where it may not install packages or where a tollix package is
already installed (it would be removed at the end).
"""

import glob
import os
import shutil
import subprocess
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEB_GLOB = os.path.join(ROOT, "build-deb", "tollix_*.deb")

ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
MULTIARCH = subprocess.run(["dpkg-architecture", "-qDEB_HOST_MULTIARCH"],
                           capture_output=True, text=True).stdout.strip()
EXPECTED_FILES = {
    "/usr/bin/tollix",
    "/usr/share/applications/tollix.desktop",
    "/usr/share/metainfo/org.example.tollix.metainfo.xml",
    "/usr/share/man/man1/tollix.1.gz",
    "/usr/share/tollix/help.html",
    "/usr/share/tollix/help_en.html",
    "/usr/share/tollix/translations/tollix_en.qm",
    "/usr/share/tollix/translations/tollix_engine_en.qm",
    "/usr/share/tollix/start.wav",
    "/usr/share/icons/hicolor/scalable/apps/tollix.svg",
    "/usr/share/doc/tollix/copyright",
    "/usr/share/doc/tollix/changelog.gz",
} | {f"/usr/share/icons/hicolor/{s}x{s}/apps/tollix.png" for s in ICON_SIZES}
# Sound, printing and the charts are libraries of the program's own, loaded on first use.
EXPECTED_FILES |= {f"/usr/lib/{MULTIARCH}/tollix/libtollix_{m}.so" for m in ("sound", "print", "charts")}


def run(args, **kw):
    return subprocess.run(args, capture_output=True, text=True, **kw)


class DebianPackage(unittest.TestCase):
    def setUp(self):
        if os.geteuid() == 0:
            self.root = []
        elif shutil.which("sudo") and run(["sudo", "-n", "true"]).returncode == 0:
            self.root = ["sudo", "-n"]
        else:
            self.skipTest("installing a package needs root or password-less sudo; run as root to test it")
        if "install ok installed" in run(["dpkg-query", "-W", "-f=${Status}", "tollix"]).stdout:
            self.skipTest("a tollix package is already installed here, and this test would remove it")
        debs = sorted(glob.glob(DEB_GLOB), key=os.path.getmtime)
        self.assertTrue(debs, f"no package at {DEB_GLOB}: run scripts/build-deb.sh first")
        self.deb = debs[-1]

    def test_install_run_and_remove(self):
        version = run(["dpkg-deb", "-f", self.deb, "Version"]).stdout.strip()
        self.addCleanup(run, self.root + ["dpkg", "--purge", "tollix"])
        r = run(self.root + ["dpkg", "-i", self.deb])
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)

        # The package's version and the program's are the same number.
        r = run(["/usr/bin/tollix", "--version"])
        self.assertEqual((r.returncode, r.stdout), (0, f"Tollix {version}\n"), r.stderr)
        # Asked for English, it finds its translations where they are installed.
        r = run(["/usr/bin/tollix", "--help"], env={"PATH": "/usr/bin:/bin", "LANG": "en_US.UTF-8"})
        self.assertEqual((r.returncode, r.stdout.split("\n")[0], r.stderr), (0, "Usage: tollix [OPTIONS]", ""))

        # What dpkg lists is what was meant to be installed.
        listed = run(["dpkg", "-L", "tollix"]).stdout.split("\n")
        self.assertEqual({p for p in listed if p and not os.path.isdir(p)}, EXPECTED_FILES)

        r = run(self.root + ["dpkg", "--purge", "tollix"])
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)


if __name__ == "__main__":
    unittest.main()
