"""Quorvel's main job, shown end to end: the program runs under Wine with the substitute
Beholder receiver and a sample button map, a scripted sequence of remote buttons is pressed,
and what the program made of each press is printed: the codes, name and repeat count its
window shows, and the lines a WinLIRC client on 127.0.0.1:8765 receives.

With a display (DISPLAY set) the program's tray icon, its window and the virtual remote appear
on that display; the window shows every press as it happens and stays until Enter is pressed
(or for a few seconds when there is no terminal to press it in). Without one the program runs
on a private headless display.

--network runs it without a card library: Debian's lircd is the LIRC server that Quorvel's
network receiver reads, and the buttons are pressed with irsend.

--screenshot PATH also saves a picture of the window, with a named button held, as PATH."""

import argparse
import os
import shutil
import socket
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from harness import SIM_DIR, ProgramFolder, WinePrefix, WinTool, Xvfb  # noqa: E402
from harness.ports import free_port  # noqa: E402
from harness.waiting import wait_until  # noqa: E402
from lircd_server import Lircd  # noqa: E402
from quorvel import RunningQuorvel  # noqa: E402
from quorvel_window import Desktop, QuorvelWindow  # noqa: E402

# (label, extended code, ticks held, lircd's name for the button): one tick is 50 ms.
SEQUENCE = [
    ("Power", 0x00BE000C, 2, "KEY_POWER"),
    ("Vol+ held for 1.5 s", 0x00BE0010, 30, "KEY_VOLUMEUP"),
    ("Mute", 0x00BE000D, 2, "KEY_MUTE"),
    ("1", 0x00BE0001, 2, "KEY_1"),
    ("an unnamed button", 0x00BE0052, 2, "KEY_OK"),
]
SCREENSHOT_BUTTON = 0x00BE0010
LIRC_PORT = 8765
SHOWN_WITHOUT_TERMINAL_S = 5


def read_lines(client: socket.socket, quiet_for: float = 0.4) -> list:
    lines, buffer = [], b""
    client.settimeout(quiet_for)
    while True:
        try:
            chunk = client.recv(4096)
        except socket.timeout:
            break
        if not chunk:
            break
        buffer += chunk
    for line in buffer.split(b"\n")[:-1]:
        lines.append(line.decode("cp1252"))
    return lines


def connect(port: int):
    try:
        return socket.create_connection(("127.0.0.1", port), timeout=5)
    except OSError:
        return None


SHOWN = ("Code1ST", "Code2ST", "NameST", "RepeatCountL")


class CardButtons:
    """Buttons of the substitute card, held for an exact number of polls."""

    def __init__(self, quorvel: RunningQuorvel):
        self.quorvel, self.control = quorvel, quorvel.control

    def hold(self, code: int, name: str, ticks: int):
        self.control.hold(code)
        start = self.control.wait_polls(1).polls
        self.control.wait_polls(start + ticks - 1, timeout=10)

    def release(self):
        self.control.release()
        self.control.wait_idle()

    def press(self, code: int, name: str, ticks: int) -> str:
        """What the window shows at the end of the hold."""
        self.hold(code, name, ticks)
        shown = self.quorvel.texts(*SHOWN)
        self.release()
        return (f"window: RC code {shown.get('Code1ST')}, extended code {shown.get('Code2ST')}, "
                f"name {shown.get('NameST')!r}, repeat count {shown.get('RepeatCountL')}")


class LircdButtons:
    """Buttons that lircd broadcasts: a first line, then a repeat line every 110 ms."""

    def __init__(self, server: Lircd, quorvel: RunningQuorvel):
        self.server, self.quorvel, self.held = server, quorvel, None

    def hold(self, code: int, name: str, ticks: int):
        self.held = self.server.hold_in_background(code, name)
        time.sleep(ticks * 0.05)

    def release(self):
        self.held.stop()
        wait_until(self._released, 5)

    def press(self, code: int, name: str, ticks: int) -> str:
        """What the button editor shows once the press is over: a short press is over before
        the window could be read from outside."""
        self.server.hold_in_background(code, name, ticks * 0.05).wait()
        wait_until(self._released, 5)
        shown = self.quorvel.texts("NameRCCodeST", "NameRCCodeExST", "NameE")
        return (f"editor: RC code {shown.get('NameRCCodeST')}, extended code {shown.get('NameRCCodeExST')}, "
                f"name {shown.get('NameE')!r}")

    def _released(self) -> bool:
        return self.quorvel.texts("Code2ST").get("Code2ST") == "00000000"


def press_sequence(quorvel: RunningQuorvel, buttons, client: socket.socket):
    for label, code, ticks, name in SEQUENCE:
        shown = buttons.press(code, name, ticks)
        lines = read_lines(client)
        print(f"Pressed {label} ({ticks} ticks):")
        print(f"  {shown}")
        for line in lines:
            print(f"  WinLIRC line: {line!r}")
        if not lines:
            print("  WinLIRC line: none")


def save_screenshot(window: QuorvelWindow, buttons, path: Path):
    """The window with a named button held, so that every group shows something."""
    buttons.hold(SCREENSHOT_BUTTON, "KEY_VOLUMEUP", 12)
    window.screenshot("demo").replace(path)
    buttons.release()
    print(f"Saved a picture of the window as {path}")


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--network", action="store_true",
                        help="receive from lircd over TCP instead of the substitute card")
    parser.add_argument("--screenshot", type=Path, help="save a picture of the window here")
    options = parser.parse_args()

    on_screen = bool(os.environ.get("DISPLAY"))
    xvfb = None if on_screen else Xvfb()
    display = os.environ["DISPLAY"] if on_screen else xvfb.start()
    work = Path(tempfile.mkdtemp(prefix="quorvel-demo-", dir=REPO / "build"))
    print("Preparing a Wine prefix (about 15 s the first time)...", flush=True)
    prefix = WinePrefix.create_template(work / "prefix", display)
    prefix.start_server()
    lircd = Lircd(work / "lircd", free_port()).start() if options.network else None
    try:
        # Wine draws the window's caption and frame itself, as a desktop would.
        prefix.reg_add(r"HKCU\Software\Wine\X11 Driver", "Decorated", "N")
        program = ProgramFolder(prefix)
        program.add_quorvel()
        library = None if lircd else "BeholdRC"
        if lircd:
            prefix.reg_add(r"HKCU\Software\Vantrel\Quorvel", "Network Receiver", f"127.0.0.1:{lircd.port}")
        else:
            program.add_library(library)
        program.add_file(REPO / "scripts" / "demo" / "Quorvel.ini")
        wintool = WinTool(prefix)
        process = program.start()
        try:
            quorvel = RunningQuorvel(program, wintool, process, library).wait_started()
        except (AssertionError, TimeoutError):
            print("Quorvel did not start; its output:", process.stderr()[-2000:])
            return 1
        window = QuorvelWindow(quorvel, Desktop(display))
        buttons = LircdButtons(lircd, quorvel) if lircd else CardButtons(quorvel)
        remote = None
        if on_screen:
            window.show()
        if on_screen and not lircd:
            program.add_file(SIM_DIR / "VirtualRemote.exe")
            remote = program.start("VirtualRemote.exe", [str(program.control_ports["BeholdRC"])])

        # Before the WinLIRC client's connection shows in the status bar instead.
        if lircd and not wait_until(lambda: quorvel.status()[0].endswith(" LIRC server connected"), 15):
            print(f"Quorvel did not connect to lircd on 127.0.0.1:{lircd.port}: {quorvel.status()[0]!r}")
            return 1
        # The listener is the last thing the program starts.
        client = wait_until(lambda: connect(LIRC_PORT), 15)
        if not client:
            print(f"Nothing listens on 127.0.0.1:{LIRC_PORT}; is another WinLIRC server running?")
            return 1
        receiver = f"lircd on 127.0.0.1:{lircd.port}" if lircd else "the substitute Beholder card"
        print(f"Quorvel runs in the tray, receiving from {receiver} (remote name "
              f"{quorvel.texts('RemoteNameE').get('RemoteNameE')!r}); a WinLIRC client is connected to "
              f"127.0.0.1:{LIRC_PORT}.\n")
        press_sequence(quorvel, buttons, client)
        client.close()

        if options.screenshot:
            window.show()
            save_screenshot(window, buttons, options.screenshot.resolve())
        if on_screen and sys.stdin.isatty():
            shown = "and the tray icon (top left) are" if lircd else ", the tray icon (top left) and the virtual remote are"
            input(f"\nThe window {shown} on screen; press Enter to end. ")
        elif on_screen:
            time.sleep(SHOWN_WITHOUT_TERMINAL_S)
        # "Exit" in the tray menu: closing the window would only send the program to the tray.
        window.choose("ExitPM")
        process.wait(30)
        if remote:
            remote.kill()
        if lircd:
            print("\nQuorvel ended.")
        else:
            calls = program.call_log().calls()
            print("\nQuorvel ended; calls it made into the receiver library:", ", ".join(calls[:6]), "...",
                  calls[-1])
        return 0
    finally:
        prefix.stop_server()
        if lircd:
            lircd.stop()
        shutil.rmtree(work, ignore_errors=True)
        if xvfb:
            xvfb.stop()


if __name__ == "__main__":
    sys.exit(main())
