"""Line pictograms for the application's fixed images: the logo, the signal-chain block icons and
the mixer-type pictures. Plain Python: strokes are drawn antialiased from their distance to each
pixel, then written as PNG data."""
import math
import struct
import zlib

WHITE = (235, 235, 235)
GREY = (150, 150, 150)
RED = (255, 0, 0)
ALERT = (255, 65, 54)


class Canvas:
    """An RGBA picture, transparent at first, that strokes are drawn onto."""

    def __init__(self, width, height, background=None):
        self.width = width
        self.height = height
        fill = list(background) + [255] if background else [0, 0, 0, 0]
        self.pixels = [list(fill) for _ in range(width * height)]

    def _blend(self, x, y, colour, coverage):
        pixel = self.pixels[y * self.width + x]
        alpha = coverage
        rest = pixel[3] / 255.0 * (1 - alpha)
        total = alpha + rest
        if total <= 0:
            return
        for c in range(3):
            pixel[c] = (colour[c] * alpha + pixel[c] * rest) / total
        pixel[3] = total * 255

    def line(self, x0, y0, x1, y1, width, colour):
        """A stroke with round ends from (x0, y0) to (x1, y1), in pixels."""
        half = width / 2.0
        left = max(0, int(min(x0, x1) - half - 1))
        right = min(self.width - 1, int(max(x0, x1) + half + 1))
        top = max(0, int(min(y0, y1) - half - 1))
        bottom = min(self.height - 1, int(max(y0, y1) + half + 1))
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy
        for y in range(top, bottom + 1):
            py = y + 0.5
            for x in range(left, right + 1):
                px = x + 0.5
                t = 0.0 if length2 == 0 else ((px - x0) * dx + (py - y0) * dy) / length2
                t = min(1.0, max(0.0, t))
                distance = math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))
                coverage = min(1.0, max(0.0, half + 0.5 - distance))
                if coverage > 0:
                    self._blend(x, y, colour, coverage)

    def polyline(self, points, width, colour):
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            self.line(x0, y0, x1, y1, width, colour)

    def rectangle(self, x0, y0, x1, y1, colour):
        for y in range(max(0, int(y0)), min(self.height, int(y1))):
            for x in range(max(0, int(x0)), min(self.width, int(x1))):
                self._blend(x, y, colour, 1.0)

    def circle(self, cx, cy, radius, width, colour, steps=48):
        points = [(cx + radius * math.cos(2 * math.pi * i / steps),
                   cy + radius * math.sin(2 * math.pi * i / steps)) for i in range(steps + 1)]
        self.polyline(points, width, colour)

    def png(self):
        rows = []
        for y in range(self.height):
            row = bytearray(b"\x00")
            for x in range(self.width):
                row.extend(int(round(min(255, max(0, v)))) for v in self.pixels[y * self.width + x])
            rows.append(bytes(row))

        def chunk(kind, data):
            return (struct.pack(">I", len(data)) + kind + data +
                    struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


# A stroke font on a grid 4 wide and 6 high (y down); each glyph is a list of polylines.
_O = [(1, 0), (3, 0), (4, 1), (4, 5), (3, 6), (1, 6), (0, 5), (0, 1), (1, 0)]
GLYPHS = {
    "A": [[(0, 6), (2, 0), (4, 6)], [(0.8, 3.8), (3.2, 3.8)]],
    "B": [[(0, 3), (3, 3), (4, 4), (4, 5), (3, 6), (0, 6), (0, 0), (3, 0), (4, 1), (4, 2), (3, 3)]],
    "C": [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 5), (1, 6), (3, 6), (4, 5)]],
    "D": [[(0, 0), (0, 6), (2.5, 6), (4, 4.5), (4, 1.5), (2.5, 0), (0, 0)]],
    "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "I": [[(2, 0), (2, 6)], [(1, 0), (3, 0)], [(1, 6), (3, 6)]],
    "L": [[(0, 0), (0, 6), (4, 6)]],
    "M": [[(0, 6), (0, 0), (2, 3), (4, 0), (4, 6)]],
    "N": [[(0, 6), (0, 0), (4, 6), (4, 0)]],
    "P": [[(0, 6), (0, 0), (3, 0), (4, 1), (4, 2), (3, 3), (0, 3)]],
    "Q": [_O, [(2.5, 4.5), (4.2, 6.4)]],
    "R": [[(0, 6), (0, 0), (3, 0), (4, 1), (4, 2), (3, 3), (0, 3)], [(2, 3), (4, 6)]],
    "S": [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 2), (1, 3), (3, 3), (4, 4), (4, 5), (3, 6), (1, 6),
           (0, 5)]],
    "X": [[(0, 0), (4, 6)], [(4, 0), (0, 6)]],
    "1": [[(1, 1), (2.5, 0), (2.5, 6)], [(1, 6), (4, 6)]],
    "2": [[(0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (0, 6), (4, 6)]],
    "3": [[(0, 0), (4, 0), (2, 2.6), (3, 2.6), (4, 3.6), (4, 5), (3, 6), (1, 6), (0, 5)]],
    "4": [[(3, 6), (3, 0), (0, 4), (4, 4)]],
    "5": [[(4, 0), (0, 0), (0, 2.6), (3, 2.6), (4, 3.6), (4, 5), (3, 6), (0, 6)]],
    "6": [[(3.5, 0), (1.5, 0), (0, 2), (0, 5), (1, 6), (3, 6), (4, 5), (4, 3.6), (3, 2.6),
           (0, 2.8)]],
    "7": [[(0, 0), (4, 0), (1.5, 6)]],
    "8": [[(1, 3), (0, 2), (0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (3, 3), (1, 3), (0, 4), (0, 5),
           (1, 6), (3, 6), (4, 5), (4, 4), (3, 3)]],
    "+": [[(2, 1.5), (2, 4.5)], [(0.5, 3), (3.5, 3)]],
    " ": [],
}


def text_width(text, size):
    """Width in pixels of `text` at a glyph height of `size` pixels."""
    unit = size / 6.0
    return max(0.0, len(text) * 6 * unit - 2 * unit)


def draw_text(canvas, text, x, y, size, width, colour, slant=0.0):
    """Draws `text` with its top left at (x, y), glyphs `size` pixels high, leaning by `slant`."""
    unit = size / 6.0
    for index, letter in enumerate(text):
        left = x + index * 6 * unit
        for stroke in GLYPHS[letter]:
            canvas.polyline([(left + (gx + slant * (6 - gy)) * unit, y + gy * unit)
                             for gx, gy in stroke], width, colour)


def logo(width, height):
    canvas = Canvas(width, height)
    size = height * 0.5
    stroke = max(2.0, size / 5.0)
    text = "SPANDRELL QX8"
    draw_text(canvas, text, (width - text_width(text, size)) / 2, (height - size) / 2, size,
              stroke, RED, slant=0.2)
    return canvas


def _curve(function, left, right, steps=40):
    return [(left + (right - left) * i / steps, function(i / steps)) for i in range(steps + 1)]


def _cross(canvas, s):
    canvas.line(0.58 * s, 0.58 * s, 0.92 * s, 0.92 * s, s * 0.07, ALERT)
    canvas.line(0.92 * s, 0.58 * s, 0.58 * s, 0.92 * s, s * 0.07, ALERT)


def _faders(canvas, s):
    for i, cap in enumerate((0.35, 0.6, 0.45)):
        x = s * (0.28 + 0.22 * i)
        canvas.line(x, 0.18 * s, x, 0.82 * s, s * 0.03, GREY)
        canvas.rectangle(x - 0.07 * s, cap * s - 0.04 * s, x + 0.07 * s, cap * s + 0.04 * s, WHITE)


def _speaker(canvas, s):
    canvas.polyline([(0.2 * s, 0.4 * s), (0.35 * s, 0.4 * s), (0.55 * s, 0.22 * s),
                     (0.55 * s, 0.78 * s), (0.35 * s, 0.6 * s), (0.2 * s, 0.6 * s),
                     (0.2 * s, 0.4 * s)], s * 0.05, WHITE)


def _axes(canvas, s):
    canvas.line(0.15 * s, 0.85 * s, 0.85 * s, 0.85 * s, s * 0.025, GREY)
    canvas.line(0.15 * s, 0.15 * s, 0.15 * s, 0.85 * s, s * 0.025, GREY)


def _bell(centre, height, width):
    return lambda t: 0.6 - height * math.exp(-((t - centre) / width) ** 2)


def icon(name, s):
    """The block icon `name` (as in images/Home/ICN_<name>.png), `s` pixels square."""
    c = Canvas(s, s)
    w = s * 0.055
    if name in ("Mixer", "MixerMute"):
        _faders(c, s)
        if name == "MixerMute":
            _cross(c, s)
    elif name == "ParaEQ":
        c.polyline([(x, y * s) for x, y in _curve(_bell(0.5, 0.3, 0.18), 0.1 * s, 0.9 * s)], w,
                   WHITE)
    elif name == "Nuq":
        def notches(t):
            return 0.35 + 0.4 * math.exp(-((t - 0.35) / 0.025) ** 2) + \
                0.3 * math.exp(-((t - 0.7) / 0.02) ** 2)
        c.polyline([(x, y * s) for x, y in _curve(notches, 0.1 * s, 0.9 * s, 80)], w, WHITE)
    elif name == "GraphicEQ":
        for i, level in enumerate((0.5, 0.35, 0.6, 0.3, 0.45, 0.55, 0.4)):
            x = s * (0.18 + 0.107 * i)
            c.line(x, 0.82 * s, x, level * s, s * 0.06, WHITE)
    elif name == "SubSynth":
        c.polyline([(x, y * s) for x, y in
                    _curve(lambda t: 0.5 - 0.28 * math.sin(2 * math.pi * t), 0.1 * s, 0.9 * s)],
                   w, WHITE)
        c.polyline([(x, y * s) for x, y in
                    _curve(lambda t: 0.5 - 0.12 * math.sin(4 * math.pi * t), 0.1 * s, 0.9 * s)],
                   w * 0.6, GREY)
    elif name == "AutoEQ":
        c.polyline([(x, y * s) for x, y in _curve(_bell(0.35, -0.2, 0.15), 0.1 * s, 0.9 * s)],
                   w, WHITE)
        c.circle(0.72 * s, 0.3 * s, 0.09 * s, w * 0.8, GREY)
        c.line(0.72 * s, 0.39 * s, 0.72 * s, 0.55 * s, w * 0.8, GREY)
    elif name in ("Compressor", "Limiter", "AGC", "Gate"):
        _axes(c, s)
        if name == "Compressor":
            points = [(0.15, 0.85), (0.5, 0.5), (0.85, 0.38)]
        elif name == "Limiter":
            points = [(0.15, 0.85), (0.55, 0.45), (0.85, 0.45)]
        elif name == "AGC":
            points = [(0.15, 0.65), (0.35, 0.45), (0.85, 0.4)]
        else:
            points = [(0.15, 0.85), (0.45, 0.85), (0.45, 0.55), (0.85, 0.2)]
        c.polyline([(x * s, y * s) for x, y in points], w, WHITE)
    elif name == "Crossover":
        c.polyline([(x, y * s) for x, y in
                    _curve(lambda t: 0.3 + 0.5 / (1 + math.exp(-(t - 0.55) * 14)), 0.1 * s,
                           0.9 * s)], w, WHITE)
        c.polyline([(x, y * s) for x, y in
                    _curve(lambda t: 0.3 + 0.5 / (1 + math.exp((t - 0.45) * 14)), 0.1 * s,
                           0.9 * s)], w, GREY)
    elif name == "AlignmentDelay":
        c.circle(0.5 * s, 0.5 * s, 0.32 * s, w, WHITE)
        c.line(0.5 * s, 0.5 * s, 0.5 * s, 0.28 * s, w, WHITE)
        c.line(0.5 * s, 0.5 * s, 0.66 * s, 0.58 * s, w, WHITE)
    elif name == "RTAmic":
        for i, level in enumerate((0.6, 0.45, 0.55, 0.35)):
            x = s * (0.16 + 0.1 * i)
            c.line(x, 0.85 * s, x, level * s, s * 0.05, GREY)
        c.circle(0.72 * s, 0.3 * s, 0.11 * s, w, WHITE)
        c.line(0.72 * s, 0.41 * s, 0.72 * s, 0.85 * s, w, WHITE)
    elif name == "Input":
        c.circle(0.5 * s, 0.5 * s, 0.32 * s, w, WHITE)
        for angle in (210, 330, 90):
            a = math.radians(angle)
            c.circle(0.5 * s + 0.15 * s * math.cos(a), 0.5 * s + 0.15 * s * math.sin(a),
                     0.035 * s, w * 0.8, GREY)
    elif name in ("Output", "OutputMute"):
        _speaker(c, s)
        if name == "Output":
            for radius in (0.15, 0.27):
                c.polyline([(0.55 * s + radius * s * math.cos(a), 0.5 * s + radius * s * math.sin(a))
                            for a in [math.radians(-45 + 9 * i) for i in range(11)]], w * 0.8,
                           GREY)
        else:
            _cross(c, s)
    else:
        raise KeyError(name)
    return c


def mixer_type(label, width, height):
    """A mixer-type picture: converging inputs, a summing point, and the type's name below."""
    c = Canvas(width, height, background=(34, 34, 34))
    cx, cy = width * 0.62, height * 0.36
    for i in range(4):
        y = height * (0.12 + 0.16 * i)
        c.line(width * 0.12, y, cx, cy, 3, GREY)
    c.circle(cx, cy, height * 0.09, 3, WHITE)
    c.line(cx + height * 0.09, cy, width * 0.9, cy, 3, WHITE)
    size = height * 0.22
    draw_text(c, label, (width - text_width(label, size)) / 2, height * 0.68, size, 3, WHITE)
    return c
