"""Video recording, slow motion and rendering by ff.exe with the FFmpeg shipped beside it."""
import glob
import json
import os
import shutil
import subprocess
import time

import numpy
from PIL import Image

from harness import Checks, Session, log, run, scenario, winpath

PATTERN = (300, 200, 700, 520)
AREA = (400, 300, 601, 451)  # 201 x 151: odd both ways, as half of all selections are
RECORD_ICON = (201, 186)
RECORD_ARROW = (225, 197)
# Extension: (entry in the format menu, codec arguments of the program's command line, codec).
FORMATS = {"wmv": (0, ["-vcodec", "wmv2"], "wmv2"), "mp4": (1, ["-vcodec", "mpeg4"], "mpeg4"),
           "flv": (2, ["-vcodec", "flv"], "flv1"), "mov": (3, [], "mpeg4"),
           "webm": (4, ["-f", "webm", "-vcodec", "libvpx"], "vp8")}
QUALITIES = (5, 15, 17, 21, 35)


def pattern_at(x, y):
    return ((x * 7) & 255, (y * 5) & 255, (x ^ y) & 255)


def stray_pixels(path, area, marker=0):
    """Pixels of a frame that differ from the test pattern under `area`, apart from one marker
    of `marker` x `marker` pixels (the cursor picture) wherever it lies."""
    got = numpy.asarray(Image.open(path).convert("RGB"), dtype=int)
    xs, ys = numpy.meshgrid(numpy.arange(area[0], area[2]), numpy.arange(area[1], area[3]))
    want = numpy.stack([(xs * 7) & 255, (ys * 5) & 255, (xs ^ ys) & 255], axis=-1)
    if got.shape != want.shape:
        return got.size
    off = numpy.argwhere((got != want).any(axis=2))
    if len(off) and numpy.ptp(off[:, 0]) < marker and numpy.ptp(off[:, 1]) < marker:
        return 0
    return len(off)


def folder(s, *parts):
    return os.path.join(s.appdir, "Data", *parts)


def frames(s):
    return sorted(os.path.basename(p) for p in glob.glob(os.path.join(folder(s, "Temp", "Video"), "*.png")))


def videos(s):
    return sorted(glob.glob(os.path.join(folder(s, "Published", "video"), "*")))


def probe_video(path):
    """(codec, pixel format, duration, width, height, frames decoded), read by the host's ffprobe."""
    out = subprocess.run(["ffprobe", "-v", "error", "-count_frames", "-show_entries",
                          "stream=codec_name,pix_fmt,width,height,nb_read_frames",
                          "-show_entries", "format=duration", "-of", "json", path],
                         capture_output=True, text=True, timeout=60).stdout
    data = json.loads(out or "{}")
    st = (data.get("streams") or [{}])[0]
    return (st.get("codec_name"), st.get("pix_fmt"), float(data.get("format", {}).get("duration", 0)),
            st.get("width"), st.get("height"), int(st.get("nb_read_frames", 0)))


def renders_whole(found, codec, n):
    """The video decodes completely: every frame file, padded to even, for n / 12 seconds."""
    even = (AREA[2] - AREA[0] + 1) // 2 * 2, (AREA[3] - AREA[1] + 1) // 2 * 2
    return (found[0] == codec and found[1] == "yuv420p" and found[3:5] == even and found[5] == n
            and abs(found[2] - n / 12) < 0.2)


def edges_kept(video, first_frame):
    """The decoded first frame against the recorded one: nothing cropped or shifted, and the
    padding repeats the last column and row."""
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", video, "-frames:v", "1", "-f", "rawvideo",
                          "-pix_fmt", "rgb24", "-"], capture_output=True, timeout=60).stdout
    src = numpy.asarray(Image.open(first_frame).convert("RGB"), dtype=int)
    h, w = src.shape[:2]
    got = numpy.frombuffer(raw, numpy.uint8).reshape(h + h % 2, w + w % 2, 3).astype(int)
    inside = abs(got[:h, :w] - src).mean()
    pad = max(abs(got[:h, -1] - got[:h, w - 1]).mean(), abs(got[-1, :w] - got[h - 1, :w]).mean())
    return inside, pad


def start_button(s):
    f = s.windows("TClipForm")[0]
    return f["left"] + 53, f["top"] + 87


def start_recording(s, area):
    """Selects `area`, opens the recording frame from the panel and starts it; returns once the
    countdown is over."""
    s.capture(area[:2], area[2:])
    s.xdotool("mousemove", 120, 100)  # keeps the panel open
    time.sleep(0.5)
    s.xdotool("mousemove", *RECORD_ICON, "click", "1")
    s.wait_for(lambda: [w for w in s.windows("TClipForm") if w["visible"]], 10, "the frame")
    time.sleep(0.5)
    s.xdotool("mousemove", *start_button(s), "click", "1")
    time.sleep(4.0)  # "Wait", "3", "2", "1"


def contiguous(names):
    return names == [f"{i:06d}.png" for i in range(len(names))]


def new_video(s, before, seconds=60):
    return s.poll(lambda: [v for v in videos(s) if v not in before and os.path.getsize(v) > 0], seconds)


def choose_format(s, index):
    """Picks entry `index` of the video format submenu under the record icon's arrow."""
    s.show_panel()
    menu = s.open_menu_at(*RECORD_ARROW)
    s.xdotool("mousemove", menu["left"] + 30, menu["top"] + int((menu["bottom"] - menu["top"]) * 2.5 / 5))
    sub = s.wait_for(lambda: [w for w in s.windows("#32768") if w["visible"] and w["left"] > menu["left"] + 20],
                     10, "the format submenu")[0]
    s.choose(sub, index, 5)


def rerender(s):
    s.show_panel()
    s.choose(s.open_menu_at(*RECORD_ARROW), 4, 5)


@scenario(tools=True)
def record_and_render(s: Session, c: Checks):
    s.pattern(*PATTERN)
    s.start()
    s.show_panel()
    s.xdotool("mousemove", *RECORD_ICON, "click", "1")
    box = s.poll(lambda: s.probe("dialogs"), 10)
    c.check(box and box[0]["caption"] == "Glimmershot|If you want to record video then you have to define "
            "larger rectangle.Resolution width x height must be higher than 160 x 120.",
            f"before any selection the record icon explains the size rule: {box}")
    s.probe("dismiss")

    s.capture(AREA[:2], AREA[2:])
    s.show_panel()
    s.xdotool("mousemove", *RECORD_ICON, "click", "1")
    time.sleep(1.0)
    frame = s.windows("TClipForm")
    c.check(frame and frame[0]["visible"] and not s.panel()["visible"],
            "the record icon hides the panel and shows the frame with its control panel")
    if frame:
        f = frame[0]
        shots = os.path.join(os.environ["GS_WORK"], "screenshots")
        os.makedirs(shots, exist_ok=True)
        s.screenshot(os.path.join(shots, "recording-panel.png"),
                     (f["right"] - f["left"] + 40, f["bottom"] - f["top"] + 40, f["left"] - 20, f["top"] - 20))
    region = s.probe("region", "TClipForm")
    covered = {(r["left"], r["top"], r["right"], r["bottom"]) for r in region if "left" in r}
    c.check(any(l <= 10 < r and t <= 10 < b for l, t, r, b in covered),
            "the control panel is part of the frame's region")

    bx, by = start_button(s)
    s.xdotool("mousemove", bx, by, "click", "1")
    clicked = time.time()
    time.sleep(4.0)  # "Wait", "3", "2", "1"
    region = s.probe("region", "TClipForm")
    c.check(not any(r["left"] <= 10 < r["right"] and r["top"] <= 10 < r["bottom"]
                    for r in region if "left" in r), "after the countdown only the ring is left")
    for i in range(10):
        s.xdotool("mousemove", 420 + i * 25, 320 + i * 12)
        time.sleep(0.25)
    cursor = (550, 400)
    s.xdotool("mousemove", *cursor)
    time.sleep(1.0)
    s.focus_desktop()
    s.xdotool("key", "F10")
    stopped = time.time()
    video = new_video(s, [])
    names = frames(s)
    expected = (stopped - clicked - 3.5) / 0.083
    log(f"  frames: {len(names)} (about {expected:.0f} expected), video: {video}")
    c.check(contiguous(names) and len(names) > 0, "frames run from 000000.png without gaps")
    c.check(0.6 * expected < len(names) < 1.4 * expected, "the frame count follows 12 per second")
    stray = [stray_pixels(os.path.join(folder(s, "Temp", "Video"), n), AREA, 50) for n in names]
    log(f"  pixels off the screen beyond the cursor mark: first frame {stray[:1]}, all {sum(stray)}")
    c.check(names and not any(stray), "every frame, the first included, is the screen and the cursor mark")
    if names:
        last = Image.open(os.path.join(folder(s, "Temp", "Video"), names[-1])).convert("RGB")
        cx, cy = cursor[0] - AREA[0], cursor[1] - AREA[1]
        under = pattern_at(cursor[0] + 10, cursor[1])
        want = tuple((v * 127 + u * 128 + 127) // 255 for v, u in zip((211, 211, 0), under))
        c.check(last.getpixel((cx, cy)) == (0, 0, 0), "the marker's plus sign sits on the cursor")
        c.check(last.getpixel((cx + 10, cy)) == want,
                f"the yellow disc is blended at half opacity: {last.getpixel((cx + 10, cy))} vs {want}")
    if c.check(bool(video), "the encoder wrote a video"):
        found = probe_video(video[0])
        log(f"  wmv: {os.path.basename(video[0])} {found}")
        c.check(renders_whole(found, "wmv2", len(names)),
                f"a 201 x 151 recording renders as a whole 202 x 152 WMV at 12 per second {found}")
    clip = os.path.join(s.appdir, "..", "clip.bmp")
    s.probe("clipboard", winpath(clip))
    line = open(clip + ".txt", encoding="utf-8").read() if os.path.exists(clip + ".txt") else ""
    log("  clipboard:", line)
    c.check(line.endswith('.wmv"') and "\\Data\\TesseractOCR\\ff.exe -r 12 -f image2 -i \"" in line
            and " -y -vcodec wmv2 -qscale 5 -r 12 \"" in line, "the clipboard holds the encoder's command line")
    text = s.poll(lambda: (t := s.balloon_text()) and "created" in t and t, 10)
    log("  balloon:", text)
    c.check(bool(text) and "Video Rendered" in text, "the completion balloon names the video")

    # The balloon's click opens the video folder.
    s.probe("tray", "0x405")
    c.check(bool(s.poll(lambda: s.probe("captions", "video"), 15)), "clicking the balloon opens the video folder")
    s.close_windows("video")
    time.sleep(1.0)

    # Every other format, from the same frames, through the menus.
    for ext, (index, _, codec) in list(FORMATS.items())[1:]:
        before = videos(s)
        choose_format(s, index)
        rerender(s)
        got = new_video(s, before)
        name = got[0] if got else ""
        found = probe_video(name) if name else (None,) * 6
        log(f"  {ext}: {os.path.basename(name)} {found}")
        c.check(name.endswith("." + ext) and renders_whole(found, codec, len(names)), f"{ext} renders whole as {codec}")
        s.poll(lambda: "created" in s.balloon_text(), 10)

    # Every format at every quality, by the shipped ff.exe given the program's command line.
    ff = folder(s, "TesseractOCR", "ff.exe")
    frames_in = winpath(folder(s, "Temp", "Video")) + "\\%06d.png"
    sizes = {}
    for ext, (_, codec_args, codec) in FORMATS.items():
        for q in QUALITIES:
            out = os.path.join(s.appdir, "..", f"q{q}.{ext}")
            rc, _ = run(["wine", ff, "-r", "12", "-f", "image2", "-i", frames_in, "-y", *codec_args,
                         "-qscale", str(q), "-r", "12", winpath(out)], s.env, timeout=120, check=False)
            found = probe_video(out) if rc == 0 else (None,) * 6
            sizes[(ext, q)] = os.path.getsize(out) if rc == 0 else 0
            c.check(renders_whole(found, codec, len(names)), f"{ext} at quality {q} renders whole (exit {rc}, {found})")
    # Frames in a folder named with "%", which the engine would take for a frame number.
    percent = os.path.join(s.appdir, "..", "100% sure")
    shutil.copytree(folder(s, "Temp", "Video"), percent)
    out = os.path.join(s.appdir, "..", "percent.mp4")
    rc, _ = run(["wine", ff, "-r", "12", "-f", "image2", "-i", winpath(percent) + "\\%06d.png", "-y",
                 "-vcodec", "mpeg4", "-qscale", "5", "-r", "12", winpath(out)], s.env, timeout=120, check=False)
    found = probe_video(out) if rc == 0 else (None,) * 6
    c.check(renders_whole(found, "mpeg4", len(names)), f"frames in a folder named with % render whole and padded ({found})")
    log("  sizes by quality:", {ext: [sizes[(ext, q)] for q in QUALITIES] for ext in FORMATS})
    c.check(all(sizes[(ext, 5)] > sizes[(ext, 35)] for ext in FORMATS), "a lower quality makes a smaller file in every format")
    inside, pad = edges_kept(os.path.join(s.appdir, "..", "q5.mp4"), os.path.join(folder(s, "Temp", "Video"), names[0]))
    log(f"  first frame: mean difference {inside:.1f} inside, padding vs last column/row {pad:.1f}")
    c.check(inside < 12 and pad < 6, "no recorded pixel is lost, and the padding repeats the edge")

    # Without the encoder: said so, and nothing claimed.
    ff = folder(s, "TesseractOCR", "ff.exe")
    os.rename(ff, ff + ".away")
    before = videos(s)
    rerender(s)
    text = s.poll(lambda: (t := s.balloon_text()) and "not rendered" in t and t, 15)
    log("  balloon:", text)
    c.check(bool(text) and "could not be started" in text, "a missing ff.exe gives the failure balloon")
    c.check(videos(s) == before, "and no video is claimed")
    os.rename(ff + ".away", ff)

    # A tray click stops a recording as well.
    time.sleep(2)
    s.show_panel()
    s.xdotool("mousemove", *RECORD_ICON, "click", "1")
    time.sleep(1.0)
    s.xdotool("mousemove", *start_button(s), "click", "1")
    time.sleep(5.0)
    before = videos(s)
    s.tray_click()
    c.check(bool(new_video(s, before)), "a tray click ends the recording and it is rendered")


@scenario(tools=True)
def slow_motion(s: Session, c: Checks):
    s.pattern(*PATTERN)
    s.start()
    s.capture((420, 320), (600, 460))
    s.show_panel()
    s.choose(s.open_menu_at(*RECORD_ARROW), 0, 5)  # "Record Slow Motion" starts it at once
    time.sleep(1.0)
    s.xdotool("mousemove", *start_button(s), "click", "1")
    window = s.poll(lambda: s.probe("captions", "slowmotion"), 120)
    shots = sorted(os.path.basename(p) for p in glob.glob(os.path.join(folder(s, "Published", "slowmotion"), "*.png")))
    log(f"  slow motion: {len(shots)} frames")
    c.check(len(shots) == 1000 and contiguous(shots), "slow motion writes 000000.png to 000999.png")
    stray = [stray_pixels(os.path.join(folder(s, "Published", "slowmotion"), n), (420, 320, 600, 460))
             for n in shots]
    log(f"  slow motion pixels off the screen: first frame {stray[:1]}, all {sum(stray)}")
    c.check(shots and not any(stray), "every slow-motion frame, the first included, is the screen")
    c.check(bool(window), "and opens its folder")
    c.check(not frames(s), "the video frames folder was emptied")


@scenario(monitors=[(2560, 1440, 0, 0)])
def large_screen(s: Session, c: Checks):
    """A 2400 x 1300 recording on a 2560 x 1440 monitor: its frames are read while the ones before
    are still being written, and each is the screen at its slot."""
    s.start()
    s.pattern(40, 40, 2480, 1360)
    area = (100, 100, 2500, 1400)
    start_recording(s, area)
    for i in range(8):
        s.xdotool("mousemove", 600 + i * 150, 500 + i * 60)
        time.sleep(0.25)
    s.tray_click()  # ends the recording
    names = s.poll(lambda: (n := frames(s)) and s.poll(lambda: n == frames(s), 1) and n, 30) or []
    stray = [stray_pixels(os.path.join(folder(s, "Temp", "Video"), n), area, 50) for n in names]
    log(f"  {len(names)} frames of 2400 x 1300, pixels off beyond the cursor mark: first {stray[:1]}, "
        f"all {sum(stray)}")
    c.check(len(names) > 12 and contiguous(names) and not any(stray),
            "every frame of a 2400 x 1300 recording, the first included, is the screen and the cursor mark")


if __name__ == "__main__":
    checks = Checks()
    record_and_render(checks)
    slow_motion(checks)
    large_screen(checks)
    checks.finish()
