"""Screen captures of real programs, with the text a person reads off them: bench/screens/.

Every capture is a crop of a screenshot of a program really drawing on a private X screen (Xvfb):
  wine-*     Wine's own programs (notepad, wordpad, regedit, winecfg, taskmgr, the console, the
             Open dialog, menus) in a virtual desktop, with ClearType, grey or no font
             smoothing, light and dark colours, in English, Czech and German, at 96, 120 and
             144 DPI, with Wine's Tahoma as the UI font;
  terminal   xterm with TrueType and bitmap fonts showing real command output (compiler
             errors, a traceback, ls, git log, diff, grep, dpkg, man pages);
  browser    pages Debian ships (Python's documentation, the Debian reference, the Valgrind and
             libxslt manuals) drawn by headless Chromium, some with a dark style sheet added to
             a copy;
  languages  running text in French, German, Italian, Portuguese, Russian and Spanish (man
             pages in xterm, the Debian reference in Chromium).
The truths (<name>.txt) were written by hand, looking at the pictures; this script makes only
the pictures and screens.tsv. It need not make the same pictures again: process memory, free
space, file times and the git log change, so a new run's truths must be read again.

    /usr/bin/python3 bench/real_screens.py [SCENE ...]   draw all scenes (or those named), crop
    /usr/bin/python3 bench/real_screens.py --raw SCENE   keep the whole screenshot only (to find crops)
    /usr/bin/python3 bench/real_screens.py --crop        draw nothing: crop the screenshots kept

Needs Debian's python3 with python3-pil and, beyond what scripts/bootstrap installs (Wine,
fonts-wine, Xvfb, xdotool, xclip, ImageMagick): chromium, xterm, xfonts-base, man-db,
manpages-fr/-de/-it/-es/-pt/-ru, debian-reference-en/-fr/-de/-it/-es/-pt, python3-doc,
fonts-liberation2, libxslt1-dev and valgrind (their HTML manuals), and the UTF-8 locales cs_CZ,
de_DE, fr_FR, it_IT, pt_PT, es_ES, ru_RU (uncommented in /etc/locale.gen, then locale-gen).
Its Wine prefix, screenshots (raw/) and scratch files live in $GS_SCREENS_WORK (default
/tmp/gs-screens). Wine runs one scene at a time and is stopped after each.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "scripts"))
import winedesktop  # noqa: E402

OUT = os.path.join(HERE, "screens")
WORK = os.environ.get("GS_SCREENS_WORK", "/tmp/gs-screens")
PREFIX = os.path.join(WORK, "prefix")
DESKTOP = (1600, 1200)
LOCALES = {"eng": "en_US.UTF-8", "ces": "cs_CZ.UTF-8", "deu": "de_DE.UTF-8", "fra": "fr_FR.UTF-8",
           "ita": "it_IT.UTF-8", "por": "pt_PT.UTF-8", "rus": "ru_RU.UTF-8", "spa": "es_ES.UTF-8"}

# Colours of Wine's windows: the light theme a new prefix has (drawn by its visual style),
# and a dark scheme drawn the classic way (no visual style, every colour from this table).
LIGHT = {"ActiveBorder": "255 255 255", "ActiveTitle": "50 150 250", "AppWorkSpace": "128 128 128",
    "Background": "37 111 149", "ButtonAlternateFace": "255 255 255", "ButtonDkShadow": "106 106 106",
    "ButtonFace": "245 245 245", "ButtonHilight": "255 255 255", "ButtonLight": "227 227 227",
    "ButtonShadow": "166 166 166", "ButtonText": "0 0 0", "GradientActiveTitle": "50 150 250",
    "GradientInactiveTitle": "128 128 128", "GrayText": "166 166 166", "Hilight": "48 150 250",
    "HilightText": "255 255 255", "HotTrackingColor": "224 224 224", "InactiveBorder": "255 255 255",
    "InactiveTitle": "128 128 128", "InactiveTitleText": "200 200 200", "InfoText": "0 0 0",
    "InfoWindow": "255 255 255", "Menu": "255 255 255", "MenuBar": "255 255 255",
    "MenuHilight": "48 150 250", "MenuText": "0 0 0", "Scrollbar": "255 255 255", "TitleText": "0 0 0",
    "Window": "255 255 255", "WindowFrame": "158 158 158", "WindowText": "0 0 0"}
DARK = {"Background": "20 20 20", "Window": "30 30 30", "WindowText": "230 230 230",
    "WindowFrame": "90 90 90", "ButtonFace": "45 45 48", "ButtonText": "230 230 230",
    "ButtonHilight": "80 80 84", "ButtonLight": "62 62 66", "ButtonShadow": "25 25 25",
    "ButtonDkShadow": "10 10 10", "ButtonAlternateFace": "45 45 48", "GrayText": "140 140 140",
    "Menu": "43 43 43", "MenuText": "230 230 230", "MenuBar": "43 43 43", "MenuHilight": "0 90 160",
    "Hilight": "0 90 160", "HilightText": "255 255 255", "HotTrackingColor": "110 170 255",
    "InfoWindow": "50 50 50", "InfoText": "230 230 230", "Scrollbar": "50 50 50", "AppWorkspace": "40 40 40",
    "ActiveTitle": "24 24 24", "GradientActiveTitle": "24 24 24", "TitleText": "240 240 240",
    "InactiveTitle": "38 38 38", "GradientInactiveTitle": "38 38 38", "InactiveTitleText": "160 160 160",
    "ActiveBorder": "45 45 48", "InactiveBorder": "45 45 48"}
SMOOTHING = {"cleartype": ("2", 2), "grey": ("2", 1), "aliased": ("0", 1)}


def sh(cmd, env=None, timeout=60, check=True):
    p = subprocess.run(["timeout", str(timeout)] + cmd, env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if check and p.returncode:
        raise RuntimeError(f"{cmd[0]} failed ({p.returncode})")


def xdo(env, *args):
    sh(["xdotool"] + [str(a) for a in args], env)


# ---------------------------------------------------------------------------- Wine programs
def import_reg(path, env):
    for attempt in range(3):  # a wineserver that is still shutting down can fail the first
        try:
            return sh(["wine", "regedit", "/s", winedesktop.winpath(path)], env)
        except RuntimeError:
            if attempt == 2:
                raise
            time.sleep(2)


class Wine:
    """Wine's programs in a virtual desktop of one private prefix; each scene restarts it."""

    def __init__(self, display):
        self.display = display
        self.setup = None
        self.procs = []

    def env(self, smoothing="grey", lang="eng"):
        env = winedesktop.wine_env(self.display, PREFIX, cleartype=smoothing == "cleartype")
        env.update(LANG=LOCALES[lang], LC_ALL=LOCALES[lang])
        return env

    def configure(self, smoothing, scheme, dpi, lang):
        """Writes font smoothing, colours and DPI into the prefix; the wineserver is stopped so
        that every program started next reads them."""
        self.stop()
        env = self.env(smoothing, lang)
        if not os.path.exists(os.path.join(PREFIX, "system.reg")):
            sh(["wineboot", "-i"], env, timeout=300)
            sh(["wineserver", "-w"], env, timeout=120)
        for font in winedesktop.UI_FONTS:
            shutil.copy(os.path.join(winedesktop.WINE_FONTS, font), os.path.join(PREFIX, "drive_c", "windows", "Fonts"))
        on, kind = SMOOTHING[smoothing]
        lines = ["REGEDIT4", "", r"[HKEY_CURRENT_USER\Control Panel\Desktop]",
                 f'"FontSmoothing"="{on}"', f'"FontSmoothingType"=dword:{kind:08x}',
                 '"FontSmoothingOrientation"=dword:00000001', '"FontSmoothingGamma"=dword:00000578',
                 f'"LogPixels"=dword:{dpi:08x}', "", r"[HKEY_CURRENT_USER\Control Panel\Colors]"]
        lines += [f'"{k}"="{v}"' for k, v in (DARK if scheme == "dark" else LIGHT).items()]
        lines += ["", r"[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\ThemeManager]",
                  f'"ThemeActive"="{0 if scheme == "dark" else 1}"']
        lines += ["", r"[HKEY_CURRENT_USER\Software\Wine\Explorer]", '"Desktop"="shots"', "",
                  r"[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]", f'"shots"="{DESKTOP[0]}x{DESKTOP[1]}"']
        reg = os.path.join(WORK, "setup.reg")
        with open(reg, "w", encoding="utf-8") as f:
            f.write("\r\n".join(lines) + "\r\n")
        import_reg(reg, env)
        sh(["wineserver", "-w"], env, timeout=120)
        self.setup = (smoothing, lang)

    def start(self, cmdline, wait=6, cwd="C:/users"):
        env = self.env(*self.setup)
        cwd = os.path.join(PREFIX, "drive_c", cwd[3:])
        with open(os.path.join(WORK, "wine.log"), "ab") as log:
            self.procs.append(subprocess.Popen(
                ["timeout", "600", "wine", "explorer", f"/desktop=shots,{DESKTOP[0]}x{DESKTOP[1]}"] + cmdline,
                env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=log, stderr=log))
        time.sleep(wait)

    def stop(self):
        if self.setup:
            sh(["wineserver", "-k"], self.env(*self.setup), check=False)
        for p in self.procs:
            try:
                p.wait(20)
            except subprocess.TimeoutExpired:
                p.kill()
        self.procs = []

    def reg(self, key, values):
        """Writes values (str or int) under an HKCU key before a program starts."""
        lines = ["REGEDIT4", "", f"[HKEY_CURRENT_USER\\{key}]"]
        for k, v in values.items():
            lines.append(f'"{k}"=dword:{v:08x}' if isinstance(v, int) else f'"{k}"="{v}"')
        path = os.path.join(WORK, "extra.reg")
        with open(path, "w", encoding="utf-8") as f:
            f.write("\r\n".join(lines) + "\r\n")
        import_reg(path, self.env(*self.setup))


def play(env, wine, steps):
    """Plays a scene's steps: starts programs, types, clicks, presses keys (the pointer stays
    over the desktop: with no window manager, keys go to the window under it)."""
    for step in steps:
        what, args = step[0], step[1:]
        if what == "reg":
            wine.reg(*args)
        elif what == "run":
            wine.start(args[0], *args[1:])
            xdo(env, "mousemove", 800, 1150)
        elif what == "type":
            for i, line in enumerate(args[0].split("\n")):
                if i:
                    xdo(env, "key", "Return")
                if line:
                    xdo(env, "type", "--delay", 30, line)
        elif what == "paste":  # xdotool cannot type letters missing from the X keymap into Wine
            clip = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard", "-i"], env=env,
                                    stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            clip.stdin.write(args[0].encode("utf-8"))
            clip.stdin.close()
            time.sleep(0.5)
            xdo(env, "key", "ctrl+v")
            time.sleep(1)
            clip.terminate()
            clip.wait(10)
        elif what == "key":
            xdo(env, "key", "--delay", 80, *args)
        elif what == "click":
            xdo(env, "mousemove", args[0], args[1], "click", args[2] if len(args) > 2 else 1)
        elif what == "move":
            xdo(env, "mousemove", *args)
        elif what == "wait":
            time.sleep(args[0])
        else:
            raise ValueError(what)
        time.sleep(0.4)


# ---------------------------------------------------------------------------- xterm and Chromium
def xterm(env, options, script, lang="eng", size="100x32"):
    """xterm at the top left of the bare X screen running `script` in bash; the screenshot is
    of its window alone, taken once the output has settled."""
    title = f"gs-term-{time.monotonic_ns()}"
    env = dict(env, LANG=LOCALES[lang], LC_ALL=LOCALES[lang], TERM="xterm-256color", HOME=WORK,
               MANPAGER="less", PS1="$ ")
    p = subprocess.Popen(["timeout", "300", "xterm", "-T", title, "-geometry", size + "+0+0", "-b", "4",
                          *options, "-e", "bash", "-c", script + "\nsleep 300"], env=env, cwd=WORK,
                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        sh(["xdotool", "search", "--sync", "--name", title], env, timeout=30)
        time.sleep(4)
        ids = subprocess.run(["xdotool", "search", "--name", title], env=env, capture_output=True,
                             text=True).stdout.split()
        shot = os.path.join(WORK, "shot.png")
        sh(["import", "-window", ids[0], shot], env)
        return shot
    finally:
        p.terminate()
        p.wait(10)


def chromium(url, size, css=None, scale=1):
    """A page as headless Chromium draws it at `size`; `css` is added to a copy of the page
    (its links and pictures still resolve against the original)."""
    if css:
        src = url[len("file://"):]
        with open(src, encoding="utf-8") as f:
            page = f.read()
        head = page.lower().find("<head")
        head = page.find(">", head) + 1  # the base goes first: every link after it resolves against it
        page = page[:head] + f'<base href="file://{os.path.dirname(src)}/">' + page[head:]
        at = page.lower().find("</head>")
        page = page[:at] + f"<style>{css}</style>" + page[at:]
        copy = os.path.join(WORK, "page.html")
        with open(copy, "w", encoding="utf-8") as f:
            f.write(page)
        url = "file://" + copy
    profile = os.path.join(WORK, "chromium-profile")
    shutil.rmtree(profile, ignore_errors=True)
    shot = os.path.join(WORK, "shot.png")
    sh(["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
        "--disable-background-networking", "--disable-component-update", "--disable-sync",
        f"--user-data-dir={profile}", "--hide-scrollbars", f"--window-size={size[0]},{size[1]}",
        f"--force-device-scale-factor={scale}",
        f"--screenshot={shot}", url], timeout=120)
    return shot


# ---------------------------------------------------------------------------- what is drawn
LETTER = """Hi Martin,

the backup of the shared drive finished at 02:15 last night.
Please check the log before Friday; three files could not be copied:
  1. budget_2024.xlsx (locked by another user)
  2. Q3 summary.docx
  3. photos/team-day.zip (too large, 4.7 GB)

Thanks,
Eva"""
CODE = """def parse_line(line):
    key, _, value = line.partition("=")
    return key.strip(), value.strip()

# TODO: handle quoted values and comments (#, ;)
with open("setup.cfg", encoding="utf-8") as f:
    settings = dict(parse_line(l) for l in f if "=" in l)
print(f"{len(settings)} settings read")"""
TODO = """Shopping list for Saturday
1. milk, eggs, 500 g flour (done)
2. batteries (AA x 8)
3. return the library book "The Pragmatic Programmer"
4. call the garage: +44 20 7946 0018
Budget: 85.50 EUR, paid 12.30 so far"""
CZECH = """Dobrý den, paní Horáková,

posílám Vám opravenou fakturu č. 2024/0387. Částka 12 450 Kč je splatná
do 15. září na účet 123456789/0800. Omlouvám se za chybu v první verzi.

Děkuji a přeji hezký den,
Jiří Černý, účetní oddělení"""
GERMAN = """Sehr geehrte Damen und Herren,

bitte senden Sie mir die Unterlagen für die Prüfung bis zum 12. Mai zu.
Die Größe der Dateien überschreitet 25 MB, daher schicke ich sie über
unseren Server (Zugang: ftp.beispiel.de, Benutzer „mueller“).

Mit freundlichen Grüßen
Jörg Müller"""
NOTEPAD = r"Software\Microsoft\Notepad"


def notepad(text, width=820, height=420, face="Tahoma", points=100, then=()):
    """notepad at the top left with `text` typed (ASCII) or pasted, in the font given."""
    setting = {"iWindowPosX": 0, "iWindowPosY": 0, "iWindowPosDX": width, "iWindowPosDY": height,
               "fStatusBar": 1, "fWrap": 0, "lfFaceName": face, "iPointSize": points}
    enter = [("type" if text.isascii() else "paste", text)] if text else []
    return [("reg", NOTEPAD, setting), ("run", ["notepad.exe"]), ("click", 200, 150), *enter, *then]


def menu(key):
    """An empty notepad with one of its menus open (over a text, a menu would cut its lines);
    `key` opens it from the keyboard, an x position by a click on the menu bar."""
    return notepad("", then=[("key", key) if isinstance(key, str) else ("click", key, 27), ("wait", 1)])


def regedit(*path):
    """regedit opened at a key of HKEY_CURRENT_USER, reached by typing in its tree."""
    steps = [("run", ["regedit.exe"]), ("key", "Home", "Down", "Down", "Right")]
    for part in path:
        steps += [("wait", 1), ("type", part), ("key", "Right")]
    return steps + [("wait", 1)]


def tab(program, dpi, right, first=(57, 58)):
    """A program whose window opens at the top left, on its tab `right` places after the first."""
    x, y = (round(v * dpi / 96) for v in first)
    return [("run", [program]), ("click", x, y), ("key", *["Right"] * right), ("wait", 1)] if right else \
        [("run", [program])]


def taskmgr(dpi):
    """Task Manager maximised, on its Processes tab (not at 96 DPI: there its CPU time column
    cuts its figures)."""
    return [("run", ["taskmgr.exe"]), ("key", "alt+space", "x"), ("wait", 1),
            ("click", 20, round(34 * dpi / 96)), ("key", "Right"), ("move", 800, 1000), ("wait", 2)]


def wordpad(text, size_box, points=11):
    """wordpad maximised, `text` pasted and set in `points` through the size box of its toolbar."""
    return [("run", WORDPAD, 8), ("key", "alt+space", "x"), ("click", 400, 400), ("paste", text),
            ("key", "ctrl+a"), ("click", *size_box), ("key", "ctrl+a"), ("type", f"{points}\n"),
            ("click", 400, 600), ("key", "ctrl+End")]


WORDPAD = [r"C:\Program Files\Windows NT\Accessories\wordpad.exe"]
CONSOLE = ["wineconsole.exe", "cmd"]
OPEN = [("run", ["notepad.exe"], 6, "C:/windows"), ("key", "ctrl+o"), ("wait", 2)]
CT, GR, AL = "cleartype", "grey", "aliased"

SCENES = {
    # ClearType
    "ct-en-notepad": ("wine", (CT, "light", 96, "eng"), notepad(LETTER)),
    "ct-en-notepad-menu": ("wine", (CT, "light", 96, "eng"), menu(40)),
    "ct-en-regedit": ("wine", (CT, "light", 96, "eng"), regedit("Control Panel", "Desktop")),
    "ct-en-winecfg": ("wine", (CT, "light", 96, "eng"), tab("winecfg.exe", 96, 2)),
    "ct-en-taskmgr": ("wine", (CT, "light", 144, "eng"), taskmgr(144)),
    "ct-en-open": ("wine", (CT, "light", 96, "eng"), OPEN),
    "ct-en-console": ("wine", (CT, "light", 96, "eng"),
                      [("run", CONSOLE), ("type", "dir C:\\windows\\system32\\drivers\nver\n"), ("wait", 2)]),
    "ct-dk-notepad": ("wine", (CT, "dark", 96, "eng"), notepad(CODE, 760, 330, "DejaVu Sans Mono", 100)),
    "ct-dk-notepad-menu": ("wine", (CT, "dark", 96, "eng"), menu("alt+f")),
    "ct-dk-regedit": ("wine", (CT, "dark", 96, "eng"), regedit("Console")),
    "ct-dk-winecfg": ("wine", (CT, "dark", 96, "eng"), tab("winecfg.exe", 96, 3)),
    "ct-dk-console": ("wine", (CT, "dark", 96, "eng"), [("run", CONSOLE), ("type", "help\n"), ("wait", 2)]),
    "ct-cs-notepad": ("wine", (CT, "light", 96, "ces"), notepad(CZECH)),
    "ct-cs-notepad-menu": ("wine", (CT, "light", 96, "ces"), menu("alt+s")),
    "ct-cs-regedit": ("wine", (CT, "light", 96, "ces"), regedit("Control Panel", "International")),
    "ct-cs-winecfg": ("wine", (CT, "light", 96, "ces"), tab("winecfg.exe", 96, 2)),
    "ct-cs-taskmgr": ("wine", (CT, "dark", 120, "ces"), taskmgr(120)),
    "ct-de-notepad": ("wine", (CT, "light", 120, "deu"), notepad(GERMAN, 980, 460, "Liberation Sans", 110)),
    "ct-de-winecfg": ("wine", (CT, "light", 120, "deu"), tab("winecfg.exe", 120, 0)),
    "ct-de-wordpad": ("wine", (CT, "dark", 144, "deu"), wordpad(GERMAN, (265, 107))),
    "ct-en-wordpad": ("wine", (CT, "light", 144, "eng"), wordpad(TODO, (265, 107), 12)),
    "ct-en-notepad-144": ("wine", (CT, "light", 144, "eng"), notepad(CODE, 1100, 500, "Liberation Mono", 100)),
    # grey anti-aliasing (Tahoma's own grid-fitting table turns it off at small sizes: most UI text
    # is drawn aliased, as Windows draws it; DejaVu, the console at 120 DPI and larger text are smoothed)
    "gr-en-notepad": ("wine", (GR, "light", 96, "eng"), notepad(TODO, face="DejaVu Sans", points=100)),
    "gr-en-regedit": ("wine", (GR, "light", 96, "eng"), regedit("Control Panel", "Desktop", "WindowMetrics")),
    "gr-en-console": ("wine", (GR, "light", 96, "eng"), [("run", CONSOLE), ("type", "dir C:\\windows\\Fonts\nvol\n"), ("wait", 2)]),
    "gr-cs-notepad": ("wine", (GR, "dark", 120, "ces"), notepad(CZECH, 900, 400, "DejaVu Sans", 100)),
    "gr-cs-winecfg": ("wine", (GR, "dark", 120, "ces"), tab("winecfg.exe", 120, 3)),
    "gr-cs-console": ("wine", (GR, "dark", 120, "ces"), [("run", CONSOLE), ("type", "dir C:\\windows\n"), ("wait", 2)]),
    "gr-de-notepad": ("wine", (GR, "light", 144, "deu"), notepad(GERMAN, 1100, 500, "DejaVu Serif", 110)),
    "gr-de-regedit": ("wine", (GR, "light", 144, "deu"), regedit("Control Panel", "Mouse")),
    "gr-de-taskmgr": ("wine", (GR, "light", 144, "deu"), taskmgr(144)),
    "gr-en-wordpad": ("wine", (GR, "dark", 144, "eng"), wordpad(LETTER, (265, 107), 11)),
    # no smoothing
    "al-en-notepad": ("wine", (AL, "light", 96, "eng"), notepad(LETTER)),
    "al-en-winecfg": ("wine", (AL, "light", 96, "eng"), tab("winecfg.exe", 96, 5)),
    "al-en-console": ("wine", (AL, "light", 96, "eng"), [("run", CONSOLE), ("type", "dir C:\\windows\\Fonts\n"), ("wait", 2)]),
    "al-de-regedit": ("wine", (AL, "dark", 96, "deu"), regedit("Control Panel", "Colors")),
    "al-de-notepad": ("wine", (AL, "dark", 96, "deu"), notepad(GERMAN, face="Liberation Serif", points=120)),
    "al-de-notepad-menu": ("wine", (AL, "dark", 96, "deu"), menu("alt+b")),
    "al-cs-taskmgr": ("wine", (AL, "light", 120, "ces"), taskmgr(120)),
    "al-cs-open": ("wine", (AL, "light", 120, "ces"), OPEN),
    "al-cs-winecfg": ("wine", (AL, "light", 120, "ces"), tab("winecfg.exe", 120, 1)),
    # drawn later, for the tuning half: the Open dialog and winecfg tabs it lacked
    "gr-de-open": ("wine", (GR, "light", 96, "deu"), OPEN),
    "al-dk-open": ("wine", (AL, "dark", 96, "eng"), OPEN),
    "ct-cs-open": ("wine", (CT, "dark", 144, "ces"), OPEN),
    "al-de-winecfg": ("wine", (AL, "dark", 96, "deu"), tab("winecfg.exe", 96, 2)),
    "gr-en-winecfg": ("wine", (GR, "light", 144, "eng"), tab("winecfg.exe", 144, 4)),
}

# Small broken programs for the compilers and the interpreter, written into WORK.
SOURCES = {
    "stock.c": """#include <stdio.h>
#include <string.h>

struct item { const char *name; int count; };

static int total(const struct item *items, size_t n)
{
    int sum = 0;
    for (size_t i = 0; i < n; i++)
        sum += items[i].count
    return sum;
}

int main(void)
{
    struct item stock[] = { {"apples", 12}, {"pears", 7} };
    printf("%s items\\n", total(stock, 2));
    return lenght;
}
""",
    "orders.cpp": """#include <map>
#include <string>
#include <vector>

struct Order { std::string customer; double total; };

double sum(const std::vector<Order>& orders) {
    double s = 0;
    for (const auto& o : orders) s += o.totl;
    return s;
}

int main() {
    std::map<std::string, int> counts;
    counts["apples"] = "three";
    std::vector<Order> v{{"Ann", 12.5}};
    return sum(v) > 10 ? 0 : 1;
}
""",
    "report.py": """import json


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def window_size(cfg):
    return cfg["window"]["width"], cfg["window"]["height"]


print("size:", window_size(load("settings.json")))
""",
    "settings.json": '{"window": {"height": 600, "maximised": false}}\n',
    "Makefile": "CFLAGS = -Wall -O2\n\nstock: stock.o\n\t$(CC) -o $@ $^\n",
    "old.conf": "[server]\nport = 8080\nhost = 0.0.0.0\nworkers = 4\nlog_level = info\n\n[cache]\nsize_mb = 256\nttl = 3600\n",
    "new.conf": "[server]\nport = 8443\nhost = 0.0.0.0\nworkers = 8\nlog_level = warning\ntls = on\n\n[cache]\nsize_mb = 512\nttl = 3600\n",
}
# A prompt as a coloured bash prompt shows it, then the command and its real output.
PROMPT = r"""p() { printf '\033[01;32mdev@workstation\033[00m:\033[01;34m~/src\033[00m$ %s\n' "$*"; eval "$*"; }
end() { printf '\033[01;32mdev@workstation\033[00m:\033[01;34m~/src\033[00m$ '; }
"""
DARK_TERM = ["-bg", "black", "-fg", "grey90"]
LIGHT_TERM = ["-bg", "white", "-fg", "black"]


def fa(face, size):
    return ["-fa", face, "-fs", str(size)]


# The bitmap fonts of xfonts-base in their Unicode encoding (the short aliases name the Latin-1 one).
FIXED = {"6x13": "-misc-fixed-medium-r-semicondensed--13-120-75-75-c-60-iso10646-1",
         "7x13": "-misc-fixed-medium-r-normal--13-120-75-75-c-70-iso10646-1",
         "9x15": "-misc-fixed-medium-r-normal--15-140-75-75-c-90-iso10646-1"}


def fn(name):
    return ["-fn", FIXED[name]]


def term(options, commands, lang="eng", size="100x32"):
    return ("xterm", (options, lang, size), PROMPT + commands + "\nend")


def man(options, page, lang, size="90x30"):
    return ("xterm", (options, lang, size), f"man {page}")


SCENES.update({
    "term-gcc": term(fa("DejaVu Sans Mono", 11) + DARK_TERM, "p gcc -Wall -fdiagnostics-color=always -c stock.c", size="96x34"),
    "term-gxx": term(fn("7x13") + LIGHT_TERM, "p g++ -Wall -fdiagnostics-color=always -c orders.cpp", size="110x30"),
    "term-py": term(fa("DejaVu Sans Mono", 12) + LIGHT_TERM, "p python3 report.py", size="90x20"),
    "term-ls": term(fn("9x15") + DARK_TERM, "p ls -l --color=always /etc/X11 /usr/share/X11/xkb", size="90x34"),
    "term-git": term(fa("Liberation Mono", 10) + ["-bg", "#1e1e2e", "-fg", "#cdd6f4"],
                     "p git -C /work/main log -4 --stat --color=always", size="120x50"),
    "term-make": term(fa("DejaVu Sans Mono", 13) + LIGHT_TERM, "p make CC=gcc", size="90x24"),
    "term-zen": term(fn("9x15") + LIGHT_TERM, "p 'python3 -c \"import this\"'", size="80x26"),
    "term-diff": term(fa("Liberation Mono", 12) + LIGHT_TERM, "p diff -u --color=always old.conf new.conf", size="80x24"),
    "term-dpkg": term(fn("6x13") + DARK_TERM, "p \"dpkg --no-pager -l 'fonts-*' 'xfonts-*'\"", size="124x32"),
    "term-grep": term(fa("DejaVu Sans Mono", 10) + ["-bg", "#002b36", "-fg", "#93a1a1"],
                      "p grep -n --color=always -e return -e sum stock.c orders.cpp report.py", size="100x26"),
    "term-man-tar": man(fn("7x13") + LIGHT_TERM, "tar", "eng", "100x40"),
    "term-man-git": man(fa("DejaVu Sans Mono", 11) + DARK_TERM, "git-log", "eng"),
    # running text in other languages: manual pages
    "lang-man-fr": man(fa("DejaVu Sans Mono", 11) + LIGHT_TERM, "ls", "fra"),
    "lang-man-de": man(fn("9x15") + DARK_TERM, "cp", "deu"),
    "lang-man-es": man(fa("Liberation Mono", 11) + LIGHT_TERM, "grep", "spa"),
    "lang-man-it": man(fn("7x13") + LIGHT_TERM, "man", "ita", "100x36"),
    "lang-man-pt": man(fa("DejaVu Sans Mono", 10) + DARK_TERM, "dpkg", "por", "100x36"),
    "lang-man-ru": man(fa("DejaVu Sans Mono", 11) + DARK_TERM, "ls", "rus"),
    "lang-man-ru2": man(fn("9x15") + LIGHT_TERM, "man", "rus"),
})

PYDOC = "file:///usr/share/doc/python3/html/"
DEBREF = "file:///usr/share/debian-reference/"
DARK_PAGE = ("html, body, div, section, nav, aside, header, footer, table, tr, td, th, dl, dd, dt, p, li, ul, ol, pre, "
             "code, tt, span.pre {background-color: #1b1d23 !important; color: #d6d9df !important; "
             "border-color: #444a55 !important}"
             " a, a * {color: #7cb7ff !important} code, tt, span.pre {color: #e8c9a0 !important}"
             " h1, h2, h3, h4, h5 {color: #ffffff !important; background: none !important}")
SCENES.update({
    "web-py-functions": ("chromium", ((1280, 1000),), PYDOC + "library/functions.html"),
    "web-py-controlflow": ("chromium", ((1280, 1600),), PYDOC + "tutorial/controlflow.html"),
    "web-py-stdtypes": ("chromium", ((1280, 2400),), PYDOC + "library/stdtypes.html"),
    "web-py-dark": ("chromium", ((1280, 1400), DARK_PAGE), PYDOC + "tutorial/datastructures.html"),
    "web-py-errors-150": ("chromium", ((1100, 900), None, 1.5), PYDOC + "tutorial/errors.html"),
    "web-debref-index": ("chromium", ((1280, 1000),), DEBREF + "index.en.html"),
    "web-debref-ch01": ("chromium", ((1280, 2600),), DEBREF + "ch01.en.html"),
    "web-debref-dark": ("chromium", ((1280, 2000), DARK_PAGE), DEBREF + "ch03.en.html"),
    "web-xsltproc": ("chromium", ((1280, 1100),), "file:///usr/share/doc/libxslt1-dev/html/xsltproc.html"),
    "web-valgrind": ("chromium", ((1280, 1200),), "file:///usr/share/doc/valgrind/html/manual-core.html"),
    # running text in other languages: the Debian reference
    "lang-web-fr": ("chromium", ((1280, 2600),), DEBREF + "ch01.fr.html"),
    "lang-web-de": ("chromium", ((1280, 2600), None, 1.25), DEBREF + "ch02.de.html"),
    "lang-web-it": ("chromium", ((1280, 2600),), DEBREF + "ch03.it.html"),
    "lang-web-es": ("chromium", ((1280, 2600), DARK_PAGE), DEBREF + "ch04.es.html"),
    "lang-web-pt": ("chromium", ((1280, 2600),), DEBREF + "ch06.pt.html"),
})

from real_screens_captures import CAPTURES  # noqa: E402  the set's captures and halves


def renderer(scene):
    kind, setup, steps = SCENES[scene]
    if kind == "wine":
        program = next(step[1] for step in steps if step[0] == "run")
        return "wine " + " ".join(os.path.basename(p.replace("\\", "/")).removesuffix(".exe") for p in program)
    if kind == "xterm":
        options = [next((k for k, v in FIXED.items() if v == o), o) for o in setup[0]]
        return "xterm " + " ".join(options[:options.index("-bg")])
    return "chromium" + (f" --force-device-scale-factor={setup[2]}" if len(setup) > 2 else "")


def write_table():
    with open(os.path.join(OUT, "screens.tsv"), "w", encoding="utf-8") as f:
        f.write("name\tkind\tlang\tsplit\trenderer\tnotes\n")
        for name, scene, _box, kind, lang, split, notes in CAPTURES:
            f.write(f"{name}\t{kind}\t{lang}\t{split}\t{renderer(scene)}\t{notes}\n")


def shoot(name, display, wine):
    """The whole screenshot of one scene, as WORK/raw/<name>.png."""
    kind, setup, steps = SCENES[name]
    env = dict(os.environ, DISPLAY=display)
    if kind == "wine":
        wine.configure(*setup)
        env = wine.env(setup[0], setup[3])
        play(env, wine, steps)
        shot = os.path.join(WORK, "shot.png")
        sh(["import", "-window", "root", shot], env)
        wine.stop()
    elif kind == "xterm":
        for file, text in SOURCES.items():
            with open(os.path.join(WORK, file), "w", encoding="utf-8") as f:
                f.write(text)
        shot = xterm(env, setup[0], steps, *setup[1:])
    else:
        shot = chromium(steps, *setup)
    raw = os.path.join(WORK, "raw", name + ".png")
    os.makedirs(os.path.dirname(raw), exist_ok=True)
    shutil.move(shot, raw)
    return raw


def crop(name):
    """The captures of a scene, cut from its whole screenshot in WORK/raw."""
    from PIL import Image
    with Image.open(os.path.join(WORK, "raw", name + ".png")) as screen:
        screen = screen.convert("RGB")
        for capture in CAPTURES:
            if capture[1] == name:
                x, y, w, h = capture[2]
                screen.crop((x, y, x + w, y + h)).save(os.path.join(OUT, capture[0] + ".png"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("scenes", nargs="*", help="scenes to draw (default: all)")
    parser.add_argument("--raw", action="store_true", help="keep the whole screenshots only")
    parser.add_argument("--crop", action="store_true", help="draw nothing: cut the captures from the screenshots kept")
    a = parser.parse_args()
    names = a.scenes or list(SCENES)
    os.makedirs(OUT, exist_ok=True)
    if not a.crop:
        os.makedirs(WORK, exist_ok=True)
        server = winedesktop.Xvfb(DESKTOP)
        wine = Wine(server.display)
        try:
            for name in names:
                print(name, shoot(name, server.display, wine), flush=True)
        finally:
            wine.stop()
            server.stop()
    if not a.raw:
        for name in names:
            crop(name)
        write_table()


if __name__ == "__main__":
    main()
