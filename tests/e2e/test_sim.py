"""The substitute receiver libraries, the virtual remote and the control channel under Wine,
driven through simprobe.exe (no Quorvel.exe needed)."""

import socket
import subprocess
import time

import pytest

from harness import (ControlState, ProgramFolder, SimControlError, SimProbe, SimStatus, WinTool, parse_readings,
                     tool_path)
from harness.paths import BUILD32_DIR, BUILD64_DIR, SIM_DIR
from harness.ports import free_port
from harness.waiting import wait_until

BEHOLDER_EXPORTS = {"GetRemoteCode", "GetRemoteCodeEx", "GetCardName", "OpenCard", "GetRemoteType",
                    "GetCardCount", "UnInit"}
REMOTE_SDK_EXPORTS = {"GetDeviceNum", "ReleaseResource", "GetKeyCode", "HookMessage", "DefineKeyFun"}
VENDOR_EXPORTS = {"SendVendorCmd", "GetIRCode", "GetOneButtonStatus", "InitIR"}
ALL_EXPORTS = BEHOLDER_EXPORTS | REMOTE_SDK_EXPORTS | VENDOR_EXPORTS

# (library, variant folder, exports it must have)
LIBRARIES = [
    ("BeholdRC", None, BEHOLDER_EXPORTS),
    ("RemoteSdk", None, REMOTE_SDK_EXPORTS),
    ("VendorCmdRW", None, VENDOR_EXPORTS),
    ("BeholdRC", "missing-GetCardName", BEHOLDER_EXPORTS - {"GetCardName"}),
    ("RemoteSdk", "missing-HookMessage", REMOTE_SDK_EXPORTS - {"HookMessage"}),
]

VIRTUAL_REMOTE = ("QuorvelVirtualRemote", "Quorvel Virtual Remote")


def export_names(objdump: str, dll) -> set:
    output = subprocess.run([objdump, "-p", str(dll)], capture_output=True, text=True, check=True).stdout
    table = output.split("[Ordinal/Name Pointer] Table", 1)[1].split("\n\n", 1)[0]
    return {line.split("]", 1)[1].strip() for line in table.splitlines() if "]" in line}


@pytest.mark.win64_only("reads both builds' libraries without running them")
@pytest.mark.parametrize("build, objdump", [
    (BUILD64_DIR, "x86_64-w64-mingw32-objdump"),
    (BUILD32_DIR, "i686-w64-mingw32-objdump"),
], ids=["win64", "win32"])
def test_export_tables_hold_exactly_the_undecorated_names(build, objdump):
    if not (build / "sim" / "BeholdRC.dll").exists():
        pytest.skip(f"{build} not built")
    for library, variant, expected in LIBRARIES:
        folder = build / "sim" / variant if variant else build / "sim"
        assert export_names(objdump, folder / f"{library}.dll") == expected, (library, variant)


def test_exports_resolve_by_name_under_wine(wine):
    for number, (library, variant, expected) in enumerate(LIBRARIES):
        folder = ProgramFolder(wine, f"Probe{number}")
        folder.add_library(library, variant)
        code, lines = SimProbe(folder).run(library, *(f"resolve:{name}" for name in sorted(ALL_EXPORTS)))
        assert code == 0, lines
        found = {line.split()[1] for line in lines if line.endswith(" found")}
        assert found == expected, (library, variant)


def test_beholder_reports_each_queued_press_for_exactly_its_polls(program):
    program.add_library("BeholdRC")
    polling = SimProbe(program).start_polling("BeholdRC", "GetCardCount", "OpenCard:0")
    control = program.sim_control()
    control.wait_ready()
    with control.atomic():
        control.press(0xA35C, 3)
        control.gap(2)
        control.press(0x1A5, 2, rc=0x77)
        control.press(0x80, 1)
    control.wait_idle()
    readings = parse_readings(polling.stop())

    assert [(reading.rc, reading.code) for reading in readings] == \
        [(0x5C, 0xA35C)] * 3 + [(0x77, 0x1A5)] * 2 + [(0x80, 0x80)]
    first = readings[0].poll
    assert [reading.poll - first for reading in readings] == [0, 1, 2, 5, 6, 7]


def test_hold_reports_until_release_and_nothing_after(program):
    program.add_library("BeholdRC")
    polling = SimProbe(program).start_polling("BeholdRC", "GetCardCount", "OpenCard:0")
    control = program.sim_control()
    control.wait_ready()
    control.hold(0x00BE0010)
    held = control.wait_polls(control.status().polls + 6)
    control.release()
    released = control.wait_polls(control.status().polls + 3)
    readings = parse_readings(polling.stop())

    assert held.current == 0x00BE0010
    assert released.queued == 0 and released.current == 0
    assert len(readings) >= 5 and {reading.code for reading in readings} == {0x00BE0010}
    assert [reading.poll for reading in readings] == list(range(readings[0].poll, readings[0].poll + len(readings)))


def test_release_before_the_hold_was_polled_still_reports_it_once(program):
    program.add_library("BeholdRC")
    polling = SimProbe(program).start_polling("BeholdRC", "GetCardCount", "OpenCard:0")
    control = program.sim_control()
    control.wait_ready()
    with control.atomic():
        control.press(0x11, 4)
        control.hold(0x22)
        control.release()
    control.wait_idle()
    readings = parse_readings(polling.stop())

    assert [reading.code for reading in readings] == [0x11] * 4 + [0x22]


def test_remote_sdk_delivers_key_codes_including_key_zero(program):
    program.add_library("RemoteSdk")
    polling = SimProbe(program).start_polling("RemoteSdk", "GetDeviceNum")
    control = program.sim_control("RemoteSdk")
    control.wait_ready()
    with control.atomic():
        control.press(0x1A5, 2)
        control.press(0, 3)
        control.gap(1)
        control.press(0xFFFFFFFF, 1)
    control.wait_idle()
    readings = parse_readings(polling.stop())

    assert [reading.code for reading in readings] == [0x1A5] * 2 + [0] * 3 + [0xFFFFFFFF]
    first = readings[0].poll
    assert [reading.poll - first for reading in readings] == [0, 1, 2, 3, 4, 6]


def test_beholder_reports_nothing_while_no_card_is_open(program):
    program.add_library("BeholdRC")
    program.configure_sim(OpenCardFails="all")
    polling = SimProbe(program).start_polling("BeholdRC", "GetCardCount", "OpenCard:0")
    control = program.sim_control()
    control.wait_ready()
    control.press(0x42, 3)
    # Absence cannot be awaited: give the probe time for a good number of polls.
    time.sleep(1.0)
    status = control.status()
    lines = polling.stop()

    assert "OpenCard(0) -> 0" in lines
    assert parse_readings(lines) == []
    assert (status.polls, status.queued) == (0, 1)


# Each table runs in one prefix, a program folder per case, to keep the run short.

OPEN_CARD_CASES = [  # settings besides CardCount=3, OpenCard results for cards 0 to 3
    ({}, [1, 1, 1, 0]),
    ({"OpenCardFails": "1"}, [1, 0, 1, 0]),
    ({"OpenCardFails": "0, 2"}, [0, 1, 0, 0]),
    ({"OpenCardFails": "all"}, [0, 0, 0, 0]),
]


def test_open_card_fails_for_configured_cards_and_beyond_the_count(wine):
    for number, (settings, results) in enumerate(OPEN_CARD_CASES):
        folder = ProgramFolder(wine, f"Case{number}")
        folder.add_library("BeholdRC")
        folder.configure_sim(CardCount=3, **settings)
        code, lines = SimProbe(folder).run("BeholdRC", "GetCardCount", *(f"OpenCard:{index}" for index in range(4)))
        assert (code, lines) == (0, ["GetCardCount -> 3"] + [f"OpenCard({index}) -> {result}"
                                                             for index, result in enumerate(results)]), settings


CARD_NAME_CASES = [  # settings (None: no QuorvelSim.ini), GetCardCount and GetCardName(0...) results
    (None, ["GetCardCount -> 1", 'GetCardName(0) -> "Sim Beholder Card"', 'GetCardName(1) -> ""']),
    ({"CardCount": 3, "CardNames": "Alpha|Beta"},
     ["GetCardCount -> 3", 'GetCardName(0) -> "Alpha"', 'GetCardName(1) -> "Beta"',
      'GetCardName(2) -> "Sim Beholder Card 3"', 'GetCardName(3) -> ""']),
    ({"CardCount": 0}, ["GetCardCount -> 0", 'GetCardName(0) -> ""']),
    ({"CardCount": "many"}, ["GetCardCount -> 1", 'GetCardName(0) -> "Sim Beholder Card"']),
]


def test_card_count_and_names(wine):
    for number, (settings, expected) in enumerate(CARD_NAME_CASES):
        folder = ProgramFolder(wine, f"Case{number}")
        folder.add_library("BeholdRC")
        if settings is None:
            folder.remove_sim_ini()
        else:
            folder.configure_sim(**settings)
        steps = ["GetCardCount"] + [f"GetCardName:{index}" for index in range(len(expected) - 1)]
        assert SimProbe(folder).run("BeholdRC", *steps) == (0, expected), settings


DEVICE_NUM_CASES = [
    ({}, "GetDeviceNum -> 1 count=00000001"),
    ({"DeviceCount": 2}, "GetDeviceNum -> 1 count=00000002"),
    ({"DeviceCount": 0}, "GetDeviceNum -> 1 count=00000000"),
    ({"DeviceNumFails": 1}, "GetDeviceNum -> 0 count=00000000"),
]


def test_get_device_num_follows_the_configuration(wine):
    for number, (settings, expected) in enumerate(DEVICE_NUM_CASES):
        folder = ProgramFolder(wine, f"Case{number}")
        folder.add_library("RemoteSdk")
        folder.configure_sim(**settings)
        assert SimProbe(folder).run("RemoteSdk", "GetDeviceNum") == (0, [expected]), settings


def test_call_log_keeps_the_order_and_collapses_polling(program):
    program.add_library("BeholdRC")
    polling = SimProbe(program).start_polling("BeholdRC", "GetCardCount", "GetCardName:0", "OpenCard:0",
                                              "GetRemoteType", then=["UnInit"])
    control = program.sim_control()
    control.wait_ready()
    control.wait_polls(3)
    live = control.log()
    lines = polling.stop()
    polls = int(next(line for line in lines if line.startswith("polls ")).split()[1])

    opening = ["GetCardCount", "GetCardName(0)", "OpenCard(0)", "GetRemoteType", "GetRemoteCode", "GetRemoteCodeEx"]
    assert live[:6] == opening and live[6].startswith("GetRemoteCode x")
    log = program.call_log()
    assert log.entries == opening + [f"GetRemoteCode x{polls}", f"GetRemoteCodeEx x{polls}", "UnInit"]
    assert log.count("GetRemoteCodeEx") == polls
    assert log.index("GetRemoteCode") < log.index("GetRemoteCodeEx")


def test_call_log_is_shared_by_the_libraries_of_a_folder_and_ends_with_the_release(program):
    for library in ("RemoteSdk", "VendorCmdRW"):
        program.add_library(library)
    probe = SimProbe(program)
    assert probe.run("RemoteSdk", "GetDeviceNum", "GetKeyCode", "GetKeyCode", "ReleaseResource", "free")[0] == 0
    assert probe.run("VendorCmdRW", "InitIR")[0] == 0

    log = program.call_log()
    assert log.entries == ["GetDeviceNum", "GetKeyCode", "GetKeyCode x2", "ReleaseResource", "InitIR"]
    assert log.count("GetKeyCode") == 2


MALFORMED_COMMANDS = [
    ("press A35C", "error usage: press"),
    ("press zz 3", "error usage: press"),
    ("press A35C 0", "error usage: press"),
    ("press A35C 3 qq", "error usage: press"),
    ("press 123456789 1", "error usage: press"),
    ("gap -1", "error usage: gap"),
    ("hold", "error usage: hold"),
    ("status now", "error usage: status"),
    ("release", "error nothing held"),
    ("", "error empty command"),
    ("frobnicate", "error unknown command: frobnicate"),
]


def idle_probe(program):
    """The substitute library loaded by a probe that only waits: its control channel."""
    program.add_library("BeholdRC")
    SimProbe(program)
    program.start("simprobe.exe", ["BeholdRC.dll", "GetCardCount", "sleep:60000"])
    control = program.sim_control()
    control.wait_ready()
    return control


def test_control_channel_rejects_malformed_commands_and_resets(program):
    control = idle_probe(program)

    for command, expected in MALFORMED_COMMANDS:
        with pytest.raises(SimControlError) as error:
            control.command(command)
        assert expected in str(error.value), command
    assert control.status().queued == 0

    with pytest.raises(SimControlError, match="ok; error usage: gap"):
        control.command("press 5 2; gap x")
    assert control.status().queued == 1
    control.reset()
    assert control.status() == SimStatus(0, 0, 0)


def test_control_channel_serves_clients_side_by_side_and_frames_lines_however_they_arrive(program):
    control = idle_probe(program)

    with socket.create_connection(("127.0.0.1", control.port), timeout=control.timeout) as stalled:
        stalled.sendall(b"press 5")
        assert control.status() == SimStatus(0, 0, 0)
        stalled.sendall(b" 2\r\nstatus\ngap x\n")
        stalled.shutdown(socket.SHUT_WR)
        replies = b""
        while chunk := stalled.recv(4096):
            replies += chunk
    assert replies.decode().splitlines() == ["ok", "polls=0 queued=1 current=00000000", "error usage: gap <polls>"]


def remote_status_line(wintool: WinTool) -> str:
    texts = [text for _, _, class_name, _, text in wintool.children(*VIRTUAL_REMOTE)
             if class_name.lower() == "static"]
    return texts[0] if texts else ""


def test_virtual_remote_click_holds_and_releases_the_button_code(program, wintool):
    program.add_library("BeholdRC")
    program.add_file(SIM_DIR / "VirtualRemote.exe")
    polling = SimProbe(program).start_polling("BeholdRC", "GetCardCount", "OpenCard:0")
    control = program.sim_control()
    control.wait_ready()
    remote = program.start("VirtualRemote.exe", [program.control_ports["BeholdRC"]])
    assert wintool.wait_for_window(*VIRTUAL_REMOTE, timeout=30)

    assert wintool.click_button(*VIRTUAL_REMOTE, "Vol+")
    assert wait_until(lambda: "release -> ok" in remote_status_line(wintool), timeout=15)
    control.wait_idle()
    readings = parse_readings(polling.stop())

    assert readings and {(reading.rc, reading.code) for reading in readings} == {(0x10, 0x00BE0010)}
    assert [reading.poll for reading in readings] == list(range(readings[0].poll, readings[0].poll + len(readings)))
    assert remote.is_running()


def test_virtual_remote_reports_a_port_nobody_listens_on(program, wintool):
    program.add_file(SIM_DIR / "VirtualRemote.exe")
    remote = program.start("VirtualRemote.exe", [free_port()])
    assert wintool.wait_for_window(*VIRTUAL_REMOTE, timeout=30)

    assert wintool.click_button(*VIRTUAL_REMOTE, "Power")
    assert wait_until(lambda: "not listening" in remote_status_line(wintool), timeout=15)
    assert remote.is_running()


# The window tool itself, on a stand-in for Quorvel's main window.

FAKE_FORM = ("QuorvelFakeForm", "Fake Quorvel")


def test_wintool_reads_controls_by_name_also_inside_group_boxes(wine, wintool):
    wine.start(tool_path("fakeform"))
    assert wintool.wait_for_window(*FAKE_FORM, timeout=30)

    assert wintool.texts(*FAKE_FORM, "Code1ST", "NameE", "StatusSB") == {
        "Code1ST": "A5", "NameE": "Vol+\tloud", "StatusSB": "Behold TV Card initialize success!"}
    assert wintool.status_parts(*FAKE_FORM, "StatusSB") == ["Behold TV Card initialize success!", "5 min"]
    assert wintool.items(*FAKE_FORM, "WDMCB") == (1, ["Card A", "Card B"])
    assert wintool.state(*FAKE_FORM, "AutorepeatCB", "BHCB", "WDMCB") == {
        "AutorepeatCB": ControlState(True, True, 1), "BHCB": ControlState(False, True, 0),
        "WDMCB": ControlState(True, True, -1)}
    for missing in ("KeyE", "NoSuchControl"):
        assert wintool.run("texts", *FAKE_FORM, "Code1ST", missing) == (3, [["Code1ST", "A5"]])
    assert wintool.run("texts", "NoSuchClass", "*", "Code1ST")[0] == 3
    assert any(window.class_name == FAKE_FORM[0] and window.title == FAKE_FORM[1] and window.visible
               for window in wintool.list())


def test_wintool_selects_clicks_and_answers_message_boxes(wine, wintool):
    wine.start(tool_path("fakeform"))
    assert wintool.wait_for_window(*FAKE_FORM, timeout=30)
    assert wintool.wait_for_dialog("Settings saved", timeout=0.5) is None

    assert wintool.select(*FAKE_FORM, "WDMCB", 0)
    assert wintool.texts(*FAKE_FORM, "Code2ST") == {"Code2ST": "selected 0"}
    assert not wintool.select(*FAKE_FORM, "WDMCB", 5)

    assert wintool.click(*FAKE_FORM, "SaveSetSB")
    dialog = wintool.wait_for_dialog("Settings saved", timeout=15)
    assert dialog is not None and (dialog.title, dialog.text) == ("Fake Quorvel", "Settings saved")
    assert wintool.dialogs() == [dialog]
    assert wintool.click_ok(dialog)
    assert wait_until(lambda: not wintool.dialogs(), timeout=10)


def test_prefix_registry_helpers_and_process_control(wine, program):
    key = r"HKCU\Software\QuorvelHarnessCheck"
    assert wine.reg_query(key, "Mode") is None
    wine.reg_add(key, "Mode", "3", "REG_DWORD")
    wine.reg_add(key, "Name", "two words")
    assert (wine.reg_query(key, "Mode"), wine.reg_query(key, "Name")) == ("0x3", "two words")

    SimProbe(program)
    failed = program.start("simprobe.exe", ["BeholdRC.dll"])
    assert failed.wait(30) == 2 and failed.stdout().startswith("load failed")
    program.add_library("VendorCmdRW")
    sleeper = program.start("simprobe.exe", ["VendorCmdRW.dll", "sleep:60000"])
    with pytest.raises(subprocess.TimeoutExpired):
        sleeper.wait(0.5)
    sleeper.kill()
    assert not sleeper.is_running()
