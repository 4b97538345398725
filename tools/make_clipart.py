#!/usr/bin/env python3
"""Generates the clip art shipped in assets/ClipArt: pictures for calendars (seasons,
holidays, birthdays, school and sport), all our own artwork.

Every picture is drawn here as a vector scene (tools/clipart_scene.py) and written in
one format, so that the folder shows every kind of picture the program reads:

- WMF (placeable), EMF and SVG are written directly from the scene; they stay vectors
  on paper.
- PNG, GIF, BMP and JPEG are rendered from the SVG by rsvg-convert (librsvg2-bin) at
  300 x 300 pixels and encoded by Pillow (python3-pil); BMP, GIF and JPEG on white.

Usage: /usr/bin/python3 tools/make_clipart.py [output folder]   (default: assets/ClipArt)
       add --sheet FILE.png to also write a contact sheet of the SVG renderings.
"""

import io
import math
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from clipart_scene import Scene, to_emf, to_svg, to_wmf  # noqa: E402

RED = "#e63946"
DARKRED = "#b5202e"
ORANGE = "#f4a261"
DEEPORANGE = "#e76f51"
PUMPKIN = "#f08a24"
YELLOW = "#ffd23f"
GOLD = "#f2b705"
GREEN = "#57a639"
DARKGREEN = "#2d6a4f"
LIGHTGREEN = "#a7d676"
TEAL = "#2a9d8f"
BLUE = "#3a86ff"
SKY = "#8ecae6"
NAVY = "#1d3557"
PINK = "#ff8fab"
LIGHTPINK = "#ffc2d1"
PURPLE = "#8e5ad6"
BROWN = "#8d5524"
TAN = "#d9a066"
SAND = "#f1d9a5"
WHITE = "#ffffff"
CREAM = "#fff3d6"
GREY = "#adb5bd"
DARKGREY = "#6c757d"
INK = "#3b2f2a"

ART = []


def art(name, fmt, size=(240, 240)):
    def wrap(fn):
        ART.append((name, fmt, size, fn))
        return fn
    return wrap


# ------------------------------------------------------------------ seasons

@art("Sun", "emf")
def sun(s):
    for i in range(12):
        a = math.radians(i * 30)
        da = math.radians(11)
        pts = [(120 + 70 * math.cos(a - da), 120 + 70 * math.sin(a - da)),
               (120 + 114 * math.cos(a), 120 + 114 * math.sin(a)),
               (120 + 70 * math.cos(a + da), 120 + 70 * math.sin(a + da))]
        s.poly(pts, ORANGE)
    s.circle(120, 120, 66, YELLOW)
    s.ellipse(97, 108, 7, 10, INK, None)
    s.ellipse(143, 108, 7, 10, INK, None)
    s.ellipse(86, 132, 10, 6, LIGHTPINK, None)
    s.ellipse(154, 132, 10, 6, LIGHTPINK, None)
    s.arc(120, 122, 30, 25, 155, width=5)


@art("Tulip", "wmf")
def tulip(s):
    s.line([(120, 225), (120, 110)], DARKGREEN, 9)
    s.path("M118 212 C 76 204 60 160 66 124 C 96 140 114 172 118 212 Z", GREEN)
    s.path("M122 200 C 160 196 178 162 176 134 C 146 146 126 168 122 200 Z", GREEN)
    s.path("M72 58 C 66 100 82 128 120 128 C 158 128 174 100 168 58 L 146 82 L 132 40 L 120 76"
           " L 108 40 L 94 82 Z", RED)
    s.path("M120 76 L 108 40 L 94 82 C 96 104 106 120 120 126 Z", DARKRED, stroke=False)
    s.path("M72 58 C 66 100 82 128 120 128 C 158 128 174 100 168 58 L 146 82 L 132 40 L 120 76"
           " L 108 40 L 94 82 Z", None)


@art("Daisy", "svg")
def daisy(s):
    s.line([(120, 150), (120, 232)], DARKGREEN, 8)
    s.path("M120 200 C 140 180 168 180 182 190 C 166 206 140 208 120 200 Z", GREEN)
    for i in range(14):
        with s.at(120, 100, i * 360 / 14):
            s.ellipse(0, -52, 15, 36, WHITE, width=3)
    s.circle(120, 100, 28, YELLOW)
    for dx, dy in [(-10, -8), (8, -12), (12, 6), (-6, 12), (0, 0)]:
        s.circle(120 + dx, 100 + dy, 3, GOLD, None)


@art("Butterfly", "emf")
def butterfly(s):
    with s.at(80, 92, -28):
        s.ellipse(0, 0, 50, 36, PURPLE)
        s.circle(-12, -4, 12, LIGHTPINK)
        s.circle(20, 6, 6, WHITE)
    with s.at(160, 92, 28):
        s.ellipse(0, 0, 50, 36, PURPLE)
        s.circle(12, -4, 12, LIGHTPINK)
        s.circle(-20, 6, 6, WHITE)
    with s.at(92, 158, 24):
        s.ellipse(0, 0, 32, 26, PINK)
        s.circle(-6, 4, 8, YELLOW)
    with s.at(148, 158, -24):
        s.ellipse(0, 0, 32, 26, PINK)
        s.circle(6, 4, 8, YELLOW)
    s.ellipse(120, 125, 9, 56, INK, None)
    s.path("M116 74 C 108 50 96 38 84 34", None, width=4)
    s.path("M124 74 C 132 50 144 38 156 34", None, width=4)
    s.circle(84, 34, 5, INK, None)
    s.circle(156, 34, 5, INK, None)


@art("Beach Umbrella", "wmf")
def beach_umbrella(s):
    s.ellipse(120, 218, 100, 16, SAND)
    s.rect(115, 100, 10, 118, BROWN, r=3)
    for i in range(6):
        s.pie(120, 112, 100, 180 + i * 30, 210 + i * 30, RED if i % 2 == 0 else WHITE)
    s.circle(120, 12, 6, RED)
    s.ellipse(184, 196, 22, 22, BLUE)
    s.path("M162 196 C 174 186 194 186 206 196", None, width=3)
    s.path("M184 174 C 176 186 176 206 184 218", None, width=3)


@art("Ice Cream", "png")
def ice_cream(s):
    s.poly([(82, 120), (158, 120), (120, 228)], TAN)
    for x in (98, 116, 134):
        s.line([(x, 120), (x + 20, 160)], BROWN, 3)
    s.line([(96, 140), (144, 140)], BROWN, 3)
    s.line([(104, 165), (136, 165)], BROWN, 3)
    s.circle(94, 104, 32, PINK)
    s.circle(146, 104, 32, LIGHTGREEN)
    s.circle(120, 66, 36, BROWN)
    s.ellipse(108, 54, 10, 6, TAN, None)
    s.circle(122, 26, 10, RED)
    s.path("M122 16 C 124 8 130 4 138 4", None, width=3)


@art("Maple Leaf", "emf")
def maple_leaf(s):
    right = [(120, 16), (132, 52), (152, 40), (147, 84), (188, 62), (180, 86), (214, 94),
             (184, 118), (195, 140), (152, 133), (147, 156), (126, 148)]
    left = [(240 - x, y) for x, y in reversed(right[1:])]
    s.poly(right + [(120, 152)] + left, DEEPORANGE)
    s.line([(120, 152), (120, 226)], BROWN, 7)
    for end in [(120, 44), (172, 84), (68, 84), (178, 128), (62, 128)]:
        s.line([(120, 150), end], DARKRED, 3)


@art("Acorn", "wmf")
def acorn(s):
    s.path("M78 112 C 78 172 104 214 120 222 C 136 214 162 172 162 112 Z", TAN)
    s.path("M92 130 C 92 170 106 196 114 204", None, WHITE, 5)
    s.path("M64 114 C 64 66 176 66 176 114 C 150 126 90 126 64 114 Z", BROWN)
    def dome_top(x):  # the cap's upper edge above x
        t = min((i / 200 for i in range(201)), key=lambda t: abs(
            (1 - t) ** 3 * 64 + 3 * (1 - t) ** 2 * t * 64 + 3 * (1 - t) * t * t * 176 + t ** 3 * 176 - x))
        return (1 - t) ** 3 * 114 + 3 * (1 - t) ** 2 * t * 66 + 3 * (1 - t) * t * t * 66 + t ** 3 * 114
    for x in (86, 104, 122, 140, 158):
        s.line([(x - 5, dome_top(x - 5) + 5), (x + 4, 114)], INK, 3)
    s.rect(113, 40, 14, 36, BROWN, r=5)


@art("Snowflake", "svg")
def snowflake(s):
    for i in range(6):
        with s.at(120, 120, i * 60):
            s.line([(0, 0), (0, -104)], BLUE, 9)
            for r, length in [(44, 26), (76, 20)]:
                s.line([(0, -r), (-length, -r - length)], BLUE, 7)
                s.line([(0, -r), (length, -r - length)], BLUE, 7)
    s.circle(120, 120, 14, SKY, BLUE, 5)


@art("Snowman", "emf")
def snowman(s):
    s.line([(84, 100), (40, 70), (30, 54)], BROWN, 5)
    s.line([(40, 70), (28, 74)], BROWN, 4)
    s.line([(156, 100), (200, 70), (210, 54)], BROWN, 5)
    s.line([(200, 70), (212, 76)], BROWN, 4)
    s.circle(120, 180, 50, WHITE)
    s.circle(120, 112, 38, WHITE)
    s.circle(120, 56, 28, WHITE)
    s.path("M92 74 C 110 84 130 84 148 74 L 150 86 C 130 96 110 96 90 86 Z", RED)
    s.path("M134 84 L 150 120 L 136 124 L 126 90 Z", RED)
    s.rect(90, 28, 60, 7, INK, None)
    s.rect(100, 4, 40, 26, INK, None)
    s.rect(100, 22, 40, 5, RED, None)
    s.circle(110, 52, 4, INK, None)
    s.circle(130, 52, 4, INK, None)
    s.poly([(120, 58), (146, 64), (120, 66)], ORANGE, width=2)
    for y in (104, 124, 164, 188):
        s.circle(120, y, 5, INK, None)


@art("Umbrella", "gif")
def umbrella(s):
    s.path("M22 112 C 22 52 68 20 120 20 C 172 20 218 52 218 112 C 202 100 186 100 171 112"
           " C 156 100 136 100 120 112 C 104 100 84 100 69 112 C 54 100 38 100 22 112 Z", BLUE)
    s.path("M120 20 C 96 40 86 74 90 106", None, width=3)
    s.path("M120 20 C 144 40 154 74 150 106", None, width=3)
    s.path("M120 110 L 120 196 C 120 220 88 220 88 198", None, width=8)
    s.rect(116, 8, 8, 14, INK, None)
    for x, y in [(40, 150), (70, 180), (176, 150), (206, 186), (150, 206), (30, 210)]:
        s.path("M%d %d C %d %d %d %d %d %d C %d %d %d %d %d %d Z"
               % (x, y - 14, x + 2, y - 8, x + 8, y - 2, x + 8, y + 3, x + 8, y + 9, x - 8, y + 9, x - 8, y + 3),
               SKY, width=2)


# ------------------------------------------------------------------ holidays

@art("Christmas Tree", "wmf")
def christmas_tree(s):
    s.rect(106, 196, 28, 34, BROWN)
    s.poly([(120, 90), (204, 204), (36, 204)], DARKGREEN)
    s.poly([(120, 58), (190, 150), (50, 150)], GREEN)
    s.poly([(120, 26), (172, 100), (68, 100)], GREEN)
    s.path("M74 146 C 110 160 150 150 182 130", None, GOLD, 5)
    s.path("M64 194 C 110 206 160 192 198 172", None, GOLD, 5)
    for x, y, c in [(92, 124, RED), (150, 110, BLUE), (118, 140, GOLD), (80, 180, BLUE),
                    (140, 178, RED), (170, 190, GOLD), (110, 84, RED)]:
        s.circle(x, y, 8, c, width=2)
    s.star(120, 26, 24, 10, 5, YELLOW, width=3)


@art("Gift", "emf")
def gift(s):
    s.rect(52, 110, 136, 112, RED)
    s.rect(40, 82, 160, 32, DARKRED)
    s.rect(108, 82, 24, 140, GOLD)
    with s.at(104, 70, -25):
        s.ellipse(-16, 0, 30, 16, GOLD)
    with s.at(136, 70, 25):
        s.ellipse(16, 0, 30, 16, GOLD)
    s.path("M114 78 L 96 104 L 104 108 L 118 86 Z", GOLD, width=3)
    s.path("M126 78 L 144 104 L 136 108 L 122 86 Z", GOLD, width=3)
    s.circle(120, 74, 11, YELLOW)


@art("Candy Cane", "svg")
def candy_cane(s):
    def cane(stroke, width):
        s.path("M148 224 L 148 86 C 148 38 80 38 80 86 L 80 100", None, stroke, width)
    cane(INK, 42)
    cane(WHITE, 34)
    for y in range(214, 90, -28):
        s.poly([(131, y), (165, y - 16), (165, y - 4), (131, y + 12)], RED, False)
    cx, cy, r0, r1 = 114, 86, 17, 51
    for a in range(-12, -180, -30):
        a0, a1 = math.radians(a), math.radians(a - 13)
        s.poly([(cx + r0 * math.cos(a0), cy + r0 * math.sin(a0)), (cx + r1 * math.cos(a0 - 0.12), cy + r1 * math.sin(a0 - 0.12)),
                (cx + r1 * math.cos(a1 - 0.12), cy + r1 * math.sin(a1 - 0.12)), (cx + r0 * math.cos(a1), cy + r0 * math.sin(a1))],
               RED, False)


@art("Bells", "wmf")
def bells(s):
    def bell(x, y, angle):
        with s.at(x, y, angle):
            s.circle(0, 48, 11, BROWN)
            s.path("M-38 38 C -38 -6 -26 -48 0 -48 C 26 -48 38 -6 38 38 L 46 48 L -46 48 Z", GOLD)
            s.path("M-30 28 C -28 0 -20 -30 -6 -38", None, YELLOW, 5)
    bell(84, 126, -18)
    bell(156, 126, 18)
    s.path("M62 162 C 40 190 60 204 80 190 C 70 206 96 214 104 196 C 110 212 130 204 124 188", GREEN)
    with s.at(104, 62, -25):
        s.ellipse(-14, 0, 20, 12, RED)
    with s.at(136, 62, 25):
        s.ellipse(14, 0, 20, 12, RED)
    s.circle(120, 64, 10, RED)
    s.path("M116 70 L 100 104 M124 70 L 140 104", None, RED, 7)
    for x, y in [(112, 180), (126, 186), (118, 196)]:
        s.circle(x, y, 6, RED, width=2)


@art("Star", "emf")
def star(s):
    s.star(120, 128, 104, 44, 5, GOLD, width=5)
    s.star(120, 128, 62, 26, 5, YELLOW, None)
    for x, y, r in [(34, 40, 18), (206, 32, 14), (210, 196, 12)]:
        s.star(x, y, r, r * 0.3, 4, YELLOW, width=2, angle=0)


@art("Heart", "wmf")
def heart(s):
    s.path("M120 214 C 60 168 20 128 20 86 C 20 50 48 26 76 26 C 98 26 113 40 120 60"
           " C 127 40 142 26 164 26 C 192 26 220 50 220 86 C 220 128 180 168 120 214 Z", RED, width=5)
    with s.at(66, 70, -40):
        s.ellipse(0, 0, 22, 12, LIGHTPINK, None)


HEART = ("M120 214 C 60 168 20 128 20 86 C 20 50 48 26 76 26 C 98 26 113 40 120 60"
         " C 127 40 142 26 164 26 C 192 26 220 50 220 86 C 220 128 180 168 120 214 Z")


@art("Shamrock", "emf")
def shamrock(s):
    s.path("M120 116 C 124 160 136 196 158 224", None, DARKGREEN, 10)
    for a in (0, 120, 240):
        with s.at(120, 116, a, 0.46):
            with s.at(-120, -214):
                s.path(HEART, GREEN, width=8.5)
    s.circle(120, 116, 6, GREEN, None)


@art("Easter Egg", "svg")
def easter_egg(s):
    egg = ("M120 18 C 172 18 198 108 198 150 C 198 196 164 224 120 224 C 76 224 42 196 42 150"
           " C 42 108 68 18 120 18 Z")
    s.path(egg, SKY, width=5)
    s.path("M52 112 C 96 124 144 124 188 112 L 192 136 C 146 150 94 150 48 136 Z", YELLOW, False)
    s.line([(56, 178), (72, 164), (88, 180), (104, 164), (120, 180), (136, 164), (152, 180), (168, 164), (184, 178)],
           PINK, 6)
    for x, y in [(90, 70), (120, 52), (150, 70), (104, 92), (136, 92)]:
        s.circle(x, y, 7, PINK, None)
    s.line([(100, 205), (120, 196), (140, 205)], PURPLE, 5)
    s.path(egg, None, width=5)


@art("Easter Bunny", "wmf")
def easter_bunny(s):
    for x, a in [(92, -12), (148, 12)]:
        with s.at(x, 68, a):
            s.ellipse(0, 0, 22, 58, WHITE)
            s.ellipse(0, 4, 11, 42, LIGHTPINK, None)
    s.ellipse(120, 160, 74, 64, WHITE)
    s.ellipse(94, 180, 13, 9, LIGHTPINK, None)
    s.ellipse(146, 180, 13, 9, LIGHTPINK, None)
    s.circle(96, 146, 9, INK, None)
    s.circle(144, 146, 9, INK, None)
    s.circle(99, 143, 3, WHITE, None)
    s.circle(147, 143, 3, WHITE, None)
    s.path("M110 166 L 130 166 L 120 178 Z", PINK, width=3)
    s.rect(112, 186, 16, 14, WHITE, width=3)
    s.line([(120, 186), (120, 200)], INK, 2)
    for dy in (-6, 6):
        s.line([(100, 176 + dy), (62, 170 + dy * 2)], INK, 2)
        s.line([(140, 176 + dy), (178, 170 + dy * 2)], INK, 2)


@art("Jack-o-Lantern", "emf")
def jack_o_lantern(s):
    s.path("M114 48 C 112 32 118 20 130 14 L 136 24 C 128 30 126 38 128 50 Z", DARKGREEN)
    s.ellipse(78, 134, 56, 82, PUMPKIN)
    s.ellipse(162, 134, 56, 82, PUMPKIN)
    s.ellipse(120, 134, 56, 86, ORANGE)
    s.poly([(72, 110), (100, 110), (86, 86)], INK, None)
    s.poly([(140, 110), (168, 110), (154, 86)], INK, None)
    s.poly([(112, 136), (128, 136), (120, 122)], INK, None)
    s.poly([(62, 150), (80, 158), (94, 148), (108, 160), (120, 150), (132, 160), (146, 148), (160, 158),
            (178, 150), (168, 182), (150, 194), (136, 186), (120, 198), (104, 186), (90, 194), (72, 182)], INK, None)


@art("Ghost", "svg")
def ghost(s):
    body = ("M44 214 L 44 106 C 44 56 80 22 120 22 C 160 22 196 56 196 106 L 196 214 C 184 204 172 204 160 216"
            " C 148 204 132 204 120 216 C 108 204 92 204 80 216 C 68 204 56 204 44 214 Z")
    s.path(body, WHITE, None)
    s.path("M170 74 C 180 96 182 140 178 196 C 184 200 190 204 196 210 L 196 106 C 196 92 192 82 186 72 Z",
           "#e9ecef", None)
    s.path(body, None, width=5)
    s.ellipse(96, 100, 12, 18, INK, None)
    s.ellipse(144, 100, 12, 18, INK, None)
    s.ellipse(120, 146, 14, 18, INK, None)
    s.ellipse(78, 126, 10, 6, LIGHTPINK, None)
    s.ellipse(162, 126, 10, 6, LIGHTPINK, None)


@art("Fireworks", "png")
def fireworks(s):
    for cx, cy, r, c1, c2, n in [(80, 84, 64, RED, YELLOW, 14), (170, 70, 48, BLUE, SKY, 12),
                                  (150, 172, 54, PURPLE, PINK, 12)]:
        for i in range(n):
            a = math.radians(i * 360 / n)
            s.line([(cx + r * 0.25 * math.cos(a), cy + r * 0.25 * math.sin(a)),
                    (cx + r * 0.85 * math.cos(a), cy + r * 0.85 * math.sin(a))], c1, 5)
            s.circle(cx + r * math.cos(a), cy + r * math.sin(a), 4.5, c2, None)
        s.circle(cx, cy, 7, c2, None)
    s.path("M60 232 C 64 196 70 170 80 150", None, GREY, 3)


@art("Candle", "wmf")
def candle(s):
    s.ellipse(120, 206, 84, 22, GOLD)
    s.ellipse(120, 200, 58, 12, YELLOW, None)
    s.path("M86 92 L 154 92 L 154 200 L 86 200 Z", CREAM)
    s.path("M86 92 L 154 92 L 154 112 C 146 112 146 132 140 132 C 134 132 134 112 126 112"
           " C 118 112 116 142 108 142 C 100 142 100 112 92 112 C 88 112 86 110 86 108 Z", WHITE)
    s.line([(120, 92), (120, 74)], INK, 4)
    s.path("M120 10 C 134 34 144 50 144 64 C 144 78 134 86 120 86 C 106 86 96 78 96 64 C 96 50 106 34 120 10 Z",
           YELLOW)
    s.path("M120 42 C 128 56 132 62 132 70 C 132 78 126 82 120 82 C 114 82 108 78 108 70 C 108 62 112 56 120 42 Z",
           ORANGE, None)


@art("Stocking", "emf")
def stocking(s):
    s.path("M78 64 L 150 64 L 150 150 C 150 178 128 204 96 214 C 62 224 34 210 30 188 C 26 166 44 150 70 144"
           " L 78 140 Z", RED)
    s.path("M30 188 C 26 168 40 154 56 150 C 50 168 54 194 66 216 C 46 218 33 206 30 188 Z", WHITE, width=3)
    s.path("M150 120 L 150 150 C 150 160 148 168 144 176 C 130 168 124 144 130 120 Z", WHITE, width=3)
    s.rect(66, 30, 96, 38, WHITE, r=10)
    for x, y in [(102, 100), (124, 90), (114, 130), (92, 160), (132, 156)]:
        s.star(x, y, 9, 4, 5, GOLD, None)
    s.circle(168, 40, 8, GREEN, width=2)


@art("Bunting", "gif")
def bunting(s):
    p0, c1, c2, p3 = (8, 50), (80, 100), (160, 100), (232, 50)

    def at(t):
        u = 1 - t
        return tuple(u ** 3 * p0[i] + 3 * u * u * t * c1[i] + 3 * u * t * t * c2[i] + t ** 3 * p3[i] for i in (0, 1))
    colours = [RED, GOLD, BLUE, GREEN, PINK, PURPLE, ORANGE]
    for k in range(7):
        a, b = at(0.06 + k * 0.128), at(0.06 + k * 0.128 + 0.1)
        mid = ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2)
        dx, dy = b[0] - a[0], b[1] - a[1]
        length = math.hypot(dx, dy)
        tip = (mid[0] - dy / length * 60, mid[1] + dx / length * 60)
        s.poly([a, b, tip], colours[k])
    s.path("M8 50 C 80 100 160 100 232 50", None, width=4)
    s.circle(8, 50, 6, INK, None)
    s.circle(232, 50, 6, INK, None)


# ------------------------------------------------------------------ birthdays

@art("Birthday Cake", "emf")
def birthday_cake(s):
    s.ellipse(120, 212, 104, 18, GREY)
    s.rect(36, 142, 168, 70, BROWN, r=8)
    s.path("M36 150 C 36 142 44 136 52 136 L 188 136 C 196 136 204 142 204 150 L 204 160 C 196 168 188 168 182 158"
           " C 174 170 160 170 154 158 C 146 172 128 172 122 158 C 114 170 98 170 92 158 C 84 170 70 170 64 158"
           " C 56 168 42 168 36 160 Z", PINK)
    s.rect(66, 90, 108, 54, BROWN, r=8)
    s.path("M66 98 C 66 92 72 86 78 86 L 162 86 C 168 86 174 92 174 98 L 174 106 C 166 114 158 114 152 104"
           " C 144 116 132 116 126 104 C 118 116 106 116 100 104 C 92 116 80 116 66 106 Z", CREAM)
    for x, c in [(90, BLUE), (120, GREEN), (150, PURPLE)]:
        s.rect(x - 5, 44, 10, 44, c, width=3)
        s.path("M%d 16 C %d 28 %d 32 %d 36 C %d 42 %d 42 %d 36 C %d 32 %d 28 %d 16 Z"
               % (x, x + 8, x + 10, x + 10, x + 8, x - 8, x - 10, x - 10, x - 8, x), YELLOW, width=3)
    for x, y in [(70, 186), (100, 196), (140, 188), (172, 196), (120, 130)]:
        s.circle(x, y, 5, YELLOW, None)


@art("Balloons", "svg")
def balloons(s):
    s.path("M80 128 C 88 170 110 190 120 236", None, width=3)
    s.path("M120 108 C 116 160 126 190 120 236", None, width=3)
    s.path("M168 122 C 156 170 130 196 120 236", None, width=3)
    for cx, cy, c in [(80, 78, RED), (168, 72, BLUE), (120, 58, YELLOW)]:
        s.poly([(cx - 7, cy + 58), (cx + 7, cy + 58), (cx, cy + 48)], c, width=3)
        s.ellipse(cx, cy, 38, 48, c)
        with s.at(cx - 14, cy - 20, -35):
            s.ellipse(0, 0, 9, 15, WHITE, None)


@art("Party Hat", "wmf")
def party_hat(s):
    s.poly([(120, 24), (186, 204), (54, 204)], PURPLE)
    s.poly([(120, 24), (140, 78), (100, 78)], GOLD, False)
    s.poly([(93, 98), (147, 98), (160, 134), (80, 134)], GOLD, False)
    s.poly([(72, 154), (168, 154), (180, 188), (60, 188)], GOLD, False)
    s.poly([(120, 24), (186, 204), (54, 204)], None)
    s.ellipse(120, 204, 70, 14, PINK)
    s.circle(120, 22, 18, PINK)
    for x, y, c in [(40, 60, RED), (200, 50, BLUE), (30, 140, GREEN), (210, 130, GOLD)]:
        s.rect(x - 5, y - 3, 10, 6, c, None)


@art("Cupcake", "png")
def cupcake(s):
    s.path("M58 130 L 182 130 L 166 226 L 74 226 Z", SKY)
    for x in (80, 100, 120, 140, 160):
        s.line([(x, 134), (x - (x - 120) * 0.15, 222)], BLUE, 3)
    s.path("M50 132 C 36 120 44 98 62 98 C 60 78 80 66 96 74 C 100 50 140 50 144 74 C 160 66 180 78 178 98"
           " C 196 98 204 120 190 132 Z", LIGHTPINK)
    s.path("M76 104 C 92 96 108 112 124 100 C 140 90 156 108 168 100", None, PINK, 6)
    s.circle(120, 44, 15, RED)
    s.path("M120 30 C 122 18 130 12 140 10", None, width=3)
    for x, y, a, c in [(74, 118, 30, YELLOW), (100, 88, -20, BLUE), (150, 86, 40, GREEN), (168, 118, -30, PURPLE),
                       (126, 120, 10, YELLOW)]:
        with s.at(x, y, a):
            s.rect(-7, -2.5, 14, 5, c, None)


@art("Party Horn", "bmp")
def party_horn(s):
    with s.at(96, 150, -32):
        s.rect(-80, -9, 26, 18, RED, r=4)
        s.path("M-56 -8 L 60 -30 L 60 30 L -56 8 Z", YELLOW)
        for x in (-30, 0, 30):
            h = 8 + (x + 56) * 22 / 116
            s.line([(x, -h + 2), (x, h - 2)], RED, 6)
        s.ellipse(60, 0, 8, 30, ORANGE)
    for i, c in enumerate([RED, BLUE, GREEN, PURPLE, GOLD, PINK]):
        a = math.radians(-70 + i * 22)
        x, y = 170 + 56 * math.cos(a), 90 + 56 * math.sin(a)
        with s.at(x, y, i * 37):
            s.rect(-7, -3, 14, 6, c, None)
    s.path("M150 96 C 180 80 190 110 214 92 C 226 84 230 72 226 62", None, BLUE, 4)


@art("Crown", "jpg")
def crown(s):
    s.path("M34 176 L 22 64 L 74 118 L 120 40 L 166 118 L 218 64 L 206 176 Z", GOLD, width=5)
    s.rect(30, 172, 180, 36, YELLOW, width=5, r=6)
    for x, y, r in [(22, 62, 11), (120, 38, 13), (218, 62, 11)]:
        s.circle(x, y, r, RED)
    for x, c in [(70, BLUE), (120, RED), (170, GREEN)]:
        s.circle(x, 190, 10, c, width=3)
    s.ellipse(120, 140, 14, 20, BLUE, width=3)


# ------------------------------------------------------------------ school

@art("Apple", "wmf")
def apple(s):
    s.path("M120 72 C 100 56 44 56 42 116 C 40 176 80 224 106 220 C 112 219 116 214 120 214"
           " C 124 214 128 219 134 220 C 160 224 200 176 198 116 C 196 56 140 56 120 72 Z", RED, width=5)
    s.path("M120 72 C 118 52 112 36 102 24", None, BROWN, 7)
    s.path("M124 54 C 134 26 164 18 188 28 C 172 54 146 62 124 54 Z", GREEN)
    with s.at(74, 108, -30):
        s.ellipse(0, 0, 10, 22, "#ff8a8f", None)


@art("Pencil", "emf")
def pencil(s):
    with s.at(120, 120, -38):
        s.rect(-64, -20, 118, 40, YELLOW)
        s.line([(-64, -7), (54, -7)], GOLD, 3)
        s.line([(-64, 7), (54, 7)], GOLD, 3)
        s.poly([(54, -20), (104, 0), (54, 20)], TAN)
        s.poly([(86, -7), (104, 0), (86, 7)], INK, None)
        s.rect(-84, -20, 22, 40, GREY)
        s.line([(-77, -20), (-77, 20)], DARKGREY, 3)
        s.line([(-69, -20), (-69, 20)], DARKGREY, 3)
        s.rect(-108, -20, 26, 40, PINK, r=8)


@art("Book", "svg")
def book(s):
    s.path("M20 70 C 60 56 96 60 120 76 C 144 60 180 56 220 70 L 220 200 C 180 188 144 192 120 208"
           " C 96 192 60 188 20 200 Z", NAVY)
    s.path("M28 60 C 64 48 98 52 120 68 L 120 196 C 98 180 64 176 28 188 Z", WHITE)
    s.path("M212 60 C 176 48 142 52 120 68 L 120 196 C 142 180 176 176 212 188 Z", CREAM)
    for k in range(6):
        y = 84 + k * 17
        s.path("M40 %d C 64 %d 88 %d 108 %d" % (y, y - 8, y - 6, y + 4), None, GREY, 4)
        s.path("M132 %d C 152 %d 176 %d 200 %d" % (y + 4, y - 6, y - 8, y), None, GREY, 4)
    s.rect(154, 40, 14, 46, RED, None)


@art("School Bus", "emf", (300, 190))
def school_bus(s):
    s.rect(14, 34, 264, 118, YELLOW, r=16)
    s.path("M240 34 L 262 34 C 274 34 286 50 286 66 L 286 142 L 240 142 Z", GOLD)
    s.rect(14, 112, 272, 12, INK, None)
    for x in (30, 82, 134):
        s.rect(x, 52, 42, 38, SKY, width=3, r=4)
    s.rect(192, 52, 34, 80, SKY, width=3, r=4)
    s.line([(209, 52), (209, 132)], INK, 3)
    s.rect(244, 52, 30, 38, SKY, width=3, r=4)
    s.rect(10, 140, 280, 16, DARKGREY, r=6)
    for x in (70, 234):
        s.circle(x, 156, 24, INK, None)
        s.circle(x, 156, 11, GREY, None)
    s.circle(282, 128, 6, RED, width=2)
    s.rect(280, 96, 10, 14, ORANGE, width=2, r=2)


@art("Graduation Cap", "wmf")
def graduation_cap(s):
    s.path("M62 110 L 62 170 C 62 192 178 192 178 170 L 178 110 Z", NAVY)
    s.poly([(120, 46), (230, 96), (120, 146), (10, 96)], NAVY)
    s.poly([(120, 62), (196, 96), (120, 130), (44, 96)], "#274b7a", None)
    s.circle(120, 96, 8, GOLD, width=3)
    s.path("M120 96 L 196 118 L 196 176", None, GOLD, 5)
    s.path("M188 176 L 204 176 L 210 212 L 182 212 Z", GOLD, width=3)


@art("Ruler", "gif")
def ruler(s):
    with s.at(120, 120, -30):
        s.rect(-118, -28, 236, 56, "#f7d774", r=5)
        for i in range(0, 23):
            x = -106 + i * 10
            h = 20 if i % 10 == 0 else 14 if i % 5 == 0 else 8
            s.line([(x, -28), (x, -28 + h)], INK, 3)
        s.circle(96, 10, 7, WHITE, width=3)


@art("Chalkboard", "bmp")
def chalkboard(s):
    s.rect(12, 28, 216, 160, BROWN, r=6)
    s.rect(24, 40, 192, 136, DARKGREEN, None)
    chalk = "#f8f9fa"
    s.path("M44 150 L 66 70 L 88 150 M54 118 L 78 118", None, chalk, 7)
    s.path("M106 150 L 106 70 C 150 70 150 108 106 108 C 156 108 156 150 106 150", None, chalk, 7)
    s.path("M200 82 C 190 66 160 66 156 96 C 152 126 162 150 184 150 C 194 150 200 144 202 136", None, chalk, 7)
    s.rect(20, 188, 200, 12, TAN, r=4)
    s.rect(150, 178, 44, 12, GREY, r=3)
    s.rect(70, 181, 24, 7, WHITE, r=3)


@art("Alarm Clock", "jpg")
def alarm_clock(s):
    s.line([(70, 196), (50, 226)], INK, 10)
    s.line([(170, 196), (190, 226)], INK, 10)
    s.pie(66, 62, 36, 180, 360, GOLD)
    s.pie(174, 62, 36, 180, 360, GOLD)
    with s.at(66, 62, -40):
        s.line([(0, 0), (0, -10)], INK, 6)
    with s.at(174, 62, 40):
        s.line([(0, 0), (0, -10)], INK, 6)
    s.circle(120, 130, 86, RED)
    s.circle(120, 130, 66, WHITE)
    for i in range(12):
        with s.at(120, 130, i * 30):
            s.line([(0, -58), (0, -48 if i % 3 else -44)], INK, 5 if i % 3 == 0 else 3)
    s.line([(120, 130), (120, 84)], INK, 7)
    s.line([(120, 130), (150, 148)], INK, 6)
    s.circle(120, 130, 7, INK, None)
    s.rect(112, 30, 16, 16, GOLD, r=3)


# ------------------------------------------------------------------ sport

@art("Soccer Ball", "emf")
def soccer_ball(s):
    cx, cy, r = 120, 120, 100

    def pentagon(x, y, size, turn):
        return [(x + size * math.cos(math.radians(turn + k * 72)), y + size * math.sin(math.radians(turn + k * 72)))
                for k in range(5)]
    s.circle(cx, cy, r, WHITE, width=5)
    # A black pentagon in the middle, five more towards the rim in the directions of
    # its corners, white hexagons between them.
    middle = pentagon(cx, cy, 34, -90)
    rims = []
    for k in range(5):
        a = -90 + k * 72
        rims.append((a, pentagon(cx + 78 * math.cos(math.radians(a)), cy + 78 * math.sin(math.radians(a)),
                                 22, a + 180)))
    for k, (a, rim) in enumerate(rims):
        s.line([middle[k], rim[0]], INK, 4)
        edge = (cx + r * math.cos(math.radians(a + 36)), cy + r * math.sin(math.radians(a + 36)))
        s.line([rim[4], edge, rims[(k + 1) % 5][1][1]], INK, 4)
    for _, rim in rims:
        s.poly(rim, INK, None)
    s.poly(middle, INK, None)
    s.circle(cx, cy, r, None, width=5)


@art("Basketball", "wmf")
def basketball(s):
    s.circle(120, 120, 100, PUMPKIN, width=5)
    s.line([(120, 20), (120, 220)], INK, 5)
    s.line([(20, 120), (220, 120)], INK, 5)
    s.path("M50 48 C 88 82 88 158 50 192", None, width=5)
    s.path("M190 48 C 152 82 152 158 190 192", None, width=5)
    with s.at(78, 70, -40):
        s.ellipse(0, 0, 8, 18, "#f7b267", None)


@art("Baseball", "svg")
def baseball(s):
    s.circle(120, 120, 100, WHITE, width=5)
    s.path("M64 38 C 96 80 96 160 64 202", None, RED, 4)
    s.path("M176 38 C 144 80 144 160 176 202", None, RED, 4)
    for t in [i / 9 for i in range(1, 9)]:
        for side in (1, -1):
            u = 1 - t
            x = u ** 3 * 64 + 3 * u * u * t * 96 + 3 * u * t * t * 96 + t ** 3 * 64
            y = u ** 3 * 38 + 3 * u * u * t * 80 + 3 * u * t * t * 160 + t ** 3 * 202
            if side < 0:
                x = 240 - x
            s.line([(x - 9 * side, y - 4), (x + 9 * side, y + 4)], RED, 3)


@art("Tennis", "emf")
def tennis(s):
    with s.at(104, 100, 35):
        s.rect(-9, 70, 18, 60, BROWN, r=4)
        s.rect(-11, 100, 22, 34, INK, None, r=5)
        s.poly([(-9, 74), (0, 46), (9, 74)], GREY, width=3)
        s.ellipse(0, -10, 52, 64, CREAM, None)
        for x in range(-40, 41, 10):
            h = 64 * math.sqrt(max(0.0, 1 - (x / 52) ** 2))
            s.line([(x, -10 - h), (x, -10 + h)], GREY, 2)
        for y in range(-60, 41, 10):
            w = 52 * math.sqrt(max(0.0, 1 - (y / 64) ** 2))
            s.line([(-w, y - 10), (w, y - 10)], GREY, 2)
        s.ellipse(0, -10, 52, 64, None, RED, 10)
    s.circle(186, 190, 30, "#d4e157")
    s.path("M160 174 C 176 186 176 206 166 214", None, WHITE, 4)
    s.path("M210 168 C 196 178 196 200 210 212", None, WHITE, 4)


@art("Trophy", "wmf")
def trophy(s):
    s.path("M62 48 C 22 48 24 108 78 114", None, GOLD, 12)
    s.path("M178 48 C 218 48 216 108 162 114", None, GOLD, 12)
    s.path("M62 48 C 22 48 24 108 78 114", None, INK, 3)
    s.path("M178 48 C 218 48 216 108 162 114", None, INK, 3)
    s.path("M60 30 L 180 30 L 176 70 C 172 120 146 140 120 140 C 94 140 68 120 64 70 Z", GOLD, width=5)
    s.rect(108, 138, 24, 34, GOLD)
    s.rect(80, 170, 80, 16, GOLD, r=4)
    s.rect(62, 186, 116, 34, BROWN, r=4)
    s.rect(92, 196, 56, 14, GOLD, width=2)
    s.star(120, 80, 24, 10, 5, YELLOW, width=3)
    s.path("M78 44 C 80 80 90 104 104 118", None, YELLOW, 6)


@art("Medal", "svg")
def medal(s):
    s.poly([(70, 10), (112, 10), (140, 120), (98, 120)], BLUE)
    s.poly([(170, 10), (128, 10), (100, 120), (142, 120)], RED)
    s.circle(120, 160, 64, GOLD, width=5)
    s.circle(120, 160, 48, YELLOW, GOLD, 4)
    s.star(120, 162, 34, 14, 5, GOLD, width=3)


@art("Football", "png")
def football(s):
    with s.at(120, 120, -35):
        s.path("M-108 0 C -70 -64 70 -64 108 0 C 70 64 -70 64 -108 0 Z", BROWN, width=5)
        s.line([(-70, -30), (-62, 30)], WHITE, 6)
        s.line([(70, -30), (62, 30)], WHITE, 6)
        s.line([(-30, 0), (30, 0)], WHITE, 6)
        for x in range(-22, 23, 11):
            s.line([(x, -10), (x, 10)], WHITE, 5)
        s.path("M-108 0 C -70 -64 70 -64 108 0 C 70 64 -70 64 -108 0 Z", None, width=5)


# ------------------------------------------------------------------ output

RASTER = 300


def render_png(svg_bytes, pixels):
    result = subprocess.run(["rsvg-convert", "-w", str(pixels[0]), "-h", str(pixels[1]), "-f", "png"],
                            input=svg_bytes, capture_output=True, check=True)
    return result.stdout


def write(name, fmt, scene, folder):
    path = os.path.join(folder, "%s.%s" % (name, fmt))
    if fmt == "svg":
        data = to_svg(scene)
    elif fmt == "emf":
        data = to_emf(scene)
    elif fmt == "wmf":
        data = to_wmf(scene)
    else:
        from PIL import Image
        scale = RASTER / max(scene.width, scene.height)
        size = (round(scene.width * scale), round(scene.height * scale))
        png = render_png(to_svg(scene), size)
        if fmt == "png":
            data = png
        else:
            img = Image.open(io.BytesIO(png)).convert("RGBA")
            flat = Image.new("RGB", img.size, (255, 255, 255))
            flat.paste(img, mask=img.split()[3])
            out = io.BytesIO()
            if fmt == "gif":
                flat.convert("P", palette=Image.ADAPTIVE, colors=128).save(out, "GIF")
            elif fmt == "bmp":
                flat.save(out, "BMP")
            else:
                flat.save(out, "JPEG", quality=90, optimize=True)
            data = out.getvalue()
    with open(path, "wb") as f:
        f.write(data)
    return path


def contact_sheet(scenes, path):
    from PIL import Image, ImageDraw
    cell, cols = 160, 8
    rows = (len(scenes) + cols - 1) // cols
    sheet = Image.new("RGB", (cols * cell, rows * (cell + 16)), "white")
    draw = ImageDraw.Draw(sheet)
    for i, (name, scene) in enumerate(scenes):
        scale = (cell - 16) / max(scene.width, scene.height)
        png = render_png(to_svg(scene), (round(scene.width * scale), round(scene.height * scale)))
        img = Image.open(io.BytesIO(png)).convert("RGBA")
        x, y = (i % cols) * cell + 8, (i // cols) * (cell + 16) + 4
        sheet.paste(img, (x, y), img)
        draw.text((x, y + cell - 12), name, fill="black")
    sheet.save(path)


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    folder = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets", "ClipArt")
    os.makedirs(folder, exist_ok=True)
    scenes = []
    for name, fmt, size, draw in ART:
        scene = Scene(*size)
        draw(scene)
        scenes.append((name, scene))
        write(name, fmt, scene, folder)
    if "--sheet" in sys.argv:
        contact_sheet(scenes, sys.argv[sys.argv.index("--sheet") + 1])
    print("%d pictures written to %s" % (len(ART), os.path.normpath(folder)))


if __name__ == "__main__":
    main()
