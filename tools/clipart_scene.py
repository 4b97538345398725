"""Vector scenes for the clip art, and writers for SVG, enhanced metafiles (EMF) and
placeable Windows metafiles (WMF).

A scene is a list of shapes drawn in order. Each shape is a path (subpaths of lines and
cubic Bezier curves) with a solid fill and/or a solid outline of round joins and caps.
Those are the drawing features every player of the three formats shares, so a picture
looks the same in each. Curves stay curves in SVG and EMF; WMF has none, so they are
flattened into fine polygons there.
"""

import math
import struct

KAPPA = 0.5522847498  # control-point distance of a quarter circle


def _mul(a, b):
    """Affine matrices (a, b, c, d, e, f): x' = a x + c y + e, y' = b x + d y + f."""
    return (a[0] * b[0] + a[1] * b[2], a[0] * b[1] + a[1] * b[3],
            a[2] * b[0] + a[3] * b[2], a[2] * b[1] + a[3] * b[3],
            a[4] * b[0] + a[5] * b[2] + b[4], a[4] * b[1] + a[5] * b[3] + b[5])


def _apply(m, p):
    x, y = p
    return (m[0] * x + m[2] * y + m[4], m[1] * x + m[3] * y + m[5])


class Shape:
    def __init__(self, subpaths, fill, stroke, width, evenodd):
        self.subpaths = subpaths  # [(start, [("L", p) | ("C", c1, c2, p)], closed)]
        self.fill = fill
        self.stroke = stroke
        self.width = width
        self.evenodd = evenodd

    def flattened(self, tolerance=0.25):
        """Subpaths as point lists (closed ones not repeating their start)."""
        out = []
        for start, segs, closed in self.subpaths:
            pts = [start]
            cur = start
            for seg in segs:
                if seg[0] == "L":
                    pts.append(seg[1])
                    cur = seg[1]
                else:
                    _, c1, c2, p = seg
                    length = (math.dist(cur, c1) + math.dist(c1, c2) + math.dist(c2, p))
                    n = max(2, min(64, int(math.ceil(math.sqrt(length / tolerance) * 0.6))))
                    for i in range(1, n + 1):
                        t = i / n
                        u = 1 - t
                        pts.append((u ** 3 * cur[0] + 3 * u * u * t * c1[0] + 3 * u * t * t * c2[0] + t ** 3 * p[0],
                                    u ** 3 * cur[1] + 3 * u * u * t * c1[1] + 3 * u * t * t * c2[1] + t ** 3 * p[1]))
                    cur = p
            if closed and len(pts) > 1 and math.dist(pts[0], pts[-1]) < 1e-6:
                pts.pop()
            out.append((pts, closed))
        return out


class Scene:
    """A picture `width` x `height` pixels (96 per inch) made of shapes."""

    def __init__(self, width, height, outline="#3b2f2a", line_width=4.0):
        self.width, self.height = width, height
        self.outline, self.line_width = outline, line_width
        self.shapes = []
        self._m = [(1, 0, 0, 1, 0, 0)]

    # --- transforms: `with scene.at(dx, dy, angle, scale):`
    class _Frame:
        def __init__(self, scene, m):
            self.scene, self.m = scene, m

        def __enter__(self):
            self.scene._m.append(_mul(self.m, self.scene._m[-1]))

        def __exit__(self, *a):
            self.scene._m.pop()

    def at(self, dx=0, dy=0, angle=0, scale=1, sy=None):
        sy = scale if sy is None else sy
        r = math.radians(angle)
        c, s = math.cos(r), math.sin(r)
        return Scene._Frame(self, (c * scale, s * scale, -s * sy, c * sy, dx, dy))

    def _pt(self, p):
        return _apply(self._m[-1], p)

    def _scale(self):
        m = self._m[-1]
        return math.sqrt(abs(m[0] * m[3] - m[1] * m[2]))

    # --- shapes; `stroke=True` means the scene's outline colour
    def add(self, subpaths, fill=None, stroke=True, width=None, evenodd=False):
        if stroke is True:
            stroke = self.outline
        w = (self.line_width if width is None else width) * self._scale()
        mapped = []
        for start, segs, closed in subpaths:
            ms = []
            for seg in segs:
                if seg[0] == "L":
                    ms.append(("L", self._pt(seg[1])))
                else:
                    ms.append(("C", self._pt(seg[1]), self._pt(seg[2]), self._pt(seg[3])))
            mapped.append((self._pt(start), ms, closed))
        self.shapes.append(Shape(mapped, fill, stroke or None, w, evenodd))

    def path(self, d, fill=None, stroke=True, width=None, evenodd=False):
        self.add(parse_path(d), fill, stroke, width, evenodd)

    def poly(self, points, fill=None, stroke=True, width=None, closed=True):
        segs = [("L", p) for p in points[1:]]
        self.add([(points[0], segs, closed)], fill if closed else None, stroke, width)

    def line(self, points, stroke=True, width=None):
        self.poly(points, None, stroke, width, closed=False)

    def ellipse(self, cx, cy, rx, ry=None, fill=None, stroke=True, width=None):
        self.add([ellipse_subpath(cx, cy, rx, rx if ry is None else ry)], fill, stroke, width)

    def circle(self, cx, cy, r, fill=None, stroke=True, width=None):
        self.ellipse(cx, cy, r, r, fill, stroke, width)

    def rect(self, x, y, w, h, fill=None, stroke=True, width=None, r=0):
        self.add([rect_subpath(x, y, w, h, r)], fill, stroke, width)

    def star(self, cx, cy, outer, inner, points=5, fill=None, stroke=True, width=None, angle=-90):
        pts = []
        for i in range(points * 2):
            a = math.radians(angle + i * 180 / points)
            rad = outer if i % 2 == 0 else inner
            pts.append((cx + rad * math.cos(a), cy + rad * math.sin(a)))
        self.poly(pts, fill, stroke, width)

    def arc(self, cx, cy, r, a0, a1, stroke=True, width=None, ry=None):
        """An open arc, angles in degrees clockwise from the x axis (screen sense)."""
        self.add([(arc_points(cx, cy, r, r if ry is None else ry, a0, a1))], None, stroke, width)

    def pie(self, cx, cy, r, a0, a1, fill=None, stroke=True, width=None):
        start, segs, _ = arc_points(cx, cy, r, r, a0, a1)
        self.add([((cx, cy), [("L", start)] + segs, True)], fill, stroke, width)


def ellipse_subpath(cx, cy, rx, ry):
    kx, ky = rx * KAPPA, ry * KAPPA
    return ((cx + rx, cy), [
        ("C", (cx + rx, cy + ky), (cx + kx, cy + ry), (cx, cy + ry)),
        ("C", (cx - kx, cy + ry), (cx - rx, cy + ky), (cx - rx, cy)),
        ("C", (cx - rx, cy - ky), (cx - kx, cy - ry), (cx, cy - ry)),
        ("C", (cx + kx, cy - ry), (cx + rx, cy - ky), (cx + rx, cy)),
    ], True)


def rect_subpath(x, y, w, h, r=0):
    if r <= 0:
        return ((x, y), [("L", (x + w, y)), ("L", (x + w, y + h)), ("L", (x, y + h))], True)
    r = min(r, w / 2, h / 2)
    k = r * (1 - KAPPA)
    return ((x + r, y), [
        ("L", (x + w - r, y)), ("C", (x + w - k, y), (x + w, y + k), (x + w, y + r)),
        ("L", (x + w, y + h - r)), ("C", (x + w, y + h - k), (x + w - k, y + h), (x + w - r, y + h)),
        ("L", (x + r, y + h)), ("C", (x + k, y + h), (x, y + h - k), (x, y + h - r)),
        ("L", (x, y + r)), ("C", (x, y + k), (x + k, y), (x + r, y)),
    ], True)


def arc_points(cx, cy, rx, ry, a0, a1):
    pieces = max(1, int(math.ceil(abs(a1 - a0) / 90)))
    step = (a1 - a0) / pieces
    segs = []
    start = None
    for i in range(pieces):
        t0 = math.radians(a0 + i * step)
        t1 = math.radians(a0 + (i + 1) * step)
        k = 4 / 3 * math.tan((t1 - t0) / 4)
        p0 = (cx + rx * math.cos(t0), cy + ry * math.sin(t0))
        p1 = (cx + rx * math.cos(t1), cy + ry * math.sin(t1))
        c1 = (p0[0] - k * rx * math.sin(t0), p0[1] + k * ry * math.cos(t0))
        c2 = (p1[0] + k * rx * math.sin(t1), p1[1] - k * ry * math.cos(t1))
        if start is None:
            start = p0
        segs.append(("C", c1, c2, p1))
    return (start, segs, False)


def parse_path(d):
    """SVG path data with M, L, H, V, C, S, Q, Z (absolute and relative)."""
    import re
    tokens = re.findall(r"[MLHVCSQZmlhvcsqz]|-?\d*\.?\d+(?:e-?\d+)?", d)
    subpaths = []
    cur = (0.0, 0.0)
    start = None
    segs = None
    last_c2 = None
    i = 0
    cmd = None
    while i < len(tokens):
        t = tokens[i]
        if t.isalpha():
            cmd = t
            i += 1
            if cmd in "Zz":
                if segs is not None:
                    subpaths.append((start, segs, True))
                    cur = start
                segs = None
                continue
        rel = cmd.islower()
        c = cmd.upper()

        def num():
            nonlocal i
            v = float(tokens[i])
            i += 1
            return v

        def pt():
            x, y = num(), num()
            return (cur[0] + x, cur[1] + y) if rel else (x, y)

        if c == "M":
            if segs is not None:
                subpaths.append((start, segs, False))
            cur = pt()
            start, segs = cur, []
            cmd = "l" if rel else "L"
        elif c == "L":
            cur = pt()
            segs.append(("L", cur))
        elif c == "H":
            x = num()
            cur = (cur[0] + x if rel else x, cur[1])
            segs.append(("L", cur))
        elif c == "V":
            y = num()
            cur = (cur[0], cur[1] + y if rel else y)
            segs.append(("L", cur))
        elif c == "C":
            c1, c2, p = pt(), pt(), pt()
            segs.append(("C", c1, c2, p))
            cur, last_c2 = p, c2
            continue
        elif c == "S":
            c1 = (2 * cur[0] - last_c2[0], 2 * cur[1] - last_c2[1]) if last_c2 else cur
            c2, p = pt(), pt()
            segs.append(("C", c1, c2, p))
            cur, last_c2 = p, c2
            continue
        elif c == "Q":
            q, p = pt(), pt()
            c1 = (cur[0] + 2 / 3 * (q[0] - cur[0]), cur[1] + 2 / 3 * (q[1] - cur[1]))
            c2 = (p[0] + 2 / 3 * (q[0] - p[0]), p[1] + 2 / 3 * (q[1] - p[1]))
            segs.append(("C", c1, c2, p))
            cur = p
        last_c2 = None
    if segs is not None:
        subpaths.append((start, segs, False))
    return subpaths


def _color(hexcolor):
    h = hexcolor.lstrip("#")
    return int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16)


def _colorref(hexcolor):
    r, g, b = _color(hexcolor)
    return r | (g << 8) | (b << 16)


def _f(v):
    s = "%.2f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


# ------------------------------------------------------------------ SVG

def to_svg(scene):
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
           % (scene.width, scene.height, scene.width, scene.height)]
    for s in scene.shapes:
        d = []
        for start, segs, closed in s.subpaths:
            d.append("M%s %s" % (_f(start[0]), _f(start[1])))
            for seg in segs:
                if seg[0] == "L":
                    d.append("L%s %s" % (_f(seg[1][0]), _f(seg[1][1])))
                else:
                    d.append("C" + " ".join("%s %s" % (_f(p[0]), _f(p[1])) for p in seg[1:]))
            if closed:
                d.append("Z")
        attrs = ['d="%s"' % "".join(d), 'fill="%s"' % (s.fill or "none")]
        if s.evenodd:
            attrs.append('fill-rule="evenodd"')
        if s.stroke:
            attrs.append('stroke="%s" stroke-width="%s" stroke-linejoin="round" stroke-linecap="round"'
                         % (s.stroke, _f(s.width)))
        out.append("<path %s/>" % " ".join(attrs))
    out.append("</svg>")
    return ("\n".join(out) + "\n").encode("utf-8")


# ------------------------------------------------------------------ shared object tables

def _objects(scene):
    """Every distinct pen and brush the scene needs, in order of first use."""
    pens, brushes = [], []
    for s in scene.shapes:
        pen = (s.stroke, round(s.width, 1)) if s.stroke else None
        if pen not in pens:
            pens.append(pen)
        if s.fill not in brushes:
            brushes.append(s.fill)
    return pens, brushes


# ------------------------------------------------------------------ EMF

UNITS = 10  # logical units per pixel


class _Emf:
    def __init__(self):
        self.body = bytearray()
        self.count = 0

    def rec(self, rtype, payload=b""):
        payload = bytes(payload) + b"\0" * (-len(payload) % 4)
        self.body += struct.pack("<II", rtype, 8 + len(payload)) + payload
        self.count += 1


def to_emf(scene):
    w, h = scene.width, scene.height
    e = _Emf()
    e.rec(17, struct.pack("<I", 8))                              # MM_ANISOTROPIC
    e.rec(9, struct.pack("<ii", w * UNITS, h * UNITS))           # window extent
    e.rec(11, struct.pack("<ii", w, h))                          # viewport extent
    e.rec(18, struct.pack("<I", 1))                              # transparent background
    pens, brushes = _objects(scene)
    handle = {}
    n = 1
    for pen in pens:
        if pen is None:
            handle[("pen", None)] = 0x80000008                   # NULL_PEN
            continue
        color, width = pen
        # Geometric, solid, round caps and joins.
        e.rec(95, struct.pack("<IIIIIIIIIII", n, 0, 0, 0, 0, 0x10000, int(round(width * UNITS)), 0,
                              _colorref(color), 0, 0))
        handle[("pen", pen)] = n
        n += 1
    for brush in brushes:
        if brush is None:
            handle[("brush", None)] = 0x80000005                 # NULL_BRUSH
            continue
        e.rec(39, struct.pack("<IIII", n, 0, _colorref(brush), 0))
        handle[("brush", brush)] = n
        n += 1
    fill_mode = None
    for s in scene.shapes:
        pen = (s.stroke, round(s.width, 1)) if s.stroke else None
        e.rec(37, struct.pack("<I", handle[("pen", pen)]))
        e.rec(37, struct.pack("<I", handle[("brush", s.fill)]))
        mode = 1 if s.evenodd else 2
        if mode != fill_mode:
            e.rec(19, struct.pack("<I", mode))
            fill_mode = mode
        e.rec(59)                                                # BeginPath
        for start, segs, closed in s.subpaths:
            e.rec(27, struct.pack("<ii", *_lp(start)))           # MoveToEx
            i = 0
            while i < len(segs):
                kind = segs[i][0]
                j = i
                while j < len(segs) and segs[j][0] == kind:
                    j += 1
                pts = []
                for seg in segs[i:j]:
                    pts += [_lp(p) for p in seg[1:]]
                payload = _bounds(pts) + struct.pack("<I", len(pts))
                payload += b"".join(struct.pack("<ii", *p) for p in pts)
                e.rec(5 if kind == "C" else 6, payload)          # PolyBezierTo, PolylineTo
                i = j
            if closed:
                e.rec(61)                                        # CloseFigure
        e.rec(60)                                                # EndPath
        all_pts = [_lp(p) for sub in s.subpaths for p in [sub[0]] + [q for seg in sub[1] for q in seg[1:]]]
        op = 63 if (s.fill and s.stroke) else 62 if s.fill else 64
        e.rec(op, _bounds(all_pts))
    e.rec(14, struct.pack("<III", 0, 16, 20))                    # EOF
    frame_w, frame_h = round(w * 2540 / 96), round(h * 2540 / 96)
    header = struct.pack("<II", 1, 108)
    header += struct.pack("<iiii", 0, 0, w - 1, h - 1)
    header += struct.pack("<iiii", 0, 0, frame_w, frame_h)
    header += struct.pack("<III", 0x464D4520, 0x10000, 108 + len(e.body))
    header += struct.pack("<IHH", e.count + 1, n, 0)
    header += struct.pack("<III", 0, 0, 0)
    header += struct.pack("<iiii", 960, 960, 254, 254)           # a 96-per-inch reference device
    header += struct.pack("<III", 0, 0, 0)
    header += struct.pack("<ii", 254000, 254000)
    return header + bytes(e.body)


def _lp(p):
    return (int(round(p[0] * UNITS)), int(round(p[1] * UNITS)))


def _bounds(pts):
    xs = [p[0] for p in pts] or [0]
    ys = [p[1] for p in pts] or [0]
    return struct.pack("<iiii", min(xs) // UNITS, min(ys) // UNITS, max(xs) // UNITS, max(ys) // UNITS)


# ------------------------------------------------------------------ WMF

def to_wmf(scene):
    w, h = scene.width, scene.height
    records = bytearray()
    max_words = 3

    def rec(func, payload=b""):
        nonlocal max_words
        payload = bytes(payload) + b"\0" * (len(payload) % 2)
        words = 3 + len(payload) // 2
        max_words = max(max_words, words)
        records.extend(struct.pack("<IH", words, func) + payload)

    rec(0x0103, struct.pack("<h", 8))                           # SetMapMode anisotropic
    rec(0x020B, struct.pack("<hh", 0, 0))                       # SetWindowOrg (y, x)
    rec(0x020C, struct.pack("<hh", h * UNITS, w * UNITS))       # SetWindowExt (y, x)
    rec(0x0102, struct.pack("<h", 1))                           # transparent background
    pens, brushes = _objects(scene)
    slot = {}
    n = 0
    for pen in pens:
        if pen is None:
            rec(0x02FA, struct.pack("<hhhI", 5, 0, 0, 0))       # PS_NULL
        else:
            color, width = pen
            rec(0x02FA, struct.pack("<hhhI", 0, int(round(width * UNITS)), 0, _colorref(color)))
        slot[("pen", pen)] = n
        n += 1
    for brush in brushes:
        if brush is None:
            rec(0x02FC, struct.pack("<HIH", 1, 0, 0))           # BS_NULL
        else:
            rec(0x02FC, struct.pack("<HIH", 0, _colorref(brush), 0))
        slot[("brush", brush)] = n
        n += 1
    fill_mode = None
    for s in scene.shapes:
        pen = (s.stroke, round(s.width, 1)) if s.stroke else None
        rec(0x012D, struct.pack("<H", slot[("pen", pen)]))
        rec(0x012D, struct.pack("<H", slot[("brush", s.fill)]))
        mode = 1 if s.evenodd else 2
        if mode != fill_mode:
            rec(0x0106, struct.pack("<h", mode))                # SetPolyFillMode
            fill_mode = mode
        flat = s.flattened(tolerance=0.1)
        closed = [pts for pts, c in flat if c and len(pts) > 2]
        if closed:
            payload = struct.pack("<h", len(closed))
            payload += b"".join(struct.pack("<h", len(pts)) for pts in closed)
            payload += b"".join(struct.pack("<hh", *_lp(p)) for pts in closed for p in pts)
            rec(0x0538, payload)                                # PolyPolygon
        if s.stroke:
            for pts, c in flat:
                if not c and len(pts) > 1:
                    rec(0x0325, struct.pack("<h", len(pts)) + b"".join(struct.pack("<hh", *_lp(p)) for p in pts))
    rec(0x0000)
    size_words = (18 + len(records)) // 2
    wmf = struct.pack("<HHHIHIH", 1, 9, 0x0300, size_words, n, max_words, 0) + bytes(records)
    head = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, w * UNITS, h * UNITS, 96 * UNITS, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", head):
        checksum ^= word
    return head + struct.pack("<H", checksum) + wmf
