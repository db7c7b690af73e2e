"""Macros: a button's steps run off the tick, keys held by a macro never stay down, text arrives
as characters, and keystrokes carry their scan codes when "Scan Codes" is on. The editor's
"Macro" dialog refuses steps it cannot read, tries the steps and gives them to the button."""

import re

from harness import MAIN_WINDOW
from harness.waiting import wait_until
from lirc_clients import write_settings
from output_spy import SpyWindow
from quorvel import log_lines, start_quorvel, wait_for_text
from quorvel_window import CONTROL_IDS, Desktop, QuorvelWindow, center
from test_outputs import MODES, received

OK, STOP, PLAY = 0x00BE0010, 0x00BE0011, 0x00BE0012


def key(code: int) -> str:
    return f"{code:08X}"


def timed(lines: list) -> list:
    """The spy's detailed lines as (event, time in ms), the keys Windows makes for typed
    characters (VK_PACKET, E7) left out."""
    events = [re.fullmatch(r"(.*) t=(-?\d+)", line) for line in lines]
    return [(event[1], int(event[2])) for event in events if event and " E7 " not in event[1] + " "]


def test_a_macro_holds_waits_types_and_its_keys_carry_scan_codes(program, wintool):
    write_settings(program.prefix, {"Mode": MODES["Keys"], "LIRC Server Enabled": 0, "Scan Codes": 1})
    quorvel = start_quorvel(program, wintool, ini={
        "Keys": {key(OK): "0041"},
        # A key of its own is not sent: the macro is the button's action.
        "Macros": {key(OK): 'Hold Shift; A; Release Shift; Wait 400; "\xe9\u20ac{U+41F}"; Ctrl+Left Arrow',
                   key(STOP): "Hold Alt; Wait 60000; Tab"},
    })
    spy = SpyWindow(program, wintool, detail=True).start()
    quorvel.control.press(OK, 2)
    events = timed(received(quorvel, spy, 14))
    assert [event for event, _ in events] == [
        "keydown 10 scan 2A", "keydown 41 scan 1E", "char 0041", "keyup 41 scan 1E", "keyup 10 scan 2A",
        "char 00E9", "char 20AC", "char 041F",
        "keydown 11 scan 1D", "keydown 25 scan 4B ext", "keyup 25 scan 4B ext", "keyup 11 scan 1D"]
    assert events[5][1] - events[4][1] >= 400, events

    # Alt held by a macro that is still waiting goes up at "Exit".
    quorvel.control.press(STOP, 2)
    assert wait_until(lambda: any(line.startswith("syskeydown 12") for line in spy.inputs()), 10), spy.inputs()
    quorvel.exit()
    assert wait_until(lambda: spy.inputs()[-1].startswith("syskeyup 12"), 10), spy.inputs()[-4:]


def test_a_programs_own_macro_and_a_refused_one_that_leaves_the_rest_working(program, wintool):
    write_settings(program.prefix, {"Mode": MODES["Keys"], "LIRC Server Enabled": 0})
    quorvel = start_quorvel(program, wintool, ini={
        "Keys": {key(OK): "0041", key(STOP): "0043"},
        "Macros": {key(OK): "F5; Wiat 500"},
        "Programs": {"Media.exe": "0"},
        "Macros@Media.exe": {key(STOP): "B; Command Volume Mute"},
    })
    spy = SpyWindow(program, wintool, detail=True).start()
    with quorvel.control.atomic() as control:
        control.press(OK, 2)
        control.gap(2)
        control.press(STOP, 2)
    # Without "Scan Codes" keys carry none and every one the extended-key flag, as always.
    assert [event for event, _ in timed(received(quorvel, spy, 6))] == [
        "keydown 41 scan 00 ext", "char 0061", "keyup 41 scan 00 ext", "keydown 43 scan 00 ext", "char 0063",
        "keyup 43 scan 00 ext"]

    media = SpyWindow(program, wintool, "Media").start()
    quorvel.control.press(STOP, 2)
    # The command is sent to the window, the keys go through the input queue: either may come first.
    assert sorted(received(quorvel, media, 3)) == ["appcommand 0x%X 0x80000" % media.hwnd, "keydown 42", "keyup 42"]
    quorvel.exit()
    assert ("Button map: the macro of 00BE0010 in [Macros] is refused at step 2 \"Wiat 500\": unknown step"
            in [line.split(" ", 2)[2] for line in log_lines(program)])


def ini_section(program, name: str) -> list:
    entries, section = [], None
    for line in (program.path / "Quorvel.ini").read_bytes().decode("cp1252").splitlines():
        if line.startswith("["):
            section = line
        elif section == f"[{name}]" and line:
            entries.append(line)
    return entries


def test_the_macro_dialog_refuses_a_bad_step_tries_the_steps_and_gives_them_to_the_button(program, wintool, wine):
    write_settings(program.prefix, {"Mode": MODES["Keys"], "LIRC Server Enabled": 0, "Scan Codes": 1})
    quorvel = start_quorvel(program, wintool)
    window = QuorvelWindow(quorvel, Desktop(wine.display))
    window.show()
    # A macro belongs to a button: none can be set before one is read.
    assert not wintool.state(*MAIN_WINDOW, "MacroB")["MacroB"].enabled
    quorvel.control.press(OK, 2)
    quorvel.control.wait_idle()
    wait_for_text(quorvel, "NameRCCodeExST", key(OK))
    window.click("MacroB")
    dialog = wintool.wait_for_window("#32770", "Macro", 15)
    assert dialog, "the Macro dialog did not open"
    assert wintool.texts("#32770", "Macro", "MacroButtonL", "MacroE") == {
        "MacroButtonL": "'00BE0010' for all programs", "MacroE": ""}
    children = {child[1]: child[0] for child in wintool.children("#32770", "Macro")}

    # OK with a step it cannot read says which and keeps the dialog open.
    assert wintool.set_text(children[CONTROL_IDS["MacroE"]], "Hold Shift\r\nWiat 500\r\n")
    window.desktop.click(*center(wintool.rect(children[1])))
    message = wintool.wait_for_dialog("cannot be read", 15)
    assert message and message.text == 'This macro cannot be read: step 2 "Wiat 500": unknown step.'
    assert wintool.click_ok(message)
    assert wintool.wait_for_window("#32770", "Macro", 0) == dialog

    # "Try" runs the steps two seconds later in the window then in front: the spy, which is in
    # front before "Try" is clicked (a click sent to a button does not activate its window).
    assert wintool.set_text(children[CONTROL_IDS["MacroE"]], 'Hold Shift\r\na\r\n\r\n  Release Shift\r\n"\xe9"')
    spy = SpyWindow(program, wintool, detail=True).start()
    assert wintool.click("#32770", "Macro", "MacroTryB")
    assert [event for event, _ in timed(received(quorvel, spy, 6))] == [
        "keydown 10 scan 2A", "keydown 41 scan 1E", "char 0041", "keyup 41 scan 1E", "keyup 10 scan 2A", "char 00E9"]

    # OK gives the steps to the editor's button, which shows that it has a macro; the button's
    # properties save them.
    assert wintool.click_ok(dialog)
    summary = "Macro: Hold Shift ... (4 steps)"
    wait_for_text(quorvel, "MacroB", summary)
    assert wintool.hints(*MAIN_WINDOW, "MacroB") == {"MacroB": summary}
    assert wintool.click(*MAIN_WINDOW, "SaveButtonPropertiesSB")
    assert wait_until(lambda: quorvel.status()[0].startswith("'00BE0010' is defined"), 10), quorvel.status()
    quorvel.exit()
    assert ini_section(program, "Macros") == ['00BE0010=Hold Shift; a; Release Shift; "\xe9"']
