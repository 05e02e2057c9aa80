"""The program's shell: start-up into the tray, the panel's countdown, Exit, one instance."""
import os
import subprocess
import time

from PIL import Image

from harness import Checks, Session, log, scenario


@scenario
def start_and_countdown(s: Session, c: Checks):
    # Watch the panel's window from before the program starts until well after the first tick.
    monitor = subprocess.Popen(["timeout", "60", "wine", os.environ["GS_PROBE"], "monitor",
                                "TForm1", "6000"], env=s.env, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, text=True)
    time.sleep(0.5)
    s.start(wait=False)
    out = monitor.communicate(timeout=90)[0]
    log("  monitor:", out.strip())
    stats = dict(kv.split("=") for kv in out.split())
    c.check(int(stats.get("seen", 0)) > 0, "the panel window exists after start")
    c.check(int(stats.get("shown", 1)) == 0, "the panel never shows anything at start")
    panel = s.panel()
    c.check(panel and panel["caption"] == "About", "the panel's caption is About")
    c.check(panel and (panel["right"] - panel["left"], panel["bottom"] - panel["top"]) == (240, 210)
            and (panel["left"], panel["top"]) == (0, 0), "the panel is 240 x 210 at (0, 0)")
    c.check(panel and panel["topmost"] == 1 and panel["layered"] == 1, "top-most and layered")

    s.tray_click()
    clicked = time.time()
    timeline, crops = [], []
    work = os.path.join(s.appdir, "..")
    while time.time() - clicked < 6.5:
        p = s.panel()
        t = time.time() - clicked
        shown = bool(p and p["visible"] and not p["iconic"])
        timeline.append((t, shown, p["alpha"] if p else -1))
        if shown:
            path = s.screenshot(os.path.join(work, f"info{len(crops)}.png"), (12, 13, 150, 4))
            crops.append(Image.open(path).convert("RGB").tobytes())
        if shown and 1.5 < t < 2.5 and not os.path.exists(os.path.join(work, "panel.png")):
            s.screenshot(os.path.join(work, "panel.png"), (240, 210, 0, 0))
    log("  timeline:", " ".join(f"{t:.1f}:{int(v)}:{a}" for t, v, a in timeline))
    first = next((t for t, v, _ in timeline if v), None)
    last = max((t for t, v, _ in timeline if v), default=None)
    c.check(first is not None and first < 1.0, "a tray click shows the panel at once")
    c.check(any(a == 255 for _, v, a in timeline if v), "the panel reaches full opacity")
    c.check(last is not None and 3.2 < last < 5.0 and not timeline[-1][1],
            f"the panel hides about 4 s after the click (last seen at {last})")
    # The countdown label changes 4 -> 3 -> 2 -> 1: four different pictures, in runs.
    runs = [crops[0]] if crops else []
    for crop in crops[1:]:
        if crop != runs[-1]:
            runs.append(crop)
    c.check(len(runs) >= 4 and len(set(runs)) >= 4,
            f"the countdown shows four different figures ({len(set(runs))} seen)")

    shot = os.path.join(work, "panel.png")
    if c.check(os.path.exists(shot), "a screenshot of the panel was taken"):
        img = Image.open(shot).convert("RGB")
        grey = [img.getpixel((236, y))[0] for y in (0, 105, 209)]
        log("  background greys at rows 0, 105, 209:", grey, "row 20:", img.getpixel((100, 20)))
        c.check(abs(grey[0] - 112) <= 2 and abs(grey[1] - 56) <= 2 and abs(grey[2] - 104) <= 2,
                "the background gradient runs 112 -> 56 -> 104")
        c.check(img.getpixel((100, 20)) == (0, 0, 0) and img.getpixel((5, 20)) == (0, 0, 0),
                "a black line runs across row 20")


@scenario
def one_instance_and_exit(s: Session, c: Checks):
    first = s.start()
    second = s.start(wait=False)
    try:
        code = second.wait(30)
    except subprocess.TimeoutExpired:
        code = None
    c.check(code == 0, f"a second start exits at once (exit code {code})")
    c.check(len(s.windows("TForm1")) == 1, "still exactly one panel window")
    c.check(len(s.windows("GlimmershotTray")) == 1, "still exactly one tray owner")

    # Exit from the tray menu: right-click the icon, the last entry is "Exit".
    s.xdotool("mousemove", 1268, 1014, "click", "3")
    menu = s.wait_for(lambda: [w for w in s.windows("#32768") if w["visible"]], 10, "the tray menu")
    c.check(bool(menu), "a right click opens the tray menu")
    m = menu[0]
    s.xdotool("mousemove", m["left"] + 30, m["bottom"] - 10)
    time.sleep(0.3)
    s.xdotool("click", "1")
    try:
        code = first.wait(20)
    except subprocess.TimeoutExpired:
        code = None
    c.check(code is not None, "Exit ends the program")
    c.check(not s.windows("TForm1"), "no panel window is left")


if __name__ == "__main__":
    checks = Checks()
    start_and_countdown(checks)
    one_instance_and_exit(checks)
    checks.finish()
