"""Quorvel's window, tray icon and life, worked as a user works them: the tray icon and its menu
clicked with the mouse, keys pressed in the key capture field, buttons held on the virtual
remote, dialogs filled in; the results checked in the window, the INI file and the registry.
Screenshots of the window and of each settings tab are kept in build/e2e/artefacts."""

import os
import signal
import socket
import subprocess

import pytest

from harness import MAIN_WINDOW, SIM_DIR
from harness.paths import REPO_DIR
from harness.ports import free_port
from harness.waiting import wait_until
from lirc_clients import connect_clients, lirc_line, write_settings
from output_spy import SpyWindow
from quorvel import log_lines, start_quorvel, wait_for_text
from quorvel_window import (ARTEFACTS_DIR, CONTROL_IDS, TRAY_WINDOW_CLASS, WM_ENDSESSION, WM_QUERYENDSESSION, Desktop,
                            QuorvelWindow, center)
from stand_in import StandIn

PROGRAM_KEY = r"HKCU\Software\Vantrel\Quorvel"
WM_USER = 0x0400
PLAY = 0x00BE0035
VIRTUAL_REMOTE = ("QuorvelVirtualRemote", "Quorvel Virtual Remote")
MODE_RADIOS = ("WinLIRCRB", "KeysRB", "MouseRB", "WMRB")
DEFAULT_OSD_COLOUR = (180, 250, 250)
WM_VSCROLL, SB_BOTTOM = 0x0115, 7
WHERE_IT_RUNS = ("Quorvel runs here, in the notification area. Click its icon to open the window; "
                 "right-click it for the menu.")


@pytest.fixture
def desktop(wine):
    return Desktop(wine.display)


def set_dword(program, name: str, value: int):
    program.prefix.reg_add(PROGRAM_KEY, name, str(value), "REG_DWORD")


def stored(program, name: str):
    return program.prefix.reg_query(PROGRAM_KEY, name)


def ini_text(program) -> str:
    path = program.path / "Quorvel.ini"
    return path.read_bytes().decode("cp1252") if path.exists() else ""


def checked_mode(quorvel) -> list:
    states = quorvel.wintool.state(*MAIN_WINDOW, *MODE_RADIOS)
    return [name for name in MODE_RADIOS if states[name].checked == 1]


def test_tray_icon_and_its_menu_with_the_mouse(program, wintool, desktop):
    program.prefix.reg_add(PROGRAM_KEY, "Mode", "2", "REG_DWORD")
    quorvel = start_quorvel(program, wintool)
    window = QuorvelWindow(quorvel, desktop)
    # The program starts in the tray, its window hidden.
    assert not window.is_visible()
    assert checked_mode(quorvel) == ["KeysRB"]

    desktop.click(*center(window.tray_icon_rect()))
    assert window.wait_visible()

    # The close box only sends the program back to the tray; nothing is stored.
    wintool.close(quorvel.hwnd)
    assert window.wait_visible(False)
    assert quorvel.process.is_running()
    assert stored(program, "Autorepeat") is None
    assert ini_text(program) == ""

    left, top, right, bottom = window.open_tray_menu()
    desktop.click(left + 40, top + 12)  # the first item, "WinLIRC"
    assert wait_until(lambda: checked_mode(quorvel) == ["WinLIRCRB"], 10)
    assert not window.is_visible()

    left, top, right, bottom = window.open_tray_menu()
    desktop.click(left + 40, bottom - 12)  # the last item, "Exit"
    assert quorvel.process.wait(30) == 0
    assert stored(program, "Mode") == "0x1"
    assert "[RC]" in ini_text(program)
    # The shell removes the icon, and nothing about it is logged.
    assert wait_until(lambda: wintool.children(TRAY_WINDOW_CLASS, "*") == [], 20), "the icon stayed in the tray"
    assert [line for line in log_lines(program) if "shell" in line.lower() or "Shell_" in line] == []


def test_menu_items_show_hide_and_select_modes(program, wintool, desktop):
    quorvel = start_quorvel(program, wintool)
    window = QuorvelWindow(quorvel, desktop)
    window.choose("RestorePM")
    assert window.wait_visible()
    window.choose("MinimizePM")
    assert window.wait_visible(False)
    # Minimizing a hidden window leaves it hidden.
    window.choose("MinimizePM")
    assert not window.is_visible()

    for item, radio in (("MousePM", "MouseRB"), ("WMAPPCOMMANDPM", "WMRB"), ("KeysPM", "KeysRB"),
                        ("WinLIRCPM", "WinLIRCRB")):
        window.choose(item)
        assert wait_until(lambda: checked_mode(quorvel) == [radio], 10), item
    window.choose("MousePM")
    assert wait_until(lambda: checked_mode(quorvel) == ["MouseRB"], 10)
    quorvel.exit()
    assert stored(program, "Mode") == "0x3"


def test_teaching_a_button_with_the_virtual_remote(program, wintool, desktop):
    program.prefix.reg_add(PROGRAM_KEY, "LIRC Server Port", str(free_port()))
    quorvel = start_quorvel(program, wintool, ini={"RC": {"Name": "Hall"}})
    window = QuorvelWindow(quorvel, desktop)
    program.add_file(SIM_DIR / "VirtualRemote.exe")
    program.start("VirtualRemote.exe", [program.control_ports["BeholdRC"]])
    assert wintool.wait_for_window(*VIRTUAL_REMOTE, 30)
    window.show()

    # Held on the remote, the button shows its codes; the editor keeps it after the release.
    play = next(child[0] for child in wintool.children(*VIRTUAL_REMOTE) if child[4] == "Play")
    desktop.hold(*center(wintool.rect(play)))
    wait_for_text(quorvel, "Code2ST", "00BE0035")
    assert quorvel.texts("Code1ST", "NameST", "NameRCCodeST", "NameRCCodeExST") == {
        "Code1ST": "35", "NameST": "", "NameRCCodeST": "35", "NameRCCodeExST": "00BE0035"}
    desktop.release()
    wait_for_text(quorvel, "Code2ST", "00000000")

    window.click("NameE")
    desktop.keys("P", "l", "a", "y")
    window.click("KeyE")
    desktop.keys("ctrl+alt+p")
    assert quorvel.texts("KeyE") == {"KeyE": "Ctrl+Alt+P"}
    window.click("LWinCB")
    window.click("KeyRepeatCB")
    assert wintool.select(*MAIN_WINDOW, "MsCB", 5)

    # The program to start, through the file dialog, which opens even on a text that is no
    # file name.
    assert wintool.set_text(window.control_hwnd("RunE"), '"C:\\windows\\notepad.exe" /a')
    assert wintool.click(*MAIN_WINDOW, "RunSB")
    dialog = wintool.wait_for_dialog("Select application to run", 15)
    assert dialog, "no file dialog"
    name_field = next(child[0] for child in wintool.children("#32770", dialog.title)
                      if child[2] == "Edit" and child[1] == 1148)
    assert wintool.set_text(name_field, r"C:\windows\notepad.exe")
    assert wintool.click_ok(dialog)
    wait_for_text(quorvel, "RunE", r"C:\windows\notepad.exe")

    # The remote gets its name in the "RC" group; WinLIRC clients read it at once.
    assert wintool.set_text(window.control_hwnd("RemoteNameE"), "Den")

    # Each save says what it did.
    window.click("SaveButtonPropertiesSB")
    assert wait_until(lambda: quorvel.status()[0] == "'Play' is defined; Save Settings writes it to the file", 10), quorvel.status()
    window.click("SaveSetSB")
    assert wait_until(lambda: quorvel.status()[0] == "Settings saved", 10), quorvel.status()
    assert wait_until(lambda: "Play" in ini_text(program), 10)
    text = ini_text(program)
    for line in ("[RC]\r\nName=Den", "00BE0035=Play", "[Keys]\r\n00BE0035=D050", "[Repeat]\r\n00BE0035=0",
                 "[Mouse]\r\n00BE0035=5", r"00BE0035=C:\windows\notepad.exe", "[Actions]\r\n00BE0035=0"):
        assert line in text, (line, text)

    # Pressed again, the button comes back with its name and the same key text as captured.
    assert wintool.select(*MAIN_WINDOW, "KeyE", 11)
    assert quorvel.texts("KeyE") == {"KeyE": "Volume Up"}
    quorvel.control.hold(PLAY)
    wait_for_text(quorvel, "NameST", "Play")
    quorvel.control.release()
    assert quorvel.texts("KeyE", "NameE") == {"KeyE": "Ctrl+Alt+P", "NameE": "Play"}
    assert quorvel.status()[0] == "Unsaved changes to 'Play' were discarded"
    states = wintool.state(*MAIN_WINDOW, "LWinCB", "KeyRepeatCB")
    assert (states["LWinCB"].checked, states["KeyRepeatCB"].checked) == (1, 0)
    quorvel.exit()
    assert "00BE0035=D050" in ini_text(program)


def test_settings_and_the_osd_colour_are_saved_on_request(program, wintool, desktop):
    quorvel = start_quorvel(program, wintool)
    window = QuorvelWindow(quorvel, desktop)
    window.show()
    swatch = center(window.control_rect("OSDFI"))
    # The window may come up a moment before its controls are painted.
    assert wait_until(lambda: desktop.pixel(*swatch) == DEFAULT_OSD_COLOUR, 10), desktop.pixel(*swatch)

    window.click("SoundCB")
    window.click("BHCB")
    window.click("OSDFI")
    dialog = wintool.wait_for_dialog("Basic Colors", 15)
    assert dialog, "no colour dialog"
    fields = {child[1]: (child[0], child[4]) for child in wintool.children("#32770", dialog.title)}
    # The dialog opens on the current colour; its red, green and blue fields take the new one.
    assert [fields[number][1] for number in (706, 707, 708)] == ["180", "250", "250"]
    for number, value in ((706, "255"), (707, "0"), (708, "64")):
        assert wintool.set_text(fields[number][0], value)
    assert wintool.click_ok(dialog)
    assert wait_until(lambda: desktop.pixel(*swatch) == (255, 0, 64), 10)
    assert stored(program, "Sound") is None

    window.click("SaveSetSB")
    assert wait_until(lambda: stored(program, "OSDColor") == "0x4000ff", 10)
    assert (stored(program, "Sound"), stored(program, "Balloon Hints")) == ("0x1", "0x1")
    assert quorvel.process.is_running()
    quorvel.exit()


PAGE_CONTROLS = ("AutorunCB", "LIRCServerCB", "BTVCB", "ComproDTVCB")


BS_TYPEMASK, BS_GROUPBOX, BS_ICON = 0xF, 0x7, 0x40
CHECK_KINDS = {0x2, 0x3, 0x4, 0x9}  # check boxes and radio buttons
SS_TYPEMASK, TEXT_STATICS = 0x1F, {0x0, 0xC}  # SS_LEFT, SS_LEFTNOWORDWRAP
# Room a check box's or radio button's own box and the gap after it take, at 96 DPI; room a
# push button's edges take; room a drop-down list's arrow and edges take, in the field and in
# the list that drops down.
CHECK_ROOM = 16
PUSH_KINDS, PUSH_ROOM = {0x0, 0x1}, 8
CBS_TYPEMASK, CBS_DROPDOWNLIST, FIELD_ROOM, LIST_ROOM = 0x3, 0x3, 24, 20
# The status bar's first panel, at 96 DPI, and the room its edges take.
STATUS_PANEL, STATUS_EDGES = 210, 6


def layout_faults(places, dpi: int) -> list:
    """Texts wider than their controls, and group frames with a sibling lying over them."""
    faults = []
    shown = [place for place in places if place.visible]
    bold_ids = {1070}  # ProgNameL
    for place in shown:
        width = place.right - place.left
        kind = place.style & BS_TYPEMASK
        needed = place.bold_width if place.id in bold_ids else place.text_width
        if place.class_name == "Button" and kind in CHECK_KINDS and place.text:
            needed += CHECK_ROOM * dpi // 96
        elif place.class_name == "Button" and kind in PUSH_KINDS and not place.style & BS_ICON and place.text:
            needed += PUSH_ROOM * dpi // 96
        elif place.class_name == "ComboBox" and place.style & CBS_TYPEMASK == CBS_DROPDOWNLIST and place.text:
            needed += FIELD_ROOM * dpi // 96
        elif place.class_name == "msctls_statusbar32":
            # The first panel's text may take as many lines as the bar is high.
            lines = (place.bottom - place.top - 4) // place.text_height
            width = lines * (STATUS_PANEL * dpi // 96 - STATUS_EDGES)
        elif place.class_name != "Static" or (place.style & SS_TYPEMASK) not in TEXT_STATICS:
            continue
        if needed > width:
            faults.append(f"{place.text!r} needs {needed} px, has {width}")
    groups = [place for place in shown if place.class_name == "Button" and place.style & BS_TYPEMASK == BS_GROUPBOX]
    for group in groups:
        inner = (group.left + 2, group.top + group.text_height // 2 + 2, group.right - 2, group.bottom - 2)
        for other in shown:
            overlaps = (other.left < group.right and group.left < other.right and other.top < group.bottom
                        and group.top < other.bottom)
            inside = (inner[0] <= other.left and other.right <= inner[2] and inner[1] <= other.top
                      and other.bottom <= inner[3])
            if other is not group and overlaps and not inside:
                faults.append(f"{other.class_name} {other.text!r} {other.id} lies over the frame of {group.text!r}")
    return faults


# Controls that were fitted into a full window later: each lies clear of every other control.
FITTED_CONTROLS = ("PaceB", "TimingSB", "MacroB")
WS_TABSTOP = 0x00010000
CONTAINER_CLASSES = ("SysTabControl32",)


def fitted_faults(places) -> list:
    """Fitted controls that overlap another shown control (other than the group boxes and the tab
    control they lie in), or that Tab does not reach."""
    names = {CONTROL_IDS[name]: name for name in FITTED_CONTROLS}
    shown = [place for place in places if place.visible and place.class_name not in CONTAINER_CLASSES
             and not (place.class_name == "Button" and place.style & BS_TYPEMASK == BS_GROUPBOX)]
    faults = [f"{names[place.id]} is not a tab stop" for place in shown
              if place.id in names and not place.style & WS_TABSTOP]
    for place in (place for place in shown if place.id in names):
        faults += [f"{names[place.id]} overlaps {other.class_name} {other.text!r} {other.id}" for other in shown
                   if other is not place and place.left < other.right and other.left < place.right
                   and place.top < other.bottom and other.top < place.bottom]
    return faults


def dialog_faults(window, wintool, desktop, control: str, title: str, dpi: int) -> list:
    """Opens a dialog with a control of the window, keeps its screenshot and closes it with Esc:
    its texts cut off."""
    window.click(control)
    hwnd = wintool.wait_for_window("#32770", title, 15)
    assert hwnd, f"{control} opened no {title} dialog"
    faults = layout_faults(wintool.layout("#32770", title), dpi)
    desktop.screenshot(ARTEFACTS_DIR / f"{title.lower()}-{dpi * 100 // 96}.png", wintool.rect(hwnd))
    desktop.keys("Escape")
    assert wait_until(lambda: wintool.wait_for_window("#32770", title, 0) is None, 10), f"{title} stayed open"
    return [f"{title}: {fault}" for fault in faults]


def list_faults(wintool, dpi: int) -> list:
    """Drop-down lists whose widest item is wider than the list that drops down."""
    _, rows = wintool.run("list-widths", *MAIN_WINDOW)
    names = {number: name for name, number in CONTROL_IDS.items()}
    return [f"{names.get(int(number), number)} drops {dropped} px wide, its widest item needs {widest}"
            for number, dropped, widest in rows if int(widest) + LIST_ROOM * dpi // 96 > int(dropped)]


def same_line(quorvel) -> bool:
    """"OS:" and the system's name stand on one line."""
    label, value = (quorvel.wintool.control_rect(*MAIN_WINDOW, name) for name in ("OSNL", "OSL"))
    return label[1] == value[1] and label[3] == value[3]


@pytest.mark.parametrize("dpi, scale", [(96, "100"), (120, "125"), (144, "150"), (192, "200")])
def test_screenshots_of_the_window_and_its_settings_tabs(program, wintool, desktop, dpi, scale):
    # Wine draws the window's frame and caption itself, as a desktop would.
    program.prefix.reg_add(r"HKCU\Software\Wine\X11 Driver", "Decorated", "N")
    program.prefix.reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", str(dpi), "REG_DWORD")
    # A port of its own: the message that another program holds the default one would cover the tabs.
    program.prefix.reg_add(PROGRAM_KEY, "LIRC Server Port", str(free_port()))
    quorvel = start_quorvel(program, wintool, ini={"RC": {"Name": "Living room"}})
    window = QuorvelWindow(quorvel, desktop)
    window.show()
    quorvel.control.press(PLAY, 2)
    quorvel.control.wait_idle()
    wait_for_text(quorvel, "NameRCCodeExST", "00BE0035")
    # An edit the next press discards: the status bar says so in a text wider than its panel.
    assert wintool.set_text(window.control_hwnd("NameE"), "Channel Up")
    quorvel.control.press(PLAY, 2)
    quorvel.control.wait_idle()
    assert wait_until(lambda: quorvel.status()[0] == "Unsaved changes to 'Channel Up' were discarded", 10)
    left, top, right, bottom = window.rect()
    # The client area is 250 x 665 at 96 DPI, with a frame around it; the screen has room for it.
    assert 250 * dpi // 96 < right - left < 250 * dpi // 96 + 20
    assert 665 * dpi // 96 < bottom - top < 665 * dpi // 96 + 50
    window.screenshot(f"window-{scale}")
    # The status text wraps onto the bar's second line.
    bar = window.control_rect("StatusSB")
    second_line = (bar[0] + 4, bar[1] + (bar[3] - bar[1]) * 3 // 4, bar[0] + STATUS_PANEL * dpi // 96 - 4, bar[3] - 3)
    assert (0, 0, 0) in desktop.colours(second_line)
    # No text is cut off, in a field, a list or a dialog, no group's frame is hidden, on any tab,
    # and the controls fitted in later overlap nothing.
    places = wintool.layout(*MAIN_WINDOW)
    faults = layout_faults(places, dpi) + list_faults(wintool, dpi) + fitted_faults(places)
    faults += dialog_faults(window, wintool, desktop, "TimingSB", "Timing", dpi)
    faults += dialog_faults(window, wintool, desktop, "PaceB", "Pace", dpi)
    faults += dialog_faults(window, wintool, desktop, "MacroB", "Macro", dpi)
    assert faults == [], "\n".join(faults)
    assert same_line(quorvel)

    for index, caption in enumerate(("general", "winlirc", "beholder", "compro")):
        window.show_tab(index)
        states = wintool.state(*MAIN_WINDOW, *PAGE_CONTROLS)
        assert [states[name].visible for name in PAGE_CONTROLS] == [i == index for i in range(4)], caption
        assert layout_faults(wintool.layout(*MAIN_WINDOW), dpi) == [], caption
        window.screenshot(f"window-{scale}-{caption}")
    quorvel.exit()


def test_the_window_fits_a_1080_line_screen_with_a_task_bar_and_scrolls_the_rest(program, wintool, desktop):
    # At 200 % the whole window is higher than a 1,080-line screen less its task bar. Wine's
    # virtual desktop named "shell" has a task bar, as Windows has.
    program.prefix.reg_add(r"HKCU\Software\Wine\Explorer", "Desktop", "shell")
    program.prefix.reg_add(r"HKCU\Software\Wine\Explorer\Desktops", "shell", "1920x1080")
    program.prefix.reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", "192", "REG_DWORD")
    quorvel = start_quorvel(program, wintool)
    window = QuorvelWindow(quorvel, desktop)
    window.show()
    task_bar = wait_until(lambda: next((w.hwnd for w in wintool.list() if w.class_name == "Shell_TrayWnd"
                                        and w.visible), None), 20)
    assert task_bar, "the virtual desktop has no task bar"
    bar_top = wintool.rect(task_bar)[1]
    assert bar_top < 1080
    left, top, right, bottom = window.rect()
    assert 0 <= top and bottom <= bar_top, (window.rect(), bar_top)

    # The last row of "Programs" lies below the status bar until the content is scrolled to its end.
    status_top = window.control_rect("StatusSB")[1]
    assert window.control_rect("ProgramRemoveB")[3] > status_top
    assert wintool.post(quorvel.hwnd, WM_VSCROLL, SB_BOTTOM)
    assert wait_until(lambda: window.control_rect("ProgramRemoveB")[3] <= status_top, 10)
    assert window.control_rect("ProgramRemoveB")[1] > top
    window.screenshot("window-200-scrolled")
    quorvel.exit()


def test_about_links_turn_red_under_the_mouse_and_open_their_addresses(program, wintool, desktop):
    # Every address the program opens lands in a file, instead of a browser or mail program.
    for protocol in ("https", "mailto"):
        assert program.prefix.reg("add", rf"HKCR\{protocol}\shell\open\command", "/ve", "/d",
                                  r"C:\windows\system32\cmd.exe /c echo %1>>C:\opened.txt", "/f")[0] == 0
    quorvel = start_quorvel(program, wintool)
    window = QuorvelWindow(quorvel, desktop)
    window.show()
    home = window.control_rect("HomeL")
    red = (255, 0, 0)
    assert red not in desktop.colours(home)
    desktop.move(*center(home))
    assert wait_until(lambda: red in desktop.colours(home), 10)
    desktop.move(*center(window.control_rect("OSL")))
    assert wait_until(lambda: red not in desktop.colours(home), 10)

    opened = program.prefix.drive_c / "opened.txt"
    addresses = {"HomeL": "https://www.vantrel.example/quorvel/",
                 "MailL": "mailto:support@vantrel.example?subject=Quorvel_Support",
                 "DonateI": "https://www.vantrel.example/quorvel/donate/"}
    for count, (link, address) in enumerate(addresses.items(), start=1):
        # One at a time, so that no two writers share the file.
        window.click(link)
        assert wait_until(lambda: opened.exists() and opened.read_text().count("\n") == count, 20), link
        assert opened.read_text().split()[-1] == address
    quorvel.exit()


def test_balloons_announce_the_card_a_named_press_and_winlirc_clients(program, wintool):
    port = free_port()
    write_settings(program.prefix, {"Balloon Hints": 1, "LIRC Server Port": str(port)})
    quorvel = start_quorvel(program, wintool, ini={"Buttons": {"00BE0035": "Play", "00BE0036": ""}})

    def balloon(text):
        assert wait_until(lambda: wintool.tooltips() == [text], 15), (text, wintool.tooltips())

    # The cards found at start are announced once the icon is there.
    balloon("Sim Beholder Card\r\n")
    quorvel.control.press(PLAY, 12)
    balloon("Name: Play\rCode: 00BE0035")
    with socket.create_connection(("127.0.0.1", port), timeout=5):
        balloon("Client connected")
    balloon("Client disconnected")
    # A button without a name raises none.
    quorvel.control.press(0x00BE0036, 2)
    quorvel.control.wait_idle()
    # The last balloon may meanwhile time out, and none may take its place.
    assert not wait_until(lambda: wintool.tooltips() not in ([], ["Client disconnected"]), 3)
    quorvel.exit()


def test_first_start_shows_where_it_runs_and_a_second_copy_shows_the_first(program, wintool, desktop):
    quorvel = start_quorvel(program, wintool)
    # Nothing stored yet: one balloon tells where the program went, though "Balloon Hints" is off.
    assert wait_until(lambda: wintool.tooltips() == [WHERE_IT_RUNS], 15), wintool.tooltips()
    window = QuorvelWindow(quorvel, desktop)
    assert not window.is_visible()

    # The second copy ends without a word; the first shows its window.
    second = program.start(args=["/debug"])
    assert second.wait(30) == 0
    assert window.wait_visible()
    assert wintool.dialogs() == []
    assert [window.pid for window in wintool.list() if window.class_name == MAIN_WINDOW[0]] == [
        next(window.pid for window in wintool.list() if window.hwnd == quorvel.hwnd)]
    start = quorvel.control.status().polls
    quorvel.control.wait_polls(start + 5)
    quorvel.exit()


def test_hidden_icon_runs_with_neither_window_nor_tray_icon(program, wintool, desktop):
    program.prefix.reg_add(PROGRAM_KEY, "Hidden Icon", "1", "REG_DWORD")
    quorvel = start_quorvel(program, wintool)
    quorvel.control.press(PLAY, 2)
    quorvel.control.wait_idle()
    wait_for_text(quorvel, "NameRCCodeExST", "00BE0035")
    window = QuorvelWindow(quorvel, desktop)
    assert not window.is_visible()
    assert wintool.children("__winex11_standalone_tray", "*") == []
    # A program the user hid altogether stays hidden when started again.
    assert program.start().wait(30) == 0
    assert not window.wait_visible(timeout=3)
    quorvel.exit()


def test_end_of_the_logon_saves_everything_and_ends_the_program(program, wintool):
    quorvel = start_quorvel(program, wintool)
    QuorvelWindow(quorvel, None).choose("MousePM")
    assert wait_until(lambda: checked_mode(quorvel) == ["MouseRB"], 10)
    assert program.prefix.run("wineboot", ["--end-session"], timeout=60)[0] == 0
    assert quorvel.process.wait(30) == 0
    assert stored(program, "Mode") == "0x3"
    assert "[RC]" in ini_text(program)
    assert wintool.dialogs() == []


def test_cancelled_logoff_lets_the_next_close_end_the_program(program, wintool):
    quorvel = start_quorvel(program, wintool)
    assert wintool.post(quorvel.hwnd, WM_QUERYENDSESSION)
    assert wintool.post(quorvel.hwnd, WM_ENDSESSION, 0)
    quorvel.control.wait_polls(quorvel.control.status().polls + 3)
    assert quorvel.process.is_running()
    wintool.close(quorvel.hwnd)
    assert quorvel.process.wait(30) == 0
    assert stored(program, "Mode") == "0x1"
    assert "[RC]" in ini_text(program)


def test_presses_reach_the_application_in_front_right_after_the_tray_menu(program, wintool, desktop):
    port = free_port()
    write_settings(program.prefix, {"Mode": 2, "LIRC Server Port": str(port)})
    quorvel = start_quorvel(program, wintool, ini={"RC": {"Name": "Hall"}, "Buttons": {"00BE0035": "Play"},
                                                   "Keys": {"00BE0035": "0041"}})
    window = QuorvelWindow(quorvel, desktop)
    spy = SpyWindow(program, wintool).start()
    client = connect_clients(port, 1)[0]

    # The window stays hidden while the menu switches to WinLIRC, where this button gives its
    # key and its line.
    left, top, right, bottom = window.open_tray_menu()
    desktop.click(left + 40, top + 12)
    assert wait_until(lambda: checked_mode(quorvel) == ["WinLIRCRB"], 10)
    assert not window.is_visible()
    quorvel.control.press(PLAY, 1)
    assert client.read_until(len(lirc_line(PLAY, 0, "Play", "Hall"))) == lirc_line(PLAY, 0, "Play", "Hall")
    assert wait_until(lambda: [line.replace("sys", "") for line in spy.inputs()] == ["keydown 41", "keyup 41"], 10), \
        spy.inputs()
    client.close()
    quorvel.exit()


def test_editor_captions_hints_and_about_group_as_laid_out(program, wintool):
    quorvel = start_quorvel(program, wintool)
    # The key field reads "None" before any button was pressed.
    assert quorvel.texts("KeyE") == {"KeyE": "None"}

    hints = {"SaveButtonPropertiesSB": "Save Button Properties", "RunSB": "Select application to run...",
             "SaveSetSB": "Save Settings", "LIRCSaveSB": "Save Settings", "TimingSB": "Timing...", "PaceB": "Pace...",
             "MacroB": "Macro..."}
    # The controls that show a picture or nothing carry the guide's words as hints.
    worded = {"WinLIRCRB": "WinLIRC", "KeysRB": "Keys", "MouseRB": "Mouse", "WMRB": "Messages",
              "WinLIRCEI": "WinLIRC", "KeysEI": "Keys", "MsEI": "Mouse", "WMEI": "Messages",
              "NameActionCB": "Action", "MsCB": "Mouse action", "NameMessageCB": "Application command",
              "KeyRepeatCB": "Repeat while held", "KeyE": "Key", "RunE": "Program to start", "OSDFI": "OSD colour"}
    assert wintool.hints(*MAIN_WINDOW, *hints, *worded) == {**hints, **worded}
    guide = (REPO_DIR / "docs" / "guide.md").read_text()
    assert [word for word in worded.values() if f'"{word}"' not in guide] == []
    # The picture-only buttons carry the same words as their names, for screen readers.
    assert quorvel.texts(*hints) == hints

    children = wintool.children(*MAIN_WINDOW)

    def group_rect(caption):
        return wintool.rect(next(child[0] for child in children if child[2] == "Button" and child[4] == caption))

    # "Name:" stands before the name field, on its row of the editor.
    editor = group_rect("RC Button Properties")
    name_field = wintool.control_rect(*MAIN_WINDOW, "NameE")
    captions = [wintool.rect(child[0]) for child in children if child[2] == "Static" and child[4] == "Name:"]
    assert any(editor[1] < top and right <= name_field[0] and name_field[1] <= top < name_field[3]
               for _, top, right, _ in captions), (captions, name_field)

    # The About group's controls sit where they belong inside the group, at 96 DPI.
    about = group_rect("About")
    places = {"ProgNameL": (4, 16), "VersionL": (88, 16), "FlagI": (166, 10), "AuthorL": (4, 32),
              "CopyrightL": (142, 32), "OSNL": (2, 46), "OSL": (25, 46), "HomeL": (6, 60), "MailL": (4, 76),
              "DonateI": (161, 62)}
    found = {}
    for control in places:
        left, top, _, _ = wintool.control_rect(*MAIN_WINDOW, control)
        found[control] = (left - about[0], top - about[1])
    assert found == places
    quorvel.exit()


def test_a_shell_that_stops_answering_holds_up_no_press(program, wintool):
    """The tray is a stand-in shell that stops (SIGSTOP) and comes back: meanwhile every press
    still gives its WinLIRC line and its key, and the window answers; the shell then gets only
    the latest state, and a shell started anew gets the icon again."""
    shell = StandIn(program, "shell", ("Shell_TrayWnd", ""), "shell")
    port = free_port()
    write_settings(program.prefix, {"LIRC Server Port": str(port), "Balloon Hints": 1})
    quorvel = start_quorvel(program, wintool, ini={"RC": {"Name": "Hall"}, "Buttons": {f"{PLAY:08X}": "Play"},
                                                   "Keys": {f"{PLAY:08X}": "0041"}})
    assert wait_until(lambda: "copydata 0" in shell.lines(), 20), f"no icon added to the shell: {shell.lines()}"
    assert wintool.children("__winex11_standalone_tray", "*") == []
    client = connect_clients(port, 1)[0]
    spy = SpyWindow(program, wintool).start()

    def press(count: int):
        for _ in range(count):
            with quorvel.control.atomic():
                quorvel.control.press(PLAY, 1)
                quorvel.control.gap(2)
            quorvel.control.wait_idle()

    line = lirc_line(PLAY, 0, "Play", "Hall")
    press(1)
    assert client.read_until(len(line)) == line
    os.kill(shell.process.pid, signal.SIGSTOP)
    try:
        calls_before = len(shell.lines())
        press(3)
        assert client.read_until(4 * len(line)) == 4 * line
        assert spy.wait_for_inputs(8).count("keydown 41") == 4
        assert quorvel.texts("NameRCCodeExST") == {"NameRCCodeExST": f"{PLAY:08X}"}
    finally:
        os.kill(shell.process.pid, signal.SIGCONT)
    # What piled up reaches the shell as the call that was waiting, the latest picture and the
    # latest balloon, not as one call per change.
    wait_until(lambda: len(shell.lines()) > calls_before, 10)
    quorvel.control.wait_polls(quorvel.control.status().polls + 10)
    assert 1 <= len(shell.lines()) - calls_before <= 3, shell.lines()

    # Closed, the stand-in announces "TaskbarCreated" as a restarted shell: Wine's own tray
    # gets the icon, and presses go on.
    assert wintool.close(next(w.hwnd for w in wintool.list() if w.class_name == "Shell_TrayWnd"))
    assert wait_until(lambda: wintool.children("__winex11_standalone_tray", "*"), 20), "the icon was not added again"
    press(1)
    assert client.read_until(5 * len(line)) == 5 * line
    quorvel.exit()


def test_a_refused_or_repeated_add_of_the_tray_icon_leaves_a_working_icon_that_exit_removes(program, wintool):
    """The stand-in shell refuses the first add, as a shell not ready at logon, and later
    announces "TaskbarCreated" while it still has the icon, as when that message crosses an
    add: the icon is added again after a pause, the repeated add is taken as done, balloons
    still reach it, and "Exit" removes it."""
    shell = StandIn(program, "shell", ("Shell_TrayWnd", ""), "shell-refusing")
    write_settings(program.prefix, {"Balloon Hints": 1, "LIRC Server Enabled": 0})
    quorvel = start_quorvel(program, wintool, ini={"Buttons": {f"{PLAY:08X}": "Play"}})
    # Refused, the add is tried as a change of an icon the shell has, then again after a pause.
    added = ["ready", "copydata 0 refused", "copydata 1 refused", "copydata 0"]
    assert wait_until(lambda: shell.lines()[:4] == added, 20), shell.lines()

    shell_window = next(w.hwnd for w in wintool.list() if w.class_name == "Shell_TrayWnd")
    assert wintool.post(shell_window, WM_USER + 101)
    assert wait_until(lambda: shell.lines()[4:] == ["copydata 0 refused", "copydata 1"], 20), shell.lines()
    quorvel.control.press(PLAY, 1)
    # The press's picture and balloon reach the icon.
    assert wait_until(lambda: len(shell.lines()) > 6, 20), shell.lines()
    assert set(shell.lines()[6:]) == {"copydata 1"}, shell.lines()
    quorvel.exit()
    # The exit does not wait long for the shell's answer: the removal reaches it all the same.
    assert wait_until(lambda: shell.lines()[-1] == "copydata 2", 20), shell.lines()
    refusals = [line for line in log_lines(program) if "NIM_ADD" in line]
    assert len(refusals) == 1, refusals


def test_a_shell_that_stops_answering_at_the_exit_holds_it_up_only_for_a_call_it_has_not_answered(program, wintool):
    """A stand-in shell that stops (SIGSTOP) once it has the icon and its first picture: "Exit"
    ends without a word about the shell, and the shell removes the icon when it comes back. One
    that stops before the icon's add: "Exit" waits a little for it, then ends and says the icon
    is left to the shell."""
    shell = StandIn(program, "shell", ("Shell_TrayWnd", ""), "shell")
    write_settings(program.prefix, {"LIRC Server Enabled": 0})
    quorvel = start_quorvel(program, wintool)
    # The add, then the idle picture of the first tick; nothing more is due without a press.
    assert wait_until(lambda: shell.lines() == ["ready", "copydata 0", "copydata 1"], 20), shell.lines()
    os.kill(shell.process.pid, signal.SIGSTOP)
    try:
        quorvel.exit()
        assert [line for line in log_lines(program) if "shell" in line] == []
    finally:
        os.kill(shell.process.pid, signal.SIGCONT)
    assert wait_until(lambda: shell.lines()[3:] == ["copydata 2"], 20), shell.lines()

    os.kill(shell.process.pid, signal.SIGSTOP)
    try:
        quorvel = start_quorvel(program, wintool)
        quorvel.exit()
        assert [line.split(" ", 2)[-1] for line in log_lines(program) if "shell" in line] == [
            "The shell did not answer; the tray icon is left to it"], log_lines(program)
    finally:
        os.kill(shell.process.pid, signal.SIGCONT)
