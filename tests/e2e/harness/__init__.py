"""End-to-end harness: Xvfb, Wine prefixes, program folders, and the helpers that drive the
substitute receiver libraries and observe windows from outside."""

from .calllog import CallLog, read_call_log
from .paths import BUILD_DIR, SIM_DIR, tool_path
from .program import ProgramFolder
from .simcontrol import SimControl, SimControlError, SimStatus
from .simprobe import PollingProbe, Reading, SimProbe, parse_readings
from .wine import WinePrefix, WineProcess
from .wintool import MAIN_WINDOW, ControlState, Dialog, Window, WinTool
from .xvfb import Xvfb

__all__ = [
    "BUILD_DIR", "MAIN_WINDOW", "SIM_DIR", "CallLog", "ControlState", "Dialog", "PollingProbe", "ProgramFolder",
    "Reading", "SimControl", "SimControlError", "SimProbe", "SimStatus", "Window", "WinePrefix",
    "WineProcess", "WinTool", "Xvfb", "parse_readings", "read_call_log", "tool_path",
]
