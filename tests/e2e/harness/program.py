"""A program folder inside a test's prefix: the exe, the substitute libraries and the INI
files beside it, started from another working folder as a user's shortcut would."""

import shutil
from pathlib import Path

from .calllog import CallLog, read_call_log
from .paths import BUILD_DIR, SIM_DIR, tool_path
from .ports import free_port
from .simcontrol import SimControl
from .wine import WinePrefix, WineProcess

SIM_LIBRARIES = ("BeholdRC", "RemoteSdk", "VendorCmdRW")


class ProgramFolder:
    def __init__(self, prefix: WinePrefix, name: str = "Quorvel"):
        self.prefix = prefix
        self.path = prefix.drive_c / name
        self.path.mkdir(parents=True, exist_ok=True)
        # Programs start from here, so code that looks beside itself through the working
        # folder fails as it would on Windows.
        self.working_dir = prefix.drive_c / "users" / "Public"
        self.working_dir.mkdir(parents=True, exist_ok=True)
        self.control_ports = {"BeholdRC": free_port(), "RemoteSdk": free_port()}
        self._sim_settings = {}

    @property
    def windows_path(self) -> str:
        return self.prefix.windows_path(self.path)

    def add_file(self, source: Path, name: str = None) -> Path:
        target = self.path / (name or Path(source).name)
        shutil.copy2(source, target)
        return target

    def add_quorvel(self, source: Path = BUILD_DIR / "Quorvel.exe") -> Path:
        return self.add_file(source)

    def add_tool(self, name: str, file_name: str = None) -> Path:
        """A helper of tests/e2e/tools (e.g. "simprobe"), run from this folder like the program,
        under another file name when one is given."""
        return self.add_file(tool_path(name), file_name)

    def add_library(self, library: str, variant: str = None) -> Path:
        """A substitute library, e.g. add_library("BeholdRC", variant="missing-GetCardName").
        Also writes QuorvelSim.ini, which gives each library this test's control port."""
        folder = SIM_DIR / variant if variant else SIM_DIR
        installed = self.add_file(folder / f"{library}.dll")
        self.configure_sim()
        return installed

    def configure_sim(self, **settings):
        """Sets [Sim] keys of QuorvelSim.ini (CardCount=2, OpenCardFails="all", ...)."""
        self._sim_settings.update(settings)
        lines = ["[Sim]"] + [f"{key}={value}" for key, value in self._sim_settings.items()]
        for library, port in self.control_ports.items():
            lines += [f"[{library}]", f"ControlPort={port}"]
        (self.path / "QuorvelSim.ini").write_bytes(("\r\n".join(lines) + "\r\n").encode())

    def remove_sim_ini(self):
        """Without the file the libraries use their defaults, control ports 8770/8771 included."""
        (self.path / "QuorvelSim.ini").unlink(missing_ok=True)

    def write_quorvel_ini(self, sections: dict):
        """Quorvel.ini from {"Section": {"Key": "Value"}}, in ANSI with CR LF line ends."""
        lines = []
        for section, values in sections.items():
            lines.append(f"[{section}]")
            lines += [f"{key}={value}" for key, value in values.items()]
        (self.path / "Quorvel.ini").write_bytes(("\r\n".join(lines) + "\r\n").encode("cp1252"))

    def start(self, exe: str = "Quorvel.exe", args=(), dll_overrides: str = "", env: dict = None) -> WineProcess:
        return self.prefix.start(f"{self.windows_path}\\{exe}", args, cwd=self.working_dir,
                                 dll_overrides=dll_overrides, env=env)

    def sim_control(self, library: str = "BeholdRC") -> SimControl:
        return SimControl(self.control_ports[library])

    @property
    def call_log_path(self) -> Path:
        return self.path / "QuorvelSim.log"

    def call_log(self) -> CallLog:
        """Every library in this folder writes to the same log, so it shows their order too."""
        return read_call_log(self.call_log_path)
