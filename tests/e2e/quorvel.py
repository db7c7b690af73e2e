"""Starting Quorvel.exe in a test's program folder and reading what its main window shows."""

from harness import MAIN_WINDOW, ProgramFolder, SimControl, WinTool, WineProcess
from harness.waiting import wait_until

# The fields of the "RC Button" group and of the editor, as their control names.
BUTTON_FIELDS = ("Code1ST", "Code2ST", "NameST", "RepeatCountL")


class RunningQuorvel:
    def __init__(self, program: ProgramFolder, wintool: WinTool, process: WineProcess, library: str):
        self.program = program
        self.wintool = wintool
        self.process = process
        self.library = library
        self.hwnd = None

    def wait_started(self, timeout: float = 30.0) -> "RunningQuorvel":
        self.hwnd = self.wintool.wait_for_window(*MAIN_WINDOW, timeout)
        assert self.hwnd, "the main window never appeared"
        # Without a substitute library (the network receiver) there is nothing to wait for.
        if self.library:
            self.control.wait_ready(timeout)
        return self

    @property
    def control(self) -> SimControl:
        return self.program.sim_control(self.library)

    def texts(self, *controls) -> dict:
        return self.wintool.texts(*MAIN_WINDOW, *controls)

    def status(self) -> list:
        return self.wintool.status_parts(*MAIN_WINDOW, "StatusSB")

    def exit(self, timeout: float = 30.0):
        """Chooses "Exit" in the tray menu, which runs the exit sequence, and waits for the end.
        (Closing the window would only send the program to the tray.)"""
        from quorvel_window import MENU_ITEMS, WM_COMMAND
        assert self.wintool.post(self.hwnd, WM_COMMAND, MENU_ITEMS["ExitPM"], 0)
        self.process.wait(timeout)


def start_quorvel(program: ProgramFolder, wintool: WinTool, library: str = "BeholdRC", args=(),
                  ini: dict = None, **sim_settings) -> RunningQuorvel:
    """Quorvel with one substitute receiver library beside it, started and polling."""
    program.add_quorvel()
    program.add_library(library)
    if sim_settings:
        program.configure_sim(**sim_settings)
    if ini is not None:
        program.write_quorvel_ini(ini)
    process = program.start(args=args)
    return RunningQuorvel(program, wintool, process, library).wait_started()


def read_while_held(quorvel: RunningQuorvel, *controls):
    """Reads the controls while a held button is being polled; returns the texts and the range
    of polls since the hold began during which the read happened."""
    before = quorvel.control.status().polls
    texts = quorvel.texts(*controls)
    after = quorvel.control.status().polls
    return texts, before, after


def wait_for_text(quorvel: RunningQuorvel, control: str, expected: str, timeout: float = 10.0) -> dict:
    seen = {}

    def shown():
        seen.update(quorvel.texts(control))
        return seen.get(control) == expected

    assert wait_until(shown, timeout), f"{control} never showed {expected!r} (last {seen.get(control)!r})"
    return seen


def log_lines(program: ProgramFolder) -> list:
    """The lines of %LOCALAPPDATA%\\Quorvel\\Quorvel.log in the program's prefix."""
    logs = list((program.prefix.drive_c / "users").glob("*/AppData/Local/Quorvel/Quorvel.log"))
    return logs[0].read_text(errors="replace").splitlines() if logs else []
