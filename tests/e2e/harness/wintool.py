"""Observing windows from outside through wintool.exe, run in the test's prefix."""

import re
from dataclasses import dataclass

from .paths import REPO_DIR, tool_path
from .waiting import wait_until
from .wine import WinePrefix


def _main_window() -> tuple:
    header = (REPO_DIR / "src" / "ui" / "ControlIds.h").read_text()
    return tuple(re.search(rf'#define QUORVEL_MAIN_{name} "([^"]*)"', header).group(1)
                 for name in ("CLASS", "CAPTION"))


# Commands that give the same answer and leave the same state when run twice.
REPEATABLE_COMMANDS = {"list", "dialogs", "texts", "state", "items", "status-parts", "wait-window", "wait-dialog",
                       "children", "layout", "list-widths", "rect", "control-rect", "tab-rects", "tooltips", "hints",
                       "counts", "thread-priorities", "set-text", "select", "volatile-key"}

# Class and title of Quorvel's main window, for the first two arguments of the calls below.
MAIN_WINDOW = _main_window()


@dataclass(frozen=True)
class Window:
    hwnd: int
    pid: int
    class_name: str
    visible: bool
    title: str


@dataclass(frozen=True)
class Dialog:
    hwnd: int
    title: str
    text: str


@dataclass(frozen=True)
class ControlState:
    enabled: bool
    visible: bool
    checked: int  # BM_GETCHECK for buttons, -1 for other controls


@dataclass(frozen=True)
class ChildPlace:
    id: int
    class_name: str
    visible: bool
    style: int
    left: int
    top: int
    right: int
    bottom: int
    text_width: int  # in the program's font, and in its bold face
    bold_width: int
    text_height: int
    text: str


def unescape(text: str) -> str:
    replacements = {"\\": "\\", "t": "\t", "r": "\r", "n": "\n"}
    result, escaped = [], False
    for char in text:
        if escaped:
            result.append(replacements.get(char, char))
            escaped = False
        elif char == "\\":
            escaped = True
        else:
            result.append(char)
    return "".join(result)


class WinTool:
    """Class and title select a top-level window ("*" matches any title); control names are
    those of Quorvel's main window (src/ui/ControlIds.h)."""

    def __init__(self, prefix: WinePrefix):
        self.prefix = prefix
        self.exe = tool_path("wintool")

    def run(self, *args, timeout: float = 60.0) -> tuple:
        """(exit code, output lines split into unescaped fields). A command that can run twice
        runs again when Wine ends it silently; one that could act twice (a click) fails instead."""
        code, output = self.prefix.run_tool(self.exe, args, repeatable=args[0] in REPEATABLE_COMMANDS,
                                            timeout=timeout, name="wintool")
        rows = [[unescape(field) for field in line.split("\t")] for line in output.splitlines() if line]
        return code, rows

    def list(self) -> list:
        _, rows = self.run("list")
        return [Window(int(row[0], 16), int(row[1]), row[2], row[3] == "1", row[4]) for row in rows]

    def dialogs(self) -> list:
        _, rows = self.run("dialogs")
        return [Dialog(int(row[0], 16), row[1], row[2]) for row in rows]

    def click_ok(self, dialog) -> bool:
        hwnd = dialog.hwnd if isinstance(dialog, Dialog) else dialog
        return self.run("click-ok", hex(hwnd))[0] == 0

    def texts(self, class_name: str, title: str, *controls) -> dict:
        """{control name: text} for the controls found."""
        _, rows = self.run("texts", class_name, title, *controls)
        return {row[0]: row[1] for row in rows}

    def state(self, class_name: str, title: str, *controls) -> dict:
        _, rows = self.run("state", class_name, title, *controls)
        states = {}
        for row in rows:
            fields = dict(field.split("=", 1) for field in row[1:])
            checked = -1 if fields["checked"] == "-" else int(fields["checked"])
            states[row[0]] = ControlState(fields["enabled"] == "1", fields["visible"] == "1", checked)
        return states

    def items(self, class_name: str, title: str, control: str):
        """(selected index, [item texts]) of a drop-down list, or None when not found."""
        code, rows = self.run("items", class_name, title, control)
        if code != 0:
            return None
        return int(rows[0][1]), [row[1] for row in rows[1:]]

    def status_parts(self, class_name: str, title: str, control: str):
        code, rows = self.run("status-parts", class_name, title, control)
        return [row[1] for row in rows] if code == 0 else None

    def children(self, class_name: str, title: str) -> list:
        """[(hwnd, control id, class, visible, text)] of every descendant window."""
        _, rows = self.run("children", class_name, title)
        return [(int(row[0], 16), int(row[1]), row[2], row[3] == "1", row[4]) for row in rows]

    def button_checked(self, class_name: str, title: str, caption: str):
        """BM_GETCHECK of the button with the given caption, or None when there is none."""
        _, rows = self.run("children", class_name, title)
        return next((int(row[5]) for row in rows if row[2] == "Button" and row[4] == caption), None)

    def layout(self, class_name: str, title: str) -> list:
        """[ChildPlace] of each child window of a top-level window, in the program's font."""
        _, rows = self.run("layout", class_name, title)
        return [ChildPlace(int(row[0]), row[1], row[2] == "1", int(row[3], 16), *map(int, row[4:11]), row[11])
                for row in rows]

    def click(self, class_name: str, title: str, control: str) -> bool:
        return self.run("click", class_name, title, control)[0] == 0

    def click_button(self, class_name: str, title: str, caption: str) -> bool:
        return self.run("click-button", class_name, title, caption)[0] == 0

    def select(self, class_name: str, title: str, control: str, index: int) -> bool:
        return self.run("select", class_name, title, control, str(index))[0] == 0

    def close(self, hwnd: int) -> bool:
        return self.run("close", hex(hwnd))[0] == 0

    def post(self, hwnd: int, message: int, wparam: int = 0, lparam: int = 0) -> bool:
        return self.run("post", hex(hwnd), hex(message), hex(wparam), hex(lparam))[0] == 0

    def rect(self, hwnd: int):
        """(left, top, right, bottom) of a window on the screen, or None."""
        code, rows = self.run("rect", hex(hwnd))
        return tuple(int(value) for value in rows[0]) if code == 0 else None

    def control_rect(self, class_name: str, title: str, control: str):
        """(left, top, right, bottom) of a named control on the screen, or None."""
        code, rows = self.run("control-rect", class_name, title, control)
        return tuple(int(value) for value in rows[0]) if code == 0 else None

    def tab_rects(self, class_name: str, title: str, control: str):
        """[(left, top, right, bottom)] of each tab of a tab control on the screen, or None."""
        code, rows = self.run("tab-rects", class_name, title, control)
        return [tuple(int(value) for value in row) for row in rows] if code == 0 else None

    def tooltips(self) -> list:
        """The texts of the tooltips on the screen, such as a tray icon's balloon."""
        _, rows = self.run("tooltips")
        return [row[1] for row in rows]

    def hints(self, class_name: str, title: str, *controls) -> dict:
        """{control: hint} for the named controls that have a tooltip of the window."""
        _, rows = self.run("hints", class_name, title, *controls)
        return {row[0]: row[1] for row in rows}

    def counts(self, process_id: int) -> dict:
        """{"handles", "gdi", "user": count, or None where the system gives none} of a Windows
        process, or None when the process cannot be opened."""
        code, rows = self.run("counts", str(process_id))
        if code != 0:
            return None
        return {row[0]: None if row[1] == "-" else int(row[1]) for row in rows}

    def set_text(self, hwnd: int, text: str) -> bool:
        return self.run("set-text", hex(hwnd), text)[0] == 0

    def wait_for_window(self, class_name: str, title: str, timeout: float):
        """The window's handle once it exists, or None."""
        code, rows = self.run("wait-window", class_name, title, str(int(timeout * 1000)), timeout=timeout + 30)
        return int(rows[0][0], 16) if code == 0 else None

    def hold_file(self, path):
        """A running wintool that keeps the file open with no sharing until it is killed."""
        holder = self.prefix.start(self.exe, ["hold-file", self.prefix.windows_path(path)], name="hold-file")
        assert wait_until(lambda: "held" in holder.stdout(), 20), holder.stderr()
        return holder

    def thread_priorities(self, process_id: int) -> list:
        """GetThreadPriority of each thread of a Windows process."""
        _, rows = self.run("thread-priorities", str(process_id))
        return [int(row[1]) for row in rows]

    def volatile_key(self, path: str) -> bool:
        """Creates a volatile key under HKEY_CURRENT_USER; it lasts as long as the prefix's
        wineserver, and no lasting key can be created below it."""
        code, _ = self.run("volatile-key", path)
        return code == 0

    def wait_for_dialog(self, text: str, timeout: float):
        """The first visible message box whose title or text contains text, or None."""
        code, rows = self.run("wait-dialog", text, str(int(timeout * 1000)), timeout=timeout + 30)
        if code != 0:
            return None
        return Dialog(int(rows[0][0], 16), rows[0][1], rows[0][2])
