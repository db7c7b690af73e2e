"""The "Timing" dialog of the settings (with the scan codes' box) and the "Pace" dialog of the
editor's button, worked as a user works them: opened from the General tab, the tray menu and the
editor (by mouse and by keyboard), filled in, closed with Enter, Esc or their buttons; what they
set checked in the registry and in Quorvel.ini after the saves."""

import pytest

from harness import MAIN_WINDOW
from harness.waiting import wait_until
from lirc_clients import write_settings
from output_spy import SpyWindow
from quorvel import RunningQuorvel, start_quorvel, wait_for_text
from quorvel_window import CONTROL_IDS, Desktop, QuorvelWindow, center
from settings_registry import PROGRAM_KEY, read_values
from test_outputs import MODES

DIALOG = "#32770"
TIMING_FIELDS = ("RepeatDelayE", "RepeatIntervalE", "LongPressTimeE", "DoublePressTimeE")
TIMING_VALUES = ("Repeat Delay", "Repeat Interval", "Long Press Time", "Double Press Time", "Scan Codes")
PACE_FIELDS = ("PaceDelayE", "PaceIntervalE", "PaceFastestE")
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


def pace_entries(program) -> list:
    """The entries of Quorvel.ini's [Pace] section."""
    entries, section = [], None
    for line in (program.path / "Quorvel.ini").read_bytes().decode("cp1252").splitlines():
        if line.startswith("["):
            section = line
        elif section == "[Pace]" and line:
            entries.append(line)
    return entries


def assert_timing_shows(wintool, times: tuple, scan_codes: int):
    """The Timing dialog's four times, in the order of TIMING_FIELDS, and its scan-code box."""
    assert wintool.texts(DIALOG, "Timing", *TIMING_FIELDS) == dict(zip(TIMING_FIELDS, times))
    assert wintool.state(DIALOG, "Timing", "ScanCodesCB")["ScanCodesCB"].checked == scan_codes


def test_timing_dialog_from_the_general_tab_and_the_tray_menu_saves_clamped_times(program, wintool, desktop):
    write_settings(program.prefix, {"Mode": MODES["Keys"]})
    quorvel = start_quorvel(program, wintool, ini={"Keys": {f"{PLAY:08X}": "0041"}})
    window = QuorvelWindow(quorvel, desktop)
    window.show()
    window.click("TimingSB")
    dialog = open_dialog(wintool, "Timing")
    assert_timing_shows(wintool, ("450", "50", "600", "400"), 0)

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
    assert wintool.click(DIALOG, "Timing", "ScanCodesCB")
    assert wintool.click_ok(dialog)
    assert timing_stored(program) == dict.fromkeys(TIMING_VALUES)
    window.click("SaveSetSB")
    chosen = {"Repeat Delay": 300, "Repeat Interval": 120, "Long Press Time": 5000, "Double Press Time": 250,
              "Scan Codes": 1}
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
    assert_timing_shows(wintool, ("300", "120", "5000", "250"), 1)
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


def test_pace_of_the_editors_button_is_saved_with_it_and_removed_with_the_settings_pace(program, wintool, desktop):
    quorvel = start_quorvel(program, wintool)
    window = QuorvelWindow(quorvel, desktop)
    window.show()
    # A pace belongs to a button: none can be set before one is read.
    assert not wintool.state(*MAIN_WINDOW, "PaceB")["PaceB"].enabled
    quorvel.control.press(PLAY, 2)
    quorvel.control.wait_idle()
    wait_for_text(quorvel, "NameRCCodeExST", "00BE0035")

    # "Pace..." follows the repeat check box in the Tab order; the dialog starts on the settings' pace.
    window.click("NameE")
    desktop.keys("Tab", "Tab", "space")
    dialog = open_dialog(wintool, "Pace")
    assert wintool.texts(DIALOG, "Pace", "PaceButtonL", *PACE_FIELDS) == {
        "PaceButtonL": "'00BE0035' for all programs", "PaceDelayE": "450", "PaceIntervalE": "50", "PaceFastestE": ""}
    states = wintool.state(DIALOG, "Pace", "PaceSettingsRB", *PACE_FIELDS)
    assert states["PaceSettingsRB"].checked == 1 and not any(states[name].enabled for name in PACE_FIELDS)

    assert wintool.click(DIALOG, "Pace", "PaceOwnRB")
    assert all(state.enabled for state in wintool.state(DIALOG, "Pace", *PACE_FIELDS).values())
    fill(wintool, "Pace", PaceDelayE="300", PaceIntervalE="100", PaceFastestE="60")
    assert wintool.click_ok(dialog)
    window.click("SaveButtonPropertiesSB")
    assert wait_until(lambda: quorvel.status()[0].startswith("'00BE0035' is defined"), 10), quorvel.status()
    quorvel.exit()
    assert pace_entries(program) == ["00BE0035=300,100,60"]

    # Read back at the next start; choosing the settings' pace and saving removes the entry.
    quorvel = RunningQuorvel(program, wintool, program.start(), "BeholdRC").wait_started()
    window = QuorvelWindow(quorvel, desktop)
    window.show()
    quorvel.control.press(PLAY, 2)
    quorvel.control.wait_idle()
    wait_for_text(quorvel, "NameRCCodeExST", "00BE0035")
    window.click("PaceB")
    open_dialog(wintool, "Pace")
    assert wintool.state(DIALOG, "Pace", "PaceOwnRB")["PaceOwnRB"].checked == 1
    assert wintool.texts(DIALOG, "Pace", *PACE_FIELDS) == {
        "PaceDelayE": "300", "PaceIntervalE": "100", "PaceFastestE": "60"}
    click(wintool, desktop, "Pace", "PaceSettingsRB")
    desktop.keys("Return")
    wait_closed(wintool, "Pace")
    window.click("SaveButtonPropertiesSB")
    assert wait_until(lambda: quorvel.status()[0].startswith("'00BE0035' is defined"), 10), quorvel.status()
    quorvel.exit()
    assert pace_entries(program) == []
