"""How long the shipped ff.exe takes to render a recording, per format, under Wine: desktop-like
frames at full HD, at an odd size and at 4K (3840 x 2160), the program's exact command line at
"Quality Medium"; each video's frame count and length are checked by the host's ffprobe.
For VP8 it also times the engine given the bare command line (libvpx's own defaults), which is
what ff.exe's speed setting replaced.

Run by scripts/bench (WINEPREFIX set); needs the win64 build. Prints plain figures, asserts nothing."""
import os
import random
import shutil
import subprocess
import time

from PIL import Image, ImageDraw

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TOOLS = os.path.join(ROOT, "build", "win64", "bin", "Data", "TesseractOCR")
WORK = os.path.join(ROOT, "build", "win64", "render-bench")
FRAMES = int(os.environ.get("GS_RENDER_FRAMES", "120"))  # ten seconds of recording
FORMATS = {"wmv": ["-vcodec", "wmv2"], "mp4": ["-vcodec", "mpeg4"], "flv": ["-vcodec", "flv"],
           "mov": [], "webm": ["-f", "webm", "-vcodec", "libvpx"]}


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def make_frames(folder, w, h):
    """Windows, text and a moving cursor-like disc: what a screen recording holds."""
    os.makedirs(folder)
    rnd = random.Random(1)
    base = Image.new("RGB", (w, h), (236, 236, 236))
    d = ImageDraw.Draw(base)
    for _ in range(80):
        x, y = rnd.randrange(w - 100), rnd.randrange(h - 60)
        d.rectangle([x, y, x + rnd.randrange(60, 500), y + rnd.randrange(20, 300)],
                    fill=tuple(rnd.randrange(256) for _ in range(3)), outline=(0, 0, 0))
    for i in range(120):
        d.text((rnd.randrange(w - 300), rnd.randrange(h - 20)), f"The quick brown fox {i}", fill=(0, 0, 0))
    for i in range(FRAMES):
        im = base.copy()
        ImageDraw.Draw(im).ellipse([100 + i * 9 % (w - 200), 300, 150 + i * 9 % (w - 200), 350], fill=(255, 255, 0))
        im.save(os.path.join(folder, f"{i:06d}.png"), compress_level=1)


def counted(video):
    """The frames the host's ffprobe decodes, and the video's length in seconds."""
    out = subprocess.run(["ffprobe", "-v", "error", "-count_frames", "-show_entries",
                          "stream=nb_read_frames:format=duration", "-of", "default=nw=1:nk=1", video],
                         capture_output=True, text=True, timeout=300).stdout.split()
    try:
        return int(out[0]), float(out[1])
    except (IndexError, ValueError):
        return 0, 0.0


def timed(cmd):
    start = time.monotonic()
    rc = subprocess.run(["timeout", "900"] + cmd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL).returncode
    return time.monotonic() - start, rc


def main():
    shutil.rmtree(WORK, ignore_errors=True)
    subprocess.run(["timeout", "120", "wine", "cmd", "/c", "exit"], stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)  # Wine's start, once
    for w, h in ((1920, 1080), (1281, 1023), (3840, 2160)):
        folder = os.path.join(WORK, f"{w}x{h}")
        make_frames(folder, w, h)
        pattern = winpath(folder) + "\\%06d.png"
        figures = []
        for ext, codec in FORMATS.items():
            line = ["-r", "12", "-f", "image2", "-i", pattern, "-y", *codec, "-qscale", "17", "-r", "12"]
            seconds, rc = timed(["wine", os.path.join(TOOLS, "ff.exe"), *line, winpath(f"{folder}.{ext}")])
            frames, length = counted(f"{folder}.{ext}") if rc == 0 else (0, 0.0)
            right = frames == FRAMES and abs(length - FRAMES / 12) < 0.2
            figures.append(f"{ext} {seconds:.1f} s" + ("" if rc == 0 else f" (exit {rc})")
                           + ("" if right else f" ({frames} frames, {length:.2f} s: wrong)"))
        print(f"render {w}x{h}, {FRAMES} frames: " + ", ".join(figures), flush=True)
        if w % 2 == 0:
            line = ["-r", "12", "-f", "image2", "-i", pattern, "-y", *FORMATS["webm"], "-qscale", "17", "-r", "12"]
            seconds, rc = timed(["wine", os.path.join(TOOLS, "ffmpeg", "ffmpeg.exe"), *line, winpath(f"{folder}-bare.webm")])
            print(f"render {w}x{h}, {FRAMES} frames: webm with libvpx's defaults {seconds:.1f} s"
                  + ("" if rc == 0 else f" (exit {rc})"), flush=True)


if __name__ == "__main__":
    main()
