# The site in Debian's Chromium, headless, driven over its DevTools protocol
# (Debian's python3-websocket): a local HTTP server started here, a viewport
# of 1024x768 as the desktop tests' screen, input as a user gives it, and
# screenshots read back as pixels (Pillow) into the desktop harness's Shot.
import base64, functools, http.server, io, json, os, subprocess, sys, threading  # noqa: E401
import urllib.request

import websocket
from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "window"))
from desktop import Screen, Shot, wait_for  # noqa: E402

FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--mute-audio",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--remote-debugging-port=0", "--window-size=1024,768"]
# Key names as the desktop tests give them: (KeyboardEvent.code, key, Windows code).
KEYS = {"Right": ("ArrowRight", "ArrowRight", 39), "Left": ("ArrowLeft", "ArrowLeft", 37),
        "Down": ("ArrowDown", "ArrowDown", 40), "space": ("Space", " ", 32)}
# Counts the page's playing sound sources: started and neither stopped nor ended;
# and whether the page kept the last key-down from the browser.
AUDIO_HOOK = """(() => { const P = AudioBufferSourceNode.prototype, start = P.start, stop = P.stop;
  window.sources = { started: 0, live: 0, most: 0 };
  const gone = n => { if (n.live) { n.live = false; sources.live--; } };
  P.start = function (...a) { sources.started++; sources.live++; this.live = true;
    sources.most = Math.max(sources.most, sources.live); this.addEventListener('ended', () => gone(this));
    return start.apply(this, a); };
  P.stop = function (...a) { gone(this); return stop.apply(this, a); }; })();
addEventListener('keydown', e => { window.kept = e.defaultPrevented; });"""


def serve(folder):  # the folder on a free port of the loopback interface: its address
    handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f"http://127.0.0.1:{server.server_address[1]}/"


class Browser(Screen):
    def __init__(self):
        super().__init__()
        self.next, self.events = 0, []
        self.procs.append(subprocess.Popen(["chromium", *FLAGS, f"--user-data-dir={self.dir}", "about:blank"],
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        active = os.path.join(self.dir, "DevToolsActivePort")
        port = wait_for(lambda: os.path.exists(active) and open(active).readline().strip(), "Chromium's DevTools port")
        pages = json.load(urllib.request.urlopen(f"http://127.0.0.1:{port}/json/list"))
        self.ws = websocket.create_connection(next(p for p in pages if p["type"] == "page")["webSocketDebuggerUrl"],
                                              timeout=30, suppress_origin=True)
        self.send("Emulation.setDeviceMetricsOverride", width=1024, height=768, deviceScaleFactor=1, mobile=False)

    def send(self, method, **params):
        self.next += 1
        self.ws.send(json.dumps({"id": self.next, "method": method, "params": params}))
        while "id" not in (reply := json.loads(self.ws.recv())) or reply["id"] != self.next:
            self.events.append(reply)
        assert "error" not in reply, f"{method}: {reply['error']}"
        return reply["result"]

    def open(self, url, before=""):  # `before` runs in the page ahead of its own scripts
        self.send("Page.enable")
        if before:
            self.send("Page.addScriptToEvaluateOnNewDocument", source=before)
        self.send("Page.navigate", url=url)
        while not any(e.get("method") == "Page.loadEventFired" for e in self.events):  # each wait ends in 30 s
            self.events.append(json.loads(self.ws.recv()))

    def eval(self, expression):
        return self.send("Runtime.evaluate", expression=expression, returnByValue=True)["result"].get("value")

    def message(self):  # the page's one line, or None
        return self.eval("(document.getElementById('message') || {}).textContent")

    def shot(self):
        png = base64.b64decode(self.send("Page.captureScreenshot", format="png")["data"])
        image = Image.open(io.BytesIO(png)).convert("RGB")
        return Shot(image.width, image.height, image.tobytes(), 3 * image.width, 3, (0, 1, 2))

    def move(self, x, y, kind="mouseMoved", **more):
        self.send("Input.dispatchMouseEvent", type=kind, x=x, y=y, **more)

    def click(self, x, y):
        self.move(x, y)
        for kind in ("mousePressed", "mouseReleased"):
            self.move(x, y, kind, button="left", clickCount=1)

    # Keys by the desktop tests' names, or (code, key, Windows code) of any
    # layout. A held key sends the keyboard's repeated key-downs before its
    # release, as many as a keyboard sends in a second.
    def key(self, *names, how="key"):
        downs = {"key": [False], "keydown": [False], "keyup": [True] * 25}[how]  # True: a repeat
        for name in names:
            code, key, vk = KEYS[name] if isinstance(name, str) else name
            event = dict(code=code, key=key, windowsVirtualKeyCode=vk)
            for repeat in downs:
                self.send("Input.dispatchKeyEvent", type="rawKeyDown", autoRepeat=repeat, **event)
            if how != "keydown":
                self.send("Input.dispatchKeyEvent", type="keyUp", **event)
