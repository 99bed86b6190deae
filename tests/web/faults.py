# What the page says when the game cannot run: one line on the black page,
# never a silent black screen.
#
#   faults.py SITE file          the page opened from the disk, not served
#   faults.py SITE no-wasm       a browser without WebAssembly
#   faults.py SITE wasm-missing  the server has no tumblara.wasm
#   faults.py SITE wasm-broken   tumblara.wasm is not a program
import os, shutil, sys, tempfile  # noqa: E401

from browser import Browser, serve, wait_for

SAYS = {"file": "served over HTTP", "no-wasm": "cannot run WebAssembly",
        "wasm-missing": "could not load its program (tumblara.wasm)",
        "wasm-broken": "could not load its program (tumblara.wasm)"}


def main(site, fault):
    with tempfile.TemporaryDirectory() as copy, Browser() as b:
        shutil.copytree(site, copy, dirs_exist_ok=True)
        wasm = os.path.join(copy, "tumblara.wasm")
        if fault == "wasm-missing":
            os.remove(wasm)
        elif fault == "wasm-broken":
            open(wasm, "wb").write(b"\0asm" + b"\xff" * 64)
        url = f"file://{os.path.abspath(copy)}/index.html" if fault == "file" else serve(copy)
        b.open(url, "delete window.WebAssembly;" if fault == "no-wasm" else "")
        line = wait_for(b.message, "a line on the page", 10)
        assert SAYS[fault] in line, f"the page says {line!r}"
        assert b.eval("document.getElementById('tumblara')") is None, "the game started all the same"
    print("PASS")


if __name__ == "__main__":
    main(*sys.argv[1:])
