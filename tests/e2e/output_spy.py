"""The spy window (tests/e2e/tools/spywindow): an application of the tests' own in the
foreground that records the keys, mouse buttons, wheel turns and application commands it
receives, one line per event in a log file in the program folder."""

import re

from harness import ProgramFolder, WinTool
from harness.waiting import wait_until

CURSOR_REQUEST = 0x8001      # WM_APP + 1: the spy logs the pointer position
FOREGROUND_REQUEST = 0x8002  # WM_APP + 2: the spy takes the foreground again
FOREGROUND_QUERY = 0x8003    # WM_APP + 3: the spy logs which window is in front

# Lines about the spy itself; every other line is input it received.
_OWN_LINES = re.compile(r"^(window|ready|active|inactive|cursor|foreground)\b")


class SpyWindow:
    """name: the spy runs as a copy named <name>.exe, which is its program name to Windows.
    class_name: its window class, e.g. "TaskSwitcherWnd" to stand for the task switcher; topmost:
    it stays above all other windows; detail: keys tell their scan codes ("keydown 41 scan 1E"),
    and typed characters are recorded ("char 00E9")."""

    def __init__(self, program: ProgramFolder, wintool: WinTool, name: str = None, class_name: str = None,
                 topmost: bool = False, detail: bool = False):
        self.program = program
        self.wintool = wintool
        self.name = name
        flags = (["topmost"] if topmost else []) + (["detail"] if detail else [])
        self.arguments = [class_name or "QuorvelSpyWindow"] + flags if flags or class_name else []
        self.log_path = program.path / (f"{name}.log" if name else "spy.log")
        self.hwnd = None
        self.process = None

    def start(self, timeout: float = 30.0) -> "SpyWindow":
        """Starts the spy and waits until it is in front."""
        exe = self.program.add_tool("spywindow", f"{self.name}.exe" if self.name else None)
        self.process = self.program.prefix.start(self.program.prefix.windows_path(exe),
                                                 [self.program.prefix.windows_path(self.log_path)] + self.arguments,
                                                 cwd=self.program.working_dir)
        assert wait_until(lambda: "ready" in self.lines(), timeout), f"the spy never got ready: {self.lines()}"
        self.hwnd = int(self.lines()[0].split()[1], 16)
        self.wait_active(True)
        return self

    def lines(self) -> list:
        if not self.log_path.exists():
            return []
        return self.log_path.read_text().splitlines()

    def inputs(self) -> list:
        """The input received so far, e.g. ["keydown 11", "lbuttondown 620 440", "wheel -120"]."""
        return [line for line in self.lines() if not _OWN_LINES.match(line)]

    def wait_for_inputs(self, count: int, timeout: float = 10.0) -> list:
        """The input once at least count events have arrived (or all there is at the timeout)."""
        wait_until(lambda: len(self.inputs()) >= count, timeout)
        return self.inputs()

    def is_active(self) -> bool:
        activations = [line for line in self.lines() if line in ("active", "inactive")]
        return bool(activations) and activations[-1] == "active"

    def wait_active(self, active: bool, timeout: float = 10.0):
        state = "active" if active else "inactive"
        assert wait_until(lambda: self.is_active() == active, timeout), f"the spy never became {state}"

    def bring_to_front(self):
        assert self.wintool.post(self.hwnd, FOREGROUND_REQUEST)
        self.wait_active(True)

    def cursor(self) -> tuple:
        """The pointer position on the screen, as the spy reads it now."""
        x, y = self._report(CURSOR_REQUEST, "cursor")
        return int(x), int(y)

    def foreground(self) -> int:
        """The handle of the window in front, as the spy sees it now."""
        (hwnd,) = self._report(FOREGROUND_QUERY, "foreground")
        return int(hwnd, 16)

    def _report(self, request: int, word: str, timeout: float = 10.0) -> list:
        def reports():
            return [line for line in self.lines() if line.startswith(word + " ")]

        before = len(reports())
        assert self.wintool.post(self.hwnd, request)
        assert wait_until(lambda: len(reports()) > before, timeout), f"the spy did not report {word}"
        return reports()[before].split()[1:]
