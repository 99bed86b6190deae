#!/usr/bin/env python3
"""The install check accepts the real packaging files and reports each kind of fault.

Run with the folder of the packaging sources and the icon tool:
  test_check_install.py PACKAGING_DIR MAKE_ICONS
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

PACKAGING = MAKE_ICONS = None


def load_checker():
    sys.path.insert(0, PACKAGING)
    import check_install
    return check_install


class InstalledTree(unittest.TestCase):
    """A prefix laid out as the install rules lay it out, from the real files."""

    def setUp(self):
        self.ci = load_checker()
        self.prefix = tempfile.mkdtemp(prefix="tumblara-check-")
        self.addCleanup(shutil.rmtree, self.prefix, ignore_errors=True)
        p = self.path
        os.makedirs(p("bin"))
        with open(p("bin/tumblara"), "w") as f:
            f.write("#!/bin/sh\n")
        os.chmod(p("bin/tumblara"), 0o755)
        os.makedirs(p("share/tumblara"))
        for name in self.ci.WAVES:
            self.write_wave(p("share/tumblara", name))
        os.makedirs(p("share/applications"))
        shutil.copy(os.path.join(PACKAGING, self.ci.DESKTOP), p("share/applications"))
        os.makedirs(p("share/metainfo"))
        shutil.copy(os.path.join(PACKAGING, self.ci.METAINFO), p("share/metainfo"))
        subprocess.run([MAKE_ICONS, p("share/icons/hicolor")], check=True)

    def path(self, *parts):
        return os.path.join(self.prefix, *parts)

    @staticmethod
    def write_wave(path):
        data = b"\x00\x00" * 8
        fmt = struct.pack("<HHIIHH", 1, 1, 22050, 44100, 2, 16)
        body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
        with open(path, "wb") as f:
            f.write(b"RIFF" + struct.pack("<I", len(body)) + body)

    def problems(self):
        return self.ci.check_prefix(self.prefix)

    def assertReported(self, fragment):
        found = self.problems()
        self.assertTrue(any(fragment in p for p in found), f"'{fragment}' not in {found}")

    def test_the_real_entry_metainfo_and_icons_pass(self):
        self.assertEqual(self.problems(), [])

    def test_a_missing_executable_is_reported(self):
        os.remove(self.path("bin/tumblara"))
        self.assertReported("bin/tumblara is missing")

    def test_a_wave_that_is_not_riff_is_reported(self):
        with open(self.path("share/tumblara/Bonus1.wav"), "wb") as f:
            f.write(b"ID3\x03" + b"\x00" * 20)
        self.assertReported("Bonus1.wav is not a RIFF/WAVE")

    def test_an_icon_of_the_wrong_size_is_reported(self):
        shutil.copy(self.path("share/icons/hicolor/32x32/apps/tumblara.png"),
                    self.path("share/icons/hicolor/48x48/apps/tumblara.png"))
        self.assertReported("48x48/apps/tumblara.png is not a 48x48 PNG")

    def test_a_missing_icon_size_is_reported(self):
        shutil.rmtree(self.path("share/icons/hicolor/22x22"))
        self.assertReported("22x22/apps/tumblara.png is missing")

    def test_an_invalid_desktop_entry_is_reported(self):
        entry = self.path("share/applications", self.ci.DESKTOP)
        with open(entry, "a") as f:
            f.write("Categories=Game\n")  # a second key of the same name
        self.assertReported("desktop-file-validate")

    def test_invalid_metainfo_is_reported(self):
        info = self.path("share/metainfo", self.ci.METAINFO)
        with open(info) as f:
            text = f.read()
        with open(info, "w") as f:
            f.write(text.replace("<summary>", "<summary>A summary that ends with a dot.").replace(
                "<metadata_license>CC0-1.0</metadata_license>", ""))
        self.assertReported("appstreamcli validate")

    def test_an_entry_starting_another_program_is_reported(self):
        entry = self.path("share/applications", self.ci.DESKTOP)
        with open(entry) as f:
            text = f.read()
        with open(entry, "w") as f:
            f.write(text.replace("Exec=tumblara", "Exec=tumblara-game"))
        self.assertReported("starts 'tumblara-game'")


if __name__ == "__main__":
    PACKAGING, MAKE_ICONS = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
