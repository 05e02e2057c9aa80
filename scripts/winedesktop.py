"""Wine on a private X screen, as scripts/run, scripts/bench and the end-to-end tests use it.

A prefix made here looks like a user's desktop: Wine's own Tahoma is the UI font (Wine 8 does
not find it in a fresh prefix and falls back to a wider font), and, where asked, text is drawn
with ClearType's sub-pixel colour fringes, as Windows draws it by default.

From the shell:
    winedesktop.py xvfb WxH [--keep]       starts an Xvfb on a free display, prints "PID :N"
    winedesktop.py prefix PREFIX [--desktop NAME,WxH] [--plain] [--cleartype]
                                           makes PREFIX once (DISPLAY must be set)
    winedesktop.py env PREFIX [--cleartype] prints the environment lines Wine needs, to eval
"""
import argparse
import contextlib
import fcntl
import os
import shutil
import subprocess
import sys
import tempfile

WINE_FONTS = "/usr/share/wine/fonts"
# The UI font in regular and bold, and the title-bar buttons' symbols.
UI_FONTS = ("tahoma.ttf", "tahomabd.ttf", "marlett.ttf")
# Bumped whenever make_prefix adds a step, so an older prefix is made again.
READY = ".glimmershot-ready-2"


def winpath(path):
    """The path as Wine's programs see it, through drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Xvfb:
    """An X server on a display it picks itself (a fixed number collides with other runs)."""

    def __init__(self, size, keep=False, detach=False):
        """`keep`: the server is not reset when its last client leaves (RandR monitors stay);
        `detach`: it outlives this process (for a shell script that ends it by its PID)."""
        r, w = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", f"{size[0]}x{size[1]}x24", "-nolisten",
             "tcp"] + (["-noreset"] if keep else []), pass_fds=(w,), stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=detach)
        os.close(w)
        with os.fdopen(r) as f:
            number = f.readline().strip()
        if not number:
            self.proc.kill()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()


def fontconfig_file(prefix):
    """A fontconfig setup that adds sub-pixel (RGB) rendering to the machine's own: Wine takes
    its font smoothing from fontconfig, the registry alone gives grey anti-aliasing."""
    path = prefix.rstrip("/") + ".fonts.conf"
    if not os.path.exists(path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write('<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "fonts.dtd">\n<fontconfig>\n'
                    '  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>\n'
                    '  <match target="font">\n'
                    '    <edit name="antialias" mode="assign"><bool>true</bool></edit>\n'
                    '    <edit name="rgba" mode="assign"><const>rgb</const></edit>\n'
                    '    <edit name="lcdfilter" mode="assign"><const>lcddefault</const></edit>\n'
                    '  </match>\n</fontconfig>\n')
    return path


def wine_env(display, prefix, cleartype=False):
    env = dict(os.environ)
    env.update(WINEPREFIX=prefix, WINEDEBUG="-all", DISPLAY=display,
               WINEDLLOVERRIDES="mscoree,mshtml=")
    if cleartype:
        env["FONTCONFIG_FILE"] = fontconfig_file(prefix)
    return env


def run(cmd, env, timeout=60, check=True):
    """Runs a command to its end; never pipes wine into anything else."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        p = subprocess.run(["timeout", str(timeout)] + cmd, env=env, stdout=out, stderr=err,
                           stdin=subprocess.DEVNULL)
        out.seek(0)
        err.seek(0)
        text = out.read().decode("utf-8", "replace")
        if check and p.returncode != 0:
            raise RuntimeError(f"{cmd[0]} failed ({p.returncode}): {err.read().decode()[-2000:]}")
        return p.returncode, text


def make_prefix(env, desktop=None, plain=False, cleartype=False, say=print):
    """Makes the prefix of `env` once (`wineboot -i`, ≈ 15 s). `desktop` (name, (w, h)): every
    Wine program opens in that virtual desktop; `plain`: Wine's windows go on X itself, on
    every monitor X has (its Xinerama path: its XRandR path sees only Xvfb's one output)."""
    prefix = env["WINEPREFIX"]
    os.makedirs(os.path.dirname(os.path.abspath(prefix)), exist_ok=True)
    with open(prefix.rstrip("/") + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(os.path.join(prefix, READY)):
            return
        shutil.rmtree(prefix, ignore_errors=True)
        say(f"creating the Wine prefix {prefix} (once)")
        run(["wineboot", "-i"], env, timeout=300)
        fonts = os.path.join(prefix, "drive_c", "windows", "Fonts")
        for name in UI_FONTS:
            with contextlib.suppress(OSError):
                shutil.copy(os.path.join(WINE_FONTS, name), fonts)
        if desktop:
            name, (w, h) = desktop
            key = r"HKCU\Software\Wine\Explorer"
            run(["wine", "reg", "add", key, "/v", "Desktop", "/d", name, "/f"], env)
            run(["wine", "reg", "add", key + r"\Desktops", "/v", name, "/d", f"{w}x{h}", "/f"], env)
        if plain:
            run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "UseXRandR", "/d",
                 "N", "/f"], env)
        if cleartype:
            key = r"HKCU\Control Panel\Desktop"
            run(["wine", "reg", "add", key, "/v", "FontSmoothing", "/d", "2", "/f"], env)
            for name, value in (("FontSmoothingType", 2), ("FontSmoothingOrientation", 1),
                                ("FontSmoothingGamma", 1400)):
                run(["wine", "reg", "add", key, "/v", name, "/t", "REG_DWORD", "/d", str(value),
                     "/f"], env)
        run(["wineserver", "-w"], env, timeout=120)
        open(os.path.join(prefix, READY), "w").close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    sub = parser.add_subparsers(dest="what", required=True)
    x = sub.add_parser("xvfb")
    x.add_argument("size")
    x.add_argument("--keep", action="store_true")
    p = sub.add_parser("prefix")
    p.add_argument("prefix")
    p.add_argument("--desktop", help="NAME,WxH")
    p.add_argument("--plain", action="store_true")
    p.add_argument("--cleartype", action="store_true")
    e = sub.add_parser("env")
    e.add_argument("prefix")
    e.add_argument("--cleartype", action="store_true")
    a = parser.parse_args()
    if a.what == "xvfb":
        server = Xvfb(tuple(int(v) for v in a.size.split("x")), keep=a.keep, detach=True)
        print(server.proc.pid, server.display)
    elif a.what == "prefix":
        desktop = None
        if a.desktop:
            name, size = a.desktop.split(",")
            desktop = (name, tuple(int(v) for v in size.split("x")))
        env = wine_env(os.environ.get("DISPLAY", ""), os.path.abspath(a.prefix), a.cleartype)
        make_prefix(env, desktop, a.plain, a.cleartype, say=lambda m: print(m, file=sys.stderr))
    else:
        env = wine_env(os.environ.get("DISPLAY", ""), os.path.abspath(a.prefix), a.cleartype)
        for k in ("WINEPREFIX", "WINEDEBUG", "WINEDLLOVERRIDES", "FONTCONFIG_FILE"):
            if k in env:
                print(f"export {k}='{env[k]}'")


if __name__ == "__main__":
    main()
