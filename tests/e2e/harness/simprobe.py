"""simprobe.exe run from a program folder: calls a substitute library's exports directly."""

import re
from dataclasses import dataclass

from .program import ProgramFolder

_BEHOLDER_POLL = re.compile(r"^poll (\d+) rc=([0-9A-F]+) ext=([0-9A-F]{8})$")
_COMPRO_POLL = re.compile(r"^poll (\d+) key=([0-9A-F]{8})$")


@dataclass(frozen=True)
class Reading:
    poll: int      # the probe's own poll number, counted from 1
    rc: int        # Beholder's RC code; for RemoteSdk the key's low byte
    code: int      # Beholder's extended code, or RemoteSdk's key code


def parse_readings(lines: list) -> list:
    readings = []
    for line in lines:
        if match := _BEHOLDER_POLL.match(line):
            readings.append(Reading(int(match.group(1)), int(match.group(2), 16), int(match.group(3), 16)))
        elif match := _COMPRO_POLL.match(line):
            key = int(match.group(2), 16)
            readings.append(Reading(int(match.group(1)), key & 0xFF, key))
    return readings


class PollingProbe:
    """A probe polling every 20 ms (as Quorvel does every 50) until stopped."""

    def __init__(self, process, stop_file):
        self.process = process
        self._stop_file = stop_file

    def stop(self, timeout: float = 30.0) -> list:
        """Stops polling; returns every output line."""
        self._stop_file.touch()
        self.process.wait(timeout)
        return self.process.stdout().splitlines()


class SimProbe:
    def __init__(self, program: ProgramFolder):
        self.program = program
        program.add_tool("simprobe")

    def run(self, library: str, *steps, timeout: float = 60.0) -> tuple:
        """(exit code, output lines) of simprobe <library>.dll <steps>."""
        process = self.program.start("simprobe.exe", [f"{library}.dll", *steps])
        try:
            code = process.wait(timeout)
        finally:
            process.kill()
        return code, process.stdout().splitlines()

    def start_polling(self, library: str, *steps_before, then=()) -> PollingProbe:
        """Runs steps_before, then polls BeholdRC (GetRemoteCode, GetRemoteCodeEx) or RemoteSdk
        (GetKeyCode) until stop(), then runs the steps in then."""
        stop_file = self.program.path / "stop-polling"
        stop_file.unlink(missing_ok=True)
        kind = "compro-polls" if library == "RemoteSdk" else "beholder-polls"
        polling = f"{kind}:{self.program.prefix.windows_path(stop_file)}"
        process = self.program.start("simprobe.exe", [f"{library}.dll", *steps_before, polling, *then])
        return PollingProbe(process, stop_file)
