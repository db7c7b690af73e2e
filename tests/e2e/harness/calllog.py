"""The substitute libraries' call log (QuorvelSim.log beside them).

One entry per call, e.g. "OpenCard(0)". A run of polling calls is kept short: the first call
of each polling export is an entry of its own, and "GetRemoteCode x120" after the run says the
export was called 120 times in that run altogether."""

import re
from pathlib import Path

_COUNT = re.compile(r"^(\w+) x(\d+)$")


def read_call_log(path: Path) -> "CallLog":
    text = Path(path).read_text(errors="replace") if Path(path).exists() else ""
    return CallLog([line for line in text.splitlines() if line])


class CallLog:
    def __init__(self, entries: list):
        self.entries = list(entries)

    def __repr__(self):
        return f"CallLog({self.entries!r})"

    @staticmethod
    def name_of(entry: str) -> str:
        return re.split(r"[( ]", entry, maxsplit=1)[0]

    def calls(self) -> list:
        """The entries without the count lines: every call in order, polling runs shown once."""
        return [entry for entry in self.entries if not _COUNT.match(entry)]

    def index(self, call: str) -> int:
        """Position of the first entry equal to call ("OpenCard(1)") or, for a bare name, of the
        first call of that export; -1 when absent."""
        for position, entry in enumerate(self.calls()):
            if entry == call or ("(" not in call and self.name_of(entry) == call):
                return position
        return -1

    def count(self, name: str) -> int:
        """How often the export was called altogether."""
        total = 0
        for entry in self.entries:
            match = _COUNT.match(entry)
            if match and match.group(1) == name:
                total += int(match.group(2)) - 1
            elif not match and self.name_of(entry) == name:
                total += 1
        return total

    def last(self) -> str:
        calls = self.calls()
        return calls[-1] if calls else ""
