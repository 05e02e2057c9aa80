"""Two monitors, the second left of the primary (negative x) and of another size, in Wine's plain
mode: captures on it and across the seam, the panel's place, and a recording there."""
import os
import time

from PIL import Image

from harness import Checks, Session, log, scenario
from test_recording import folder, frames, start_recording, stray_pixels

# X rectangles (w, h, x, y), the primary first: in Windows coordinates the primary is
# (0, 0)-(1024, 768) and the second monitor (-1280, 0)-(0, 1024).
MONITORS = [(1024, 768, 1280, 0), (1280, 1024, 0, 0)]
PATTERN = (-1200, 80, 1500, 560)  # x, y, w, h: most of it on the second monitor


def capture_is_screen(s: Session, c: Checks, start, end, what):
    png = s.capture(start, end)
    area = (*start, *end)
    off = stray_pixels(png, area)
    log(f"  {what}: {os.path.basename(png)}, {off} pixels off the screen")
    c.check(off == 0, f"a capture {what} is the screen, pixel for pixel")


@scenario(monitors=MONITORS)
def two_monitors(s: Session, c: Checks):
    s.start()
    s.pattern(*PATTERN)
    capture_is_screen(s, c, (-1000, 150), (-701, 351), "on the monitor left of the primary")
    panel = s.poll(lambda: (p := s.panel()) and p["visible"] and p, 5)
    c.check(bool(panel) and (panel["left"], panel["top"]) == (0, 0),
            f"the panel shows at the primary monitor's top-left: {panel}")
    capture_is_screen(s, c, (-150, 250), (151, 421), "across the seam")

    # A recording on the second monitor: clean frames and the cursor mark where the cursor was.
    area = (-1100, 200, -899, 351)
    start_recording(s, area)
    cursor = (-1000, 280)
    for i in range(6):
        s.xdotool("mousemove", cursor[0] - 60 + i * 10, cursor[1] - 30 + i * 5)
        time.sleep(0.25)
    s.xdotool("mousemove", *cursor)
    time.sleep(1.0)
    s.tray_click()  # ends the recording
    names = s.poll(lambda: (n := frames(s)) and s.poll(lambda: n == frames(s), 1) and n, 15) or []
    paths = [os.path.join(folder(s, "Temp", "Video"), n) for n in names]
    stray = [stray_pixels(p, area, 50) for p in paths]
    log(f"  recording: {len(names)} frames, pixels off beyond the cursor mark {stray[:1]} first, "
        f"{sum(stray)} in all")
    c.check(len(names) > 12 and not any(stray),
            "every frame of a recording there is the screen and the cursor mark, the first included")
    # The tray click moves the cursor off the area first, so the last frames may have no mark.
    marked = [p for p in paths if stray_pixels(p, area)]
    at = (cursor[0] - area[0], cursor[1] - area[1])
    under = Image.open(marked[-1]).convert("RGB").getpixel(at) if marked else None
    c.check(under == (0, 0, 0), f"the mark's plus sign sits on the cursor where it rested: {under}")


if __name__ == "__main__":
    checks = Checks()
    two_monitors(checks)
    checks.finish()
