"""One screenshot end to end: ALT held over a known pattern, then the files, the clipboard,
the frame's region and the preview, all looked at from outside."""
import contextlib
import glob
import os
import struct
import time
import zlib

from PIL import Image

from harness import Checks, Session, log, run, scenario, winpath

PATTERN = (300, 200, 700, 520)  # x, y, width, height of the probe's pattern window
NOTEPAD = (700, 740, 560, 250)  # where the program the user works in sits, beside the captures


def pattern_at(x, y):
    return ((x * 7) & 255, (y * 5) & 255, (x ^ y) & 255)


def png_facts(path):
    """Chunk names, the largest IDAT, the zlib level flag, row filters and the pixels."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, chunks, idat, largest = 8, [], b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            w, h, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        if kind == b"IDAT":
            idat += body
            largest = max(largest, length)
        if not chunks or chunks[-1] != kind.decode():
            chunks.append(kind.decode())
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = 1 + 3 * w
    filters, pixels = set(), []
    for y in range(h):
        row = bytearray(raw[y * stride:(y + 1) * stride])
        filters.add(row[0])
        for i in range(4, stride):
            row[i] = (row[i] + row[i - 3]) & 255
        pixels.append(bytes(row[1:]))
    return dict(size=(w, h), depth=depth, colour=colour, interlace=interlace, chunks=chunks,
                largest_idat=largest, flevel=idat[1] >> 6, filters=filters, pixels=pixels)


def expected_rows(area):
    left, top, right, bottom = area
    return [bytes(v for x in range(left, right) for v in pattern_at(x, y)) for y in range(top, bottom)]


def ring_covers(region_rows, w, h):
    """True when the region is exactly the 2-pixel ring of a w x h window."""
    inside = set()
    for r in region_rows:
        if "left" in r:
            for y in range(r["top"], r["bottom"]):
                for x in range(r["left"], r["right"]):
                    inside.add((x, y))
    ring = {(x, y) for y in range(h) for x in range(w)
            if x < 2 or y < 2 or x >= w - 2 or y >= h - 2}
    return inside == ring


def start_notepad(s, c):
    s.start_notepad(NOTEPAD, "abc")
    c.check(s.notepad_text() == ("Notepad", "abc"), f"Notepad has the keyboard: {s.notepad_text()}")


@scenario
def capture_end_to_end(s: Session, c: Checks):
    s.pattern(*PATTERN)
    s.start()
    start_notepad(s, c)
    img_dir = os.path.join(s.appdir, "Data", "Published", "img")
    c.check(not os.path.exists(os.path.join(s.appdir, "Data")), "no data folders before a capture")

    start, end = (400, 300), (650, 480)
    frame, region = s.alt_select(start, end)
    c.check(frame and frame[0]["visible"] == 1, "the frame is shown while ALT is held")
    if frame:
        f = frame[0]
        c.check((f["left"], f["top"], f["right"], f["bottom"]) == (398, 298, 654, 484),
                f"the frame window sits 2 px outside the area and ends 4 px past it: {f}")
        c.check(ring_covers(region, f["right"] - f["left"], f["bottom"] - f["top"]),
                "the frame's region is exactly the two-pixel ring")

    def complete():
        # Written behind the preview: taken once both files are whole.
        found = sorted(glob.glob(os.path.join(img_dir, "*")))
        ends = {".png": b"IEND\xaeB`\x82", ".jpg": b"\xff\xd9"}
        whole = len(found) == 2 and all(open(p, "rb").read().endswith(ends.get(p[-4:], b"-"))
                                        for p in found)
        return found if whole else None
    files = s.wait_for(complete, 15, "the capture files")
    names = [os.path.basename(p) for p in files]
    log("  files:", names)
    c.check(len(names) == 2 and names[0][:-4] == names[1][:-4] and names[0].endswith(".jpg")
            and names[1].endswith(".png"), "one PNG and one JPG with the same stem")
    c.check(len(names[0]) == len("2013-05-17-14-03-59-0000.jpg") and names[0][-8:-4] == "0000",
            "the stem is date, time and the counter 0000")
    for folder in ("Data/Published/img", "Data/Published/ocr", "Data/Published/slowmotion",
                   "Data/Published/video", "Data/Temp/Video"):
        c.check(os.path.isdir(os.path.join(s.appdir, folder)), f"{folder} was created")
    c.check(not os.path.exists(os.path.join(s.appdir, "Data", "TesseractOCR")),
            "the tools folder is not created")

    png = [p for p in files if p.endswith(".png")][0]
    code, out = run(["pngcheck", "-v", png], s.env, check=False)
    c.check(code == 0, "pngcheck finds the PNG clean")
    facts = png_facts(png)
    c.check(facts["size"] == (250, 180), f"the PNG is the area's size: {facts['size']}")
    c.check(facts["chunks"] == ["IHDR", "IDAT", "IEND"], f"only IHDR, IDAT, IEND: {facts['chunks']}")
    c.check((facts["depth"], facts["colour"], facts["interlace"]) == (8, 2, 0),
            "8-bit RGB, not interlaced")
    c.check(facts["largest_idat"] <= 65535, "IDAT chunks of at most 65535 bytes")
    c.check(facts["filters"] == {1}, f"every row uses the Sub filter: {facts['filters']}")
    c.check(facts["flevel"] == 3, "the zlib header carries the level flag of level 7")
    want = expected_rows((400, 300, 650, 480))
    c.check(facts["pixels"] == want, "the PNG's pixels equal the screen area exactly")

    jpg = [p for p in files if p.endswith(".jpg")][0]
    jdata = open(jpg, "rb").read()
    c.check(b"\xff\xc0" in jdata and b"\xff\xc2" not in jdata, "the JPEG is baseline")
    code, _ = run(["djpeg", "-outfile", "/dev/null", jpg], s.env, check=False)
    c.check(code == 0, "the JPEG decodes")
    c.check(Image.open(jpg).size == (250, 180) and Image.open(jpg).mode == "RGB", "JPEG 250 x 180 RGB")

    png_bytes = open(png, "rb").read()

    def check_clipboard(when, size=(250, 180)):
        clip_bmp = os.path.join(s.appdir, "..", "clipboard.bmp")
        for stale in (clip_bmp, clip_bmp + ".png"):
            with contextlib.suppress(FileNotFoundError):
                os.remove(stale)
        rows = s.probe("clipboard", winpath(clip_bmp))
        log(f"  clipboard {when}:", rows)
        if c.check(os.path.exists(clip_bmp), f"the clipboard holds a bitmap {when}"):
            im = Image.open(clip_bmp).convert("RGB")
            got = [bytes(v for x in range(im.width) for v in im.getpixel((x, y)))
                   for y in range(im.height)]
            c.check(im.size == size and got == want, f"the clipboard bitmap is the screen area {when}")
        c.check(any((r.get("ddb_width"), r.get("ddb_height")) == size for r in rows),
                f"readers asking for CF_BITMAP get it {when}")
        pasted = open(clip_bmp + ".png", "rb").read() if os.path.exists(clip_bmp + ".png") else b""
        c.check(pasted[:len(png_bytes)] == png_bytes and len(pasted) - len(png_bytes) < 64,
                f"the clipboard's \"PNG\" format holds the PNG file's bytes {when}")

    check_clipboard("while it runs")

    panel = s.wait_for(lambda: (p := s.panel()) and p["visible"] and p, 5, "the preview panel")
    c.check(bool(panel), "the preview panel shows after the capture")
    # ALT was the capture's, not the user's: Notepad keeps the keyboard and opens no menu.
    c.check(s.notepad_text()[0] == "Notepad", "Notepad stays the foreground window while the panel shows")
    s.type_into_notepad("d")
    c.check(s.notepad_text()[1] == "abcd", f"the next key typed goes into Notepad's text: {s.notepad_text()}")
    time.sleep(0.5)
    shot = s.screenshot(os.path.join(s.appdir, "..", "preview.png"), (240, 210, 0, 0))
    im = Image.open(shot).convert("RGB")
    # 250 x 180 into 210 x 135: 187 x 135 at (11, 0) of the preview, which sits at (15, 30).
    c.check(im.getpixel((15 + 3, 30 + 60)) == (0, 0, 0), "black bars beside a tall-ish preview")
    c.check(im.getpixel((15 + 105, 30 + 67)) != (0, 0, 0), "the preview shows the capture")

    # "Clear All Folders" from the folder icon's menu, which opens below the panel.
    s.xdotool("mousemove", 45, 195)
    time.sleep(0.3)
    s.xdotool("click", "1")
    menu = s.wait_for(lambda: [w for w in s.windows("#32768") if w["visible"]], 10, "the folder menu")
    m = menu[0]
    c.check((m["left"], m["top"]) == (0, 210), f"the folder menu opens at (0, 210): {m}")
    s.xdotool("mousemove", m["left"] + 30, m["bottom"] - 10)
    time.sleep(0.3)
    s.xdotool("click", "1")
    gone = s.wait_for(lambda: not glob.glob(os.path.join(img_dir, "*")) or None, 10, "the clear")
    c.check(bool(gone) and os.path.isdir(img_dir), "Clear All Folders empties the folders and keeps them")
    text = s.poll(lambda: (t := s.balloon_text()) and "cleared" in t and t, 10) or ""
    log("  balloon:", text)
    c.check("Folders were cleared" in text, "the balloon says the folders were cleared")

    # Notepad's menu bar and title, drawn with ClearType: the capture is the screen, pixel for
    # pixel, sub-pixel fringes and all; and once the panel has faded, typing goes on there.
    s.type_into_notepad("e", click=True)
    x, y, w, h = NOTEPAD
    area = (x + 4, y + 4, x + 300, y + 42)
    screen = Image.open(s.screenshot(os.path.join(s.appdir, "..", "notepad.png"))).convert("RGB").crop(area)
    fringes = sum(1 for r, g, b in screen.getdata() if max(r, g, b) - min(r, g, b) > 40)
    png = s.capture(area[:2], area[2:])
    c.check(Image.open(png).convert("RGB").tobytes() == screen.tobytes() and fringes > 50,
            f"a capture of ClearType text ({fringes} coloured pixels) equals the screen")
    s.wait_for(lambda: s.panel()["visible"], 5, "the panel")
    c.check(s.notepad_text()[0] == "Notepad", "Notepad stays the foreground window again")
    s.wait_for(lambda: not s.panel()["visible"], 10, "the panel to fade")
    s.type_into_notepad("f")
    c.check(s.notepad_text() == ("Notepad", "abcdef"),
            f"after the panel has faded, typing goes on in Notepad: {s.notepad_text()}")

    # A second capture, never pasted while the program runs: what the clipboard was only offered
    # is made as the program ends, so the capture stays pasteable after Exit.
    png = s.capture((300, 200), (361, 251))
    png_bytes, want = open(png, "rb").read(), expected_rows((300, 200, 361, 251))
    s.exit_app()
    check_clipboard("after Exit", (61, 51))


@scenario(dpi=144)
def capture_at_150_percent(s: Session, c: Checks):
    """At 150 % the program's own drawing scales by 1.5 while the capture stays in physical pixels."""
    s.pattern(*PATTERN)
    s.start()
    area = (400, 300, 651, 481)
    before = set(s.image_files("png"))
    frame, region = s.alt_select(area[:2], area[2:])
    if c.check(bool(frame), "the frame is shown while ALT is held"):
        f = frame[0]
        c.check((f["left"], f["top"], f["right"], f["bottom"]) == (398, 298, 655, 485)
                and ring_covers(region, f["right"] - f["left"], f["bottom"] - f["top"]),
                f"the frame is still the two-pixel ring around the physical area: {f}")
    png = s.wait_for(lambda: sorted(set(s.image_files("png")) - before), 15, "the capture")[0]
    s.wait_for(lambda: open(png, "rb").read().endswith(b"IEND\xaeB`\x82"), 15, "the whole PNG")
    facts = png_facts(png)
    c.check(facts["size"] == (251, 181) and facts["pixels"] == expected_rows(area),
            f"the capture is the physical area, pixel for pixel: {facts['size']}")

    panel = s.wait_for(lambda: (p := s.panel()) and p["visible"] and p, 5, "the preview panel")
    c.check((panel["left"], panel["top"], panel["right"], panel["bottom"]) == (0, 0, 360, 315),
            f"the panel is 360 x 315 at (0, 0): {panel}")
    # Photographed while it counts down (the digit beside "Window will disappear in:"), then
    # kept open by resting the mouse on the preview.
    shots = os.path.join(os.environ["GS_WORK"], "screenshots")
    os.makedirs(shots, exist_ok=True)
    im = Image.open(s.screenshot(os.path.join(shots, "panel-144.png"), (360, 315, 0, 0))).convert("RGB")
    s.xdotool("mousemove", 180, 150)  # rests on the preview: the panel stays
    time.sleep(0.8)
    c.check(im.getpixel((5, 30)) == im.getpixel((5, 31)) == (0, 0, 0) and im.getpixel((5, 32)) != (0, 0, 0),
            "the background is drawn for the size: its header line is two rows at 30")
    # 251 x 181 into the 315 x 203 preview at (23, 45): 282 x 203, bars of 16 and 17 beside it.
    c.check(im.getpixel((23 + 5, 45 + 100)) == (0, 0, 0) and im.getpixel((23 + 157, 45 + 100)) != (0, 0, 0),
            "the preview fills the scaled box")

    menu = s.open_menu_at(67, 292)  # the folder icon's arrow, now 15 x 15 at (60, 285)
    c.check((menu["left"], menu["top"]) == (0, 315), f"the folder menu opens at (0, 315): {menu}")
    s.xdotool("key", "Escape")
    s.wait_for(lambda: not [w for w in s.windows("#32768") if w["visible"]], 10, "the menu to close")

    # The recording panel: scaled inside the ring; its Cancel button where the scale puts it.
    s.xdotool("mousemove", 180, 150)
    time.sleep(0.3)
    s.xdotool("mousemove", 302, 279, "click", "1")  # the record icon at (278, 255)
    f = s.wait_for(lambda: [w for w in s.windows("TClipForm") if w["visible"]], 10, "the recording frame")[0]
    region = s.probe("region", "TClipForm")
    c.check(any(r["left"] <= 200 < r["right"] and r["top"] <= 140 < r["bottom"] for r in region if "left" in r),
            "the control panel is 225 x 150 inside the frame")
    s.xdotool("mousemove", f["left"] + 188, f["top"] + 129, "click", "1")
    c.check(bool(s.poll(lambda: not [w for w in s.windows("TClipForm") if w["visible"]], 10)),
            "the scaled Cancel button closes the frame")

    # The monitor's scale changes to 125 % (Wine never sends this itself): laid out again.
    s.probe("post", panel["hwnd"], "0x02E0", 120 | 120 << 16, 0)
    p = s.wait_for(lambda: (p := s.panel()) and p["right"] != 360 and p, 10, "the panel laid out again")
    c.check((p["left"], p["top"], p["right"], p["bottom"]) == (0, 0, 300, 263),
            f"after WM_DPICHANGED to 120 DPI the panel is 300 x 263: {p}")


if __name__ == "__main__":
    checks = Checks()
    capture_end_to_end(checks)
    capture_at_150_percent(checks)
    checks.finish()
