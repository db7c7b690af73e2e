"""Quorvel's outputs as the application in front sees them: keystrokes, mouse actions and
application commands received by the spy window, programs started by a button, and none of
them while Quorvel's own window is in front."""

import shutil

from harness import tool_path
from harness.waiting import wait_until
from output_spy import SpyWindow
from quorvel import start_quorvel, wait_for_text

REGISTRY_KEY = r"HKCU\Software\Vantrel\Quorvel"
MODES = {"WinLIRC": 1, "Keys": 2, "Mouse": 3, "Messages": 4}
TRAY_CALLBACK = 0x8002  # WM_APP + 2, with lParam WM_LBUTTONUP: a click on the tray icon
WM_LBUTTONUP = 0x0202
# A folder with a space: the command line must quote the path.
TOOLS_FOLDER = "Remote Tools"
LAUNCHED = rf"C:\{TOOLS_FOLDER}\writefile.exe"


def button_map(buttons: dict) -> dict:
    """Quorvel.ini sections from {extended code: {section: value}}."""
    sections = {}
    for code, entries in buttons.items():
        for section, value in entries.items():
            sections.setdefault(section, {})[f"{code:08X}"] = str(value)
    return sections


def start_in_mode(program, wintool, mode: str, buttons: dict):
    program.prefix.reg_add(REGISTRY_KEY, "Mode", str(MODES[mode]), "REG_DWORD")
    # Other test runs may share the machine: keep off the default WinLIRC port.
    program.prefix.reg_add(REGISTRY_KEY, "LIRC Server Enabled", "0", "REG_DWORD")
    return start_quorvel(program, wintool, ini=button_map(buttons))


def wait_until_handled(control):
    """Waits until every queued press was polled and the tick that polled the last one is over:
    a tick makes its outputs before the next poll."""
    status = control.wait_idle()
    control.wait_polls(status.polls + 1)


def received(quorvel, spy, count: int) -> list:
    """The spy's input once the queued presses are handled and count events arrived, read again
    two polls later, so that input beyond the expected shows too."""
    wait_until_handled(quorvel.control)
    spy.wait_for_inputs(count)
    quorvel.control.wait_polls(quorvel.control.status().polls + 2)
    return spy.inputs()


def key_events(inputs: list) -> list:
    """Key input as "down VK"/"up VK"; whether Windows made it a system key depends on Alt and
    Ctrl and does not matter here."""
    return [line.replace("sys", "").replace("key", "") for line in inputs]


def events(text: str) -> list:
    return text.split(", ")


def install_launched_program(program):
    folder = program.prefix.drive_c / TOOLS_FOLDER
    folder.mkdir(exist_ok=True)
    shutil.copy2(tool_path("writefile"), folder / "writefile.exe")
    return folder / "writefile.txt"


def launches(record) -> list:
    """(working folder, command line) of each start of the launched program."""
    if not record.exists():
        return []
    lines = record.read_bytes().decode("cp1252").split("\n")
    return [tuple(line.split("\t", 1)) for line in lines if line]


CTRL_A, WIN_D, ALL_MODIFIERS_A, REPEATING_B, NOT_REPEATING_C = 0xA301, 0xA302, 0xA303, 0xA304, 0xA305

KEYSTROKES = [
    (CTRL_A, "8041", "down 11, down 41, up 41, up 11"),
    (WIN_D, "1044", "down 5B, down 44, up 44, up 5B"),
    # Win goes down first and comes up last; the other modifiers come up in press order.
    (ALL_MODIFIERS_A, "F041", "down 5B, down 11, down 12, down 10, down 41, up 41, up 11, up 12, up 10, up 5B"),
]


def test_keys_mode_sends_each_combination_and_repeats_held_keys(program, wintool):
    buttons = {code: {"Keys": value} for code, value, _ in KEYSTROKES}
    buttons[REPEATING_B] = {"Keys": "0042"}
    buttons[NOT_REPEATING_C] = {"Keys": "0043", "Repeat": 0}
    quorvel = start_in_mode(program, wintool, "Keys", buttons)
    spy = SpyWindow(program, wintool).start()

    with quorvel.control.atomic() as control:
        for code, _, _ in KEYSTROKES:
            control.press(code, 1)
            control.gap(2)
        # Held for hold counts 0 to 11: keystrokes on 0, 9, 10 and 11 only.
        control.press(REPEATING_B, 12)
        control.gap(2)
        control.press(NOT_REPEATING_C, 12)
    expected = [event for _, _, text in KEYSTROKES for event in events(text)]
    expected += events("down 42, up 42") * 4 + events("down 43, up 43")
    assert key_events(received(quorvel, spy, len(expected))) == expected
    quorvel.exit()


MOVE_LEFT, MOVE_RIGHT, MOVE_UP, MOVE_DOWN = 0xB101, 0xB102, 0xB103, 0xB104

MOVES = [
    # Step 1 on the press, then the hold count capped at 20 on hold counts 9 and above:
    # 1 + 9 + 10 + ... + 20 + 20 on hold counts 0 to 21.
    (MOVE_RIGHT, 22, (195, 0)),
    (MOVE_LEFT, 10, (-10, 0)),
    (MOVE_DOWN, 1, (0, 1)),
    (MOVE_UP, 12, (0, -31)),
]


def test_held_mouse_moves_grow_by_hold_count_up_to_twenty(program, wintool):
    buttons = {code: {"Mouse": action} for action, code in enumerate((MOVE_LEFT, MOVE_RIGHT, MOVE_UP, MOVE_DOWN), 1)}
    quorvel = start_in_mode(program, wintool, "Mouse", buttons)
    spy = SpyWindow(program, wintool).start()

    for code, polls, (dx, dy) in MOVES:
        x, y = spy.cursor()
        quorvel.control.press(code, polls)
        wait_until_handled(quorvel.control)
        assert spy.cursor() == (x + dx, y + dy), f"button {code:X} held for {polls} polls"
    assert spy.inputs() == []
    quorvel.exit()


# The low byte of each code is the button's mouse action.
CLICK_LEFT, CLICK_RIGHT, CLICK_MIDDLE, DOUBLE_CLICK = 0xB205, 0xB206, 0xB207, 0xB208
WHEEL_UP, WHEEL_DOWN, WIN_A, KEY_AND_WHEEL = 0xB209, 0xB20A, 0xB20B, 0xB20C


def test_mouse_mode_clicks_turns_the_wheel_and_still_sends_keys_of_buttons_without_mouse_action(program, wintool):
    buttons = {code: {"Mouse": code & 0xFF} for code in (CLICK_LEFT, CLICK_RIGHT, CLICK_MIDDLE, DOUBLE_CLICK,
                                                         WHEEL_UP, WHEEL_DOWN)}
    buttons[WIN_A] = {"Keys": "1041"}
    buttons[KEY_AND_WHEEL] = {"Keys": "0042", "Mouse": 9}
    quorvel = start_in_mode(program, wintool, "Mouse", buttons)
    spy = SpyWindow(program, wintool).start()
    x, y = spy.cursor()

    with quorvel.control.atomic() as control:
        # The double click comes last, about a second after the single left click, so that
        # the system does not pair it with that click.
        for code in (CLICK_LEFT, CLICK_RIGHT, CLICK_MIDDLE, WHEEL_UP, WHEEL_DOWN, WIN_A, KEY_AND_WHEEL, DOUBLE_CLICK):
            control.press(code, 1)
            control.gap(2)
    at = f"{x} {y}"
    expected = [
        f"lbuttondown {at}", f"lbuttonup {at}",
        f"rbuttondown {at}", f"rbuttonup {at}",
        f"mbuttondown {at}", f"mbuttonup {at}",
        "wheel 120", "wheel -120",
        # A key without a mouse action is sent in Mouse mode too.
        "keydown 5B", "keydown 41", "keyup 41", "keyup 5B",
        # With a mouse action, the button's key is not.
        "wheel 120",
        f"lbuttondown {at}", f"lbuttonup {at}", f"lbuttondblclk {at}", f"lbuttonup {at}",
    ]
    assert received(quorvel, spy, len(expected)) == expected
    assert spy.cursor() == (x, y)
    quorvel.exit()


VOLUME_UP, MUTE_WITH_KEY, KEY_ONLY = 0xC10A, 0xC108, 0xC144


def test_messages_mode_sends_app_commands_to_the_window_in_front(program, wintool):
    buttons = {VOLUME_UP: {"Messages": 10}, MUTE_WITH_KEY: {"Messages": 8, "Keys": "0041"},
               KEY_ONLY: {"Keys": "0044"}}
    quorvel = start_in_mode(program, wintool, "Messages", buttons)
    spy = SpyWindow(program, wintool).start()

    with quorvel.control.atomic() as control:
        # Hold counts 0 to 9: the command on the press and on the first repeat.
        control.press(VOLUME_UP, 10)
        control.gap(2)
        control.press(MUTE_WITH_KEY, 1)
        control.gap(2)
        control.press(KEY_ONLY, 1)
    command = f"appcommand 0x{spy.hwnd:X}"
    expected = [f"{command} 0xA0000", f"{command} 0xA0000", f"{command} 0x80000", "keydown 44", "keyup 44"]
    assert received(quorvel, spy, len(expected)) == expected
    quorvel.exit()


LAUNCHER = 0xD101


def test_a_button_starts_its_program_in_the_program_folder_on_press_and_repeat(program, wintool):
    record = install_launched_program(program)
    quorvel = start_in_mode(program, wintool, "WinLIRC", {LAUNCHER: {"Applications": LAUNCHED}})

    # Hold counts 0 to 9: a start on the press and one on the first repeat.
    quorvel.control.press(LAUNCHER, 10)
    wait_until_handled(quorvel.control)
    assert wait_until(lambda: len(launches(record)) >= 2, 30), f"started {len(launches(record))} times"
    expected = (rf"C:\{TOOLS_FOLDER}", f'"{LAUNCHED}" ')
    assert launches(record) == [expected, expected]
    quorvel.exit()


SELECT, NUDGE = 0xE101, 0xE102


def test_nothing_is_output_while_the_main_window_is_in_front(program, wintool):
    record = install_launched_program(program)
    # A pointer move and a program start show whichever window is in front, unlike keys,
    # which would go to the main window itself.
    buttons = {SELECT: {"Buttons": "Select", "Keys": "8041", "Applications": LAUNCHED},
               NUDGE: {"Buttons": "Nudge", "Mouse": 2}}
    quorvel = start_in_mode(program, wintool, "Keys", buttons)
    spy = SpyWindow(program, wintool).start()
    x, y = spy.cursor()

    assert wintool.post(quorvel.hwnd, TRAY_CALLBACK, 0, WM_LBUTTONUP)
    spy.wait_active(False)
    assert spy.foreground() == quorvel.hwnd
    quorvel.control.hold(SELECT)
    wait_for_text(quorvel, "NameST", "Select")
    # Long enough for repeats, which would come from hold count 9 on.
    quorvel.control.wait_polls(quorvel.control.status().polls + 12)
    quorvel.control.release()
    quorvel.control.press(NUDGE, 1)
    wait_until_handled(quorvel.control)
    assert spy.cursor() == (x, y)
    assert spy.inputs() == []
    assert launches(record) == []

    # The same buttons with another window in front.
    spy.bring_to_front()
    with quorvel.control.atomic() as control:
        control.press(SELECT, 1)
        control.gap(2)
        control.press(NUDGE, 1)
    assert key_events(received(quorvel, spy, 4)) == events("down 11, down 41, up 41, up 11")
    assert spy.cursor() == (x + 1, y)
    assert wait_until(lambda: launches(record), 30), "the program was not started"
    quorvel.exit()
