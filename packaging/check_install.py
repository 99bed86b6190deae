#!/usr/bin/env python3
"""Installs a build into a fresh prefix and checks what a desktop expects there.

usage: check_install.py BUILD_DIR

The executable in bin/, the wave files in share/tumblara/, the desktop entry,
the metainfo and the icon in every hicolor size; the desktop entry and the
metainfo must pass their validators. Then the installed program is started
under Xvfb and a new game begun: the level sound must be read from
share/tumblara/. Prints one line per problem and exits 1 when there is any.
"""

import configparser
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
WAVES = ("Impact02.wav", "Bonus1.wav", "Bonus2.wav")
DESKTOP = "tumblara.desktop"
METAINFO = "io.github.tumblara.tumblara.metainfo.xml"


def png_size(path):
    """Width and height from a PNG's header, or None when it is not a PNG."""
    with open(path, "rb") as f:
        head = f.read(24)
    if len(head) < 24 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def is_wave(path):
    with open(path, "rb") as f:
        head = f.read(12)
    return len(head) == 12 and head[:4] == b"RIFF" and head[8:12] == b"WAVE"


def run(cmd):
    """Runs a validator; returns its output when it fails, else None."""
    r = subprocess.run(cmd, capture_output=True, text=True)
    return None if r.returncode == 0 else (r.stdout + r.stderr).strip()


def check_prefix(prefix):
    problems = []
    share = os.path.join(prefix, "share")

    exe = os.path.join(prefix, "bin", "tumblara")
    if not (os.path.isfile(exe) and os.access(exe, os.X_OK)):
        problems.append("bin/tumblara is missing or not executable")

    for name in WAVES:
        path = os.path.join(share, "tumblara", name)
        if not os.path.isfile(path):
            problems.append(f"share/tumblara/{name} is missing")
        elif not is_wave(path):
            problems.append(f"share/tumblara/{name} is not a RIFF/WAVE file")

    desktop = os.path.join(share, "applications", DESKTOP)
    icon_name = None
    if not os.path.isfile(desktop):
        problems.append(f"share/applications/{DESKTOP} is missing")
    else:
        out = run(["desktop-file-validate", desktop])
        if out is not None:
            problems.append(f"desktop-file-validate: {out}")
        entry = configparser.ConfigParser(interpolation=None, strict=False)
        entry.optionxform = str
        entry.read(desktop, encoding="utf-8")
        section = entry["Desktop Entry"] if entry.has_section("Desktop Entry") else {}
        exec_name = section.get("Exec", "").split(" ")[0]
        if not os.path.isfile(os.path.join(prefix, "bin", exec_name)):
            problems.append(f"the desktop entry starts '{exec_name}', which is not in bin/")
        icon_name = section.get("Icon")
        if "BlocksGame" not in section.get("Categories", "").split(";"):
            problems.append("the desktop entry is not in the BlocksGame category")

    for size in ICON_SIZES:
        rel = f"icons/hicolor/{size}x{size}/apps/{icon_name or 'tumblara'}.png"
        path = os.path.join(share, rel)
        if not os.path.isfile(path):
            problems.append(f"share/{rel} is missing")
        elif png_size(path) != (size, size):
            problems.append(f"share/{rel} is not a {size}x{size} PNG: {png_size(path)}")

    metainfo = os.path.join(share, "metainfo", METAINFO)
    if not os.path.isfile(metainfo):
        problems.append(f"share/metainfo/{METAINFO} is missing")
    else:
        out = run(["appstreamcli", "validate", "--no-net", metainfo])
        if out is not None:
            problems.append(f"appstreamcli validate: {out}")
        root = ET.parse(metainfo).getroot()
        if root.findtext("launchable") != DESKTOP:
            problems.append(f"the metainfo does not launch {DESKTOP}")
        if root.findtext("provides/binary") != "tumblara":
            problems.append("the metainfo does not provide the binary tumblara")
    return problems


def opened_files(strace_log):
    """Paths the traced program opened successfully."""
    found = set()
    pattern = re.compile(r'open(?:at)?\((?:[^,]+, )?"([^"]+)",.*\) = (\d+)')
    with open(strace_log, errors="replace") as f:
        for line in f:
            m = pattern.search(line)
            if m:
                found.add(os.path.normpath(m.group(1)))
    return found


def children(pid):
    try:
        with open(f"/proc/{pid}/task/{pid}/children") as f:
            return [int(c) for c in f.read().split()]
    except FileNotFoundError:
        return []


def check_finds_waves(prefix):
    """Starts the installed program, begins a game and watches which level sound it reads."""
    exe = os.path.join(prefix, "bin", "tumblara")
    if not os.access(exe, os.X_OK):
        return []  # already reported
    work = tempfile.mkdtemp(prefix="tumblara-run-")
    r, w = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(w)
    with os.fdopen(r) as f:
        env = dict(os.environ, DISPLAY=":" + f.readline().strip(), QT_QPA_PLATFORM="xcb")
    log = os.path.join(work, "strace.log")
    # Started from another folder, so that nothing is found by accident.
    game = subprocess.Popen(["strace", "-f", "-qq", "-e", "trace=open,openat", "-o", log, exe],
                            cwd=work, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 20
        while subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "tumblara"], env=env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode != 0:
            if time.monotonic() > deadline or game.poll() is not None:
                return ["the installed program showed no window"]
            time.sleep(0.2)
        # "Nuova Partita", the top menu label at the right edge of a 1024-pixel screen.
        subprocess.run(["xdotool", "mousemove", "924", "17"], env=env, check=True)
        time.sleep(0.2)
        subprocess.run(["xdotool", "click", "1"], env=env, check=True)
        time.sleep(1.5)
    finally:
        # A signal to strace would only detach it; end the traced program itself.
        for pid in children(game.pid):
            os.kill(pid, signal.SIGTERM)
        try:
            game.wait(10)
        except subprocess.TimeoutExpired:
            game.kill()
            game.wait()
        xvfb.terminate()
        xvfb.wait(10)
    wanted = os.path.normpath(os.path.join(prefix, "share", "tumblara", "Bonus2.wav"))
    opened = opened_files(log)
    shutil.rmtree(work, ignore_errors=True)
    if wanted not in opened:
        return ["the installed program did not read share/tumblara/Bonus2.wav when a game began"]
    return []


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    prefix = tempfile.mkdtemp(prefix="tumblara-install-")
    try:
        r = subprocess.run(["cmake", "--install", argv[1], "--prefix", prefix],
                           capture_output=True, text=True)
        if r.returncode != 0:
            print("cmake --install failed:\n" + r.stdout + r.stderr)
            return 1
        problems = check_prefix(prefix)
        problems += check_finds_waves(prefix)
    finally:
        shutil.rmtree(prefix, ignore_errors=True)
    for p in problems:
        print("packaging: " + p)
    if not problems:
        print("packaging: install layout, desktop entry, metainfo and icons are in order")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
