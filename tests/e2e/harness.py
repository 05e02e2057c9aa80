"""Runs the real Glimmershot.exe under Wine on a private Xvfb and looks at it from outside.

Every test gets its own X display and its own data folder (whose name has a space and
non-ASCII letters); all tests of a run share one Wine prefix, made on first use.
"""
import contextlib
import glob
import os
import re
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                                "scripts"))
import winedesktop  # noqa: E402
from winedesktop import run, winpath  # noqa: E402,F401  (the tests take them from here)

EXE = os.environ.get("GS_EXE", "")
PROBE = os.environ.get("GS_PROBE", "")
PREFIX = os.environ["GS_WINEPREFIX"]
WORK = os.environ["GS_WORK"]
# The virtual desktop's size is kept in the prefix: a run at another size (GS_SCREEN, for a
# benchmark) needs a prefix of its own.
SCREEN = tuple(int(v) for v in os.environ.get("GS_SCREEN", "1280x1024").split("x"))
# Where Wine's virtual-desktop taskbar puts the first tray icon.
TRAY_ICON = (SCREEN[0] - 12, SCREEN[1] - 10)
DESKTOP = "gs"
# The tests' own eyes; the product never sees the host's programs (a test may hide them).
HOST_TESSERACT = shutil.which("tesseract") or "/usr/bin/tesseract"


def log(*args):
    print(*args, flush=True)


def wine_env(display, prefix=PREFIX):
    """Every test's Wine draws text with ClearType, as Windows does by default."""
    return winedesktop.wine_env(display, prefix, cleartype=True)


def unix_pid_of(path):
    """The Linux process running a Windows program (Wine shows its Unix path as argv[0])."""
    for pid in os.listdir("/proc"):
        with contextlib.suppress(OSError):
            if open(f"/proc/{pid}/cmdline", "rb").read().decode("utf-8", "replace").split("\0")[0] == path:
                return int(pid)
    return None


class Xvfb(winedesktop.Xvfb):
    def __init__(self, size=SCREEN, keep=False):
        super().__init__(size, keep)


def ensure_prefix(display, prefix=PREFIX):
    """Creates a prefix once: Tahoma and ClearType, as a user's desktop has them. In the shared
    one every Wine process opens in one virtual desktop; any other shows Wine's windows on X
    itself, on every monitor X has."""
    shared = prefix == PREFIX
    winedesktop.make_prefix(wine_env(display, prefix), desktop=(DESKTOP, SCREEN) if shared else None,
                            plain=not shared, cleartype=True, say=log)


def set_display_dpi(env, dpi):
    """Wine's system DPI (the display scale every monitor reports) for the next programs started.
    A marker in the prefix says what the registry holds, so a session that ended badly cannot
    leave the next one at another scale."""
    marker = os.path.join(PREFIX, ".glimmershot-dpi")
    current = open(marker).read().strip() if os.path.exists(marker) else "96"
    if current == str(dpi):
        return
    run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
         "/d", str(dpi), "/f"], env)
    # The desktop's own process came up with that command, at the old scale: start afresh.
    run(["wineserver", "-k"], env, timeout=30, check=False)
    run(["wineserver", "-w"], env, timeout=60, check=False)
    with open(marker, "w") as f:
        f.write(str(dpi))


def parse_kv(text):
    rows = []
    for line in text.splitlines():
        line = line.strip()
        if not line:
            continue
        row = {}
        head, _, caption = line.partition(" caption=")
        for part in head.split():
            k, _, v = part.partition("=")
            row[k] = int(v) if re.fullmatch(r"-?\d+", v) else v
        if _:
            row["caption"] = caption
        rows.append(row)
    return rows


class Session:
    """One Xvfb, one data folder, one Glimmershot process."""

    def __init__(self, name, tools=False, installed=None, dpi=96, monitors=None):
        """`installed` is a folder that already holds the program (an unpacked package); `dpi`
        the display scale it runs at (96 is 100 %); `monitors` X rectangles (w, h, x, y), the
        primary first, for Wine's plain mode on several monitors instead of a virtual desktop."""
        self.name = name
        self.dpi = dpi
        self.origin = (0, 0)
        self.monitors = monitors
        if monitors:
            size = (max(m[0] + m[2] for m in monitors), max(m[1] + m[3] for m in monitors))
            self.x = Xvfb(size, keep=True)
            self.origin = monitors[0][2:]
        else:
            self.x = Xvfb()
        self.procs = []
        try:
            self._prepare(tools, installed)
        except BaseException:
            self.x.stop()  # a session that never started leaves no X server behind
            raise

    def _prepare(self, tools, installed):
        prefix = PREFIX + "-monitors" if self.monitors else PREFIX
        self.env = wine_env(self.x.display, prefix)
        for i, (w, h, x, y) in enumerate(self.monitors or []):
            run(["xrandr", "--setmonitor", f"MON{i}", f"{w}/{w // 4}x{h}/{h // 4}+{x}+{y}",
                 "screen" if i == 0 else "none"], self.env, timeout=20)
        ensure_prefix(self.x.display, prefix)
        set_display_dpi(self.env, self.dpi)
        if installed:
            self.appdir = installed
        else:
            base = os.path.join(WORK, self.name)
            shutil.rmtree(base, ignore_errors=True)
            self.appdir = os.path.join(base, "Glimmer shot Jiří")
            os.makedirs(self.appdir)
            shutil.copy(EXE, self.appdir)
            help_dir = os.path.join(os.path.dirname(EXE), "help")
            if os.path.isdir(help_dir):
                shutil.copytree(help_dir, os.path.join(self.appdir, "help"))
            if tools:  # the tools folder as installed beside the program
                shutil.copytree(os.path.join(os.path.dirname(EXE), "Data", "TesseractOCR"),
                                os.path.join(self.appdir, "Data", "TesseractOCR"))
        self.exe = os.path.join(self.appdir, "Glimmershot.exe")
        # The desktop and its taskbar come up with the first Wine process.
        run(["wine", "cmd", "/c", "exit"], self.env, timeout=60)

    # -- the program ---------------------------------------------------------------------------
    def start(self, wait=True):
        p = subprocess.Popen(["timeout", "600", "wine", self.exe], env=self.env,
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, start_new_session=True)
        self.procs.append(p)
        self.app = p
        if wait:
            self.wait_for(lambda: self.windows("TForm1"), 30, "the main window")
        return p

    def launch(self, *cmd, seconds=600):
        """Starts another Windows program beside the test (e.g. "notepad")."""
        p = subprocess.Popen(["timeout", str(seconds), "wine"] + [str(a) for a in cmd], env=self.env,
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, start_new_session=True)
        self.procs.append(p)
        return p

    def start_notepad(self, place, typed=""):
        """A program at work: Notepad at `place` (x, y, w, h) has the keyboard, `typed` typed in."""
        self.notepad = place
        self.launch("notepad")
        self.wait_for(lambda: [w for w in self.windows("Notepad") if w["visible"]], 30, "Notepad")
        self.probe("place", "Notepad", *place)
        time.sleep(0.5)
        self.focus_desktop()
        self.type_into_notepad(typed, click=True)

    def type_into_notepad(self, keys, click=False):
        """Types as the user would into the program that has the keyboard. The pointer goes over
        Notepad first: in Wine's virtual desktop on X, keys go to the window under the pointer
        (an X artefact; Windows sends them to the focused program wherever the mouse is)."""
        self.xdotool("mousemove", self.notepad[0] + 200, self.notepad[1] + 150)
        if click:  # taking the keyboard back, as after using another program's menus
            self.xdotool("click", "1")
        time.sleep(0.3)
        if keys:
            self.xdotool("type", "--delay", "60", keys)
        time.sleep(0.4)

    def notepad_text(self):
        """The foreground window's class and Notepad's text."""
        got = {k: v for row in self.probe("focus", "Notepad") for k, v in row.items()}
        return got.get("foreground"), got.get("text")

    def background(self, *args, seconds=900, output=None):
        """Starts the probe with a command that keeps running beside the test."""
        p = subprocess.Popen(["timeout", str(seconds), "wine", PROBE] + [str(a) for a in args], env=self.env,
                             stdin=subprocess.DEVNULL, stdout=output or subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, start_new_session=True)
        self.procs.append(p)
        return p

    def pattern(self, x, y, w, h, text=None, picture=None):
        """Puts our probe's test pattern (or black text on white, or a BMP file at its own size)
        on screen and waits for it."""
        args = (["picture", x, y, winpath(picture)] if picture else
                ["pattern", x, y, w, h] if text is None else ["text", x, y, w, h, text])
        self.background(*args)
        self.wait_for(lambda: [w for w in self.windows("ProbePattern") if w["visible"]], 30,
                      "the test pattern")
        time.sleep(0.3)

    def open_menu_at(self, x, y, button=1):
        """Clicks at a point and waits for the popup menu it opens."""
        self.xdotool("mousemove", x, y)
        time.sleep(0.3)
        self.xdotool("click", button)
        return self.wait_for(lambda: [w for w in self.windows("#32768") if w["visible"]], 10,
                             "a popup menu")[0]

    def choose(self, menu, index, count):
        """Clicks entry `index` of an open popup menu of `count` plain entries."""
        height = menu["bottom"] - menu["top"]
        y = menu["top"] + int(height * (index + 0.5) / count)
        self.xdotool("mousemove", menu["left"] + 30, y)
        time.sleep(0.3)
        self.xdotool("click", "1")
        time.sleep(0.3)

    def tray_menu(self, index):
        """Chooses an entry of the tray icon's menu: Open, Start..., Do not start..., Help, Exit."""
        self.choose(self.open_menu_at(*TRAY_ICON, button=3), index, 5)

    def exit_app(self):
        proc = self.app
        self.tray_menu(4)
        proc.wait(20)
        # Let the prefix settle: the next start must not meet the old instance's mutex.
        self.wait_for(lambda: not self.windows("TForm1"), 20, "the program to end")

    def reg_add(self, key, name, data):
        args = ["wine", "reg", "add", key, "/d", data, "/f"]
        args[4:4] = ["/ve"] if name is None else ["/v", name]
        run(args, self.env, timeout=60)

    def reg_export(self, key):
        """The key as `wine reg export` writes it (UTF-16), decoded; empty when missing."""
        path = os.path.join(self.appdir, "..", "export.reg")
        with contextlib.suppress(FileNotFoundError):
            os.remove(path)
        run(["wine", "reg", "export", key, winpath(path), "/y"],
            self.env, timeout=60, check=False)
        if not os.path.exists(path):
            return ""
        return open(path, "rb").read().decode("utf-16")

    def focus_desktop(self):
        """Keys reach Wine only while X focus is on its desktop window (in plain mode: on any
        Wine window)."""
        name = "Wine System Tray" if self.monitors else "Wine desktop"
        _, out = run(["xdotool", "search", "--name", name], self.env, check=False)
        ids = out.split()
        if ids:
            run(["xdotool", "windowfocus", "--sync", ids[0]], self.env, check=False)

    def capture(self, start, end):
        """One ALT selection that ends in a capture; returns the new PNG's path."""
        before = set(self.image_files("png"))
        self.alt_select(start, end)

        def written():  # the files are written behind the preview: taken once the PNG is whole
            new = sorted(set(self.image_files("png")) - before)
            return new if new and open(new[0], "rb").read().endswith(b"IEND\xaeB`\x82") else None
        return self.wait_for(written, 15, "the capture")[0]

    def image_files(self, ext):
        return sorted(glob.glob(os.path.join(self.appdir, "Data", "Published", "img", "*." + ext)))

    def quick_capture(self, start, end, before_release=None, seconds=10):
        """A brisk ALT selection; True once its PNG and JPG are there. `before_release` runs
        with ALT still held, the frame spanned."""
        count = len(self.image_files("png"))
        self.xdotool("mousemove", *start)
        self.xdotool("keydown", "Alt_L")
        time.sleep(0.6)
        for i in (1, 2, 3):
            self.xdotool("mousemove", start[0] + (end[0] - start[0]) * i // 3,
                         start[1] + (end[1] - start[1]) * i // 3)
            time.sleep(0.06)
        time.sleep(0.2)
        if before_release:
            before_release()
        self.xdotool("keyup", "Alt_L")
        return self.poll(lambda: len(self.image_files("png")) > count and len(self.image_files("jpg")) > count,
                         seconds)

    def alt_select(self, start, end, rest=0.8, steps=8):
        """Holds ALT, rests at `start`, moves to `end` in steps, rests, releases."""
        self.xdotool("mousemove", *start)
        self.focus_desktop()
        self.xdotool("keydown", "Alt_L")
        time.sleep(rest)
        for i in range(1, steps + 1):
            self.xdotool("mousemove", start[0] + (end[0] - start[0]) * i // steps,
                         start[1] + (end[1] - start[1]) * i // steps)
            time.sleep(0.05)
        time.sleep(0.3)
        frame = self.windows("TClipForm")
        region = self.probe("region", "TClipForm")
        self.xdotool("keyup", "Alt_L")
        return frame, region

    def probe(self, *args, timeout=60):
        _, out = run(["wine", PROBE] + [str(a) for a in args], self.env, timeout=timeout,
                     check=False)
        return parse_kv(out)

    def unix_pid(self):
        return unix_pid_of(self.exe)

    def unix_status(self):
        """/proc/<pid>/status of the program as a dict of first values (kB figures as numbers)."""
        status = {}
        with contextlib.suppress(OSError, TypeError):
            for line in open(f"/proc/{self.unix_pid()}/status"):
                key, _, value = line.partition(":")
                status[key] = value.split()[0] if value.split() else ""
        return status

    def objects(self):
        """GDI objects, regions and windows the program holds, and its memory from Linux's view."""
        got = self.probe("objects", self.panel()["pid"])
        row = dict(got[0]) if got else {}
        row.pop("caption", None)
        status = self.unix_status()
        row["anon_kib"] = int(status.get("RssAnon", -1))
        return row

    def windows(self, cls):
        return self.probe("windows", cls)

    def panel(self):
        found = self.windows("TForm1")
        return found[0] if found else None

    def close_windows(self, caption_part):
        """Closes the windows whose caption contains the text, as the user would."""
        for w in self.probe("captions", caption_part):
            self.probe("post", w["hwnd"], "0x10")

    def clipboard_text(self):
        """The clipboard's Unicode text, exactly (None when it holds none)."""
        path = os.path.join(self.appdir, "..", "clipboard.bmp")
        with contextlib.suppress(FileNotFoundError):
            os.remove(path + ".txt")
        self.probe("clipboard", winpath(path))
        if not os.path.exists(path + ".txt"):
            return None
        return open(path + ".txt", "rb").read().decode("utf-8")

    def clipboard_size(self):
        """Width and height of the clipboard's bitmap, or None."""
        rows = self.probe("clipboard", winpath(os.path.join(self.appdir, "..", "clip.bmp")))
        return next(((r["width"], abs(r["height"])) for r in rows if "width" in r), None)

    def show_panel(self):
        """Opens the panel from the tray and keeps it open by resting the mouse on it."""
        self.tray_click()
        self.wait_for(lambda: (p := self.panel()) and p["visible"], 5, "the panel")
        time.sleep(0.6)  # fully faded in
        self.xdotool("mousemove", 120, 100)
        time.sleep(0.3)

    def tray_click(self):
        if not self.monitors:
            self.xdotool("mousemove", *TRAY_ICON, "click", "1")
            return
        # Plain mode has no taskbar: the icon sits in Wine's own tray window, wherever X put it.
        _, ids = run(["xdotool", "search", "--name", "Wine System Tray"], self.env, check=False)
        _, where = run(["xdotool", "getwindowgeometry", "--shell", ids.split()[0]], self.env)
        at = dict(line.split("=") for line in where.split())
        run(["xdotool", "mousemove", str(int(at["X"]) + 10), str(int(at["Y"]) + 10), "click", "1"],
            self.env)

    def xdotool(self, *args):
        """xdotool with Windows screen coordinates: X puts them at `origin` (where Wine shows the
        primary monitor's top-left; the root's corner on a virtual desktop)."""
        args = [str(a) for a in args]
        for i, a in enumerate(args[:-2]):
            if a == "mousemove":
                args[i + 1] = str(int(args[i + 1]) + self.origin[0])
                args[i + 2] = str(int(args[i + 2]) + self.origin[1])
        run(["xdotool"] + args, self.env, timeout=20)

    def read_text(self, box, scale=3):
        """Reads text off the screen as a person would: a screenshot of the box, read by OCR."""
        x0, y0, x1, y1 = box
        shot = self.screenshot(os.path.join(self.appdir, "..", "read.png"), (x1 - x0, y1 - y0, x0, y0))
        big = shot[:-4] + "-big.png"
        run(["convert", shot, "-resize", f"{scale * 100}%", big], self.env, timeout=30)
        _, text = run([HOST_TESSERACT, big, "stdout", "--psm", "6"], self.env, timeout=60, check=False)
        return " ".join(text.split())

    def balloon_text(self):
        """The text of the tray balloon on screen, or "" when none is up."""
        tips = self.probe("tooltips")
        if not tips:
            return ""
        t = tips[0]
        return self.read_text((t["left"], t["top"], t["right"], t["bottom"]))

    def screenshot(self, path, crop=None):
        cmd = ["import", "-window", "root"]
        if crop:
            cmd += ["-crop", "{}x{}+{}+{}".format(*crop)]
        run(cmd + [path], self.env, timeout=30)
        return path

    @staticmethod
    def poll(cond, seconds):
        """Like wait_for, but gives None instead of failing when time runs out."""
        end = time.time() + seconds
        while time.time() < end:
            got = cond()
            if got:
                return got
            time.sleep(0.1)
        return None

    @classmethod
    def wait_for(cls, cond, seconds, what):
        got = cls.poll(cond, seconds)
        if not got:
            raise AssertionError(f"timed out waiting for {what}")
        return got

    def stop(self):
        # Only what this session started: the program and the prefix's own server.
        for p in self.procs:
            if p.poll() is None:
                with contextlib.suppress(ProcessLookupError):
                    os.killpg(p.pid, signal.SIGTERM)
        run(["wineserver", "-k"], self.env, timeout=30, check=False)
        # A server still shutting down can take the next session's first programs with it.
        run(["wineserver", "-w"], self.env, timeout=60, check=False)
        for p in self.procs:
            with contextlib.suppress(subprocess.TimeoutExpired):
                p.wait(10)
        self.x.stop()


class Checks:
    """Collects failures so one run reports every broken behaviour at once."""

    def __init__(self):
        self.failed = []
        self.passed = 0

    def check(self, ok, what):
        if ok:
            self.passed += 1
            log(f"  ok   {what}")
        else:
            self.failed.append(what)
            log(f"  FAIL {what}")
        return ok

    def finish(self):
        log(f"{self.passed} passed, {len(self.failed)} failed")
        sys.exit(1 if self.failed else 0)


def scenario(fn=None, tools=False, dpi=96, monitors=None):
    """Runs a test body in a session and always tears the session down."""
    if fn is None:
        return lambda f: scenario(f, tools, dpi, monitors)

    def wrapper(checks):
        log(f"== {fn.__name__}")
        s = Session(fn.__name__, tools=tools, dpi=dpi, monitors=monitors)
        try:
            fn(s, checks)
        except Exception as e:  # a broken step fails the scenario, the others still run
            checks.check(False, f"{fn.__name__}: {type(e).__name__}: {e}")
        finally:
            s.stop()
    return wrapper
