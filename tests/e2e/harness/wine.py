"""Wine prefixes and the programs started in them.

One template prefix is made per test run and copied per test; each copy has its own
persistent wineserver, so program starts are quick and no helper process holds a pipe.
Program output always goes to files."""

import itertools
import os
import shutil
import subprocess
import tempfile
from pathlib import Path, PureWindowsPath

BASE_ENV = {
    "WINEARCH": "win64",
    "WINEDEBUG": "-all",
    # No Mono or Gecko install dialogs.
    "WINEDLLOVERRIDES": "mscoree,mshtml=",
}


class WineProcess:
    """A program started under Wine, with its output in two files."""

    def __init__(self, popen: subprocess.Popen, stdout_path: Path, stderr_path: Path):
        self._popen = popen
        self.stdout_path = stdout_path
        self.stderr_path = stderr_path

    @property
    def pid(self) -> int:
        return self._popen.pid

    def is_running(self) -> bool:
        return self._popen.poll() is None

    def wait(self, timeout: float) -> int:
        """The exit code; raises subprocess.TimeoutExpired when still running after timeout."""
        return self._popen.wait(timeout=timeout)

    def kill(self):
        if self.is_running():
            self._popen.kill()
        self._popen.wait(timeout=30)

    def stdout(self) -> str:
        return self.stdout_path.read_text(errors="replace") if self.stdout_path.exists() else ""

    def stderr(self) -> str:
        return self.stderr_path.read_text(errors="replace") if self.stderr_path.exists() else ""


class WinePrefix:
    def __init__(self, path: Path, display: str):
        self.path = Path(path)
        self.display = display
        self._server_started = False
        self._processes = []
        self._output_numbers = itertools.count(1)

    @classmethod
    def create_template(cls, path: Path, display: str) -> "WinePrefix":
        """A fresh prefix (about 10-20 s); its wineserver is stopped again afterwards."""
        shutil.rmtree(path, ignore_errors=True)
        path.parent.mkdir(parents=True, exist_ok=True)
        prefix = cls(path, display)
        with tempfile.TemporaryFile() as output:
            subprocess.run(["wineboot", "-i"], env=prefix.env(), stdin=subprocess.DEVNULL, stdout=output,
                           stderr=output, check=True, timeout=300)
        subprocess.run(["wineserver", "-w"], env=prefix.env(), check=True, timeout=120)
        return prefix

    def clone(self, path: Path) -> "WinePrefix":
        shutil.rmtree(path, ignore_errors=True)
        path.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["cp", "-a", str(self.path), str(path)], check=True, timeout=300)
        return WinePrefix(path, self.display)

    @property
    def drive_c(self) -> Path:
        return self.path / "drive_c"

    def env(self, dll_overrides: str = "", extra: dict = None) -> dict:
        env = dict(os.environ)
        env.update(BASE_ENV)
        env["WINEPREFIX"] = str(self.path)
        env["DISPLAY"] = self.display
        if dll_overrides:
            env["WINEDLLOVERRIDES"] = BASE_ENV["WINEDLLOVERRIDES"] + ";" + dll_overrides
        env.update(extra or {})
        return env

    def windows_path(self, unix_path: Path) -> str:
        """C:\\... for files inside the prefix's drive C, Z:\\... for any other file."""
        unix_path = Path(unix_path).resolve()
        try:
            relative = unix_path.relative_to(self.drive_c.resolve())
            return str(PureWindowsPath("C:/", *relative.parts))
        except ValueError:
            return str(PureWindowsPath("Z:/", *unix_path.parts[1:]))

    def start_server(self):
        subprocess.run(["wineserver", "-p"], env=self.env(), check=True, timeout=60)
        self._server_started = True

    def stop_server(self):
        """Ends every program still running in the prefix, then the server."""
        for process in self._processes:
            process.kill()
        if self._server_started:
            subprocess.run(["wineserver", "-k"], env=self.env(), timeout=60)
            subprocess.run(["wineserver", "-w"], env=self.env(), timeout=60)
            self._server_started = False

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)

    def start(self, program: str, args=(), cwd: Path = None, dll_overrides: str = "", env: dict = None,
              name: str = None) -> WineProcess:
        """Starts program (a Windows path, or a Unix path Wine maps) with its output in files
        under <prefix>/output. Started from drive C's root unless cwd is given."""
        output_dir = self.path / "output"
        output_dir.mkdir(exist_ok=True)
        stem = f"{next(self._output_numbers):02d}-{name or PureWindowsPath(str(program)).stem}"
        stdout_path, stderr_path = output_dir / f"{stem}.out", output_dir / f"{stem}.err"
        with open(stdout_path, "wb") as stdout, open(stderr_path, "wb") as stderr:
            popen = subprocess.Popen(["wine", str(program), *map(str, args)], cwd=str(cwd or self.drive_c),
                                     env=self.env(dll_overrides, env), stdin=subprocess.DEVNULL, stdout=stdout,
                                     stderr=stderr)
        process = WineProcess(popen, stdout_path, stderr_path)
        self._processes.append(process)
        return process

    def run(self, program: str, args=(), timeout: float = 60.0, **kwargs) -> tuple:
        """Runs program to its end: (exit code, stdout text)."""
        process = self.start(program, args, **kwargs)
        try:
            code = process.wait(timeout)
        finally:
            process.kill()
        return code, process.stdout()

    def reg_add(self, key: str, name: str, value: str, value_type: str = "REG_SZ"):
        code, _ = self.run("reg", ["add", key, "/v", name, "/t", value_type, "/d", value, "/f"])
        if code != 0:
            raise RuntimeError(f"reg add {key} {name} failed with {code}")

    def set_app_windows_version(self, exe_name: str, version: str):
        """Makes one program see another Windows version ("winxp", "winxp64", "win2k", ...)."""
        self.reg_add(f"HKCU\\Software\\Wine\\AppDefaults\\{exe_name}", "Version", version)

    def reg_query(self, key: str, name: str):
        """The value's data as reg prints it, or None when absent."""
        code, output = self.run("reg", ["query", key, "/v", name])
        if code != 0:
            return None
        # reg separates name, type and data by four spaces; names may hold single spaces.
        for line in output.splitlines():
            fields = line.strip().split("    ", 2)
            if len(fields) >= 2 and fields[0] == name and fields[1].strip().startswith("REG_"):
                return fields[2].strip() if len(fields) >= 3 else ""
        return None
