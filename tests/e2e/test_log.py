"""The log for whoever supports a user: %LOCALAPPDATA%\\Quorvel\\Quorvel.log, read after a run."""

from harness.ports import free_port
from harness.waiting import wait_until
from lirc_clients import connect_clients, write_settings
from quorvel import log_lines, start_quorvel


def test_the_log_tells_the_start_the_receiver_the_clients_and_the_save(program, wintool):
    port = free_port()
    write_settings(program.prefix, {"LIRC Server Port": str(port)})
    quorvel = start_quorvel(program, wintool)
    # The listener comes up last in the start-up: the client tries until it is there.
    client = connect_clients(port, 1)[0]
    assert wait_until(lambda: quorvel.status()[0].endswith("Client connected"), 10)
    client.close()
    assert wait_until(lambda: quorvel.status()[0].endswith("Client disconnected"), 10)
    quorvel.exit()

    # Each line starts with the date and time.
    events = [line.split(" ", 2)[2] for line in log_lines(program)]
    expected = ["Quorvel ", "Receiver: Behold TV Card initialize success!",
                f"WinLIRC server listening on 127.0.0.1:{port}", "WinLIRC server: Client connected",
                "WinLIRC server: Client disconnected", "Saved the settings, the autorun entry and the button map"]
    found = iter(events)
    assert all(any(event.startswith(start) for event in found) for start in expected), events
