"""Quorvel's main job, shown end to end: the program runs under Wine with the substitute
Beholder receiver and a sample button map, a scripted sequence of remote buttons is pressed,
and what the program made of each press is printed: the codes, name and repeat count its
window shows, and the lines a WinLIRC client on 127.0.0.1:8765 receives. With a display
(DISPLAY set) the window and the virtual remote stay on screen until Enter is pressed."""

import os
import socket
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests" / "e2e"))

from harness import MAIN_WINDOW, ProgramFolder, WinePrefix, WinTool, Xvfb  # noqa: E402
from harness.waiting import wait_until  # noqa: E402

# (label, extended code, polls held): one poll is one 50 ms tick.
SEQUENCE = [
    ("Power", 0x00BE000C, 2),
    ("Vol+ held for 1.5 s", 0x00BE0010, 30),
    ("Mute", 0x00BE000D, 2),
    ("1", 0x00BE0001, 2),
    ("an unnamed button", 0x00BE0052, 2),
]
LIRC_PORT = 8765
# A click on the tray icon, as the shell reports it to the main window.
TRAY_CALLBACK = 0x8000 + 2
WM_LBUTTONUP = 0x0202


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


def main() -> int:
    interactive = bool(os.environ.get("DISPLAY")) and sys.stdin.isatty()
    xvfb = None if interactive else Xvfb()
    display = os.environ["DISPLAY"] if interactive else xvfb.start()
    work = Path(tempfile.mkdtemp(prefix="quorvel-demo-", dir=REPO / "build"))
    print("Preparing a Wine prefix (about 15 s the first time)...", flush=True)
    prefix = WinePrefix.create_template(work / "prefix", display)
    prefix.start_server()
    try:
        program = ProgramFolder(prefix)
        program.add_quorvel()
        program.add_library("BeholdRC")
        program.add_file(REPO / "scripts" / "demo" / "Quorvel.ini")
        wintool = WinTool(prefix)
        quorvel = program.start()
        hwnd = wintool.wait_for_window(*MAIN_WINDOW, 30)
        if not hwnd:
            print("Quorvel did not start; its output:", quorvel.stderr()[-2000:])
            return 1
        control = program.sim_control()
        control.wait_ready()
        remote = None
        if interactive:
            program.add_tool("VirtualRemote")
            remote = program.start("VirtualRemote.exe", [str(program.control_ports["BeholdRC"])])

        client = socket.create_connection(("127.0.0.1", LIRC_PORT), timeout=5)
        print(f"Quorvel runs (remote name {wintool.texts(*MAIN_WINDOW, 'RCTypeL').get('RCTypeL')!r}); "
              f"a WinLIRC client is connected to 127.0.0.1:{LIRC_PORT}.\n")
        for label, code, polls in SEQUENCE:
            control.hold(code)
            start = control.wait_polls(1).polls
            control.wait_polls(start + polls - 1, timeout=10)
            shown = wintool.texts(*MAIN_WINDOW, "Code1ST", "Code2ST", "NameST", "RepeatCountL")
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
        client.close()
        if interactive:
            wintool.post(hwnd, TRAY_CALLBACK, 0, WM_LBUTTONUP)
            input("\nThe window and the virtual remote are on screen; press Enter to end. ")
        wintool.close(hwnd)
        quorvel.wait(30)
        if remote:
            remote.kill()
        print("\nQuorvel ended; calls it made into the receiver library:", ", ".join(program.call_log().calls()[:6]),
              "...", program.call_log().calls()[-1])
        return 0
    finally:
        prefix.stop_server()
        prefix.remove()
        if xvfb:
            xvfb.stop()


if __name__ == "__main__":
    sys.exit(main())
