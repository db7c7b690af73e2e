"""What the size of the button map costs a start and an "Exit" of Quorvel under Wine.

Usage (after scripts/build.sh win64; about two minutes with the defaults):
    /usr/bin/python3 bench/map_figures.py [--rounds 3] [--build build/win64]

Quorvel.exe with the substitute Beholder library, started and ended --rounds times with each
of two maps, alternating, in one Wine prefix: a one-button map, and 256 programs with 100
buttons each (every program in "Programs" with its own "Repeat" and "Keys", beside 100 global
buttons in "Buttons", "Repeat" and "Keys": 51,757 entries). For each run: the time from the start to
the library's first poll (the map is read before the receiver starts), and the time from
posting "Exit" (through the window tool, whose own start is counted) to the end of the
process, which includes saving the settings and the map. Printed: each run, then the medians
per map and their differences. Only figures are printed; nothing is asserted."""

import argparse
import statistics
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import wine_bench  # noqa: E402

if __name__ == "__main__":
    _options = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    _options.add_argument("--rounds", type=int, default=3, help="runs per map (default 3)")
    wine_bench.add_build_option(_options, REPO)
    ARGS = _options.parse_args()
    wine_bench.use_build(ARGS.build)

from harness import MAIN_WINDOW, ProgramFolder, SimControlError, WinTool  # noqa: E402
from quorvel_window import MENU_ITEMS, WM_COMMAND  # noqa: E402

GLOBAL_SECTIONS = ("Buttons", "Repeat", "Keys")
PROGRAM_SECTIONS = ("Repeat", "Keys")


def one_button_map() -> str:
    return "[RC]\r\nName=Bench\r\n[Buttons]\r\n0000A35C=Play\r\n[Keys]\r\n0000A35C=0020\r\n[Repeat]\r\n0000A35C=1\r\n"


def big_map(programs: int = 256, buttons: int = 100) -> str:
    lines = ["[RC]", "Name=Bench"]
    for section in GLOBAL_SECTIONS:
        lines.append(f"[{section}]")
        lines += [f"{0xA300 + b:08X}={'Button %d' % b if section == 'Buttons' else '0041'}" for b in range(buttons)]
    names = [f"program{p:03d}.exe" for p in range(programs)]
    lines.append("[Programs]")
    lines += [f"{name}=2" for name in names]
    for name in names:
        for section in PROGRAM_SECTIONS:
            lines.append(f"[{section}@{name}]")
            lines += [f"{0xA300 + b:08X}={'1' if section == 'Repeat' else '0042'}" for b in range(buttons)]
    return "\r\n".join(lines) + "\r\n"


def entries(text: str) -> int:
    return sum(1 for line in text.splitlines() if "=" in line)


EXPLORER_SETTLE_S = 3.0


def first_poll_after(control, started: float, timeout: float = 120.0) -> float:
    deadline = started + timeout
    while time.monotonic() < deadline:
        try:
            if control.status().polls > 0:
                return time.monotonic() - started
        except (OSError, SimControlError):
            pass
        time.sleep(0.005)
    raise RuntimeError("the library was never polled")


def measure(program: ProgramFolder, wintool: WinTool, text: str) -> dict:
    (program.path / "Quorvel.ini").write_text(text, encoding="cp1252", newline="")
    # Wine's explorer is still withdrawing the last run's tray window for about 2 s after its
    # exit and holds up a start meanwhile; Windows has no such wait.
    time.sleep(EXPLORER_SETTLE_S)
    started = time.monotonic()
    process = program.start()
    try:
        start_up = first_poll_after(program.sim_control(), started)
        hwnd = wintool.wait_for_window(*MAIN_WINDOW, 60)
        exiting = time.monotonic()
        wintool.post(hwnd, WM_COMMAND, MENU_ITEMS["ExitPM"], 0)
        process.wait(120)
        return {"start": start_up, "exit": time.monotonic() - exiting}
    finally:
        process.kill()


def main():
    with wine_bench.quorvel_folder(REPO, "map-figures") as program:
        wintool = WinTool(program.prefix)
        maps = {"one button": one_button_map(), "256 programs x 100 buttons": big_map()}
        runs = {name: [] for name in maps}
        for round_number in range(ARGS.rounds):
            for name, text in maps.items():
                figures = measure(program, wintool, text)
                runs[name].append(figures)
                print(f"round {round_number + 1}: {name:27} start to polling {figures['start']:5.2f} s, "
                      f"\"Exit\" {figures['exit']:5.2f} s", flush=True)
        print(f"{'map':27} {'entries':>8} {'file':>9} {'start to polling':>17} {'Exit':>7}   (medians)")
        medians = {}
        for name, text in maps.items():
            medians[name] = {key: statistics.median(run[key] for run in runs[name]) for key in ("start", "exit")}
            print(f"{name:27} {entries(text):8,} {len(text.encode('cp1252')) / 1024:7.0f} KB "
                  f"{medians[name]['start']:15.2f} s {medians[name]['exit']:5.2f} s")
        small, large = medians.values()
        print(f"{'difference':27} {'':8} {'':9} {large['start'] - small['start']:15.2f} s "
              f"{large['exit'] - small['exit']:5.2f} s   target: each within 1 s")


if __name__ == "__main__":
    main()
