#!/usr/bin/env python3
"""The browser build's budgets, in Debian's headless Chromium on the site that
`make web` builds, on the browser tests' harness: what a player downloads
(tumblara.wasm and tumblara.js, gzip-compressed, fonts apart), the first frame
of the well after navigation, the browser's CPU while the game waits beside a
static page measured the same way in the same run, and key-down to the frame
that shows the move. Rows as measure_program.py prints them; alone:
    bench/measure_web.py [--json] [SITE]
"""

import contextlib, gzip, json, os, statistics, sys, tempfile, time  # noqa: E401

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "tests", "web"))
from browser import Browser, serve, wait_for  # noqa: E402
from measure_program import cpu_ns  # noqa: E402

# The frame of navigation, in ms from its start, when the well's outline is first in it.
FIRST_WELL = """requestAnimationFrame(function look(t) {
  const outline = [...document.querySelectorAll('div')].find(d => d.tumblaraKind === 3 && d.style.width);
  if (outline) window.firstWell = t; else requestAnimationFrame(look); });"""
# Per key-down: ms to the first frame in which a block has moved sideways, and how many frames that took.
KEY_FRAMES = """window.keyFrames = []; addEventListener('keydown', e => {
  const blocks = () => [...document.querySelectorAll('canvas')].filter(c => c.tumblaraKind === 4)
    .map(c => c.style.left).join();
  const t0 = performance.now(), before = blocks(); let frames = 0;
  requestAnimationFrame(function look() { frames++;
    if (blocks() !== before) keyFrames.push([performance.now() - t0, frames]);
    else if (performance.now() - t0 < 500) requestAnimationFrame(look); }); }, true);"""
STATIC = """<!doctype html><body style="margin:0;background:#000;overflow:hidden"><canvas id=c></canvas><script>
const c = document.getElementById('c'); c.width = innerWidth; c.height = innerHeight;
const g = c.getContext('2d'); g.fillRect(0, 0, c.width, c.height); g.strokeStyle = '#0f0';
g.strokeRect(19.5, 0.5, 339, 673);</script>"""
# The same with one label blinking as the game's banner does: what any page pays for two frames a second.
BLINK = STATIC + """<div id=l style="position:absolute;left:126px;top:315px;color:#ff0;font:bold 22.8pt serif">Game Over</div>
<script>setInterval(() => { l.style.opacity = l.style.opacity === '0' ? '1' : '0'; }, 500);</script>"""


def tree_cpu_s(root):
    """Time on a core so far of a process and all its descendants, every thread (schedstat), in seconds."""
    parents = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        with contextlib.suppress(OSError):
            parents[int(pid)] = int(open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()[1])
    family = {root}
    for _ in range(4):  # browser, zygotes, renderers, their helpers
        family |= {pid for pid, parent in parents.items() if parent in family}
    total = 0
    for pid in family:
        with contextlib.suppress(OSError):  # a helper that ended meanwhile
            total += cpu_ns(pid)
    return total / 1e9


def download_kib(site):
    return sum(len(gzip.compress(open(os.path.join(site, f), "rb").read(), 9))
               for f in ("tumblara.wasm", "tumblara.js")) / 1024


def first_frames(url, runs):
    with Browser() as b:
        b.send("Network.enable")
        b.send("Network.setCacheDisabled", cacheDisabled=True)
        times = []
        for _ in range(runs):
            b.open(url, FIRST_WELL if not times else "")
            times.append(wait_for(lambda: b.eval("window.firstWell"), "the first frame of the well", 10))
        return times


def waiting_cpu(url, seconds, paused=False):
    """Share of a core that the whole browser takes with the page open: the
    game waiting for its first game ("Game Over" blinks), or paused in one."""
    with Browser() as b:
        b.open(url)
        time.sleep(2.0)  # start-up done
        if paused:
            b.menu(0)
            time.sleep(3.0)  # past the level banner
            b.menu(1)
            time.sleep(1.5)  # the sound's context sleeps a second after the last effect
        before, t0 = tree_cpu_s(b.procs[0].pid), time.monotonic()
        time.sleep(seconds)
        return (tree_cpu_s(b.procs[0].pid) - before) / (time.monotonic() - t0)


def key_frames(url, keys):
    with Browser() as b:
        b.open(url, KEY_FRAMES)
        wait_for(lambda: b.eval("!!document.getElementById('tumblara')"), "the game")
        b.menu(0)
        wait_for(lambda: b.eval("[...document.querySelectorAll('canvas')].some(c => c.tumblaraKind === 4 && "
                                "parseInt(c.style.top) > 80)"), "the first piece to fall", 10)
        for i in range(keys):
            b.key(("Left", "Right")[i % 2])
            time.sleep(0.15)  # a few frames apart, as a player's taps
        time.sleep(0.5)  # the last key's frames
        return b.eval("keyFrames")


def web_rows(site, seconds=10.0, runs=5, keys=20):
    """The rows of the table for the site in `site`."""
    rows = []
    kib = download_kib(site)
    rows.append(("web: tumblara.wasm + tumblara.js, gzip -9", f"{kib:.1f} KiB", "<= 200 KiB", "ok" if kib <= 200 else
                 "OVER"))
    with tempfile.TemporaryDirectory() as static, tempfile.TemporaryDirectory() as blink:
        open(os.path.join(static, "index.html"), "w").write(STATIC)
        open(os.path.join(blink, "index.html"), "w").write(BLINK)
        game, still, blinking = serve(site), serve(static), serve(blink)
        frames = first_frames(game, runs)
        rows.append((f"web: navigation to the first frame of the well (median of {runs})",
                     f"{statistics.median(frames):.0f} ms", "<= 500 ms",
                     "ok" if statistics.median(frames) <= 500 else "OVER"))
        floor, blinks = (statistics.median(waiting_cpu(u, seconds) for _ in range(2)) * 100 for u in (still, blinking))
        for paused, label in ((False, "waiting for its first game, \"Game Over\" blinking"), (True, "paused")):
            ours = statistics.median(waiting_cpu(game, seconds, paused) for _ in range(2)) * 100
            rows.append((f"web: browser CPU, game {label} / static page", f"{ours:.2f}% / {floor:.2f}%",
                         "<= 1 point above", "ok" if ours - floor <= 1 else "OVER"))
        rows.append(("web: browser CPU, the static page with one label blinking as the banner", f"{blinks:.2f}%",
                     "-", ""))
    moves = key_frames(game, keys)
    first = sum(1 for _, n in moves if n == 1)
    delays = [ms for ms, _ in moves] or [float("nan")]
    rows.append((f"web: key-down to the frame showing the move ({len(moves)} moves), median / max",
                 f"{statistics.median(delays):.1f} / {max(delays):.1f} ms, {first} in the next frame",
                 "the next frame", "ok" if moves and first == len(moves) else "OVER"))
    return rows


if __name__ == "__main__":
    args = [a for a in sys.argv[1:] if a != "--json"]
    rows = web_rows(args[0] if args else "build-web")
    print(json.dumps(rows) if "--json" in sys.argv else "\n".join(" | ".join(row) for row in rows))
