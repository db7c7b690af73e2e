"""Long presses: a button held to the long-press time does what its "-Long" key defines, and
then its own outputs wait for the release. Presses are reported for an exact number of polls,
so the length of each press is known in ticks without timing anything."""

import configparser

import pytest

from harness import MAIN_WINDOW
from harness.ports import free_port
from harness.waiting import wait_until
from lirc_clients import connect_clients, lirc_line, write_settings
from output_spy import SpyWindow
from quorvel import start_quorvel, wait_for_text
from quorvel_window import Desktop, QuorvelWindow
from test_outputs import MODES, key_events, received

OK, STOP, VOLUME = 0x00BE0010, 0x00BE0011, 0x00BE0012


def key(code: int, long: bool = False) -> str:
    return f"{code:08X}" + ("-Long" if long else "")


def balloon(wintool, text: str):
    assert wait_until(lambda: wintool.tooltips() == [text], 15), (text, wintool.tooltips())


def test_a_tap_acts_at_its_release_and_a_hold_gives_only_its_long_press(program, wintool):
    write_settings(program.prefix, {"Mode": MODES["Keys"], "LIRC Server Enabled": 0, "Balloon Hints": 1})
    quorvel = start_quorvel(program, wintool, ini={
        "Buttons": {key(OK): "OK", key(STOP, True): "Close player"},
        "Keys": {key(OK): "0041", key(OK, True): "0042", key(STOP): "0043", key(STOP, True): "0044",
                 key(VOLUME): "0045", key(VOLUME, True): "0046"},
        # The long press of VOLUME has no entry, so it repeats.
        "Repeat": {key(OK, True): "0", key(STOP, True): "0"},
    })
    spy = SpyWindow(program, wintool).start()

    # Held short of the long-press time (12 ticks by default), the button does nothing until released.
    quorvel.control.hold(OK)
    quorvel.control.wait_polls(quorvel.control.status().polls + 8)
    assert spy.inputs() == []
    quorvel.control.release()
    assert key_events(received(quorvel, spy, 2)) == ["down 41", "up 41"]
    balloon(wintool, "Name: OK\rCode: 00BE0010")

    # Hold counts 0 to 12: the long press fires on 12, once; its name is the button's with " (long)".
    quorvel.control.press(OK, 13)
    assert key_events(received(quorvel, spy, 4)[2:]) == ["down 42", "up 42"]
    balloon(wintool, "Name: OK (long)\rCode: 00BE0010")

    with quorvel.control.atomic() as control:
        # Fires on hold count 12 and repeats on 21 and 22, as a press repeats from hold count 9.
        control.press(VOLUME, 23)
        control.gap(2)
        control.press(STOP, 12)
        control.gap(2)
        control.press(STOP, 13)
    expected = ["down 46", "up 46"] * 3 + ["down 43", "up 43", "down 44", "up 44"]
    assert key_events(received(quorvel, spy, 4 + len(expected))[4:]) == expected
    balloon(wintool, "Name: Close player\rCode: 00BE0011")
    quorvel.exit()


def test_a_compro_key_code_has_its_long_press(program, wintool):
    code = 0x1A5
    write_settings(program.prefix, {"Mode": MODES["Keys"], "LIRC Server Enabled": 0})
    quorvel = start_quorvel(program, wintool, library="RemoteSdk", ini={
        "Keys": {key(code): "0041", key(code, True): "0042"}, "Repeat": {key(code, True): "0"}})
    spy = SpyWindow(program, wintool).start()
    with quorvel.control.atomic() as control:
        control.press(code, 3)
        control.gap(2)
        control.press(code, 13)
    assert key_events(received(quorvel, spy, 4)) == ["down 41", "up 41", "down 42", "up 42"]
    quorvel.exit()


def test_a_programs_own_long_press_lines_unchanged_and_the_lowest_long_press_time(program, wintool):
    # The player's own WinLIRC mode gives lines only; elsewhere the keys of the current mode.
    port = free_port()
    # 50 ms is below the bound: the long press fires after 200 ms, on hold count 4.
    write_settings(program.prefix, {"Mode": MODES["Keys"], "LIRC Server Port": str(port), "Long Press Time": 50})
    quorvel = start_quorvel(program, wintool, ini={
        "Buttons": {key(OK): "OK"},
        "Keys": {key(OK): "0041", key(OK, True): "0042"},
        "Programs": {"Media.exe": str(MODES["WinLIRC"])},
        "Keys@Media.exe": {key(OK, True): "0044"},
    })
    client = connect_clients(port, 1)[0]
    media = SpyWindow(program, wintool, "Media").start()

    with quorvel.control.atomic() as control:
        control.press(OK, 4)
        control.gap(2)
        control.press(OK, 5)
        control.gap(2)
        # Lines on hold counts 0, 10 and 12 as without a long press; the long press once, on 4.
        control.press(OK, 13)
    lines = [lirc_line(OK, repeat, "OK", "RC") for repeat in (0, 0, 0, 2, 3)]
    assert client.read_until(len(b"".join(lines))) == b"".join(lines)

    # Elsewhere the global long press, in the current mode: a key and no line.
    other = SpyWindow(program, wintool, "Other").start()
    quorvel.control.press(OK, 5)
    assert key_events(received(quorvel, other, 2)) == ["down 42", "up 42"]
    assert client.received == b"".join(lines)
    assert key_events(media.inputs()) == []
    quorvel.exit()


@pytest.fixture
def desktop(wine):
    return Desktop(wine.display)


def test_a_hold_in_the_window_teaches_the_long_press_and_exit_saves_it(program, wintool, desktop):
    write_settings(program.prefix, {"LIRC Server Port": str(free_port())})
    quorvel = start_quorvel(program, wintool, ini={"Buttons": {key(OK): "OK"}, "Keys": {key(OK): "0041"}})
    window = QuorvelWindow(quorvel, desktop)
    window.show()

    quorvel.control.hold(OK)
    wait_for_text(quorvel, "NameGB", "RC Button Properties: long press")
    assert quorvel.texts("NameRCCodeExST") == {"NameRCCodeExST": "00BE0010"}
    window.screenshot("window-long-press")
    quorvel.control.release()
    # A new long press goes by the button's name and does not repeat until told to.
    assert quorvel.texts("NameE", "KeyE") == {"NameE": "OK (long)", "KeyE": "None"}
    assert wintool.state(*MAIN_WINDOW, "KeyRepeatCB")["KeyRepeatCB"].checked == 0
    assert wintool.set_text(window.control_hwnd("NameE"), "Menu")
    assert wintool.click(*MAIN_WINDOW, "SaveButtonPropertiesSB")
    assert wait_until(lambda: quorvel.status()[0] == "'Menu' is defined; Save Settings writes it to the file", 10), \
        quorvel.status()

    # A tap shows the button itself again.
    quorvel.control.press(OK, 2)
    wait_for_text(quorvel, "NameGB", "RC Button Properties")
    assert quorvel.texts("NameE") == {"NameE": "OK"}
    quorvel.exit()

    ini = configparser.ConfigParser(strict=False, interpolation=None)
    ini.optionxform = str
    ini.read_string((program.path / "Quorvel.ini").read_bytes().decode("cp1252"))
    assert dict(ini["Buttons"]) == {key(OK): "OK", key(OK, True): "Menu"}
    assert dict(ini["Keys"]) == {key(OK): "0041", key(OK, True): "0000"}
    assert ini["Repeat"][key(OK, True)] == "0"


def test_a_long_press_taught_for_one_program_leaves_the_button_repeating_in_every_other(program, wintool, desktop):
    write_settings(program.prefix, {"Mode": MODES["Keys"], "LIRC Server Enabled": 0})
    quorvel = start_quorvel(program, wintool, ini={
        "Buttons": {key(VOLUME): "Vol+"}, "Keys": {key(VOLUME): "0041"}, "Programs": {"Notes.exe": "0"}})
    window = QuorvelWindow(quorvel, desktop)
    window.show()

    # Taught through the window with Notes.exe chosen: a long press that sends Tab there.
    assert wintool.select(*MAIN_WINDOW, "ProgramCB", 1)
    quorvel.control.hold(VOLUME)
    wait_for_text(quorvel, "NameGB", "RC Button Properties: long press")
    quorvel.control.release()
    assert wintool.select(*MAIN_WINDOW, "KeyE", 0)
    assert wintool.click(*MAIN_WINDOW, "SaveButtonPropertiesSB")
    wait_for_text(quorvel, "ProgramDefinitionL", "Own definition")

    # Held with another program in front, Vol+ repeats as before: hold counts 0 and 9 to 19.
    other = SpyWindow(program, wintool, "Other").start()
    quorvel.control.press(VOLUME, 20)
    assert key_events(received(quorvel, other, 24)) == ["down 41", "up 41"] * 12
    notes = SpyWindow(program, wintool, "Notes").start()
    quorvel.control.press(VOLUME, 13)
    assert key_events(received(quorvel, notes, 2)) == ["down 09", "up 09"]
    quorvel.exit()

    ini = configparser.ConfigParser(strict=False, interpolation=None)
    ini.optionxform = str
    ini.read_string((program.path / "Quorvel.ini").read_bytes().decode("cp1252"))
    assert dict(ini["Buttons"]) == {key(VOLUME): "Vol+"}
    assert dict(ini["Keys"]) == {key(VOLUME): "0041"}
    assert dict(ini["Keys@Notes.exe"]) == {key(VOLUME, True): "0009"}
