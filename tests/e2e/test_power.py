"""Quorvel's power actions and sleep timer under Wine, with the substitute powrprof.dll beside
the program: which calls a Sleep or Hibernate button and an expiring sleep timer make, with
which arguments, and how polling stops for a suspend and comes back on resume."""

import time

from harness import SIM_DIR
from harness.waiting import wait_until
from osd_windows import osd_windows, visible_osd
from quorvel import RunningQuorvel
from settings_registry import PROGRAM_KEY, seed_values

SLEEP, HIBERNATE, SLEEP_TIMER = 0xA301, 0xA302, 0xA305
BUTTON_MAP = {"Actions": {"0000A301": "1", "0000A302": "2", "0000A305": "5"}}

WM_POWERBROADCAST = 0x0218
PBT_APMRESUMECRITICAL = 0x06
PBT_APMRESUMEAUTOMATIC = 0x12

# The substitute logs each BOOLEAN argument as the callee sees it: TRUE passed as all ones is 255.
SLEEP_CALL = "SetSuspendState(0,0,0)"
FORCED_SLEEP_CALL = "SetSuspendState(0,255,0)"
HIBERNATE_CALL = "SetSuspendState(255,0,0)"

# Long enough for about ten ticks: a timer that still runs polls in that time.
STOPPED_CHECK_SECONDS = 0.6


def start_with_power_library(program, wintool, windows_version: str = None) -> RunningQuorvel:
    """Quorvel with the Beholder substitute and the substitute powrprof.dll, which Wine loads
    only when told to prefer it over its own."""
    if windows_version:
        program.prefix.set_app_windows_version("Quorvel.exe", windows_version)
    program.add_quorvel()
    program.add_library("BeholdRC")
    program.add_file(SIM_DIR / "powrprof.dll")
    program.write_quorvel_ini(BUTTON_MAP)
    process = program.start(dll_overrides="powrprof=n,b")
    return RunningQuorvel(program, wintool, process, "BeholdRC").wait_started()


def power_calls(program) -> list:
    log = program.path / "QuorvelPower.log"
    return log.read_text().splitlines() if log.exists() else []


def set_power_answers(program, **answers):
    """What the substitute's exports return from now on (1 by default), e.g. IsPwrSuspendAllowed=0."""
    lines = ["[Answers]"] + [f"{name}={int(answer)}" for name, answer in answers.items()]
    (program.path / "QuorvelPower.ini").write_text("\r\n".join(lines) + "\r\n")


def press(quorvel: RunningQuorvel, code: int, polls: int = 1):
    quorvel.control.press(code, polls)
    quorvel.control.wait_idle()


def wait_for_calls(program, count: int, timeout: float = 10.0) -> list:
    """The log once it holds at least count calls; fails when it never does."""
    calls = []

    def logged():
        calls[:] = power_calls(program)
        return len(calls) >= count

    assert wait_until(logged, timeout), f"fewer than {count} power calls after {timeout} s: {calls}"
    return calls


def polling_stopped(quorvel: RunningQuorvel) -> bool:
    before = quorvel.control.status().polls
    time.sleep(STOPPED_CHECK_SECONDS)
    return quorvel.control.status().polls == before


def send_power_event(quorvel: RunningQuorvel, event: int):
    assert quorvel.wintool.post(quorvel.hwnd, WM_POWERBROADCAST, event)


def assert_polling_runs(quorvel: RunningQuorvel):
    quorvel.control.wait_polls(quorvel.control.status().polls + 3)


def wait_for_status(quorvel: RunningQuorvel, expected: list, timeout: float = 10.0):
    seen = []

    def shown():
        seen[:] = quorvel.status() or []
        return seen == expected

    assert wait_until(shown, timeout), f"status bar never showed {expected} (last {seen})"


def test_windows_7_sleeps_unforced_and_hibernates_and_polls_again_only_on_automatic_resume(program, wintool):
    seed_values(program.prefix, {PROGRAM_KEY: {"Force Suspend": 1}})
    quorvel = start_with_power_library(program, wintool)

    press(quorvel, SLEEP)
    assert wait_for_calls(program, 2) == ["IsPwrSuspendAllowed()", SLEEP_CALL]
    assert polling_stopped(quorvel)
    # Since Vista every resume comes as automatic; a critical-resume event is not one.
    send_power_event(quorvel, PBT_APMRESUMECRITICAL)
    assert polling_stopped(quorvel)
    send_power_event(quorvel, PBT_APMRESUMEAUTOMATIC)
    assert_polling_runs(quorvel)

    press(quorvel, HIBERNATE)
    assert wait_for_calls(program, 4)[2:] == ["IsPwrHibernateAllowed()", HIBERNATE_CALL]
    assert polling_stopped(quorvel)
    quorvel.exit()


def test_windows_xp_forces_sleep_when_asked_and_resumes_after_a_critical_suspend(program, wintool):
    seed_values(program.prefix, {PROGRAM_KEY: {"Force Suspend": 1}})
    quorvel = start_with_power_library(program, wintool, windows_version="winxp")

    press(quorvel, SLEEP)
    assert wait_for_calls(program, 2) == ["IsPwrSuspendAllowed()", FORCED_SLEEP_CALL]
    assert polling_stopped(quorvel)
    send_power_event(quorvel, PBT_APMRESUMECRITICAL)
    assert_polling_runs(quorvel)
    quorvel.exit()


def test_refused_or_failed_suspend_keeps_polling(program, wintool):
    quorvel = start_with_power_library(program, wintool)

    set_power_answers(program, IsPwrSuspendAllowed=0)
    press(quorvel, SLEEP)
    assert wait_for_calls(program, 1) == ["IsPwrSuspendAllowed()"]
    assert_polling_runs(quorvel)
    assert power_calls(program) == ["IsPwrSuspendAllowed()"]

    # No resume notification follows a failed suspend, so polling must not wait for one.
    set_power_answers(program, SetSuspendState=0)
    press(quorvel, SLEEP)
    assert wait_for_calls(program, 3)[1:] == ["IsPwrSuspendAllowed()", SLEEP_CALL]
    assert_polling_runs(quorvel)
    quorvel.exit()


def test_sleep_timer_toggles_is_cancelled_by_resume_and_sleeps_when_it_expires(program, wintool):
    seed_values(program.prefix, {PROGRAM_KEY: {"SleepTime": 1, "SleepAction": 1}})
    program.add_tool("osdprobe")
    quorvel = start_with_power_library(program, wintool)
    running, stopped = ["Sleep Timer On", "1 min"], ["Sleep Timer Off", ""]

    # Only the first tick of a press toggles: two polls leave the timer on.
    press(quorvel, SLEEP_TIMER, polls=2)
    wait_for_status(quorvel, running)
    press(quorvel, SLEEP_TIMER)
    wait_for_status(quorvel, stopped)

    press(quorvel, SLEEP_TIMER)
    wait_for_status(quorvel, running)
    send_power_event(quorvel, PBT_APMRESUMEAUTOMATIC)
    wait_for_status(quorvel, stopped)

    press(quorvel, SLEEP_TIMER)
    wait_for_status(quorvel, running)
    assert power_calls(program) == []
    assert wait_for_calls(program, 2, timeout=90) == ["IsPwrSuspendAllowed()", SLEEP_CALL]
    assert quorvel.status() == stopped
    # The last minute step was announced on the display although "OSD" is off.
    assert wait_until(lambda: visible_osd(program), 3), osd_windows(program)
    quorvel.exit()
