"""Buttons defined per program: the program in front when a press begins decides the
definition and the mode of the whole press. Copies of the spy window under other file names
are the programs."""

import configparser

import pytest

from harness import MAIN_WINDOW
from harness.ports import free_port
from harness.waiting import wait_until
from lirc_clients import connect_clients, lirc_line, write_settings
from output_spy import SpyWindow
from quorvel import start_quorvel, wait_for_text
from quorvel_window import WM_COMMAND, Desktop, QuorvelWindow
from test_outputs import MODES, key_events, received
from test_window import layout_faults

PLAY = 0xA35C
KEY = f"{PLAY:08X}"
MAP = {
    "Buttons": {KEY: "Play"},
    "Keys": {KEY: "0041"},
    "Programs": {"player.exe": "0", "Media.exe": str(MODES["WinLIRC"])},
    "Keys@Player.exe": {KEY: "0042"},
}


def start(program, wintool):
    port = free_port()
    write_settings(program.prefix, {"Mode": MODES["Keys"], "LIRC Server Port": str(port)})
    quorvel = start_quorvel(program, wintool, ini=MAP)
    return quorvel, connect_clients(port, 1)[0]


def press(quorvel, polls: int = 1):
    with quorvel.control.atomic() as control:
        control.press(PLAY, polls)
        control.gap(2)


def press_in(quorvel, name: str) -> tuple:
    """A spy window of that name brought in front, and the keys a press gives it."""
    spy = SpyWindow(quorvel.program, quorvel.wintool, name).start()
    press(quorvel)
    return spy, key_events(received(quorvel, spy, 2))


def test_a_press_takes_the_definition_and_mode_of_the_program_in_front(program, wintool):
    quorvel, client = start(program, wintool)
    player, keys = press_in(quorvel, "Player")
    assert keys == ["down 42", "up 42"]

    other, keys = press_in(quorvel, "Other")
    assert keys == ["down 41", "up 41"]
    assert client.received == b""

    # A program in "WinLIRC only" gets the line, and not the global key, while the current
    # mode is Keys.
    media = SpyWindow(program, wintool, "Media").start()
    press(quorvel)
    line = lirc_line(PLAY, 0, "Play", "RC")
    assert client.read_until(len(line)) == line
    received(quorvel, media, 0)
    assert media.inputs() == []
    assert len(player.inputs()) == 2 and len(other.inputs()) == 2

    # A hold begun in Player.exe keeps its definition after Other.exe comes in front.
    player.bring_to_front()
    press(quorvel, 60)
    assert wait_until(lambda: len(player.inputs()) > 2, 10)
    other.bring_to_front()
    quorvel.control.wait_idle()
    later = key_events(other.inputs()[2:])
    assert later and set(later) == {"down 42", "up 42"}
    assert client.received.count(b"\n") == 1
    quorvel.exit()


def test_a_press_with_a_shell_window_in_front_takes_the_program_the_user_came_from(program, wintool):
    """Not a window that stays on top of all others without the user having used it. The shell
    window is the task switcher's: Wine's tray functions look for a window of the task bar's class."""
    port = free_port()
    write_settings(program.prefix, {"Mode": MODES["Keys"], "LIRC Server Port": str(port)})
    quorvel = start_quorvel(program, wintool, ini={**MAP, "Keys@Mini.exe": {KEY: "0043"}})
    player = SpyWindow(program, wintool, "Player").start()
    SpyWindow(program, wintool, "Mini", topmost=True).start()
    player.bring_to_front()
    press(quorvel)
    assert key_events(received(quorvel, player, 2)) == ["down 42", "up 42"]

    switcher = SpyWindow(program, wintool, "Switcher", class_name="TaskSwitcherWnd").start()
    press(quorvel)
    assert key_events(received(quorvel, switcher, 2)) == ["down 42", "up 42"]
    quorvel.exit()


def saved_ini(program) -> configparser.ConfigParser:
    parser = configparser.ConfigParser(strict=False, interpolation=None)
    parser.optionxform = str
    parser.read_string((program.path / "Quorvel.ini").read_bytes().decode("cp1252"))
    return parser


@pytest.fixture
def desktop(wine):
    return Desktop(wine.display)


ID_YES, ID_NO = 6, 7


def answer_question(wintool, dialog, button_id: int):
    """Chooses "Yes" or "No" in a question box, as its button does, until the box is gone."""
    def answered():
        wintool.post(dialog.hwnd, WM_COMMAND, button_id, 0)
        return wait_until(lambda: all(shown.hwnd != dialog.hwnd for shown in wintool.dialogs()), 2)

    assert wait_until(answered, 20), "the question stayed open"


PAGE = ("ProgramCB", "ProgramModeCB", "ProgramAddE", "ProgramAddB", "ProgramBrowseB", "ProgramDefinitionL",
        "ProgramUseGlobalB", "ProgramRemoveB")


@pytest.mark.parametrize("dpi", [96, 192])
def test_the_programs_group_adds_teaches_and_removes_and_exit_saves_it(program, wintool, desktop, dpi):
    program.prefix.reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", str(dpi), "REG_DWORD")
    quorvel = start_quorvel(program, wintool, ini={"Buttons": {KEY: "Play"}, "Keys": {KEY: "0041"},
                                                   "Foreign": {"kept": "1"}})
    window = QuorvelWindow(quorvel, desktop)
    window.show()
    # The group lies below everything that was there before, inside the window.
    below = window.control_rect("DonateI")[3]
    frame = window.rect()
    rects = [window.control_rect(name) for name in PAGE]
    for number, (left, top, right, bottom) in enumerate(rects):
        assert frame[0] <= left and right <= frame[2] and below < top and bottom <= frame[3], PAGE[number]
        for other in rects[number + 1:]:
            assert right <= other[0] or other[2] <= left or bottom <= other[1] or other[3] <= top, PAGE[number]
    assert set(wintool.hints(*MAIN_WINDOW, *PAGE)) == set(PAGE)

    def add(name: str):
        assert wintool.set_text(window.control_hwnd("ProgramAddE"), name)
        assert wintool.click(*MAIN_WINDOW, "ProgramAddB")

    def shown(control: str) -> str:
        return quorvel.texts(control)[control]

    add("bad=name.exe")
    dialog = wintool.wait_for_dialog("cannot hold", 10)
    assert dialog and wintool.click_ok(dialog)
    add("Player.exe")
    # A name typed without an extension would never match a program: it gets ".exe".
    add("Media")
    assert quorvel.status()[0] == "Added Media.exe: a program's name ends in .exe"
    assert wintool.items(*MAIN_WINDOW, "ProgramCB") == (2, ["All programs", "Player.exe", "Media.exe"])
    assert wintool.select(*MAIN_WINDOW, "ProgramModeCB", MODES["WinLIRC"])
    assert wintool.items(*MAIN_WINDOW, "ProgramModeCB") == (
        1, ["Current mode", "WinLIRC only", "Keys", "Mouse", "Messages"])

    # Teaching Media.exe a button, then giving it back to the global map.
    quorvel.control.press(PLAY, 2)
    quorvel.control.wait_idle()
    assert wait_until(lambda: shown("ProgramDefinitionL") == "Uses global", 10)
    assert wintool.click(*MAIN_WINDOW, "KeyRepeatCB")
    assert wintool.click(*MAIN_WINDOW, "SaveButtonPropertiesSB")
    assert wait_until(lambda: shown("ProgramDefinitionL") == "Own definition", 10)
    assert layout_faults(wintool.layout(*MAIN_WINDOW), dpi) == []
    assert wintool.click(*MAIN_WINDOW, "ProgramUseGlobalB")
    assert wait_until(lambda: shown("ProgramDefinitionL") == "Uses global", 10)

    # Teaching Player.exe, then removing it whole, once the user has said yes.
    assert wintool.select(*MAIN_WINDOW, "ProgramCB", 1)
    assert wintool.click(*MAIN_WINDOW, "KeyRepeatCB")
    assert wintool.click(*MAIN_WINDOW, "SaveButtonPropertiesSB")
    assert wait_until(lambda: shown("ProgramDefinitionL") == "Own definition", 10)
    for answer in (ID_NO, ID_YES):
        assert wintool.click(*MAIN_WINDOW, "ProgramRemoveB")
        dialog = wintool.wait_for_dialog("Remove Player.exe", 10)
        assert dialog and dialog.text == "Remove Player.exe and its own definitions of 1 button?", dialog
        answer_question(wintool, dialog, answer)
        kept = (1, ["All programs", "Player.exe", "Media.exe"]) if answer == ID_NO else (0, ["All programs", "Media.exe"])
        assert wait_until(lambda: wintool.items(*MAIN_WINDOW, "ProgramCB") == kept, 10)
    assert shown("ProgramDefinitionL") == ""

    # The global map is untouched: the editor shows it again.
    assert quorvel.wintool.state(*MAIN_WINDOW, "KeyRepeatCB")["KeyRepeatCB"].checked == 1
    quorvel.exit()
    ini = saved_ini(program)
    assert dict(ini["Programs"]) == {"Media.exe": "1"}
    assert not [name for name in ini.sections() if name.endswith("@Player.exe")]
    assert all(not ini[name] for name in ini.sections() if name.endswith("@Media.exe"))
    assert dict(ini["Keys"]) == {KEY: "0041"} and dict(ini["Foreign"]) == {"kept": "1"}


def test_edits_made_before_choosing_the_program_are_saved_for_it(program, wintool, desktop):
    write_settings(program.prefix, {"Mode": MODES["Keys"], "LIRC Server Enabled": 0})
    quorvel = start_quorvel(program, wintool, ini={"Buttons": {KEY: "Play"}, "Keys": {KEY: "0041"},
                                                   "Programs": {"Player.exe": "0"}})
    window = QuorvelWindow(quorvel, desktop)
    window.show()
    quorvel.control.press(PLAY, 2)
    wait_for_text(quorvel, "NameE", "Play")

    # Edit the button, choose the program it is for, save: the program gets the edits.
    assert wintool.select(*MAIN_WINDOW, "KeyE", 0)
    assert wintool.select(*MAIN_WINDOW, "ProgramCB", 1)
    assert quorvel.texts("KeyE", "ProgramDefinitionL") == {"KeyE": "Tab", "ProgramDefinitionL": "Uses global"}
    assert wintool.click(*MAIN_WINDOW, "SaveButtonPropertiesSB")
    wait_for_text(quorvel, "ProgramDefinitionL", "Own definition")

    assert press_in(quorvel, "Player")[1] == ["down 09", "up 09"]
    assert press_in(quorvel, "Other")[1] == ["down 41", "up 41"]
    quorvel.exit()
