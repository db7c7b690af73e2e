"""Quorvel's main job, shown end to end: the program runs under Wine with the substitute
Beholder receiver and a sample button map, a scripted sequence of remote buttons is pressed,
and what the program made of each press is printed: the codes, name and repeat count its
window shows, and the lines a WinLIRC client on 127.0.0.1:8765 receives.

With a display (DISPLAY set) the program's tray icon, its window and the virtual remote appear
on that display; the window shows every press as it happens and stays until Enter is pressed
(or for a few seconds when there is no terminal to press it in). Without one the program runs
on a private headless display.

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
from harness.waiting import wait_until  # noqa: E402
from quorvel import RunningQuorvel  # noqa: E402
from quorvel_window import Desktop, QuorvelWindow  # noqa: E402

# (label, extended code, polls held): one poll is one 50 ms tick.
SEQUENCE = [
    ("Power", 0x00BE000C, 2),
    ("Vol+ held for 1.5 s", 0x00BE0010, 30),
    ("Mute", 0x00BE000D, 2),
    ("1", 0x00BE0001, 2),
    ("an unnamed button", 0x00BE0052, 2),
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


def press_sequence(quorvel: RunningQuorvel, client: socket.socket):
    control = quorvel.control
    for label, code, polls in SEQUENCE:
        control.hold(code)
        start = control.wait_polls(1).polls
        control.wait_polls(start + polls - 1, timeout=10)
        shown = quorvel.texts("Code1ST", "Code2ST", "NameST", "RepeatCountL")
        control.release()
        control.wait_idle()
        lines = read_lines(client)
        print(f"Pressed {label} ({polls} ticks):")
        print(f"  window: RC code {shown.get('Code1ST')}, extended code {shown.get('Code2ST')}, "
              f"name {shown.get('NameST')!r}, repeat count {shown.get('RepeatCountL')}")
        for line in lines:
            print(f"  WinLIRC line: {line!r}")
        if not lines:
            print("  WinLIRC line: none")


def save_screenshot(window: QuorvelWindow, path: Path):
    """The window with a named button held, so that every group shows something."""
    control = window.quorvel.control
    control.hold(SCREENSHOT_BUTTON)
    control.wait_polls(control.status().polls + 12)
    window.screenshot("demo").replace(path)
    control.release()
    control.wait_idle()
    print(f"Saved a picture of the window as {path}")


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--screenshot", type=Path, help="save a picture of the window here")
    options = parser.parse_args()

    on_screen = bool(os.environ.get("DISPLAY"))
    xvfb = None if on_screen else Xvfb()
    display = os.environ["DISPLAY"] if on_screen else xvfb.start()
    work = Path(tempfile.mkdtemp(prefix="quorvel-demo-", dir=REPO / "build"))
    print("Preparing a Wine prefix (about 15 s the first time)...", flush=True)
    prefix = WinePrefix.create_template(work / "prefix", display)
    prefix.start_server()
    try:
        # Wine draws the window's caption and frame itself, as a desktop would.
        prefix.reg_add(r"HKCU\Software\Wine\X11 Driver", "Decorated", "N")
        program = ProgramFolder(prefix)
        program.add_quorvel()
        program.add_library("BeholdRC")
        program.add_file(REPO / "scripts" / "demo" / "Quorvel.ini")
        wintool = WinTool(prefix)
        process = program.start()
        try:
            quorvel = RunningQuorvel(program, wintool, process, "BeholdRC").wait_started()
        except (AssertionError, TimeoutError):
            print("Quorvel did not start; its output:", process.stderr()[-2000:])
            return 1
        window = QuorvelWindow(quorvel, Desktop(display))
        remote = None
        if on_screen:
            window.show()
            program.add_file(SIM_DIR / "VirtualRemote.exe")
            remote = program.start("VirtualRemote.exe", [str(program.control_ports["BeholdRC"])])

        # The listener is the last thing the program starts.
        client = wait_until(lambda: connect(LIRC_PORT), 15)
        if not client:
            print(f"Nothing listens on 127.0.0.1:{LIRC_PORT}; is another WinLIRC server running?")
            return 1
        print(f"Quorvel runs in the tray (remote name {quorvel.texts('RCTypeL').get('RCTypeL')!r}); "
              f"a WinLIRC client is connected to 127.0.0.1:{LIRC_PORT}.\n")
        press_sequence(quorvel, client)
        client.close()

        if options.screenshot:
            window.show()
            save_screenshot(window, options.screenshot.resolve())
        if on_screen and sys.stdin.isatty():
            input("\nThe window, the tray icon (top left) and the virtual remote are on screen; "
                  "press Enter to end. ")
        elif on_screen:
            time.sleep(SHOWN_WITHOUT_TERMINAL_S)
        # "Exit" in the tray menu: closing the window would only send the program to the tray.
        window.choose("ExitPM")
        process.wait(30)
        if remote:
            remote.kill()
        calls = program.call_log().calls()
        print("\nQuorvel ended; calls it made into the receiver library:", ", ".join(calls[:6]), "...", calls[-1])
        return 0
    finally:
        prefix.stop_server()
        shutil.rmtree(work, ignore_errors=True)
        if xvfb:
            xvfb.stop()


if __name__ == "__main__":
    sys.exit(main())
