"""What the idle program costs under Wine, beside a bare poller of the same receiver.

Usage (after scripts/build.sh win64; takes about two minutes with the defaults):
    /usr/bin/python3 bench/idle_cpu.py [--seconds 45] [--rounds 3] [--build build/win64]

Quorvel.exe with the substitute Beholder library and its defaults (WinLIRC listener on, no
client, window hidden, no button pressed), and bench/poller (IdlePoller.exe: loads the same
library, opens the card and polls it on a 50 ms timer, nothing else), run one after the other
in one Wine prefix, alternating, --rounds times each, for --seconds in all each. The CPU time
of each program's process and of the prefix's wineserver (which serves every call a program
makes into Wine) is read from /proc before and after each window, after a few seconds to
settle. Printed: the share of one core each takes, and the ratio. Only figures are printed;
nothing is asserted."""

import argparse
import os
import shutil
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests" / "e2e"))

if __name__ == "__main__":
    _options = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    _options.add_argument("--seconds", type=float, default=45.0, help="measured seconds per program (default 45)")
    _options.add_argument("--rounds", type=int, default=3, help="alternations (default 3)")
    _options.add_argument("--build", default=str(REPO / "build" / "win64"), help="the win64 build to run")
    ARGS = _options.parse_args()
    os.environ["QUORVEL_E2E_BUILD"] = str(Path(ARGS.build).resolve())

from harness import ProgramFolder, WinePrefix, Xvfb  # noqa: E402
from harness.paths import BUILD_DIR  # noqa: E402

SETTLE_S = 3.0
TICKS_PER_S = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid: int) -> float:
    """User and system time of a process, all its threads, in seconds; 0 once it has gone."""
    try:
        fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    except OSError:
        return 0.0
    return (int(fields[11]) + int(fields[12])) / TICKS_PER_S


def processes_running(name: str) -> list:
    """Linux processes whose command line names the Windows program."""
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            if name.lower() in (entry / "cmdline").read_bytes().decode(errors="replace").lower():
                found.append(int(entry.name))
        except OSError:
            continue
    return found


def wineserver_of(prefix: Path) -> int:
    for pid in processes_running("wineserver"):
        try:
            environment = Path(f"/proc/{pid}/environ").read_bytes().split(b"\0")
        except OSError:
            continue
        if f"WINEPREFIX={prefix}".encode() in environment:
            return pid
    raise RuntimeError("no wineserver for the prefix")


def measure(program: ProgramFolder, exe: str, seconds: float) -> float:
    """CPU seconds the program and the wineserver spent during the window."""
    process = program.start(exe)
    try:
        deadline = time.monotonic() + 30
        pids = []
        while not pids and time.monotonic() < deadline:
            time.sleep(0.2)
            pids = processes_running(exe)
        if not pids:
            raise RuntimeError(f"{exe} did not start")
        time.sleep(SETTLE_S)
        # The launcher's processes have gone by now; what is left is the program.
        pids = processes_running(exe)
        server = wineserver_of(program.prefix.path)
        before = sum(cpu_seconds(pid) for pid in pids) + cpu_seconds(server)
        time.sleep(seconds)
        after = sum(cpu_seconds(pid) for pid in pids) + cpu_seconds(server)
        return after - before
    finally:
        process.kill()
        for pid in processes_running(exe):
            try:
                os.kill(pid, 9)
            except ProcessLookupError:
                pass
        time.sleep(1.0)


def main():
    xvfb = Xvfb()
    display = xvfb.start()
    work = Path(tempfile.mkdtemp(prefix="quorvel-idle-", dir=REPO / "build"))
    try:
        prefix = WinePrefix.create_template(work / "prefix", display)
        prefix.start_server()
        program = ProgramFolder(prefix)
        program.add_quorvel()
        program.add_library("BeholdRC")
        program.add_file(BUILD_DIR / "bench" / "IdlePoller.exe")
        window = ARGS.seconds / ARGS.rounds
        totals = {"IdlePoller.exe": 0.0, "Quorvel.exe": 0.0}
        for round_number in range(ARGS.rounds):
            for exe in totals:
                spent = measure(program, exe, window)
                totals[exe] += spent
                print(f"round {round_number + 1}: {exe:15} {100 * spent / window:6.2f} % of one core", flush=True)
        baseline = totals["IdlePoller.exe"] / ARGS.seconds
        quorvel = totals["Quorvel.exe"] / ARGS.seconds
        print(f"bare poller   {100 * baseline:6.2f} % of one core over {ARGS.seconds:.0f} s")
        print(f"Quorvel idle  {100 * quorvel:6.2f} % of one core over {ARGS.seconds:.0f} s")
        print(f"ratio         {quorvel / baseline:6.2f} (target: at most 1.10)" if baseline else "ratio: baseline used no CPU")
        prefix.stop_server()
    finally:
        xvfb.stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
