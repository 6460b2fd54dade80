#!/usr/bin/env python3
"""Clicks through Korvalo 3 on an X display as a user would and times what the screen shows.

Run by bench/window-bench.sh, with the program started on the display and the demo card
as drive K:. Each step clicks and watches the X server's own pixels, as a screenshot
sees them, from the press of the button on:
  painted - a window that was not there, until most of it differs from what the screen
            showed there before (an X window not yet painted shows what was beneath it);
  gone    - a window, until it is unmapped and its place no longer shows it (without a
            compositor nothing repaints under it until the program does);
  stays   - a box the program closes itself (the wait box): from its last change until
            it is gone.
Prints one line a measure and the worst; the goal is 0.2 s for each. Needs only the X
libraries (libX11, libXtst) through ctypes.
"""
import ctypes
import sys
import time

GOAL = 0.2
# Our default skin's frame: the client area starts 4 pixels in and 28 down, and the
# frame takes 8 pixels of the width and 32 of the height.
FRAME_LEFT, FRAME_TOP, FRAME_WIDTH, FRAME_HEIGHT = 4, 28, 8, 32
BUTTON_WIDTH, BUTTON_GAP, BUTTON_HEIGHT = 60, 10, 24  # the skinned message box's buttons
ICON = 16  # half an icon of the main window: click its middle
POLL = 0.005


class XWindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
        ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
        ("root", ctypes.c_ulong), ("class_", ctypes.c_int), ("bit_gravity", ctypes.c_int),
        ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
        ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
        ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
        ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
        ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class XImage(ctypes.Structure):
    _fields_ = [
        ("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
        ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
        ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
        ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong), ("obdata", ctypes.c_void_p),
        ("create_image", ctypes.c_void_p), ("destroy_image", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p))]


class Screen:
    """The display's top-level windows, its pixels and a mouse."""

    VIEWABLE = 2

    def __init__(self):
        self.x = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        x, p = self.x, ctypes.POINTER
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, p(ctypes.c_ulong), p(ctypes.c_ulong),
                                 p(p(ctypes.c_ulong)), p(ctypes.c_uint)]
        x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, p(XWindowAttributes)]
        x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, p(ctypes.c_char_p)]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XGetImage.restype = p(XImage)
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        # A window may go between listing and asking about it: such errors are ignored.
        handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
        self.ignore = handler(lambda display, event: 0)
        x.XSetErrorHandler.argtypes = [handler]
        x.XSetErrorHandler(self.ignore)
        self.display = x.XOpenDisplay(None)
        if not self.display:
            sys.exit("window_clicks: no X display")
        self.root = x.XDefaultRootWindow(self.display)
        x.XDisplayWidth.argtypes = x.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.size = (x.XDisplayWidth(self.display, 0), x.XDisplayHeight(self.display, 0))

    def windows(self):
        """Viewable top-level windows bigger than a pixel: {id: (name, x, y, w, h)}."""
        x = self.x
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children = ctypes.POINTER(ctypes.c_ulong)()
        count = ctypes.c_uint()
        x.XQueryTree(self.display, self.root, ctypes.byref(root), ctypes.byref(parent), ctypes.byref(children),
                     ctypes.byref(count))
        found = {}
        for i in range(count.value):
            w = children[i]
            a = XWindowAttributes()
            if not x.XGetWindowAttributes(self.display, w, ctypes.byref(a)) or a.map_state != self.VIEWABLE:
                continue
            if a.width <= 1 or a.height <= 1:
                continue
            name = ctypes.c_char_p()
            x.XFetchName(self.display, w, ctypes.byref(name))
            found[w] = self.visible(((name.value or b"").decode("latin-1"), a.x, a.y, a.width, a.height))
        if children:
            x.XFree(children)
        return found

    def visible(self, rect):
        """A window's rectangle cut to the screen."""
        name, left, top, width, height = rect
        right, bottom = min(left + width, self.size[0]), min(top + height, self.size[1])
        left, top = max(left, 0), max(top, 0)
        return name, left, top, max(right - left, 1), max(bottom - top, 1)

    def rows(self, rect):
        """The pixels of a screen rectangle, one bytes object a row."""
        _, left, top, width, height = rect
        image = self.x.XGetImage(self.display, self.root, left, top, width, height, 0xFFFFFFFF, 2)
        line = image.contents.bytes_per_line
        data = ctypes.string_at(image.contents.data, line * height)
        image.contents.destroy_image(image)
        return [data[y * line:(y + 1) * line] for y in range(height)]

    def click(self, at):
        """Moves there, rests as a hand does, and clicks."""
        self.xtst.XTestFakeMotionEvent(self.display, -1, at[0], at[1], 0)
        self.x.XSync(self.display, 0)
        time.sleep(0.05)
        pressed = time.monotonic()
        self.xtst.XTestFakeButtonEvent(self.display, 1, 1, 0)
        self.xtst.XTestFakeButtonEvent(self.display, 1, 0, 0)
        self.x.XSync(self.display, 0)
        return pressed


def differs(a, b, share):
    """True when at least that share of the rows differ."""
    return sum(x != y for x, y in zip(a, b)) >= share * max(1, len(a))


# A window is painted once half of it changed; gone once a tenth of its place changed.
PAINTED, GONE = 0.5, 0.1


def client(rect, cx, cy):
    """A point of a skinned window's client area on the screen."""
    return rect[1] + FRAME_LEFT + cx, rect[2] + FRAME_TOP + cy


def button(rect, index, count):
    """The middle of button `index` of a skinned message box with `count` buttons."""
    width = rect[3] - FRAME_WIDTH
    height = rect[4] - FRAME_HEIGHT
    row = BUTTON_WIDTH * count + BUTTON_GAP * (count - 1)
    left = (width - row) // 2 + index * (BUTTON_WIDTH + BUTTON_GAP)
    return client(rect, left + BUTTON_WIDTH // 2, height - BUTTON_HEIGHT - 10 + BUTTON_HEIGHT // 2)


class Bench:
    def __init__(self, screen):
        self.screen = screen
        self.results = []

    def report(self, what, seconds):
        self.results.append((what, seconds))
        print("%-70s %6.3f s" % (what, seconds), flush=True)

    def settle(self, quiet=0.3, timeout=60):
        """Waits until no window maps, unmaps or changes for `quiet` seconds."""
        end = time.monotonic() + timeout
        last = None
        since = time.monotonic()
        while time.monotonic() < end:
            wins = self.screen.windows()
            look = (sorted(wins.items()), [self.screen.rows(r) for r in wins.values()])
            if look != last:
                last, since = look, time.monotonic()
            elif time.monotonic() - since >= quiet:
                return wins
            time.sleep(0.02)
        sys.exit("window_clicks: the screen never settled")

    def step(self, what, at, closes=(), opens=None, timeout=30):
        """Clicks at `at`; reports each window of `closes` (label, window, rect) gone and,
        with `opens` (a label), the first new window painted, which it returns."""
        before = self.screen.windows()
        screen = self.screen.rows(("", 0, 0) + self.screen.size)
        looks = {w: self.screen.rows(rect) for _, w, rect in closes}
        pending = list(closes)
        opened = None
        start = self.screen.click(at)
        while time.monotonic() < start + timeout:
            now = time.monotonic()
            wins = self.screen.windows()
            for item in list(pending):
                label, w, rect = item
                if w not in wins and differs(self.screen.rows(rect), looks[w], GONE):
                    self.report("%s: %s gone" % (what, label), now - start)
                    pending.remove(item)
            for w, rect in wins.items():
                if opens is None or opened or w in before:
                    continue
                _, left, top, width, height = rect
                # A 24-bit screen keeps 4 bytes a pixel.
                under = [row[left * 4:(left + width) * 4] for row in screen[top:top + height]]
                if differs(self.screen.rows(rect), under, PAINTED):
                    self.report("%s: %s (%s) painted" % (what, opens, rect[0] or "no caption"), now - start)
                    opened = (w, rect)
            if not pending and (opens is None or opened):
                return opened
            time.sleep(POLL)
        sys.exit("window_clicks: %s: the screen never showed it" % what)

    def lingers(self, what, window, rect, timeout=60):
        """A window the program closes itself: from its last change until it is gone."""
        last = self.screen.rows(rect)
        changed_at = time.monotonic()
        end = changed_at + timeout
        while time.monotonic() < end:
            now = time.monotonic()
            wins = self.screen.windows()
            rows = self.screen.rows(rect)
            if window not in wins and differs(rows, last, GONE):
                self.report(what + " stays after its last change", now - changed_at)
                return
            if window in wins and rows != last:
                last, changed_at = rows, now
            time.sleep(POLL)
        sys.exit("window_clicks: never went: " + what)

    def main_window(self, timeout=120):
        """The main window, once the splash has gone and the screen settled."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            wins = self.screen.windows()
            if len(wins) == 1 and next(iter(wins.values()))[0] == "Korvalo 3":
                wins = self.settle(quiet=1.0)
                if len(wins) == 1:
                    return next(iter(wins.items()))
            time.sleep(0.1)
        sys.exit("window_clicks: no main window")

    def newest(self, before, name=None, timeout=60):
        """The biggest window with a caption (that caption) not in `before`, once the screen
        settled with it: boxes and dialogs have one, the wait box and the drive list none."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            wins = self.settle()
            new = [(w, r) for w, r in wins.items() if w not in before and r[0] and (name is None or r[0] == name)]
            if new:
                return max(new, key=lambda item: item[1][3] * item[1][4])
        sys.exit("window_clicks: no new window %s" % (name or ""))

    def run(self):
        main_id, main = self.main_window()
        icon = lambda left, top: client(main, left + ICON, top + ICON)
        only_main = {main_id: main}

        # The help box: opened by its icon, closed by its own close picture.
        self.step("help icon", icon(520, 198), opens="help box")
        box, rect = self.newest(only_main)
        self.step("help box's close picture", client(rect, 392 + ICON, 160 + ICON), [("help box", box, rect)])
        self.settle()

        # A message box: secure erase on the drive listed first (C:, no card) refuses with one.
        self.step("secure erase icon on C:", icon(422, 288), opens="first window")
        box, rect = self.newest(only_main)
        self.step("OK", button(rect, 0, 1), [("message box", box, rect)])
        self.settle()

        # The card: the drive list opened by its arrow, K: its second line.
        _, listed = self.step("drive list arrow", client(main, 253 + 176 - 8, 204 + 10), opens="list")
        self.screen.click((listed[1] + 20, listed[2] + 20 + 10))
        self.settle()

        # Secure erase asks twice: Yes to the first, No to the second.
        self.step("secure erase icon on K:", icon(422, 288), opens="first window")
        first, first_rect = self.newest(only_main)
        confirm = first_rect[0]  # the caption of a question
        self.step("Yes", button(first_rect, 0, 2), [("first question", first, first_rect)], "second question")
        second, second_rect = self.newest({**only_main, first: first_rect})
        self.step("No", button(second_rect, 1, 2), [("second question", second, second_rect)])
        self.settle()

        # Recovery of the card: No to the deep scan, No to viewing the files.
        self.step("recover icon on K:", icon(440, 198), opens="first window")
        question, question_rect = self.newest(only_main, confirm)
        dialog, dialog_rect = self.newest({**only_main, question: question_rect})
        before = self.screen.windows()
        self.step("No to the deep scan", button(question_rect, 1, 2), [("question", question, question_rect)],
                  "question to view the files")
        view, view_rect = self.newest(before, confirm)
        self.step("No to viewing", button(view_rect, 1, 2),
                  [("question", view, view_rect), ("recovery dialog", dialog, dialog_rect)])
        self.settle()

        # The browser: the wait box while thumbnails are made, then the grid.
        box, rect = self.step("view icon", icon(480, 198), opens="wait box")
        self.lingers("browser: wait box", box, rect)
        # It comes back while the grid is laid out.
        end = time.monotonic() + 1
        while time.monotonic() < end:
            if box in self.screen.windows():
                self.lingers("browser: wait box, shown again", box, rect)
                break
            time.sleep(POLL)
        self.settle()

        worst = max(seconds for _, seconds in self.results)
        print("worst: %.3f s (goal %.1f s): %s" % (worst, GOAL, "met" if worst <= GOAL else "NOT met"), flush=True)


if __name__ == "__main__":
    Bench(Screen()).run()
