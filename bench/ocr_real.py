"""How well the shipped text recognition reads the captures of real programs in bench/screens.

Each capture is read two ways, and the character error rate (edit distance over the truth's
length, whitespace runs as one blank) is printed per kind of capture and per half of the set
(`tune`, the half rules are decided on, and `held`, the half kept for checking):
  layout  tesseract.exe as the program runs it: the capture enlarged exactly as the program
          enlarges it (img1.png), read with the program's parameters;
  whole   the same capture prepared as one picture, without the layout step (screentext_bench
          --whole), read by the same engine.

  ocr_real.py [--split tune|held|all] [--kinds K,...] [--names N,...] [--whole] [--host]
              [--before DIR] [--show-worst N] [--save DIR] [--check LIMITS]

Under Wine by default (the win64 build present), on an Xvfb of its own with a ClearType prefix
(GS_OCR_PREFIX, else build/win64/ocr-prefix). --check LIMITS (kind, limit in % per line) exits 1
when a kind reads worse than its limit: ctest's "ocr" check on the held-out half. --host runs
the native front end (build/native) and the host's own engine with the shipped language data, ten times faster:
for searching only, since the host's engine reads some pictures differently; decide under Wine.
--before DIR also reads with the tesseract.exe in DIR (a tools folder of an earlier build).
"""
import argparse
import concurrent.futures
import csv
import os
import shutil
import subprocess
import sys
import tempfile
import time

import numpy as np
from PIL import Image

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCREENS = os.path.join(ROOT, "bench", "screens")
WIN = os.path.join(ROOT, "build", "win64", "bin")
TOOLS = os.path.join(WIN, "Data", "TesseractOCR")
NATIVE = os.path.join(ROOT, "build", "native", "bin")
os.environ.setdefault("GS_WINEPREFIX", os.environ.get("WINEPREFIX", os.path.join(ROOT, "build", "win64", "wineprefix")))
os.environ.setdefault("GS_WORK", os.path.join(ROOT, "build", "win64", "bench"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
from test_ocr import upscale  # noqa: E402  the program's enlargement, written independently
import winedesktop  # noqa: E402
from winedesktop import winpath  # noqa: E402

WINE_ENV = dict(os.environ)


def samples(split="all", kinds=None, names=None):
    with open(os.path.join(SCREENS, "screens.tsv"), encoding="utf-8") as f:
        rows = list(csv.DictReader(f, delimiter="\t"))
    return [r for r in rows if (split == "all" or r["split"] == split)
            and (not kinds or r["kind"] in kinds) and (not names or r["name"] in names)]


def truth(name):
    return norm(open(os.path.join(SCREENS, name + ".txt"), encoding="utf-8").read())


def norm(text):
    return " ".join(text.split())


def distance(a, b):
    """Edit distance, a row at a time in numpy (the truths run to thousands of characters):
    a row's insertions are a running minimum of (best so far - column) plus the column."""
    if not a or not b:
        return max(len(a), len(b))
    bv = np.array([ord(c) for c in b])
    col = np.arange(len(b) + 1)
    prev = col.copy()
    for i, ch in enumerate(a, 1):
        t = np.empty_like(prev)
        t[0] = i
        t[1:] = np.minimum(prev[1:] + 1, prev[:-1] + (bv != ord(ch)))
        prev = np.minimum.accumulate(t - col) + col
    return int(prev[-1])


def factor(w, h):
    return min(10, 16000 // max(w, h))


def wine(args, seconds=600):
    return subprocess.run(["timeout", str(seconds), "wine", *args], env=WINE_ENV, stdin=subprocess.DEVNULL,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode


def wine_desktop():
    """An Xvfb and a prefix drawing with ClearType, as a user's; returns the server to stop."""
    server = winedesktop.Xvfb((1024, 768))
    prefix = os.environ.get("GS_OCR_PREFIX", os.path.join(ROOT, "build", "win64", "ocr-prefix"))
    WINE_ENV.update(winedesktop.wine_env(server.display, prefix, cleartype=True))
    winedesktop.make_prefix(WINE_ENV, cleartype=True, say=lambda m: print(m, file=sys.stderr))
    return server


def check(rows, results, limits_file):
    """The kinds whose error rate is over its limit, as messages."""
    limits = {}
    for line in open(limits_file, encoding="utf-8"):
        if line.strip() and not line.startswith("#"):
            kind, limit = line.split()
            limits[kind] = float(limit)
    failed = []
    for kind, limit in limits.items():
        names = [s["name"] for s in rows if s["kind"] == kind]
        errors = sum(results[("layout", n)][0] for n in names)
        chars = sum(results[("layout", n)][1] for n in names)
        rate = 100 * errors / max(chars, 1)
        if not names or rate > limit:
            failed.append(f"{kind}: {rate:.2f} % over its limit of {limit:.2f} % ({len(names)} captures)")
    return failed


def read_file(path):
    return open(path, encoding="utf-8", errors="replace").read() if os.path.exists(path) else ""


def read_layout_wine(sample, work, tools=TOOLS):
    """tesseract.exe as the program runs it, on img1.png enlarged as the program enlarges."""
    img = np.asarray(Image.open(os.path.join(SCREENS, sample["name"] + ".png")).convert("RGB"))
    picture = os.path.join(work, "img1.png")
    Image.fromarray(upscale(img, factor(img.shape[1], img.shape[0]))).save(picture, compress_level=1)
    base = os.path.join(work, "result")
    code = wine([os.path.join(tools, "tesseract.exe"), "-l", sample["lang"], "-psm", "1", winpath(picture),
                 winpath(base)])
    if not os.path.exists(base + ".txt"):
        print(f"{sample['name']}: no text (tesseract.exe exited {code})", file=sys.stderr)
    return read_file(base + ".txt")


def engine_args(lang, psm, hocr):
    args = ["-l", lang, "--psm", psm]
    if hocr:
        args += ["-c", "tessedit_create_txt=1", "-c", "tessedit_create_hocr=1", "-c", "hocr_char_boxes=1"]
    return args


# The engine's languages as tesseract.exe asks for them (EngineLanguages); GS_LANGS="rus=rus"
# tries others in the host loop.
LANGS = {code: code + "+eng" for code in ("ces", "deu", "fra", "ita", "por", "rus", "spa")}
LANGS.update(kv.split("=") for kv in os.environ.get("GS_LANGS", "").split(",") if "=" in kv)


def read_host(sample, work, whole):
    """The native front end and the host's engine with the shipped data."""
    capture = os.path.join(SCREENS, sample["name"] + ".png")
    bench = os.path.join(NATIVE, "screentext_bench")
    subprocess.run([bench] + (["--whole"] if whole else []) + [work, capture], check=True,
                   stdout=subprocess.DEVNULL)
    name = sample["name"]
    pgm, bands = os.path.join(work, name + ".pgm"), os.path.join(work, name + ".bands")
    layout = os.path.getsize(bands) > 0 if os.path.exists(bands) else False
    out = os.path.join(work, name)
    subprocess.run(["tesseract", pgm, out, "--tessdata-dir", os.path.join(TOOLS, "tesseract", "tessdata")]
                   + engine_args(LANGS.get(sample["lang"], sample["lang"]), "6", layout), stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    if not layout:
        return read_file(out + ".txt")
    got = subprocess.run([bench, "--read", bands, out + ".hocr"], capture_output=True)
    return got.stdout.decode("utf-8", "replace")


def read_whole_wine(sample, work):
    """The capture as one picture (screentext_bench --whole under Wine), read by the shipped engine."""
    capture = os.path.join(SCREENS, sample["name"] + ".png")
    wine([os.path.join(WIN, "screentext_bench.exe"), "--whole", winpath(work), winpath(capture)])
    out = os.path.join(work, "whole")
    wine([os.path.join(TOOLS, "tesseract", "tesseract.exe"), winpath(os.path.join(work, sample["name"] + ".pgm")),
          winpath(out), "--tessdata-dir", winpath(os.path.join(TOOLS, "tesseract", "tessdata"))]
         + engine_args(LANGS.get(sample["lang"], sample["lang"]), "6", False))
    return read_file(out + ".txt")


def measure(rows, readers, save=None):
    """{(reader, name): (errors, chars, text, seconds)}"""
    results = {}

    def one(sample, who, fn):
        work = tempfile.mkdtemp(prefix="ocr-real-")
        try:
            t0 = time.monotonic()
            text = fn(sample, work)
            seconds = time.monotonic() - t0
        finally:
            shutil.rmtree(work, ignore_errors=True)
        if save:
            os.makedirs(save, exist_ok=True)
            with open(os.path.join(save, f"{sample['name']}.{who}.txt"), "w", encoding="utf-8") as f:
                f.write(text)
        want = truth(sample["name"])
        return (who, sample["name"]), (distance(norm(text), want), len(want), norm(text), seconds)

    jobs = [(s, who, fn) for s in rows for who, (fn, parallel) in readers.items()]
    serial = [j for j in jobs if not readers[j[1]][1]]
    parallel = [j for j in jobs if readers[j[1]][1]]
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        for key, value in pool.map(lambda j: one(*j), parallel):
            results[key] = value
    for j in serial:
        key, value = one(*j)
        results[key] = value
    return results


def table(rows, results, readers):
    groups = {}
    for s in rows:
        for g in ("all", s["split"], s["kind"], s["kind"] + "/" + s["split"]):
            groups.setdefault(g, []).append(s["name"])
    order = sorted(groups, key=lambda g: (g != "all", g not in ("tune", "held"), "/" in g, g))
    print(f"  {'':28}" + "".join(f"{who:>12}" for who in readers) + "   captures  chars")
    for g in order:
        cells = []
        for who in readers:
            errors = sum(results[(who, n)][0] for n in groups[g])
            chars = sum(results[(who, n)][1] for n in groups[g])
            cells.append(f"{100 * errors / max(chars, 1):10.2f} %")
        chars = sum(results[(next(iter(readers)), n)][1] for n in groups[g])
        print(f"  {g:28}" + "".join(f"{c:>12}" for c in cells) + f"   {len(groups[g]):8} {chars:6}")


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--split", default="all", choices=("tune", "held", "all"))
    p.add_argument("--kinds")
    p.add_argument("--names")
    p.add_argument("--whole", action="store_true")
    p.add_argument("--host", action="store_true")
    p.add_argument("--before")
    p.add_argument("--show-worst", type=int, default=0)
    p.add_argument("--save")
    p.add_argument("--check")
    a = p.parse_args()
    rows = samples(a.split, a.kinds and a.kinds.split(","), a.names and a.names.split(","))
    readers = {}
    if a.host:
        readers["layout"] = (lambda s, w: read_host(s, w, False), True)
        if a.whole:
            readers["whole"] = (lambda s, w: read_host(s, w, True), True)
    else:
        readers["layout"] = (read_layout_wine, True)
        if a.before:
            readers["before"] = (lambda s, w: read_layout_wine(s, w, a.before), True)
        if a.whole:
            readers["whole"] = (read_whole_wine, True)
    t0 = time.monotonic()
    server = None if a.host else wine_desktop()
    try:
        results = measure(rows, readers, a.save)
    finally:
        if server:
            server.stop()
    print(f"{len(rows)} captures, {sum(results[('layout', s['name'])][1] for s in rows)} characters "
          f"({'host engine' if a.host else 'under Wine'}, {time.monotonic() - t0:.0f} s); CER:")
    table(rows, results, readers)
    if a.show_worst:
        worst = sorted(rows, key=lambda s: -results[("layout", s["name"])][0] / max(1, results[("layout", s["name"])][1]))
        for s in worst[:a.show_worst]:
            e, n, text, _ = results[("layout", s["name"])]
            print(f"  {100 * e / n:5.1f} % {s['name']} ({s['kind']}, {s['split']})")
    if a.check:
        failed = check(rows, results, a.check)
        for message in failed:
            print("FAIL", message)
        sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
