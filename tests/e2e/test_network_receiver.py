"""Quorvel receiving from Debian's lircd over TCP instead of a card: no library beside it, the
server in the card list, presses and holds with the outputs a card's give, two quick presses,
lircd going away in the middle of a hold and coming back, its own WinLIRC server refused, and
the setting on the "WinLIRC" tab."""

import re

import pytest

from harness import MAIN_WINDOW
from harness.ports import free_port
from harness.waiting import wait_until
from lirc_clients import LircClient, lirc_line, wait_quiet, write_settings
from lircd_server import REPEAT_GAP_S, Lircd
from osd_windows import visible_osd
from output_spy import SpyWindow
from quorvel import RunningQuorvel, wait_for_text
from quorvel_window import CONTROL_IDS
from settings_registry import PROGRAM_KEY, read_values

PLAY, VOLUME, UNNAMED = 0xA35C, 0x0010, 0xBE0099
MAP = {
    "RC": {"Name": "Hall"},
    "Buttons": {f"{PLAY:08X}": "Play", f"{VOLUME:08X}": "Volume"},
    # A key of their own: in WinLIRC mode such a button sends its key and its line.
    "Keys": {f"{PLAY:08X}": "0042", f"{VOLUME:08X}": "0056"},
}
TIME = r"\d{1,2}:\d{2}:\d{2}( [AP]M)?"


@pytest.fixture
def lircd(tmp_path):
    server = Lircd(tmp_path / "lircd", free_port()).start()
    yield server
    server.stop()


def start_receiving(program, wintool, server: str, ini=MAP, **settings) -> tuple:
    """Quorvel with no receiver library beside it, receiving from `server`; returns it and the
    port of its own WinLIRC server."""
    port = free_port()
    write_settings(program.prefix, {"Network Receiver": server, "LIRC Server Port": str(port), **settings})
    program.add_quorvel()
    program.write_quorvel_ini(ini)
    return RunningQuorvel(program, wintool, program.start(), library=None).wait_started(), port


def wait_for_status(quorvel, event: str, timeout: float = 15.0):
    def shown() -> str:
        return (quorvel.status() or [""])[0] or ""

    assert wait_until(lambda: re.fullmatch(f"{TIME} {event}", shown()), timeout), \
        f"status bar never showed {event!r} (shows {shown()!r})"


def connect_client(quorvel, port: int) -> LircClient:
    client = LircClient(port)
    wait_for_status(quorvel, "Client connected")
    return client


def repeat_numbers(lines: bytes, code: int) -> list:
    prefix = f"{code:016X} ".encode()
    return [int(line.split(b" ")[1], 16) for line in lines.splitlines() if line.startswith(prefix)]


def keepalive_seconds_left(server_port: int) -> list:
    """For each established connection to the server's port, the seconds until the kernel's
    keep-alive probe, or None where it runs no such timer (/proc/net/tcp: timer kind 2)."""
    left = []
    for row in open("/proc/net/tcp").read().splitlines()[1:]:
        fields = row.split()
        if int(fields[2].split(":")[1], 16) == server_port and fields[3] == "01":
            kind, when = fields[5].split(":")
            left.append(int(when, 16) / 100 if kind == "02" else None)
    return left


def test_presses_and_holds_give_a_cards_lines_keys_and_display(program, wintool, lircd):
    address = f"127.0.0.1:{lircd.port}"
    quorvel, port = start_receiving(program, wintool, address, OSD=1)
    assert wintool.items(*MAIN_WINDOW, "WDMCB") == (0, [f"LIRC {address}"])
    assert not wintool.state(*MAIN_WINDOW, "WDMCB")["WDMCB"].enabled
    wait_for_status(quorvel, "LIRC server connected")
    # A server host that vanishes without a word is found by probes after 15 s of silence.
    left = keepalive_seconds_left(lircd.port)
    assert len(left) == 1 and left[0] is not None and left[0] <= 15, left
    assert wintool.dialogs() == [], "no card library is needed"
    client = connect_client(quorvel, port)
    program.add_tool("osdprobe")
    spy = SpyWindow(program, wintool).start()

    # A short press: one line, one keystroke, one display, as a card's press gives.
    lircd.send(PLAY, 0, "Play")
    line = lirc_line(PLAY, 0, "Play", "Hall")
    assert client.read_until(len(line)) == line
    assert wait_until(lambda: visible_osd(program), 10), "no on-screen display"
    assert spy.wait_for_inputs(2) == ["keydown 42", "keyup 42"]
    wait_for_text(quorvel, "Code2ST", "00000000")
    wait_quiet([client])
    assert client.take() == line

    # A hold of 1.5 s: one press whose repeats follow the tick, as a card's hold does: lines
    # 00, then 02, 03, ... every second tick, keys from the tenth tick on, every tick.
    lircd.hold(VOLUME, "Volume", 1.5)
    wait_for_text(quorvel, "Code2ST", "00000000")
    wait_quiet([client])
    numbers = repeat_numbers(client.take(), VOLUME)
    assert numbers[0] == 0 and numbers[1:] == list(range(2, len(numbers) + 1)), numbers
    assert numbers[-1] >= 8, "the hold was cut short"
    keys = [event for event in spy.inputs()[2:]]
    assert keys == ["keydown 56", "keyup 56"] * (len(keys) // 2)
    # The last line went at an even hold count from 10 on, and keys up to the hold's last tick.
    last_hold_count = 2 * numbers[-1] + 6
    assert last_hold_count - 8 + 1 <= len(keys) // 2 <= last_hold_count - 8 + 2, (numbers, len(keys))
    quorvel.exit()


def test_a_long_press_ends_with_the_servers_hold(program, wintool, lircd):
    ini = {**MAP, "Keys": {**MAP["Keys"], f"{PLAY:08X}-Long": "0043"}, "Repeat": {f"{PLAY:08X}-Long": "0"}}
    quorvel, port = start_receiving(program, wintool, f"127.0.0.1:{lircd.port}", ini=ini)
    wait_for_status(quorvel, "LIRC server connected")
    client = connect_client(quorvel, port)
    spy = SpyWindow(program, wintool).start()

    # One line is a press that ends with the hold time, short of the long-press time: the
    # button's key at that end. Held for 1.5 s, only the long press's key; the lines as always.
    lircd.send(PLAY, 0, "Play")
    assert spy.wait_for_inputs(2) == ["keydown 42", "keyup 42"]
    lircd.hold(PLAY, "Play", 1.5)
    wait_for_text(quorvel, "Code2ST", "00000000")
    wait_quiet([client])
    assert spy.inputs() == ["keydown 42", "keyup 42", "keydown 43", "keyup 43"]
    numbers = repeat_numbers(client.take(), PLAY)
    assert numbers[:3] == [0, 0, 2] and numbers[2:] == list(range(2, len(numbers))), numbers
    quorvel.exit()


def test_two_quick_presses_are_two_and_unnamed_buttons_take_the_servers_name(program, wintool, lircd):
    quorvel, port = start_receiving(program, wintool, f"localhost:{lircd.port}")
    wait_for_status(quorvel, "LIRC server connected")
    client = connect_client(quorvel, port)

    # Well within the hold time: without a tick between them the two would be one press.
    lircd.send(PLAY, 0, "Play")
    lircd.send(PLAY, 0, "Play")
    lircd.send(UNNAMED, 0, "KEY_OK")
    expected = lirc_line(PLAY, 0, "Play", "Hall") * 2 + lirc_line(UNNAMED, 0, "KEY_OK", "Hall")
    assert client.read_until(len(expected)) == expected
    wait_for_text(quorvel, "NameRCCodeExST", f"{UNNAMED:08X}")
    assert quorvel.texts("NameE", "NameRCCodeST") == {"NameE": "KEY_OK", "NameRCCodeST": "99"}
    wait_quiet([client])
    assert client.take() == expected
    quorvel.exit()


def test_lircd_gone_in_the_middle_of_a_hold_releases_it_and_is_found_again(program, wintool, lircd):
    quorvel, port = start_receiving(program, wintool, f"127.0.0.1:{lircd.port}")
    wait_for_status(quorvel, "LIRC server connected")
    client = connect_client(quorvel, port)

    hold = lircd.hold_in_background(VOLUME, "Volume")
    assert wait_until(lambda: int(quorvel.texts("RepeatCountL").get("RepeatCountL") or "0", 16) >= 2, 15), \
        "the hold never reached its repeats"
    lircd.stop()
    hold.stop()
    wait_for_status(quorvel, "LIRC server disconnected")
    assert quorvel.texts("Code2ST", "NameST") == {"Code2ST": "00000000", "NameST": ""}
    wait_quiet([client])
    client.take()

    # The first retry comes 2 s after the loss.
    lircd.start()
    wait_for_status(quorvel, "LIRC server connected", timeout=20)
    lircd.send(PLAY, 0, "Play")
    line = lirc_line(PLAY, 0, "Play", "Hall")
    assert client.read_until(len(line)) == line
    quorvel.exit()


def test_down_server_is_reported_and_tried_again(program, wintool, tmp_path):
    server = Lircd(tmp_path / "later", free_port())
    quorvel, _ = start_receiving(program, wintool, f"127.0.0.1:{server.port}")
    wait_for_status(quorvel, "LIRC server unreachable")
    server.start()
    try:
        wait_for_status(quorvel, "LIRC server connected", timeout=20)
    finally:
        server.stop()
    quorvel.exit()


def test_own_winlirc_server_is_refused_and_the_tab_stores_the_setting(program, wintool):
    port = free_port()
    program.add_quorvel()
    write_settings(program.prefix, {"Network Receiver": f"localhost:{port}", "LIRC Server Port": str(port)})
    quorvel = RunningQuorvel(program, wintool, program.start(), library=None).wait_started()
    dialog = wintool.wait_for_dialog(f"cannot receive from localhost:{port}", 30)
    assert dialog is not None, f"no refusal; open: {wintool.dialogs()}"
    assert "own WinLIRC server" in dialog.text and dialog.title == "Quorvel"
    assert wintool.click_ok(dialog)
    assert quorvel.status()[0] == "LIRC receiver not started"
    assert wintool.state(*MAIN_WINDOW, "NetworkReceiverCB")["NetworkReceiverCB"].checked == 1

    # Another server, saved for the next start; then off, which removes the value.
    field = next(child[0] for child in wintool.children(*MAIN_WINDOW) if child[4] == f"localhost:{port}")
    assert wintool.set_text(field, "lirc-box:8765")
    assert wintool.click(*MAIN_WINDOW, "SaveSetSB")
    assert read_values(program.prefix, PROGRAM_KEY)["Network Receiver"] == "lirc-box:8765"
    assert wintool.click(*MAIN_WINDOW, "NetworkReceiverCB")
    assert wintool.click(*MAIN_WINDOW, "SaveSetSB")
    assert "Network Receiver" not in read_values(program.prefix, PROGRAM_KEY)
    quorvel.exit()


def test_without_a_card_library_the_window_sets_up_a_lirc_server_and_receives_from_it(program, wintool, lircd):
    write_settings(program.prefix, {"LIRC Server Port": str(free_port())})
    program.add_quorvel()
    program.write_quorvel_ini(MAP)
    process = program.start()
    dialog = wintool.wait_for_dialog("TV Tuner DLL not found!", 30)
    assert dialog, wintool.dialogs()
    # The message names the files and the folder it looked in, and offers the server instead.
    assert dialog.text.startswith("TV Tuner DLL not found!")
    assert "BeholdRC.dll, RemoteSdk.dll and VendorCmdRW.dll" in dialog.text
    assert f" in {program.windows_path}, " in dialog.text, dialog.text
    assert dialog.text.endswith("Quorvel can receive from a LIRC server instead: open the settings?")
    assert wintool.click_button("#32770", "Quorvel", "&Yes")

    # The window comes up on its "WinLIRC" tab; the server set there is received from once saved.
    quorvel = RunningQuorvel(program, wintool, process, library=None).wait_started()
    assert wait_until(lambda: any(w.hwnd == quorvel.hwnd and w.visible for w in wintool.list()), 10)
    assert wintool.state(*MAIN_WINDOW, "NetworkReceiverCB")["NetworkReceiverCB"].visible
    assert wintool.click(*MAIN_WINDOW, "NetworkReceiverCB")
    field = next(child[0] for child in wintool.children(*MAIN_WINDOW) if child[1] == CONTROL_IDS["NetworkReceiverE"])
    assert wintool.set_text(field, f"127.0.0.1:{lircd.port}")
    assert wintool.click(*MAIN_WINDOW, "SaveSetSB")
    wait_for_status(quorvel, "LIRC server connected")
    lircd.send(PLAY, 0, "Play")
    wait_for_text(quorvel, "NameRCCodeExST", f"{PLAY:08X}")
    quorvel.exit()
    assert read_values(program.prefix, PROGRAM_KEY)["Network Receiver"] == f"127.0.0.1:{lircd.port}"
