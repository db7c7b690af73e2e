"""The log for whoever supports a user: %LOCALAPPDATA%\\Quorvel\\Quorvel.log, read after a run."""

import re

from harness import MAIN_WINDOW
from harness.ports import free_port
from harness.waiting import wait_until
from lirc_clients import connect_clients, write_settings
from quorvel import log_lines, start_quorvel
from quorvel_window import MENU_ITEMS, WM_COMMAND


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


MISSING_PROGRAM = r"C:\windows\no-such-player.exe"


def test_a_program_that_cannot_start_is_logged_with_its_path_and_the_reason_and_shows_nothing(program, wintool):
    code = 0xA35C
    write_settings(program.prefix, {"LIRC Server Enabled": 0})
    quorvel = start_quorvel(program, wintool, ini={"Applications": {f"{code:08X}": MISSING_PROGRAM}})
    quorvel.control.press(code, 1)
    status = quorvel.control.wait_idle()
    quorvel.control.wait_polls(status.polls + 1)
    assert wintool.dialogs() == []
    quorvel.exit()

    failures = [line for line in log_lines(program) if MISSING_PROGRAM in line]
    assert len(failures) == 1, failures
    assert re.search(r"failed: error \d+: \S", failures[0]), failures[0]


def test_settings_that_cannot_be_stored_are_reported_and_logged_and_never_logged_as_saved(program, wintool):
    # Below a volatile key the registry refuses the program's lasting key.
    assert wintool.volatile_key(r"Software\Vantrel")
    quorvel = start_quorvel(program, wintool)
    # With no settings the listener takes the default port, which another run may hold.
    busy_port = wintool.wait_for_dialog("cannot listen", 3)
    if busy_port:
        assert wintool.click_ok(busy_port)
    assert wintool.click(*MAIN_WINDOW, "SaveSetSB")
    dialog = wintool.wait_for_dialog("Failed to set data for 'Autorepeat'", 10)
    assert dialog, wintool.dialogs()
    assert wintool.click_ok(dialog)

    # The exit tells it again, and still saves the button map and ends.
    assert wintool.post(quorvel.hwnd, WM_COMMAND, MENU_ITEMS["ExitPM"], 0)
    dialog = wintool.wait_for_dialog("Failed to set data for 'Autorepeat'", 10)
    assert dialog and wintool.click_ok(dialog)
    quorvel.process.wait(30)
    assert (program.path / "Quorvel.ini").exists()

    events = [line.split(" ", 2)[2] for line in log_lines(program)]
    refusals = [event for event in events if event.startswith(r"RegCreateKeyExA(Software\Vantrel\Quorvel) failed: error")]
    assert refusals and all(re.search(r"error \d+: \S", event) for event in refusals), events
    assert events.count("Saving failed: Failed to set data for 'Autorepeat'") == 2, events
    assert not any(event.startswith("Saved the settings") for event in events), events
    assert sum(event.startswith("Saved the autorun entry and the button map") for event in events) == 2, events


THREAD_PRIORITY_IDLE = -15


def test_the_programs_own_threads_run_no_higher_than_its_main_thread(program, wintool):
    port = free_port()
    write_settings(program.prefix, {"LIRC Server Port": str(port), "OSD": 1})
    quorvel = start_quorvel(program, wintool, ini={"Buttons": {"0000A35C": "Play"}})
    connect_clients(port, 1)
    pid = next(window.pid for window in wintool.list() if window.hwnd == quorvel.hwnd)
    # The display shows for 3 s, on a thread of its own.
    quorvel.control.press(0xA35C, 1)
    priorities = []

    def lowered() -> bool:
        priorities[:] = wintool.thread_priorities(pid)
        return priorities.count(THREAD_PRIORITY_IDLE) >= 4

    # The main thread, the log writer, the WinLIRC server and the display (the substitute
    # library's own thread is not the program's).
    assert wait_until(lowered, 10), priorities
    quorvel.exit()
