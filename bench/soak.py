"""A soak of Quorvel under Wine: many presses in every mode while WinLIRC clients come and go.

Usage (after scripts/build.sh win64; about 2 minutes for 600 presses, 40 for 20,000):
    /usr/bin/python3 bench/soak.py [--presses 20000] [--build build/win64] [--seed N]

In its own Xvfb display and Wine prefix, Quorvel.exe runs with the substitute Beholder library,
the OSD and balloon hints switched on in the registry before the start, and a button map of
twelve named buttons and one unnamed one: keys (with and without Shift and Ctrl), mouse moves
and wheel turns, application commands, buttons that only have a name, repeat on and off. Mouse
clicks are left out: they would land on whatever window lies under the wandering pointer (the
tray icon, a balloon) and make the run depend on the screen.

Presses go through the library's control channel in batches of 50 to 250: 90 % one poll long,
8 % 2-9 polls, 2 % 10-24 polls (held, with repeats), four in five back to back with the next (a
different button), the others with a gap of 1-2 polls. Batches alternate between
WinLIRC mode and, in turn, Keys, Mouse and Messages, each mode chosen by the tray menu's command.

No press lost, exactly: each WinLIRC batch has three witness clients, connected before it and
proved served by a probe press; each must receive exactly the batch's lines in order (one per
press, and a repeat line every second poll from the tenth of a hold whose button repeats).
Meanwhile, all run long, other clients connect, read a little, stall, and vanish (half of them
with a reset), some after asking VERSION, some with a tiny receive buffer; at most twelve at
once, so with the witnesses and a probe connection never more than 16.

Between batches: every second one the settings are saved (SaveSetSB; the registry's "Mode"
must then hold the mode in use), every third the listener is switched off (it must refuse
connections) and on again (it must accept them) by LIRCServerCB, and at three (five from 5,000
presses) evenly spread ones a suspend and resume is posted (polling must stop and start again).

Sampled at the start, every minute and after the last batch: the resident memory and thread
count of the Linux process, its open descriptors, and through `wintool counts` its handle
count and GDI and USER objects (a figure that is missing or zero in every sample is named as
not reported by Wine). Growth rule, over the samples from minute one on: the slope per minute
(least squares) is printed, and the mean of the last third of them may exceed the mean of
the first third by at most max(5 %, 4 MiB) of resident memory, 2 threads, 24 descriptors and
40 handles (a churn of up to 16 sockets moves these), 10 GDI and 10 USER objects. With fewer
than three such samples growth is not judged.

At the end: a held button must show its name in the window and its release clear it, the tray menu must open on the tray
icon's right-button message and close again, no message box may be open, and "Exit" (chosen
after switching to a mode not saved yet) must end the process within 30 s with that mode in
the registry. Exit code 0 on PASS, 1 on FAIL with the reasons printed."""

import argparse
import os
import random
import re
import select
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import traceback
from dataclasses import dataclass
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import wine_bench  # noqa: E402

if __name__ == "__main__":
    _options = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    _options.add_argument("--presses", type=int, default=20000, help="presses in all (default 20000)")
    wine_bench.add_build_option(_options, REPO)
    _options.add_argument("--seed", type=int, default=None, help="seed of the random choices (default: random)")
    ARGS = _options.parse_args()
    wine_bench.use_build(ARGS.build)

from harness import MAIN_WINDOW, ProgramFolder, WinePrefix, WinTool, Xvfb  # noqa: E402
from harness.ports import free_port  # noqa: E402
from harness.waiting import wait_until  # noqa: E402
from lirc_clients import PROBE_CODE, LircClient, expected_lines, wait_quiet  # noqa: E402
from quorvel_window import MENU_ITEMS, POPUP_MENU_CLASS, TRAY_CALLBACK, WM_COMMAND, WM_RBUTTONUP  # noqa: E402
from settings_registry import PROGRAM_KEY, read_values, seed_values  # noqa: E402

REMOTE = "Soak"
WITNESSES = 3
CHURN_LIMIT = 12
SAMPLE_INTERVAL_S = 60.0
POLL_S = 0.05
COMMANDS_PER_LINE = 150
WM_POWERBROADCAST, PBT_APMSUSPEND, PBT_APMRESUMEAUTOMATIC = 0x0218, 0x04, 0x12
WM_CANCELMODE, WM_KEYDOWN, VK_ESCAPE = 0x001F, 0x0100, 0x1B
SHIFT, CTRL = 0x2000, 0x8000


@dataclass(frozen=True)
class Button:
    code: int
    name: str           # "" for the button the map does not name
    repeat: bool
    key: int = 0        # key code value: virtual key, | SHIFT, | CTRL
    mouse: int = 0      # 1-4 moves left, right, up, down; 9, 10 wheel up, down
    message: int = 0    # application command


BUTTONS = (
    Button(0x00BE0001, "One", False, key=0x7C),                          # F13
    Button(0x00BE0002, "Two", True, key=SHIFT | 0x7D),                   # Shift+F14
    Button(0x00BE0003, "Vol+", True, key=0xAF, message=10),              # volume up
    Button(0x00BE0004, "Left", True, mouse=1),
    Button(0x00BE0005, "Right", True, mouse=2),
    Button(0x00BE0006, "Up", True, mouse=3),
    Button(0x00BE0007, "Down", True, mouse=4),
    Button(0x00BE0008, "WheelUp", False, mouse=9),
    Button(0x00BE0009, "WheelDown", False, mouse=10),
    Button(0x00BE000A, "Play", True, key=CTRL | 0x7E, mouse=9, message=14),
    Button(0x00BE000B, "Mute", False, message=8),
    Button(0x00BE000C, "Plain", True),
    Button(0x00BE000D, "", True),
)
PLAIN = BUTTONS[11]

# mode number (as "Mode" stores it): tray menu item, radio button, name
MODES = {1: ("WinLIRCPM", "WinLIRCRB", "WinLIRC"), 2: ("KeysPM", "KeysRB", "Keys"),
         3: ("MousePM", "MouseRB", "Mouse"), 4: ("WMAPPCOMMANDPM", "WMRB", "Messages")}
WINLIRC = 1

PRESS_LINE = re.compile(rb"^[0-9A-F]{16} [0-9A-F]{2} ")
PROBE_PREFIX = f"{PROBE_CODE:016X} ".encode()


def button_map() -> dict:
    named = [button for button in BUTTONS if button.name]
    key = "{:08X}".format
    return {
        "RC": {"Name": REMOTE},
        "Buttons": {key(b.code): b.name for b in named},
        "Repeat": {key(b.code): "1" if b.repeat else "0" for b in named},
        "Keys": {key(b.code): f"{b.key:04X}" for b in named if b.key},
        "Mouse": {key(b.code): str(b.mouse) for b in named if b.mouse},
        "Messages": {key(b.code): str(b.message) for b in named if b.message},
    }


@dataclass
class Press:
    button: Button
    polls: int
    gap: int


def hold_polls(rng: random.Random) -> int:
    roll = rng.random()
    if roll < 0.90:
        return 1
    return rng.randint(2, 9) if roll < 0.98 else rng.randint(10, 24)


def plan_batch(rng: random.Random, count: int) -> list:
    """Presses of random buttons; the same button twice running always has a gap between."""
    presses = []
    for _ in range(count):
        button = rng.choice(BUTTONS)
        if presses and presses[-1].button == button and presses[-1].gap == 0:
            presses[-1].gap = 1
        presses.append(Press(button, hold_polls(rng), 0 if rng.random() < 0.8 else rng.randint(1, 2)))
    presses[-1].gap = max(presses[-1].gap, 1)
    return presses


def winlirc_lines(presses: list) -> list:
    return [line for press in presses
            for line in expected_lines(press.button.code, press.polls, press.button.name or f"{press.button.code:08X}",
                                       REMOTE, press.button.repeat)]


def queue_presses(control, presses: list):
    commands = []
    for press in presses:
        commands.append(f"press {press.button.code:X} {press.polls}")
        if press.gap:
            commands.append(f"gap {press.gap}")
    for start in range(0, len(commands), COMMANDS_PER_LINE):
        control.command("; ".join(commands[start:start + COMMANDS_PER_LINE]))


class ChurnClient:
    """A client that reads for a while, may stall, then vanishes."""

    def __init__(self, port: int, rng: random.Random, now: float):
        self.socket = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        if rng.random() < 0.3:
            self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 2048)
        self.socket.settimeout(1.0)
        try:
            self.socket.connect(("127.0.0.1", port))
            if rng.random() < 0.2:
                self.socket.sendall(b"VERSION\n")
        except OSError:
            self.socket.close()
            raise
        self.socket.setblocking(False)
        self.stalls_at = now + rng.uniform(0.05, 4.0)
        self.closes_at = self.stalls_at + (rng.uniform(0.5, 8.0) if rng.random() < 0.6 else 0.0)
        self.reset = rng.random() < 0.5
        self.ended = False
        self.lines = 0
        self._partial = b""

    def reading(self, now: float) -> bool:
        return not self.ended and now < self.stalls_at

    def receive(self):
        try:
            data = self.socket.recv(65536)
        except BlockingIOError:
            return
        except OSError:
            data = b""
        if not data:
            self.ended = True
            return
        lines = (self._partial + data).split(b"\n")
        self._partial = lines.pop()
        self.lines += sum(1 for line in lines if PRESS_LINE.match(line) and not line.startswith(PROBE_PREFIX))

    def close(self):
        if self.reset:
            self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.socket.close()


class Churn(threading.Thread):
    """Clients that come and go at random, at most CHURN_LIMIT at once, from a thread of its own."""

    STEP_S = 0.05
    ARRIVALS_PER_STEP = 0.1

    def __init__(self, port: int, seed: int):
        super().__init__(daemon=True)
        self.port = port
        self.rng = random.Random(seed)
        self.open = []
        self.finished = []  # (press lines received, whether the server had ended it)
        self.refused = 0
        self.most_open = 0
        self._stopping = threading.Event()

    def run(self):
        while not self._stopping.is_set():
            now = time.monotonic()
            if len(self.open) < CHURN_LIMIT and self.rng.random() < self.ARRIVALS_PER_STEP:
                try:
                    self.open.append(ChurnClient(self.port, self.rng, now))
                    self.most_open = max(self.most_open, len(self.open))
                except OSError:
                    self.refused += 1
            readers = {client.socket: client for client in self.open if client.reading(now)}
            if readers:
                ready, _, _ = select.select(list(readers), [], [], self.STEP_S)
                for sock in ready:
                    readers[sock].receive()
            else:
                time.sleep(self.STEP_S)
            for client in [client for client in self.open if time.monotonic() >= client.closes_at]:
                self._finish(client)

    def _finish(self, client: ChurnClient):
        self.open.remove(client)
        client.close()
        self.finished.append((client.lines, client.ended))

    def stop(self):
        self._stopping.set()
        self.join(30)
        for client in list(self.open):
            self._finish(client)


def linux_pid_of(exe: str, prefix: WinePrefix):
    """The Linux process of the prefix whose command line starts with the Windows program's path
    (others on the machine may run the same program in their own prefixes)."""
    found = []
    prefix_setting = f"WINEPREFIX={prefix.path}".encode()
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            first = (entry / "cmdline").read_bytes().split(b"\0", 1)[0].decode(errors="replace")
            if not first.lower().endswith("\\" + exe.lower()):
                continue
            if prefix_setting in (entry / "environ").read_bytes().split(b"\0"):
                found.append(int(entry.name))
        except OSError:
            continue
    return max(found, key=lambda pid: proc_status(pid).get("Threads", 0), default=None)


def proc_status(pid: int) -> dict:
    figures = {}
    try:
        for line in Path(f"/proc/{pid}/status").read_text().splitlines():
            name, _, value = line.partition(":")
            if name in ("VmRSS", "Threads"):
                figures[name] = int(value.split()[0])
    except OSError:
        pass
    return figures


FIGURES = (("rss", "resident MiB"), ("threads", "threads"), ("fds", "fds"), ("handles", "handles"),
           ("gdi", "GDI"), ("user", "USER"))
# The growth each figure may show: a share of the first samples' mean and an absolute amount.
ALLOWANCES = {"rss": (0.05, 4.0), "threads": (0, 2), "fds": (0, 24), "handles": (0, 40), "gdi": (0, 10),
              "user": (0, 10)}


class Sampler(threading.Thread):
    """The process's figures at the start, every minute and at the end, printed as they come."""

    def __init__(self, soak):
        super().__init__(daemon=True)
        self.soak = soak
        self.samples = []
        self._stopping = threading.Event()
        self._lock = threading.Lock()

    def run(self):
        next_at = self.soak.started + SAMPLE_INTERVAL_S
        while not self._stopping.wait(max(0.0, next_at - time.monotonic())):
            self.take()
            next_at += SAMPLE_INTERVAL_S

    def stop(self):
        self._stopping.set()
        self.join(120)

    def take(self):
        status = proc_status(self.soak.linux_pid)
        if not status:
            # The process first found may have been the launcher's, which execs or ends.
            self.soak.linux_pid = linux_pid_of("Quorvel.exe", self.soak.prefix) or self.soak.linux_pid
            status = proc_status(self.soak.linux_pid)
        pid = self.soak.linux_pid
        try:
            fds = len(os.listdir(f"/proc/{pid}/fd"))
        except OSError:
            fds = None
        counts = self.soak.wintool.counts(self.soak.windows_pid) or {}
        sample = {"minute": (time.monotonic() - self.soak.started) / 60, "presses": self.soak.presses_done,
                  "rss": status["VmRSS"] / 1024 if "VmRSS" in status else None, "threads": status.get("Threads"),
                  "fds": fds, "handles": counts.get("handles"), "gdi": counts.get("gdi"), "user": counts.get("user")}
        with self._lock:
            if not self.samples:
                print(row_text(["minute", "presses"] + [title for _, title in FIGURES]))
            self.samples.append(sample)
            print(row_text(sample_fields(sample)), flush=True)


def row_text(fields: list) -> str:
    return " ".join(f"{field:>12}" for field in fields)


def sample_fields(sample: dict) -> list:
    def shown(value):
        if value is None:
            return "-"
        return f"{value:.1f}" if isinstance(value, float) else str(value)
    return [f"{sample['minute']:.2f}", str(sample["presses"])] + [shown(sample[name]) for name, _ in FIGURES]


def slope(points: list) -> float:
    """Least-squares slope of (x, y) points."""
    mean_x = sum(x for x, _ in points) / len(points)
    mean_y = sum(y for _, y in points) / len(points)
    spread = sum((x - mean_x) ** 2 for x, _ in points)
    return sum((x - mean_x) * (y - mean_y) for x, y in points) / spread if spread else 0.0


class Soak:
    def __init__(self, prefix: WinePrefix, presses: int, seed: int):
        self.prefix = prefix
        self.total_presses = presses
        self.rng = random.Random(seed)
        self.seed = seed
        self.program = ProgramFolder(prefix)
        self.wintool = WinTool(prefix)
        self.port = free_port()
        self.failures = []
        self.presses_done = 0
        self.presses_by_mode = {mode: 0 for mode in MODES}
        self.mode = WINLIRC
        self.saved_mode = WINLIRC
        self.witness_lines = [0] * WITNESSES
        self.expected_witness_lines = 0
        self.winlirc_batches = 0
        self.quiet = {"saves": 0, "listener off and on": 0, "suspend and resume": 0}
        self.end_notes = []

    def fail(self, reason: str):
        print(f"FAULT: {reason}", flush=True)
        self.failures.append(reason)

    def start(self):
        self.program.add_quorvel()
        self.program.add_library("BeholdRC")
        self.program.write_quorvel_ini(button_map())
        seed_values(self.prefix, {PROGRAM_KEY: {"OSD": 1, "Balloon Hints": 1, "LIRC Server Enabled": 1,
                                                "LIRC Server Port": str(self.port), "Mode": WINLIRC,
                                                "Autorepeat": 1}})
        self.process = self.program.start()
        self.hwnd = self.wintool.wait_for_window(*MAIN_WINDOW, 30)
        if not self.hwnd:
            raise RuntimeError("the main window never appeared")
        self.control = self.program.sim_control()
        self.control.wait_ready(30)
        self.started = time.monotonic()
        self.windows_pid = next(window.pid for window in self.wintool.list() if window.hwnd == self.hwnd)
        self.linux_pid = wait_until(lambda: linux_pid_of("Quorvel.exe", self.prefix), 10)
        if not self.linux_pid:
            raise RuntimeError("no Linux process of Quorvel.exe")

    def run(self):
        self.start()
        self.sampler = Sampler(self)
        self.sampler.take()
        self.sampler.start()
        self.churn = Churn(self.port, self.seed + 1)
        self.churn.start()
        batch_size = max(50, min(250, self.total_presses // 12))
        batches = -(-self.total_presses // batch_size)
        suspends = 5 if self.total_presses >= 5000 else 3
        suspend_after = {round((k + 1) * batches / (suspends + 1)) - 1 for k in range(suspends)}
        others = [2, 3, 4]
        try:
            for index in range(batches):
                mode = WINLIRC if index % 2 == 0 else others[(index // 2) % 3]
                count = min(batch_size, self.total_presses - self.presses_done)
                self.choose_mode(mode)
                self.run_batch(index, mode, plan_batch(self.rng, count))
                if not self.process.is_running():
                    self.fail(f"the program ended by itself during batch {index + 1}")
                    return
                if index % 2 == 1:
                    self.save_settings()
                if index % 3 == 2:
                    self.switch_listener_off_and_on()
                if index in suspend_after:
                    self.suspend_and_resume()
        finally:
            self.churn.stop()
            self.sampler.stop()
        self.sampler.take()
        self.end_checks()

    def choose_mode(self, mode: int):
        item, radio, name = MODES[mode]
        self.wintool.post(self.hwnd, WM_COMMAND, MENU_ITEMS[item], 0)
        def selected():
            state = self.wintool.state(*MAIN_WINDOW, radio).get(radio)
            return state is not None and state.checked == 1

        if not wait_until(selected, 10):
            self.fail(f"the tray menu's {name} command did not select {radio}")
        self.mode = mode

    def run_batch(self, index: int, mode: int, presses: list):
        witnesses = self.connect_witnesses() if mode == WINLIRC else []
        polls = sum(press.polls + press.gap for press in presses)
        queue_presses(self.control, presses)
        try:
            self.control.wait_idle(timeout=polls * POLL_S * 4 + 30)
        except TimeoutError as error:
            self.fail(f"batch {index + 1}: the presses were not polled in time ({error})")
        self.presses_done += len(presses)
        self.presses_by_mode[mode] += len(presses)
        if witnesses:
            self.check_witnesses(index, presses, witnesses)

    def connect_witnesses(self) -> list:
        """Witnesses the server has taken, shown by a probe press each of them received."""
        for _ in range(5):
            try:
                witnesses = [LircClient(self.port) for _ in range(WITNESSES)]
            except OSError:
                time.sleep(0.5)
                continue
            if self.probe(witnesses):
                return witnesses
            for witness in witnesses:
                witness.close()
        raise RuntimeError("the server never served three new witness clients")

    def probe(self, witnesses: list) -> bool:
        def all_served():
            with self.control.atomic():
                self.control.press(PROBE_CODE, 1)
                self.control.gap(1)
            self.control.wait_idle()
            time.sleep(0.1)
            return all(PROBE_PREFIX in witness.received for witness in witnesses)

        served = wait_until(all_served, 20, interval=0)
        if not served or any(witness.wait_ended(0) for witness in witnesses):
            return False
        wait_quiet(witnesses, 0.2)
        return all(all(line.startswith(PROBE_PREFIX) for line in witness.take().splitlines()) for witness in witnesses)

    def check_witnesses(self, index: int, presses: list, witnesses: list):
        expected = winlirc_lines(presses)
        expected_text = b"".join(expected)
        for witness in witnesses:
            witness.read_until(len(expected_text), 15)
        wait_quiet(witnesses, 0.3)
        self.winlirc_batches += 1
        self.expected_witness_lines += len(expected)
        for slot, witness in enumerate(witnesses):
            got = witness.take().splitlines(keepends=True)
            self.witness_lines[slot] += len(got)
            if got != expected:
                first = next((n for n, (a, b) in enumerate(zip(expected, got)) if a != b), min(len(got), len(expected)))
                self.fail(f"batch {index + 1} (WinLIRC): witness {slot + 1} received {len(got)} lines for "
                          f"{len(expected)} expected; first difference at line {first + 1}: expected "
                          f"{expected[first:first + 1]}, got {got[first:first + 1]}")
            witness.close()

    def save_settings(self):
        if not self.wintool.click(*MAIN_WINDOW, "SaveSetSB"):
            self.fail("SaveSetSB could not be clicked")
            return
        self.quiet["saves"] += 1
        stored = (read_values(self.prefix, PROGRAM_KEY) or {}).get("Mode")
        if stored != self.mode:
            self.fail(f"after saving, the registry's Mode is {stored}, not {self.mode}")
        self.saved_mode = self.mode

    def accepts(self) -> bool:
        try:
            socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
            return True
        except OSError:
            return False

    def switch_listener_off_and_on(self):
        self.quiet["listener off and on"] += 1
        for clicks, listening in (("off", False), ("on", True)):
            if not self.wintool.click(*MAIN_WINDOW, "LIRCServerCB"):
                self.fail(f"LIRCServerCB could not be clicked to switch the listener {clicks}")
            elif not wait_until(lambda: self.accepts() == listening, 10):
                self.fail(f"switched {clicks}, the listener still {'refuses' if listening else 'accepts'} clients")

    def suspend_and_resume(self):
        self.quiet["suspend and resume"] += 1
        self.wintool.post(self.hwnd, WM_POWERBROADCAST, PBT_APMSUSPEND)
        time.sleep(0.3)
        before = self.control.status().polls
        time.sleep(0.6)
        if self.control.status().polls != before:
            self.fail("polling went on after a suspend was announced")
        self.wintool.post(self.hwnd, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC)
        try:
            self.control.wait_polls(self.control.status().polls + 3)
        except TimeoutError:
            self.fail("polling did not start again on resume")

    def end_checks(self):
        # The window answers: a held button shows its name, which goes with the release.
        def name_shown(expected):
            return lambda: self.wintool.texts(*MAIN_WINDOW, "NameST").get("NameST") == expected

        self.control.hold(PLAIN.code)
        held = wait_until(name_shown(PLAIN.name), 10)
        self.control.release()
        if held and wait_until(name_shown(""), 10):
            self.end_notes.append(f"the window showed a held button ({PLAIN.name}) and its release")
        else:
            self.fail("the window does not follow a held button")

        # The tray menu opens and closes.
        def open_menu():
            return next((window for window in self.wintool.list() if window.class_name == POPUP_MENU_CLASS
                         and window.visible and window.pid == self.windows_pid), None)

        self.wintool.post(self.hwnd, TRAY_CALLBACK, 0, WM_RBUTTONUP)
        menu = wait_until(open_menu, 10)
        if not menu:
            self.fail("the tray menu did not open")
        else:
            self.wintool.post(self.hwnd, WM_CANCELMODE)
            if not wait_until(lambda: not open_menu(), 5):
                self.wintool.post(menu.hwnd, WM_KEYDOWN, VK_ESCAPE)
            if wait_until(lambda: not open_menu(), 5):
                self.end_notes.append("the tray menu opened and closed")
            else:
                self.fail("the tray menu did not close")
        dialogs = self.wintool.dialogs()
        if dialogs:
            self.fail(f"message boxes are open: {[(dialog.title, dialog.text) for dialog in dialogs]}")

        # "Exit" saves the mode chosen last and ends.
        final_mode = 4 if self.saved_mode != 4 else 2
        self.choose_mode(final_mode)
        asked = time.monotonic()
        self.wintool.post(self.hwnd, WM_COMMAND, MENU_ITEMS["ExitPM"], 0)
        try:
            self.process.wait(30)
        except subprocess.TimeoutExpired:
            self.fail("the program did not end within 30 s of Exit")
            return
        ended_in = time.monotonic() - asked
        # A reg query right after the program's end can fail once; only a wrong or missing value counts.
        seen = []

        def stored_mode():
            seen[:] = [(read_values(self.prefix, PROGRAM_KEY) or {}).get("Mode")]
            return seen[0] == final_mode

        wait_until(stored_mode, 10, interval=0.5)
        stored = seen[0]
        if stored != final_mode:
            self.fail(f"after Exit the registry's Mode is {stored}, not the last chosen {final_mode}")
        else:
            self.end_notes.append(f"Exit saved Mode={stored} ({MODES[final_mode][2]}) and ended in {ended_in:.1f} s")

    def report(self):
        samples = self.sampler.samples
        print()
        print("Samples:")
        print(row_text(["minute", "presses"] + [title for _, title in FIGURES]))
        for sample in samples:
            print(row_text(sample_fields(sample)))
        later = [sample for sample in samples if sample["minute"] >= 1.0]
        unreported = []
        print()
        print(f"After minute one ({len(later)} samples): slope per minute (least squares) and growth, "
              f"mean of the last third against the first third")
        for name, title in FIGURES:
            values = [sample[name] for sample in samples]
            if all(value in (None, 0) for value in values):
                unreported.append(f"{title} ({'always 0' if None not in values else 'call fails'})")
                continue
            points = [(sample["minute"], sample[name]) for sample in later if sample[name] is not None]
            if len(points) < 3:
                print(f"  {title:14} not judged: fewer than three samples after minute one")
                continue
            third = max(1, len(points) // 3)
            first = sum(y for _, y in points[:third]) / third
            last = sum(y for _, y in points[-third:]) / third
            share, amount = ALLOWANCES[name]
            allowed = max(share * first, amount)
            verdict = "ok" if last - first <= allowed else "GROWS"
            print(f"  {title:14} slope {slope(points):+9.3f}/min   first {first:9.1f}   last {last:9.1f}   "
                  f"growth {last - first:+8.1f} (allowed {allowed:.1f})   {verdict}")
            if verdict != "ok":
                self.fail(f"{title} grows: {first:.1f} to {last:.1f} after minute one, more than {allowed:.1f}")
        print(f"  not reported by Wine: {', '.join(unreported) if unreported else 'none'}")

        print()
        print(f"Presses: {self.presses_done} in all; " +
              ", ".join(f"{MODES[mode][2]} {count}" for mode, count in self.presses_by_mode.items()))
        print(f"Witness clients (3 new ones per WinLIRC batch, {self.winlirc_batches} batches): lines expected "
              f"{self.expected_witness_lines} each; received " +
              ", ".join(f"witness {slot + 1}: {lines}" for slot, lines in enumerate(self.witness_lines)))
        finished = self.churn.finished
        lines = sorted(count for count, _ in finished)
        if lines:
            print(f"Churning clients: {len(finished)} connected (at most {self.churn.most_open} at once), "
                  f"{self.churn.refused} refused (listener off), {sum(ended for _, ended in finished)} "
                  f"ended by the server; press lines received: {sum(lines)} in all, per client min {lines[0]}, "
                  f"median {lines[len(lines) // 2]}, max {lines[-1]}")
        print("Quiet moments: " + ", ".join(f"{name} {count}" for name, count in self.quiet.items()))
        print("End: " + ("; ".join(self.end_notes) if self.end_notes else "-"))


def keep_artefacts(prefix: WinePrefix, program: ProgramFolder):
    """The programs' output (Wine's crash reports among it) and Quorvel's log, in build/soak-failed."""
    target = REPO / "build" / "soak-failed"
    shutil.rmtree(target, ignore_errors=True)
    target.mkdir(parents=True)
    if (prefix.path / "output").exists():
        shutil.copytree(prefix.path / "output", target / "output",
                        ignore=lambda folder, names: [name for name in names if "wintool" in name])
    for log in [*prefix.drive_c.glob("users/*/AppData/Local/Quorvel/Quorvel.log"), program.call_log_path]:
        if log.exists():
            shutil.copy2(log, target / log.name)
    print(f"Kept the programs' output and logs in {target}")


def main():
    seed = ARGS.seed if ARGS.seed is not None else random.randrange(1 << 31)
    print(f"Soak: {ARGS.presses} presses, seed {seed}", flush=True)
    xvfb = Xvfb()
    display = xvfb.start()
    work = Path(tempfile.mkdtemp(prefix="quorvel-soak-", dir=REPO / "build"))
    prefix = soak = None
    try:
        prefix = WinePrefix.create_template(work / "prefix", display)
        prefix.start_server()
        soak = Soak(prefix, ARGS.presses, seed)
        try:
            soak.run()
        except (RuntimeError, TimeoutError, OSError) as error:
            where = traceback.extract_tb(error.__traceback__)[-1]
            soak.fail(f"the run stopped: {error!r} in {where.name} ({Path(where.filename).name}:{where.lineno})")
            if hasattr(soak, "process") and not soak.process.is_running():
                soak.fail(f"the program had ended, exit code {soak.process.wait(1)}")
        if hasattr(soak, "sampler"):
            soak.report()
        if soak.failures:
            keep_artefacts(prefix, soak.program)
    finally:
        # Also when interrupted: the prefix's server and programs must not outlive the run.
        if prefix is not None:
            prefix.stop_server()
        xvfb.stop()
        shutil.rmtree(work, ignore_errors=True)
    print()
    if soak.failures:
        print("FAIL:")
        for reason in soak.failures:
            print(f"  {reason}")
        sys.exit(1)
    print("PASS")


if __name__ == "__main__":
    main()
