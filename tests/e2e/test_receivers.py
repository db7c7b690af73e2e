"""Quorvel with the substitute receivers: start-up errors, debug-mode dialogs, presses and
holds seen in the main window, and the order of the calls into the libraries."""

import pytest

from harness import MAIN_WINDOW
from harness.paths import ARCH, BITS, OTHER_ARCH, OTHER_BUILD_DIR
from harness.waiting import wait_until
from quorvel import RunningQuorvel, read_while_held, start_quorvel, wait_for_text

PLAY = 0xA35C


def repeat_number(hold_count: int) -> int:
    return 0 if hold_count < 8 else min((hold_count - 8) // 2 + 1, 255)


NO_LIBRARY = "TV Tuner DLL not found!"


def confirm_dialogs(wintool, texts, timeout=30.0):
    """Waits for each message box in turn, checks its text and presses its OK button; the
    question that no library was found, which offers a LIRC server instead, is answered "No"."""
    for text in texts:
        dialog = wintool.wait_for_dialog(text, timeout)
        assert dialog is not None, f"no dialog {text!r}; open: {wintool.dialogs()}"
        assert dialog.title == "Quorvel"
        if text == NO_LIBRARY:
            assert dialog.text.startswith(NO_LIBRARY + "\n") and dialog.text.endswith("open the settings?")
            assert wintool.click_button("#32770", "Quorvel", "&No")
            continue
        assert dialog.text == text
        assert wintool.click_ok(dialog)


@pytest.mark.parametrize("libraries, sim, message", [
    ((), {}, NO_LIBRARY),
    (("BeholdRC",), {"CardCount": 0}, "Beholder WDM device not found!"),
    (("RemoteSdk",), {"DeviceNumFails": 1}, "Compro device not found!"),
    (("RemoteSdk", "VendorCmdRW"), {"DeviceCount": 0}, "Compro device not found!"),
], ids=["no-library", "no-beholder-card", "compro-device-fails", "compro-no-device"])
def test_start_up_errors_end_the_program(program, wintool, libraries, sim, message):
    program.add_quorvel()
    for library in libraries:
        program.add_library(library)
    program.configure_sim(**sim)
    process = program.start()
    confirm_dialogs(wintool, [message])
    assert process.wait(30) == 0
    assert wintool.dialogs() == []


def test_a_library_of_the_other_width_names_the_build_it_needs(program, wintool):
    program.add_quorvel()
    program.add_file(OTHER_BUILD_DIR / "sim" / "BeholdRC.dll")
    process = program.start()
    other, own = BITS[OTHER_ARCH], BITS[ARCH]
    confirm_dialogs(wintool, [f"BeholdRC.dll is a {other}-bit library: this {own}-bit Quorvel cannot load it. "
                              f"Install the {other}-bit Quorvel to use it."])
    assert process.wait(30) == 0


def test_debug_mode_shows_a_missing_export_and_missing_libraries(program, wintool):
    program.add_quorvel()
    program.add_library("BeholdRC", variant="missing-GetCardName")
    process = program.start(args=["/debug"])
    confirm_dialogs(wintool, ["Debug Mode", "GetCardName function not found", "Function(s) not found",
                              "RemoteSdk.dll failed to load", "VendorCmdRW.dll failed to load",
                              NO_LIBRARY])
    assert process.wait(30) == 0


def test_without_debug_mode_only_the_start_up_error_is_shown(program, wintool):
    program.add_quorvel()
    program.add_library("RemoteSdk", variant="missing-HookMessage")
    process = program.start(args=["/x"])
    confirm_dialogs(wintool, [NO_LIBRARY])
    assert process.wait(30) == 0


def test_beholder_press_shows_codes_name_and_editor(program, wintool):
    quorvel = start_quorvel(program, wintool, ini={"RC": {"Name": "Hall"}, "Buttons": {"0000a35c": "Play"}})
    assert quorvel.texts("RemoteNameE") == {"RemoteNameE": "Hall"}
    assert quorvel.status()[0] == "Behold TV Card initialize success!"
    idle = quorvel.texts("Code1ST", "Code2ST", "NameST", "RepeatCountL")
    assert idle == {"Code1ST": "00", "Code2ST": "00000000", "NameST": "", "RepeatCountL": "00"}

    quorvel.control.hold(PLAY)
    wait_for_text(quorvel, "Code2ST", "0000A35C")
    assert quorvel.texts("Code1ST", "NameST", "NameRCCodeST", "NameRCCodeExST", "NameE") == {
        "Code1ST": "5C", "NameST": "Play", "NameRCCodeST": "5C", "NameRCCodeExST": "0000A35C", "NameE": "Play"}
    quorvel.control.release()
    wait_for_text(quorvel, "Code2ST", "00000000")
    # Released: the group goes idle, the editor keeps the last button.
    assert quorvel.texts("NameST", "NameRCCodeExST") == {"NameST": "", "NameRCCodeExST": "0000A35C"}
    quorvel.exit()


@pytest.mark.parametrize("library, code, rc_text, code_text", [
    ("BeholdRC", PLAY, "5C", "0000A35C"),
    ("RemoteSdk", 0x1A5, "A5", "000001A5"),
])
def test_long_hold_counts_repeats(program, wintool, library, code, rc_text, code_text):
    quorvel = start_quorvel(program, wintool, library=library)
    quorvel.control.hold(code)
    start = quorvel.control.wait_polls(1).polls
    quorvel.control.wait_polls(start + 30, timeout=20)
    texts, before, after = read_while_held(quorvel, "Code1ST", "Code2ST", "RepeatCountL")
    assert texts["Code1ST"] == rc_text and texts["Code2ST"] == code_text
    # The hold count at the moment of reading lies between the polls counted around it.
    shown = int(texts["RepeatCountL"], 16)
    assert repeat_number(before - start) - 1 <= shown <= repeat_number(after - start + 1), (before, after, shown)
    assert shown >= repeat_number(30) - 1
    quorvel.control.release()
    quorvel.exit()


def test_compro_keeps_the_last_codes_after_release(program, wintool):
    quorvel = start_quorvel(program, wintool, library="RemoteSdk")
    quorvel.control.press(0x1A5, 3)
    quorvel.control.wait_idle()
    wait_for_text(quorvel, "Code2ST", "000001A5")
    quorvel.control.gap(5)
    quorvel.control.wait_idle()
    assert quorvel.texts("Code1ST", "Code2ST") == {"Code1ST": "A5", "Code2ST": "000001A5"}
    quorvel.exit()


def test_calls_into_the_library_come_in_order_and_uninit_at_exit(program, wintool):
    quorvel = start_quorvel(program, wintool, CardCount=2, CardNames="First|Second")
    assert wintool.items(*MAIN_WINDOW, "WDMCB") == (0, ["First", "Second"])
    quorvel.control.press(PLAY, 2)
    quorvel.control.wait_idle()
    quorvel.exit()
    calls = program.call_log().calls()
    assert calls[:5] == ["GetCardCount", "GetCardName(0)", "GetCardName(1)", "OpenCard(0)", "GetRemoteType"]
    assert calls[5:7] == ["GetRemoteCode", "GetRemoteCodeEx"]
    assert calls[-1] == "UnInit"
    assert calls.count("UnInit") == 1


def test_a_library_reporting_garbage_gives_at_most_64_cards_with_names_cut_at_255_characters(program, wintool):
    quorvel = start_quorvel(program, wintool, CardCount=0xFFFFFFFF, CardNames="N" * 1000 + "|Second")
    selected, cards = wintool.items(*MAIN_WINDOW, "WDMCB")
    assert (selected, len(cards), cards[0], cards[1]) == (0, 64, "N" * 255, "Second")
    quorvel.exit()
    names_asked = [call for call in program.call_log().calls() if call.startswith("GetCardName")]
    assert names_asked[-1] == "GetCardName(63)"


def test_stored_card_beyond_the_list_opens_card_zero_and_failed_open_keeps_running(program, wintool):
    program.add_quorvel()
    program.add_library("BeholdRC")
    program.configure_sim(CardCount=2, OpenCardFails="0")
    program.prefix.reg_add(r"HKCU\Software\Vantrel\Quorvel", "Card", "5", "REG_DWORD")
    quorvel = RunningQuorvel(program, wintool, program.start(), "BeholdRC").wait_started()
    assert wait_until_status(wintool, "Behold TV Card initialize failed!")
    assert wintool.items(*MAIN_WINDOW, "WDMCB")[0] == 0
    assert "GetRemoteCodeEx" not in program.call_log().calls()
    # Choosing the other card opens it and starts polling.
    assert wintool.select(*MAIN_WINDOW, "WDMCB", 1)
    assert wait_until_status(wintool, "Behold TV Card initialize success!")
    program.sim_control().wait_polls(3)
    quorvel.exit()


def wait_until_status(wintool, text, timeout=10.0):
    return wait_until(lambda: (wintool.status_parts(*MAIN_WINDOW, "StatusSB") or [""])[0] == text, timeout)
