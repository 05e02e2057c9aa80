"""Long use: a very long ALT selection driven by timer ticks, and many captures in a row.

GS_SOAK=long (scripts/test --long) runs the full counts; the default is a short form that
still catches a leak per tick or per capture. Every run appends what it tried and what
survived to soak-report.txt in the e2e work folder.
"""
import os
import subprocess
import threading
import time

from PIL import Image

from harness import WORK, Checks, Session, log, scenario

LONG = os.environ.get("GS_SOAK") == "long"
TICKS = 100_000 if LONG else 10_000
CAPTURES = 200 if LONG else 20
PATTERN = (300, 200, 700, 560)
TICK_TIMER = 1  # the main window's timer is the first the program creates


def report(what, tried, survived):
    line = f"{what}: tried {tried}; survived: {survived}"
    log("  report:", line)
    with open(os.path.join(WORK, "soak-report.txt"), "a", encoding="utf-8") as f:
        f.write(time.strftime("%Y-%m-%d %H:%M:%S ") + line + "\n")


def wiggle(s, stop):
    """Keeps the cursor moving over the pattern until told to stop."""
    i = 0
    while not stop.is_set():
        i += 1
        s.xdotool("mousemove", 450 + (i * 37) % 400, 330 + (i * 23) % 300)
        time.sleep(0.1)


@scenario
def ticks_with_alt_held(s: Session, c: Checks):
    s.pattern(*PATTERN)
    s.start()
    # The ticks reach the main window's timer: 120 of them run the panel's countdown out at once.
    s.tray_click()
    s.wait_for(lambda: (p := s.panel()) and p["visible"], 5, "the panel")
    s.xdotool("mousemove", 600, 600)
    s.probe("ticks", 120, TICK_TIMER)
    c.check(not s.panel()["visible"], "120 delivered ticks run the four-second countdown out at once")

    s.xdotool("mousemove", 400, 300)
    s.focus_desktop()
    s.xdotool("keydown", "Alt_L")
    time.sleep(0.5)  # the selection starts where ALT went down
    stop = threading.Event()
    mover = threading.Thread(target=wiggle, args=(s, stop))
    mover.start()
    samples = []
    try:
        s.probe("ticks", 1000, TICK_TIMER, timeout=600)  # warm up: the frame exists, caches filled
        samples.append(s.objects())
        chunk = 5000
        t0 = time.time()
        for _ in range(TICKS // chunk):
            got = s.probe("ticks", chunk, TICK_TIMER, timeout=900)
            c.check(got and got[0]["answered"] == chunk, f"every tick answered ({got})") or None
            samples.append(s.objects())
        elapsed = time.time() - t0
    finally:
        stop.set()
        mover.join()
    # The samples above are taken while the frame follows the cursor, when its next region may
    # be on its way; the last one is taken once it stands still.
    time.sleep(0.5)
    samples.append(s.objects())
    frame = s.windows("TClipForm")
    s.xdotool("mousemove", 650, 500)
    time.sleep(0.3)
    s.xdotool("keyup", "Alt_L")
    log(f"  {TICKS} ticks in {elapsed:.0f} s ({elapsed / TICKS * 1000:.2f} ms each)")
    for row in samples:
        log("   ", row)
    first, last = samples[0], samples[-1]
    gdi = [r["gdi"] for r in samples]
    windows = [r["windows"] for r in samples]
    c.check(frame and frame[0]["visible"], "the frame stayed up through the ticks")
    c.check(max(gdi) - min(gdi) <= 3 and last["regions"] <= first["regions"] + 1,
            f"GDI objects and regions stay flat ({min(gdi)}..{max(gdi)}, regions {first['regions']}->{last['regions']})")
    c.check(max(windows) == min(windows), f"the windows (USER objects) stay the same ({windows[0]})")
    growth = last["anon_kib"] - first["anon_kib"]
    c.check(first["anon_kib"] > 0 and growth <= 1024 + TICKS * 16 // 1024,
            f"private memory stays flat ({first['anon_kib']} -> {last['anon_kib']} KiB)")
    shot = s.wait_for(lambda: s.image_files("png"), 15, "the capture")
    size = Image.open(shot[0]).size if shot else None
    c.check(len(shot) == 1 and size == (250, 200), f"the selection still ends in one capture ({size})")
    report("ALT held with the cursor moving", f"{TICKS} ticks in {elapsed:.0f} s",
           f"GDI {min(gdi)}..{max(gdi)}, windows {windows[0]}, private memory {first['anon_kib']} -> "
           f"{last['anon_kib']} KiB, the capture at the end {'made' if shot else 'missing'}")


@scenario
def many_captures(s: Session, c: Checks):
    s.pattern(*PATTERN)
    s.start()
    s.focus_desktop()
    sizes = []
    t0 = time.time()
    for i in range(CAPTURES):
        if i == 1:  # the first capture made the preview, the frame's region and the caches
            before = s.objects()
        if i == CAPTURES // 2:
            middle = s.objects()
        w, h = 60 + (i * 53) % 300, 40 + (i * 31) % 250
        x, y = 320 + (i * 17) % 60, 220 + (i * 13) % 60
        if not s.quick_capture((x, y), (x + w, y + h)):
            log(f"  capture {i} made no files")
        sizes.append((w, h))
    elapsed = time.time() - t0
    time.sleep(1)
    after = s.objects()
    pngs, jpgs = s.image_files("png"), s.image_files("jpg")
    stems = {os.path.basename(p)[:-4] for p in pngs}
    c.check(len(pngs) == CAPTURES and len(jpgs) == CAPTURES, f"{CAPTURES} captures left {len(pngs)} PNG, {len(jpgs)} JPG")
    c.check(stems == {os.path.basename(p)[:-4] for p in jpgs} and len(stems) == len(pngs),
            "every PNG has its JPG under the same stem, and no stem repeats")
    valid = 0
    for png, jpg, size in zip(pngs, jpgs, sizes):
        with Image.open(png) as a, Image.open(jpg) as b:
            a.load()
            b.load()
            valid += a.size == size and b.size == size and a.mode == "RGB"
    checked = subprocess.run(["pngcheck", "-q"] + pngs, capture_output=True, text=True)
    c.check(valid == CAPTURES, f"every file decodes at its selection's size ({valid} of {CAPTURES})")
    c.check(checked.returncode == 0, f"pngcheck finds nothing wrong {checked.stdout[-500:]}")
    c.check(after["gdi"] - before["gdi"] <= 3, f"GDI objects stay flat ({before['gdi']} -> {after['gdi']})")
    # The heap settles over the first captures (their sizes differ); after that it must not keep
    # growing: a preview-sized picture kept per capture would add over 100 KiB each.
    late = after["anon_kib"] - middle["anon_kib"]
    c.check(middle["anon_kib"] > 0 and late <= 512 + 16 * (CAPTURES - CAPTURES // 2),
            f"private memory stops growing ({before['anon_kib']} -> {middle['anon_kib']} -> {after['anon_kib']} KiB)")
    log(f"  {CAPTURES} captures in {elapsed:.0f} s; {before} -> {middle} -> {after}")
    report("captures in a row", f"{CAPTURES} in {elapsed:.0f} s",
           f"{valid} valid PNG + JPG pairs, {len(stems)} unique stems, GDI {before['gdi']} -> {after['gdi']}, "
           f"private memory {before['anon_kib']} -> {middle['anon_kib']} (half-way) -> {after['anon_kib']} KiB")


if __name__ == "__main__":
    checks = Checks()
    ticks_with_alt_held(checks)
    many_captures(checks)
    checks.finish()
