"""Options menus, setup.csv, autostart and help, driven through the panel and the tray."""
import os
import stat
import time

from harness import Checks, Session, log, scenario, winpath

HEADER = (b"OpenFolderCheckedItem;EditImageCheckedItem;OCRCheckedItem;VideoCheckedItem;"
          b"VideoFormat;VideoQuality\r\n")
ARROWS = {"OpenFolder": (45, 195), "EditImage": (105, 197), "ConvertToText": (165, 195),
          "RecordVideo": (225, 197)}
ICONS = {"OpenFolder": (21, 186), "EditImage": (81, 186)}
RUN_KEY = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run"


def setup_line(s):
    data = open(os.path.join(s.appdir, "setup.csv"), "rb").read()
    return data[len(HEADER):] if data.startswith(HEADER) else data


def register_stand_ins(s):
    """Editors and the browser replaced by recorders that write down how they were called."""
    probe = os.environ["GS_PROBE"]
    win_probe = winpath(probe)
    s.reg_add(r"HKCR\.png", None, "GsTestPng")
    s.reg_add(r"HKCR\GsTestPng\shell\open\command", None, f'"{win_probe}" record "%1"')
    s.reg_add(r"HKCR\.html", None, "htmlfile")
    browser = os.path.join(s.appdir, "..", "browser.sh")
    with open(browser, "w") as f:
        f.write('#!/bin/sh\nprintf "browser %s\\n" "$*" >> "$GS_RECORD"\n')
    os.chmod(browser, 0o755)
    s.reg_add(r"HKCU\Software\Wine\WineBrowser", "Browsers", os.path.abspath(browser))
    windir = os.path.join(os.environ["GS_WINEPREFIX"], "drive_c", "windows")
    with open(probe, "rb") as src, open(os.path.join(windir, "mspaint.exe"), "wb") as dst:
        dst.write(src.read())


def recorded(s):
    path = s.env["GS_RECORD"]
    return open(path, encoding="utf-8").read() if os.path.exists(path) else ""


@scenario
def settings_menus_and_shell(s: Session, c: Checks):
    s.env["GS_RECORD"] = os.path.abspath(os.path.join(s.appdir, "..", "record.txt"))
    register_stand_ins(s)
    s.pattern(300, 300, 500, 400)
    s.start()
    setup = os.path.join(s.appdir, "setup.csv")
    s.wait_for(lambda: os.path.exists(setup), 10, "setup.csv")
    data = open(setup, "rb").read()
    c.check(data == HEADER + b"0;0;1;1;0;4\r\n" and len(data) == 114, "first start writes the 114 bytes")
    text = s.poll(lambda: s.balloon_text(), 10) or ""
    log("  balloon:", text)
    c.check("Glimmershot has been started" in text, "the started balloon is shown")

    s.show_panel()
    for i, (name, (x, y)) in enumerate(ARROWS.items()):
        m = s.open_menu_at(x, y)
        c.check((m["left"], m["top"]) == (60 * i, 210), f"{name}'s menu opens at ({60 * i}, 210): {m}")
        s.xdotool("mousemove", 700, 150, "click", "1")  # away: the menu closes
        s.wait_for(lambda: not [w for w in s.windows("#32768") if w["visible"]], 5, "the menu to close")
        s.show_panel()

    # Help from the tray and from the panel's label (before a capture: the preview covers it).
    s.tray_menu(3)
    s.show_panel()
    s.xdotool("mousemove", 175, 126, "click", "1")
    s.poll(lambda: recorded(s).count("browser ") >= 2, 20)
    urls = [l for l in recorded(s).splitlines() if l.startswith("browser ")]
    log("  browser:", urls)
    c.check(len(urls) == 2 and all("help/index.html" in u for u in urls),
            "Help and the help doc label both open the help page")

    # A capture makes the data folders; then "OCR Folder": checked, saved, opened at once.
    png = s.capture((350, 350), (500, 450))
    s.show_panel()
    s.choose(s.open_menu_at(*ARROWS["OpenFolder"]), 1, 5)
    c.check(setup_line(s) == b"1;0;1;1;0;4\r\n", f"the choice is saved: {setup_line(s)}")
    folder = s.poll(lambda: s.probe("captions", "ocr"), 15)
    log("  folder window:", folder)
    c.check(bool(folder), "the OCR folder window opens")

    win_png = winpath(png)
    s.show_panel()
    s.xdotool("mousemove", *ICONS["EditImage"], "click", "1")
    s.poll(lambda: "mspaint" in recorded(s).lower(), 15)
    log("  recorded:", recorded(s).strip())
    c.check(f'"{win_png}"'.lower() in recorded(s).lower(), "mspaint gets the capture's path in quotes")
    s.show_panel()
    s.choose(s.open_menu_at(*ARROWS["EditImage"]), 1, 2)
    s.poll(lambda: " record " in recorded(s), 15)
    c.check(win_png.lower() in recorded(s).split(" record ", 1)[1].lower(),
            "the default editor opens the capture")
    c.check(setup_line(s) == b"1;1;1;1;0;4\r\n", "the editor choice is saved")

    # Autostart on, then off, with the confirmations.
    s.tray_menu(1)
    box = s.wait_for(lambda: s.probe("dialogs"), 10, "the confirmation")
    c.check(box and box[0]["caption"] == "Info|Application will be automatically started after Windows Startup.",
            f"autostart on is confirmed: {box}")
    s.probe("dismiss")
    exported = s.reg_export(RUN_KEY)
    want = '"Glimmershot"="\\"' + s.exe.replace("/", "\\").replace("\\", "\\\\") + '\\""'
    log("  run key:", [l for l in exported.splitlines() if "Glimmershot" in l])
    c.check(any(l.lower() == ('"glimmershot"="\\"z:' + want[len('"Glimmershot"="\\"'):]).lower()
                for l in exported.splitlines()), "the Run value holds the quoted path")
    s.tray_menu(2)
    box = s.wait_for(lambda: s.probe("dialogs"), 10, "the confirmation")
    c.check(box and box[0]["caption"] ==
            "Info|Application will not be automatically started after Windows Startup.",
            "autostart off is confirmed")
    s.probe("dismiss")
    c.check("Glimmershot" not in s.reg_export(RUN_KEY), "the Run value is gone")

    # A choice survives a restart: after it the edit icon opens the default editor.
    s.exit_app()
    s.start()
    time.sleep(1.0)
    c.check(not s.probe("tooltips"), "a second start shows no balloon")
    c.check(setup_line(s) == b"1;1;1;1;0;4\r\n", "the file kept the choices")
    before = recorded(s).count(" record ")
    png2 = s.capture((360, 360), (480, 440))
    s.show_panel()
    s.xdotool("mousemove", *ICONS["EditImage"], "click", "1")
    s.poll(lambda: recorded(s).count(" record ") > before, 15)
    c.check(os.path.basename(png2).lower() in recorded(s).lower().split(" record ")[-1],
            "after the restart the edit icon still uses the default editor")

    # A read-only setup.csv: the choice takes effect, the file stays as it was.
    os.chmod(setup, stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
    old = open(setup, "rb").read()
    s.show_panel()
    s.choose(s.open_menu_at(*ARROWS["OpenFolder"]), 3, 5)
    video = s.poll(lambda: s.probe("captions", "video"), 15)
    c.check(bool(video), "the video folder opens although setup.csv is read-only")
    c.check(open(setup, "rb").read() == old, "the read-only setup.csv is unchanged")
    c.check(not os.path.exists(setup + ".tmp"), "no temporary file is left beside it")
    os.chmod(setup, 0o644)


if __name__ == "__main__":
    checks = Checks()
    settings_menus_and_shell(checks)
    checks.finish()
