"""The button map file under Wine's own profile functions: what a hand-edited or damaged
Quorvel.ini reads as, and that saving it back loses nothing."""

import os
import stat

import pytest

from harness import MAIN_WINDOW
from quorvel import RunningQuorvel, start_quorvel, wait_for_text

LOWER_CASE = 0xA35C
LONG_NAME = 0xA35D
LAST_OF_MANY = 0x0FFFFFFF
LONG_VALUE = "N" * 3000
MANY_KEYS = 2000  # 2000 keys of 9 bytes each do not fit in one 16384-byte key list


def damaged_ini() -> bytes:
    lines = [
        "[RC]", "Name=Den",
        "a line that is no entry at all",
        "[Buttons]",
        "0000a35c=Play",
        f"0000A35D={LONG_VALUE}",
        "=a value without a key",
    ]
    lines += [f"{code:08X}=B{code}" for code in range(1, MANY_KEYS)]
    lines += [f"{LAST_OF_MANY:08X}=Last"]
    lines += ["[Actions]", "0000A35C=not a number", "[Keys]", "0000a35c=zz41", "[Repeat]", "0000A35C=yes", "[Broken section"]
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def entries(text: str, section: str) -> dict:
    found, current = {}, None
    for line in text.splitlines():
        if line.startswith("[") and line.endswith("]"):
            current = line[1:-1]
        elif current == section and "=" in line:
            key, value = line.split("=", 1)
            found.setdefault(key.strip(), value.strip())
    return found


def test_a_damaged_map_reads_whole_and_is_saved_without_loss(program, wintool):
    program.add_quorvel()
    program.add_library("BeholdRC")
    (program.path / "Quorvel.ini").write_bytes(damaged_ini())
    quorvel = RunningQuorvel(program, wintool, program.start(), "BeholdRC").wait_started()
    assert quorvel.texts("RemoteNameE") == {"RemoteNameE": "Den"}

    quorvel.control.hold(LOWER_CASE)
    wait_for_text(quorvel, "NameST", "Play")
    # Values that are not numbers fall back: no action, the key "None", repeats off for "yes".
    assert quorvel.texts("KeyE") == {"KeyE": "None"}
    assert wintool.state("TMainForm", "Quorvel", "KeyRepeatCB")["KeyRepeatCB"].checked == 0
    quorvel.control.release()

    for code, name in ((LONG_NAME, LONG_VALUE), (LAST_OF_MANY, "Last")):
        quorvel.control.hold(code)
        wait_for_text(quorvel, "Code2ST", f"{code:08X}")
        assert quorvel.texts("NameST") == {"NameST": name}
        quorvel.control.release()
    quorvel.exit()

    saved = (program.path / "Quorvel.ini").read_bytes().decode("cp1252")
    buttons = entries(saved, "Buttons")
    assert buttons["0000a35c"] == "Play"
    assert buttons["0000A35D"] == LONG_VALUE
    assert buttons[f"{LAST_OF_MANY:08X}"] == "Last"
    assert all(buttons[f"{code:08X}"] == f"B{code}" for code in range(1, MANY_KEYS))
    assert entries(saved, "Actions") == {"0000A35C": "not a number"}
    assert entries(saved, "RC") == {"Name": "Den"}


def test_without_a_map_file_nothing_is_created_until_the_exit_saves(program, wintool):
    quorvel = start_quorvel(program, wintool)
    assert not (program.path / "Quorvel.ini").exists()
    quorvel.control.press(0xA35C, 2)
    quorvel.control.wait_idle()
    quorvel.exit()
    saved = (program.path / "Quorvel.ini").read_bytes().decode("cp1252")
    # No [RC] section was there: the remote has the default name, and the file gets it.
    assert entries(saved, "RC") == {"Name": "RC"}


@pytest.mark.parametrize("door", ["read-only", "locked"])
def test_a_map_that_cannot_be_written_is_left_whole_and_the_next_save_keeps_everything(program, wintool, door):
    program.add_quorvel()
    program.add_library("BeholdRC")
    ini = program.path / "Quorvel.ini"
    # No [RC] section: a save that gets through adds its name.
    before = b"[Buttons]\r\n0000A35C=Play\r\n"
    ini.write_bytes(before)
    quorvel = RunningQuorvel(program, wintool, program.start(), "BeholdRC").wait_started()
    if door == "read-only":
        os.chmod(ini, stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)
    else:
        holder = wintool.hold_file(ini)
    assert wintool.click(*MAIN_WINDOW, "SaveSetSB")
    dialog = wintool.wait_for_dialog("Unable to write to", 10)
    assert dialog and dialog.text.endswith("Quorvel.ini"), dialog
    # Wine's dialog loop drops the first message posted after the box was closed; it has ended
    # when the box is gone, which click_ok waits for.
    assert wintool.click_ok(dialog)
    assert ini.read_bytes() == before
    assert [path.name for path in program.path.glob("*.tmp")] == []

    if door == "read-only":
        os.chmod(ini, stat.S_IRUSR | stat.S_IWUSR | stat.S_IRGRP | stat.S_IROTH)
    else:
        holder.kill()
    quorvel.exit()
    saved = ini.read_bytes().decode("cp1252")
    assert entries(saved, "Buttons") == {"0000A35C": "Play"}
    assert entries(saved, "RC") == {"Name": "RC"}
