"""Quorvel's registry settings and autorun entry under Wine: what a start reads, what "Save
Settings" and the exit write, the Windows XP and Windows 7 branches of the force options, and
the system and version texts of the "About" group."""

import re

from harness import MAIN_WINDOW
from harness.paths import ARCH, REPO_DIR
from quorvel import start_quorvel
from settings_registry import PROGRAM_KEY, RUN_KEY, read_values, seed_values

CHECK_CONTROLS = ("AutorunCB", "AutorepeatCB", "ForceShutdownCB", "ForceSuspendCB", "SoundCB", "BHCB",
                  "LIRCServerCB", "WinLIRCRB", "KeysRB", "MouseRB", "WMRB", "OSDCB", "OSD2CB", "BTVCB",
                  "ComproRemoteOffCB", "ComproDTVCB")

DEFAULT_CHECKS = {
    "AutorunCB": 0, "AutorepeatCB": 1, "ForceShutdownCB": 0, "ForceSuspendCB": 0, "SoundCB": 0, "BHCB": 0,
    "LIRCServerCB": 1, "WinLIRCRB": 1, "KeysRB": 0, "MouseRB": 0, "WMRB": 0, "OSDCB": 0, "OSD2CB": 0, "BTVCB": 0,
    "ComproRemoteOffCB": 1, "ComproDTVCB": 1,
}

# The processor the "About" group names: a win32 prefix is a 32-bit Windows.
PROCESSOR = "x86" if ARCH == "win32" else "x64"

# Everything the first save writes; "Hidden Icon" and "Compro Btn 0" are only ever read.
DEFAULT_VALUES = {
    "Autorepeat": 1, "LIRC Server Enabled": 1, "LIRC Server Port": "8765", "Force Shutdown": 0,
    "Force Suspend": 0, "Sound": 0, "Balloon Hints": 0, "Card": 0, "Mode": 1, "OSD": 0, "OSDColor": 0x00FAFAB4,
    "OSD2Display": 0, "SleepTime": 30, "SleepOSD": 1, "SleepAction": 3, "BeholdTV": 0, "ComproRemote": 1,
    "ComproDTV": 1, "Long Press Time": 600, "Repeat Delay": 450, "Repeat Interval": 50, "Double Press Time": 400,
    "Scan Codes": 0,
}


def check_marks(wintool) -> dict:
    return {name: state.checked for name, state in wintool.state(*MAIN_WINDOW, *CHECK_CONTROLS).items()}


def enabled(wintool, *controls) -> dict:
    return {name: state.enabled for name, state in wintool.state(*MAIN_WINDOW, *controls).items()}


def click(wintool, control: str):
    assert wintool.click(*MAIN_WINDOW, control), f"{control} not found"


def quoted_exe_path(program) -> str:
    return f'"{program.windows_path}\\Quorvel.exe"'


def version_text() -> str:
    header = (REPO_DIR / "resources" / "Version.h").read_text()
    parts = (re.search(rf"#define QUORVEL_VERSION_{part} (\d+)", header).group(1)
             for part in ("MAJOR", "MINOR", "PATCH", "BUILD"))
    return ".".join(parts)


def test_first_start_creates_the_key_empty_and_save_writes_every_default(program, wintool):
    assert read_values(program.prefix, PROGRAM_KEY) is None
    quorvel = start_quorvel(program, wintool)
    assert read_values(program.prefix, PROGRAM_KEY) == {}

    assert check_marks(wintool) == DEFAULT_CHECKS
    # Wine reports Windows 7: no force options.
    assert enabled(wintool, "ForceShutdownCB", "ForceSuspendCB") == {"ForceShutdownCB": False,
                                                                      "ForceSuspendCB": False}
    assert quorvel.texts("LIRCServerPortE", "OSL", "VersionL") == {
        "LIRCServerPortE": "8765", "OSL": f"Windows 7 6.1.7601  {PROCESSOR}", "VersionL": version_text()}

    click(wintool, "SaveSetSB")
    assert read_values(program.prefix, PROGRAM_KEY) == DEFAULT_VALUES
    assert "Quorvel" not in (read_values(program.prefix, RUN_KEY) or {})
    # The button map is the last stage of the save.
    assert (program.path / "Quorvel.ini").exists()
    quorvel.exit()


def test_seeded_values_are_shown_and_the_next_save_writes_them_back_normalised(program, wintool):
    autorun_with_arguments = quoted_exe_path(program) + " /min"
    seeded = {
        "Autorepeat": "0",  # a text where a flag belongs reads as absent
        "LIRC Server Enabled": 0, "LIRC Server Port": "9123",
        "Force Shutdown": 1, "Force Suspend": 1,  # not read on Windows 7
        "Sound": 1, "Balloon Hints": 5, "Hidden Icon": 1, "Compro Btn 0": 1, "Card": 1,
        "Mode": 7,  # no such mode: WinLIRC
        "OSD": 1, "OSDColor": 0x0000FF00, "OSD2Display": 1,
        "SleepTime": 45, "SleepOSD": 0, "SleepAction": 257,  # held in one byte: 1
        "BeholdTV": 1, "ComproRemote": 0, "ComproDTV": 0,
        "Long Press Time": 7000,  # beyond the bound: 5000
        "Repeat Delay": 20, "Repeat Interval": 9000, "Double Press Time": 2000,  # 100, 5000, 1000
        "Scan Codes": 1,
    }
    seed_values(program.prefix, {PROGRAM_KEY: seeded, RUN_KEY: {"Quorvel": autorun_with_arguments}})
    quorvel = start_quorvel(program, wintool, CardCount=2)

    assert check_marks(wintool) == {
        "AutorunCB": 1, "AutorepeatCB": 1, "ForceShutdownCB": 0, "ForceSuspendCB": 0, "SoundCB": 1, "BHCB": 1,
        "LIRCServerCB": 0, "WinLIRCRB": 1, "KeysRB": 0, "MouseRB": 0, "WMRB": 0, "OSDCB": 1, "OSD2CB": 1,
        "BTVCB": 1, "ComproRemoteOffCB": 0, "ComproDTVCB": 0,
    }
    # The listener stayed off, so its port can be edited.
    assert enabled(wintool, "LIRCServerPortE", "ForceShutdownCB") == {"LIRCServerPortE": True,
                                                                       "ForceShutdownCB": False}
    assert quorvel.texts("LIRCServerPortE", "LIRCServerClientsL") == {"LIRCServerPortE": "9123",
                                                                     "LIRCServerClientsL": "..."}
    assert wintool.items(*MAIN_WINDOW, "WDMCB")[0] == 1

    click(wintool, "SaveSetSB")
    assert read_values(program.prefix, PROGRAM_KEY) == {
        **seeded, "Autorepeat": 1, "Force Shutdown": 0, "Force Suspend": 0, "Balloon Hints": 1, "Mode": 1,
        "SleepAction": 1, "Long Press Time": 5000, "Repeat Delay": 100, "Repeat Interval": 5000,
        "Double Press Time": 1000,
    }
    # An entry that starts this copy, with arguments, is left as the user made it.
    assert read_values(program.prefix, RUN_KEY)["Quorvel"] == autorun_with_arguments
    quorvel.exit()


def test_absurdly_large_values_read_as_absent_and_are_saved_normalised(program, wintool):
    seed_values(program.prefix, {PROGRAM_KEY: {"LIRC Server Enabled": 0, "LIRC Server Port": "9" * 200_000,
                                               "OSDColor": bytes(100_000)}})
    quorvel = start_quorvel(program, wintool)
    assert quorvel.texts("LIRCServerPortE") == {"LIRCServerPortE": "8765"}
    click(wintool, "SaveSetSB")
    saved = read_values(program.prefix, PROGRAM_KEY)
    assert (saved["LIRC Server Port"], saved["OSDColor"]) == ("8765", DEFAULT_VALUES["OSDColor"])
    quorvel.exit()


def test_windows_xp_reads_and_writes_the_force_options(program, wintool):
    program.prefix.set_app_windows_version("Quorvel.exe", "winxp")
    seed_values(program.prefix, {PROGRAM_KEY: {"Force Shutdown": 1, "Force Suspend": 1}})
    quorvel = start_quorvel(program, wintool)
    assert quorvel.texts("OSL") == {"OSL": f"Windows XP 5.1.2600  {PROCESSOR}"}
    assert enabled(wintool, "ForceShutdownCB", "ForceSuspendCB") == {"ForceShutdownCB": True,
                                                                      "ForceSuspendCB": True}
    marks = check_marks(wintool)
    assert (marks["ForceShutdownCB"], marks["ForceSuspendCB"]) == (1, 1)

    click(wintool, "ForceShutdownCB")
    click(wintool, "SaveSetSB")
    values = read_values(program.prefix, PROGRAM_KEY)
    assert (values["Force Shutdown"], values["Force Suspend"]) == (0, 1)
    quorvel.exit()


def test_autorun_entry_follows_the_check_box_on_save_and_on_exit(program, wintool):
    seed_values(program.prefix, {RUN_KEY: {"Quorvel": '"C:\\Other\\Quorvel.exe"'}})
    quorvel = start_quorvel(program, wintool)
    # Another copy's entry does not count as this one's.
    assert check_marks(wintool)["AutorunCB"] == 0

    click(wintool, "AutorunCB")
    click(wintool, "SaveSetSB")
    assert read_values(program.prefix, RUN_KEY)["Quorvel"] == quoted_exe_path(program)

    # The exit saves too, without "Save Settings".
    click(wintool, "AutorunCB")
    quorvel.exit()
    assert "Quorvel" not in (read_values(program.prefix, RUN_KEY) or {})
