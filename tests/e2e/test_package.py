"""The portable ZIP as a user gets it: made by CPack, unpacked into a fresh folder whose name has
a space and non-ASCII letters, and used from there with no FFmpeg or Tesseract of the host's
within reach.
Also takes the README's panel screenshot."""
import glob
import os
import shutil
import subprocess
import time
import zipfile

from PIL import Image

from harness import WORK, Checks, Session, log
from test_recording import frames, new_video, probe_video, videos
from test_faults import start_recording
from test_ocr import TEXT_ICON

BUILD = os.environ["GS_BUILD"]
CONTENTS = {"Glimmershot.exe", "help/index.html", "help/panel.png", "Data/TesseractOCR/ff.exe",
            "Data/TesseractOCR/tesseract.exe", "Data/TesseractOCR/README.txt",
            "Data/TesseractOCR/ffmpeg/ffmpeg.exe"} | {
            "Data/TesseractOCR/ffmpeg/licenses/" + n for n in (
                "SOURCES.txt", "FFmpeg-LICENSE.txt", "FFmpeg-COPYING.LGPLv2.1.txt", "libvpx-LICENSE.txt",
                "libvpx-PATENTS.txt", "zlib-copyright.txt", "mingw-w64-runtime-copyright.txt")} | {
            "Data/TesseractOCR/tesseract/tesseract.exe"} | {
            f"Data/TesseractOCR/tesseract/tessdata/{code}.traineddata"
            for code in ("ces", "eng", "fra", "deu", "ita", "por", "rus", "spa")} | {
            "Data/TesseractOCR/tesseract/licenses/" + n for n in (
                "SOURCES.txt", "Tesseract-LICENSE.txt", "tessdata-copyright.txt", "Leptonica-LICENSE.txt",
                "libpng-LICENSE.txt", "libjpeg-turbo-LICENSE.txt", "zlib-copyright.txt",
                "mingw-w64-runtime-copyright.txt")}


def path_without_engines():
    """A PATH with every program of ours except FFmpeg's and Tesseract's: Wine and its children
    find none."""
    shim = os.path.join(WORK, "path-without-engines")
    shutil.rmtree(shim, ignore_errors=True)
    os.makedirs(shim)
    for d in os.environ["PATH"].split(":"):
        for name in os.listdir(d) if os.path.isdir(d) else []:
            link = os.path.join(shim, name)
            if not name.startswith(("ffmpeg", "ffprobe", "ffplay", "tesseract")) and not os.path.lexists(link):
                os.symlink(os.path.join(d, name), link)
    return shim


def make_zip():
    out = os.path.join(WORK, "package-out")
    shutil.rmtree(out, ignore_errors=True)
    subprocess.run(["cpack", "-B", out], cwd=BUILD, check=True, capture_output=True, timeout=300)
    return glob.glob(os.path.join(out, "Glimmershot-*-win64.zip"))[0]


def unpack(path, c):
    dest = os.path.join(WORK, "package", "Přenosné programy", "Nový Glimmershot")
    shutil.rmtree(os.path.join(WORK, "package"), ignore_errors=True)
    with zipfile.ZipFile(path) as z:
        names = [n for n in z.namelist() if not n.endswith("/")]
        top = {n.split("/", 1)[0] for n in names}
        inside = {n.split("/", 1)[1] for n in names}
        z.extractall(dest)
    log(f"  {os.path.basename(path)}: {os.path.getsize(path)} bytes, {sorted(inside)}")
    c.check(len(top) == 1 and inside == CONTENTS, "the ZIP holds one folder with the program, its help and its tools")
    folder = os.path.join(dest, top.pop())
    readme = open(os.path.join(folder, "Data", "TesseractOCR", "README.txt"), "rb").read()
    c.check(b"ffmpeg\\ffmpeg.exe" in readme and b"tesseract\\tesseract.exe" in readme and b"\r\n" in readme and b"\n" not in
            readme.replace(b"\r\n", b""), "the tools folder's README.txt says how to add the real tools, in CR LF")
    return folder


def main():
    c = Checks()
    log("== portable_zip")
    try:
        folder = unpack(make_zip(), c)
    except Exception as e:
        c.check(False, f"the ZIP is made and unpacks: {type(e).__name__}: {e}")
        c.finish()
    s = Session("package", installed=folder)
    s.env["PATH"] = path_without_engines()
    try:
        s.pattern(300, 300, 400, 160, text="Glimmershot")
        s.start()
        balloon = s.poll(lambda: "started" in (t := s.balloon_text()) and t, 15)
        c.check(bool(balloon), f"the first start greets from the tray ({balloon})")
        c.check(os.path.getsize(os.path.join(folder, "setup.csv")) == 114, "setup.csv is written beside the program")
        png = s.capture((320, 310), (680, 450))
        img = Image.open(png).convert("RGB")
        c.check(img.size == (360, 140) and os.path.exists(png[:-4] + ".jpg"), "a capture makes its PNG and JPG")
        c.check(s.poll(lambda: s.clipboard_size() == (360, 140), 5), "and goes to the clipboard")
        # Photographed while it counts down, as the user first sees it.
        s.wait_for(lambda: (p := s.panel()) and p["visible"], 5, "the panel")
        time.sleep(0.6)
        shots = os.path.join(WORK, "screenshots")
        os.makedirs(shots, exist_ok=True)
        shot = s.screenshot(os.path.join(shots, "panel.png"), (240, 210, 0, 0))
        s.xdotool("mousemove", 120, 100)
        time.sleep(0.8)
        c.check(Image.open(shot).convert("RGB").getpixel((100, 20)) == (0, 0, 0), f"the panel is on screen ({shot})")

        s.xdotool("mousemove", *TEXT_ICON, "click", "1")
        text = s.poll(lambda: (t := s.clipboard_text()) and "Glimmer" in t and t, 60)
        c.check(bool(text) and text.strip() == "Glimmershot", f"the packaged engine reads the capture's text ({text!r})")

        start_recording(s)
        time.sleep(2.0)
        s.tray_click()
        video = new_video(s, [])
        n = len(frames(s))
        found = probe_video(video[0]) if video else (None, None, 0, 0, 0, 0)
        c.check(bool(video) and found[5] == n and abs(found[2] - n / 12) < 0.25,
                f"a recording is rendered by the packaged engine ({n} frames, {found})")
        before = videos(s)
        proc = s.procs[-1]
        s.exit_app()
        c.check(proc.poll() is not None and videos(s) == before, "Exit ends it")
    except Exception as e:
        c.check(False, f"portable_zip: {type(e).__name__}: {e}")
    finally:
        s.stop()
    c.finish()


if __name__ == "__main__":
    main()
