"""Working Quorvel's main window, its tray icon and the tray menu from outside: with the mouse
and keyboard of the X display (xdotool), as a user does, or by the window messages the shell
would send. Also screenshots of the window."""

import re
import subprocess
import time
from pathlib import Path

from harness import MAIN_WINDOW
from harness.paths import REPO_DIR, WORK_DIR
from harness.waiting import wait_until

WM_COMMAND = 0x0111
WM_QUERYENDSESSION = 0x0011
WM_ENDSESSION = 0x0016
WM_LBUTTONUP = 0x0202
WM_RBUTTONUP = 0x0205
POPUP_MENU_CLASS = "#32768"
TRAY_WINDOW_CLASS = "__winex11_standalone_tray"
# Screenshots the tests keep for a person to look at.
ARTEFACTS_DIR = WORK_DIR / "artefacts"


def _read_ids():
    header = (REPO_DIR / "src" / "ui" / "ControlIds.h").read_text()
    control_block = re.search(r"#define QUORVEL_CONTROLS\(X\)(.*?)\n\n", header, re.S).group(1)
    controls = {name: int(number) for name, number in re.findall(r"X\(\s*(\w+)\s*,\s*(\d+)\s*\)", control_block)}
    menu_block = re.search(r"#define QUORVEL_TRAY_MENU\(X\)(.*?)\n\n", header, re.S).group(1)
    items = {name: int(number) for name, number in re.findall(r"X\(\s*(\w+)\s*,\s*(\d+)\s*\)", menu_block)}
    callback = int(re.search(r"#define QUORVEL_TRAY_CALLBACK_MESSAGE (0x[0-9A-Fa-f]+)", header).group(1), 16)
    return controls, items, callback


# Dialog identifiers of the window's controls by name, command identifiers of the tray menu's
# items by name ("ExitPM", "MousePM", ...), and the message by which the shell reports mouse
# events on the tray icon.
CONTROL_IDS, MENU_ITEMS, TRAY_CALLBACK = _read_ids()


def center(rect) -> tuple:
    left, top, right, bottom = rect
    return (left + right) // 2, (top + bottom) // 2


class Desktop:
    """The X display the programs run on: its mouse, keyboard and screen."""

    def __init__(self, display: str):
        self.display = display

    def _run(self, *args, timeout: float = 30.0) -> str:
        result = subprocess.run(list(args), env={"DISPLAY": self.display, "PATH": "/usr/bin:/bin"},
                                stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=timeout,
                                check=True)
        return result.stdout

    def click(self, x: int, y: int, button: int = 1):
        self._run("xdotool", "mousemove", "--sync", str(x), str(y))
        # Wine takes the press and the release as separate events only with a pause between.
        self._run("xdotool", "mousedown", str(button))
        time.sleep(0.1)
        self._run("xdotool", "mouseup", str(button))

    def move(self, x: int, y: int):
        self._run("xdotool", "mousemove", "--sync", str(x), str(y))

    def hold(self, x: int, y: int):
        """Presses the left mouse button at a point and keeps it down."""
        self.move(x, y)
        self._run("xdotool", "mousedown", "1")

    def release(self):
        self._run("xdotool", "mouseup", "1")

    def keys(self, *combinations: str):
        """Key combinations in xdotool's names, e.g. "ctrl+alt+d", "BackSpace"."""
        for combination in combinations:
            self._run("xdotool", "key", "--delay", "60", combination)
            time.sleep(0.2)

    def screenshot(self, path: Path, rect=None) -> Path:
        """The whole screen, or only rect (left, top, right, bottom), as a PNG."""
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        command = ["import", "-display", self.display, "-window", "root"]
        if rect is not None:
            left, top, right, bottom = rect
            command += ["-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage"]
        self._run(*command, str(path), timeout=60)
        return path

    def colours(self, rect) -> set:
        """The distinct (red, green, blue) colours inside a rectangle of the screen."""
        left, top, right, bottom = rect
        shot = subprocess.run(["import", "-display", self.display, "-window", "root", "-crop",
                               f"{right - left}x{bottom - top}+{left}+{top}", "png:-"],
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=60, check=True).stdout
        output = subprocess.run(["convert", "png:-", "-depth", "8", "-unique-colors", "txt:-"], input=shot,
                                capture_output=True, timeout=60, check=True).stdout.decode()
        return {tuple(int(value) for value in match) for match in re.findall(r"\((\d+),(\d+),(\d+)", output)}

    def pixel(self, x: int, y: int) -> tuple:
        """(red, green, blue) of one screen pixel."""
        output = self._run("import", "-display", self.display, "-window", "root", "-crop", f"1x1+{x}+{y}",
                           "-depth", "8", "txt:-")
        match = re.search(r"\((\d+),(\d+),(\d+)", output.splitlines()[-1])
        return tuple(int(value) for value in match.groups())


class QuorvelWindow:
    """Quorvel's main window, tray icon and tray menu, for one running program."""

    def __init__(self, quorvel, desktop: Desktop):
        self.quorvel = quorvel
        self.wintool = quorvel.wintool
        self.desktop = desktop

    @property
    def hwnd(self) -> int:
        return self.quorvel.hwnd

    def is_visible(self) -> bool:
        return any(window.hwnd == self.hwnd and window.visible for window in self.wintool.list())

    def wait_visible(self, visible: bool = True, timeout: float = 10.0) -> bool:
        return bool(wait_until(lambda: self.is_visible() == visible, timeout))

    def choose(self, item: str):
        """A tray menu item by name ("ExitPM", "MousePM", ...), as the menu reports a choice."""
        assert self.wintool.post(self.hwnd, WM_COMMAND, MENU_ITEMS[item], 0)

    def show(self):
        """A click on the tray icon, as the shell reports it."""
        assert self.wintool.post(self.hwnd, TRAY_CALLBACK, 0, WM_LBUTTONUP)
        assert self.wait_visible(), "the window did not come up"

    def rect(self):
        return self.wintool.rect(self.hwnd)

    def control_rect(self, control: str):
        rect = self.wintool.control_rect(*MAIN_WINDOW, control)
        assert rect, f"no control {control}"
        return rect

    def control_hwnd(self, control: str) -> int:
        return next(child[0] for child in self.wintool.children(*MAIN_WINDOW) if child[1] == CONTROL_IDS[control])

    def click(self, control: str):
        """A mouse click in the middle of a control."""
        self.desktop.click(*center(self.control_rect(control)))

    def show_tab(self, index: int):
        """Clicks a tab of the settings page control."""
        tabs = self.wintool.tab_rects(*MAIN_WINDOW, "SPC")
        assert tabs, "no settings tabs"
        self.desktop.click(*center(tabs[index]))

    def screenshot(self, name: str) -> Path:
        """The window alone, kept among the test artefacts."""
        path = ARTEFACTS_DIR / f"{name}.png"
        # Let the last repaint reach the screen first.
        time.sleep(0.3)
        return self.desktop.screenshot(path, self.rect())

    def tray_icon_rect(self):
        tray = self.wintool.children(TRAY_WINDOW_CLASS, "*")
        assert tray, "no tray icon on the screen"
        return self.wintool.rect(tray[0][0])

    def hover_tray_icon(self):
        """Rests the pointer on the tray icon until its tip shows, as a user does before a click."""
        self.desktop.move(*center(self.tray_icon_rect()))
        assert wait_until(lambda: "Quorvel" in self.wintool.tooltips(), 10), "the tray icon's tip never showed"

    def open_tray_menu(self):
        """Right-clicks the tray icon; the rectangle of the menu that opens."""
        self.desktop.click(*center(self.tray_icon_rect()), button=3)
        menu = wait_until(lambda: next((window for window in self.wintool.list()
                                        if window.class_name == POPUP_MENU_CLASS and window.visible), None), 10)
        assert menu, "the tray menu did not open"
        return self.wintool.rect(menu.hwnd)
