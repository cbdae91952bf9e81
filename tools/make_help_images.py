#!/usr/bin/env python3
# Generates the shipped help images (HP-GL/2 ".plt" files, share/, where the help texts look for them) from geometry, so that
# every picture can be reviewed and changed here and written again byte for byte.
"""Usage: make_help_images.py [--out DIR] [--check]

Without options the images are written to share/ beside this tools/ folder. --out writes
them to another folder; --check compares what would be written with the files there and exits 1
on a difference.

The images use only the HP-GL/2 instructions the program's help image reader draws: PU, PD, PA,
SP, CI, SI, DI, LB, AA, PE and CS. Coordinates are plotter units of 0.025 mm in the help window
of 160 x 120 mm (0..6400 x 0..4800). Curves are written as encoded polylines (PE), in base 64
for some images and base 32 for others, with the "<" (move) and "=" (absolute) flags. Labels
use character set 3, where "}" after a, o, u (A, O, U) makes the umlaut; there is no sharp s,
so "ss" stands for it.

The reader keeps pen, pen state, character size, direction and character set from one image to
the next, so every image first sets all of them.

Pens (window colours on the default white background): 5 blue (drawing), 1 red (dimensions,
highlights), 6 magenta (text), 3 green and 8 grey (secondary lines). Pens 1 to 8 keep the files
valid for plotters and converters with an eight-pen carousel.
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.join(os.path.dirname(HERE), "share")

UNIT = 0.025          # mm per plotter unit
WIDTH, HEIGHT = 160.0, 120.0
ETX = "\x03"

BLUE, RED, MAGENTA, GREEN, GREY = 5, 1, 6, 3, 8

UMLAUTS = {"ä": "a}", "ö": "o}", "ü": "u}", "Ä": "A}", "Ö": "O}", "Ü": "U}", "ß": "ss"}


def pu(v):
    """Millimetres to whole plotter units."""
    return int(round(v / UNIT))


def encode_number(n, base32):
    """One PE number: sign in the lowest bit, digits least significant first."""
    v = 2 * n if n >= 0 else -2 * n + 1
    bits = 5 if base32 else 6
    out = []
    while True:
        d = v & ((1 << bits) - 1)
        v >>= bits
        if v == 0:
            out.append(chr((95 if base32 else 191) + d))
            return "".join(out)
        out.append(chr(63 + d))


def label_text(s):
    out = []
    for ch in s:
        if ch in UMLAUTS:
            out.append(UMLAUTS[ch])
        elif 32 <= ord(ch) < 127 and ch != "}":
            out.append(ch)
        else:
            raise ValueError("character not available in a help label: %r" % ch)
    return "".join(out)


class Plot:
    """Collects the instructions of one image."""

    def __init__(self, base32=False):
        self.parts = []
        self.base32 = base32
        self.pen = None
        self.size = None
        self.direction = None

    # --- state
    def header(self):
        self.parts.append("SP%d;PU0,0;SI0.15,0.25;DI1,0;CS3;" % BLUE)
        self.pen, self.size, self.direction = BLUE, (0.15, 0.25), (1, 0)

    def sp(self, n):
        if n != self.pen:
            self.parts.append("SP%d;" % n)
            self.pen = n

    def _check(self, x, y):
        if not (0 <= x <= pu(WIDTH) and 0 <= y <= pu(HEIGHT)):
            raise ValueError("point outside the help window: %.2f, %.2f mm" % (x * UNIT, y * UNIT))

    # --- lines
    def polyline(self, pts, pen=None):
        """A polyline through points in mm, as PU and PD with plain coordinates."""
        if pen is not None:
            self.sp(pen)
        q = [(pu(x), pu(y)) for x, y in pts]
        for x, y in q:
            self._check(x, y)
        self.parts.append("PU%d,%d;" % q[0])
        self.parts.append("PD" + ",".join("%d,%d" % p for p in q[1:]) + ";")

    def line(self, x1, y1, x2, y2, pen=None):
        self.polyline([(x1, y1), (x2, y2)], pen)

    def rect(self, x1, y1, x2, y2, pen=None):
        self.polyline([(x1, y1), (x2, y1), (x2, y2), (x1, y2), (x1, y1)], pen)

    def encoded(self, strokes, pen=None):
        """Strokes (lists of points in mm) as one encoded polyline: the first point of every
        stroke is a move, the first of all an absolute one; the rest are relative steps."""
        if pen is not None:
            self.sp(pen)
        out = ["PE"]
        if self.base32:
            out.append("7")
        cur = None
        for stroke in strokes:
            q = [(pu(x), pu(y)) for x, y in stroke]
            for i, (x, y) in enumerate(q):
                self._check(x, y)
                if cur is None:
                    out.append("<=" + encode_number(x, self.base32) + encode_number(y, self.base32))
                else:
                    if i == 0:
                        out.append("<")
                    out.append(encode_number(x - cur[0], self.base32) + encode_number(y - cur[1], self.base32))
                cur = (x, y)
        out.append(";")
        self.parts.append("".join(out))

    def dashed(self, x1, y1, x2, y2, pen=GREY, dash=1.5, gap=1.0):
        length = math.hypot(x2 - x1, y2 - y1)
        if length == 0:
            return
        ux, uy = (x2 - x1) / length, (y2 - y1) / length
        strokes, s = [], 0.0
        while s < length:
            e = min(s + dash, length)
            strokes.append([(x1 + ux * s, y1 + uy * s), (x1 + ux * e, y1 + uy * e)])
            s = e + gap
        self.encoded(strokes, pen)

    def circle(self, cx, cy, r, pen=None):
        if pen is not None:
            self.sp(pen)
        self._check(pu(cx - r), pu(cy - r))
        self._check(pu(cx + r), pu(cy + r))
        self.parts.append("PU%d,%d;CI%d;" % (pu(cx), pu(cy), pu(r)))

    def arc(self, cx, cy, r, start, sweep, pen=None):
        """Arc about (cx, cy) from the angle start (degrees), counter-clockwise for sweep > 0."""
        if pen is not None:
            self.sp(pen)
        sx, sy = cx + r * math.cos(math.radians(start)), cy + r * math.sin(math.radians(start))
        self._check(pu(sx), pu(sy))
        end = math.radians(start + sweep)
        self._check(pu(cx + r * math.cos(end)), pu(cy + r * math.sin(end)))
        self.parts.append("PU%d,%d;PD;AA%d,%d,%g;PU;" % (pu(sx), pu(sy), pu(cx), pu(cy), sweep))

    def arrow(self, x, y, angle, pen=None, size=2.0):
        """Arrow head with its tip at (x, y), pointing in the direction angle (degrees)."""
        a = math.radians(angle)
        pts = []
        for da in (150, -150):
            pts.append((x + size * math.cos(a + math.radians(da)), y + size * math.sin(a + math.radians(da))))
        self.polyline([pts[0], (x, y), pts[1]], pen)

    def dimension(self, x1, y1, x2, y2, pen=RED, both=True):
        """Dimension line with arrow heads at the end (and the start)."""
        self.line(x1, y1, x2, y2, pen)
        angle = math.degrees(math.atan2(y2 - y1, x2 - x1))
        self.arrow(x2, y2, angle, pen)
        if both:
            self.arrow(x1, y1, angle + 180, pen)

    # --- text
    def text(self, x, y, s, h=2.5, w=None, pen=MAGENTA, direction=(1, 0)):
        """Label with its start at (x, y) mm; height h and character width w in mm."""
        if w is None:
            w = 0.6 * h
        self.sp(pen)
        size = (round(w / 10, 4), round(h / 10, 4))
        if size != self.size:
            self.parts.append("SI%g,%g;" % size)
            self.size = size
        if direction != self.direction:
            self.parts.append("DI%g,%g;" % direction)
            self.direction = direction
        self._check(pu(x), pu(y))
        self.parts.append("PU%d,%d;LB%s%s" % (pu(x), pu(y), label_text(s), ETX))

    def lines(self, x, y, rows, h=2.5, pitch=None, pen=MAGENTA):
        pitch = pitch or 1.75 * h
        for i, row in enumerate(rows):
            if row:
                self.text(x, y - i * pitch, row, h, pen=pen)

    def bytes(self):
        return "".join(self.parts).encode("latin-1")


def text_width(s, h=2.5):
    """Width of a label as the graphics window shows it (character width 0.6 h, drawn at 88 %)."""
    return len(label_text(s).replace("}", "")) * 0.6 * h * 0.88


def legend(p, x, y, rows, h=2.2, pitch=None, pen=MAGENTA, indent=None):
    """Symbol and meaning in two columns, one row each."""
    pitch = pitch or 1.75 * h
    indent = indent or max(text_width(sym, h) for sym, _ in rows) + 2.0
    for i, (sym, meaning) in enumerate(rows):
        if sym:
            p.text(x, y - i * pitch, sym, h, pen=pen)
        p.text(x + indent, y - i * pitch, meaning, h, pen=pen)


def frame(p, title):
    p.header()
    p.rect(1, 1, WIDTH - 1, HEIGHT - 1, BLUE)
    p.line(1, HEIGHT - 10, WIDTH - 1, HEIGHT - 10, BLUE)
    p.text(4, HEIGHT - 7, title, h=3.5, pen=RED)


def spiral(cx, cy, r0, turns, pitch, offset=0.0, start=0.0, step=5.0):
    """Archimedean spiral from radius r0 at the angle start, turns counter-clockwise, growing by
    pitch per turn; offset shifts it radially (the strip's edges)."""
    pts = []
    total = 360.0 * turns
    a = 0.0
    while True:
        r = r0 + pitch * a / 360.0 + offset
        t = math.radians(start + a)
        pts.append((cx + r * math.cos(t), cy + r * math.sin(t)))
        if a >= total:
            return pts
        a = min(a + step, total)


def polar(cx, cy, r, deg):
    return cx + r * math.cos(math.radians(deg)), cy + r * math.sin(math.radians(deg))


def text_around(p, cx, cy, r, deg, s, h=2.2, pen=MAGENTA):
    """A label just outside the circle of radius r at the angle deg, on the side facing away."""
    x, y = polar(cx, cy, r, deg)
    c, sn = math.cos(math.radians(deg)), math.sin(math.radians(deg))
    w = text_width(s, h)
    x = x - w if c < -0.3 else (x - w / 2 if c <= 0.3 else x)
    y = y if sn > 0.3 else (y - h if sn < -0.3 else y - h / 2)
    p.text(x, y, s, h, pen=pen)


def offset_path(pts, d):
    """A polyline moved sideways by d (left of the direction of travel for d > 0)."""
    out = []
    n = len(pts)
    for i in range(n):
        x0, y0 = pts[max(i - 1, 0)]
        x1, y1 = pts[min(i + 1, n - 1)]
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy) or 1.0
        out.append((pts[i][0] - dy / length * d, pts[i][1] + dx / length * d))
    return out


def strip(p, centre, t, pen=BLUE):
    """A strip of thickness t along a centre line: its two edges and the end faces."""
    left, right = offset_path(centre, t / 2), offset_path(centre, -t / 2)
    p.encoded([left, right, [left[0], right[0]], [left[-1], right[-1]]], pen)


# --------------------------------------------------------------------------------------------
# The images


def image_geometry():
    """Front view with ri and re, section A-A with t, b and a0, side view with b."""
    p = Plot(base32=False)
    frame(p, "Geometrie der Spiralfeder")
    cx, cy = 46.0, 60.0
    ri, re, n0, t = 8.0, 40.0, 3.4, 3.0
    pitch = (re - ri) / n0
    # centre lines of the view
    p.dashed(cx - 44, cy, cx + 44, cy, GREY, 4, 1.5)
    p.dashed(cx, cy - 44, cx, cy + 44, GREY, 4, 1.5)
    # arbor and spiral strip
    p.circle(cx, cy, ri - t / 2 - 0.5, GREY)
    p.text(cx - 5.5, cy + 1.2, "Dorn", 2.0, pen=GREY)
    strip(p, spiral(cx, cy, ri, n0, pitch), t)
    # ri along +x to the strip's centre line at the inner end
    p.dimension(cx, cy - 2.5, cx + ri, cy - 2.5, RED, both=False)
    p.text(cx + 1.2, cy - 6.5, "ri", 2.5, pen=RED)
    # re to the outer end (angle 360 * frac(n0))
    end = 360.0 * (n0 % 1.0)
    ex, ey = polar(cx, cy, re, end)
    p.dimension(cx, cy, ex, ey, RED, both=False)
    mx, my = polar(cx, cy, re * 0.5, end)
    p.text(mx + 1.5, my + 1.5, "re", 2.5, pen=RED)
    # section line A-A downwards through the turns
    p.line(cx, cy - 12, cx, cy - 43, RED)
    p.text(cx + 1.5, cy - 44, "A", 3.0, pen=RED)
    p.text(cx + 1.5, cy - 12.5, "A", 3.0, pen=RED)

    # side view: width b over the outer diameter, same scale, with the winding axis
    sx, b = 98.0, 10.0
    p.rect(sx, cy - re - t / 2, sx + b, cy + re + t / 2, BLUE)
    p.dashed(sx - 3, cy, sx + b + 3, cy, GREY, 4, 1.5)
    p.dimension(sx, cy + re + 5, sx + b, cy + re + 5, RED)
    p.text(sx + b / 2 - 1, cy + re + 6.5, "b", 2.5, pen=RED)
    p.text(sx + b + 5.5, cy - 22, "Seitenansicht", 2.2, direction=(0, 1))

    # section A-A, enlarged: strip sections t wide and b high, a0 apart
    ax, ay, st, sb, gap = 118.0, 50.0, 5.0, 18.0, 7.0
    for i in range(3):
        x = ax + i * (st + gap)
        p.rect(x, ay, x + st, ay + sb, BLUE)
    p.dimension(ax, ay + sb + 4, ax + st, ay + sb + 4, RED)
    p.text(ax + st / 2 - 0.8, ay + sb + 5.5, "t", 2.5, pen=RED)
    p.dimension(ax + st, ay - 4, ax + st + gap, ay - 4, RED)
    p.text(ax + st + gap / 2 - 1.5, ay - 8.5, "a0", 2.5, pen=RED)
    x3 = ax + 2 * (st + gap) + st
    p.dimension(x3 + 3, ay, x3 + 3, ay + sb, RED)
    p.text(x3 + 4.5, ay + sb / 2 - 1, "b", 2.5, pen=RED)
    p.text(ax - 1, ay + sb + 12, "Schnitt A-A", 2.5)
    p.text(ax - 1, ay + sb + 8.5, "(vergrößert)", 2.0, pen=GREY)
    # round wire: sections of diameter d
    wy = 32.0
    for i in range(3):
        p.circle(ax + st / 2 + i * (st + gap), wy, st / 2, BLUE)
    p.text(ax - 1, wy - 8, "Runddraht: d statt t", 2.2)

    legend(p, 4, 11, [("ri", "Windungsradius innen"), ("t", "Bandhöhe (Draht: d)")])
    legend(p, 56, 11, [("re", "Windungsradius aussen"), ("a0", "Abstand zwischen den Windungen")])
    legend(p, 122, 11, [("b", "Bandbreite")])
    return p


def image_ends():
    """Inner and outer spring end, clamped and bent, with li, rbi, le, rbe."""
    p = Plot(base32=True)
    frame(p, "Federenden: eingespannt und abgebogen")
    p.line(80, 2, 80, HEIGHT - 11, GREY)
    p.line(2, 59, WIDTH - 2, 59, GREY)
    t = 1.6

    # top left: inner end clamped on the arbor by a clamping piece
    p.text(5, 103, "innen eingespannt", 2.5)
    cx, cy, ri, pitch = 42.0, 80.0, 10.0, 5.0
    p.circle(cx, cy, ri - t / 2, GREY)
    p.text(cx - 3.5, cy - 0.8, "Dorn", 2.0, pen=GREY)
    strip(p, spiral(cx, cy, ri, 1.3, pitch, start=-90), t)
    clamp_top = cy - ri - t / 2 - 0.2
    p.rect(cx - 5, clamp_top - 3.0, cx + 1, clamp_top, RED)
    p.circle(cx - 2, clamp_top - 1.5, 0.8, RED)
    p.line(cx - 5.5, clamp_top - 1.5, cx - 11, clamp_top - 1.5, RED)
    p.text(cx - 12 - text_width("Klemmstück", 2.2), clamp_top - 2.5, "Klemmstück", 2.2, pen=RED)

    # top right: inner end bent towards the arbor: bend radius rbi, length li
    p.text(84, 103, "innen abgebogen", 2.5)
    cx, cy, ri, pitch, rbi, leg = 103.0, 83.0, 10.0, 4.5, 3.5, 5.0
    p.circle(cx, cy, ri - t / 2 - 0.6, GREY)
    path = []
    # the bend: from the inner end (ri, 0) downwards, turning towards the axis
    bc = (cx + ri - rbi, cy)
    for k in range(0, 19):
        path.append(polar(bc[0], bc[1], rbi, -5.0 * k))
    # the straight leg towards the axis
    path.append((bc[0] - leg, cy - rbi))
    path.reverse()
    strip(p, path + spiral(cx, cy, ri, 1.25, pitch)[1:], t)
    tip = polar(bc[0], bc[1], rbi, -45)
    p.line(bc[0], bc[1], *tip, pen=RED)
    p.arrow(*tip, -45, RED, 1.5)
    p.line(tip[0] + 0.5, tip[1] - 0.5, cx + ri + 4, cy - rbi - 4, RED)
    p.text(cx + ri + 4.5, cy - rbi - 5, "rbi", 2.5, pen=RED)
    ly = cy - rbi - 8.0
    p.line(cx + ri, cy - rbi - 1.5, cx + ri, ly - 1.5, RED)
    p.line(bc[0] - leg, cy - rbi - 1.5, bc[0] - leg, ly - 1.5, RED)
    p.dimension(bc[0] - leg, ly, cx + ri, ly, RED)
    p.text(cx + 1.5, ly - 4.5, "li", 2.5, pen=RED)
    legend(p, 126, 96, [("li", "Länge"), ("", "Federende innen"), ("rbi", "Abbiegeradius"),
                        ("", "Federende innen")], 2.0)

    # bottom left: outer end clamped in the housing
    p.text(5, 53, "aussen eingespannt", 2.5)
    cx, cy, r0, pitch, turns = 40.0, 22.0, 6.0, 4.0, 2.25
    strip(p, spiral(cx, cy, r0, turns, pitch), t)
    ro = r0 + pitch * turns
    p.arc(cx, cy, ro + t / 2 + 0.5, 20, 140, GREY)
    p.rect(cx - 3, cy + ro + t / 2 + 0.5, cx + 3, cy + ro + t / 2 + 3.5, RED)
    p.text(cx + 9, cy + ro + 1, "Gehäuse", 2.2, pen=GREY)

    # bottom right: outer end bent outwards: bend radius rbe, length le
    p.text(84, 53, "aussen abgebogen", 2.5)
    cx, cy, r0, pitch, turns, rbe, leg = 106.0, 19.0, 6.0, 4.0, 2.25, 3.5, 6.0
    path = spiral(cx, cy, r0, turns, pitch)
    ro = r0 + pitch * turns
    bc = (cx, cy + ro + rbe)
    for k in range(1, 19):
        path.append(polar(bc[0], bc[1], rbe, -90.0 - 5.0 * k))
    path.append((bc[0] - rbe, bc[1] + leg))
    strip(p, path, t)
    tip = polar(bc[0], bc[1], rbe, -45)
    p.line(bc[0], bc[1], *tip, pen=RED)
    p.arrow(*tip, -45, RED, 1.5)
    p.text(bc[0] + 3, bc[1] - 1, "rbe", 2.5, pen=RED)
    lx = bc[0] - rbe - 5.5
    p.line(cx - 2, cy + ro, lx - 1.5, cy + ro, RED)
    p.line(bc[0] - rbe - 1.5, bc[1] + leg, lx - 1.5, bc[1] + leg, RED)
    p.dimension(lx, cy + ro, lx, bc[1] + leg, RED)
    p.text(lx - 5.5, cy + ro + 3, "le", 2.5, pen=RED)
    legend(p, 126, 46, [("le", "Länge"), ("", "Federende aussen"), ("rbe", "Abbiegeradius"),
                        ("", "Federende aussen")], 2.0)
    return p


def image_angles():
    """Rotation angle alpha and leg angle delta, unloaded and in positions 1 and 2."""
    p = Plot(base32=False)
    frame(p, "Drehwinkel alpha und Schenkelwinkel delta")
    ri, re, n0 = 4.0, 17.0, 3.3
    w0 = 360.0 * (n0 % 1.0)
    cases = [(0.0, "0", "ungespannt, T = 0"), (60.0, "1", "Stellung 1, Moment T1"),
             (150.0, "2", "Stellung 2, Moment T2")]
    for i, (alpha, k, caption) in enumerate(cases):
        cx, cy = 27.0 + 53.0 * i, 72.0
        n = n0 + alpha / 360.0
        ra = n0 * (re + ri) / n - ri          # the developed length stays the same
        pitch = (ra - ri) / n
        w = w0 + alpha
        # inner leg (fixed on the arbor, along +x) and the spiral
        p.circle(cx, cy, ri - 1.2, GREY)
        p.encoded([spiral(cx, cy, ri, n, pitch), [(cx, cy), (cx + ri, cy)]], BLUE)
        # outer leg: radial from the outer end
        p.line(*polar(cx, cy, ra, w), *polar(cx, cy, re + 5, w), pen=BLUE)
        p.line(cx + ri, cy, cx + re + 5, cy, BLUE)
        # delta: from the outer leg counter-clockwise to the inner leg
        rd = re + 3.5
        p.arc(cx, cy, rd, w, 360.0 - w, RED)
        p.arrow(cx + rd, cy, 90, RED, 1.5)
        text_around(p, cx, cy, rd + 1.0, (w + 360.0) / 2, "delta " + k, 2.2, RED)
        if alpha:
            # alpha: from the unloaded position of the outer leg to the present one
            p.line(*polar(cx, cy, ra + 1, w0), *polar(cx, cy, re + 5, w0), pen=GREY)
            p.arc(cx, cy, re + 1.5, w0, alpha, GREEN)
            p.arrow(*polar(cx, cy, re + 1.5, w), w + 90, GREEN, 1.5)
            text_around(p, cx, cy, re + 2.5, w0 + alpha / 2, "alpha " + k, 2.2, GREEN)
        p.text(cx - text_width(caption, 2.4) / 2, 41, caption, 2.4)
    p.lines(6, 27, ["delta 0: Öffnungswinkel der ungespannten Feder (Winkel zwischen den Federenden)",
                    "delta 1 = delta 0 - alpha 1        delta 2 = delta 0 - alpha 2",
                    "alpha h = alpha 2 - alpha 1 (Hubwinkel);  innen fest, Aussenende gedreht"], 2.2)
    return p


def image_characteristic():
    """Moment over rotation angle: T1, T2, Tc, alpha h, rate cT and work W."""
    p = Plot(base32=True)
    frame(p, "Federkennlinie: Moment T über Drehwinkel alpha")
    x0, y0, w, h = 20.0, 20.0, 96.0, 80.0
    amax, tmax = 330.0, 1650.0
    a1, a2, ac, tc = 90.0, 210.0, 300.0, 1500.0
    rate = tc / ac

    def X(a):
        return x0 + a / amax * w

    def Y(m):
        return y0 + m / tmax * h

    # axes
    p.polyline([(x0, y0 + h + 4), (x0, y0), (x0 + w + 4, y0)], BLUE)
    p.arrow(x0, y0 + h + 4, 90, BLUE)
    p.arrow(x0 + w + 4, y0, 0, BLUE)
    p.text(x0 + w - 24, y0 - 9, "Drehwinkel alpha", 2.5)
    p.text(x0 + 2, y0 + h + 3, "Moment T", 2.5)
    # work between positions 1 and 2: hatched area under the line
    strokes = []
    a = a1
    while a <= a2 + 1e-9:
        strokes.append([(X(a), y0), (X(a), Y(a * rate))])
        a += 7.5
    p.encoded(strokes, GREY)
    p.text(X((a1 + a2) / 2) - 1.5, Y(a1 * rate) / 2 + y0 / 2, "W", 3.0, pen=MAGENTA)
    # the characteristic
    p.encoded([[(X(0), Y(0)), (X(ac), Y(tc))]], BLUE)
    p.dashed(X(ac), Y(tc), X(ac + 20), Y(tc + 20 * rate), BLUE, 1.0, 1.0)
    # guide lines and points
    for a, name, idx in ((a1, "1", 0), (a2, "2", 1), (ac, "c", 2)):
        m = a * rate
        p.dashed(X(a), y0, X(a), Y(m))
        p.dashed(x0, Y(m), X(a), Y(m))
        p.circle(X(a), Y(m), 1.0, RED)
        p.text(X(a) - 4, y0 - 5, "alpha " + name, 2.2, pen=RED)
        p.text(x0 - 7, Y(m) - 1, "T" + name, 2.5, pen=RED)
    # stroke angle alpha h
    yh = Y(a2 * rate) + 6
    p.line(X(a1), Y(a1 * rate) + 2, X(a1), yh + 2, GREY)
    p.line(X(a2), Y(a2 * rate) + 2, X(a2), yh + 2, GREY)
    p.dimension(X(a1), yh, X(a2), yh, RED)
    p.text((X(a1) + X(a2)) / 2 - 5, yh + 1.5, "alpha h", 2.2, pen=RED)
    # rate: slope triangle
    ta, tb = 20.0, 60.0
    p.polyline([(X(ta), Y(ta * rate)), (X(tb), Y(ta * rate)), (X(tb), Y(tb * rate))], GREEN)
    p.text(X(tb) + 1.5, Y(ta * rate) + 2, "cT", 2.5, pen=GREEN)

    p.lines(121, 100, ["cT  Federrate",
                       "    = T / alpha",
                       "T1  Moment in",
                       "    Stellung 1",
                       "T2  Moment in",
                       "    Stellung 2",
                       "Tc  Moment, wenn die",
                       "    Windungen anliegen",
                       "alpha h  Hubwinkel",
                       "alpha c  max. Drehwinkel",
                       "W   Federarbeit",
                       "    zwischen 1 und 2"], 2.2, pitch=4.6)
    return p


def image_goodman():
    """Goodman diagram: fatigue lines for 10^7, 10^6 and 10^5 cycles and the working point."""
    p = Plot(base32=False)
    frame(p, "Goodman-Diagramm (Dauerfestigkeitsschaubild)")
    x0, y0, size, smax = 18.0, 18.0, 84.0, 1250.0
    so, sh0, m = 1000.0, 500.0, 0.75
    su = (so - sh0) / m
    e6 = min(so, 1.25 * sh0)
    x6 = (so - e6) / m
    e5 = min(so, 1.5 * sh0)
    x5 = (so - e5) / m
    q1, q2 = 400.0, 720.0

    def P(u, o):
        return x0 + u / smax * size, y0 + o / smax * size

    p.polyline([(x0, y0 + size + 4), (x0, y0), (x0 + size + 4, y0)], BLUE)
    p.arrow(x0, y0 + size + 4, 90, BLUE)
    p.arrow(x0 + size + 4, y0, 0, BLUE)
    p.text(x0 + size - 42, y0 - 8, "Unterspannung sigma u", 2.5)
    p.text(x0 + 2, y0 + size + 3, "Oberspannung sigma o", 2.5)
    # diagonal: upper stress = lower stress (no stroke)
    p.dashed(*P(0, 0), *P(smax, smax), GREY, 2.0, 1.0)
    # fatigue lines
    p.encoded([[P(0, e5), P(x5, so), P(x6, so)]], MAGENTA)
    p.encoded([[P(0, e6), P(x6, so), P(su, so)]], GREEN)
    p.encoded([[P(0, sh0), P(su, so), P(so, so)]], RED)
    for u, name, pen in ((x5, "100000", MAGENTA), (x6, "1 Mio.", GREEN), (su, "10 Mio.", RED)):
        x, y = P(u, so)
        p.text(x - 5, y + 2.5, name, 2.0, pen=pen)
    p.text(x0 - 14, P(0, sh0)[1] - 1, "sigma h0", 2.0, pen=RED)
    p.text(x0 - 14, P(0, so)[1] - 1, "sigma O", 2.0, pen=RED)
    p.dashed(x0, P(0, so)[1], P(x5, so)[0], P(x5, so)[1], GREY)
    # working point: lower stress sigma 1 on the diagonal, upper stress sigma 2 above it
    a, b = P(q1, q1), P(q1, q2)
    c = P(q1, sh0 + m * q1)
    p.circle(*a, 1.0, BLUE)
    p.circle(*b, 1.0, BLUE)
    p.line(*a, *b, BLUE)
    p.text(a[0] + 6.5, a[1] - 1, "sigma 1", 2.2, pen=BLUE)
    p.text(b[0] + 6.5, b[1] - 2, "sigma 2", 2.2, pen=BLUE)
    p.dimension(a[0] - 3, a[1], a[0] - 3, b[1], BLUE)
    p.text(a[0] - 13, (a[1] + b[1]) / 2 - 1, "sigma h", 2.0, pen=BLUE)
    p.line(c[0] - 1.5, c[1], c[0] + 5.5, c[1], RED)
    p.dimension(a[0] + 4, a[1], c[0] + 4, c[1], RED)
    p.text(c[0] + 6.5, c[1] + 0.5, "sigma hz", 2.0, pen=RED)

    p.text(108, 100, "Linien gleicher Lastspielzahl:", 2.0)
    for i, (name, pen) in enumerate((("10 Mio. (dauerfest)", RED), ("1 Mio.", GREEN), ("100000", MAGENTA))):
        y = 100 - 4.2 * (i + 1)
        p.line(109, y + 0.8, 115, y + 0.8, pen)
        p.text(117, y, name, 2.0)
    p.lines(108, 100 - 4.2 * 5, ["sigma 1, sigma 2: Spannungen",
                       "  in Stellung 1 und 2",
                       "sigma h: Hubspannung",
                       "sigma hz: zulässiger Hub",
                       "sigma h0: Dauerhubfestigkeit",
                       "sigma O: Oberspannungsgrenze",
                       "",
                       "Liegt sigma 2 unter der Linie",
                       "10 Mio., ist die Feder",
                       "dauerfest."], 2.0, pitch=4.2)
    return p


def image_modes():
    """The three design modes: what each is given and what it computes."""
    p = Plot(base32=True)
    frame(p, "Berechnungsarten")
    boxes = [
        ("Vorauslegung", ["T1, T2  Momente", "alpha h  Hubwinkel", "a0/t, b/t ca."],
         ["t nach DIN 2076", "b, ri, re", "dann wie Auslegung"]),
        ("Auslegung", ["T1, T2, alpha h", "ri, re", "t, b"],
         ["cT  Federrate", "alpha 1, alpha 2", "n0  Windungszahl", "re, wenn re = 0"]),
        ("Nachrechnung", ["b, t, n0, ri, re", "alpha 1, alpha 2", "Temperatur"],
         ["cT, T1, T2, Tc", "alpha c", "Spannungen", "a0, Lw"]),
    ]
    bw, bh, top, r = 46.0, 76.0, 100.0, 3.0
    for i, (title, given, result) in enumerate(boxes):
        x = 5.0 + i * (bw + 6.5)
        y = top - bh
        # rounded box: straight sides and quarter arcs
        p.line(x + r, y, x + bw - r, y, BLUE)
        p.arc(x + bw - r, y + r, r, -90, 90, BLUE)
        p.line(x + bw, y + r, x + bw, y + bh - r, BLUE)
        p.arc(x + bw - r, y + bh - r, r, 0, 90, BLUE)
        p.line(x + bw - r, y + bh, x + r, y + bh, BLUE)
        p.arc(x + r, y + bh - r, r, 90, 90, BLUE)
        p.line(x, y + bh - r, x, y + r, BLUE)
        p.arc(x + r, y + r, r, 180, 90, BLUE)
        p.text(x + bw / 2 - text_width(title, 3.0) / 2, top - 7, title, 3.0, pen=RED)
        p.line(x + 2, top - 10, x + bw - 2, top - 10, BLUE)
        p.text(x + 3, top - 16, "gegeben:", 2.4, pen=BLUE)
        p.lines(x + 5, top - 21, given, 2.2, pitch=4.4)
        p.text(x + 3, top - 41, "berechnet:", 2.4, pen=BLUE)
        p.lines(x + 5, top - 46, result, 2.2, pitch=4.4)
        if i < 2:
            ax = x + bw + 0.8
            p.line(ax, top - bh / 2, ax + 4.8, top - bh / 2, RED)
            p.arrow(ax + 4.8, top - bh / 2, 0, RED, 1.8)
    p.lines(5, 16, ["Jede Berechnungsart zeigt eine Eingabetabelle; nach jeder Eingabe",
                    "wird die Feder neu berechnet und die Ergebnisse werden angezeigt."], 2.2)
    return p


def image_none():
    """Shown when a help entry has no image of its own."""
    p = Plot(base32=False)
    frame(p, "Hilfebild")
    cx, cy = 80.0, 66.0
    p.encoded([spiral(cx, cy, 3.0, 3.5, 4.5)], GREY)
    msg = "Zu diesem Thema gibt es kein Hilfebild."
    p.text(80 - text_width(msg, 3.0) / 2, 30, msg, 3.0)
    return p


IMAGES = [
    # file name (8 characters at most), description for the help image list, generator
    ("geometr", "Geometrie: ri, re, t, b, a0", image_geometry),
    ("enden", "Federenden: eingespannt, abgebogen (li, rbi)", image_ends),
    ("winkel", "Winkel alpha und delta in den drei Stellungen", image_angles),
    ("kennlin", "Federkennlinie: Moment T über Drehwinkel alpha", image_characteristic),
    ("goodman", "Goodman-Diagramm: Linien und Arbeitspunkt", image_goodman),
    ("modi", "Berechnungsarten: Nach-, Vor- und Auslegung", image_modes),
    ("null", "kein Hilfebild vorhanden", image_none),
]


def main(argv):
    out = DEFAULT_OUT
    check = False
    args = list(argv)
    while args:
        a = args.pop(0)
        if a == "--out" and args:
            out = args.pop(0)
        elif a == "--check":
            check = True
        else:
            print(__doc__, file=sys.stderr)
            return 2
    differ = []
    for name, _, make in IMAGES:
        assert len(name) <= 8 and name == name.lower()
        data = make().bytes()
        path = os.path.join(out, name + ".plt")
        if check:
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        differ.append(path)
            except OSError:
                differ.append(path)
            continue
        os.makedirs(out, exist_ok=True)
        tmp = path + ".tmp"
        with open(tmp, "wb") as f:
            f.write(data)
        os.replace(tmp, path)
    if differ:
        print("differs: " + ", ".join(differ), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
