"""The on-screen display of presses: the window appears centred with the composed text, goes
after three seconds, and a newer press replaces it at once. Screenshots of what it shows are
kept in build/e2e/artefacts."""

import subprocess
import time

from harness.paths import WORK_DIR
from harness.ports import free_port
from harness.waiting import wait_until
from osd_windows import osd_windows, visible_osd
from quorvel import start_quorvel

PROGRAM_KEY = r"HKCU\Software\Vantrel\Quorvel"
ARTEFACTS = WORK_DIR / "artefacts"
SCREEN = (1280, 1440)
SHORT, LONG = 0xA35C, 0xA35D


def screenshot(program, name: str):
    ARTEFACTS.mkdir(parents=True, exist_ok=True)
    subprocess.run(["import", "-display", program.prefix.display, "-window", "root", str(ARTEFACTS / name)],
                   check=False, timeout=30)


def start_with_osd(program, wintool, **registry):
    program.prefix.reg_add(PROGRAM_KEY, "OSD", "1", "REG_DWORD")
    program.prefix.reg_add(PROGRAM_KEY, "LIRC Server Port", str(free_port()))
    for name, value in registry.items():
        program.prefix.reg_add(PROGRAM_KEY, name, str(value), "REG_DWORD")
    program.add_tool("osdprobe")
    return start_quorvel(program, wintool, ini={"Buttons": {f"{SHORT:08X}": "Power",
                                                            f"{LONG:08X}": "A much longer button name"}})


def test_press_shows_two_centred_lines_for_three_seconds(program, wintool):
    quorvel = start_with_osd(program, wintool)
    quorvel.control.press(SHORT, 2)
    window = wait_until(lambda: visible_osd(program), 10)
    assert window, osd_windows(program)
    shown_at = time.monotonic()
    screenshot(program, "osd-two-lines.png")
    _, left, top, width, height = window
    # "Power" and "WinLIRC" in 50-pixel Verdana: two lines, centred on the only monitor.
    assert width > 0 and 100 <= height < 150
    assert abs(left + width // 2 - SCREEN[0] // 2) <= 1
    assert abs(top + height // 2 - SCREEN[1] // 2) <= 1

    assert wait_until(lambda: visible_osd(program) is None, 10), "the display never went"
    assert time.monotonic() - shown_at > 1.5
    quorvel.exit()


def test_newer_press_replaces_the_display_at_once(program, wintool):
    quorvel = start_with_osd(program, wintool)
    quorvel.control.press(SHORT, 2)
    first = wait_until(lambda: visible_osd(program), 10)
    assert first
    quorvel.control.press(LONG, 2)
    second = wait_until(lambda: (lambda w: w if w and w[3] > first[3] else None)(visible_osd(program)), 10)
    assert second, osd_windows(program)
    screenshot(program, "osd-replaced.png")
    assert sum(1 for window in osd_windows(program) if window[0]) == 1
    quorvel.exit()


def test_display_2_with_one_monitor_shows_on_the_first(program, wintool):
    quorvel = start_with_osd(program, wintool, OSD2Display=1)
    quorvel.control.press(SHORT, 2)
    window = wait_until(lambda: visible_osd(program), 10)
    assert window
    _, left, top, width, height = window
    assert abs(left + width // 2 - SCREEN[0] // 2) <= 1
    assert abs(top + height // 2 - SCREEN[1] // 2) <= 1
    quorvel.exit()


def test_no_display_while_the_osd_setting_is_off(program, wintool):
    program.add_tool("osdprobe")
    quorvel = start_quorvel(program, wintool, ini={"Buttons": {f"{SHORT:08X}": "Power"}})
    quorvel.control.press(SHORT, 2)
    quorvel.control.wait_idle()
    time.sleep(0.5)
    assert visible_osd(program) is None
    quorvel.exit()
