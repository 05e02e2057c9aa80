"""How well and how fast the shipped text recognition reads screen captures, under Wine.

Two sets of captures with their ground truth, drawn here:
  text     Tahoma (Wine's UI font) and DejaVu at 8 to 16 px, greyscale-antialiased, aliased and
           subpixel (RGB) rendering, light and dark schemes, English and Czech: paragraphs,
           menus, dialogs with buttons, tables and crops with no margin;
  layouts  screens drawn the way programs draw them (bench/screen_layouts.py): file lists and
           tables with icons, a settings page with a side pane, two text columns, toolbars,
           check-box lists, contacts with avatars, bullet lists; light and dark, English and
           Czech; their truth as a person reads them.
Each is enlarged exactly as the program does (img1.png) and read by:
  ours     tesseract.exe, the front end in the tools folder, given the program's parameters;
  before   with --before DIR, the tesseract.exe in DIR (a front end built from an earlier commit,
           beside a tesseract\\ folder holding the same engine), read in the same run;
  plain    with --plain, the engine given img1.png as it is, with --psm 1 (what the program
           asked for).

Printed: CER and WER of each over the whole set, each part and each kind of capture (edit
distance over the truth's length, text compared with all whitespace runs as one blank), the
worst samples, the front end's time for 800 x 400 and 1600 x 900 captures, and the whole
program's time from the icon's click to the text on the clipboard for captures of 800 x 400
and 1200 x 900 (the test screen is 1280 x 1024), and for 1600 x 900 on a 1920 x 1200 screen (a
prefix of its own). Run by scripts/bench (WINEPREFIX set); needs the win64 build. Asserts nothing."""
import os
import random
import shutil
import subprocess
import sys
import time

import numpy as np
from PIL import Image, ImageDraw, ImageFont

import screen_layouts

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
os.environ.setdefault("GS_WINEPREFIX", os.environ.get("WINEPREFIX", os.path.join(ROOT, "build", "win64", "wineprefix")))
os.environ.setdefault("GS_WORK", os.path.join(ROOT, "build", "win64", "bench"))
os.environ.setdefault("GS_EXE", os.path.join(ROOT, "build", "win64", "bin", "Glimmershot.exe"))
os.environ.setdefault("GS_PROBE", os.path.join(ROOT, "build", "win64", "bin", "probe.exe"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import Session  # noqa: E402
from test_ocr import TEXT_ICON, upscale  # noqa: E402  the program's enlargement, written independently

TOOLS = os.path.join(ROOT, "build", "win64", "bin", "Data", "TesseractOCR")
WORK = os.path.join(ROOT, "build", "win64", "ocr-bench")
FONTS = {"tahoma": "/usr/share/wine/fonts/tahoma.ttf", "tahoma-bold": "/usr/share/wine/fonts/tahomabd.ttf",
         "dejavu": "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
         "dejavu-serif": "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"}
ENGLISH = ["Glimmershot reads this", "Open the folder of the last capture", "Save changes before closing?",
           "The quick brown fox jumps over the lazy dog", "Settings are stored in setup.csv",
           "Record video of the selected area", "Convert the capture to text", "File Edit View Help",
           "Version 5.3.0 built on 2026-12-08", "Press F10 to stop recording"]
CZECH = ["Příliš žluťoučký kůň úpěl ďábelské ódy", "Otevřít složku s poslední fotkou",
         "Uložit změny před zavřením?", "Nastavení je uloženo v souboru", "Převést snímek na text",
         "Nahrávání videa vybrané oblasti", "Soubor Úpravy Zobrazení Nápověda", "Stiskněte F10 pro zastavení"]
SCHEMES = {"light": ((255, 255, 255), (0, 0, 0)), "dark": ((30, 30, 30), (220, 220, 220)),
           "blue": ((0, 84, 153), (255, 255, 255)), "grey": ((240, 240, 240), (60, 60, 60))}


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def draw(lines, font, px, scheme, mode, layout, margin=8):
    """A capture: `lines` laid out as `layout`, as a screen would show them."""
    f = ImageFont.truetype(FONTS[font], px)
    back, ink = SCHEMES[scheme]
    gap = int(px * 1.6)
    if layout == "table":
        cells = [l.split(" ", 1) for l in lines]
        col = max(f.getlength(c[0]) for c in cells) + 3 * px
        width = int(col + max(f.getlength(c[1]) for c in cells if len(c) > 1)) + 2 * margin
    else:
        width = int(max(f.getlength(l) for l in lines)) + 2 * margin + (2 * px if layout == "menu" else 0)
    height = gap * len(lines) + 2 * margin
    img = Image.new("L", (width, height), 0)
    d = ImageDraw.Draw(img)
    if mode == "aliased":
        d.fontmode = "1"
    for i, line in enumerate(lines):
        y = margin + i * gap
        x = margin + (2 * px if layout == "menu" else 0)
        if layout == "table":
            first, _, rest = line.partition(" ")
            d.text((x, y), first, fill=255, font=f)
            d.text((x + col, y), rest, fill=255, font=f)
        else:
            d.text((x, y), line, fill=255, font=f)
    cover = np.asarray(img, dtype=np.float64) / 255
    if mode == "subpixel":
        # Each colour channel sees its own third of the pixel: fringes as subpixel rendering has.
        left, right = np.roll(cover, 1, axis=1), np.roll(cover, -1, axis=1)
        cover = np.stack([(2 * cover + left) / 3, cover, (2 * cover + right) / 3], axis=2)
    else:
        cover = np.repeat(cover[:, :, None], 3, axis=2)
    back, ink = np.array(back, dtype=np.float64), np.array(ink, dtype=np.float64)
    rgb = back * (1 - cover) + ink * cover
    if layout == "menu":  # a separator and a highlighted item, as menus have
        rgb[margin + gap - 3, :, :] = back * 0.8
    if layout == "dialog":  # buttons: a frame round each line's text
        for i in range(len(lines)):
            y0, y1 = margin + i * gap - 3, margin + i * gap + px + 4
            rgb[max(0, y0), margin // 2:width - margin // 2] = ink * 0.5 + back * 0.5
            rgb[min(height - 1, y1), margin // 2:width - margin // 2] = ink * 0.5 + back * 0.5
    img = np.clip(np.rint(rgb), 0, 255).astype(np.uint8)
    if layout == "tight":  # cropped right up to the ink
        ys, xs = np.where(np.abs(img.astype(int) - back.astype(int)).sum(axis=2) > 40)
        img = img[ys.min():ys.max() + 1, xs.min():xs.max() + 1]
    return img


def samples():
    rnd = random.Random(7)
    out = []
    layouts = ["paragraph", "menu", "dialog", "table", "tight"]
    n = 0
    for lang, texts in (("eng", ENGLISH), ("ces", CZECH)):
        for font in FONTS:
            for px in (8, 11, 13, 16):
                mode = ("antialiased", "aliased", "subpixel")[n % 3]
                scheme = list(SCHEMES)[n % 4]
                layout = layouts[n % 5]
                lines = rnd.sample(texts, 3 if layout != "tight" else 2)
                if layout == "table":
                    lines = [l for l in lines if " " in l]
                out.append((f"text-{layout}-{lang}-{font}-{px}px-{mode}-{scheme}", lang, lines,
                            draw(lines, font, px, scheme, mode, layout)))
                n += 1
    return out + screen_layouts.samples()


def distance(a, b):
    prev = list(range(len(b) + 1))
    for i, x in enumerate(a, 1):
        cur = [i]
        for j, y in enumerate(b, 1):
            cur.append(min(prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + (x != y)))
        prev = cur
    return prev[-1]


def norm(text):
    return " ".join(text.split())


def wine(args, seconds=600):
    start = time.monotonic()
    subprocess.run(["timeout", str(seconds), "wine", *args], stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.monotonic() - start


def factor(w, h):
    return min(10, 16000 // max(w, h))


def read_all(img, lang, name, readers):
    """The text each reader makes of the capture, and its time."""
    folder = os.path.join(WORK, name)
    os.makedirs(folder, exist_ok=True)
    picture = os.path.join(folder, "img1.png")
    f = factor(img.shape[1], img.shape[0])
    Image.fromarray(upscale(img, f)).save(picture, compress_level=1)
    out = {}
    for who, tools in readers.items():
        base = os.path.join(folder, who)
        if who == "plain":
            args = [os.path.join(tools, "tesseract", "tesseract.exe"), winpath(picture), winpath(base), "-l",
                    lang, "--psm", "1", "--tessdata-dir", winpath(os.path.join(tools, "tesseract", "tessdata"))]
        else:
            args = [os.path.join(tools, "tesseract.exe"), "-l", lang, "-psm", "1", winpath(picture), winpath(base)]
        seconds = wine(args)
        text = open(base + ".txt", encoding="utf-8", errors="replace").read() if os.path.exists(base + ".txt") else ""
        out[who] = (text, seconds)
    return out


def main(before=None, plain=False):
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    wine(["cmd", "/c", "exit"], 120)  # Wine's start, once
    readers = {"ours": TOOLS}
    if before:
        readers["before"] = before
    if plain:
        readers["plain"] = TOOLS
    # Per reader and group: char errors, chars, word errors, words, seconds.
    totals = {}
    rows = []
    for name, lang, lines, img in samples():
        truth = norm(" ".join(lines))
        part, kind = name.split("-")[:2]
        got = read_all(img, lang, name, readers)
        for who, (text, seconds) in got.items():
            text = norm(text)
            for group in ("all", part, part + "/" + kind):
                t = totals.setdefault((who, group), [0, 0, 0, 0, 0.0])
                t[0] += distance(text, truth)
                t[1] += len(truth)
                t[2] += distance(text.split(), truth.split())
                t[3] += len(truth.split())
                t[4] += seconds
        rows.append((distance(norm(got["ours"][0]), truth) / len(truth), name, norm(got["ours"][0]), truth))
    n = totals[("ours", "all")]
    print(f"{len(rows)} captures, {n[1]} characters, {n[3]} words")
    labels = {"ours": "tesseract.exe (this build)", "before": f"tesseract.exe in {before}",
              "plain": "engine on img1.png, --psm 1"}
    groups = sorted({g for (_, g) in totals}, key=lambda g: (g != "all", "/" in g, g))
    print(f"  {'':24}" + "".join(f"{w:>24}" for w in readers))
    for g in groups:
        cells = []
        for who in readers:
            c, chars, w, words, _ = totals[(who, g)]
            cells.append(f"CER {100 * c / chars:5.2f} % WER {100 * w / words:5.1f} %")
        print(f"  {g:24}" + "".join(f"{c:>24}" for c in cells))
    for who in readers:
        print(f"  {labels[who]}: {totals[(who, 'all')][4]:.0f} s for the set")
    print("  worst for the front end:")
    for cer, name, got, truth in sorted(rows, reverse=True)[:6]:
        print(f"    {100 * cer:5.1f} % {name}: {got!r} (truth {truth!r})")

    for w, h in ((800, 400), (1600, 900)):
        lines = (ENGLISH * 40)[: h // 20]
        page = draw(lines, "tahoma", 11, "light", "antialiased", "paragraph")[:h, :w]
        if page.shape[0] < h or page.shape[1] < w:
            full = np.full((h, w, 3), 255, np.uint8)
            full[: page.shape[0], : page.shape[1]] = page
            page = full
        name = f"page-{w}x{h}"
        folder = os.path.join(WORK, name)
        os.makedirs(folder)
        picture = os.path.join(folder, "img1.png")
        Image.fromarray(upscale(page, factor(w, h))).save(picture, compress_level=1)
        for who, tools in readers.items():
            if who == "plain":
                continue
            seconds = wine([os.path.join(tools, "tesseract.exe"), "-l", "eng", "-psm", "1", winpath(picture),
                            winpath(os.path.join(folder, who))])
            print(f"  {labels[who]} on a {w} x {h} capture ({w * factor(w, h)} x {h * factor(w, h)} img1.png): "
                  f"{seconds:.1f} s")


def program_timing(sizes):
    s = Session("ocr_timing", tools=True)
    try:
        s.pattern(40, 60, 900, 90, text="Glimmershot reads this")
        s.start()
        for w, h in sizes:
            s.capture((30, 40), (30 + w, 40 + h))
            s.show_panel()
            s.xdotool("mousemove", *TEXT_ICON, "click", "1")
            clicked = time.monotonic()
            text = s.poll(lambda: (t := s.clipboard_text()) and "reads" in t and t, 120)
            print(f"  program, icon click to text on the clipboard, {w} x {h} capture: "
                  f"{time.monotonic() - clicked:.1f} s ({text!r})", flush=True)
            s.poll(lambda: not s.balloon_text(), 20)
    finally:
        s.stop()


if __name__ == "__main__":
    import argparse
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--before", help="a tools folder with an earlier build's tesseract.exe")
    parser.add_argument("--plain", action="store_true", help="also the engine on img1.png as it is")
    parser.add_argument("--program", metavar="WxH,...", help="only the program's timing, for these captures")
    a = parser.parse_args()
    if a.program:
        program_timing([tuple(int(v) for v in size.split("x")) for size in a.program.split(",")])
    else:
        main(a.before, a.plain)
        # The sessions below use the prefix with a desktop of their own: the runs above must end.
        subprocess.run(["timeout", "120", "wineserver", "-w"])
        program_timing([(800, 400), (1200, 900)])
        # Larger captures need larger screens, whose desktops need prefixes of their own; a
        # 3840 x 2160 capture is enlarged 4 times (15360 x 8640).
        for screen, capture in (("1920x1200", "1600x900"), ("3900x2240", "3840x2160")):
            env = dict(os.environ, GS_SCREEN=screen, GS_WINEPREFIX=os.environ["GS_WINEPREFIX"] + "-" + screen,
                       GS_WORK=os.environ["GS_WORK"] + "-" + screen)
            subprocess.run([sys.executable, os.path.abspath(__file__), "--program", capture], env=env)
