#!/usr/bin/env python3
"""The Windows command line under Wine, next to the Linux one: the same
pictures must give the same icons, previews, reports, messages and exit
statuses; names in Chinese and with spaces must survive the trip through the
Windows command line; a failed replacement must leave the old icon as it was.

Usage: windows_suite.py GROUP --exe zentro-cli.exe --linux zentro-cli
                        --wine WINE --prefix WINEPREFIX --work DIR [--hold hold_file.exe]
                        --pictures write_pictures
GROUP is prefix (makes the Wine prefix), icons, refusals, names, replace, help,
pictures, languages or stop (ends the prefix's server). The bitmap groups read
with --classic on both sides; pictures gives both builds the field's formats;
languages runs the failures under an English and a Chinese locale.
"""
import argparse
import contextlib
import faulthandler
import os
import pty
import re
import select
import shutil
import struct
import subprocess
import sys
import time

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
    return condition


# ---------------------------------------------------------------- pictures


def bmp(width, height, bits, pixel, palette=(), header_size=40, compression=0, data=None, off_bits=None):
    """A BMP file; pixel(x, y) gives a palette index or an (r, g, b), y = 0 the top row."""
    stride = (width * bits + 31) // 32 * 4
    if data is None:
        rows = []
        for y in range(height - 1, -1, -1):
            row = bytearray()
            if bits == 24:
                for x in range(width):
                    r, g, b = pixel(x, y)
                    row += bytes((b, g, r))
            else:
                per_byte = 8 // bits
                for x0 in range(0, width, per_byte):
                    byte = 0
                    for k in range(per_byte):
                        value = pixel(x0 + k, y) if x0 + k < width else 0
                        byte |= value << (8 - bits * (k + 1))
                    row.append(byte)
            rows.append(bytes(row).ljust(stride, b"\0"))
        data = b"".join(rows)
    table = b"".join(bytes((c & 0xFF, c >> 8 & 0xFF, c >> 16, 0)) for c in palette)
    offset = 14 + 40 + len(table) if off_bits is None else off_bits
    header = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, bits, compression, len(data), 2835, 2835,
                         len(palette), 0)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + header + table + data


def with_file_size(data):
    """The file's size field set to its true size (the bytes appended included)."""
    return data[:2] + struct.pack("<I", len(data)) + data[6:]


def noise(x, y, seed):
    value = (x * 73856093 ^ y * 19349663 ^ seed * 83492791) & 0xFFFFFFFF
    value = (value * 2654435761) & 0xFFFFFFFF
    return value >> 24


def picture(width, height, bits, keyed, seed):
    """A disc of shaded, noisy colours; `keyed` puts it on a magenta background
    that all three probed corners share, else each corner differs."""
    palette = [(noise(i, 7, seed) << 16) | (noise(i, 11, seed) << 8) | noise(i, 13, seed) for i in range(1 << bits)] \
        if bits < 24 else []
    if palette:
        palette[0] = 0xFF00FF

    def pixel(x, y):
        inside = (2 * x - width) ** 2 + (2 * y - height) ** 2 < (min(width, height) * 9 // 10) ** 2
        corner = not keyed and (x < 3 or y < 3)
        if bits < 24:
            if keyed and not inside:
                return 0
            return 1 + (x * 3 + y * 5 + noise(x, y, seed) // 64 + (x if corner else 0)) % ((1 << bits) - 1)
        if keyed and not inside:
            return (255, 0, 255)
        return ((x * 255 // width + noise(x, y, seed) // 16) & 0xFF, (y * 255 // height) & 0xFF,
                (noise(x, y, seed) + (x if corner else 0)) & 0xFF)

    return bmp(width, height, bits, pixel, palette)


def write(path, data):
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


# ---------------------------------------------------------------- running


# A run that has not ended by then has hung: the group stops and says so, well
# before ctest's own timeout.
RUN_TIMEOUT = 120
# Wine's debug channels write lines like "0124:trace:seh:dispatch_exception ...";
# before a process has its first thread, without the thread's number.
WINE_DEBUG_LINE = re.compile(rb"^(?:[0-9a-f]{4}:)?(?:trace|warn|err|fixme):[a-z0-9_]+:.*\n?", re.M)
# Debian's Wine runs without its preloader, which would hold the low addresses
# free until Wine has placed its own pages there. On a loaded machine about one
# start in a few thousand found the page Wine shares with the server taken, and
# Wine gave up with status 1 before the program's first instruction (seen with
# "err+virtual": "wine: failed to map the shared user data: c0000018"). Such a
# start has not run the program: it is started again, and the suite says so.
WINE_START_FAILED = b"failed to map the shared user data"
WINE_STARTS = 3


class Hung(Exception):
    pass


def processes(prefix):
    """(pid, state, command) of each process under `prefix` now."""
    found = []
    for entry in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{entry}/environ", "rb") as f:
                if f"WINEPREFIX={prefix}".encode() not in f.read().split(b"\0"):
                    continue
            with open(f"/proc/{entry}/cmdline", "rb") as f:
                command = f.read().replace(b"\0", b" ").decode("utf-8", "replace").strip()
            with open(f"/proc/{entry}/stat") as f:
                state = f.read().rsplit(")", 1)[1].split()[0]
        except OSError:
            continue
        found.append((int(entry), state, command))
    return found


def processes_of(prefix):
    """What runs under `prefix` now, one line each, for a message about a hang."""
    return "\n".join(f"  {pid} {state} {command}" for pid, state, command in processes(prefix)) or "  none"


def server_of(prefix):
    """The pid of the prefix's server, None when none runs."""
    return next((pid for pid, _, command in processes(prefix) if "wineserver" in command.split(" ")[0]), None)


class Runner:
    def __init__(self, options, common):
        self.o = options
        self.common = common  # arguments before every run's own
        # ZENTRO_WINEDEBUG (+seh, say) turns Wine's debug channels on: their lines are kept
        # apart from the program's messages, in WORK/wine-debug.log.
        self.debug = os.environ.get("ZENTRO_WINEDEBUG")
        self.env = dict(os.environ, WINEPREFIX=options.prefix, WINEDEBUG=self.debug or "-all,err+virtual",
                        WINEDLLOVERRIDES="mscoree,mshtml=", LANG="C.UTF-8")
        self.env.pop("DISPLAY", None)
        self.server = None  # the prefix's server once start() has it up

    def wineserver(self, *args):
        beside = os.path.join(os.path.dirname(self.o.wine), "wineserver")
        server = beside if os.path.exists(beside) else shutil.which("wineserver") or "wineserver"
        return subprocess.run([server] + list(args), env=self.env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)

    def start(self):
        """Starts the prefix's server and Wine's own background programs for the whole
        group, unless another group of the prefix did. The server stays until the
        prefix's last test ends it (group stop). Started by a run, the server would
        end as soon as that run did (Debian's wineserver wrapper asks for no
        persistence), and the next run would start it again with Wine's background
        programs, which inherit the run's output pipes and hold them open until the
        server goes: each run would then last seconds instead of a fraction of one,
        and a group of fifty runs on a loaded machine outlasted ctest's timeout."""
        self.wineserver("-p")
        self._run([self.o.wine, "cmd", "/c", "rem"], os.getcwd(), output=False)
        self.server = server_of(self.o.prefix)

    def check_server(self):
        """The server the group started with must have served every run."""
        if self.server is None:
            return
        now = server_of(self.o.prefix)
        check(now == self.server, f"the prefix's server was started again during the group (pid {self.server},"
                                  f" then {now}): its runs waited for Wine's background programs")

    def windows(self, args, cwd):
        return self._run([self.o.wine, self.o.exe] + self.common + args, cwd)

    def linux(self, args, cwd):
        return self._run([self.o.linux] + self.common + args, cwd)

    def _run(self, command, cwd, output=True):
        for start in range(1, WINE_STARTS + 1):
            status, out, err, wine_said = self._run_once(command, cwd, output)
            if not (command[0] == self.o.wine and status != 0 and WINE_START_FAILED in wine_said):
                break
            print(f"Wine did not start the program ({wine_said.strip().decode('utf-8', 'replace')}),"
                  f" start {start} of {WINE_STARTS}")
        return status, out, err

    def _run_once(self, command, cwd, output):
        started = time.monotonic()
        pipe = subprocess.PIPE if output else subprocess.DEVNULL
        process = subprocess.Popen(command, cwd=cwd, env=self.env, stdin=subprocess.DEVNULL, stdout=pipe, stderr=pipe,
                                   start_new_session=True)
        try:
            out, err = process.communicate(timeout=RUN_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise self.hung(command, process)
        print(f"{time.monotonic() - started:6.2f}s", *command[-4:])
        if not output:
            return process.returncode, b"", b"", b""
        # Wine's lines are never the program's messages: they go to WORK/wine-debug.log.
        wine_said = b"".join(m.group(0) for m in WINE_DEBUG_LINE.finditer(err))
        if wine_said:
            with open(os.path.join(self.o.work, "wine-debug.log"), "ab") as log:
                log.write(f"---- {command} in {cwd}: status {process.returncode}\n".encode() + wine_said)
            err = WINE_DEBUG_LINE.sub(b"", err)
        # Windows text streams end their lines with CR LF.
        return process.returncode, out.replace(b"\r\n", b"\n"), err.replace(b"\r\n", b"\n"), wine_said

    def hung(self, command, process):
        """A Hung that tells what ran then; the run and the prefix's server are ended."""
        ended = process.poll() is not None
        running = processes_of(self.o.prefix)
        with contextlib.suppress(ProcessLookupError):
            os.killpg(process.pid, 9)
        self.wineserver("-k")
        process.communicate()
        what = "ended, but its output stayed open" if ended else "did not end"
        return Hung(f"{' '.join(command)} {what} in {RUN_TIMEOUT} s; under {self.o.prefix} ran:\n{running}")

    def on_console(self, args, cwd):
        """Runs the .exe with a terminal as its console; the text the terminal shows."""
        leader, follower = pty.openpty()
        command = [self.o.wine, self.o.exe] + args
        process = subprocess.Popen(command, cwd=cwd, env=self.env, stdin=follower, stdout=follower, stderr=follower,
                                   start_new_session=True)
        os.close(follower)
        shown = b""
        deadline = time.monotonic() + RUN_TIMEOUT
        while True:
            if not select.select([leader], [], [], max(0, deadline - time.monotonic()))[0]:
                os.close(leader)
                raise self.hung(command, process)
            try:
                chunk = os.read(leader, 4096)
            except OSError:
                break
            if not chunk:
                break
            shown += chunk
        os.close(leader)
        try:
            process.wait(timeout=RUN_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise self.hung(command, process)
        # Wine's console draws spaces as cursor moves.
        shown = re.sub(rb"\x1b\[(\d*)C", lambda m: b" " * int(m.group(1) or 1), shown)
        return re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", shown).decode("utf-8", "replace")


class Held:
    """A file held by hold_file.exe (see there) while the `with` block runs."""

    def __init__(self, runner, folder, name):
        self.command = [runner.o.wine, runner.o.hold, name]
        self.folder, self.env = folder, runner.env

    def __enter__(self):
        self.process = subprocess.Popen(self.command, cwd=self.folder, env=self.env, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE)
        check(self.process.stdout.readline().strip() == b"holding", f"{self.command}: holds nothing")
        return self

    def __exit__(self, *_):
        self.process.stdin.close()
        self.process.wait(timeout=RUN_TIMEOUT)


def fresh(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder


def files_below(folder):
    found = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            found[os.path.relpath(path, folder)] = read(path)
    return found


def same_run(runner, work, name, args, setup):
    """Runs `args` in a fresh folder for each build, both prepared by setup(folder);
    every file, the report, the messages and the exit status must be the same."""
    results = []
    for side, run in (("linux", runner.linux), ("windows", runner.windows)):
        folder = fresh(os.path.join(work, name, side))
        setup(folder)
        results.append((run(args, folder), files_below(folder)))
    (linux, linux_files), (windows, windows_files) = results
    check(linux == windows, f"{name}: Linux {linux!r:.600} but Windows {windows!r:.600}"
                            f" (exit status {linux[0]} and {windows[0]}; the ends of their messages:"
                            f" {linux[2][-300:]!r} and {windows[2][-300:]!r})")
    for path in sorted(set(linux_files) | set(windows_files)):
        check(linux_files.get(path) == windows_files.get(path), f"{name}: {path} differs")
    return linux, linux_files


# ---------------------------------------------------------------- groups


# The wizard's dialogs ask for "MS Shell Dlg"; message boxes and captions use
# Tahoma. Neither has Chinese glyphs under Wine, so both become Debian's CJK font.
# Unmanaged windows get captions drawn by Wine itself, and Wine gives the X focus
# to the window it activates, so that keys reach the wizard with no window manager.
# A caret that never blinks looks the same in every screenshot. No debugger
# attaches to a program that crashes: with Wine's own attached, the crashed
# program's exit status was 0 in about one run of six, a crash passed as success.
PREFIX_REGISTRY = r"""REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Shell Dlg"="WenQuanYi Micro Hei"
"MS Shell Dlg 2"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Tahoma"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"CursorBlinkRate"="-1"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""
"""
PREFIX_FONTS = ("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
                # The glyphs of caption buttons and check marks; Debian's Wine does not find it by itself.
                "/usr/share/wine/fonts/marlett.ttf")


def group_prefix(runner, work):
    if not os.path.isfile(os.path.join(runner.o.prefix, "system.reg")):
        os.makedirs(os.path.dirname(runner.o.prefix), exist_ok=True)
        runner.wineserver("-p10")
        subprocess.run([runner.o.wine, "wineboot", "--init"], env=runner.env, check=True, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
    fonts = os.path.join(runner.o.prefix, "drive_c", "windows", "Fonts")
    for font in PREFIX_FONTS:
        if not os.path.isfile(os.path.join(fonts, os.path.basename(font))) and check(
                os.path.isfile(font), f"{font} is missing (tools/setup.sh installs it)"):
            shutil.copy(font, fonts)
    # The settings once imported stay in the prefix, so that changed ones are imported again.
    imported = os.path.join(runner.o.prefix, "zentro-settings.reg")
    if not (os.path.isfile(imported) and read(imported) == PREFIX_REGISTRY.encode()):
        registry = os.path.join(work, "settings.reg")
        write(registry, PREFIX_REGISTRY.encode())
        subprocess.run([runner.o.wine, "regedit", "/S", registry], env=runner.env, check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
        shutil.copy(registry, imported)
    # Nothing started here outlives the set-up: the groups start the server they need,
    # the wizard's with its own screen.
    runner.wineserver("-k")


def group_icons(runner, work):
    sources = {}
    for bits in (1, 4, 8, 24):
        for keyed in (True, False):
            width = 256 + 2 * bits + 1  # odd, and every row padded differently
            sources[f"{bits}bit-{'keyed' if keyed else 'opaque'}.bmp"] = picture(width, 256 + bits, bits, keyed, bits)
    sources["small-odd.bmp"] = picture(51, 49, 24, True, 5)
    sixteen = picture(16, 16, 24, True, 6)
    runs = [(name, [name]) for name in sources if name != "small-odd.bmp"]
    runs += [
        ("every-depth", ["--transparent", "--depths", "32,24,8,4", "--all-256", "24bit-opaque.bmp"]),
        ("opaque-24", ["--opaque", "--depths", "24", "--sizes", "256,24", "8bit-keyed.bmp"]),
        ("small-odd", ["--sizes", "48,32,24,16", "--depths", "32,24,8,4", "small-odd.bmp"]),
        ("icon16", ["--icon16", "sixteen.bmp", "--sizes", "48,32,24,16", "4bit-keyed.bmp"]),
        ("previews", ["--previews", "previews", "--depths", "32,24,8,4", "--all-256", "24bit-keyed.bmp"]),
    ]

    def setup(folder):
        for name, data in sources.items():
            write(os.path.join(folder, name), data)
        write(os.path.join(folder, "sixteen.bmp"), sixteen)

    for name, args in runs:
        (status, report, _), files = same_run(runner, work, name, args, setup)
        check(status == 0 and b"images)" in report, f"{name}: no icon written (status {status})")
        check(any(path.endswith(".ico") for path in files), f"{name}: no .ico among {sorted(files)}")
    check(any(path.startswith("previews") for path in files_below(os.path.join(work, "previews", "windows"))),
          "previews: none written")


def group_refusals(runner, work):
    opaque = picture(256, 256, 24, False, 1)
    bad = {
        "not-a-bitmap.bmp": b"\x89PNG\r\n\x1a\n" + bytes(64),
        "empty.bmp": b"",
        "core-header.bmp": bmp(256, 256, 24, lambda x, y: (1, 2, 3), header_size=12),
        "16-bit.bmp": bmp(256, 256, 16, None, data=bytes(512 * 256)),
        "32-bit.bmp": bmp(256, 256, 32, None, data=bytes(1024 * 256)),
        "rle8.bmp": bmp(256, 256, 8, None, palette=[0] * 256, compression=1, data=bytes(256 * 256)),
        "zero-width.bmp": bmp(0, 256, 24, None, data=b""),
        "top-down.bmp": bmp(256, -256, 24, None, data=bytes(768 * 256)),
        "too-much-data.bmp": with_file_size(opaque + bytes(100)),
        "huge-palette.bmp": bmp(256, 256, 8, None, palette=[0] * 300, data=bytes(256 * 256)),
        "huge.bmp": bmp(0x7FFFFFFF, 0x7FFFFFFF, 24, None, data=b""),
        "too-small.bmp": picture(100, 100, 24, True, 2),
        "opaque.bmp": opaque,
        "tiny16.bmp": picture(8, 8, 24, True, 3),
    }
    runs = [(name, [name]) for name in bad if name not in ("opaque.bmp", "tiny16.bmp")]
    runs += [
        ("missing", ["missing.bmp"]),
        ("a-folder", ["folder.bmp"]),
        ("icon16-too-small", ["--icon16", "tiny16.bmp", "opaque.bmp"]),
        ("icon16-missing", ["--icon16", "gone.bmp", "opaque.bmp"]),
        ("no-depth", ["--depths", "", "opaque.bmp"]),
        ("no-size", ["--sizes", "", "opaque.bmp"]),
        ("output-is-folder", ["-o", "folder.bmp", "opaque.bmp"]),
        ("exists-already", ["-o", "old.ico", "opaque.bmp"]),
        ("unknown-option", ["--frobnicate", "opaque.bmp"]),
        ("no-input", []),
        ("one-of-two", ["missing.bmp", "opaque.bmp"]),
    ]

    def setup(folder):
        for name, data in bad.items():
            write(os.path.join(folder, name), data)
        os.makedirs(os.path.join(folder, "folder.bmp"))
        write(os.path.join(folder, "old.ico"), b"an icon that must stay")

    for name, args in runs:
        (status, _, messages), files = same_run(runner, work, name, args, setup)
        check(status != 0 and messages.startswith(b"zentro-cli: "), f"{name}: not refused ({status}, {messages})")
        check(files.get("old.ico") == b"an icon that must stay", f"{name}: old.ico changed")
    # A Windows console shows the messages as the characters they are, in whatever code page it starts.
    folder = os.path.join(work, "missing", "windows")
    shown = runner.on_console(["缺少.bmp"], folder)
    check("zentro-cli: 缺少.bmp: no such file" in shown, f"console shows {shown!r}")


def group_names(runner, work):
    source = picture(256, 256, 24, True, 4)
    runs = [
        ("chinese", ["图标.bmp"]),
        ("spaces", ["-o", "out folder/新 图标.ico", "--previews", "预 览 folder", "my pictures/logo file.bmp"]),
    ]

    def setup(folder):
        for name in ("图标.bmp", "my pictures/logo file.bmp"):
            write(os.path.join(folder, name), source)
        os.makedirs(os.path.join(folder, "out folder"))

    for name, args in runs:
        (status, _, messages), _ = same_run(runner, work, name, args, setup)
        check(status == 0, f"{name}: status {status}, {messages}")
    folder = os.path.join(work, "chinese", "windows")
    check(os.path.isfile(os.path.join(folder, "图标.ico")), f"图标.ico not among {os.listdir(folder)}")
    folder = os.path.join(work, "spaces", "windows")
    check(os.path.isfile(os.path.join(folder, "out folder", "新 图标.ico")), "out folder/新 图标.ico missing")
    check(len(os.listdir(os.path.join(folder, "预 览 folder"))) == 10, "previews with spaces missing")


def group_replace(runner, work):
    source = picture(256, 256, 24, True, 5)
    old = b"the old icon"

    def setup(folder):
        write(os.path.join(folder, "logo.bmp"), source)
        write(os.path.join(folder, "logo.ico"), old)

    # A writable icon is replaced with -f, exactly as on Linux.
    (status, _, _), files = same_run(runner, work, "replace", ["-f", "logo.bmp"], setup)
    check(status == 0 and files.get("logo.ico", old) != old, "replace: logo.ico not replaced")
    replaced = files.get("logo.ico")

    def refused(name, expected_message, read_only=False, held=False):
        folder = fresh(os.path.join(work, name))
        setup(folder)
        icon = os.path.join(folder, "logo.ico")
        if read_only:
            os.chmod(icon, 0o444)  # Wine's read-only attribute
        with Held(runner, folder, "logo.ico") if held else contextlib.nullcontext():
            status, _, messages = runner.windows(["-f", "logo.bmp"], folder)
        check(status == 1, f"{name}: status {status}")
        check(messages == "zentro-cli: logo.ico: {}\n".format(expected_message).encode(),
              f"{name}: messages {messages}")
        check(read(icon) == old, f"{name}: the old icon did not survive")
        check(sorted(os.listdir(folder)) == ["logo.bmp", "logo.ico"], f"{name}: left {sorted(os.listdir(folder))}")
        os.chmod(icon, 0o644)
        # Once nothing stands in the way the same command succeeds.
        status, _, messages = runner.windows(["-f", "logo.bmp"], folder)
        check(status == 0 and read(icon) == replaced, f"{name}: not replaced afterwards ({status}, {messages})")

    refused("read-only", "cannot be created: permission denied", read_only=True)
    refused("held-open", "could not be written: in use by another program", held=True)


def group_help(runner, work):
    (status, text, _), _ = same_run(runner, work, "version", ["--version"], lambda folder: None)
    check(status == 0 and text.startswith(b"zentro-cli "), f"version: {status} {text}")
    # The help tells what each build reads, so the two differ there and only there.
    for name, args in (("help", ["--help"]), ("short-help", ["-h"])):
        texts = []
        for side, run in (("linux", runner.linux), ("windows", runner.windows)):
            status, text, _ = run(args, fresh(os.path.join(work, name, side)))
            check(status == 0 and text.startswith(b"Usage: zentro-cli"), f"{name} on {side}: {status} {text}")
            texts.append(text)
        check(b"This build reads no SVG" in texts[1], f"{name}: the Windows help does not say it reads no SVG")
        drop = re.compile(rb"^(Reads |bytes\. |This build reads ).*\n", re.M)
        check(drop.sub(b"", texts[0]) == drop.sub(b"", texts[1]), f"{name}: the helps differ beyond what is read")
    # A fault on a worker thread is reported, with where it happened, before the process dies of it.
    status, _, messages = runner._run([runner.o.wine, runner.o.crash], fresh(os.path.join(work, "crash")))
    report = messages.decode("utf-8", "replace")
    check(status == 0xC0000005 & 0xFF and re.search(
        r"^crash_on_purpose: crashed: exception 0xc0000005 at crash_on_purpose\.exe\+0x[0-9a-f]+ on thread \d+"
        r" \(writing 0x10\)\n(crash_on_purpose:   called from \S+\n){2,}", report),
        f"crash: status {status}, report {report!r}")


def group_pictures(runner, work):
    pictures = fresh(os.path.join(work, "pictures"))
    subprocess.run([runner.o.pictures, pictures], check=True)
    names = sorted(os.listdir(pictures))

    def setup(folder):
        for name in names:
            shutil.copy(os.path.join(pictures, name), folder)

    # One run converts them all: every icon is compared.
    (status, report, _), files = same_run(runner, work, "formats", ["--depths", "32,24,8,4", "--sizes", "40,32,16", "."],
                                          setup)
    check(status == 0 and sum(path.endswith(".ico") for path in files) == len(names),
          f"formats: status {status}, {len(names)} pictures but icons {sorted(p for p in files if 'ico' in p)}")
    (status, _, _), files = same_run(runner, work, "png-all", ["--png", "all", "--sizes", "windows", "large.png"],
                                     setup)
    check(status == 0 and "large.ico" in files, f"png-all: status {status}")
    icon = files.get("large.ico", b"")
    windows_icon = read(os.path.join(work, "png-all", "windows", "large.ico"))
    (status, _, _), files = same_run(runner, work, "previews",
                                     ["--previews", "previews", "--sizes", "32", "webp-lossy-alpha.webp"], setup)
    check(status == 0 and any(path.startswith("previews") for path in files), f"previews: status {status}")

    def setup_icons(folder):
        write(os.path.join(folder, "linux.ico"), icon)
        write(os.path.join(folder, "windows.ico"), windows_icon)
        write(os.path.join(folder, "broken.ico"), icon[:6] + b"\xff" * 16 + icon[22:len(icon) // 2])

    (status, _, _), _ = same_run(runner, work, "icon-input", ["-o", "again.ico", "--sizes", "32,16", "linux.ico"],
                                 setup_icons)
    check(status == 0, f"icon-input: status {status}")
    for name, args in (("list", ["--list", "linux.ico", "windows.ico", "broken.ico"]),
                       ("check", ["--check", "linux.ico", "windows.ico", "broken.ico"]),
                       ("extract", ["--extract", "out", "windows.ico"])):
        (status, report, _), files = same_run(runner, work, name, args, setup_icons)
        check(report != b"" or len(files) > 3, f"{name}: nothing reported or extracted (status {status})")


def group_stop(runner, work):
    runner.wineserver("-k")


def is_chinese(character):
    return "\u2e80" <= character <= "\u9fff" or "\u3000" <= character <= "\u303f" or "\uff00" <= character <= "\uffef"


def group_languages(runner, work):
    """Both builds say the same under each locale, in its language: under English not
    one Chinese character, under Chinese the wizard's texts. Wine takes the language of
    Windows from the Unix locale, so the locales are made here, as most machines lack them."""
    locales = fresh(os.path.join(work, "locales"))
    for locale in ("en_US", "zh_CN"):
        subprocess.run(["localedef", "-i", locale, "-f", "UTF-8", os.path.join(locales, locale + ".UTF-8")],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
    huge_png = b"\x89PNG\r\n\x1a\n" + struct.pack(">I4sIIBBBBB", 13, b"IHDR", 60000, 60000, 8, 2, 0, 0, 0) + bytes(4)
    files = {
        "good.bmp": picture(256, 256, 24, True, 7),
        "small.bmp": picture(40, 40, 24, True, 8),
        "tiny16.bmp": picture(8, 8, 24, True, 9),
        "notes.bmp": b"plain text, not a picture",
        "huge.png": huge_png,
        "old.ico": b"an icon that must stay",
        "batch/a.bmp": picture(32, 32, 24, True, 10),
        "batch/a.ico": b"an icon that must stay",
    }
    # The name of each run, its arguments, and whether its message has a Chinese text.
    runs = [
        ("missing", ["missing.bmp"], True),
        ("not-a-picture", ["--classic", "notes.bmp"], True),
        ("too-large", ["huge.png"], True),
        ("no-folder", ["-o", "nodir/f.ico", "good.bmp"], True),
        ("too-small", ["small.bmp"], True),
        ("icon16-too-small", ["--sizes", "48,16", "--icon16", "tiny16.bmp", "good.bmp"], True),
        ("no-depth", ["--depths", "", "good.bmp"], True),
        ("exists-already", ["-o", "old.ico", "good.bmp"], False),
        ("run-again", ["--sizes", "16", "batch"], True),
        ("list-missing", ["--list", "missing.ico"], False),
        ("unknown-option", ["--frobnicate"], False),
    ]

    def setup(folder):
        for name, data in files.items():
            write(os.path.join(folder, name), data)

    for locale in ("en_US.UTF-8", "zh_CN.UTF-8"):
        chinese = locale.startswith("zh")
        runner.env.update(LANG=locale, LOCPATH=locales)
        for variable in ("LC_ALL", "LC_MESSAGES"):
            runner.env.pop(variable, None)
        for name, args, has_chinese in runs:
            (status, _, messages), _ = same_run(runner, work, f"{locale}-{name}", args, setup)
            text = messages.decode("utf-8", "replace")
            check(text.startswith("zentro-cli: "), f"{locale} {name}: nothing said ({status})")
            check(any(map(is_chinese, text)) == (chinese and has_chinese), f"{locale} {name}: says {text!r}")


def main():
    # The last word on a hang the runs' own limits did not catch: where the suite
    # waits, before ctest's timeout (600 s) ends it without a word.
    faulthandler.dump_traceback_later(540, exit=True)
    parser = argparse.ArgumentParser()
    parser.add_argument("group", choices=["prefix", "icons", "refusals", "names", "replace", "help", "pictures",
                                          "languages", "stop"])
    for name in ("exe", "linux", "wine", "prefix", "work", "hold", "crash", "pictures"):
        parser.add_argument("--" + name)
    options = parser.parse_args()
    for name in ("exe", "linux", "prefix", "work", "hold", "crash", "pictures"):
        if getattr(options, name):
            setattr(options, name, os.path.abspath(getattr(options, name)))
    runner = Runner(options, [] if options.group in ("help", "pictures", "languages") else ["--classic"])
    work = fresh(os.path.join(options.work, options.group))
    try:
        if options.group not in ("prefix", "stop"):
            runner.start()
        globals()["group_" + options.group](runner, work)
        if options.group not in ("prefix", "stop"):
            runner.check_server()
    except Hung as hang:
        failures.append(f"{hang}")
    for failure in failures:
        print("FAILED:", failure)
    if failures:
        sys.exit(1)
    shutil.rmtree(work, ignore_errors=True)
    print(f"windows {options.group}: all the same")


if __name__ == "__main__":
    main()
