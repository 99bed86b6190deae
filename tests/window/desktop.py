# The real program on a private desktop: a private X server (Xvfb, no window
# manager) or a headless sway, input as a user gives it, screenshots read back
# as pixels, and every process ended afterwards. Standard library only.
import collections, os, pwd, re, shutil, socket, struct, subprocess, sys, tempfile, time  # noqa: E401

# The game's screen at 1024x768: cell size, rectangles as (x, y, width, height), colours.
CELLA, BANNER, PREVIEW, FRAME = 21, (126, 315, 240, 50), (380, 317, 122, 122), (19, 0, 340, 674)
OPTIONS, CAPTURE = (774, 215, 250, 148), (774, 363, 250, 142)  # the options window, a capture dialog
YELLOW, DARK_RED, GREEN = 0xFFFF00, 0x800000, 0x00FF00


def wait_for(condition, what, seconds=20.0):  # generous: a busy machine must not fail a test
    end = time.monotonic() + seconds
    while not (value := condition()):
        assert time.monotonic() < end, f"waited {seconds} s for {what}"
        time.sleep(0.05)
    return value


def skip_without(*tools):  # a missing tool skips the test (status 77) rather than failing it
    if missing := [t for t in tools if not shutil.which(t)]:
        print("SKIP: not installed:", *missing)
        sys.exit(77)


class Shot(collections.namedtuple("Shot", "width height data stride step at")):
    # One screenshot: `step` bytes a pixel, with red, green and blue at the offsets `at`.

    def count(self, x, y, w, h, colour):
        # Pixels of exactly that colour in the rectangle: a byte mask per channel
        # and row, ANDed as big integers, so that no Python loop runs per pixel.
        x0, x1, n = max(x, 0) * self.step, min(x + w, self.width) * self.step, 0
        tables = [bytes(int(i == colour >> s & 255) for i in range(256)) for s in (16, 8, 0)]
        for row in range(max(y, 0), min(y + h, self.height)):
            line, mask = self.data[row * self.stride + x0:row * self.stride + x1], -1
            for table, o in zip(tables, self.at):
                mask &= int.from_bytes(line[o::self.step].translate(table), "little")
            n += mask.bit_count()
        return n

    def block(self, x0, y0, cella):
        # A block picture is the same ramp on every row: dark at the left,
        # brightest right of the middle. Text over the well does not pass.
        for y in (y0 + cella // 5, y0 + cella // 2, y0 + cella * 4 // 5):
            at = (y * self.stride + (x0 + cella * f // 100) * self.step for f in (10, 30, 55, 92))
            left, rise, peak, right = (max(self.data[p + o] for o in self.at) for p in at)
            if peak < 150 or not left < rise < peak > right:
                return False
        return True

    def well(self, cella):
        # Rows 1..31 of the well, 16 cells each: '#' a block, '.' anything else.
        return "".join(".#"[self.block(c * cella, r * cella, cella)] for r in range(1, 32) for c in range(1, 17))


def read_xwd(data):
    head = [int.from_bytes(data[i:i + 4], "big") for i in range(0, 100, 4)]
    step, at = head[11] // 8, [(m & -m).bit_length() // 8 for m in head[14:17]]  # each channel's byte
    return Shot(head[4], head[5], data[head[0] + 12 * head[19]:], head[12], step,
                at if head[7] == 0 else [step - 1 - a for a in at])  # 0: least significant byte first


def read_ppm(data):
    m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    return Shot(int(m[1]), int(m[2]), data[m.end():], 3 * int(m[1]), 3, (0, 1, 2))


class Screen:
    # The game's menu as a player's pointer uses it, on any screen with move, click and shot; a
    # private runtime folder and no display variables. What starts here ends with it.
    def __init__(self):
        self.dir, self.procs = tempfile.mkdtemp(prefix="tumblara-window-"), []  # for this user alone
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        self.env["XDG_RUNTIME_DIR"], self.log = self.dir, open(os.path.join(self.dir, "log"), "w+")

    def start(self, *args, **env):
        self.procs.append(subprocess.Popen([os.path.abspath(args[0]), *args[1:]], env=dict(self.env, **env),
                                           cwd=self.dir, stdout=self.log, stderr=self.log, start_new_session=True))
        return self.procs[-1]

    def lit(self, i):  # menu label i, white on dark red
        return self.shot().count(824, 60 * i, 200, 35, DARK_RED) > 3000

    def menu(self, i):  # across the background first, as a player's pointer: one label lit at a time
        self.move(600, 600)
        wait_for(lambda: not any(map(self.lit, range(5))), "the menu out with the pointer on the background", 5)
        self.move(924, 60 * i + 17)
        wait_for(lambda: self.lit(i), f"menu label {i} lit under the pointer", 5)
        self.click(924, 60 * i + 17)

    def new_game(self):  # "Nuova Partita", then until its banner is over: the piece falls
        self.menu(0)
        well = wait_for(lambda: (s := self.shot()).count(*BANNER, YELLOW) > 20 and s.well(CELLA), "the banner")
        wait_for(lambda: self.shot().well(CELLA) != well, "the first piece to fall")

    def options(self):  # "Opzioni", until its window shows
        self.menu(3)
        wait_for(lambda: self.shot().count(*OPTIONS, DARK_RED) > 20000, "the options window under \"Opzioni\"")

    def option(self, i):  # the options window's three labels, 49 pixels apart
        self.click(899, 230 + 49 * i + (i == 2))

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for p in reversed(self.procs):
            p.kill()
            p.wait()
        if exc[0]:
            self.log.seek(0)
            print("--- program output\n" + self.log.read()[-3000:])
        shutil.rmtree(self.dir, ignore_errors=True)


class Desktop(Screen):
    def run(self, *args):
        return subprocess.run(args, env=self.env, check=True, timeout=30, stdout=subprocess.PIPE).stdout

    def game(self, program):  # started, and shown: the one-pixel green frame around the well
        game = self.start(program)
        wait_for(lambda: self.shot().count(*FRAME, GREEN) == 2024, "the well's frame")
        return game

    def move(self, x, y):
        self.run(*self.MOVE, str(x), str(y))

    def click(self, x, y):
        self.move(x, y)
        for command in self.CLICK:
            self.run(*command)


class X11(Desktop):
    # bare: without -noreset the server resets whenever its last client leaves, as under xinit;
    # it logs every connection and disconnection. The screen is read from the server's
    # framebuffer file, so that reading it is no client of the server.
    def __init__(self, bare=False):
        super().__init__()
        skip_without("Xvfb", "xdotool")
        r, w = os.pipe()  # -displayfd: the server picks a free display itself
        server = ["Xvfb", "-displayfd", str(w), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-fbdir", self.dir]
        self.procs.append(subprocess.Popen(server + (["-audit", "2"] if bare else ["-noreset"]), pass_fds=(w,),
                                           stderr=self.log))
        os.close(w)
        self.env["DISPLAY"] = ":" + os.fdopen(r).readline().strip()

    MOVE, CLICK = ("xdotool", "mousemove"), [("xdotool", "click", "1")]

    def shot(self):
        with open(os.path.join(self.dir, "Xvfb_screen0"), "rb") as f:
            return read_xwd(f.read())

    def key(self, *names, how="key"):
        self.run("xdotool", how, *names)


class Sway(Desktop):
    # A headless sway; it refuses root, so root runs it as nobody.
    def __init__(self):
        super().__init__()
        skip_without("sway", "grim", "wtype")
        user, config = [], os.path.join(self.dir, "config")
        if os.getuid() == 0:
            nobody = pwd.getpwnam("nobody")
            os.chown(self.dir, nobody.pw_uid, nobody.pw_gid)
            user = ["setpriv", f"--reuid={nobody.pw_uid}", f"--regid={nobody.pw_gid}", "--clear-groups"]
        with open(config, "w") as f:
            f.write("output HEADLESS-1 resolution 1024x768\ndefault_border none\n")
        self.env.update(HOME=self.dir, WLR_BACKENDS="headless", WLR_RENDERER="pixman", WLR_LIBINPUT_NO_DEVICES="1",
                        SWAYSOCK=os.path.join(self.dir, "sway-ipc"))  # taken as long as no such file exists
        self.procs.append(subprocess.Popen(user + ["sway", "-c", config], env=self.env, stderr=subprocess.DEVNULL))
        # The runtime folder is ours alone: the first display number is free.
        self.env.update(WAYLAND_DISPLAY=os.path.join(self.dir, "wayland-1"), QT_QPA_PLATFORM="wayland")
        sockets = (self.env["WAYLAND_DISPLAY"], self.env["SWAYSOCK"])
        wait_for(lambda: all(map(os.path.exists, sockets)), "sway's sockets")
        # A seat passes pointer events on only while it has a pointer: a virtual
        # one, made over the bare wire protocol and held open. It never moves;
        # the seat's own cursor commands do the pointing.
        wire, manager, data = socket.socket(socket.AF_UNIX), b"zwlr_virtual_pointer_manager_v1\0", b""
        wire.connect(self.env["WAYLAND_DISPLAY"])

        def send(target, opcode, body):  # a request: object, size and opcode, then its arguments
            wire.sendall(struct.pack("<II", target, len(body) + 8 << 16 | opcode) + body)

        send(1, 1, struct.pack("<I", 2))  # wl_display.get_registry as object 2
        while (at := data.find(manager)) < 8:  # the registry's announcement of it: name, interface, version
            data += wire.recv(65536)
        # wl_registry.bind as object 3, then create_virtual_pointer on the default seat (new ids go in order)
        send(2, 0, data[at - 8:at - 4] + struct.pack("<I", len(manager)) + manager + struct.pack("<II", 1, 3))
        send(3, 0, struct.pack("<II", 0, 4))
        self.pointer = wire

    MOVE = ("swaymsg", "seat", "-", "cursor", "set")
    CLICK = [("swaymsg", "seat", "-", "cursor", how, "button1") for how in ("press", "release")]

    def shot(self):
        return read_ppm(self.run("grim", "-t", "ppm", "-"))

    def key(self, *names, how="key"):
        self.run("wtype", *[a for n in names for a in ({"key": "-k", "keydown": "-P", "keyup": "-p"}[how], n)])
