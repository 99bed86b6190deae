#!/usr/bin/env python3
"""Times the whole program in a real window under Xvfb (1024x768, no window
manager) and prints one table, the engine's own costs included.

  measure_program.py --build BUILD_DIR            the game, then the falling-
                                                  block games in Debian beside
                                                  it when they are installed
  measure_program.py --build BUILD_DIR --peers    start-up and memory of the
                                                  game and of those games only,
                                                  with ratios

CPU is the process's time on a core (all its threads, from schedstat) over a
span, as a share of one core. Start-up runs from the exec to the window's
mapping and to its first frame (for the game: the well's green frame).
Play at level 5 is reached by playing the window with xplayer, which reads the
well off the screen and presses the keys.
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import time

SCREEN = (1024, 768)
# Menu labels at a 1024-pixel screen: 200 x 35 at the right edge, 60 apart.
MENU = {"Nuova Partita": 0, "Pausa": 1, "Esci": 2, "Opzioni": 3, "Info": 4}
BANNER_S = 1.3          # measured slice of each two-second level banner
PEERS = {
    "kblocks": ["/usr/games/kblocks"],
    "quadrapassel": ["/usr/games/quadrapassel"],
    "ltris": ["/usr/games/ltris"],
}


def menu_point(caption):
    i = MENU[caption]
    return SCREEN[0] - 100, 60 * i + 17


# ---------------------------------------------------------------- /proc


def cpu_ns(pid):
    """Time on a core so far, all threads: the first field of each task's schedstat."""
    total = 0
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass  # a thread that ended meanwhile
    return total


def status_field(pid, name):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(name + ":"):
                return int(line.split()[1])
    raise KeyError(name)


def shared_libraries(pid):
    libs = set()
    with open(f"/proc/{pid}/maps") as f:
        for line in f:
            path = line.split()[-1] if len(line.split()) >= 6 else ""
            if ".so" in os.path.basename(path):
                libs.add(path)
    return len(libs)


def cpu_share(pid, seconds):
    before = cpu_ns(pid)
    time.sleep(seconds)
    return (cpu_ns(pid) - before) / (seconds * 1e9)


# ---------------------------------------------------------------- X


class Xvfb:
    """A private X server for one measurement run."""

    def __enter__(self):
        r, w = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=":" + number, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        # A session bus, as every desktop has; some of the peers end without one.
        self.bus = None
        if shutil.which("dbus-daemon"):
            self.bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            self.env["DBUS_SESSION_BUS_ADDRESS"] = self.bus.stdout.readline().strip()
        return self

    def __exit__(self, *exc):
        if self.bus:
            self.bus.terminate()
            self.bus.wait(10)
        self.proc.terminate()
        self.proc.wait(10)


def parse_pairs(line):
    if line.startswith("error="):
        return {"error": line[len("error="):].strip()}
    return dict(kv.split("=", 1) for kv in line.split() if "=" in kv)


class Started:
    """A program started under the probe, with its start-up times in seconds."""

    def __init__(self, x, probe, cmd, green):
        watcher = subprocess.Popen([probe, "startup"] + (["--green"] if green else []),
                                   stdout=subprocess.PIPE, text=True, env=x.env)
        if watcher.stdout.readline().strip() != "ready":
            raise RuntimeError("xprobe did not start")
        t0 = time.monotonic_ns()
        self.proc = subprocess.Popen(cmd, env=x.env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        out = parse_pairs(watcher.stdout.readline())
        watcher.wait(10)
        if "error" in out:
            self.stop()
            raise RuntimeError(f"{cmd[0]}: {out['error']}")
        self.pid = self.proc.pid
        self.window = out["window"]
        self.mapped_s = (int(out["mapped_ns"]) - t0) / 1e9
        self.frame_s = (int(out["frame_ns"]) - t0) / 1e9

    def alive(self):
        return self.proc.poll() is None

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


def xdotool(x, *args):
    subprocess.run(["xdotool", *args], env=x.env, check=True)


def click(x, caption):
    px, py = menu_point(caption)
    # The label lights up on the move and takes the click.
    xdotool(x, "mousemove", str(px), str(py))
    time.sleep(0.05)
    xdotool(x, "click", "1")


def probe_pairs(x, tool, *args, timeout=120):
    r = subprocess.run([tool, *args], capture_output=True, text=True, env=x.env, timeout=timeout)
    out = parse_pairs(r.stdout)
    if "error" in out or r.returncode != 0:
        raise RuntimeError(f"{os.path.basename(tool)} {args[0]}: {out.get('error', r.stderr.strip())}")
    return out


# ---------------------------------------------------------------- measurements


def startup_runs(x, probe, cmd, green, runs, settle):
    """Median mapping and first-frame times; VmHWM, threads and libraries after `settle`."""
    mapped, frames, hwm = [], [], []
    threads = libs = 0
    for _ in range(runs):
        p = Started(x, probe, cmd, green)
        try:
            time.sleep(settle)
            mapped.append(p.mapped_s)
            frames.append(p.frame_s)
            hwm.append(status_field(p.pid, "VmHWM") / 1024)
            threads = status_field(p.pid, "Threads")
            libs = shared_libraries(p.pid)
        finally:
            p.stop()
    return {"mapped_s": statistics.median(mapped), "frame_s": statistics.median(frames),
            "hwm_mib": statistics.median(hwm), "threads": threads, "libs": libs}


def session(x, probe, player, cmd, seconds):
    """One run through the wait states and play; returns the figures by name."""
    r = {}
    p = Started(x, probe, cmd, green=True)
    try:
        time.sleep(1.0)
        r["cpu_game_over"] = cpu_share(p.pid, seconds)

        # Each new game shows its level banner for about two seconds.
        shares = []
        while len(shares) * BANNER_S < seconds:
            click(x, "Nuova Partita")
            time.sleep(0.15)
            shares.append(cpu_share(p.pid, BANNER_S))
        r["cpu_banner"] = statistics.mean(shares)

        time.sleep(2.5)  # the last banner ends and the first piece falls
        r["cpu_play_300"] = cpu_share(p.pid, seconds)
        r.update({"keys_" + k: v for k, v in probe_pairs(x, probe, "keys", p.window, "20").items()})
        r.update({"paint_" + k: v for k, v in probe_pairs(x, probe, "repaints", p.window, "3").items()})

        click(x, "Pausa")
        time.sleep(0.5)
        r["cpu_pause"] = cpu_share(p.pid, seconds)
        click(x, "Pausa")  # the same label now reads "Continua"

        # Fast drops: each Down press drops the falling piece at 20 ms a row.
        click(x, "Nuova Partita")
        time.sleep(2.5)
        before, start = cpu_ns(p.pid), time.monotonic()
        while time.monotonic() - start < min(seconds, 8.0):
            xdotool(x, "key", "Down")
            time.sleep(0.75)
        r["cpu_fast_drop"] = (cpu_ns(p.pid) - before) / ((time.monotonic() - start) * 1e9)

        if player:
            # Play up to level 5 (50 ms a row), then let the pieces fall untouched.
            click(x, "Nuova Partita")
            r.update({"bot_" + k: v for k, v in probe_pairs(x, player, p.window, "5", "500", timeout=600).items()})
            time.sleep(2.5)  # the level's banner
            r["cpu_play_50"] = cpu_share(p.pid, seconds)
            r.update({"paint50_" + k: v for k, v in probe_pairs(x, probe, "repaints", p.window, "2").items()})

        r["hwm_session_mib"] = status_field(p.pid, "VmHWM") / 1024
        click(x, "Esci")
        try:
            p.proc.wait(5)
            r["exit_on_esci"] = True
        except subprocess.TimeoutExpired:
            r["exit_on_esci"] = False
    finally:
        p.stop()
    return r


def engine_figures(engine_bench, min_time):
    out = subprocess.run([engine_bench, "--benchmark_format=json", f"--benchmark_min_time={min_time}"],
                         capture_output=True, text=True, check=True).stdout
    rows = {}
    for b in json.loads(out)["benchmarks"]:
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
        rows[b["name"]] = {"seconds": b["cpu_time"] * scale,
                           "error": b.get("error_message") if b.get("error_occurred") else None,
                           "pieces": b.get("pieces"), "levels": b.get("levels")}
    return rows


# ---------------------------------------------------------------- table


def fmt_time(s):
    if s < 1e-6:
        return f"{s * 1e9:.0f} ns"
    if s < 1e-3:
        return f"{s * 1e6:.2f} µs"
    if s < 1:
        return f"{s * 1e3:.1f} ms"
    return f"{s:.3f} s"


def verdict(ok):
    return "ok" if ok else "OVER"


def print_table(rows):
    widths = [max(len(str(r[i])) for r in rows) for i in range(len(rows[0]))]
    for n, r in enumerate(rows):
        print("| " + " | ".join(str(c).ljust(w) for c, w in zip(r, widths)) + " |")
        if n == 0:
            print("|" + "|".join("-" * (w + 2) for w in widths) + "|")


def engine_rows(engine):
    rows = []
    names = {"BM_GravityTick": "engine: gravity tick (a step down)",
             "BM_LandingRemovesFourRows": "engine: landing that removes four rows",
             "BM_TurnAndShift": "engine: a turn and a shift",
             "BM_WholeGame": "engine: whole game"}
    for key, label in names.items():
        e = engine.get(key)
        if e:
            if e["pieces"]:
                label += f" ({e['pieces']:.0f} pieces, {e['levels']:.0f} levels)"
            value = "FAILED: " + e["error"] if e["error"] else fmt_time(e["seconds"])
            ok = not e["error"] and (key == "BM_WholeGame" or e["seconds"] < 0.016)
            rows.append((label, value, "< 16 ms" if key != "BM_WholeGame" else "-", verdict(ok)))
    return rows


def game_rows(start, sess):
    rows = [
        ("start-up to window mapped (median)", fmt_time(start["mapped_s"]), "< 0.16 s",
         verdict(start["mapped_s"] < 0.16)),
        ("start-up to first frame (median)", fmt_time(start["frame_s"]), "< 0.16 s",
         verdict(start["frame_s"] < 0.16)),
        ("peak memory after start-up (VmHWM)", f"{start['hwm_mib']:.1f} MiB", "< 35 MiB",
         verdict(start["hwm_mib"] < 35)),
        ("peak memory over the session", f"{sess['hwm_session_mib']:.1f} MiB", "< 35 MiB",
         verdict(sess["hwm_session_mib"] < 35)),
        ("threads / shared libraries", f"{start['threads']} / {start['libs']}", "-", ""),
    ]
    for key, label, limit in [("cpu_game_over", "CPU, game over (waiting)", 0.005),
                              ("cpu_pause", "CPU, paused", 0.005),
                              ("cpu_banner", "CPU, level banner", 0.005),
                              ("cpu_play_300", "CPU, play at level 0 (300 ms), no keys", 0.01),
                              ("cpu_play_50", "CPU, play at level 5 (50 ms), no keys", None),
                              ("cpu_fast_drop", "CPU, fast drops (20 ms)", None)]:
        if key not in sess:
            continue
        v = sess[key]
        rows.append((label, f"{v * 100:.2f}%", f"< {limit * 100:g}%" if limit else "-",
                     verdict(v < limit) if limit else ""))
    med, worst = float(sess["keys_median_ms"]), float(sess["keys_max_ms"])
    rows.append((f"key-down to repaint ({sess['keys_keys']} keys), median / max",
                 f"{med:.2f} / {worst:.2f} ms", "< 16 ms", verdict(worst < 16)))
    gaps = f"{float(sess['paint_median_gap_ms']):.0f} ms at level 0"
    if "paint50_median_gap_ms" in sess:
        gaps += f", {float(sess['paint50_median_gap_ms']):.0f} ms at level 5"
        rows.append(("level 5 reached by playing the window", f"{sess['bot_pieces']} pieces, "
                     f"{sess['bot_rows']} rows, {float(sess['bot_seconds']):.0f} s", "-", ""))
    rows.append(("gravity step seen on screen (median gap between repaints)", gaps, "300 / 50 ms", ""))
    mean_px, max_px, win_px = (int(sess["paint_mean_px"]), int(sess["paint_max_px"]),
                               int(sess["paint_window_px"]))
    rows.append((f"area repainted per step in play ({sess['paint_repaints']} repaints), mean / max",
                 f"{mean_px} / {max_px} px ({100 * max_px / win_px:.2f}% of the window)",
                 "only what changed", verdict(max_px < win_px / 20)))
    rows.append(("\"Esci\" ends the program", "yes" if sess["exit_on_esci"] else "no", "yes",
                 verdict(sess["exit_on_esci"])))
    return rows


def peer_rows(results):
    ours = results["tumblara"]
    rows = [("program", "start-up: mapped / first frame", "peak memory", "threads / libraries",
             "tumblara's share")]
    for name, r in results.items():
        ratio = (f"{ours['frame_s'] / r['frame_s']:.2f}x time, "
                 f"{ours['hwm_mib'] / r['hwm_mib']:.2f}x memory") if name != "tumblara" else "-"
        rows.append((name, f"{fmt_time(r['mapped_s'])} / {fmt_time(r['frame_s'])}",
                     f"{r['hwm_mib']:.1f} MiB", f"{r['threads']} / {r['libs']}", ratio))
    return rows


def installed_peers():
    return {name: cmd for name, cmd in PEERS.items() if os.access(cmd[0], os.X_OK)}


def peer_results(x, probe, ours, runs):
    """The game's start-up figures, then each installed peer's, measured the same way."""
    results = {"tumblara": ours}
    for name, cmd in installed_peers().items():
        results[name] = startup_runs(x, probe, cmd, False, runs, 2.0)
    return results


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", required=True, help="a build made with -DTUMBLARA_BENCH=ON")
    ap.add_argument("--peers", action="store_true")
    ap.add_argument("--engine-only", action="store_true", help="only the engine benchmarks, briefly")
    ap.add_argument("--runs", type=int, default=5, help="start-ups per program")
    ap.add_argument("--seconds", type=float, default=12.0, help="length of each CPU span")
    ap.add_argument("--no-level5", action="store_true", help="skip playing up to level 5 (about two minutes)")
    args = ap.parse_args()

    header = [("measure", "value", "target", "")]
    engine_bench = os.path.join(args.build, "bench", "engine_bench")
    if args.engine_only:
        rows = header + engine_rows(engine_figures(engine_bench, 0.05))
        print_table(rows)
        return 1 if any(r[3] == "OVER" for r in rows[1:]) else 0

    game = [os.path.join(args.build, "tumblara")]
    probe = os.path.join(args.build, "bench", "xprobe")
    for path in (game[0], probe):
        if not os.access(path, os.X_OK):
            sys.exit(f"missing {path}: build with -DTUMBLARA_BENCH=ON first")

    missing = [name for name in PEERS if name not in installed_peers()]
    with Xvfb() as x:
        if args.peers:
            for name in missing:
                print(f"{name}: not installed, skipped", file=sys.stderr)
            ours = startup_runs(x, probe, game, True, args.runs, 2.0)
            print_table(peer_rows(peer_results(x, probe, ours, args.runs)))
            return 0
        start = startup_runs(x, probe, game, True, args.runs, 1.0)
        player = None if args.no_level5 else os.path.join(args.build, "bench", "xplayer")
        sess = session(x, probe, player, game, args.seconds)
        # The peers wait one second longer than the game before their memory
        # is read: some of them finish loading after their first frame.
        peers = peer_results(x, probe, start, args.runs) if len(missing) < len(PEERS) else None
    rows = header + engine_rows(engine_figures(engine_bench, 0.3)) + game_rows(start, sess)
    load = os.getloadavg()[0]
    print(f"{os.cpu_count()} cores, load average {load:.2f} at the end; Xvfb {SCREEN[0]}x{SCREEN[1]}, no window manager")
    print_table(rows)
    print()
    if peers:
        print_table(peer_rows(peers))
    if missing:
        print(f"Not installed here: {', '.join(missing)}; `make bench-peers` installs and measures them.")
    return 1 if any(r[3] == "OVER" for r in rows[1:]) else 0


if __name__ == "__main__":
    sys.exit(main())
