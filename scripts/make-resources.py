#!/usr/bin/python3
"""Draws Quorvel's icons and synthesises its "OK" sound into resources/.

The outputs are committed, so a build never runs this. Run it after changing a picture:
    /usr/bin/python3 scripts/make-resources.py [--sheet contact-sheet.png]
Needs Debian's python3-pil (and fonts-dejavu-core for the donation button's text).
"""

import argparse
import math
import pathlib
import struct
import wave

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = pathlib.Path(__file__).resolve().parent.parent
RESOURCES = ROOT / "resources"
ICONS = RESOURCES / "icons"
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# Shapes are drawn this many times larger than the target and then averaged down,
# which gives clean anti-aliased edges at every size.
SUPERSAMPLE = 8

SIZES_16 = (16, 20, 24, 32)
SIZES_32 = (16, 20, 24, 32, 40, 48)

SLATE = (55, 71, 79)
SLATE_DARK = (33, 43, 48)
SLATE_LIGHT = (120, 144, 156)
RED = (229, 57, 53)
GREEN = (67, 160, 71)
GREEN_LIGHT = (118, 214, 122)
GREEN_DARK = (46, 125, 50)
BLUE = (30, 136, 229)
BLUE_DARK = (21, 90, 170)
TEAL = (0, 150, 136)
TEAL_DARK = (0, 105, 92)
ORANGE = (245, 124, 0)
AMBER = (255, 193, 7)
AMBER_DARK = (196, 136, 0)
PURPLE = (142, 36, 170)
GREY = (150, 150, 150)
GREY_DARK = (104, 104, 104)
GREY_LIGHT = (226, 226, 226)
PAPER = (250, 250, 250)
WOOD = (141, 110, 99)
WOOD_DARK = (93, 64, 55)
WOOD_LIGHT = (188, 170, 164)
KEYCAP = (189, 189, 189)
WHITE = (255, 255, 255)
CLEAR = (0, 0, 0, 0)


def rgba(colour):
    """Pillow's fill for an RGB or RGBA colour; None stays None."""
    return colour + (255,) if colour and len(colour) == 3 else colour


class Canvas:
    """A picture of width x height pixels addressed in design units (grid x grid for the square
    icons), drawn supersampled. Edges of boxes fall on whole target pixels so small sizes stay
    sharp."""

    def __init__(self, width, height, grid_w, grid_h):
        self.width, self.height = width, height
        self.unit = width / grid_w
        self.origin = 0
        self.finishers = []
        assert abs(height - grid_h * self.unit) <= 1
        self.image = Image.new("RGBA", (width * SUPERSAMPLE, height * SUPERSAMPLE), CLEAR)
        self.draw = ImageDraw.Draw(self.image)

    @property
    def small(self):
        """True when a 32-unit picture has too few pixels for fine detail."""
        return self.unit * 32 <= 20.5

    def px(self, v):
        return self.origin + v * self.unit * SUPERSAMPLE

    def length(self, v):
        return v * self.unit * SUPERSAMPLE

    def snapped(self, v):
        return self.origin + round(v * self.unit) * SUPERSAMPLE

    def stroke(self, w):
        return max(SUPERSAMPLE, round(w * self.unit * SUPERSAMPLE))

    def box(self, x0, y0, x1, y1, snap=True):
        f = self.snapped if snap else self.px
        return [f(x0), f(y0), f(x1) - 1, f(y1) - 1]

    def rect(self, x0, y0, x1, y1, radius=0, fill=None, outline=None, width=1, snap=True):
        self.draw.rounded_rectangle(self.box(x0, y0, x1, y1, snap), radius=self.length(radius),
                                    fill=rgba(fill), outline=rgba(outline),
                                    width=self.stroke(width) if outline else 0)

    def ellipse(self, cx, cy, rx, ry=None, fill=None, outline=None, width=1):
        ry = rx if ry is None else ry
        b = [self.px(cx - rx), self.px(cy - ry), self.px(cx + rx) - 1, self.px(cy + ry) - 1]
        self.draw.ellipse(b, fill=rgba(fill), outline=rgba(outline),
                          width=self.stroke(width) if outline else 0)

    def pieslice(self, x0, y0, x1, y1, start, end, fill):
        b = [self.px(x0), self.px(y0), self.px(x1) - 1, self.px(y1) - 1]
        self.draw.pieslice(b, start, end, fill=rgba(fill))

    def polygon(self, points, fill, outline=None, width=1):
        self.draw.polygon([(self.px(x), self.px(y)) for x, y in points], fill=rgba(fill))
        if outline:
            self.line(points + points[:1], outline, width)

    def line(self, points, colour, width=1, round_ends=True):
        pts = [(self.px(x), self.px(y)) for x, y in points]
        w = self.stroke(width)
        colour = rgba(colour)
        self.draw.line(pts, fill=colour, width=w, joint="curve")
        if round_ends:
            for x, y in (pts[0], pts[-1]):
                self.draw.ellipse([x - w / 2, y - w / 2, x + w / 2, y + w / 2], fill=colour)

    def arc(self, cx, cy, r, start, end, colour, width=1, round_ends=True):
        w = self.stroke(width)
        ro = self.length(r) + w / 2
        b = [self.px(cx) - ro, self.px(cy) - ro, self.px(cx) + ro, self.px(cy) + ro]
        colour = rgba(colour)
        self.draw.arc(b, start, end, fill=colour, width=w)
        if round_ends:
            for a in (start, end):
                x = self.px(cx) + self.length(r) * math.cos(math.radians(a))
                y = self.px(cy) + self.length(r) * math.sin(math.radians(a))
                self.draw.ellipse([x - w / 2, y - w / 2, x + w / 2, y + w / 2], fill=colour)

    def paste(self, layer):
        self.image.alpha_composite(layer.image)

    def layer(self):
        other = Canvas.__new__(Canvas)
        other.__dict__.update(self.__dict__)
        other.image = Image.new("RGBA", self.image.size, CLEAR)
        other.draw = ImageDraw.Draw(other.image)
        return other

    def inset(self, scale):
        """A view of this picture shrunk about its centre, on whole pixels."""
        inner = Canvas.__new__(Canvas)
        inner.__dict__.update(self.__dict__)
        margin = round(self.width * (1 - scale) / 2)
        inner.unit = (self.width - 2 * margin) / self.width * self.unit
        inner.origin = self.origin + margin * SUPERSAMPLE
        return inner

    def rotated(self, degrees, cx, cy):
        """This picture turned anticlockwise about a design point."""
        turned = self.layer()
        turned.image = self.image.rotate(degrees, Image.Resampling.BICUBIC,
                                         center=(self.px(cx), self.px(cy)))
        turned.draw = ImageDraw.Draw(turned.image)
        return turned

    def result(self):
        # Averaging premultiplied colour keeps transparent edges from darkening.
        small = self.image.convert("RGBa").resize((self.width, self.height), Image.Resampling.BOX)
        small = small.convert("RGBA")
        for finish in self.finishers:
            finish(small)
        return small


# --- The remote control: the program's own picture -------------------------------------------

REMOTE_TILT = 40
REMOTE_CENTRE = (13.5, 18.5)
REMOTE_HALF_LENGTH = 12


def remote(c, body=SLATE, edge=SLATE_DARK, power=RED, keys=SLATE_LIGHT, lit=None):
    """A remote in a 32-unit grid, tilted to the right so its signal leaves towards the top
    right corner; `lit` colours the pressed key."""
    x, y = REMOTE_CENTRE
    top = y - REMOTE_HALF_LENGTH
    r = c.layer()
    r.rect(x - 6, top, x + 6, y + REMOTE_HALF_LENGTH, radius=4, fill=body, outline=edge,
           width=1.4 if c.small else 1.0, snap=False)
    r.ellipse(x, top + 4.5, 2.5, fill=power)
    if c.small:
        for row in (top + 9.5, top + 15):
            r.rect(x - 3.2, row, x + 3.2, row + 3, radius=1,
                   fill=lit if lit and row < top + 10 else keys, snap=False)
    else:
        r.ellipse(x, top + 11.5, 3.4, fill=keys)
        r.ellipse(x, top + 11.5, 1.4, fill=lit or body)
        for row in (top + 17.2, top + 20.8):
            for dx in (-2.3, 2.3):
                r.rect(x + dx - 1.5, row - 1.1, x + dx + 1.5, row + 1.1, radius=0.6, fill=keys,
                       snap=False)
    turned = r.rotated(-REMOTE_TILT, x, y)
    c.paste(halo(turned))
    c.paste(turned)


def halo(layer):
    """A soft light rim around a shape, so a dark picture still stands out on a dark taskbar."""
    alpha = layer.image.getchannel("A").filter(ImageFilter.MaxFilter(2 * SUPERSAMPLE + 1))
    rim = layer.layer()
    rim.image = Image.new("RGBA", layer.image.size, (255, 255, 255, 0))
    rim.image.putalpha(alpha.point(lambda a: a * 150 // 255))
    return rim


def waves(c, colour):
    """Signal arcs leaving the tip of the tilted remote."""
    tilt = math.radians(REMOTE_TILT)
    x = REMOTE_CENTRE[0] + (REMOTE_HALF_LENGTH - 1) * math.sin(tilt)
    y = REMOTE_CENTRE[1] - (REMOTE_HALF_LENGTH - 1) * math.cos(tilt)
    heading = 270 + REMOTE_TILT
    for r in (4.5, 8.8):
        c.arc(x, y, r, heading - 34, heading + 34, colour, width=3.0 if c.small else 2.1)


def badge(c, colour, edge, glyph):
    """A round status badge in the bottom right corner."""
    c.ellipse(24.5, 24.5, 7.5, fill=WHITE)
    c.ellipse(24.5, 24.5, 6.3, fill=colour, outline=edge, width=0.9)
    glyph(c)


def app_icon(c):
    remote(c)
    waves(c, ORANGE)


def tray_starting(c):
    remote(c, body=GREY, edge=GREY_DARK, power=GREY_LIGHT, keys=GREY_LIGHT)

    def hourglass(c):
        w = 1.6 if c.small else 1.3
        c.line([(21.5, 20.5), (27.5, 20.5), (21.5, 28.5), (27.5, 28.5), (21.5, 20.5)], WHITE, w)
    badge(c, AMBER, AMBER_DARK, hourglass)


def tray_held(c):
    remote(c, lit=GREEN_LIGHT)
    waves(c, GREEN)


def tray_idle(c):
    remote(c)


def tray_client(c):
    remote(c)

    def arrows(c):
        w = 1.7 if c.small else 1.4
        c.line([(20.5, 22.3), (28, 22.3)], WHITE, w)
        c.line([(25.8, 20.0), (28.3, 22.3), (25.8, 24.6)], WHITE, w)
        c.line([(28.5, 26.7), (21, 26.7)], WHITE, w)
        c.line([(23.2, 24.4), (20.7, 26.7), (23.2, 29.0)], WHITE, w)
    badge(c, BLUE, BLUE_DARK, arrows)


# --- Glyphs shared by the emulation modes (32-unit grid) -------------------------------------

def glyph_broadcast(c, colour):
    c.ellipse(16, 16, 3.0, fill=colour)
    w = 2.6 if c.small else 2.2
    for r in (7.0, 11.5):
        c.arc(16, 16, r, 140, 220, colour, w)
        c.arc(16, 16, r, -40, 40, colour, w)


def glyph_keyboard(c, colour, keys):
    c.rect(3, 9, 29, 24, radius=2.5, fill=colour)
    if c.small:
        for y in (11.5, 15.5):
            for x in (6, 11, 16, 21):
                c.rect(x, y, x + 3.2, y + 2.6, fill=keys, snap=False)
        c.rect(9, 19.5, 23, 22, fill=keys, snap=False)
    else:
        for y, xs in ((11.5, (6, 10, 14, 18, 22)), (15.5, (8, 12, 16, 20, 24))):
            for x in xs:
                c.rect(x, y, x + 2.6, y + 2.4, radius=0.4, fill=keys, snap=False)
        c.rect(10, 19.5, 22, 21.9, radius=0.4, fill=keys, snap=False)


def glyph_mouse(c, colour, detail, button=None):
    c.rect(8, 4, 24, 29, radius=8, fill=colour, snap=False)
    w = 1.6 if c.small else 1.2
    if button:
        c.pieslice(8, 4, 24, 20, 180, 270, button)
        c.rect(8, 12, 16, 14, fill=button, snap=False)
    c.line([(8, 14), (24, 14)], detail, w, round_ends=False)
    c.line([(16, 4), (16, 14)], detail, w, round_ends=False)


def glyph_envelope(c, colour, fold):
    c.rect(3, 7, 29, 25, radius=2, fill=colour)
    w = 2.2 if c.small else 1.7
    c.line([(5, 9.5), (16, 18), (27, 9.5)], fold, w)


def tile(c, colour):
    c.rect(1, 1, 31, 31, radius=6, fill=colour)


MODES = {
    "winlirc": (TEAL, lambda c, fg, bg: glyph_broadcast(c, fg)),
    "keys": (BLUE, lambda c, fg, bg: glyph_keyboard(c, fg, bg)),
    "mouse": (ORANGE, lambda c, fg, bg: glyph_mouse(c, fg, bg)),
    "messages": (PURPLE, lambda c, fg, bg: glyph_envelope(c, fg, bg)),
}


def mode_tile(name):
    colour, glyph = MODES[name]

    def draw(c):
        tile(c, colour)
        glyph(c.inset(0.8 if c.small else 0.72), WHITE, colour)
    return draw


def mode_off(name):
    def draw(c):
        c.rect(1, 1, 31, 31, radius=6, fill=PAPER, outline=GREY, width=1.6 if c.small else 1.2)
        MODES[name][1](c.inset(0.8 if c.small else 0.72), GREY_DARK, PAPER)
    return draw


# --- The property editor's icons (32-unit grid) ----------------------------------------------

def name_icon(c):
    tag = [(4, 14.5), (14.5, 4), (27, 4), (28, 5), (28, 17.5), (17.5, 28), (16, 28), (4, 16)]
    c.polygon(tag, AMBER, AMBER_DARK, 1.6 if c.small else 1.2)
    c.ellipse(22, 10, 2.6 if c.small else 2.2, fill=WHITE, outline=AMBER_DARK,
              width=1.3 if c.small else 1.0)
    if not c.small:
        c.line([(11, 16.5), (15.5, 12)], AMBER_DARK, 1.6)
        c.line([(13.5, 19), (18, 14.5)], AMBER_DARK, 1.6)


def action_icon(c):
    c.ellipse(16, 16, 14.5, fill=GREEN, outline=GREEN_DARK, width=1.0)
    w = 3.2 if c.small else 2.6
    c.arc(16, 17, 7.5, -60, 240, WHITE, w)
    c.line([(16, 6.5), (16, 15.5)], WHITE, w)


def mouse_icon(c):
    glyph_mouse(c, PAPER, GREY_DARK, button=ORANGE)
    c.rect(8, 4, 24, 29, radius=8, outline=GREY_DARK, width=1.6 if c.small else 1.2, snap=False)


def key_icon(c):
    c.rect(3, 4, 29, 29, radius=5, fill=KEYCAP, outline=GREY_DARK,
           width=1.6 if c.small else 1.2)
    c.rect(6, 6, 26, 23, radius=3.5, fill=PAPER)
    w = 2.8 if c.small else 2.3
    c.line([(10.5, 19.5), (16, 9), (21.5, 19.5)], BLUE_DARK, w)
    c.line([(13, 15.5), (19, 15.5)], BLUE_DARK, w)


def message_icon(c):
    glyph_envelope(c, PURPLE, WHITE)
    c.ellipse(25, 24, 6.5, fill=WHITE)
    c.ellipse(25, 24, 5.3, fill=AMBER)
    bolt = [(26.3, 18.8), (21.8, 24.8), (25, 24.8), (23.8, 29.2), (28.3, 23.2), (25.1, 23.2)]
    c.polygon(bolt, WHITE)


def window(c, x0, y0, x1, y1, bar=BLUE):
    c.rect(x0, y0, x1, y1, radius=2, fill=PAPER, outline=GREY_DARK, width=1.6 if c.small else 1.2)
    c.rect(x0, y0, x1, y0 + (6 if c.small else 5), radius=2, fill=bar)
    c.rect(x0, y0 + 3, x1, y0 + (6 if c.small else 5), fill=bar)


def run_icon(c):
    window(c, 2, 4, 27, 25)
    c.ellipse(22, 22, 8.5, fill=WHITE)
    c.ellipse(22, 22, 7.3, fill=GREEN)
    c.polygon([(19.5, 17.5), (26.5, 22), (19.5, 26.5)], WHITE)


def repeat_icon(c):
    w = 3.4 if c.small else 2.8
    for start in (200, 20):
        end = start + 110
        c.arc(16, 16, 10.5, start, end, GREEN, w)
        # An arrowhead at the arc's end, pointing on round the circle.
        a = math.radians(end)
        x, y = 16 + 10.5 * math.cos(a), 16 + 10.5 * math.sin(a)
        along, out = (-math.sin(a), math.cos(a)), (math.cos(a), math.sin(a))
        c.polygon([(x + 5 * along[0], y + 5 * along[1]),
                   (x - 1 * along[0] + 4.5 * out[0], y - 1 * along[1] + 4.5 * out[1]),
                   (x - 1 * along[0] - 4.5 * out[0], y - 1 * along[1] - 4.5 * out[1])], GREEN)


# --- The tray menu's pictures (32-unit grid) -------------------------------------------------

def restore_icon(c):
    window(c, 3, 5, 29, 27)
    c.polygon([(16, 11), (22.5, 18.5), (18.5, 18.5), (18.5, 23.5), (13.5, 23.5), (13.5, 18.5),
               (9.5, 18.5)], GREEN)


def minimize_icon(c):
    window(c, 3, 5, 29, 27)
    c.rect(9, 20, 23, 23.5, fill=SLATE)


def exit_icon(c):
    c.rect(5, 3, 19, 29, radius=1.5, fill=WOOD, outline=WOOD_DARK, width=1.6 if c.small else 1.2)
    c.rect(8, 6, 16, 26, fill=WOOD_LIGHT)
    c.ellipse(14, 16.5, 1.4, fill=WOOD_DARK)
    w = 3.2 if c.small else 2.6
    c.line([(17, 16), (28, 16)], RED, w)
    c.polygon([(30.5, 16), (23.5, 9.5), (23.5, 22.5)], RED)


# --- Speed-button glyphs (32-unit grid) ------------------------------------------------------

def floppy(c, colour, edge):
    c.polygon([(3, 5), (24, 5), (29, 10), (29, 29), (3, 29)], colour)
    c.rect(3, 5, 29, 29, radius=2, outline=edge, width=1.6 if c.small else 1.2, snap=False)
    c.rect(8, 5, 22, 13, fill=PAPER)
    c.rect(17.5, 6.5, 20.5, 11.5, fill=edge)
    c.rect(7, 18, 25, 29, fill=WHITE)
    if not c.small:
        for y in (21, 24.5):
            c.line([(10, y), (22, y)], GREY, 1.0, round_ends=False)


def save_button_icon(c):
    floppy(c, BLUE, BLUE_DARK)


def save_settings_icon(c):
    floppy(c, TEAL, TEAL_DARK)
    cx, cy = 24, 24
    c.ellipse(cx, cy, 8, fill=WHITE)
    for i in range(8):
        a = math.radians(i * 45)
        c.line([(cx, cy), (cx + 6.3 * math.cos(a), cy + 6.3 * math.sin(a))], SLATE,
               2.8 if c.small else 2.2, round_ends=False)
    c.ellipse(cx, cy, 4.8, fill=SLATE)
    c.ellipse(cx, cy, 2.0, fill=WHITE)


def browse_icon(c):
    c.polygon([(2, 7), (11, 7), (14, 10), (27, 10), (27, 27), (2, 27)], AMBER_DARK)
    c.polygon([(7, 14), (30.5, 14), (26, 27), (2, 27)], AMBER)
    for x in (10, 16, 22):
        c.ellipse(x, 21, 1.9 if c.small else 1.6, fill=WHITE)


def timing_icon(c):
    """A stopwatch: the times of the repeats and of long and double presses."""
    w = 1.6 if c.small else 1.2
    c.rect(13, 1.5, 19, 5, radius=1, fill=SLATE, snap=False)
    c.line([(16, 5), (16, 7.5)], SLATE, 3.0 if c.small else 2.4, round_ends=False)
    c.line([(24, 8.5), (26.5, 6)], SLATE, 3.0 if c.small else 2.4)
    c.ellipse(16, 18.5, 12.5, fill=PAPER, outline=SLATE_DARK, width=w)
    if not c.small:
        for i in range(12):
            a = math.radians(i * 30)
            c.line([(16 + 9.5 * math.cos(a), 18.5 + 9.5 * math.sin(a)),
                    (16 + 11 * math.cos(a), 18.5 + 11 * math.sin(a))], GREY, 1.0, round_ends=False)
    hand = 2.6 if c.small else 2.0
    c.line([(16, 18.5), (16, 10)], SLATE_DARK, hand)
    c.line([(16, 18.5), (22, 21.5)], RED, hand)
    c.ellipse(16, 18.5, 2.0 if c.small else 1.6, fill=SLATE_DARK)


# --- Pictures of the About group -------------------------------------------------------------

def flag_icon(c):
    """The maker's banner: the brand's teal and white with the remote's red key."""
    c.rect(0, 0, 32, 16, fill=TEAL)
    c.rect(0, 5, 32, 11, fill=WHITE)
    c.ellipse(9, 8, 2.6, fill=RED)
    c.rect(0, 0, 32, 16, outline=TEAL_DARK, width=1)


def donate_icon(c):
    c.rect(0.5, 0.5, 67.5, 26.5, radius=6, fill=AMBER, outline=AMBER_DARK, width=1)
    heart = c.layer()
    heart.ellipse(9.7, 10.6, 3.2, fill=RED)
    heart.ellipse(15.1, 10.6, 3.2, fill=RED)
    heart.polygon([(6.75, 11.9), (18.05, 11.9), (12.4, 19.2)], RED)
    c.paste(heart)

    def caption(image):
        # Text is drawn at the final size so the font's hinting keeps it sharp.
        font = ImageFont.truetype(FONT, round(9.5 * c.unit))
        ImageDraw.Draw(image).text((43 * c.unit, 13.8 * c.unit), "Donate", font=font,
                                   fill=rgba(SLATE_DARK), anchor="mm")
    c.finishers.append(caption)


# --- What is written ------------------------------------------------------------------------

# (file stem, design grid (w, h), sizes as (w, h), draw)
def square(sizes):
    return [(s, s) for s in sizes]


ICON_TABLE = [
    ("app", (32, 32), square(SIZES_32), app_icon),
    ("tray-starting", (32, 32), square(SIZES_16), tray_starting),
    ("tray-held", (32, 32), square(SIZES_16), tray_held),
    ("tray-idle", (32, 32), square(SIZES_16), tray_idle),
    ("tray-client", (32, 32), square(SIZES_16), tray_client),
    ("menu-restore", (32, 32), square(SIZES_16), restore_icon),
    ("menu-minimize", (32, 32), square(SIZES_16), minimize_icon),
    ("menu-exit", (32, 32), square(SIZES_16), exit_icon),
] + [
    (f"menu-{mode}-{state}", (32, 32), square(SIZES_16), draw(mode))
    for mode in MODES for state, draw in (("on", mode_tile), ("off", mode_off))
] + [
    (f"mode-{mode}", (32, 32), square(SIZES_32), mode_tile(mode)) for mode in MODES
] + [
    ("prop-name", (32, 32), square(SIZES_32), name_icon),
    ("prop-action", (32, 32), square(SIZES_32), action_icon),
    ("prop-mouse", (32, 32), square(SIZES_32), mouse_icon),
    ("prop-key", (32, 32), square(SIZES_32), key_icon),
    ("prop-message", (32, 32), square(SIZES_32), message_icon),
    ("prop-run", (32, 32), square(SIZES_32), run_icon),
    ("prop-repeat", (32, 32), square(SIZES_16), repeat_icon),
    ("save-button", (32, 32), square(SIZES_16), save_button_icon),
    ("save-settings", (32, 32), square(SIZES_16), save_settings_icon),
    ("browse", (32, 32), square(SIZES_16), browse_icon),
    ("timing", (32, 32), square(SIZES_16), timing_icon),
    ("flag", (32, 16), [(32, 16), (40, 20), (48, 24)], flag_icon),
    ("donate", (68, 27), [(68, 27), (85, 34), (102, 41)], donate_icon),
]


def render(grid, size, draw):
    c = Canvas(size[0], size[1], grid[0], grid[1])
    draw(c)
    return c.result()


def ico_bytes(images):
    """An .ico of 32-bit BMP images (with the 1-bit mask older Windows versions expect)."""
    blobs = []
    for im in images:
        w, h = im.size
        px = im.load()
        colour = bytearray()
        for y in reversed(range(h)):
            for x in range(w):
                r, g, b, a = px[x, y]
                colour += bytes((b, g, r, a))
        row_bytes = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(h)):
            row = bytearray(row_bytes)
            for x in range(w):
                if px[x, y][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(colour) + len(mask),
                             0, 0, 0, 0)
        blobs.append(header + bytes(colour) + bytes(mask))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for im, blob in zip(images, blobs):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


# --- The "OK" sound --------------------------------------------------------------------------

SAMPLE_RATE = 8000
SOUND_BYTES = 468


def ok_sound():
    """Two quick rising notes, a fifth apart, each with a soft attack and a decaying tail."""
    notes = ((1046.5, 0, 200), (1568.0, 180, SOUND_BYTES))
    samples = [0.0] * SOUND_BYTES
    for freq, start, end in notes:
        for i in range(start, end):
            t = (i - start) / SAMPLE_RATE
            attack = min(1.0, t / 0.003)
            release = min(1.0, (end - 1 - i) / 40)
            level = 0.6 * attack * release * math.exp(-t * 28)
            samples[i] += level * math.sin(2 * math.pi * freq * t)
    return bytes(max(0, min(255, 128 + round(127 * s))) for s in samples)


def write_sound(path):
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(SAMPLE_RATE)
        w.writeframes(ok_sound())


# --- Contact sheet for looking at the result -------------------------------------------------

def contact_sheet(rendered, path, zoom=3):
    """Every picture at every size, enlarged, on a light, a white and a dark background."""
    font = ImageFont.truetype(FONT, 14)
    label_w, gap = 180, 6
    backgrounds = ((240, 240, 240), (255, 255, 255), (32, 32, 32))
    cell_h = max(im.size[1] for _, ims in rendered for im in ims) * zoom + 2 * gap
    strip_w = max(sum(im.size[0] * zoom + gap for im in ims) for _, ims in rendered) + gap
    sheet = Image.new("RGBA", (label_w + strip_w * len(backgrounds), cell_h * len(rendered)),
                      rgba(WHITE))
    draw = ImageDraw.Draw(sheet)
    for row, (stem, ims) in enumerate(rendered):
        top = row * cell_h
        draw.text((4, top + cell_h // 2), stem, font=font, fill=rgba(SLATE_DARK), anchor="lm")
        for col, bg in enumerate(backgrounds):
            left = label_w + col * strip_w
            draw.rectangle([left, top, left + strip_w - 1, top + cell_h - 1], fill=rgba(bg))
            x = left + gap
            for im in ims:
                big = im.resize((im.size[0] * zoom, im.size[1] * zoom), Image.Resampling.NEAREST)
                sheet.alpha_composite(big, (x, top + gap))
                x += big.size[0] + gap
    sheet.save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sheet", type=pathlib.Path, help="also write a PNG of every picture")
    args = parser.parse_args()
    ICONS.mkdir(parents=True, exist_ok=True)
    rendered = []
    for stem, grid, sizes, draw in ICON_TABLE:
        images = [render(grid, size, draw) for size in sizes]
        (ICONS / f"{stem}.ico").write_bytes(ico_bytes(images))
        rendered.append((stem, images))
    write_sound(RESOURCES / "OK.wav")
    if args.sheet:
        contact_sheet(rendered, args.sheet)


if __name__ == "__main__":
    main()
