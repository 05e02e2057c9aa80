"""Screen layouts drawn the way desktop programs draw them, with the text a person reads off them.

Each sample is a capture (an RGB array) and its truth: lists and tables (with or without a grid)
row by row with their cells joined by a blank; icons, check boxes, avatars, bullets and
separators left out; a side pane and two text columns one after the other. Icons are drawn at four times their size and
reduced, as icon artwork is; text is drawn by FreeType at the pixel size, as a screen shows it.
"""
import math

import numpy as np
from PIL import Image, ImageDraw, ImageFont

FONTS = {"tahoma": "/usr/share/wine/fonts/tahoma.ttf", "tahoma-bold": "/usr/share/wine/fonts/tahomabd.ttf",
         "dejavu": "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
         "dejavu-bold": "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"}

THEMES = {
    "light": dict(window=(255, 255, 255), pane=(243, 243, 243), text=(27, 27, 27), dim=(96, 96, 96),
                  accent=(0, 95, 184), select=(204, 232, 255), line=(224, 224, 224), header=(245, 245, 245),
                  control=(255, 255, 255), on_accent=(255, 255, 255)),
    "dark": dict(window=(32, 32, 32), pane=(44, 44, 44), text=(255, 255, 255), dim=(200, 200, 200),
                 accent=(96, 205, 255), select=(62, 62, 62), line=(70, 70, 70), header=(40, 40, 40),
                 control=(55, 55, 55), on_accent=(0, 0, 0)),
}

TEXT = {
    "eng": dict(
        files=[("Quarterly report.docx", "12/08/2026 10:20", "Word Document", "24 KB", "doc"),
               ("Invoices", "11/30/2026 16:05", "File folder", "", "folder"),
               ("holiday_photo_17.jpg", "08/14/2026 09:12", "JPEG image", "3.1 MB", "image"),
               ("Budget 2027.xlsx", "12/01/2026 13:47", "Excel Worksheet", "88 KB", "sheet"),
               ("Meeting notes.txt", "12/07/2026 17:30", "Text Document", "2 KB", "text"),
               ("Contract draft.pdf", "10/22/2026 11:02", "PDF Document", "412 KB", "pdf")],
        columns=["Name", "Date modified", "Type", "Size"],
        pane=["Home", "System", "Bluetooth & devices", "Network & internet", "Personalisation", "Apps",
              "Accounts", "Time & language"],
        content=[("Display", "title"), ("Brightness", "item"), ("Adjust the brightness of the built-in display", "dim"),
                 ("Night light", "item"), ("Use warmer colours to help block blue light", "dim"),
                 ("Scale", "item"), ("Change the size of text, apps and other items", "dim")],
        toggles=["On", "Off", "150%"],
        toolbar=["New", "Open", "Delete", "Share", "Properties", "Rename"],
        checks=["Show hidden files", "Hide extensions for known file types", "Launch folder windows in a separate process",
                "Show preview handlers in preview pane", "Use check boxes to select items", "Restore previous folders at logon"],
        checks_title="Advanced settings",
        people=[("Alice Novak", "10:42", "See you tomorrow at the meeting"),
                ("Peter Svoboda", "09:15", "The report is ready for review"),
                ("Jane Dvorak", "Yesterday", "Thanks, that works for me"),
                ("Tom Baker", "Monday", "Could you send me the slides?")],
        prose=("Your subscription renews on the first day of every month. You can change your plan or cancel "
               "at any time from this page, and the change takes effect at the end of the current period.",
               "Storage used: 41.7 GB of 100 GB. Photos and videos take the most space. Free up space by "
               "removing files you no longer need or by moving them to an external drive."),
        heading="Account overview",
        grid=[("Product", "Qty", "Price"), ("Keyboard", "2", "49.90"), ("Mouse", "5", "19.00"),
              ("Monitor 27 inch", "1", "289.00"), ("USB cable", "12", "4.50")]),
    "ces": dict(
        files=[("Čtvrtletní zpráva.docx", "08.12.2026 10:20", "Dokument Word", "24 kB", "doc"),
               ("Faktury", "30.11.2026 16:05", "Složka souborů", "", "folder"),
               ("dovolená_foto_17.jpg", "14.08.2026 9:12", "Obrázek JPEG", "3,1 MB", "image"),
               ("Rozpočet 2027.xlsx", "01.12.2026 13:47", "List aplikace Excel", "88 kB", "sheet"),
               ("Poznámky z porady.txt", "07.12.2026 17:30", "Textový dokument", "2 kB", "text"),
               ("Smlouva návrh.pdf", "22.10.2026 11:02", "Dokument PDF", "412 kB", "pdf")],
        columns=["Název", "Datum změny", "Typ", "Velikost"],
        pane=["Domů", "Systém", "Bluetooth a zařízení", "Síť a internet", "Přizpůsobení", "Aplikace", "Účty",
              "Čas a jazyk"],
        content=[("Obrazovka", "title"), ("Jas", "item"), ("Upravte jas integrovaného displeje", "dim"),
                 ("Noční světlo", "item"), ("Teplejší barvy pomáhají blokovat modré světlo", "dim"),
                 ("Měřítko", "item"), ("Změňte velikost textu, aplikací a dalších položek", "dim")],
        toggles=["Zapnuto", "Vypnuto", "150 %"],
        toolbar=["Nový", "Otevřít", "Odstranit", "Sdílet", "Vlastnosti", "Přejmenovat"],
        checks=["Zobrazit skryté soubory", "Skrýt přípony známých typů souborů",
                "Spouštět okna složek v samostatném procesu", "Zobrazovat obslužné rutiny náhledu",
                "Vybírat položky pomocí zaškrtávacích políček", "Obnovit předchozí složky při přihlášení"],
        checks_title="Upřesnit nastavení",
        people=[("Alena Nováková", "10:42", "Uvidíme se zítra na poradě"),
                ("Petr Svoboda", "9:15", "Zpráva je připravena ke kontrole"),
                ("Jana Dvořáková", "Včera", "Díky, to mi vyhovuje"),
                ("Tomáš Bárta", "Pondělí", "Můžeš mi poslat prezentaci?")],
        prose=("Vaše předplatné se obnoví první den každého měsíce. Tarif můžete změnit nebo zrušit kdykoli na "
               "této stránce a změna se projeví na konci aktuálního období.",
               "Využité úložiště: 41,7 GB ze 100 GB. Nejvíce místa zabírají fotky a videa. Uvolněte místo "
               "odebráním souborů, které už nepotřebujete, nebo jejich přesunem na externí disk."),
        heading="Přehled účtu",
        grid=[("Produkt", "Počet", "Cena"), ("Klávesnice", "2", "1 249 Kč"), ("Myš", "5", "399 Kč"),
              ("Monitor 27 palců", "1", "7 490 Kč"), ("Kabel USB", "12", "129 Kč")]),
}


class Screen:
    """An RGB canvas with a UI's drawing calls: text at pixel sizes, icons at 4x reduced."""

    def __init__(self, w, h, back, mode="antialiased"):
        self.img = Image.new("RGB", (w, h), back)
        self.d = ImageDraw.Draw(self.img)
        if mode == "aliased":
            self.d.fontmode = "1"

    def text(self, x, y, s, font, ink):
        self.d.text((x, y), s, fill=ink, font=font)
        return x + font.getlength(s)

    def rect(self, box, fill=None, outline=None):
        self.d.rectangle(box, fill=fill, outline=outline)

    def icon(self, x, y, size, paint):
        """`paint(draw, s)` draws in a 4*size square; the result is reduced and laid over."""
        big = Image.new("RGBA", (4 * size, 4 * size), (0, 0, 0, 0))
        paint(ImageDraw.Draw(big), 4 * size)
        small = big.resize((size, size), Image.LANCZOS)
        self.img.paste(small, (int(x), int(y)), small)

    def array(self):
        return np.asarray(self.img, dtype=np.uint8).copy()


# Icons: each paints a 4x square (s pixels a side) on a transparent ground.
def file_icon(kind, ink):
    colours = {"doc": (43, 87, 154), "sheet": (33, 115, 70), "pdf": (200, 30, 30), "text": (110, 110, 110),
               "image": (60, 140, 210)}
    band = colours.get(kind, (110, 110, 110))

    def paint(d, s):
        m = s // 8
        d.polygon([(2 * m, m), (5 * m, m), (6 * m, 2 * m + m // 2), (6 * m, 7 * m), (2 * m, 7 * m)],
                  fill=(250, 250, 250, 255), outline=(120, 120, 120, 255), width=max(2, s // 24))
        if kind == "image":
            d.rectangle((2 * m + 4, 3 * m, 6 * m - 4, 6 * m), fill=(110, 180, 240, 255))
            d.polygon([(2 * m + 4, 6 * m), (4 * m, 4 * m), (6 * m - 4, 6 * m)], fill=(60, 160, 70, 255))
            d.ellipse((5 * m - 6, 3 * m + 4, 5 * m + 6, 3 * m + 16), fill=(250, 210, 60, 255))
        elif kind == "text":
            for i in range(4):
                d.line((3 * m, 3 * m + i * m, 5 * m + (i % 2) * m // 2, 3 * m + i * m), fill=(120, 120, 120, 255),
                       width=max(2, s // 24))
        else:  # a coloured tile with the program's letter, as office files show
            d.rectangle((m, 3 * m, 4 * m + m // 2, 6 * m + m // 2), fill=band + (255,))
            letter = {"doc": "W", "sheet": "X", "pdf": "A"}[kind]
            f = ImageFont.truetype(FONTS["dejavu-bold"], int(2.6 * m))
            d.text((m + m // 3, 3 * m - m // 5), letter, fill=(255, 255, 255, 255), font=f)
    return paint


def folder_icon(d, s):
    m = s // 8
    d.rectangle((m, 2 * m, 4 * m, 3 * m), fill=(220, 170, 40, 255))
    d.rectangle((m, 3 * m - 2, 7 * m, 7 * m), fill=(250, 200, 70, 255))
    d.line((m, 3 * m + 4, 7 * m, 3 * m + 4), fill=(255, 225, 130, 255), width=max(2, s // 20))


def outline_icon(kind, ink):
    """Monochrome line icons in the text's colour, as settings panes have."""
    c = ink + (255,)

    def paint(d, s):
        w = max(3, s // 14)
        m = s / 8
        if kind == 0:  # home
            d.line([(m, 4 * m), (4 * m, m), (7 * m, 4 * m)], fill=c, width=w)
            d.rectangle((2 * m, 4 * m, 6 * m, 7 * m), outline=c, width=w)
        elif kind == 1:  # monitor
            d.rectangle((m, 1.5 * m, 7 * m, 5.5 * m), outline=c, width=w)
            d.line([(4 * m, 5.5 * m), (4 * m, 7 * m)], fill=c, width=w)
            d.line([(2.5 * m, 7 * m), (5.5 * m, 7 * m)], fill=c, width=w)
        elif kind == 2:  # a rune of two triangles
            d.line([(2.5 * m, 2.5 * m), (5.5 * m, 5.5 * m), (4 * m, 7 * m), (4 * m, m), (5.5 * m, 2.5 * m),
                    (2.5 * m, 5.5 * m)], fill=c, width=w)
        elif kind == 3:  # globe
            d.ellipse((m, m, 7 * m, 7 * m), outline=c, width=w)
            d.ellipse((2.8 * m, m, 5.2 * m, 7 * m), outline=c, width=w)
            d.line([(m, 4 * m), (7 * m, 4 * m)], fill=c, width=w)
        elif kind == 4:  # brush
            d.line([(6.5 * m, m), (3.5 * m, 4.5 * m)], fill=c, width=w + 2)
            d.ellipse((1.3 * m, 4.3 * m, 3.9 * m, 6.9 * m), outline=c, width=w)
        elif kind == 5:  # grid of apps
            for i in range(2):
                for j in range(2):
                    d.rectangle((m + i * 3.3 * m, m + j * 3.3 * m, 3.7 * m + i * 3.3 * m, 3.7 * m + j * 3.3 * m),
                                outline=c, width=w)
        elif kind == 6:  # person
            d.ellipse((2.8 * m, m, 5.2 * m, 3.4 * m), outline=c, width=w)
            d.arc((1.5 * m, 4.2 * m, 6.5 * m, 9.5 * m), 180, 360, fill=c, width=w)
        else:  # clock
            d.ellipse((m, m, 7 * m, 7 * m), outline=c, width=w)
            d.line([(4 * m, 2.3 * m), (4 * m, 4 * m), (5.4 * m, 5 * m)], fill=c, width=w)
    return paint


def toolbar_icon(kind):
    def paint(d, s):
        m = s / 8
        if kind == 0:  # new: a page with a star
            d.rectangle((2 * m, m, 6 * m, 7 * m), fill=(255, 255, 255, 255), outline=(90, 90, 90, 255), width=3)
            d.regular_polygon((5.6 * m, 2.2 * m, 1.6 * m), 5, fill=(250, 190, 20, 255))
        elif kind == 1:  # open: a folder
            folder_icon(d, s)
        elif kind == 2:  # delete: a red cross
            d.line([(2 * m, 2 * m), (6 * m, 6 * m)], fill=(210, 40, 40, 255), width=int(1.3 * m))
            d.line([(6 * m, 2 * m), (2 * m, 6 * m)], fill=(210, 40, 40, 255), width=int(1.3 * m))
        elif kind == 3:  # share: three linked dots
            for cx, cy in ((2 * m, 4 * m), (6 * m, 2 * m), (6 * m, 6 * m)):
                d.ellipse((cx - m, cy - m, cx + m, cy + m), fill=(0, 120, 212, 255))
            d.line([(2 * m, 4 * m), (6 * m, 2 * m)], fill=(0, 120, 212, 255), width=4)
            d.line([(2 * m, 4 * m), (6 * m, 6 * m)], fill=(0, 120, 212, 255), width=4)
        elif kind == 4:  # properties: a wrench-like gear
            d.ellipse((1.5 * m, 1.5 * m, 6.5 * m, 6.5 * m), fill=(120, 120, 130, 255))
            for a in range(0, 360, 45):
                x, y = 4 * m + 2.8 * m * math.cos(math.radians(a)), 4 * m + 2.8 * m * math.sin(math.radians(a))
                d.ellipse((x - 0.7 * m, y - 0.7 * m, x + 0.7 * m, y + 0.7 * m), fill=(120, 120, 130, 255))
            d.ellipse((3 * m, 3 * m, 5 * m, 5 * m), fill=(240, 240, 240, 255))
        else:  # rename: a pencil
            d.polygon([(2 * m, 6 * m), (2.4 * m, 4.6 * m), (5.6 * m, 1.4 * m), (6.6 * m, 2.4 * m), (3.4 * m, 5.6 * m)],
                      fill=(240, 150, 30, 255), outline=(90, 60, 20, 255))
    return paint


def avatar(colour):
    def paint(d, s):
        d.ellipse((0, 0, s - 1, s - 1), fill=colour + (255,))
        light = tuple(min(255, v + 90) for v in colour) + (255,)
        d.ellipse((0.35 * s, 0.18 * s, 0.65 * s, 0.48 * s), fill=light)
        d.chord((0.18 * s, 0.55 * s, 0.82 * s, 1.15 * s), 180, 360, fill=light)
    return paint


def checkbox(checked, t):
    def paint(d, s):
        if checked:
            d.rounded_rectangle((2, 2, s - 3, s - 3), radius=s // 6, fill=t["accent"] + (255,))
            d.line([(0.25 * s, 0.52 * s), (0.43 * s, 0.7 * s), (0.76 * s, 0.32 * s)], fill=t["on_accent"] + (255,),
                   width=max(3, s // 9))
        else:
            d.rounded_rectangle((2, 2, s - 3, s - 3), radius=s // 6, outline=t["dim"] + (255,), width=max(3, s // 12))
    return paint


def toggle(on, t):
    def paint(d, s):
        h = s // 2
        if on:
            d.rounded_rectangle((0, h // 2, s - 1, h // 2 + h), radius=h // 2, fill=t["accent"] + (255,))
            d.ellipse((s - h + 6, h // 2 + 6, s - 7, h // 2 + h - 7), fill=t["on_accent"] + (255,))
        else:
            d.rounded_rectangle((0, h // 2, s - 1, h // 2 + h), radius=h // 2, outline=t["dim"] + (255,), width=4)
            d.ellipse((8, h // 2 + 8, h - 8, h // 2 + h - 8), fill=t["dim"] + (255,))
    return paint


def wrap(text, font, width):
    lines, line = [], ""
    for word in text.split():
        trial = (line + " " + word).strip()
        if font.getlength(trial) <= width or not line:
            line = trial
        else:
            lines.append(line)
            line = word
    lines.append(line)
    return lines


# The layouts. Each returns (image, truth lines).
def file_list(lang, t, font, px, mode, detailed):
    T = TEXT[lang]
    f = fb = ImageFont.truetype(FONTS[font], px)
    icon = int(round(px * 1.45))
    row = int(round(px * 2.0))
    name_w = max(f.getlength(n) for n, *_ in T["files"]) + icon + 3 * px
    cols = [(T["columns"][0], 0)]
    widths = [name_w]
    if detailed:
        for i in (1, 2, 3):
            w = max(f.getlength(T["columns"][i]), max(f.getlength(r[i]) for r in T["files"])) + 2 * px
            widths.append(w)
    else:
        widths.append(max(f.getlength(r[3]) for r in T["files"]) + 2 * px)
    width = int(sum(widths)) + 2 * px
    height = row * (len(T["files"]) + 1) + px
    s = Screen(width, height, t["window"], mode)
    truth = []
    x0 = px
    header = [T["columns"][0]] + ([T["columns"][i] for i in (1, 2, 3)] if detailed else [T["columns"][3]])
    s.rect((0, 0, width, row), fill=t["header"])
    x = x0
    for h, w in zip(header, widths):
        s.text(x + (icon + px // 2 if h == header[0] else 0), (row - px) // 2 - 1, h, fb, t["dim"])
        x += w
    s.rect((0, row, width, row), fill=t["line"])  # the header's rule
    truth.append(" ".join(header))
    for i, (name, date, kind, size, icon_kind) in enumerate(T["files"]):
        y = row * (i + 1) + px // 3
        if i == 2:
            s.rect((0, y - px // 3 + 1, width, y - px // 3 + row - 1), fill=t["select"])
        paint = folder_icon if icon_kind == "folder" else file_icon(icon_kind, t["text"])
        s.icon(x0, y + (row - icon) // 2 - px // 3, icon, paint)
        cells = [name] + ([date, kind, size] if detailed else [size])
        x = x0
        for c, w in zip(cells, widths):
            s.text(x + (icon + px // 2 if c == name else 0), y + (row - px) // 2 - px // 3 - 1, c,
                   f, t["text"] if c == name else t["dim"])
            x += w
        truth.append(" ".join(c for c in cells if c))
    return s.array(), truth


def settings_page(lang, t, font, px, mode, _):
    T = TEXT[lang]
    f = ImageFont.truetype(FONTS[font], px)
    ft = ImageFont.truetype(FONTS[font.split("-")[0] + "-bold"], int(px * 2))
    icon = int(round(px * 1.4))
    row = int(round(px * 3.0))
    pane_w = int(max(f.getlength(p) for p in T["pane"]) + icon + 4 * px)
    content_w = int(max(f.getlength(c) for c, _ in T["content"] if c) + 14 * px)
    width = pane_w + content_w
    height = max(row * len(T["pane"]) + 2 * px, int(px * 26))
    s = Screen(width, height, t["window"], mode)
    s.rect((0, 0, pane_w, height), fill=t["pane"])
    truth = []
    for i, item in enumerate(T["pane"]):
        y = px + i * row
        if i == 1:  # the page shown: a highlighted row with a bar
            s.rect((px // 2, y + 2, pane_w - px // 2, y + row - 3), fill=t["select"])
            s.rect((px // 2, y + row // 3, px // 2 + 2, y + 2 * row // 3), fill=t["accent"])
        s.icon(1.5 * px, y + (row - icon) // 2, icon, outline_icon(i, t["text"]))
        s.text(1.5 * px + icon + px, y + (row - px) // 2 - 1, item, f, t["text"])
        truth.append(item)
    x = pane_w + 2 * px
    y = px
    toggles = iter(T["toggles"])
    for text, role in T["content"]:
        if role == "title":
            s.text(x, y, text, ft, t["text"])
            y += int(px * 3.5)
            truth.append(text)
        elif role == "item":  # a card: the setting and its state on one row, a hint below
            s.rect((x - px, y - px // 2, width - px, y + int(px * 3.8)), fill=t["control"], outline=t["line"])
            s.text(x, y, text, f, t["text"])
            state = next(toggles)
            sw = f.getlength(state)
            s.text(width - 3 * px - icon * 2 - sw - px, y, state, f, t["text"])
            if "%" not in state:
                s.icon(width - 3 * px - icon * 2, y + px // 2 - icon // 2, icon * 2, toggle(state == T["toggles"][0], t))
            truth.append(text + " " + state)
            y += int(px * 1.7)
        else:
            s.text(x, y, text, f, t["dim"])
            truth.append(text)
            y += int(px * 2.6)
    return s.array(), truth


def two_columns(lang, t, font, px, mode, _):
    T = TEXT[lang]
    f = ImageFont.truetype(FONTS[font], px)
    fh = ImageFont.truetype(FONTS[font.split("-")[0] + "-bold"], int(px * 1.5))
    col = int(px * 24)
    gutter = int(px * 2.5)
    left, right = wrap(T["prose"][0], f, col), wrap(T["prose"][1], f, col)
    lead = int(px * 1.45)
    width = 2 * col + gutter + 4 * px
    height = int(px * 4) + lead * max(len(left), len(right)) + 2 * px
    s = Screen(width, height, t["window"], mode)
    s.text(2 * px, px, T["heading"], fh, t["text"])
    s.rect((2 * px, int(px * 3.2), width - 2 * px, int(px * 3.2)), fill=t["line"])
    y0 = int(px * 4)
    for i, line in enumerate(left):
        s.text(2 * px, y0 + i * lead, line, f, t["text"])
    for i, line in enumerate(right):
        s.text(2 * px + col + gutter, y0 + i * lead, line, f, t["text"])
    return s.array(), [T["heading"]] + left + right


def toolbar(lang, t, font, px, mode, _):
    T = TEXT[lang]
    f = ImageFont.truetype(FONTS[font], px)
    icon = int(round(px * 1.5))
    gap = px
    items = T["toolbar"]
    width = int(sum(f.getlength(i) + icon + gap * 2.5 for i in items) + 2 * gap + 2 * px)
    height = int(px * 3.2)
    s = Screen(width, height, t["pane"], mode)
    x = gap
    for i, item in enumerate(items):
        if i in (3, 5):  # a group separator
            s.rect((x, px // 2, x, height - px // 2), fill=t["line"])
            x += gap
        s.icon(x, (height - icon) // 2, icon, toolbar_icon(i))
        x = s.text(x + icon + px // 2, (height - px) // 2 - 1, item, f, t["text"]) + gap * 1.5
    return s.array(), [" ".join(items)]


def check_list(lang, t, font, px, mode, _):
    T = TEXT[lang]
    f = ImageFont.truetype(FONTS[font], px)
    fb = ImageFont.truetype(FONTS[font.split("-")[0] + "-bold"], px)
    box = int(round(px * 1.3))
    row = int(round(px * 2.1))
    width = int(max(f.getlength(c) for c in T["checks"]) + box + 5 * px)
    height = row * (len(T["checks"]) + 1) + 2 * px
    s = Screen(width, height, t["window"], mode)
    s.text(px, px, T["checks_title"], fb, t["text"])
    truth = [T["checks_title"]]
    for i, c in enumerate(T["checks"]):
        y = px + row * (i + 1)
        s.icon(2 * px, y + (px - box) // 2 + 1, box, checkbox(i % 3 != 1, t))
        s.text(2 * px + box + px // 2 + 2, y - 1, c, f, t["text"])
        truth.append(c)
    return s.array(), truth


def contacts(lang, t, font, px, mode, _):
    T = TEXT[lang]
    f = ImageFont.truetype(FONTS[font], px)
    fb = ImageFont.truetype(FONTS[font.split("-")[0] + "-bold"], px)
    pic = int(round(px * 3.2))
    row = pic + px
    width = int(max(f.getlength(p[2]) for p in T["people"]) + pic + 10 * px)
    height = row * len(T["people"]) + px
    s = Screen(width, height, t["window"], mode)
    colours = [(230, 120, 40), (40, 150, 200), (150, 80, 190), (60, 170, 90)]
    truth = []
    for i, (name, when, text) in enumerate(T["people"]):
        y = px // 2 + i * row
        if i:
            s.rect((pic + 2 * px, y - px // 2, width - px, y - px // 2), fill=t["line"])
        s.icon(px, y, pic, avatar(colours[i]))
        x = pic + 2 * px
        s.text(x, y + 1, name, fb, t["text"])
        s.text(width - px - f.getlength(when), y + 1, when, f, t["dim"])
        s.text(x, y + int(px * 1.6), text, f, t["dim"])
        truth += [name + " " + when, text]
    return s.array(), truth


def bullets(lang, t, font, px, mode, _):
    T = TEXT[lang]
    f = ImageFont.truetype(FONTS[font], px)
    row = int(px * 1.7)
    items = T["checks"][:4]
    width = int(max(f.getlength(c) for c in items) + 6 * px)
    height = row * len(items) + 2 * px
    s = Screen(width, height, t["window"], mode)
    truth = []
    for i, c in enumerate(items):
        y = px + i * row
        s.text(1.5 * px, y, "\u2022", f, t["text"])
        s.text(3 * px, y, c, f, t["text"])
        truth.append(c)
    return s.array(), truth


def grid(lang, t, font, px, mode, _):
    """A table drawn with its grid, as spreadsheets and reports draw them: rules between cells."""
    T = TEXT[lang]
    f = ImageFont.truetype(FONTS[font], px)
    rows = T["grid"]
    widths = [int(max(f.getlength(r[c]) for r in rows) + 2 * px) for c in range(3)]
    row = int(px * 2)
    width, height = sum(widths) + 1, row * len(rows) + 1
    s = Screen(width + 2 * px, height + 2 * px, t["window"], mode)
    rule = tuple(int(0.55 * a + 0.45 * b) for a, b in zip(t["window"], t["text"]))
    s.rect((px, px, px + width - 1, px + row), fill=t["header"])
    for i in range(len(rows) + 1):
        s.rect((px, px + i * row, px + width - 1, px + i * row), fill=rule)
    x = px
    for w in widths + [0]:
        s.rect((x, px, x, px + height - 1), fill=rule)
        x += w
    for i, cells in enumerate(rows):
        x = px
        for c, (text, w) in enumerate(zip(cells, widths)):
            right = c > 0  # numbers to the right, as tables set them
            tx = x + w - px - f.getlength(text) if right else x + px
            s.text(tx, px + i * row + (row - px) // 2 - 1, text, f, t["text"])
            x += w
    return s.array(), [" ".join(r) for r in rows]


LAYOUTS = {"files": (file_list, False), "table": (file_list, True), "settings": (settings_page, None),
           "columns": (two_columns, None), "toolbar": (toolbar, None), "checks": (check_list, None),
           "contacts": (contacts, None), "bullets": (bullets, None), "grid": (grid, None)}


def samples():
    """(name, language, truth lines, RGB capture) for every layout, light and dark, English and Czech."""
    out = []
    variants = [("tahoma", 11, "antialiased"), ("dejavu", 12, "antialiased"), ("tahoma", 10, "aliased"),
                ("dejavu", 14, "antialiased")]
    for i, (layout, (fn, flag)) in enumerate(LAYOUTS.items()):
        for k, (lang, theme) in enumerate((l, t) for l in ("eng", "ces") for t in ("light", "dark")):
            font, px, mode = variants[(i + k) % len(variants)]
            img, truth = fn(lang, THEMES[theme], font, px, mode, flag)
            out.append((f"layout-{layout}-{lang}-{theme}-{font}-{px}px", lang, truth, img))
    return out


if __name__ == "__main__":
    import os
    import sys
    folder = sys.argv[1] if len(sys.argv) > 1 else "/tmp/layouts"
    os.makedirs(folder, exist_ok=True)
    for name, lang, truth, img in samples():
        Image.fromarray(img).save(os.path.join(folder, name + ".png"))
        with open(os.path.join(folder, name + ".txt"), "w", encoding="utf-8") as fh:
            fh.write("\n".join(truth) + "\n")
    print(len(samples()), "samples in", folder)
