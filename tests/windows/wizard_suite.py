#!/usr/bin/env python3
"""The wizard, zentro.exe, under Wine on an X screen of its own (Xvfb), driven
from the keyboard with xdotool as a person would drive it: the path typed on
the Input page, Enter through the pages, Enter for Finish.

Usage: wizard_suite.py GROUP --exe zentro.exe --cli zentro-cli.exe --wine WINE --prefix WINEPREFIX --work DIR
                       [--tour zentro_screenshot_tour] [--picture PICTURE --shots DIR]
GROUP is keyboard (a classic bitmap and a PNG with alpha with the presets, the
PNG once more with the 32-bit images only: each icon must be zentro-cli.exe's
for the same choices, and with --tour the Preview page must show the Linux
wizard's first picture pixel for pixel), refusal (a text file: its message box, then the Input page
again) or screenshots (the five pages of PICTURE as PNG files in DIR). Each
group ends Wine's server for the prefix, so the prefix must be its own.
"""
import argparse
import faulthandler
import os
import select
import shutil
import subprocess
import sys
import time

from PIL import Image, ImageGrab

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from windows_suite import (WINE_START_FAILED, WINE_STARTS, Hung, Runner, check, failures, fresh,  # noqa: E402
                           picture, processes_of, read, write)

PAGES = ["Ikoblen - 输入文件", "Ikoblen - 格式", "Ikoblen - 大小", "Ikoblen - 预览", "Ikoblen - 输出文件"]
SHOT_NAMES = ["1-input", "2-format", "3-sizes", "4-preview", "5-output"]
FORMAT, PREVIEW = 1, 3
MESSAGE_TITLE = "Ikoblen"
NUDGE_AFTER = 5  # seconds a shown window may wait for the keyboard before it is given it


class Failed(Exception):
    pass


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Screen:
    """Xvfb on a free display number and the wizard's windows on it. Leaving the
    `with` block ends Wine's server for the prefix and then Xvfb, whatever happened."""

    def __init__(self, runner, options, work):
        self.runner, self.o, self.work = runner, options, work
        self.log = open(os.path.join(work, "x.log"), "wb")

    def __enter__(self):
        reader, writer = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(writer), "-screen", "0", "1024x768x24",
                                      "-nolisten", "tcp"], pass_fds=(writer,), stdout=self.log, stderr=self.log)
        os.close(writer)
        number = b""
        while not number.endswith(b"\n") and select.select([reader], [], [], 30)[0]:
            chunk = os.read(reader, 16)
            if not chunk:
                break
            number += chunk
        os.close(reader)
        if not number.strip().isdigit():
            self.__exit__()
            raise Failed(f"Xvfb gave no display (see {self.log.name})")
        self.display = ":" + number.strip().decode()
        self.runner.env["DISPLAY"] = self.display
        try:
            # A server still up from the set-up or an earlier group knows no screen, or another one.
            self.runner.wineserver("-k")
            self.runner.start()
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *_):
        self.runner.check_server()
        self.runner.wineserver("-k")
        self.xvfb.terminate()
        self.xvfb.wait(timeout=30)
        self.log.close()

    def xdotool(self, *args):
        done = subprocess.run(["xdotool"] + list(args), env=self.runner.env, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=60)
        return done.stdout.decode("utf-8", "replace").strip()

    def shown(self):
        """The visible windows, id and title."""
        ids = self.xdotool("search", "--onlyvisible", "--name", "").split()
        return [(window, self.xdotool("getwindowname", window)) for window in ids]

    def grab(self, box=None):
        return ImageGrab.grab(bbox=box, xdisplay=self.display)

    def failure(self, what):
        """`what`, with the titles on the screen and the path of a screenshot of it."""
        path = os.path.join(self.work, f"failure-{len(failures) + 1}.png")
        self.grab().save(path)
        return Failed(f"{what}; windows shown: {[title for _, title in self.shown()]}; screenshot: {path}")

    def wait(self, title, timeout=30, running=None):
        """The window called `title`, once it is shown and has the keyboard (sooner
        a failure when the process `running` ends first)."""
        started = time.monotonic()
        nudged = False
        while time.monotonic() < started + timeout:
            if running is not None and running.poll() is not None:
                raise self.failure(f"no window {title!r}: the program ended first")
            window = self.xdotool("getwindowfocus")
            # Before Wine gives a window the keyboard, the X server's root (1) has it.
            if window.isdigit() and int(window) > 1 and self.xdotool("getwindowname", window) == title:
                return window
            # With no window manager, Wine itself gives the X focus to the window it
            # activates. On a loaded machine a message box was once seen shown and drawn
            # active (a blue caption) while the X focus stayed elsewhere for 30 s: X
            # refuses focus to a window not yet viewable, and no window manager is there
            # to give it once it is. Giving it here does what any window manager does.
            if not nudged and time.monotonic() > started + NUDGE_AFTER:
                named = [shown for shown, shown_title in self.shown() if shown_title == title]
                if named:
                    print(f"{title!r} shown {NUDGE_AFTER} s without the keyboard (focus on {window!r}): clicked")
                    self.xdotool("windowfocus", named[-1])
                    nudged = True
            time.sleep(0.1)
        raise self.failure(f"no window {title!r} with the keyboard after {timeout} s"
                           f" (focus on {self.xdotool('getwindowfocus')!r})")

    def wait_gone(self, window, timeout=30):
        deadline = time.monotonic() + timeout
        while any(shown == window for shown, _ in self.shown()):
            if time.monotonic() > deadline:
                raise self.failure(f"window {window} still shown after {timeout} s")
            time.sleep(0.1)

    def keys(self, *keys):
        self.xdotool("key", "--delay", "50", *keys)

    def type(self, text):
        self.xdotool("type", "--delay", "20", "--", text)

    def start(self, args, folder):
        """zentro.exe with `args`, in `folder`; its first page has the keyboard when this returns."""
        path = os.path.join(self.work, "wizard.log")
        # Nobody compares what the wizard writes: Wine's errors go into its log.
        env = dict(self.runner.env, WINEDEBUG=self.runner.debug or "-all,err+all")
        for start in range(1, WINE_STARTS + 1):
            before = os.path.getsize(path) if os.path.exists(path) else 0
            with open(path, "ab") as log:
                process = subprocess.Popen([self.o.wine, self.o.exe] + args, cwd=folder, env=env,
                                           stdin=subprocess.DEVNULL, stdout=log, stderr=log)
            try:
                self.wait(PAGES[0], timeout=90, running=process)
                return process
            except Failed as failure:
                state = "running" if process.poll() is None else f"ended with status {process.returncode}"
                with open(path, "rb") as f:
                    said = f.read()[before:]
                # Wine gave up before the program ran (windows_suite.py tells why): start it again.
                if process.returncode not in (None, 0) and WINE_START_FAILED in said and start < WINE_STARTS:
                    print(f"Wine did not start zentro.exe, start {start} of {WINE_STARTS}")
                    continue
                raise Failed(f"{failure}; zentro.exe {state}; Wine's processes:\n{processes_of(self.o.prefix)}\n"
                             f"the end of {path}:\n{said[-2000:].decode('utf-8', 'replace')}")

    def ended(self, process, timeout=60):
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise self.failure(f"the wizard still runs {timeout} s after its last key")

    def find(self, expected, timeout=10):
        """Where on the screen `expected` (a picture) shows pixel for pixel, once it does."""
        rows = [expected.tobytes()[y * expected.width * 3:(y + 1) * expected.width * 3] for y in range(expected.height)]
        # The row of most colours matches the fewest places.
        anchor = max(range(len(rows)), key=lambda y: len({rows[y][x:x + 3] for x in range(0, len(rows[y]), 3)}))
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            shot = self.grab()
            pixels, width = shot.tobytes(), shot.width
            at = pixels.find(rows[anchor])
            while at >= 0:
                x, y = at // 3 % width, at // 3 // width - anchor
                if at % 3 == 0 and x + expected.width <= width and 0 <= y <= shot.height - expected.height and all(
                        pixels[((y + r) * width + x) * 3:((y + r) * width + x + expected.width) * 3] == rows[r]
                        for r in range(len(rows))):
                    return x, y
                at = pixels.find(rows[anchor], at + 1)
            time.sleep(0.2)
        return None


def fading_disc_png(path, size):
    """A gradient under a disc of alpha that fades from opaque to clear towards
    its rim and is clear beyond it, keeping its colours where it is clear."""
    image = Image.new("RGBA", (size, size))
    radius = size / 2
    pixels = []
    for y in range(size):
        for x in range(size):
            share = 1 - ((x + 0.5 - radius) ** 2 + (y + 0.5 - radius) ** 2) / radius ** 2
            alpha = 0 if share <= 0 else 255 if share >= 0.5 else int(share * 510)
            pixels.append((x * 255 // size, y * 255 // size, (x + y) * 127 // size, alpha))
    image.putdata(pixels)
    image.save(path)


def linux_preview(options, picture_path, tour_options, work):
    """The picture the Linux wizard's Preview page shows first for `picture_path`."""
    path = os.path.join(work, "linux-preview.png")
    runtime = fresh(os.path.join(work, "runtime"))
    os.chmod(runtime, 0o700)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=runtime)
    subprocess.run([options.tour, "--preview", path, picture_path] + tour_options, env=env,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, timeout=120)
    return Image.open(path).convert("RGB") if os.path.isfile(path) else None


# ---------------------------------------------------------------- groups

# Each run: its name, the picture, the keys pressed on the Format page, and what
# they mean to zentro-cli and to the Linux wizard's tour. The presets are
# zentro-cli's defaults, the classic ones for a classic bitmap; checking the
# 8- and 4-bit boxes adds those images, and the Preview page then opens on a
# 4-bit one.
KEYBOARD_RUNS = [
    ("classic bitmap", "keyed.bmp", [], ["--classic"], []),
    ("PNG with alpha", "alpha.png", [], [], []),
    ("PNG with alpha, 8- and 4-bit too", "alpha.png", ["alt+8", "alt+4"], ["--depths", "32,8,4"], ["--palettes"]),
]


def group_keyboard(screen, work):
    for number, (name, picture_name, format_keys, cli_options, tour_options) in enumerate(KEYBOARD_RUNS):
        folder = fresh(os.path.join(work, f"run-{number}"))
        source, icon = os.path.join(folder, picture_name), os.path.join(folder, "cli.ico")
        if picture_name.endswith(".bmp"):
            write(source, picture(256, 256, 24, True, 7))
        else:
            fading_disc_png(source, 256)
        status, _, messages = screen.runner.windows(cli_options + ["-o", "cli.ico", picture_name], folder)
        check(status == 0, f"{name}: zentro-cli.exe failed ({status}, {messages})")
        expected = linux_preview(screen.o, source, tour_options, folder) if screen.o.tour else None
        check(expected is not None or not screen.o.tour, f"{name}: the Linux wizard showed no preview")
        wizard = screen.start([], folder)
        screen.type(windows_path(source))
        for page in range(1, len(PAGES)):
            screen.keys("Return")
            screen.wait(PAGES[page])
            if page == FORMAT and format_keys:
                screen.keys(*format_keys)
            if page == PREVIEW and expected is not None:
                place = screen.find(expected)
                if place is None:
                    failures.append(str(screen.failure(
                        f"{name}: the Linux preview ({expected.width} x {expected.height}) is not on the screen")))
                else:
                    print(f"{name}: the Preview page shows the Linux wizard's {expected.width} x {expected.height}"
                          f" picture at {place}")
        screen.keys("Return")
        status = screen.ended(wizard)
        # The Output page proposes the picture's name with .ico.
        written = os.path.splitext(source)[0] + ".ico"
        if check(os.path.isfile(written), f"{name}: the wizard wrote no {written} (exit status {status})"):
            wizard_bytes, cli_bytes = read(written), read(icon)
            if check(wizard_bytes == cli_bytes, f"{name}: the wizard's icon ({len(wizard_bytes)} bytes) is not"
                                                f" zentro-cli.exe's ({len(cli_bytes)} bytes)"):
                print(f"{name}: the wizard wrote zentro-cli.exe's {len(cli_bytes)} bytes")
    if screen.o.tour is None:
        print("the previews were not compared: this build has no Linux wizard")


def group_refusal(screen, work):
    folder = fresh(os.path.join(work, "text"))
    write(os.path.join(folder, "notes.txt"), b"A shopping list, not a picture.\n")
    wizard = screen.start([], folder)
    screen.type(windows_path(os.path.join(folder, "notes.txt")))
    screen.keys("Return")
    box = screen.wait(MESSAGE_TITLE)
    titles = [title for _, title in screen.shown()]
    check(PAGES[0] in titles and not set(PAGES[1:]) & set(titles), f"behind the message box: {titles}")
    screen.keys("Return")
    screen.wait_gone(box)
    # The keyboard is back on the sheet, which still shows the Input page.
    screen.wait(PAGES[0])
    print("the text file's message box came and went; the Input page stayed")
    screen.keys("Escape")
    screen.ended(wizard)


def group_screenshots(screen, work):
    options = screen.o
    os.makedirs(options.shots, exist_ok=True)
    # Relative to the current folder, as a person would give it.
    wizard = screen.start([os.path.relpath(options.picture).replace("/", "\\")], os.getcwd())
    for page, name in enumerate(SHOT_NAMES):
        window = screen.wait(PAGES[page])
        values = dict(line.split("=") for line in screen.xdotool("getwindowgeometry", "--shell", window).split())
        left, top = int(values["X"]), int(values["Y"])
        box = (left, top, left + int(values["WIDTH"]), top + int(values["HEIGHT"]))
        # Painting is done when two looks a moment apart agree.
        shot, previous = screen.grab(box), None
        while previous is None or shot.tobytes() != previous.tobytes():
            time.sleep(0.3)
            shot, previous = screen.grab(box), shot
        path = os.path.join(options.shots, name + ".png")
        shot.save(path, optimize=True)
        print(path)
        screen.keys("Return" if page + 1 < len(PAGES) else "Escape")
    screen.ended(wizard)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("group", choices=["keyboard", "refusal", "screenshots"])
    for name in ("exe", "cli", "wine", "prefix", "work", "tour", "picture", "shots"):
        parser.add_argument("--" + name)
    options = parser.parse_args()
    for name in ("exe", "cli", "prefix", "work", "tour", "shots"):
        if getattr(options, name):
            setattr(options, name, os.path.abspath(getattr(options, name)))
    work = fresh(os.path.join(options.work, "wizard-" + options.group))
    # The runner's own runs are zentro-cli.exe's.
    runner = Runner(argparse.Namespace(**dict(vars(options), exe=options.cli)), [])
    started = time.monotonic()
    # The last word on a hang the waits' own limits did not catch, before ctest's timeout.
    faulthandler.dump_traceback_later(270, exit=True)
    try:
        with Screen(runner, options, work) as screen:
            globals()["group_" + options.group](screen, work)
    except (Failed, Hung) as failure:
        failures.append(str(failure))
    for failure in failures:
        print("FAILED:", failure)
    if failures:
        sys.exit(1)
    shutil.rmtree(work, ignore_errors=True)
    print(f"wizard {options.group}: done in {time.monotonic() - started:.1f} s")


if __name__ == "__main__":
    main()
