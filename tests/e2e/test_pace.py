"""A button's own pace and its double press. Presses are reported for an exact number of polls,
so every keystroke's tick is known without timing anything."""

import configparser

import pytest

from harness import MAIN_WINDOW
from harness.ports import free_port
from harness.waiting import wait_until
from lirc_clients import connect_clients, expected_lines, write_settings
from output_spy import SpyWindow
from quorvel import start_quorvel, wait_for_text
from quorvel_window import Desktop, QuorvelWindow
from test_long_press import balloon
from test_outputs import MODES, key_events, received

OK, STOP, FAST, SPEEDING, PLAIN = 0x00BE0010, 0x00BE0011, 0x00BE0012, 0x00BE0013, 0x00BE0014


def key(code: int, gesture: str = "") -> str:
    return f"{code:08X}" + (f"-{gesture}" if gesture else "")


def strokes(vk: str, count: int) -> list:
    return [f"down {vk}", f"up {vk}"] * count


def test_each_button_repeats_at_its_own_pace_and_its_lines_at_the_usual_one(program, wintool):
    port = free_port()
    # The settings' pace: the first repeat after 200 ms (4 ticks), then every 100 ms (2 ticks).
    write_settings(program.prefix, {"Mode": MODES["WinLIRC"], "LIRC Server Port": str(port),
                                    "Repeat Delay": 200, "Repeat Interval": 100})
    quorvel = start_quorvel(program, wintool, ini={
        "Buttons": {key(OK): "Slow"},
        "Keys": {key(OK): "0041", key(FAST): "0042", key(SPEEDING): "0043", key(PLAIN): "0044"},
        # In whole ticks, rounded up: 10 and 4; 2 and 1; 2, 4 and 1, the interval halving every second.
        "Pace": {key(OK): "480,160", key(FAST): "100, 50", key(SPEEDING): "100,200,50"},
    })
    client = connect_clients(port, 1)[0]
    spy = SpyWindow(program, wintool).start()
    with quorvel.control.atomic() as control:
        control.press(OK, 24)  # hold counts 0, 10, 14, 18 and 22
        control.gap(2)
        control.press(FAST, 10)  # 0, then 2 to 9
        control.gap(2)
        control.press(SPEEDING, 46)  # 0, 2, every 4 to 22, every 2 to 42, then every tick
        control.gap(2)
        control.press(PLAIN, 10)  # 0, 4, 6 and 8
    expected = strokes("41", 5) + strokes("42", 9) + strokes("43", 20) + strokes("44", 4)
    assert key_events(received(quorvel, spy, len(expected))) == expected
    # The lines go out at the press and every second tick from hold count 10, whatever the pace.
    lines = (expected_lines(OK, 24, "Slow", "RC") + expected_lines(FAST, 10, key(FAST), "RC") +
             expected_lines(SPEEDING, 46, key(SPEEDING), "RC") + expected_lines(PLAIN, 10, key(PLAIN), "RC"))
    assert client.read_until(len(b"".join(lines))) == b"".join(lines)
    quorvel.exit()


def test_a_second_press_in_time_is_the_double_press_and_a_single_one_waits_for_it(program, wintool):
    port = free_port()
    write_settings(program.prefix, {"Mode": MODES["WinLIRC"], "LIRC Server Port": str(port), "Balloon Hints": 1})
    quorvel = start_quorvel(program, wintool, ini={
        "Buttons": {key(OK): "OK"},
        "Keys": {key(OK): "0041", key(OK, "Double"): "0042", key(STOP): "0043"},
        "Programs": {"Media.exe": "0"},
        "Keys@Media.exe": {key(OK): "0041", key(OK, "Double"): "0044"},
    })
    client = connect_clients(port, 1)[0]
    spy = SpyWindow(program, wintool).start()

    # The second press begins 4 ticks after the first ended, within 400 ms: only the double press.
    with quorvel.control.atomic() as control:
        control.press(OK, 2)
        control.gap(4)
        control.press(OK, 2)
    assert key_events(received(quorvel, spy, 2)) == strokes("42", 1)
    balloon(wintool, "Name: OK (double)\rCode: 00BE0010")

    with quorvel.control.atomic() as control:
        control.press(OK, 2)  # alone: its key comes 8 ticks after its release
        control.gap(12)
        control.press(OK, 2)  # 10 ticks apart: two single presses
        control.gap(10)
        control.press(OK, 2)
        control.gap(12)
        control.press(OK, 2)  # another button between: no double press
        control.gap(2)
        control.press(STOP, 2)
        control.gap(2)
        control.press(OK, 2)
        control.gap(12)
    expected = strokes("42", 1) + strokes("41", 3) + strokes("41", 1) + strokes("43", 1) + strokes("41", 1)
    assert key_events(received(quorvel, spy, len(expected))) == expected
    # Each press gives its line as it begins, double press or not.
    names = {OK: "OK", STOP: key(STOP)}
    lines = b"".join(line for code in [OK] * 6 + [STOP, OK] for line in expected_lines(code, 2, names[code], "RC"))
    assert client.read_until(len(lines)) == lines

    # A program's own double press, in its window.
    media = SpyWindow(program, wintool, "Media").start()
    with quorvel.control.atomic() as control:
        control.press(OK, 2)
        control.gap(3)
        control.press(OK, 2)
    assert key_events(received(quorvel, media, 2)) == strokes("44", 1)
    quorvel.exit()


@pytest.fixture
def desktop(wine):
    return Desktop(wine.display)


def test_two_quick_presses_in_the_window_teach_the_double_press(program, wintool, desktop):
    write_settings(program.prefix, {"Mode": MODES["Keys"], "LIRC Server Enabled": 0})
    quorvel = start_quorvel(program, wintool, ini={"Buttons": {key(OK): "OK"}, "Keys": {key(OK): "0041"}})
    window = QuorvelWindow(quorvel, desktop)
    window.show()

    with quorvel.control.atomic() as control:
        control.press(OK, 2)
        control.gap(3)
        control.hold(OK)
    wait_for_text(quorvel, "NameGB", "RC Button Properties: double press")
    quorvel.control.release()
    assert quorvel.texts("NameE", "KeyE") == {"NameE": "OK (double)", "KeyE": "None"}
    assert wintool.select(*MAIN_WINDOW, "KeyE", 0)
    assert wintool.click(*MAIN_WINDOW, "SaveButtonPropertiesSB")
    assert wait_until(lambda: quorvel.status()[0].startswith("'OK (double)' is defined"), 10), quorvel.status()

    # Elsewhere the double press sends Tab, and a single press its own key once no second one came.
    other = SpyWindow(program, wintool, "Other").start()
    with quorvel.control.atomic() as control:
        control.press(OK, 2)
        control.gap(3)
        control.press(OK, 2)
        control.gap(3)
        control.press(OK, 2)
        control.gap(12)
    assert key_events(received(quorvel, other, 4)) == strokes("09", 1) + strokes("41", 1)
    quorvel.exit()

    ini = configparser.ConfigParser(strict=False, interpolation=None)
    ini.optionxform = str
    ini.read_string((program.path / "Quorvel.ini").read_bytes().decode("cp1252"))
    assert dict(ini["Keys"]) == {key(OK): "0041", key(OK, "Double"): "0009"}
    assert ini["Repeat"][key(OK, "Double")] == "0"
