#!/usr/bin/env python3
"""Times the whole program in a real window under Xvfb (1024x768, no window
manager) on the tests' real-window harness, and prints one table with the
engine's own costs; with --peers, start-up and memory of the falling-block
games Debian ships beside ours. A missed target reads OVER; the status is not 0
only when the program itself fails. CPU is the process's time on a core (all
threads, schedstat) as a share of one core; start-up runs from the exec to the
mapped window and to the first frame (ours: the well's green frame); repaints
and key-to-repaint come from DAMAGE on the window, keys from XTEST. A last
table sets X11 and Wayland (a headless sway) side by side: start-up, peak
memory and libraries.
"""

import argparse, contextlib, ctypes, json, os, socket, statistics, struct, subprocess, sys, time  # noqa: E401

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "tests", "window"))
from desktop import X11, Sway, read_ppm, wait_for  # noqa: E402

MENU = {"Nuova Partita": 0, "Pausa": 1, "Esci": 2}
BANNER_S = 1.3  # measured slice of each two-second level banner
PEERS = {"kblocks": "/usr/games/kblocks", "quadrapassel": "/usr/games/quadrapassel", "ltris": "/usr/games/ltris"}
P, UL, INT = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int


def cpu_ns(pid):
    """Time on a core so far, all threads: the first field of each task's schedstat."""
    total = 0
    for tid in os.listdir(f"/proc/{pid}/task"):
        with contextlib.suppress(OSError):  # a thread that ended meanwhile
            total += int(open(f"/proc/{pid}/task/{tid}/schedstat").read().split()[0])
    return total


def cpu_share(pid, seconds):
    before = cpu_ns(pid)
    time.sleep(seconds)
    return (cpu_ns(pid) - before) / (seconds * 1e9)


def status_field(pid, name):
    return next(int(line.split()[1]) for line in open(f"/proc/{pid}/status") if line.startswith(name + ":"))


def shared_libraries(pid):
    return len({w[-1] for w in map(str.split, open(f"/proc/{pid}/maps")) if len(w) >= 6 and ".so" in w[-1]})


class XClient:
    """Screen grabs, XTEST keys and DAMAGE reports over one Xlib connection."""

    def __init__(self, display):
        self.x, self.tst, dmg = (ctypes.CDLL(f"lib{n}.so.{v}") for n, v in (("X11", 6), ("Xtst", 6), ("Xdamage", 1)))
        self.x.XOpenDisplay.restype, self.x.XOpenDisplay.argtypes = P, (ctypes.c_char_p,)
        self.d = self.x.XOpenDisplay(display.encode())
        for f, args, res in (("XDefaultRootWindow", (P,), UL), ("XGetImage", (P, UL, INT, INT, ctypes.c_uint,
                             ctypes.c_uint, UL, INT), ctypes.POINTER(ctypes.c_byte * 48)), ("XDestroyImage", (P,), INT),
                             ("XStringToKeysym", (ctypes.c_char_p,), UL), ("XKeysymToKeycode", (P, UL), ctypes.c_ubyte),
                             ("XPending", (P,), INT), ("XNextEvent", (P, P), INT), ("XFlush", (P,), INT)):
            getattr(self.x, f).argtypes, getattr(self.x, f).restype = args, res
        self.tst.XTestFakeKeyEvent.argtypes = (P, ctypes.c_uint, INT, UL)
        dmg.XDamageQueryExtension.argtypes = (P, ctypes.POINTER(INT), ctypes.POINTER(INT))
        dmg.XDamageCreate.argtypes, dmg.XDamageCreate.restype = (P, UL, INT), UL
        self.dmg, self.root, self.event = dmg, self.x.XDefaultRootWindow(self.d), (ctypes.c_long * 24)()

    def grab(self, x, y, w, h):
        """The pixels of a rectangle of the screen, four bytes each."""
        image = self.x.XGetImage(self.d, self.root, x, y, w, h, 0xFFFFFFFF, 2)  # ZPixmap
        raw = bytes(image.contents)
        data, stride = int.from_bytes(raw[16:24], "little"), int.from_bytes(raw[44:48], "little")
        pixels = ctypes.string_at(data, stride * h)
        self.x.XDestroyImage(ctypes.cast(image, P))
        return pixels

    def watch(self, window):
        base, error = INT(), INT()
        self.dmg.XDamageQueryExtension(self.d, ctypes.byref(base), ctypes.byref(error))
        self.notify = base.value  # XDamageNotify
        self.dmg.XDamageCreate(self.d, window, 0)  # every rectangle, as drawn
        self.x.XFlush(self.d)

    def repaints(self, seconds, until_first=False):
        """(time, pixels) of each rectangle the window repaints within `seconds`."""
        found, end = [], time.monotonic() + seconds
        while time.monotonic() < end and not (until_first and found):
            while self.x.XPending(self.d):
                self.x.XNextEvent(self.d, self.event)
                if self.event[0] & 0xFFFFFFFF == self.notify:  # the area's width and height at byte 68
                    found.append((time.monotonic(), (self.event[8] >> 32 & 0xFFFF) * (self.event[8] >> 48 & 0xFFFF)))
            time.sleep(0.0002)
        return found

    def key(self, name, down):
        code = self.x.XKeysymToKeycode(self.d, self.x.XStringToKeysym(name.encode()))
        self.tst.XTestFakeKeyEvent(self.d, code, int(down), 0)
        self.x.XFlush(self.d)


def windows(x, proc):
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(proc.pid)], env=x.env,
                          capture_output=True, text=True).stdout.split()


class NotMeasured(Exception):
    """A peer that shows no window: why, in a few words and its last line of output."""


def start(x, xc, cmd, ours):
    """The program started, with the seconds to its mapped window and to its first frame."""
    t0, said_from = time.monotonic(), os.fstat(x.log.fileno()).st_size
    proc = x.start(cmd)

    def mapped_at():
        if ours or proc.poll() is None:
            return windows(x, proc) and time.monotonic()
        with open(x.log.name, "rb") as log:
            said = [line.strip() for line in log.read()[said_from:].decode(errors="replace").splitlines()
                    if line.strip()]
        raise NotMeasured(f"it ended with status {proc.returncode} before showing a window"
                          + (f": {said[-1]}" if said else ""))
    try:
        mapped = wait_for(mapped_at, f"a window of {cmd}", 60) - t0
    except AssertionError:
        if ours:
            raise
        proc.kill()
        proc.wait()
        raise NotMeasured("it showed no window within 60 s") from None
    drawn = (lambda: xc.grab(19, 0, 1, 674).count(b"\0\xff\0") >= 674) if ours else \
        (lambda: xc.grab(0, 0, 1024, 768).strip(b"\0"))
    frame = wait_for(lambda: drawn() and time.monotonic(), f"a first frame of {cmd}", 60) - t0
    return proc, mapped, frame


def startup_runs(x, xc, cmd, ours, runs, settle):
    """Median mapping and first-frame times; VmHWM, threads and libraries after `settle`."""
    mapped, frames, hwm = [], [], []
    for _ in range(runs):
        proc, m, f = start(x, xc, cmd, ours)
        time.sleep(settle)
        mapped.append(m)
        frames.append(f)
        hwm.append(status_field(proc.pid, "VmHWM") / 1024)
        threads, libs = status_field(proc.pid, "Threads"), shared_libraries(proc.pid)
        proc.kill()
        proc.wait()
    return {"mapped_s": statistics.median(mapped), "frame_s": statistics.median(frames),
            "hwm_mib": statistics.median(hwm), "threads": threads, "libs": libs}


def session(x, xc, cmd, seconds):
    """One run through the waits and play; the figures by name."""
    r = {}
    proc, _, _ = start(x, xc, cmd, True)
    xc.watch(int(windows(x, proc)[0]))
    time.sleep(1.0)
    r["cpu_game_over"] = cpu_share(proc.pid, seconds)
    shares = []
    while len(shares) * BANNER_S < seconds:  # each new game shows its banner for about two seconds
        x.menu(MENU["Nuova Partita"])
        time.sleep(0.15)
        shares.append(cpu_share(proc.pid, BANNER_S))
    r["cpu_banner"] = statistics.mean(shares)
    time.sleep(2.5)  # the last banner ends and the first piece falls
    r["cpu_play_300"] = cpu_share(proc.pid, seconds)

    # Repaints in play, grouped into steps: rectangles less than 30 ms apart.
    xc.repaints(0.1)
    steps = []
    for t, px in xc.repaints(3.0):
        if steps and t - steps[-1][0] < 0.03:
            steps[-1][1] += px
        else:
            steps.append([t, px])
    r["steps"] = [px for _, px in steps]
    r["gap_ms"] = statistics.median(b[0] - a[0] for a, b in zip(steps, steps[1:])) * 1000 if len(steps) > 1 else 0

    # Key-down to the first repaint, Left and Right in turn. A gravity step
    # that comes first only shortens one delay: the maximum stays honest.
    delays = []
    for i in range(20):
        xc.repaints(0.15)
        name, t0 = ("Left", "Right")[i % 2], time.monotonic()
        xc.key(name, True)
        first = xc.repaints(1.0, until_first=True)
        xc.key(name, False)
        delays.append(((first[0][0] if first else time.monotonic()) - t0) * 1000)
    r["keys_ms"] = delays

    x.menu(MENU["Pausa"])
    time.sleep(0.5)
    r["cpu_pause"] = cpu_share(proc.pid, seconds)
    x.menu(MENU["Pausa"])  # now "Continua"
    x.menu(MENU["Nuova Partita"])  # fast drops: each Down drops the falling piece at 20 ms a row
    time.sleep(2.5)
    before, t0 = cpu_ns(proc.pid), time.monotonic()
    while time.monotonic() - t0 < min(seconds, 8.0):
        x.key("Down")
        time.sleep(0.75)
    r["cpu_fast_drop"] = (cpu_ns(proc.pid) - before) / ((time.monotonic() - t0) * 1e9)
    r["hwm_session_mib"] = status_field(proc.pid, "VmHWM") / 1024
    x.menu(MENU["Esci"])
    try:
        r["exit_on_esci"] = proc.wait(5) == 0
    except subprocess.TimeoutExpired:
        r["exit_on_esci"] = False
    return r


def engine_rows(engine_bench, min_time):
    """Every benchmark of engine_bench; a step of the game must take less than a frame."""
    out = subprocess.run([engine_bench, "--benchmark_format=json", f"--benchmark_min_time={min_time}"],
                         capture_output=True, text=True, check=True).stdout
    rows = []
    for b in json.loads(out)["benchmarks"]:
        seconds = b["cpu_time"] * {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
        whole = "pieces" in b
        label = f"engine: {b['name']}" + (f" ({b['pieces']:.0f} pieces, {b.get('levels', 0):.0f} levels)" if whole else "")
        failed = b.get("error_occurred")
        rows.append((label, "FAILED: " + b.get("error_message", "") if failed else fmt_time(seconds),
                     "-" if whole else "< 16 ms", verdict(not failed and (whole or seconds < 0.016))))
    return rows


def fmt_time(s):
    for unit, scale in (("ns", 1e-9), ("µs", 1e-6), ("ms", 1e-3)):
        if s < scale * 1000:
            return f"{s / scale:.{0 if unit == 'ns' else 2 if unit == 'µs' else 1}f} {unit}"
    return f"{s:.3f} s"


def verdict(ok):
    return "ok" if ok else "OVER"


def print_table(rows):
    widths = [max(len(str(r[i])) for r in rows) for i in range(len(rows[0]))]
    for n, r in enumerate(rows):
        print("| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |")
        if n == 0:
            print("|" + "|".join("-" * (w + 2) for w in widths) + "|")


def game_rows(start, s):
    rows = [("start-up to window mapped (median)", fmt_time(start["mapped_s"]), "< 0.16 s",
             verdict(start["mapped_s"] < 0.16)),
            ("start-up to first frame (median, polled)", fmt_time(start["frame_s"]), "< 0.16 s",
             verdict(start["frame_s"] < 0.16)),
            ("peak memory after start-up (VmHWM)", f"{start['hwm_mib']:.1f} MiB", "< 35 MiB",
             verdict(start["hwm_mib"] < 35)),
            ("peak memory over the session", f"{s['hwm_session_mib']:.1f} MiB", "< 35 MiB",
             verdict(s["hwm_session_mib"] < 35)),
            ("threads / shared libraries", f"{start['threads']} / {start['libs']}", "-", "")]
    for key, label, limit in (("cpu_game_over", "CPU, waiting for the first game", 0.005),
                              ("cpu_pause", "CPU, paused", 0.005),
                              ("cpu_banner", "CPU, level banner", 0.005),
                              ("cpu_play_300", "CPU, play at level 0 (300 ms), no keys", 0.01),
                              ("cpu_fast_drop", "CPU, fast drops (20 ms)", None)):
        rows.append((label, f"{s[key] * 100:.2f}%", f"< {limit * 100:g}%" if limit else "-",
                     verdict(s[key] < limit) if limit else ""))
    keys = s["keys_ms"]
    rows.append((f"key-down to repaint ({len(keys)} keys), median / max",
                 f"{statistics.median(keys):.2f} / {max(keys):.2f} ms", "< 16 ms", verdict(max(keys) < 16)))
    rows.append(("gravity step seen on screen (median gap between repaints)", f"{s['gap_ms']:.0f} ms", "300 ms", ""))
    steps, window = s["steps"] or [0], 1024 * 768
    rows.append((f"area repainted per step in play ({len(s['steps'])} steps), mean / max",
                 f"{statistics.mean(steps):.0f} / {max(steps)} px ({100 * max(steps) / window:.2f}% of the window)",
                 "only what changed", verdict(max(steps) < window / 20)))
    rows.append(("\"Esci\" ends the program with 0", "yes" if s["exit_on_esci"] else "no", "yes",
                 verdict(s["exit_on_esci"])))
    return rows


def web_rows(site):
    """The browser build's rows, measured in Debian's Chromium from Debian's own
    Python (bench/measure_web.py), when `make web` has built the site."""
    if not os.path.isdir(site):
        return [("web: the browser build", f"not built ({site}): make web", "-", "")]
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "measure_web.py")
    out = subprocess.run(["/usr/bin/python3", script, "--json", site], capture_output=True, text=True, check=True)
    return [tuple(row) for row in json.loads(out.stdout)]


def peer_rows(results):
    ours = results["tumblara"]
    rows = [("program", "start-up: mapped / first frame", "peak memory", "threads / libraries", "tumblara's share")]
    for name, r in results.items():
        if isinstance(r, str):
            rows.append((name, "not measured: " + r, "", "", ""))
            continue
        ratio = "-" if name == "tumblara" else \
            f"{ours['frame_s'] / r['frame_s']:.2f}x time, {ours['hwm_mib'] / r['hwm_mib']:.2f}x memory"
        rows.append((name, f"{fmt_time(r['mapped_s'])} / {fmt_time(r['frame_s'])}", f"{r['hwm_mib']:.1f} MiB",
                     f"{r['threads']} / {r['libs']}", ratio))
    return rows


# X11 and Wayland side by side: a private Xvfb and a headless sway up at once,
# the start-ups taken in turn. Wayland twice: as the program starts, and with
# the decoration setting it makes left to Qt (a value in the environment is
# kept, so "0" undoes it), where Qt 6.4 loads Mesa's EGL driver and LLVM.
LEFT_TO_QT = {"QT_WAYLAND_DISABLE_WINDOWDECORATION": "0"}


class SwayViews:
    """Sway's IPC socket, subscribed to window events."""

    def __init__(self, sway):
        self.ipc = socket.socket(socket.AF_UNIX)
        self.ipc.connect(sway.env["SWAYSOCK"])
        self.ipc.settimeout(60)
        payload = b'["window"]'
        self.ipc.sendall(b"i3-ipc" + struct.pack("<II", len(payload), 2) + payload)  # SUBSCRIBE
        self.receive()

    def receive(self):
        size = struct.unpack("<I", self.exactly(14)[6:10])[0]  # "i3-ipc", length, type
        return json.loads(self.exactly(size))

    def exactly(self, n):
        data = b""
        while len(data) < n:
            chunk = self.ipc.recv(n - len(data))
            assert chunk, "sway closed its IPC socket"
            data += chunk
        return data

    def mapped(self, pid):
        """When the program's view is mapped: sway maps a view on its first frame."""
        while not ((e := self.receive()).get("change") == "new" and e["container"].get("pid") == pid):
            pass
        return time.monotonic()


def visible_x11(x, xc, game):
    """The program started; seconds to the well's green frame, polled every 2 ms, as drawn and as shown: with
    no compositor they are one."""
    t0 = time.monotonic()
    proc = x.start(game)
    while xc.grab(19, 0, 1, 674).count(b"\0\xff\0") < 674:
        assert time.monotonic() - t0 < 60, "no first frame on X11"
        time.sleep(0.002)
    drawn = time.monotonic() - t0
    return proc, drawn, drawn


def visible_wayland(sway, views, game, env):
    """The program started; seconds to its first frame handed to sway (the view mapped) and to the well's green
    frame on the screen (grim, some 20 ms a look)."""
    t0 = time.monotonic()
    proc = sway.start(game, **env)
    mapped = views.mapped(proc.pid) - t0
    shown = wait_for(lambda: read_ppm(sway.run("grim", "-g", "19,0 1x674", "-t", "ppm", "-")).count(
        0, 0, 1, 674, 0x00FF00) == 674 and time.monotonic(), "the well on the screen", 60) - t0
    return proc, mapped, shown


def side_by_side(game, runs, settle=1.0):
    """Medians of start-up, VmHWM and libraries after `settle`: X11, Wayland, Wayland with decorations left to Qt."""
    found = {k: {"frame_s": [], "shown_s": [], "hwm_mib": [], "libs": []} for k in ("x11", "wayland", "left_to_qt")}
    with X11() as x, Sway() as sway:
        xc, views = XClient(x.env["DISPLAY"]), SwayViews(sway)
        starts = {"x11": lambda: visible_x11(x, xc, game),
                  "wayland": lambda: visible_wayland(sway, views, game, {}),
                  "left_to_qt": lambda: visible_wayland(sway, views, game, LEFT_TO_QT)}
        for _ in range(runs):
            for key, start in starts.items():
                proc, frame, shown = start()
                time.sleep(settle)
                for name, value in (("frame_s", frame), ("shown_s", shown), ("libs", shared_libraries(proc.pid)),
                                    ("hwm_mib", status_field(proc.pid, "VmHWM") / 1024)):
                    found[key][name].append(value)
                proc.kill()
                proc.wait()
    return {k: {m: statistics.median(v) for m, v in r.items()} for k, r in found.items()}


def side_by_side_rows(r):
    x11, way, qt = r["x11"], r["wayland"], r["left_to_qt"]
    mib = lambda v: f"{v:.1f} MiB"  # noqa: E731
    rows = [("X11 and Wayland side by side (median)", "X11", "Wayland", "Wayland, decorations left to Qt",
             "target for Wayland", "")]
    for label, key, show, limit, target in (
            ("start-up to the first frame handed over (Wayland: sway maps the view)", "frame_s", fmt_time,
             x11["frame_s"] * 1.1, "X11 + 10%"),
            ("start-up to the well on the screen (Wayland: grim, ~20 ms a look)", "shown_s", fmt_time,
             x11["shown_s"] * 1.1, "X11 + 10%"),
            ("peak memory after start-up (VmHWM)", "hwm_mib", mib, x11["hwm_mib"] + 2, "X11 + 2 MiB"),
            ("shared libraries mapped", "libs", lambda v: f"{v:.0f}", x11["libs"] * 1.1, "X11 + 10%")):
        rows.append((label, show(x11[key]), show(way[key]), show(qt[key]), f"<= {target}",
                     verdict(way[key] <= limit)))
    return rows


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", required=True, help="a build made with -DTUMBLARA_BENCH=ON")
    ap.add_argument("--peers", action="store_true")
    ap.add_argument("--engine-only", action="store_true", help="only the engine benchmarks, briefly")
    ap.add_argument("--runs", type=int, default=5, help="start-ups per program")
    ap.add_argument("--seconds", type=float, default=12.0, help="length of each CPU span")
    ap.add_argument("--web", default="build-web", help="the site that make web builds")
    args = ap.parse_args()
    header = [("measure", "value", "target", "")]
    engine_bench = os.path.join(args.build, "bench", "engine_bench")
    if args.engine_only:
        print_table(header + engine_rows(engine_bench, 0.05))
        return 0
    game = os.path.join(args.build, "tumblara")
    peers = {name: path for name, path in PEERS.items() if os.access(path, os.X_OK)}
    missing = sorted(set(PEERS) - set(peers))
    with X11() as x:
        xc = XClient(x.env["DISPLAY"])
        x.env["DBUS_SESSION_BUS_ADDRESS"] = "disabled:"  # some peers wait for a session bus otherwise
        ours = startup_runs(x, xc, game, True, args.runs, 1.0 if not args.peers else 2.0)
        results = {"tumblara": ours}
        for name, path in peers.items():
            try:
                results[name] = startup_runs(x, xc, path, False, args.runs, 2.0)
            except NotMeasured as why:
                results[name] = str(why)
        if args.peers:
            print_table(peer_rows(results))
            return 0
        s = session(x, xc, game, args.seconds)
    print(f"{os.cpu_count()} cores, load average {os.getloadavg()[0]:.2f} at the end; Xvfb 1024x768, no window manager")
    print_table(header + engine_rows(engine_bench, 0.3) + game_rows(ours, s) + web_rows(args.web))
    if peers:
        print()
        print_table(peer_rows(results))
    print()
    print_table(side_by_side_rows(side_by_side(game, args.runs)))
    if missing:
        print(f"Not installed here: {', '.join(missing)}; `make bench-peers` installs and measures them.")
    return 0 if s["exit_on_esci"] else 1


if __name__ == "__main__":
    sys.exit(main())
