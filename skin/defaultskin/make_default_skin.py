#!/usr/bin/env python3
"""Draws the program's default skin: skin.ini and its BMP pictures, from one
geometry table. Run it from anywhere; it writes next to itself.

Look: light, flat panels on the window's grey; buttons with a soft vertical
gradient, a light top edge and rounded corners; blue for hot and pressed states;
anti-aliased check marks, radio dots and arrows; a blue glossy progress strip;
a rounded frame with a blue caption; dark legible text.

Faces are resized by tiling their middle part, so art that is stretched one way
is uniform that way: vertical elements shade across, horizontal ones down."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# ---- pictures -------------------------------------------------------------------------

# The window's own grey: what shows around rounded corners.
BACK = (240, 240, 240)


def mix(a, b, t):
    """Colour a moved towards b by t (0..1)."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


class Picture:
    def __init__(self, w, h, fill=BACK):
        self.w, self.h = w, h
        self.px = [[fill for _ in range(w)] for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def blend(self, x, y, c, t):
        if 0 <= x < self.w and 0 <= y < self.h and t > 0:
            self.px[y][x] = mix(self.px[y][x], c, min(1.0, t))

    def gradient(self, x, y, w, h, top, bottom, across=False):
        """Top to bottom, or left to right when `across`."""
        for j in range(h):
            for i in range(w):
                t = (i / max(1, w - 1)) if across else (j / max(1, h - 1))
                self.put(x + i, y + j, mix(top, bottom, t))

    def fill(self, x, y, w, h, c):
        self.gradient(x, y, w, h, c, c)

    def frame(self, x, y, w, h, c, rounded=True, outside=BACK):
        """A one-pixel border; rounded corners fade into `outside`, or into what lies
        under them when that is None."""
        under = [self.px[cy][cx] if 0 <= cx < self.w and 0 <= cy < self.h else BACK
                 for cx, cy in ((x, y), (x + w - 1, y), (x, y + h - 1), (x + w - 1, y + h - 1))]
        for i in range(w):
            self.put(x + i, y, c)
            self.put(x + i, y + h - 1, c)
        for j in range(h):
            self.put(x, y + j, c)
            self.put(x + w - 1, y + j, c)
        if rounded and w > 4 and h > 4:
            # Corner pixels fade into the window; the pixels inside them soften the turn.
            for (cx, cy, dx, dy), below in zip(((x, y, 1, 1), (x + w - 1, y, -1, 1), (x, y + h - 1, 1, -1),
                                                 (x + w - 1, y + h - 1, -1, -1)), under):
                self.put(cx, cy, mix(c, outside or below, 0.75))
                self.blend(cx + dx, cy + dy, c, 0.45)

    def cover(self, x, y, w, h, inside, c, samples=4):
        """Paints c where inside(u, v) holds, u and v in pixels from (x, y), anti-aliased."""
        n = samples * samples
        for j in range(h):
            for i in range(w):
                hits = sum(inside(i + (a + 0.5) / samples, j + (b + 0.5) / samples)
                           for a in range(samples) for b in range(samples))
                self.blend(x + i, y + j, c, hits / n)

    def save(self, name):
        row = (self.w * 3 + 3) & ~3
        size = 54 + row * self.h
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(b"BM" + struct.pack("<IHHI", size, 0, 0, 54))
            f.write(struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, row * self.h, 2835, 2835, 0, 0))
            for y in range(self.h - 1, -1, -1):
                line = b"".join(bytes((b, g, r)) for (r, g, b) in self.px[y])
                f.write(line + b"\0" * (row - self.w * 3))


def near_polyline(points, width):
    """inside() for a stroke of the given width along the points."""
    def inside(u, v):
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            t = max(0.0, min(1.0, ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)))
            if math.hypot(u - ax - t * dx, v - ay - t * dy) <= width / 2:
                return True
        return False
    return inside


def in_triangle(a, b, c):
    def side(p, q, u, v):
        return (q[0] - p[0]) * (v - p[1]) - (q[1] - p[1]) * (u - p[0])

    def inside(u, v):
        s = (side(a, b, u, v), side(b, c, u, v), side(c, a, u, v))
        return all(k >= 0 for k in s) or all(k <= 0 for k in s)
    return inside


# Palette (r, g, b). Faces: top and bottom of the gradient, edge.
FACE_TOP, FACE_BOTTOM = (253, 253, 254), (226, 230, 237)
HOT_TOP, HOT_BOTTOM = (238, 246, 255), (200, 224, 251)
DOWN_TOP, DOWN_BOTTOM = (164, 196, 236), (198, 220, 247)
OFF_TOP, OFF_BOTTOM = (244, 244, 244), (234, 234, 234)
EDGE, HOT_EDGE, DOWN_EDGE, OFF_EDGE = (146, 156, 174), (72, 132, 214), (44, 96, 172), (198, 198, 198)
FIELD = (255, 255, 255)
PANEL, PANEL_EDGE = (247, 248, 250), (210, 215, 224)
TRACK = (233, 236, 241)
GAUGE = (249, 250, 252)
INK = (52, 62, 82)                 # glyphs: arrows, marks
MARK, OFF_MARK = (34, 96, 180), (170, 170, 170)
STRIP_TOP, STRIP_MID, STRIP_BOTTOM = (150, 200, 250), (86, 156, 232), (60, 128, 214)
TEXT = 0x202020          # $BBGGRR
HOT_TEXT = 0x7A3C10
OFF_TEXT = 0x9A9A9A

# Geometry table: every element of the control picture (active picture 0):
# name -> (x, y, w, h, painter).
STATES = {"n": (FACE_TOP, FACE_BOTTOM, EDGE), "a": (HOT_TOP, HOT_BOTTOM, HOT_EDGE),
          "d": (DOWN_TOP, DOWN_BOTTOM, DOWN_EDGE), "x": (OFF_TOP, OFF_BOTTOM, OFF_EDGE)}
ELEMENTS = {}


def element(name, x, y, w, h, painter):
    ELEMENTS[name] = (x, y, w, h, painter)


def face(state, across=False, fixed=0):
    """A raised face: gradient, a light inner top (or left) edge, rounded border.
    With `fixed`, the face grows by tiling its middle rows: the shading then stays in
    the `fixed` rows at the top and bottom and the middle is one colour."""
    top, bottom, edge = STATES[state]

    def paint(p, x, y, w, h):
        if fixed:
            middle = mix(top, bottom, 0.5)
            p.gradient(x, y, w, fixed, top, middle)
            p.fill(x, y + fixed, w, h - 2 * fixed, middle)
            p.gradient(x, y + h - fixed, w, fixed, middle, bottom)
        else:
            p.gradient(x, y, w, h, top, bottom, across)
        if state != "d":
            shine = mix(top, (255, 255, 255), 0.7)
            for i in range(1, w - 1 if not across else 2):
                for j in range(1, 2 if not across else h - 1):
                    p.put(x + i, y + j, shine)
        p.frame(x, y, w, h, edge)
    return paint


def field(edge):
    return lambda p, x, y, w, h: (p.fill(x, y, w, h, FIELD), p.frame(x, y, w, h, edge, False))


def panel(p, x, y, w, h):
    p.fill(x, y, w, h, PANEL)
    p.frame(x, y, w, h, PANEL_EDGE)


def groupbox(p, x, y, w, h):
    panel(p, x, y, w, h)
    # The caption band lies inside the face's fixed top (18 rows), so it never tiles.
    p.gradient(x + 1, y + 1, w - 2, 16, (236, 241, 249), (221, 229, 242))
    for i in range(1, w - 1):
        p.put(x + i, y + 17, PANEL_EDGE)


def small_box(state):
    """The 13 x 13 box of a check box: white, shaded at the bottom, rounded."""
    edge = STATES[state][2]
    top = (255, 255, 255) if state != "x" else (246, 246, 246)
    bottom = (232, 238, 247) if state == "a" else (238, 240, 244)
    return lambda p, x, y, w, h: (p.gradient(x, y, w, h, top, bottom), p.frame(x, y, w, h, edge))


def check(state, mark):
    def paint(p, x, y, w, h):
        small_box(state)(p, x, y, w, h)
        if mark:
            ink = OFF_MARK if state == "x" else MARK
            p.cover(x, y, w, h, near_polyline([(3.2, 6.6), (5.4, 9.0), (9.8, 3.8)], 1.9), ink)
    return paint


def radio(state, mark):
    edge = STATES[state][2]
    fill_top = (255, 255, 255) if state != "x" else (246, 246, 246)

    def paint(p, x, y, w, h):
        # Round, on the window's grey: the square corners stay background.
        cx, cy = w / 2, h / 2
        p.cover(x, y, w, h, lambda u, v: math.hypot(u - cx, v - cy) <= 6.4, edge)
        p.cover(x, y, w, h, lambda u, v: math.hypot(u - cx, v - cy) <= 5.4, fill_top)
        p.cover(x, y, w, h, lambda u, v: math.hypot(u - cx, v - cy) <= 5.4 and v > cy,
                (238, 242, 248) if state != "x" else (240, 240, 240))
        if mark:
            ink = OFF_MARK if state == "x" else MARK
            p.cover(x, y, w, h, lambda u, v: math.hypot(u - cx, v - cy) <= 2.9, ink)
    return paint


def arrow(state, direction, across=False):
    # A small solid triangle pointing `direction`, on a button face.
    shapes = {"up": ((-4, 2), (4, 2), (0, -2)), "down": ((-4, -2), (4, -2), (0, 2)),
              "left": ((2, -4), (2, 4), (-2, 0)), "right": ((-2, -4), (-2, 4), (2, 0))}

    def paint(p, x, y, w, h):
        face(state, across)(p, x, y, w, h)
        cx, cy = w / 2, h / 2
        a, b, c = ((cx + dx, cy + dy) for dx, dy in shapes[direction])
        p.cover(x, y, w, h, in_triangle(a, b, c), INK)
    return paint


def strip(across):
    """The progress strip: glossy blue, shaded down (or across for the upright gauge)."""
    def paint(p, x, y, w, h):
        n = w if across else h
        for k in range(n):
            t = k / max(1, n - 1)
            c = mix(STRIP_TOP, STRIP_MID, t / 0.45) if t < 0.45 else mix(STRIP_MID, STRIP_BOTTOM, (t - 0.45) / 0.55)
            if across:
                p.fill(x + k, y, 1, h, c)
            else:
                p.fill(x, y + k, w, 1, c)
    return paint


def grip(state, thumb, vertical):
    """Ridges for the middle of a thumb, on the thumb's own shading: the bar
    copies it opaque onto the centre of the thumb."""
    def paint(p, x, y, w, h):
        tw, th = ELEMENTS[thumb][2], ELEMENTS[thumb][3]
        whole = Picture(tw, th)
        face(state, vertical)(whole, 0, 0, tw, th)
        left, top = tw // 2 - w // 2, th // 2 - h // 2
        for j in range(h):
            for i in range(w):
                p.put(x + i, y + j, whole.px[top + j][left + i])
        dark, light = mix(STATES[state][2], (255, 255, 255), 0.2), (255, 255, 255)
        # Two ridges either side of the middle, which stays the thumb's own face.
        for k in (2, 5):
            for m in range(2, 7):
                if vertical:
                    p.put(x + m, y + k, dark)
                    p.put(x + m, y + k + 1, light)
                else:
                    p.put(x + k, y + m, dark)
                    p.put(x + k + 1, y + m, light)
    return paint


def flat(c, edge=None):
    return lambda p, x, y, w, h: (p.fill(x, y, w, h, c), edge and p.frame(x, y, w, h, edge, False))


for i, s in enumerate("nadx"):
    element("button_" + s, i * 64, 0, 64, 24, face(s, fixed=4))
for i, s in enumerate("nadx"):
    element("edit_" + s, i * 64, 24, 64, 22, field(STATES[s][2] if s != "n" else (171, 180, 196)))
# Button edits: the edit's field with its idle drop button drawn at the right end.
for i, s in enumerate("na"):
    element("buttonedit_" + s, i * 64, 227, 64, 22,
            lambda p, x, y, w, h, s=s: (field(STATES[s][2] if s != "n" else (171, 180, 196))(p, x, y, w, h),
                                        arrow("n", "down", True)(p, x + w - 19, y + 2, 17, 17)))
element("panel", 0, 46, 64, 48, panel)
element("groupbox", 64, 46, 64, 48, groupbox)
element("progress", 128, 46, 64, 14, strip(False))
element("vprogress", 192, 46, 14, 46, strip(True))
element("gauge", 128, 62, 64, 16, lambda p, x, y, w, h: (p.fill(x, y, w, h, GAUGE), p.frame(x, y, w, h, EDGE)))
element("vgauge", 208, 46, 16, 48, lambda p, x, y, w, h: (p.fill(x, y, w, h, GAUGE), p.frame(x, y, w, h, EDGE)))
element("statuspanel", 128, 78, 64, 16, lambda p, x, y, w, h: (p.fill(x, y, w, h, (236, 238, 242)), p.frame(x, y, w, h, (196, 202, 212), False), [p.put(x + i, y, (176, 182, 194)) for i in range(w)]))
for i, (s, mark) in enumerate((("n", True), ("n", False), ("a", True), ("a", False), ("x", True), ("x", False))):
    element("check_%d" % i, i * 14, 94, 13, 13, check(s, mark))
    element("radio_%d" % i, i * 14, 268, 13, 13, radio(s, mark))
for i, s in enumerate("nad"):
    element("hgrip_" + s, 84 + i * 9, 268, 9, 9, grip(s, "hthumb_" + s, False))
    element("vgrip_" + s, 111 + i * 9, 268, 9, 9, grip(s, "vthumb_" + s, True))
element("checkface", 84, 94, 100, 16, flat(BACK))
for i, s in enumerate("nad"):
    element("up_" + s, i * 17, 110, 17, 17, arrow(s, "up", True))
    element("down_" + s, 51 + i * 17, 110, 17, 17, arrow(s, "down", True))
    element("left_" + s, 102 + i * 17, 110, 17, 17, arrow(s, "left"))
    element("right_" + s, 153 + i * 17, 110, 17, 17, arrow(s, "right"))
    element("vthumb_" + s, i * 17, 127, 17, 40, face(s, True))
    element("hthumb_" + s, 51 + i * 40, 127, 40, 17, face(s))
element("vtrack", 171, 127, 17, 40, flat(TRACK))
# Up-down faces: both buttons drawn idle, so a control's buttons lie on its face.
element("hupdown", 144, 330, 34, 17,
        lambda p, x, y, w, h: (arrow("n", "left")(p, x, y, 17, 17), arrow("n", "right")(p, x + 17, y, 17, 17)))
# The combo face: a field 20 high with its idle drop button at the right end; the hot,
# pressed and disabled buttons are cells of the button's size. Its item strips are
# as high as the face's client area.
COMBO_BUTTON_W, COMBO_BUTTON_H = 17, 16
element("combo_n", 64, 302, 64, 20,
        lambda p, x, y, w, h: (field((171, 180, 196))(p, x, y, w, h),
                               arrow("n", "down", True)(p, x + w - COMBO_BUTTON_W - 2, y + 2, COMBO_BUTTON_W,
                                                        COMBO_BUTTON_H)))
for s_, (cx, cy) in zip("adx", ((224, 46), (224, 62), (224, 78))):
    element("combobutton_" + s_, cx, cy, COMBO_BUTTON_W, COMBO_BUTTON_H, arrow(s_, "down", True))
element("comboitem_n", 184, 94, 64, 16, flat(FIELD))
element("comboitem_f", 8, 184, 64, 16,
        lambda p, x, y, w, h: (p.gradient(x, y, w, h, (212, 228, 250), (186, 210, 244)), p.frame(x, y, w, h, HOT_EDGE)))
element("vupdown", 178, 320, 17, 34,
        lambda p, x, y, w, h: (arrow("n", "up", True)(p, x, y, 17, 17), arrow("n", "down", True)(p, x, y + 17, 17, 17)))
CAPTION_LIST_BAND = 21


def caption_list(p, x, y, w, h):
    """A list frame under a caption band, with the up and down buttons on the band."""
    field((171, 180, 196))(p, x, y, w, h)
    face("n", fixed=4)(p, x, y, w, CAPTION_LIST_BAND)
    arrow("n", "up", True)(p, x + w - 19, y + 2, 17, 17)
    arrow("n", "down", True)(p, x + w - 36, y + 2, 17, 17)


element("captionlist", 140, 227, 64, 44, caption_list)
element("htrack", 51, 144, 120, 17, flat(TRACK))
element("hscrollbar", 0, 167, 120, 17, lambda p, x, y, w, h: (flat(TRACK)(p, x, y, w, h), arrow("n", "left")(p, x, y, 17, 17), arrow("n", "right")(p, x + w - 17, y, 17, 17)))
element("vscrollbar", 188, 127, 17, 60, lambda p, x, y, w, h: (flat(TRACK)(p, x, y, w, h), arrow("n", "up", True)(p, x, y, 17, 17), arrow("n", "down", True)(p, x, y + h - 17, 17, 17)))
element("item_n", 120, 167, 64, 18, flat(FIELD))
element("item_a", 120, 185, 64, 18, lambda p, x, y, w, h: (p.gradient(x, y, w, h, (232, 241, 252), (214, 230, 250)), p.frame(x, y, w, h, (150, 186, 232))))
element("item_f", 184, 187, 64, 18, lambda p, x, y, w, h: (p.gradient(x, y, w, h, (212, 228, 250), (186, 210, 244)), p.frame(x, y, w, h, HOT_EDGE)))
element("splitter", 0, 184, 8, 8, flat((226, 229, 235)))
element("toolbutton_n", 0, 203, 24, 24, flat(PANEL))
for i, s in enumerate("ad"):
    element("toolbutton_" + s, 24 + i * 24, 203, 24, 24, face(s, fixed=3))
# A disabled tool button lies flat on its bar, like a resting one.
element("toolbutton_x", 72, 203, 24, 24, flat(PANEL))
element("menuitem_n", 96, 203, 80, 20, flat((252, 252, 254)))
element("menuitem_a", 176, 207, 80, 20, lambda p, x, y, w, h: (p.gradient(x, y, w, h, (226, 238, 253), (204, 224, 250)), p.frame(x, y, w, h, HOT_EDGE)))
element("divider", 96, 223, 80, 4, lambda p, x, y, w, h: (p.fill(x, y, w, h, (252, 252, 254)), [p.put(x + i, y + 1, (210, 215, 224)) for i in range(2, w - 2)]))


# The expandable panel: its face with a caption band, the two rolled faces (band
# across the top, band down the left) and 14 x 14 caption buttons in three states.
EXPANEL_BAND = 20


def expanel_face(p, x, y, w, h):
    panel(p, x, y, w, h)
    face("n")(p, x, y, w, EXPANEL_BAND)


def expanel_rolled(across):
    return lambda p, x, y, w, h: face("n", across)(p, x, y, w, h)


def close_cross(state):
    def paint(p, x, y, w, h):
        face(state)(p, x, y, w, h)
        p.cover(x, y, w, h, near_polyline([(4, 4), (w - 4, h - 4)], 1.6), INK)
        p.cover(x, y, w, h, near_polyline([(w - 4, 4), (4, h - 4)], 1.6), INK)
    return paint


element("expanel", 0, 282, 64, 48, expanel_face)
element("expanel_rollv", 64, 282, 64, EXPANEL_BAND, expanel_rolled(False))
element("expanel_rollh", 128, 282, EXPANEL_BAND, 48, expanel_rolled(True))
EXPANEL_BUTTONS = [("close", None), ("vroll", "up"), ("vrestore", "down"), ("hroll", "left"), ("hrestore", "right")]
for k, (kind, direction) in enumerate(EXPANEL_BUTTONS):
    for i, st in enumerate("nad"):
        cell = k * 3 + i
        element("ex%s_%s" % (kind, st), 148 + (cell % 7) * 14, 282 + (cell // 7) * 14, 14, 14,
                close_cross(st) if direction is None else arrow(st, direction))


# The menu tool button: the tool button's faces with a drop-down arrow in a
# fixed right part of 12 pixels, the part that opens the menu.
def menu_tool_face(state):
    def paint(p, x, y, w, h):
        (flat(PANEL) if state in "nx" else face(state, fixed=3))(p, x, y, w, h)
        cx, cy = w - 6, h / 2
        p.cover(x, y, w, h, in_triangle((cx - 3, cy - 1.5), (cx + 3, cy - 1.5), (cx, cy + 1.5)),
                OFF_MARK if state == "x" else INK)
    return paint


for i, st in enumerate("nadx"):
    element("toolmenubutton_" + st, i * 36, 330, 36, 24, menu_tool_face(st))

# The main menu bar: a flat band whose resting items blend into it, hot and pressed
# items in the button colours; the maximized MDI child's four buttons, small faces
# with their glyphs in three states.
MENUBAR = (246, 247, 250)
element("menubar", 0, 354, 64, 24, lambda p, x, y, w, h: (p.fill(x, y, w, h, MENUBAR), [p.put(x + i, y + h - 1, PANEL_EDGE) for i in range(w)]))
element("menubaritem_n", 64, 354, 40, 20, flat(MENUBAR))
element("menubaritem_a", 104, 354, 40, 20, face("a", fixed=3))
element("menubaritem_d", 144, 354, 40, 20, face("d", fixed=3))
MDI_KINDS = ["close", "restore", "min", "sysmenu"]
# The object names of the menu bar's buttons for a maximized MDI child.
MENUBAR_BUTTON = "menubar%sbutton"


def mdi_button(kind, state):
    def paint(p, x, y, w, h):
        face(state)(p, x, y, w, h)
        cx, cy = x + w // 2, y + h // 2
        if kind == "close":
            for k in range(-3, 4):
                p.put(cx + k, cy + k, INK)
                p.put(cx + k, cy - k, INK)
        elif kind == "restore":
            for k in range(-3, 3):
                for e in (-3, 2):
                    p.put(cx + k, cy + e, INK)
                    p.put(cx + e, cy + k, INK)
        elif kind == "min":
            for k in range(-3, 4):
                p.put(cx + k, cy + 3, INK)
                p.put(cx + k, cy + 2, INK)
        else:
            for k in range(-2, 3):
                for e in range(-2, 3):
                    p.put(cx + k, cy + e, MARK)
    return paint


for i, kind in enumerate(MDI_KINDS):
    for j, st in enumerate("nad"):
        element("mdi%s_%s" % (kind, st), (i * 3 + j) * 16, 400, 16, 16, mdi_button(kind, st))
# The MDI tabs: resting, under the mouse, and the active child's tab, which is light
# and open at the bottom; the strip behind them tiles.
TAB_BACK = (226, 230, 237)
element("tab_n", 0, 378, 64, 22, face("n", fixed=3))
element("tab_m", 64, 378, 64, 22, face("a", fixed=3))
element("tab_a", 128, 378, 64, 22, lambda p, x, y, w, h: (p.fill(x, y, w, h, (255, 255, 255)), p.frame(x, y, w, h, HOT_EDGE), [p.put(x + i, y + h - 1, (255, 255, 255)) for i in range(1, w - 1)], [p.put(x + i, y + 1, HOT_EDGE) for i in range(1, w - 1)]))
element("tabsbg", 192, 378, 8, 22, lambda p, x, y, w, h: (p.fill(x, y, w, h, TAB_BACK), [p.put(x + i, y + h - 1, EDGE) for i in range(w)]))


# Track bars: a sunken groove across a resting face, and a pointer thumb resting and
# hot; the horizontal bar's thumb points down, the upright one's right.
def groove(vertical):
    def paint(p, x, y, w, h):
        p.fill(x, y, w, h, BACK)
        if vertical:
            p.fill(x + w // 2 - 2, y + 3, 4, h - 6, TRACK)
            p.frame(x + w // 2 - 2, y + 3, 4, h - 6, EDGE, False)
        else:
            p.fill(x + 3, y + h // 2 - 2, w - 6, 4, TRACK)
            p.frame(x + 3, y + h // 2 - 2, w - 6, 4, EDGE, False)
    return paint


def pointer_thumb(state, vertical):
    top, bottom, edge = STATES[state]

    def paint(p, x, y, w, h):
        p.fill(x, y, w, h, BACK)
        if vertical:
            tip = w - 5
            shape = [(0.5, 0.5), (tip, 0.5), (w - 0.5, h / 2), (tip, h - 0.5), (0.5, h - 0.5)]
        else:
            tip = h - 5
            shape = [(0.5, 0.5), (w - 0.5, 0.5), (w - 0.5, tip), (w / 2, h - 0.5), (0.5, tip)]
        body = Picture(w, h)
        body.gradient(0, 0, w, h, top, bottom, vertical)

        def inside(u, v):
            crossings = False
            for (ax, ay), (bx, by) in zip(shape, shape[1:] + shape[:1]):
                if (ay > v) != (by > v) and u < ax + (v - ay) * (bx - ax) / (by - ay):
                    crossings = not crossings
            return crossings
        for j in range(h):
            for i in range(w):
                if inside(i + 0.5, j + 0.5):
                    p.put(x + i, y + j, body.px[j][i])
        p.cover(x, y, w, h, near_polyline(shape + shape[:1], 1.0), edge)
    return paint


element("htrackbar", 0, 416, 64, 22, groove(False))
element("htrackthumb_n", 64, 416, 11, 20, pointer_thumb("n", False))
element("htrackthumb_a", 75, 416, 11, 20, pointer_thumb("a", False))
element("vtrackbar", 86, 416, 22, 64, groove(True))
element("vtrackthumb_n", 108, 416, 20, 11, pointer_thumb("n", True))
element("vtrackthumb_a", 108, 427, 20, 11, pointer_thumb("a", True))
# The slider: a thin ruler and a small raised thumb each way.
element("hruler", 128, 416, 64, 8, lambda p, x, y, w, h: (p.fill(x, y, w, h, TRACK), p.frame(x, y, w, h, EDGE)))
element("hsliderthumb", 192, 416, 10, 16, face("n"))
element("vruler", 202, 416, 8, 64, lambda p, x, y, w, h: (p.fill(x, y, w, h, TRACK), p.frame(x, y, w, h, EDGE)))
element("vsliderthumb", 210, 416, 16, 10, face("n", True))
# A control bar's band: a resting face with a grip of dots at its left end.
element("controlband", 0, 438, 64, 24,
        lambda p, x, y, w, h: (face("n", fixed=3)(p, x, y, w, h),
                               [(p.put(x + 3 + k, y + 5 + 3 * j, EDGE), p.put(x + 4 + k, y + 6 + 3 * j, (255, 255, 255)))
                                for j in range(5) for k in (0, 3)]))
# The spin edit: the edit's field with two half-height arrow buttons at the right end;
# the hot and pressed buttons are cells of their size.
SPIN_W, SPIN_H = 15, 9


def spin_button(state, direction):
    def paint(p, x, y, w, h):
        face(state)(p, x, y, w, h)
        cx, cy = w / 2, h / 2
        d = -1 if direction == "up" else 1
        p.cover(x, y, w, h, in_triangle((cx - 3, cy - 1.5 * d), (cx + 3, cy - 1.5 * d), (cx, cy + 1.5 * d)), INK)
    return paint


element("spinedit_n", 128, 440, 64, 22,
        lambda p, x, y, w, h: (field((171, 180, 196))(p, x, y, w, h),
                               spin_button("n", "up")(p, x + w - SPIN_W - 2, y + 2, SPIN_W, SPIN_H),
                               spin_button("n", "down")(p, x + w - SPIN_W - 2, y + 2 + SPIN_H, SPIN_W, SPIN_H)))
for i, (st, direction) in enumerate((("a", "up"), ("d", "up"), ("a", "down"), ("d", "down"))):
    element("spin%s_%s" % (direction, st), i * SPIN_W, 462, SPIN_W, SPIN_H, spin_button(st, direction))
CONTROLS_W, CONTROLS_H = 256, 480

# The frame picture (main picture) and its mask: a blue caption over a light body.
# The caption buttons are not part of it: the frame places them from their own
# strip along the caption rectangle, so a form shows only the buttons it has.
FRAME_W, FRAME_H, CAPTION_H, BORDER = 200, 100, 28, 4
BUTTON_W, BUTTON_H = 22, 20
# The caption band's corner areas; the title strip between them tiles.
TOP_LEFT_X, TOP_RIGHT_X = 30, FRAME_W - 30
# Buttons run along this rectangle, the system-menu button at its left end.
CAPTION_RECT = (BORDER + 2, 4, FRAME_W - BORDER - 2, 4 + BUTTON_H)
# The caption object reaches from inside the left corner area into the right one,
# so it stretches with the window; its text rectangle is relative to it.
CAPTION_SKINRECT = (BORDER + 2, 2, FRAME_W - BORDER - 2, CAPTION_H - 2)


def draw_frame():
    p = Picture(FRAME_W, FRAME_H)
    p.gradient(0, 0, FRAME_W, CAPTION_H, (86, 138, 214), (46, 94, 172))
    p.gradient(0, CAPTION_H, FRAME_W, FRAME_H - CAPTION_H, (226, 232, 242), (214, 222, 236))
    p.gradient(BORDER, CAPTION_H, FRAME_W - 2 * BORDER, FRAME_H - CAPTION_H - BORDER, (240, 240, 240), (240, 240, 240))
    p.frame(0, 0, FRAME_W, FRAME_H, (36, 70, 130), False)
    mask = Picture(FRAME_W, FRAME_H, (0, 0, 0))
    # Rounded corners: the outermost pixels are cut from the window's shape.
    for cx, cy, dx, dy in ((0, 0, 1, 1), (FRAME_W - 1, 0, -1, 1), (0, FRAME_H - 1, 1, -1),
                           (FRAME_W - 1, FRAME_H - 1, -1, -1)):
        for i, j in ((0, 0), (1, 0), (2, 0), (0, 1), (0, 2)):
            mask.put(cx + i * dx, cy + j * dy, (255, 255, 255))
            p.put(cx + i * dx, cy + j * dy, (255, 255, 255))
    return p, mask


# The popup menu's and the hint's windows are whole pictures of their own (active
# pictures 2 and 3): their corner points and items or client rectangle lie in them.
POPUP_W, POPUP_H, POPUP_EDGE = 60, 40, 3
HINT_W, HINT_H, HINT_EDGE = 60, 30, 3


def draw_popup():
    p = Picture(POPUP_W, POPUP_H, (252, 252, 254))
    p.gradient(0, 0, POPUP_W, POPUP_H, (236, 242, 251), (222, 231, 245))
    p.frame(0, 0, POPUP_W, POPUP_H, EDGE, False)
    p.frame(1, 1, POPUP_W - 2, POPUP_H - 2, (255, 255, 255), False)
    p.fill(POPUP_EDGE, POPUP_EDGE, POPUP_W - 2 * POPUP_EDGE, POPUP_H - 2 * POPUP_EDGE, (252, 252, 254))
    return p


def draw_hint():
    p = Picture(HINT_W, HINT_H)
    p.gradient(0, 0, HINT_W, HINT_H, (255, 255, 242), (246, 242, 214))
    p.frame(0, 0, HINT_W, HINT_H, (150, 146, 112), False)
    p.frame(1, 1, HINT_W - 2, HINT_H - 2, (255, 255, 250), False)
    return p


def draw_caption_buttons():
    # Rows: normal, active, down, inactive; columns: close, max, restore, min, rollup, sysmenu, rolldown.
    kinds = ["close", "max", "restore", "min", "rollup", "sysmenu", "rolldown"]
    p = Picture(BUTTON_W * len(kinds), BUTTON_H * 4)
    glyph = (255, 255, 255)
    for row, (top, bottom) in enumerate((((86, 138, 214), (46, 94, 172)), ((120, 170, 240), (70, 120, 200)),
                                         ((40, 80, 150), (60, 104, 180)), ((150, 160, 180), (130, 140, 160)))):
        for col, kind in enumerate(kinds):
            x, y = col * BUTTON_W, row * BUTTON_H
            p.gradient(x, y, BUTTON_W, BUTTON_H, top, bottom)
            p.frame(x + 1, y + 1, BUTTON_W - 2, BUTTON_H - 2, (210, 225, 250), outside=None)
            cx, cy = x + BUTTON_W // 2, y + BUTTON_H // 2
            if kind == "close":
                for k in range(-4, 5):
                    p.put(cx + k, cy + k, glyph)
                    p.put(cx + k, cy - k, glyph)
            elif kind in ("max", "restore"):
                s = 4 if kind == "max" else 3
                for k in range(-s, s + 1):
                    for e in (-s, s):
                        p.put(cx + k, cy + e, glyph)
                        p.put(cx + e, cy + k, glyph)
                    p.put(cx + k, cy - s + 1, glyph)
            elif kind == "min":
                for k in range(-4, 5):
                    p.put(cx + k, cy + 3, glyph)
            elif kind in ("rollup", "rolldown"):
                up = kind == "rollup"
                for i in range(4):
                    for k in range(-3 + i, 4 - i):
                        p.put(cx + k, cy + 1 - i if up else cy - 2 + i, glyph)
            else:
                for k in range(-3, 4):
                    for e in range(-3, 4):
                        p.put(cx + k, cy + e, glyph)
    return p, kinds


def button_cell(kinds, kind, row):
    x, y = kinds.index(kind) * BUTTON_W, row * BUTTON_H
    return rect(x, y, BUTTON_W, BUTTON_H)


# ---- skin.ini -------------------------------------------------------------------------


def rect(x, y, w, h):
    return "%d,%d,%d,%d" % (x, y, x + w, y + h)


def el(name):
    x, y, w, h, _ = ELEMENTS[name]
    return rect(x, y, w, h)


def corners(name, l, t, r, b):
    """Corner points and client rectangle of an element, relative to its rectangle."""
    _, _, w, h, _ = ELEMENTS[name]
    return {"lefttoppoint": "%d,%d" % (l, t), "righttoppoint": "%d,%d" % (w - r, t),
            "leftbottompoint": "%d,%d" % (l, h - b), "rightbottompoint": "%d,%d" % (w - r, h - b),
            "clientrect": "%d,%d,%d,%d" % (l, t, w - r, h - b)}


FONT = {"fontname": "Tahoma", "fontheight": "13", "fontstyle": "", "fontcolor": str(TEXT)}


def font(prefix="", color=TEXT, style=""):
    return {prefix + "fontname": "Tahoma", prefix + "fontheight": "13", prefix + "fontstyle": style,
            prefix + "fontcolor": str(color)}


CONTROL = ["pictureindex", "maskpictureindex", "skinrect"]
CUSTOM = CONTROL + ["lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint", "clientrect"]
FONTKEYS = ["fontname", "fontheight", "fontstyle", "fontcolor"]
KEYS = {
    "button": CUSTOM + FONTKEYS + ["activefontcolor", "downfontcolor", "disabledfontcolor", "activeskinrect",
                                   "downskinrect", "disabledskinrect", "morphing", "morphkind"],
    "checkradio": CUSTOM + FONTKEYS + ["framefontcolor", "activefontcolor", "unenabledfontcolor", "activeskinrect",
                                       "checkimagearea", "textarea", "checkimagerect", "uncheckimagerect",
                                       "activecheckimagerect", "activeuncheckimagerect", "unenabledcheckimagerect",
                                       "unenableduncheckimagerect", "morphing", "morphkind"],
    "panel": CUSTOM + ["bgpictureindex", "captionrect", "alignment"] + FONTKEYS + ["checkimagerect", "uncheckimagerect"],
    "label": CUSTOM + FONTKEYS,
    "stdlabel": CONTROL + FONTKEYS + ["activefontcolor"],
    "gauge": CUSTOM + ["progressarea", "progressrect", "beginoffset", "endoffset", "vertical"] + FONTKEYS,
    "scrollbar": CUSTOM + ["trackarea", "upbuttonrect", "activeupbuttonrect", "downupbuttonrect", "downbuttonrect",
                           "activedownbuttonrect", "downdownbuttonrect", "thumbrect", "activethumbrect",
                           "downthumbrect", "thumboffset1", "thumboffset2", "glyphrect", "activeglyphrect",
                           "downglyphrect"],
    "splitter": CUSTOM,
    "scrollbox": CUSTOM + ["bgpictureindex"],
    "bevel": CONTROL + ["lightcolor", "darkcolor"],
    "listbox": CUSTOM + ["itemrect", "activeitemrect", "focusitemrect", "itemleftoffset", "itemrightoffset",
                         "itemtextrect"] + FONTKEYS + ["activefontcolor", "focusfontcolor", "captionrect"] +
               ["caption" + k for k in FONTKEYS] +
               ["upbuttonrect", "activeupbuttonrect", "downupbuttonrect", "downbuttonrect", "activedownbuttonrect",
                "downdownbuttonrect", "checkbuttonrect", "activecheckbuttonrect", "downcheckbuttonrect",
                "vscrollbarname", "hscrollbarname", "bothhscrollbarname"],
    "combobox": CUSTOM + ["itemrect", "focusitemrect", "itemleftoffset", "itemrightoffset", "itemtextrect"] +
                FONTKEYS + ["focusfontcolor", "buttonrect", "activebuttonrect", "downbuttonrect",
                            "unenabledbuttonrect", "listboxname"],
    "edit": CUSTOM + ["activeskinrect"] + FONTKEYS + ["disabledfontcolor", "activefontcolor", "buttonrect",
                                                      "activebuttonrect", "downbuttonrect", "unenabledbuttonrect"],
    "updown": CUSTOM + ["upbuttonrect", "activeupbuttonrect", "downupbuttonrect", "downbuttonrect",
                        "activedownbuttonrect", "downdownbuttonrect"],
    "treeview": CONTROL + FONTKEYS + ["bgcolor"],
    "listview": CONTROL + FONTKEYS + ["bgcolor"],
    "expanel": CUSTOM + ["rollhskinrect", "rollvskinrect", "rollleftoffset", "rollrightoffset", "rolltopoffset",
                         "rollbottomoffset", "rollvcaptionrect", "rollhcaptionrect"] +
               [b + s for b in ("closebutton", "hrollbutton", "hrestorebutton", "vrollbutton", "vrestorebutton")
                for s in ("rect", "activerect", "downrect")] + ["captionrect"] + FONTKEYS,
}
KEYS["menubutton"] = KEYS["button"] + ["trackbuttonrect"]
KEYS["trackbar"] = CUSTOM + ["trackarea", "buttonrect", "activebuttonrect", "vertical"]
KEYS["controlbar"] = CUSTOM + ["itemrect", "bgpictureindex"]
KEYS["slider"] = CONTROL + ["bgcolor", "hrulerrect", "hthumbrect", "vrulerrect", "vthumbrect", "edgesize",
                            "pointscolor"]
KEYS["spinedit"] = CUSTOM + ["activeskinrect"] + FONTKEYS + ["activefontcolor", "disabledfontcolor", "upbuttonrect",
                                                             "activeupbuttonrect", "downupbuttonrect",
                                                             "downbuttonrect", "activedownbuttonrect",
                                                             "downdownbuttonrect"]
KEYS["grid"] = CONTROL + ["fixedcellrect", "selectcellrect", "focuscellrect", "fixedcellleftoffset",
                          "fixedcellrightoffset", "fixedcelltextrect", "cellleftoffset", "cellrightoffset",
                          "celltextrect", "linescolor", "bgcolor"] + FONTKEYS + \
    ["selectfontcolor", "focusfontcolor"] + ["fixed" + k for k in FONTKEYS]
KEYS["richedit"] = CONTROL + FONTKEYS + ["bgcolor"]
KEYS["checklistbox"] = KEYS["listbox"] + ["itemcheckrect", "uncheckimagerect", "checkimagerect"]
KEYS["memo"] = KEYS["edit"] + ["bgcolor", "activebgcolor"]
# The stored objects leave out "inactiveskinrect": it reads as empty.
OBJECT = ["hint", "activepictureindex", "skinrectinapicture", "skinrect", "activeskinrect", "morphing", "morphkind"]
KEYS["caption"] = OBJECT + ["textrect"] + FONTKEYS + ["activefontcolor", "alignment", "shadow", "shadowcolor",
                                                        "activeshadowcolor", "framerect", "activeframerect",
                                                        "frametextrect", "frameleftoffset", "framerightoffset"]
KEYS["stdbutton"] = OBJECT + ["downrect", "disableskinrsect", "command", "restorerect", "restoreactiverect",
                              "restoredownrect", "restoreinactiverect"]
KEYS["mainmenubaritem"] = OBJECT + ["itemleftoffset", "itemrightoffset", "downrect", "textrect"] + FONTKEYS + \
    ["activefontcolor", "downfontcolor", "unenabledfontColor"]
KEYS["mainmenubarbutton"] = KEYS["stdbutton"]
KEYS["mainmenubar"] = CONTROL + ["itemsrect", "menubaritem", "closebutton", "minbutton", "maxbutton", "sysmenubutton",
                                 "trackmarkcolor", "trackmarkactivecolor"]
KEYS["tab"] = CONTROL + ["tabrect", "activetabrect", "focustabrect", "mouseintabrect", "clientrect", "bgpictureindex",
                         "lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint", "tableftoffset",
                         "tabrightoffset", "tabsbgrect"] + FONTKEYS + ["activefontcolor", "focusfontcolor",
                                                                       "mouseinfontcolor", "updown"]
KEYS["menuitem"] = OBJECT + ["itemleftoffset", "itemrightoffset", "dividerrect", "dividerleftoffset",
                             "dividerrightoffset", "textrect"] + FONTKEYS + ["activefontcolor", "unenabledfontcolor"]


def default_value(key):
    if key.endswith("pictureindex"):
        return "-1"
    if key.endswith("point"):
        return "0,0"
    if key.endswith("rect") or key.endswith("area") or key == "disableskinrsect":
        return "0,0,0,0"
    if key.endswith("fontname"):
        return "Tahoma"
    if key.endswith("fontheight"):
        return "13"
    if key.endswith("fontstyle") or key.endswith("name") or key == "hint":
        return ""
    if key == "alignment":
        return "tacenter"
    if key == "morphkind":
        return "mkdefault"
    if key == "command":
        return "cmdefault"
    return "0"


def section(kind, values):
    missing = set(values) - set(KEYS[kind])
    assert not missing, (kind, missing)
    return [(k, values.get(k, default_value(k))) for k in KEYS[kind]]


def pic(name, **extra):
    v = {"pictureindex": "0", "skinrect": el(name)}
    v.update(extra)
    return v


def build_ini(kinds):
    frame_corners = {"lefttoppoint": "%d,%d" % (TOP_LEFT_X, CAPTION_H), "righttoppoint": "%d,%d" % (TOP_RIGHT_X, CAPTION_H),
                     "leftbottompoint": "%d,%d" % (BORDER + 2, FRAME_H - BORDER), "rightbottompoint": "%d,%d" % (FRAME_W - BORDER - 2, FRAME_H - BORDER)}
    client = "%d,%d,%d,%d" % (BORDER, CAPTION_H, FRAME_W - BORDER, FRAME_H - BORDER)
    lines = ["[VERSION]", "skinname=Korvalo", "skinauthor=Korvalo team", "authoremail=", "authorurl=",
             "skincomments=Default skin, drawn by make_default_skin.py",
             "[PICTURES]", "picture=frame.bmp", "inactivepicture=", "mask=mask.bmp",
             "activepicturescount=4", "0=controls.bmp", "1=captionbuttons.bmp", "2=popup.bmp", "3=hint.bmp",
             "[FORMINFO]"]
    forminfo = dict(frame_corners)
    forminfo.update({"clientrect": client, "bgpictureindex": "-1", "mdibgpictureindex": "-1", "leftstretch": "0",
                     "rightstretch": "0", "topstretch": "0", "bottomstretch": "0",
                     "maskrectarea": client, "hittestlefttoppoint": "0,0",
                     "hittestrighttoppoint": "0,0", "hittestleftbottompoint": "0,0", "hittestrightbottompoint": "0,0",
                     "buttonsrect": "0,0,0,0", "captionrect": "%d,%d,%d,%d" % CAPTION_RECT,
                     "buttonsoffset": "1", "buttonsinleft": "0", "mainmenupopupup": "0", "borderwidth": "%d" % BORDER,
                     "autorenderinginactiveimage": "1", "inactiveeffect": "iegrayscale"})
    lines += ["%s=%s" % kv for kv in forminfo.items()]

    objects = []
    sections = []

    def obj(name, kind, values):
        objects.append("%s:%s" % (name, kind))
        sections.append((name, section(kind, values)))

    obj("menuitem", "menuitem", {"activepictureindex": "0", "skinrectinapicture": "1", "skinrect": el("menuitem_n"),
                                 "activeskinrect": el("menuitem_a"), "itemleftoffset": "2", "itemrightoffset": "2",
                                 "dividerrect": el("divider"), "dividerleftoffset": "2", "dividerrightoffset": "2",
                                 "textrect": "4,2,76,18", **font(), "activefontcolor": str(HOT_TEXT),
                                 "unenabledfontcolor": str(OFF_TEXT)})
    cw = CAPTION_SKINRECT[2] - CAPTION_SKINRECT[0]
    obj("caption", "caption", {"skinrect": "%d,%d,%d,%d" % CAPTION_SKINRECT,
                                "textrect": "4,0,%d,%d" % (cw - 4, CAPTION_SKINRECT[3] - CAPTION_SKINRECT[1]),
                                "fontname": "Tahoma", "fontheight": "14", "fontstyle": "fsbold",
                                "fontcolor": str(0xFFFFFF), "activefontcolor": str(0xFFFFFF),
                                "alignment": "taleftjustify", "shadow": "1", "shadowcolor": str(0x803010),
                                "activeshadowcolor": str(0x803010)})
    buttons = [("closebutton", "close", "cmclose"), ("minimizebutton", "min", "cmminimize"),
               ("maximizebutton", "max", "cmmaximize"), ("rollupbutton", "rollup", "cmrollup"),
               ("sysmenubutton", "sysmenu", "cmsysmenu")]
    for name, kind, command in buttons:
        # Every face comes from the caption-button strip; the frame places the button.
        v = {"hint": "", "activepictureindex": "1", "skinrectinapicture": "1",
             "skinrect": button_cell(kinds, kind, 0), "activeskinrect": button_cell(kinds, kind, 1),
             "downrect": button_cell(kinds, kind, 2), "disableskinrsect": button_cell(kinds, kind, 3),
             "morphing": "1", "morphkind": "mkdefault", "command": command}
        # Maximized and rolled-up forms show the button that undoes it.
        undo = {"max": "restore", "rollup": "rolldown"}.get(kind)
        if undo:
            v.update({"restorerect": button_cell(kinds, undo, 0), "restoreactiverect": button_cell(kinds, undo, 1),
                      "restoredownrect": button_cell(kinds, undo, 2)})
        obj(name, "stdbutton", v)
    obj("mainmenubaritem", "mainmenubaritem", {"activepictureindex": "0", "skinrectinapicture": "1",
                                                 "skinrect": el("menubaritem_n"), "activeskinrect": el("menubaritem_a"),
                                                 "downrect": el("menubaritem_d"), "itemleftoffset": "3",
                                                 "itemrightoffset": "3", "textrect": "4,0,36,20", **font(),
                                                 "activefontcolor": str(HOT_TEXT), "downfontcolor": str(HOT_TEXT),
                                                 "unenabledfontColor": str(OFF_TEXT)})
    for name, kind, command in (("sysmenu", "sysmenu", "cmsysmenu"), ("close", "close", "cmclose"),
                                ("max", "restore", "cmmaximize"), ("min", "min", "cmminimize")):
        obj(MENUBAR_BUTTON % name, "mainmenubarbutton",
            {"activepictureindex": "0", "skinrectinapicture": "1", "skinrect": el("mdi%s_n" % kind),
             "activeskinrect": el("mdi%s_a" % kind), "downrect": el("mdi%s_d" % kind), "command": command})

    controls = []

    def ctl(name, kind, values):
        controls.append("%s:%s" % (name, kind))
        sections.append((name, section(kind, values)))

    def button_values(prefix, l, t, r, b):
        v = pic(prefix + "_n", **corners(prefix + "_n", l, t, r, b), **font(),
                activefontcolor=str(HOT_TEXT), downfontcolor=str(HOT_TEXT), disabledfontcolor=str(OFF_TEXT),
                activeskinrect=el(prefix + "_a"), downskinrect=el(prefix + "_d"), disabledskinrect=el(prefix + "_x"))
        return v

    ctl("button", "button", button_values("button", 4, 4, 4, 4))
    ctl("resizebutton", "button", button_values("button", 4, 4, 4, 4))
    ctl("toolbutton", "button", button_values("toolbutton", 3, 3, 3, 3))
    ctl("bigtoolbutton", "button", button_values("toolbutton", 3, 3, 3, 3))
    mb = button_values("toolmenubutton", 3, 3, 12, 3)
    # The arrow part in the button's own coordinates: the fixed right end.
    mb["trackbuttonrect"] = "24,0,36,24"
    for name in ("toolmenubutton", "toolmenutrackbutton", "bigtoolmenubutton", "bigtoolmenutrackbutton"):
        ctl(name, "menubutton", mb)
    for name, mark in (("checkbox", "check_"), ("radiobox", "radio_")):
        ctl(name, "checkradio", pic("checkface", **corners("checkface", 2, 2, 2, 2), **font(),
                                    framefontcolor=str(TEXT), activefontcolor=str(HOT_TEXT),
                                    unenabledfontcolor=str(OFF_TEXT), activeskinrect=el("checkface"),
                                    checkimagearea="1,1,15,15", textarea="18,0,100,16",
                                    checkimagerect=el(mark + "0"), uncheckimagerect=el(mark + "1"),
                                    activecheckimagerect=el(mark + "2"), activeuncheckimagerect=el(mark + "3"),
                                    unenabledcheckimagerect=el(mark + "4"), unenableduncheckimagerect=el(mark + "5")))
    for name, elname, caption in (("panel", "panel", "0,0,0,0"), ("toolpanel", "panel", "0,0,0,0"),
                                  ("bigtoolpanel", "panel", "0,0,0,0"), ("statusbar", "statuspanel", "0,0,0,0"),
                                  ("rolluppanel", "groupbox", "3,1,62,17"), ("groupbox", "groupbox", "3,1,62,17")):
        top = 18 if elname == "groupbox" else 3
        ctl(name, "panel", pic(elname, **corners(elname, 3, top, 3, 3), captionrect=caption,
                               alignment="taleftjustify", **font(style="fsbold" if caption != "0,0,0,0" else "")))
    ctl("label", "label", pic("statuspanel", **corners("statuspanel", 2, 2, 2, 2), **font()))
    ctl("statuspanel", "label", pic("statuspanel", **corners("statuspanel", 2, 2, 2, 2), **font()))
    ctl("stdlabel", "stdlabel", {**font(), "activefontcolor": str(HOT_TEXT)})
    ctl("gauge", "gauge", pic("gauge", **corners("gauge", 2, 2, 2, 2), progressarea="1,1,63,15",
                              progressrect=el("progress"), beginoffset="2", endoffset="2", **font()))
    ctl("statusgauge", "gauge", pic("gauge", **corners("gauge", 2, 2, 2, 2), progressarea="1,1,63,15",
                                    progressrect=el("progress"), beginoffset="2", endoffset="2", **font()))
    ctl("vgauge", "gauge", pic("vgauge", **corners("vgauge", 2, 2, 2, 2), progressarea="1,1,15,47",
                               progressrect=el("vprogress"), beginoffset="2", endoffset="2", vertical="1", **font()))
    # No control of the program reads the track bars, the slider, the control bar, the
    # spin edit, the grid or the rich edit; the skin carries them all the same.
    for name, bar, thumb, vertical in (("trackbar", "vtrackbar", "vtrackthumb", True),
                                       ("htrackbar", "htrackbar", "htrackthumb", False)):
        _, _, w, h, _ = ELEMENTS[bar]
        ctl(name, "trackbar", pic(bar, **(corners(bar, 2, 4, 2, 4) if vertical else corners(bar, 4, 2, 4, 2)),
                                  trackarea=("0,3,%d,%d" % (w, h - 3)) if vertical else ("3,0,%d,%d" % (w - 3, h)),
                                  buttonrect=el(thumb + "_n"), activebuttonrect=el(thumb + "_a"),
                                  vertical="1" if vertical else "0"))
    ctl("controlbar", "controlbar", pic("panel", **corners("panel", 3, 3, 3, 3), itemrect=el("controlband")))
    ctl("slider", "slider", {"pictureindex": "0", "bgcolor": str(0xF0F0F0), "hrulerrect": el("hruler"), "hthumbrect": el("hsliderthumb"),
                             "vrulerrect": el("vruler"), "vthumbrect": el("vsliderthumb"), "edgesize": "2",
                             "pointscolor": str(0x9C8C80)})
    # A bar's face carries its two arrow buttons; "up" is the increasing button (right
    # or bottom), "down" the decreasing one, both placed on the face.
    for name, bar, dec, inc, thumb in (("hscrollbar", "hscrollbar", "left", "right", "hthumb"),
                                       ("bothhscrollbar", "hscrollbar", "left", "right", "hthumb"),
                                       ("vscrollbar", "vscrollbar", "up", "down", "vthumb")):
        _, _, w, h, _ = ELEMENTS[bar]
        vertical = bar == "vscrollbar"
        grip = "vgrip" if vertical else "hgrip"
        ctl(name, "scrollbar", pic(bar, **(corners(bar, 2, 17, 2, 17) if vertical else corners(bar, 17, 2, 17, 2)),
                                   trackarea=("0,17,%d,%d" % (w, h - 17)) if vertical else ("17,0,%d,%d" % (w - 17, h)),
                                   upbuttonrect=("0,%d,%d,%d" % (h - 17, w, h)) if vertical else ("%d,0,%d,%d" % (w - 17, w, h)),
                                   activeupbuttonrect=el(inc + "_a"), downupbuttonrect=el(inc + "_d"),
                                   downbuttonrect="0,0,17,17",
                                   activedownbuttonrect=el(dec + "_a"), downdownbuttonrect=el(dec + "_d"),
                                   thumbrect=el(thumb + "_n"), activethumbrect=el(thumb + "_a"),
                                   downthumbrect=el(thumb + "_d"), thumboffset1="4", thumboffset2="4",
                                   glyphrect=el(grip + "_n"), activeglyphrect=el(grip + "_a"),
                                   downglyphrect=el(grip + "_d")))
    ctl("vsplitter", "splitter", pic("splitter", **corners("splitter", 2, 2, 2, 2)))
    ctl("hsplitter", "splitter", pic("splitter", **corners("splitter", 2, 2, 2, 2)))
    ctl("scrollbox", "scrollbox", pic("edit_n", **corners("edit_n", 2, 2, 2, 2)))
    ctl("bevel", "bevel", {"lightcolor": str(0xFFFFFF), "darkcolor": str(0xB0A498)})
    list_values = pic("edit_n", **corners("edit_n", 2, 2, 2, 2), itemrect=el("item_n"), activeitemrect=el("item_a"),
                      focusitemrect=el("item_f"), itemleftoffset="2", itemrightoffset="2", itemtextrect="4,1,60,17",
                      **font(), activefontcolor=str(TEXT), focusfontcolor=str(TEXT), **font("caption"),
                      vscrollbarname="vscrollbar", hscrollbarname="hscrollbar", bothhscrollbarname="bothhscrollbar")
    # The caption band with its up and down buttons drawn on the face, right of the
    # right-top point so they keep to the right end; the active and pressed buttons
    # are picture cells. The client rectangle reaches past the right-top point, so
    # the list runs to the frame whatever the width.
    cw, ch = ELEMENTS["captionlist"][2], ELEMENTS["captionlist"][3]
    caption_values = dict(list_values, **pic("captionlist"),
                          lefttoppoint="2,%d" % (CAPTION_LIST_BAND + 2),
                          righttoppoint="%d,%d" % (cw - 38, CAPTION_LIST_BAND + 2),
                          leftbottompoint="2,%d" % (ch - 2), rightbottompoint="%d,%d" % (cw - 38, ch - 2),
                          clientrect="2,%d,%d,%d" % (CAPTION_LIST_BAND + 2, cw - 2, ch - 2),
                          captionrect="4,1,%d,%d" % (cw - 38, CAPTION_LIST_BAND),
                          upbuttonrect=rect(cw - 19, 2, 17, 17), activeupbuttonrect=el("up_a"),
                          downupbuttonrect=el("up_d"), downbuttonrect=rect(cw - 36, 2, 17, 17),
                          activedownbuttonrect=el("down_a"), downdownbuttonrect=el("down_d"))
    ctl("listbox", "listbox", list_values)
    ctl("captionlistbox", "listbox", caption_values)
    # The item text starts right of the check.
    checks = dict(itemcheckrect="2,2,15,15", itemtextrect="17,1,60,17", uncheckimagerect=el("check_1"),
                  checkimagerect=el("check_0"))
    ctl("checklistbox", "checklistbox", dict(list_values, **checks))
    ctl("captionchecklistbox", "checklistbox", dict(caption_values, **checks))
    # The button place is in the face's coordinates, right of the right-top point, so it
    # keeps to the right end whatever the width.
    cw = ELEMENTS["combo_n"][2]
    combo = pic("combo_n", **corners("combo_n", 2, 2, COMBO_BUTTON_W + 4, 2), itemrect=el("comboitem_n"),
                focusitemrect=el("comboitem_f"), itemleftoffset="2", itemrightoffset="2",
                itemtextrect="4,0,%d,%d" % (cw - 4, COMBO_BUTTON_H), **font(), focusfontcolor=str(TEXT),
                buttonrect=rect(cw - COMBO_BUTTON_W - 2, 2, COMBO_BUTTON_W, COMBO_BUTTON_H),
                activebuttonrect=el("combobutton_a"), downbuttonrect=el("combobutton_d"),
                unenabledbuttonrect=el("combobutton_x"), listboxname="listbox")
    ctl("combobox", "combobox", combo)
    ctl("captioncombobox", "combobox", combo)
    edit = pic("edit_n", **corners("edit_n", 2, 2, 2, 2), activeskinrect=el("edit_a"), **font(),
               disabledfontcolor=str(OFF_TEXT), activefontcolor=str(TEXT), buttonrect=el("down_n"),
               activebuttonrect=el("down_a"), downbuttonrect=el("down_d"), unenabledbuttonrect=el("down_n"))
    ctl("edit", "edit", edit)
    # The button place is in the face's coordinates, right of the right-top point, so it follows the width.
    ctl("buttonedit", "edit", dict(edit, **pic("buttonedit_n", **corners("buttonedit_n", 2, 2, 21, 2)),
                                   activeskinrect=el("buttonedit_a"), buttonrect=rect(64 - 19, 2, 17, 17)))
    ctl("memo", "memo", dict(edit, bgcolor=str(0xFFFFFF), activebgcolor=str(0xFFFFFF)))
    sw = ELEMENTS["spinedit_n"][2]
    ctl("spinedit", "spinedit", pic("spinedit_n", **corners("spinedit_n", 2, 2, SPIN_W + 4, 2),
                                    activeskinrect=el("spinedit_n"), **font(), activefontcolor=str(TEXT),
                                    disabledfontcolor=str(OFF_TEXT),
                                    upbuttonrect=rect(sw - SPIN_W - 2, 2, SPIN_W, SPIN_H),
                                    activeupbuttonrect=el("spinup_a"), downupbuttonrect=el("spinup_d"),
                                    downbuttonrect=rect(sw - SPIN_W - 2, 2 + SPIN_H, SPIN_W, SPIN_H),
                                    activedownbuttonrect=el("spindown_a"), downdownbuttonrect=el("spindown_d")))
    # The button places are in the face's coordinates; the up button of a flat one is on the right.
    for name, up, down, up_at, down_at in (("vupdown", "up", "down", rect(0, 0, 17, 17), rect(0, 17, 17, 17)),
                                           ("hupdown", "right", "left", rect(17, 0, 17, 17), rect(0, 0, 17, 17))):
        ctl(name, "updown", pic(name, upbuttonrect=up_at, activeupbuttonrect=el(up + "_a"),
                                downupbuttonrect=el(up + "_d"), downbuttonrect=down_at,
                                activedownbuttonrect=el(down + "_a"), downdownbuttonrect=el(down + "_d")))
    ctl("treeview", "treeview", {**font(), "bgcolor": str(0xFFFFFF)})
    ctl("listview", "listview", {**font(), "bgcolor": str(0xFFFFFF)})
    ctl("richedit", "richedit", {**font(), "bgcolor": str(0xFFFFFF)})
    ctl("grid", "grid", {"pictureindex": "0", "fixedcellrect": el("tab_n"), "selectcellrect": el("item_f"), "focuscellrect": el("item_a"),
                         "fixedcellleftoffset": "3", "fixedcellrightoffset": "3", "fixedcelltextrect": "4,2,60,20",
                         "cellleftoffset": "2", "cellrightoffset": "2", "celltextrect": "4,1,60,17",
                         "linescolor": str(0xE0D7D2), "bgcolor": str(0xFFFFFF), **font(),
                         "selectfontcolor": str(TEXT), "focusfontcolor": str(TEXT), **font("fixed")})
    ex = pic("expanel", **corners("expanel", 3, EXPANEL_BAND + 1, 3, 3), rollhskinrect=el("expanel_rollh"),
             rollvskinrect=el("expanel_rollv"), rollleftoffset="3", rollrightoffset="3", rolltopoffset="3",
             rollbottomoffset="3", rollvcaptionrect="3,3,61,17", rollhcaptionrect="3,3,17,45",
             captionrect="3,3,61,17", **font(style="fsbold"))
    for kind, _ in EXPANEL_BUTTONS:
        for suffix, st in (("rect", "n"), ("activerect", "a"), ("downrect", "d")):
            ex[kind + "button" + suffix] = el("ex%s_%s" % (kind, st))
    ctl("expanel", "expanel", ex)
    ctl("mainmenubar", "mainmenubar", pic("menubar", itemsrect="2,2,62,22", menubaritem="mainmenubaritem",
                                          closebutton=MENUBAR_BUTTON % "close", minbutton=MENUBAR_BUTTON % "min",
                                          maxbutton=MENUBAR_BUTTON % "max", sysmenubutton=MENUBAR_BUTTON % "sysmenu",
                                          trackmarkcolor=str(TEXT), trackmarkactivecolor=str(HOT_TEXT)))
    ctl("tab", "tab", pic("tab_n", tabrect=el("tab_n"), activetabrect=el("tab_a"), mouseintabrect=el("tab_m"),
                          tableftoffset="3", tabrightoffset="3", tabsbgrect=el("tabsbg"), **font(),
                          activefontcolor=str(TEXT), focusfontcolor=str(TEXT), mouseinfontcolor=str(HOT_TEXT),
                          updown=""))

    lines += ["[SKINOBJECTS]", "count=%d" % len(objects)] + ["%d=%s" % iv for iv in enumerate(objects)]
    lines += ["[SKINCONTROLS]", "count=%d" % len(controls)] + ["%d=%s" % iv for iv in enumerate(controls)]
    e = POPUP_EDGE
    inner = "%d,%d,%d,%d" % (e, e, POPUP_W - e, POPUP_H - e)
    lines += ["[POPUPWINDOW]", "windowpictureindex=2", "maskpictureindex=-1",
              "lefttoppoint=%d,%d" % (e, e), "righttoppoint=%d,%d" % (POPUP_W - e, e),
              "leftbottompoint=%d,%d" % (e, POPUP_H - e), "rightbottompoint=%d,%d" % (POPUP_W - e, POPUP_H - e),
              "itemsrect=" + inner, "scrollmarkercolor=%d" % TEXT, "scrollmarkeractivecolor=%d" % HOT_TEXT,
              "leftstretch=0", "rightstretch=0", "topstretch=0", "bottomstretch=0"]
    e = HINT_EDGE
    lines += ["[HINTWINDOW]", "windowpictureindex=3", "maskpictureindex=-1",
              "lefttoppoint=%d,%d" % (e, e), "righttoppoint=%d,%d" % (HINT_W - e, e),
              "leftbottompoint=%d,%d" % (e, HINT_H - e), "rightbottompoint=%d,%d" % (HINT_W - e, HINT_H - e),
              "clientrect=%d,%d,%d,%d" % (e, e, HINT_W - e, HINT_H - e)]
    lines += ["%s=%s" % kv for kv in font().items()]
    lines += ["leftstretch=0", "rightstretch=0", "topstretch=0", "bottomstretch=0"]
    for name, values in sections:
        lines.append("[%s]" % name)
        lines += ["%s=%s" % kv for kv in values]
    return lines


def main():
    controls = Picture(CONTROLS_W, CONTROLS_H)
    for name, (x, y, w, h, painter) in ELEMENTS.items():
        assert x + w <= CONTROLS_W and y + h <= CONTROLS_H, name
        painter(controls, x, y, w, h)
    controls.save("controls.bmp")
    frame, mask = draw_frame()
    buttons, kinds = draw_caption_buttons()
    frame.save("frame.bmp")
    mask.save("mask.bmp")
    buttons.save("captionbuttons.bmp")
    draw_popup().save("popup.bmp")
    draw_hint().save("hint.bmp")
    with open(os.path.join(HERE, "skin.ini"), "w", newline="\r\n") as f:
        f.write("\n".join(build_ini(kinds)) + "\n")


if __name__ == "__main__":
    main()
