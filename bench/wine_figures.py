"""Start-up, memory and idle cost of Quorvel under Wine, each beside a bare poller's.

Usage (after scripts/build.sh win64; takes about four minutes with the defaults):
    /usr/bin/python3 bench/wine_figures.py [--seconds 60] [--rounds 3] [--build build/win64]

Quorvel.exe with the substitute Beholder library and its defaults (WinLIRC listener on, no
client, window hidden, no button pressed), and bench/poller (IdlePoller.exe: loads the same
library, opens the card, polls it on a 50 ms timer and listens on a port, nothing else), run
one after the other in one Wine prefix, alternating, --rounds times each. For each run:
the time from the start to the first accepted connection on its port; after a few seconds to
settle, the CPU time of the program's process and of the prefix's wineserver (which serves
every call a program makes into Wine) over the idle window (--seconds in all per program),
read from /proc; and the resident memory of the program's process at the window's end.
Printed: each figure for both programs, their ratios and the targets, and what telling the
program in front costs a new press (bench/lookup: ProgramLookup.exe, the lookup a press makes,
timed over many rounds with the poller's window in front). Only figures are printed; nothing
is asserted."""

import argparse
import os
import socket
import statistics
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import wine_bench  # noqa: E402

if __name__ == "__main__":
    _options = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    _options.add_argument("--seconds", type=float, default=60.0, help="idle seconds per program (default 60)")
    _options.add_argument("--rounds", type=int, default=3, help="alternations (default 3)")
    wine_bench.add_build_option(_options, REPO)
    ARGS = _options.parse_args()
    wine_bench.use_build(ARGS.build)

from harness import ProgramFolder  # noqa: E402
from harness.paths import BUILD_DIR  # noqa: E402
from harness.ports import free_port  # noqa: E402

SETTLE_S = 3.0
TICKS_PER_S = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid: int) -> float:
    """User and system time of a process, all its threads, in seconds; 0 once it has gone."""
    try:
        fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    except OSError:
        return 0.0
    return (int(fields[11]) + int(fields[12])) / TICKS_PER_S


def in_prefix(pid: int, prefix: Path) -> bool:
    try:
        return f"WINEPREFIX={prefix}".encode() in Path(f"/proc/{pid}/environ").read_bytes().split(b"\0")
    except OSError:
        return False


def processes_running(name: str, prefix: Path) -> list:
    """The prefix's Linux processes whose command line names the Windows program; other runs
    on the machine may have their own."""
    found = []
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit() or int(entry.name) == os.getpid():
            continue
        try:
            command = (entry / "cmdline").read_bytes().decode(errors="replace").lower()
        except OSError:
            continue
        if name.lower() in command and in_prefix(int(entry.name), prefix):
            found.append(int(entry.name))
    return found


def wineserver_of(prefix: Path) -> int:
    servers = processes_running("wineserver", prefix)
    if not servers:
        raise RuntimeError("no wineserver for the prefix")
    return servers[0]


def resident_kib(pids: list) -> int:
    total = 0
    for pid in pids:
        try:
            for line in Path(f"/proc/{pid}/status").read_text().splitlines():
                if line.startswith("VmRSS:"):
                    total += int(line.split()[1])
        except OSError:
            continue
    return total


def wait_accepting(port: int, timeout: float = 30.0) -> bool:
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return True
        except OSError:
            time.sleep(0.005)
    return False


def measure(program: ProgramFolder, exe: str, seconds: float) -> dict:
    """Start-up seconds, idle CPU seconds of the program and the wineserver, resident KiB."""
    port = free_port()
    program.prefix.reg_add(r"HKCU\Software\Vantrel\Quorvel", "LIRC Server Port", str(port))
    started = time.monotonic()
    process = program.start(exe, [port] if exe == "IdlePoller.exe" else [])
    try:
        if not wait_accepting(port):
            raise RuntimeError(f"{exe} never accepted a connection")
        start_up = time.monotonic() - started
        time.sleep(SETTLE_S)
        # The launcher's processes have gone by now; what is left is the program.
        pids = processes_running(exe, program.prefix.path)
        server = wineserver_of(program.prefix.path)
        before = sum(cpu_seconds(pid) for pid in pids) + cpu_seconds(server)
        time.sleep(seconds)
        after = sum(cpu_seconds(pid) for pid in pids) + cpu_seconds(server)
        return {"start": start_up, "cpu": after - before, "rss": resident_kib(pids)}
    finally:
        process.kill()
        for pid in processes_running(exe, program.prefix.path):
            try:
                os.kill(pid, 9)
            except ProcessLookupError:
                pass
        time.sleep(1.0)


def lookup_microseconds(program: ProgramFolder) -> str:
    """The program-in-front lookup's cost per press, with a window of another program in front."""
    port = free_port()
    poller = program.start("IdlePoller.exe", [port])
    try:
        wait_accepting(port)
        code, output = program.prefix.run(program.prefix.windows_path(program.path / "ProgramLookup.exe"), ["2000"])
        lines = [line for line in output.splitlines() if line.startswith("lookup ")]
        return lines[-1] if code == 0 and lines else f"no figure (exit {code}): {output.strip()}"
    finally:
        poller.kill()


def report(name: str, unit: str, quorvel: float, baseline: float, target: str):
    ratio = f"{quorvel / baseline:5.2f}" if baseline else "  -  "
    print(f"{name:22} {quorvel:9.2f} {baseline:9.2f} {unit:12} ratio {ratio}   target: {target}")


def main():
    with wine_bench.quorvel_folder(REPO, "figures") as program:
        program.add_file(BUILD_DIR / "bench" / "IdlePoller.exe")
        program.add_file(BUILD_DIR / "bench" / "ProgramLookup.exe")
        window = ARGS.seconds / ARGS.rounds
        runs = {"IdlePoller.exe": [], "Quorvel.exe": []}
        for round_number in range(ARGS.rounds):
            for exe, measured in runs.items():
                figures = measure(program, exe, window)
                measured.append(figures)
                print(f"round {round_number + 1}: {exe:15} start-up {figures['start']:5.2f} s, "
                      f"idle {100 * figures['cpu'] / window:5.2f} % of one core, "
                      f"resident {figures['rss'] / 1024:6.1f} MiB", flush=True)
        quorvel, baseline = runs["Quorvel.exe"], runs["IdlePoller.exe"]
        print(f"{'':22} {'Quorvel':>9} {'poller':>9}")
        report("start-up (median)", "s", statistics.median(run["start"] for run in quorvel),
               statistics.median(run["start"] for run in baseline), "under 1 s")
        report("resident (median)", "MiB", statistics.median(run["rss"] for run in quorvel) / 1024,
               statistics.median(run["rss"] for run in baseline) / 1024, "ratio at most 1.5")
        report(f"idle CPU over {ARGS.seconds:.0f} s", "% of a core", 100 * sum(run["cpu"] for run in quorvel) / ARGS.seconds,
               100 * sum(run["cpu"] for run in baseline) / ARGS.seconds, "ratio at most 1.1")
        print(f"program in front, per press: {lookup_microseconds(program)} (microseconds, program)")


if __name__ == "__main__":
    main()
