"""Quorvel's WinLIRC server seen from Linux peers: the exact lines of presses and holds on
several clients, Debian's LIRC tools as real clients (irsend's commands answered), the client
limit, clients that flood or stall, the listener switched off, its port taken, and the client events in the status bar."""

import os
import re
import socket
import subprocess
import time

import pytest

from harness import MAIN_WINDOW
from harness.paths import quorvel_version
from harness.ports import free_port
from harness.waiting import wait_until
from lirc_clients import (PROBE_CODE, SETTINGS_KEY, Flooder, LircClient, connect_clients, expected_lines, lirc_line,
                          wait_for_clients, wait_quiet, write_settings)
from quorvel import start_quorvel

PLAY = 0x0000A35C
VOLUME_UP = 0x00BE0010
UNNAMED = 0x00BE0052
SLEEP_TIMER = 0x00BE0030
NO_REPEAT = 0x00BE0011

MAP = {
    "RC": {"Name": "Hall"},
    "Buttons": {f"{PLAY:08X}": "Play", f"{VOLUME_UP:08X}": "Volume Up", f"{SLEEP_TIMER:08X}": "Timer",
                f"{NO_REPEAT:08X}": "Once"},
    "Actions": {f"{SLEEP_TIMER:08X}": "5"},
    "Repeat": {f"{NO_REPEAT:08X}": "0"},
}
# Status bar panel 0 after a client event: the time in the long format, then the event.
CONNECTED = r"\d{1,2}:\d{2}:\d{2}( [AP]M)? Client connected"
DISCONNECTED = r"\d{1,2}:\d{2}:\d{2}( [AP]M)? Client disconnected"


def start_with_server(program, wintool, ini=MAP, **settings):
    """Quorvel listening on a port of this test's own, so parallel runs never meet."""
    port = settings.pop("port", None) or free_port()
    write_settings(program.prefix, {"LIRC Server Port": str(port), **settings})
    return start_quorvel(program, wintool, ini=ini), port


def clients_label(quorvel) -> str:
    return quorvel.texts("LIRCServerClientsL").get("LIRCServerClientsL")


def press_once(quorvel, code: int):
    """One press of one poll, processed by the program when this returns."""
    with quorvel.control.atomic():
        quorvel.control.press(code, 1)
        quorvel.control.gap(1)
    quorvel.control.wait_idle()


def assert_receive_exactly(clients, expected: bytes):
    for number, client in enumerate(clients):
        assert client.read_until(len(expected)) == expected, f"client {number}"
    wait_quiet(clients)
    for number, client in enumerate(clients):
        assert client.take() == expected, f"client {number} got more"


def refuses_connections(port: int) -> bool:
    try:
        socket.create_connection(("127.0.0.1", port), timeout=5).close()
    except ConnectionRefusedError:
        return True
    return False


def status_event(quorvel) -> str:
    return quorvel.status()[0]


def wait_for_status(quorvel, pattern: str, timeout: float = 10.0) -> str:
    seen = wait_until(lambda: (text := status_event(quorvel)) and re.fullmatch(pattern, text) and text, timeout)
    assert seen, f"status bar never matched {pattern!r} (shows {status_event(quorvel)!r})"
    return seen


def test_presses_and_holds_reach_three_clients_exactly(program, wintool):
    quorvel, port = start_with_server(program, wintool)
    clients = connect_clients(port, 3)
    wait_for_clients(quorvel, 3, clients)
    control = quorvel.control

    # The times the library gives the press lie between the request and the line, in order.
    requested_us = time.time_ns() // 1000
    control.press(PLAY, 1)
    line = lirc_line(PLAY, 0, "Play", "Hall")
    assert line == b"000000000000A35C 00 Play Hall\n"
    assert_receive_exactly(clients, line)
    received_us = time.time_ns() // 1000
    start = control.pressed()
    assert start.code == PLAY and requested_us <= start.queued_us <= start.polled_us <= received_us

    with control.atomic():
        for code, polls in [(VOLUME_UP, 25), (UNNAMED, 1), (SLEEP_TIMER, 12), (NO_REPEAT, 20), (PLAY, 11)]:
            control.press(code, polls)
            control.gap(2)
    expected = [
        *expected_lines(VOLUME_UP, 25, "Volume Up", "Hall"),
        b"0000000000BE0052 00 00BE0052 Hall\n",
        # The sleep-timer button has an action of its own and sends nothing; a button without
        # its repeat flag sends only its first line.
        *expected_lines(NO_REPEAT, 20, "Once", "Hall", repeats=False),
        *expected_lines(PLAY, 11, "Play", "Hall"),
    ]
    assert [sent.split(b" ")[1] for sent in expected[:9]] == [b"%02d" % n for n in (0, 2, 3, 4, 5, 6, 7, 8, 9)]
    control.wait_idle()
    assert_receive_exactly(clients, b"".join(expected))
    assert status_event(quorvel) == "Sleep Timer On"
    assert clients_label(quorvel) == "3"
    quorvel.exit()


def test_without_remote_name_a_client_flooding_commands_and_garbage_unread_is_dropped_and_the_other_gets_every_line(
        program, wintool):
    quorvel, port = start_with_server(program, wintool, ini={"Buttons": {f"{PLAY:08X}": "Play"}})
    assert quorvel.texts("RemoteNameE") == {"RemoteNameE": "RC"}
    reader = connect_clients(port, 1)[0]
    flooding = LircClient(port, receive_buffer=4096, reading=False)
    wait_for_clients(quorvel, 2, [reader])
    wait_for_status(quorvel, CONNECTED)

    # Every command is answered, so a client that never reads its replies fills its buffers.
    flood = Flooder(flooding, 256 << 20).start()
    quorvel.control.press(PLAY, 30)
    expected = expected_lines(PLAY, 30, "Play", "RC")
    assert expected[0] == b"000000000000A35C 00 Play RC\n"
    assert_receive_exactly([reader], b"".join(expected))
    assert flood.join(), "the flooding client is still connected"
    assert flood.error is not None and flood.sent < 256 << 20
    wait_for_status(quorvel, DISCONNECTED)
    press_once(quorvel, PLAY)
    assert_receive_exactly([reader], expected[0])
    assert clients_label(quorvel) == "1"
    quorvel.exit()


def test_keys_mode_sends_nothing_but_counts_the_clients(program, wintool):
    quorvel, port = start_with_server(program, wintool, Mode=2)
    clients = connect_clients(port, 2)
    # The probe presses themselves show the count.
    wait_for_clients(quorvel, 2)
    quorvel.control.press(PLAY, 12)
    quorvel.control.wait_idle()
    wait_quiet(clients)
    for client in clients:
        assert client.received == b""
    quorvel.exit()


def test_seventeenth_client_is_closed_at_once_without_an_event(program, wintool):
    quorvel, port = start_with_server(program, wintool)
    clients = connect_clients(port, 16)
    wait_for_clients(quorvel, 16, clients)
    # A status text of its own, so that a client event would show.
    press_once(quorvel, SLEEP_TIMER)
    wait_for_status(quorvel, "Sleep Timer On")

    extra = LircClient(port)
    assert extra.wait_ended(), "the 17th client stayed connected"
    press_once(quorvel, PLAY)
    assert_receive_exactly(clients, lirc_line(PLAY, 0, "Play", "Hall"))
    assert extra.received == b""
    assert clients_label(quorvel) == "16"
    assert status_event(quorvel) == "Sleep Timer On"

    # A place that comes free is taken by the next client; "Clients:" follows without a press.
    clients[0].close()
    wait_for_status(quorvel, DISCONNECTED)
    assert wait_until(lambda: clients_label(quorvel) == "15", 10), clients_label(quorvel)
    late = LircClient(port)
    assert wait_until(lambda: clients_label(quorvel) == "16", 10), clients_label(quorvel)
    wait_for_clients(quorvel, 16, [*clients[1:], late])
    quorvel.exit()


def test_stalled_client_never_holds_up_the_others(program, wintool):
    # Long names fill a client's buffers within seconds.
    names = {PLAY: "P" * 32000, VOLUME_UP: "V" * 32000}
    ini = {"RC": {"Name": "Hall"}, "Buttons": {f"{code:08X}": name for code, name in names.items()}}
    quorvel, port = start_with_server(program, wintool, ini=ini)
    readers = connect_clients(port, 3)
    stalled = LircClient(port, receive_buffer=2048, reading=False)
    wait_for_clients(quorvel, 4, readers)

    control = quorvel.control
    expected = b""
    for _ in range(10):
        with control.atomic():
            for _ in range(10):
                control.press(PLAY, 1)
                control.press(VOLUME_UP, 1)
        expected += (lirc_line(PLAY, 0, names[PLAY], "Hall") + lirc_line(VOLUME_UP, 0, names[VOLUME_UP], "Hall")) * 10
        control.wait_idle(timeout=30)
        if clients_label(quorvel) == "3":
            break
    assert clients_label(quorvel) == "3", "the stalled client was never dropped"
    wait_for_status(quorvel, DISCONNECTED)
    assert_receive_exactly(readers, expected)

    # What the stalled client had taken before it was dropped is the start of the same stream.
    stalled.start_reading()
    assert stalled.wait_ended()
    taken = stalled.received
    while taken.startswith(f"{PROBE_CODE:016X} ".encode()):
        taken = taken.split(b"\n", 1)[1]
    assert len(taken) > 0 and expected.startswith(taken)
    quorvel.exit()


def test_disabled_listener_refuses_clients_until_enabled(program, wintool):
    quorvel, port = start_with_server(program, wintool, **{"LIRC Server Enabled": 0})
    # Polls come from the tick, which runs once start-up is over.
    quorvel.control.wait_polls(1)
    assert refuses_connections(port)
    press_once(quorvel, PLAY)
    assert clients_label(quorvel) == "..."
    state = wintool.state(*MAIN_WINDOW, "LIRCServerCB", "LIRCServerPortE")
    assert state["LIRCServerCB"].checked == 0 and state["LIRCServerPortE"].enabled

    assert wintool.click(*MAIN_WINDOW, "LIRCServerCB")
    assert not wintool.state(*MAIN_WINDOW, "LIRCServerPortE")["LIRCServerPortE"].enabled
    # The tab's own save button stores it.
    assert wintool.click(*MAIN_WINDOW, "LIRCSaveSB")
    assert wait_until(lambda: program.prefix.reg_query(SETTINGS_KEY, "LIRC Server Enabled") == "0x1", 10)
    client = LircClient(port)
    wait_for_clients(quorvel, 1, [client])
    press_once(quorvel, PLAY)
    assert_receive_exactly([client], lirc_line(PLAY, 0, "Play", "Hall"))

    assert wintool.click(*MAIN_WINDOW, "LIRCServerCB")
    assert client.wait_ended(), "switching the listener off left the client connected"
    assert wintool.state(*MAIN_WINDOW, "LIRCServerPortE")["LIRCServerPortE"].enabled
    assert refuses_connections(port)
    wait_for_status(quorvel, DISCONNECTED)
    press_once(quorvel, PLAY)
    assert clients_label(quorvel) == "..."
    quorvel.exit()


def test_port_in_use_is_reported_and_can_be_retried(program, wintool):
    port = free_port()
    blocker = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    blocker.bind(("127.0.0.1", port))
    blocker.listen()
    try:
        quorvel, _ = start_with_server(program, wintool, port=port)
        dialog = wintool.wait_for_dialog(f"cannot listen on port {port}", 30)
        assert dialog is not None, f"no error message; open: {wintool.dialogs()}"
        assert dialog.title == "Quorvel"
        assert wintool.click_ok(dialog)
    finally:
        blocker.close()
    state = wintool.state(*MAIN_WINDOW, "LIRCServerCB", "LIRCServerPortE")
    assert state["LIRCServerCB"].checked == 1 and state["LIRCServerPortE"].enabled
    press_once(quorvel, PLAY)
    assert clients_label(quorvel) == "..."

    # Off and on again, now that the port is free.
    assert wintool.click(*MAIN_WINDOW, "LIRCServerCB")
    assert wintool.click(*MAIN_WINDOW, "LIRCServerCB")
    assert not wintool.state(*MAIN_WINDOW, "LIRCServerPortE")["LIRCServerPortE"].enabled
    # The tab's own save button stores it.
    assert wintool.click(*MAIN_WINDOW, "LIRCSaveSB")
    assert wait_until(lambda: program.prefix.reg_query(SETTINGS_KEY, "LIRC Server Enabled") == "0x1", 10)
    client = LircClient(port)
    wait_for_clients(quorvel, 1, [client])
    assert wintool.dialogs() == []
    quorvel.exit()


@pytest.fixture
def linux_programs(tmp_path):
    """run(name, *args, env=None) starts a Linux program with its output in tmp_path/<name>.out
    and returns that path; the programs are ended after the test."""
    processes = []

    def run(name: str, *args, env: dict = None):
        out = tmp_path / f"{name}.out"
        with open(out, "wb") as output:
            processes.append(subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=output,
                                              stderr=subprocess.STDOUT, env=env))
        return out

    yield run
    for process in reversed(processes):
        process.terminate()
        process.wait(10)


def test_irw_and_irexec_through_a_unix_socket_bridge(program, wintool, tmp_path, linux_programs):
    quorvel, port = start_with_server(program, wintool)
    # irw and irexec read a unix socket; socat bridges each of their connections to the port.
    path = tmp_path / "lircd"
    linux_programs("socat", "socat", f"UNIX-LISTEN:{path},fork", f"TCP:127.0.0.1:{port}")
    assert wait_until(path.exists, 10), "socat never listened"
    irw_output = linux_programs("irw", "irw", str(path))
    played, other_remote = tmp_path / "played", tmp_path / "other-remote"
    lircrc = tmp_path / "lircrc"
    lircrc.write_text(f"begin\n  prog = irexec\n  remote = Hall\n  button = Play\n  config = touch {played}\nend\n"
                      f"begin\n  prog = irexec\n  remote = Other\n  button = Play\n  config = touch {other_remote}\n"
                      "end\n")
    linux_programs("irexec", "irexec", str(lircrc), env={**os.environ, "LIRC_SOCKET_PATH": str(path)})
    wait_for_clients(quorvel, 2)

    with quorvel.control.atomic():
        quorvel.control.press(PLAY, 1)
        quorvel.control.gap(2)
        quorvel.control.press(UNNAMED, 1)
    assert wait_until(played.exists, 10), "irexec ran nothing"
    expected = ["000000000000A35C 00 Play Hall", "0000000000BE0052 00 00BE0052 Hall"]
    assert wait_until(lambda: expected[-1] in irw_output.read_text(), 10), irw_output.read_text()
    lines = [line for line in irw_output.read_text().splitlines() if not line.startswith(f"{PROBE_CODE:016X}")]
    assert lines == expected
    assert not other_remote.exists()
    quorvel.exit()


def test_irsend_commands_are_answered_through_a_unix_socket_bridge(program, wintool, tmp_path, linux_programs):
    quorvel, port = start_with_server(program, wintool)
    # Once the listener is up: socat would close irsend's connection while nothing listens.
    listening = connect_clients(port, 1)
    wait_for_clients(quorvel, 1, listening)
    path = tmp_path / "lircd"
    linux_programs("socat", "socat", f"UNIX-LISTEN:{path},fork", f"TCP:127.0.0.1:{port}")
    assert wait_until(path.exists, 10), "socat never listened"

    def irsend(*words):
        done = subprocess.run(["irsend", "-d", str(path), *words], stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=30)
        return done.returncode, done.stdout.decode("cp1252").splitlines()

    assert irsend("VERSION", "", "") == (0, [quorvel_version(), ""])
    assert irsend("LIST", "", "") == (0, ["Hall", ""])
    assert irsend("LIST", "Hall", "") == (0, ["000000000000A35C Play", "0000000000BE0010 Volume Up",
                                               "0000000000BE0030 Timer", "0000000000BE0011 Once", ""])
    assert irsend("LIST", "Hall", "Volume Up") == (0, ["0000000000BE0010 Volume Up", ""])
    assert irsend("LIST", "Other", "") == (1, ['unknown remote: "Other"', ""])
    assert irsend("SEND_ONCE", "Hall", "Play") == (1, ['unknown directive: "SEND_ONCE"', ""])

    # Each irsend came and went as a client of its own; the client that asked nothing got only
    # the probes' lines, and the press.
    wait_for_clients(quorvel, 1, listening)
    wait_for_status(quorvel, DISCONNECTED)
    press_once(quorvel, PLAY)
    assert_receive_exactly(listening, lirc_line(PLAY, 0, "Play", "Hall"))
    quorvel.exit()
