"""The real program on a private desktop: a private X server (Xvfb, no window
manager) or a headless sway, input as a user gives it, screenshots read back
as pixels, and the processes ended afterwards. Standard library only."""

import ctypes
import os
import pwd
import re
import shutil
import socket
import struct
import subprocess
import tempfile
import time

PATIENCE = 20.0  # seconds; generous, a busy machine must not fail a test


def wait_for(condition, what, seconds=PATIENCE):
    end = time.monotonic() + seconds
    while not (value := condition()):
        if time.monotonic() > end:
            raise AssertionError(f"waited {seconds} s for {what}")
        time.sleep(0.05)
    return value


class Shot:
    """One screenshot: `step` bytes a pixel, red, green and blue at `at`."""

    def __init__(self, width, height, data, stride, step, at):
        self.width, self.height, self.data, self.stride, self.step, self.at = width, height, data, stride, step, at

    def rgb(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return 0
        p = y * self.stride + x * self.step
        return sum(self.data[p + o] << s for o, s in zip(self.at, (16, 8, 0)))

    def count(self, x, y, w, h, colour):
        """Pixels of exactly that colour in the rectangle: one byte mask per
        channel and row, ANDed as big integers, so no loop runs per pixel."""
        x0, x1, y0, y1 = max(x, 0), min(x + w, self.width), max(y, 0), min(y + h, self.height)
        tables = [bytes(int(i == colour >> s & 255) for i in range(256)) for s in (16, 8, 0)]
        n = 0
        for row in range(y0, y1):
            line = self.data[row * self.stride + x0 * self.step:row * self.stride + x1 * self.step]
            mask = -1
            for table, o in zip(tables, self.at):
                mask &= int.from_bytes(line[o::self.step].translate(table), "little")
            n += mask.bit_count()
        return n

    def block(self, x0, y0, cella):
        """A block picture is the same ramp on every row: dark at the left,
        brightest right of the middle. Text over the well does not pass."""
        for y in (y0 + cella // 5, y0 + cella // 2, y0 + cella * 4 // 5):
            left, rise, peak, right = (max(self.rgb(x0 + cella * p // 100, y).to_bytes(3, "big"))
                                       for p in (10, 30, 55, 92))
            if peak < 150 or not (left < rise < peak and right < peak):
                return False
        return True

    def well(self, cella):
        """Rows 1..31 of the well, 16 cells each: '#' a block, '.' anything else."""
        return "".join("#" if self.block(c * cella, r * cella, cella) else "."
                       for r in range(1, 32) for c in range(1, 17))


def read_xwd(data):
    head = [int.from_bytes(data[i:i + 4], "big") for i in range(0, 100, 4)]
    size, lsb, bpp, stride, masks, ncolors = head[0], head[7] == 0, head[11], head[12], head[14:17], head[19]
    at = [(m & -m).bit_length() // 8 for m in masks]  # the byte of each channel in a pixel word
    return Shot(head[4], head[5], data[size + 12 * ncolors:], stride, bpp // 8,
                at if lsb else [bpp // 8 - 1 - a for a in at])


def read_ppm(data):
    m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    w, h = int(m[1]), int(m[2])
    return Shot(w, h, data[m.end():], 3 * w, 3, (0, 1, 2))


class Desktop:
    """The common part: a private folder, the programs started, the end."""

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="tumblara-window-")
        os.chmod(self.dir, 0o700)
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        self.env["XDG_RUNTIME_DIR"] = self.dir
        self.games, self.server = [], None

    def run(self, *args):
        return subprocess.run(args, env=self.env, check=True, timeout=30, stdout=subprocess.PIPE).stdout

    def start(self, program, **env):
        log = open(os.path.join(self.dir, f"game{len(self.games)}.log"), "w+")
        game = subprocess.Popen([os.path.abspath(program)], env=dict(self.env, **env), cwd=self.dir, stdout=log, stderr=log)
        game.log = log
        self.games.append(game)
        return game

    @staticmethod
    def output(game):
        game.log.seek(0)
        return game.log.read()

    def ended(self, game, seconds=10):
        """The program's status once it has ended by itself; it leaves no child behind."""
        status = wait_for(lambda: game.poll() is not None, "the program to end", seconds) and game.returncode
        left = [p for p in os.listdir("/proc") if p.isdigit() and os.path.exists(f"/proc/{p}/stat")
                and open(f"/proc/{p}/stat").read().rsplit(")", 1)[1].split()[1] == str(game.pid)]
        assert not left, f"processes left behind by the program: {left}"
        return status

    def menu(self, i):
        """Menu label i on a 1024x768 screen, reached across the background
        as a player's pointer crosses it: the menu lights one label at a time."""
        self.move(600, 600)
        self.click(924, 60 * i + 17)

    def option(self, i):
        """The options window's three labels, 49 pixels apart."""
        self.click(899, 230 + 49 * i + (i == 2))

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for p in self.games + [self.server]:
            if p and p.poll() is None:
                p.kill()
                p.wait()
        if exc[0]:
            for game in self.games:
                print(f"--- program output\n{self.output(game)[-3000:]}")
        shutil.rmtree(self.dir, ignore_errors=True)


class X11(Desktop):
    """Xvfb at 1024x768x24. bare=True: a server without -noreset, which
    resets whenever its last client leaves, as under xinit."""

    def __init__(self, size="1024x768", bare=False):
        super().__init__()
        r, w = os.pipe()  # -displayfd: the server picks a free display itself
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(w), "-screen", "0", size + "x24",
                                        "-nolisten", "tcp"] + ([] if bare else ["-noreset"]),
                                       pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        with os.fdopen(r) as f:
            self.env["DISPLAY"] = ":" + f.readline().strip()

    def shot(self):
        return read_xwd(self.run("xwd", "-root", "-silent"))

    def move(self, x, y):
        self.run("xdotool", "mousemove", str(x), str(y))
        time.sleep(0.2)

    def click(self, x, y):
        self.move(x, y)
        self.run("xdotool", "click", "1")

    def key(self, *names, how="key"):
        self.run("xdotool", how, *names)

    def windows(self, game):
        """The program's windows on the screen, bottom to top, as (id, x, y, w, h)."""
        ids = self.run("xdotool", "search", "--onlyvisible", "--pid", str(game.pid)).split()
        found = []
        for i in ids:
            g = dict(re.findall(r"(\w+)=(\d+)", self.run("xdotool", "getwindowgeometry", "--shell", i).decode()))
            found.append((int(i), int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])))
        return found

    def close(self, window):
        """What a window manager's close button does: WM_DELETE_WINDOW."""
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = (ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int)
        x.XSendEvent.argtypes = (ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p)
        x.XFlush.argtypes = x.XCloseDisplay.argtypes = (ctypes.c_void_p,)
        d = x.XOpenDisplay(self.env["DISPLAY"].encode())
        event = (ctypes.c_long * 24)()  # XClientMessageEvent, as longs
        event[0], event[4], event[5], event[6] = 33, window, x.XInternAtom(d, b"WM_PROTOCOLS", 0), 32
        event[7] = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
        x.XSendEvent(d, window, 0, 0, event)
        x.XFlush(d)
        x.XCloseDisplay(d)


class Sway(Desktop):
    """A headless sway at 1024x768; it refuses root, so root runs it as nobody."""

    def __init__(self):
        super().__init__()
        user = []
        if os.getuid() == 0:
            nobody = pwd.getpwnam("nobody")
            os.chown(self.dir, nobody.pw_uid, nobody.pw_gid)
            user = ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}", "--clear-groups"]
        config = os.path.join(self.dir, "config")
        with open(config, "w") as f:
            f.write("output HEADLESS-1 resolution 1024x768\ndefault_border none\n")
        self.env.update(HOME=self.dir, WLR_BACKENDS="headless", WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1")
        self.server = subprocess.Popen(user + ["sway", "-c", config], env=self.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for(lambda: [n for n in os.listdir(self.dir) if n.startswith("sway-ipc")], "sway")
        self.env["SWAYSOCK"] = os.path.join(self.dir, next(n for n in os.listdir(self.dir) if n.startswith("sway-ipc")))
        self.env.update(WAYLAND_DISPLAY=wait_for(lambda: next(
            (n for n in os.listdir(self.dir) if n.startswith("wayland-") and not n.endswith(".lock")), None),
            "sway's socket"), QT_QPA_PLATFORM="wayland")
        self.pointer = self.hold_pointer()

    def hold_pointer(self):
        """A seat passes pointer events on only while it has a pointer: a
        virtual one, created over the bare wire protocol and held open. It
        never moves; the seat's own cursor commands do the pointing."""
        wire = socket.socket(socket.AF_UNIX)
        wire.connect(os.path.join(self.dir, self.env["WAYLAND_DISPLAY"]))

        def send(target, opcode, *words, text=b""):
            body = struct.pack(f"<{len(words)}I", *words)
            if text:  # a string: its length with the NUL, then padded to 4 bytes
                body = body[:4] + struct.pack("<I", len(text) + 1) + text.ljust(len(text) // 4 * 4 + 4, b"\0") + body[4:]
            wire.sendall(struct.pack("<II", target, len(body) + 8 << 16 | opcode) + body)

        def roundtrip(callback, wanted=b""):
            send(1, 0, callback)  # wl_display.sync
            data, found = b"", None
            while True:
                while len(data) < 8 or len(data) < struct.unpack_from("<I", data, 4)[0] >> 16:
                    data += wire.recv(65536)
                target, size = struct.unpack_from("<II", data)
                if target == 2 and data[16:16 + len(wanted)] == wanted:  # wl_registry.global
                    found = struct.unpack_from("<I", data, 8)[0]
                data = data[size >> 16:]
                if target == callback:
                    return found

        send(1, 1, 2)  # wl_display.get_registry
        manager = b"zwlr_virtual_pointer_manager_v1"
        send(2, 0, roundtrip(3, manager), 1, 4, text=manager)  # wl_registry.bind
        send(4, 0, 0, 5)  # create_virtual_pointer on the default seat
        roundtrip(6)
        return wire

    def shot(self):
        return read_ppm(self.run("grim", "-t", "ppm", "-"))

    def move(self, x, y):
        self.run("swaymsg", "seat", "-", "cursor", "set", str(x), str(y))
        time.sleep(0.2)

    def click(self, x, y):
        self.move(x, y)
        for how in ("press", "release"):
            self.run("swaymsg", "seat", "-", "cursor", how, "button1")

    def key(self, *names, how="key"):
        flag = {"key": "-k", "keydown": "-P", "keyup": "-p"}[how]
        self.run("wtype", *[a for n in names for a in (flag, n)])
