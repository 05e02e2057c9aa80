"""Hostile surroundings: a busy clipboard, an unwritable images folder, F10 taken by another
program, a shell that lost the tray icon, overlapping renders and missing tools. Each scenario
appends what it tried and what survived to soak-report.txt."""
import os
import shutil
import subprocess
import tempfile
import time

from harness import TRAY_ICON, Checks, Session, log, scenario, winpath
from test_recording import (PATTERN, RECORD_ICON, choose_format, frames, new_video, probe_video, rerender,
                            start_button, videos)
from test_soak import report
from test_ocr import TEXT_ICON


def marker(s, name):
    path = os.path.join(s.appdir, "..", name)
    if os.path.exists(path):
        os.remove(path)
    return path


def unix_pid_of_name(name):
    """A running Windows program by its file name (Wine shows its path as argv[0])."""
    for pid in os.listdir("/proc"):
        try:
            argv0 = open(f"/proc/{pid}/cmdline", "rb").read().split(b"\0")[0].decode("utf-8", "replace")
        except OSError:
            continue
        if argv0.replace("\\", "/").rsplit("/", 1)[-1].lower() == name:
            return int(pid)
    return None


def balloon_saying(s, words, seconds=10):
    return s.poll(lambda: (t := s.balloon_text()) and all(w in t for w in words) and t, seconds) or ""


def answers(s):
    got = s.probe("responsive", "TForm1", 1500)
    return bool(got) and got[0]["worst"] < 1000


def start_recording(s):
    s.show_panel()
    s.xdotool("mousemove", *RECORD_ICON, "click", "1")
    time.sleep(1.0)
    s.xdotool("mousemove", *start_button(s), "click", "1")
    time.sleep(4.5)  # "Wait", "3", "2", "1"


@scenario
def busy_clipboard(s: Session, c: Checks):
    s.pattern(*PATTERN)
    s.start()
    s.focus_desktop()

    def hold(ms):
        held = marker(s, "clipboard.held")
        return lambda: (s.background("holdclip", ms, winpath(held), seconds=60),
                        s.wait_for(lambda: os.path.exists(held), 20, "the clipboard holder"))

    saved = s.quick_capture((400, 300), (500, 380), before_release=hold(4000))
    text = balloon_saying(s, ["held the clipboard"])
    log("  balloon:", text)
    c.check(bool(saved), "a capture while another program holds the clipboard still makes its files")
    c.check(bool(text), "and the balloon says the clipboard was held")
    time.sleep(4)
    c.check(s.clipboard_size() != (100, 80), "the clipboard was left to its holder")
    brief = s.quick_capture((400, 300), (520, 390), before_release=hold(200))
    # The files come before the clipboard, which waits for the holder: looked at until it is set.
    c.check(bool(brief) and s.poll(lambda: s.clipboard_size() == (120, 90), 5),
            "a holder that lets go soon is waited for")
    report("clipboard held by another process", "4 s hold across a capture, then a 0.2 s hold",
           f"files {'made' if saved else 'missing'} and {'a' if text else 'no'} balloon; after the short hold "
           f"the clipboard has {s.clipboard_size()} (the capture was 120 x 90)")


@scenario
def unwritable_images_folder(s: Session, c: Checks):
    s.pattern(*PATTERN)
    s.start()
    s.focus_desktop()
    c.check(bool(s.quick_capture((400, 300), (480, 360))), "the first capture makes the folders")
    img = os.path.join(s.appdir, "Data", "Published", "img")
    # Root writes anywhere, so the folder is made immutable for it; others lose the write bit.
    lock = ["chattr", "+i", img] if os.geteuid() == 0 else ["chmod", "555", img]
    unlock = ["chattr", "-i", img] if os.geteuid() == 0 else ["chmod", "755", img]
    subprocess.run(lock, check=True)
    try:
        count = len(s.image_files("png"))
        lost = s.quick_capture((400, 300), (530, 400), seconds=3)
        text = balloon_saying(s, ["could not be saved", "clipboard"])
        log("  balloon:", text)
        c.check(not lost and len(s.image_files("png")) == count, "nothing is written to the locked folder")
        c.check(bool(text), "the balloon says the capture was not saved but is on the clipboard")
        clip = s.clipboard_size()
        c.check(clip == (130, 100), "the capture is on the clipboard")
        c.check(answers(s), "the program answers")
    finally:
        subprocess.run(unlock, check=True)
    again = s.quick_capture((400, 300), (470, 350))
    c.check(bool(again), "once the folder is writable the next capture is saved")
    report("read-only images folder", "a capture into it, then one after unlocking",
           f"{'a' if text else 'no'} balloon, the capture on the clipboard at {clip}, the next capture "
           f"{'saved' if again else 'lost'}")


@scenario(tools=True)
def hot_key_taken(s: Session, c: Checks):
    s.pattern(*PATTERN)
    s.start()
    s.capture((400, 300), (700, 500))
    held = marker(s, "hotkey.held")
    with tempfile.TemporaryFile() as out:
        holder = s.background("hotkey", "0x79", 25000, winpath(held), seconds=60, output=out)
        s.wait_for(lambda: os.path.exists(held), 20, "the hot key holder")
        c.check(open(held).read() == "held", "another program holds F10")
        start_recording(s)
        s.focus_desktop()
        s.xdotool("key", "F10")
        time.sleep(1.5)
        first = len(frames(s))
        time.sleep(1.0)
        going = len(frames(s)) > first > 0
        c.check(going, f"F10 does not reach the program: the recording goes on ({first} frames and counting)")
        before = videos(s)
        s.tray_click()
        video = new_video(s, before)
        c.check(bool(video), "the tray click stops it and the video is rendered")
        holder.wait(60)
        out.seek(0)
        said = out.read().decode()
    log("  holder:", said.strip())
    c.check("presses=1" in said, "the press went to the program holding F10")
    report("F10 held by another program", "F10 during a recording, then a tray click",
           f"recording {'went on' if going else 'stopped'}, video {'rendered' if video else 'missing'}")


@scenario
def tray_icon_comes_back(s: Session, c: Checks):
    s.start()
    gone = s.probe("untray")
    s.tray_click()
    time.sleep(1.5)
    c.check(gone and gone[0]["removed"] == 1 and not s.panel()["visible"], "the shell lost the icon")
    s.probe("broadcast", "TaskbarCreated")
    time.sleep(1.0)
    s.tray_click()
    back = s.poll(lambda: s.panel()["visible"], 5)
    c.check(bool(back), "after \"TaskbarCreated\" the icon is back and answers a click")
    report("shell restarted", "icon removed, \"TaskbarCreated\" broadcast, icon clicked",
           "icon back and working" if back else "icon missing")


@scenario(tools=True)
def render_and_rerender_at_once(s: Session, c: Checks):
    # A DLL named like one the program uses (dwmapi.dll, for the recording's first frame) lies
    # beside it, as files unzipped into the same Downloads folder would.
    planted = os.path.join(s.appdir, "planted-dll-loaded.txt")
    shutil.copy(os.environ["GS_PLANTED_DLL"], s.appdir)
    s.pattern(240, 60, 1040, 900)
    s.start()
    s.capture((250, 80), (1250, 900))  # 1000 x 820: big frames keep the encoder busy for seconds
    choose_format(s, 4)  # WebM: VP8 is the slowest of the encoders, so the render takes a while
    time.sleep(1.0)
    start_recording(s)
    time.sleep(20.0)  # about 240 big frames: several seconds of rendering
    before = videos(s)
    s.tray_click()  # stops the recording, its render starts, and the panel comes up
    s.wait_for(lambda: s.panel()["visible"], 10, "the panel")
    s.xdotool("mousemove", 120, 100)
    time.sleep(0.3)
    s.choose(s.open_menu_at(225, 197), 4, 5)
    asked = time.time()
    n = len(frames(s))

    def complete():
        new = sorted(v for v in videos(s) if v not in before)
        return len(new) == 2 and all(abs(probe_video(v)[2] - n / 12) < 0.3 for v in new) and new
    got = s.poll(complete, 120) or sorted(v for v in videos(s) if v not in before)
    durations = [round(probe_video(v)[2], 2) for v in got]
    # The first render was still writing its file when the re-render was chosen.
    margin = os.path.getmtime(sorted(got)[0]) - asked if len(got) == 2 else 0
    overlapped = margin > 0
    log(f"  re-render chosen {margin:.1f} s before the first render ended")
    log(f"  {n} frames, videos {[os.path.basename(v) for v in got]} {durations}")
    c.check(overlapped, "the re-render was asked for while the first render ran")
    c.check(len(got) == 2 and all(abs(d - n / 12) < 0.3 for d in durations),
            "both videos are complete and as long as the frames")
    report("render and re-render at once", f"{n} frames to WebM, re-render {'during' if overlapped else 'after'} the render",
           f"{len(got)} complete videos {durations}")
    c.check(not os.path.exists(planted), "a dwmapi.dll beside the program is never loaded")

    # Exit while a render runs: the program ends at once; the encoder finishes the video alone.
    before = videos(s)
    rerender(s)
    s.wait_for(lambda: unix_pid_of_name("ffmpeg.exe"), 20, "the encoder")
    proc = s.app
    menu = s.open_menu_at(*TRAY_ICON, button=3)
    asked = time.time()
    s.choose(menu, 4, 5)  # Exit
    s.poll(lambda: proc.poll() is not None, 10)
    ended = time.time() - asked
    log(f"  Exit during a render: the program ended after {ended:.1f} s")
    c.check(proc.poll() is not None and ended < 2.0, "Exit while a render runs ends the program within 2 s")
    video = s.poll(lambda: [v for v in videos(s) if v not in before and abs(probe_video(v)[2] - n / 12) < 0.3], 120)
    c.check(bool(video), "and the video still appears, complete")


@scenario(tools=True)
def missing_tools(s: Session, c: Checks):
    tools = os.path.join(s.appdir, "Data", "TesseractOCR")
    for exe in ("ff.exe", "tesseract.exe"):
        os.rename(os.path.join(tools, exe), os.path.join(tools, exe + ".away"))
    s.pattern(*PATTERN)
    s.start()
    s.capture((400, 300), (600, 450))
    s.show_panel()
    s.xdotool("mousemove", *TEXT_ICON, "click", "1")
    time.sleep(2)
    c.check(answers(s), "without tesseract.exe the conversion does nothing and the program answers")
    start_recording(s)
    time.sleep(2)
    before = videos(s)
    s.tray_click()
    text = balloon_saying(s, ["not rendered", "could not be started"], 15)
    log("  balloon:", text)
    c.check(bool(text) and videos(s) == before, "without ff.exe the balloon says so and no video appears")
    for exe in ("ff.exe", "tesseract.exe"):
        os.rename(os.path.join(tools, exe + ".away"), os.path.join(tools, exe))
    # ff.exe without its engine cannot render either, and says so in the same words.
    engine = os.path.join(tools, "ffmpeg")
    os.rename(engine, engine + ".away")
    s.poll(lambda: not s.balloon_text(), 30)  # the last balloon said the same
    rerender(s)
    text = balloon_saying(s, ["not rendered", "could not be started"], 15)
    c.check(bool(text) and videos(s) == before, "without the engine beside ff.exe the balloon says so")
    os.rename(engine + ".away", engine)
    rerender(s)
    video = new_video(s, before)
    c.check(bool(video), "with ff.exe back the re-render works")
    report("missing ff.exe and tesseract.exe", "a conversion, a recording, then the tools back and a re-render",
           f"answering, {'a' if text else 'no'} failure balloon, re-render {'made a video' if video else 'failed'}")


if __name__ == "__main__":
    checks = Checks()
    busy_clipboard(checks)
    unwritable_images_folder(checks)
    hot_key_taken(checks)
    tray_icon_comes_back(checks)
    render_and_rerender_at_once(checks)
    missing_tools(checks)
    checks.finish()
