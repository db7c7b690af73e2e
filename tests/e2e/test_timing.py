"""The "Timing" dialog of the settings, worked as a user works it: opened from the General tab and
the tray menu, filled in, closed with Enter, Esc or its buttons; what it sets checked in the
registry after the save."""

import pytest

from harness.waiting import wait_until
from lirc_clients import write_settings
from output_spy import SpyWindow
from quorvel import start_quorvel
from quorvel_window import CONTROL_IDS, Desktop, QuorvelWindow, center
from settings_registry import PROGRAM_KEY, read_values
from test_outputs import MODES

DIALOG = "#32770"
TIMING_FIELDS = ("RepeatDelayE", "RepeatIntervalE", "LongPressTimeE", "DoublePressTimeE")
TIMING_VALUES = ("Repeat Delay", "Repeat Interval", "Long Press Time", "Double Press Time")
PLAY = 0x00BE0035


@pytest.fixture
def desktop(wine):
    return Desktop(wine.display)


def open_dialog(wintool, title: str) -> int:
    hwnd = wintool.wait_for_window(DIALOG, title, 15)
    assert hwnd, f"the {title} dialog did not open"
    return hwnd


def wait_closed(wintool, title: str):
    assert wait_until(lambda: title not in [w.title for w in wintool.list() if w.class_name == DIALOG], 10), \
        f"the {title} dialog stayed open"


def control(wintool, title: str, name: str) -> int:
    return next(child[0] for child in wintool.children(DIALOG, title) if child[1] == CONTROL_IDS[name])


def fill(wintool, title: str, **texts):
    """Types each text into the dialog's field of that name."""
    for name, text in texts.items():
        assert wintool.set_text(control(wintool, title, name), text), name


def click(wintool, desktop, title: str, name: str):
    """A mouse click on a dialog's control, which also gives the dialog the keyboard."""
    desktop.click(*center(wintool.rect(control(wintool, title, name))))


def timing_stored(program) -> dict:
    values = read_values(program.prefix, PROGRAM_KEY) or {}
    return {name: values.get(name) for name in TIMING_VALUES}


def test_timing_dialog_from_the_general_tab_and_the_tray_menu_saves_clamped_times(program, wintool, desktop):
    write_settings(program.prefix, {"Mode": MODES["Keys"]})
    quorvel = start_quorvel(program, wintool, ini={"Keys": {f"{PLAY:08X}": "0041"}})
    window = QuorvelWindow(quorvel, desktop)
    window.show()
    window.click("TimingSB")
    dialog = open_dialog(wintool, "Timing")
    assert wintool.texts(DIALOG, "Timing", *TIMING_FIELDS) == {
        "RepeatDelayE": "450", "RepeatIntervalE": "50", "LongPressTimeE": "600", "DoublePressTimeE": "400"}

    # Enter is OK; a field without a number keeps the dialog open and says what it takes.
    fill(wintool, "Timing", RepeatDelayE="")
    click(wintool, desktop, "Timing", "RepeatDelayE")
    desktop.keys("Return")
    message = wintool.wait_for_dialog("whole number", 15)
    assert message and message.text == "Repeat delay: type a whole number of milliseconds from 100 to 5000."
    assert wintool.click_ok(message)
    assert wintool.wait_for_window(DIALOG, "Timing", 0) == dialog

    # A time beyond its bound is taken as the bound. Nothing is stored before "Save Settings".
    fill(wintool, "Timing", RepeatDelayE="300", RepeatIntervalE="120", LongPressTimeE="9000",
         DoublePressTimeE="250")
    assert wintool.click_ok(dialog)
    assert timing_stored(program) == dict.fromkeys(TIMING_VALUES)
    window.click("SaveSetSB")
    chosen = {"Repeat Delay": 300, "Repeat Interval": 120, "Long Press Time": 5000, "Double Press Time": 250}
    assert wait_until(lambda: timing_stored(program) == chosen, 10), timing_stored(program)

    # With the window in the tray, the tray menu's "Timing..." (three items above "Exit", below the
    # separator) opens the same dialog on the times as they are now; Esc cancels whatever was
    # typed, and the application in front before gets the next press.
    window.choose("MinimizePM")
    assert window.wait_visible(False)
    spy = SpyWindow(program, wintool).start()
    window.hover_tray_icon()
    left, top, right, bottom = window.open_tray_menu()
    item_height = (bottom - top) // 9  # eight items and a separator that is lower than an item
    desktop.click(left + 40, bottom - 12 - 3 * item_height)
    open_dialog(wintool, "Timing")
    assert wintool.texts(DIALOG, "Timing", *TIMING_FIELDS) == {
        "RepeatDelayE": "300", "RepeatIntervalE": "120", "LongPressTimeE": "5000", "DoublePressTimeE": "250"}
    fill(wintool, "Timing", RepeatDelayE="1000")
    click(wintool, desktop, "Timing", "RepeatDelayE")
    desktop.keys("Escape")
    wait_closed(wintool, "Timing")
    quorvel.control.press(PLAY, 1)
    # The spy may also get the release of Esc, which closed the dialog while it went down.
    assert wait_until(lambda: [line.replace("sys", "") for line in spy.inputs() if line.endswith(" 41")] ==
                      ["keydown 41", "keyup 41"], 10), spy.inputs()
    quorvel.exit()
    assert timing_stored(program) == chosen
