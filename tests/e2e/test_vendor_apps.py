"""Living beside the makers' TV applications, played by stand-in windows with their class names
and titles (tools/vendorapp): the BeholdTV priority, closing Compro's remote manager at
start-up, and forwarding presses to ComproDTV 4."""

import socket

import pytest

from harness.ports import free_port
from harness.waiting import wait_until
from quorvel import log_lines, start_quorvel, wait_for_text
from stand_in import StandIn

PROGRAM_KEY = r"HKCU\Software\Vantrel\Quorvel"
BEHOLD_TV = ("TMain", "BeholdTV")
COMPRO_MANAGER = ("Class of Compro Management", "Compro Management")
COMPRO_DTV = ("Class of Compro primary Main control panel", "ComproDTV 4")
PLAY = 0xA35C


def lirc_client(port: int) -> socket.socket:
    """A WinLIRC client; the listener starts last in the start-up, so it may take a moment."""
    def connect():
        try:
            return socket.create_connection(("127.0.0.1", port), timeout=5)
        except ConnectionRefusedError:
            return None

    client = wait_until(connect, 10)
    assert client, f"nothing listens on port {port}"
    client.settimeout(0.5)
    return client


def received(client: socket.socket) -> bytes:
    data = b""
    while True:
        try:
            chunk = client.recv(4096)
        except socket.timeout:
            return data
        if not chunk:
            return data
        data += chunk


def press_and_read(quorvel, client, code=PLAY) -> bytes:
    quorvel.control.press(code, 2)
    quorvel.control.gap(2)
    quorvel.control.wait_idle()
    return received(client)


@pytest.mark.parametrize("show, priority", [("shown", True), ("minimized", True), ("hidden", False)])
def test_beholdtv_priority_holds_while_its_window_is_visible(program, wintool, show, priority):
    port = free_port()
    program.prefix.reg_add(PROGRAM_KEY, "BeholdTV", "1", "REG_DWORD")
    program.prefix.reg_add(PROGRAM_KEY, "LIRC Server Port", str(port))
    behold_tv = StandIn(program, "beholdtv", BEHOLD_TV, show)
    quorvel = start_quorvel(program, wintool, ini={"RC": {"Name": "RC"}, "Buttons": {"0000A35C": "Play"}})
    client = lirc_client(port)

    line = press_and_read(quorvel, client)
    # The codes are shown either way; only the outputs yield to BeholdTV.
    assert quorvel.texts("NameRCCodeExST") == {"NameRCCodeExST": "0000A35C"}
    assert line == (b"" if priority else b"000000000000A35C 00 Play RC\n")

    behold_tv.stop()
    assert press_and_read(quorvel, client) == b"000000000000A35C 00 Play RC\n"
    client.close()
    quorvel.exit()


def test_compro_remote_manager_is_closed_at_start_up_only(program, wintool):
    early = StandIn(program, "manager-early", COMPRO_MANAGER)
    quorvel = start_quorvel(program, wintool, library="RemoteSdk")
    assert wait_until(lambda: "close" in early.lines(), 10), early.lines()

    late = StandIn(program, "manager-late", COMPRO_MANAGER)
    quorvel.control.press(0x1A5, 3)
    quorvel.control.wait_idle()
    assert "close" not in late.lines()
    late.stop()
    quorvel.exit()


def test_presses_are_forwarded_to_compro_dtv_with_the_rc_code(program, wintool):
    dtv = StandIn(program, "comprodtv", COMPRO_DTV)
    quorvel = start_quorvel(program, wintool, library="RemoteSdk")
    quorvel.control.press(0x1A5, 1)
    quorvel.control.wait_idle()
    wait_for_text(quorvel, "NameRCCodeExST", "000001A5")
    assert wait_until(lambda: "user A5 0" in dtv.lines(), 10), dtv.lines()
    assert dtv.lines().count("user A5 0") == 1
    dtv.stop()
    quorvel.exit()


def test_compro_dtv_interaction_off_forwards_nothing(program, wintool):
    program.prefix.reg_add(PROGRAM_KEY, "ComproDTV", "0", "REG_DWORD")
    dtv = StandIn(program, "comprodtv", COMPRO_DTV)
    quorvel = start_quorvel(program, wintool, library="RemoteSdk")
    quorvel.control.press(0x1A5, 3)
    quorvel.control.wait_idle()
    wait_for_text(quorvel, "NameRCCodeExST", "000001A5")
    assert [line for line in dtv.lines() if line.startswith("user")] == []
    dtv.stop()
    quorvel.exit()


def test_hung_windows_do_not_stop_the_presses(program, wintool):
    """A ComproDTV 4 that stopped answering, in front: its forwarded press and the application
    command each wait a moment and are dropped, and every press still reaches the client."""
    port = free_port()
    program.prefix.reg_add(PROGRAM_KEY, "LIRC Server Port", str(port))
    hung = StandIn(program, "hung", COMPRO_DTV, "hung")
    quorvel = start_quorvel(program, wintool, library="RemoteSdk",
                            ini={"RC": {"Name": "RC"}, "Buttons": {"000001A5": "Vol"}, "Messages": {"000001A5": "10"}})
    client = lirc_client(port)
    with quorvel.control.atomic() as control:
        for _ in range(5):
            control.press(0x1A5, 1)
            control.gap(2)
    quorvel.control.wait_idle()
    lines = []
    assert wait_until(lambda: lines.append(received(client)) or b"".join(lines).count(b"Vol RC\n") == 5, 20), lines
    assert set(b"".join(lines).splitlines()) == {b"00000000000001A5 00 Vol RC"}
    client.close()
    quorvel.exit()
    dropped = [line for line in log_lines(program) if "SendMessageTimeoutA" in line and "dropped" in line]
    assert any("message 0x0464" in line for line in dropped), dropped
    assert any("message 0x0319" in line for line in dropped), dropped
    hung.stop()
