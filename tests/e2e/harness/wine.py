"""Wine prefixes and the programs started in them.

One template prefix is made per test run and copied per test; each copy has its own
persistent wineserver, so program starts are quick and no helper process holds a pipe.
Program output always goes to files. The win64 build runs under the system's Wine, the win32
build under the private 32-bit Wine that scripts/wine32.sh makes."""

import functools
import itertools
import os
import shutil
import subprocess
import tempfile
from pathlib import Path, PureWindowsPath

from .paths import ARCH, REPO_DIR

BASE_ENV = {
    "WINEDEBUG": "-all",
    # No Mono or Gecko install dialogs.
    "WINEDLLOVERRIDES": "mscoree,mshtml=",
}


class WineInstall:
    """The commands that run one build's Wine and the environment they need."""

    def __init__(self, loader: str, server: str, env: dict):
        self.loader = loader
        self.server = server
        self.env = env

    @classmethod
    def system(cls) -> "WineInstall":
        return cls("wine", "wineserver", {"WINEARCH": "win64"})

    @classmethod
    def private32(cls, root: Path) -> "WineInstall":
        libraries = [str(root / "usr/lib/i386-linux-gnu"), str(root / "lib/i386-linux-gnu")]
        loader, server = str(root / "usr/lib/wine/wine"), str(root / "usr/lib/wine/wineserver32")
        return cls(loader, server, {"WINEARCH": "win32", "WINELOADER": loader, "WINESERVER": server,
                                    "LD_LIBRARY_PATH": ":".join(libraries)})


def private_wine32_root() -> Path:
    """QUORVEL_WINE32, else the folder scripts/wine32.sh reports; fails with its reason."""
    if os.environ.get("QUORVEL_WINE32"):
        return Path(os.environ["QUORVEL_WINE32"])
    result = subprocess.run([str(REPO_DIR / "scripts" / "wine32.sh"), "root"], capture_output=True, text=True,
                            timeout=60)
    if result.returncode != 0:
        raise RuntimeError(f"no 32-bit Wine: {result.stdout.strip() or result.stderr.strip()}")
    return Path(result.stdout.strip())


# How often a tool that Wine ended silently is run before the test fails with SilentFailure.
SILENT_FAILURE_ATTEMPTS = 3


class SilentFailure(RuntimeError):
    pass


@functools.lru_cache(maxsize=None)
def wine_for(arch: str = ARCH) -> WineInstall:
    return WineInstall.private32(private_wine32_root()) if arch == "win32" else WineInstall.system()


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
    def __init__(self, path: Path, display: str, install: WineInstall = None):
        self.path = Path(path)
        self.display = display
        self.install = install or wine_for()
        self._server_started = False
        self._processes = []
        self._output_numbers = itertools.count(1)

    @classmethod
    def create_template(cls, path: Path, display: str, install: WineInstall = None) -> "WinePrefix":
        """A fresh prefix (about 10-20 s); its wineserver is stopped again afterwards."""
        shutil.rmtree(path, ignore_errors=True)
        path.parent.mkdir(parents=True, exist_ok=True)
        prefix = cls(path, display, install)
        with tempfile.TemporaryFile() as output:
            subprocess.run([prefix.install.loader, "wineboot", "-i"], env=prefix.env(), stdin=subprocess.DEVNULL,
                           stdout=output, stderr=output, check=True, timeout=300)
        prefix.wineserver("-w", timeout=120, check=True)
        return prefix

    def clone(self, path: Path) -> "WinePrefix":
        shutil.rmtree(path, ignore_errors=True)
        path.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["cp", "-a", str(self.path), str(path)], check=True, timeout=300)
        return WinePrefix(path, self.display, self.install)

    @property
    def drive_c(self) -> Path:
        return self.path / "drive_c"

    def env(self, dll_overrides: str = "", extra: dict = None) -> dict:
        env = dict(os.environ)
        env.update(BASE_ENV)
        env.update(self.install.env)
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

    def wineserver(self, *args, timeout: float = 60, check: bool = False):
        subprocess.run([self.install.server, *args], env=self.env(), check=check, timeout=timeout)

    def start_server(self):
        self.wineserver("-p", check=True)
        self._server_started = True

    def stop_server(self):
        """Ends every program still running in the prefix, then the server."""
        for process in self._processes:
            process.kill()
        if self._server_started:
            self.wineserver("-k")
            self.wineserver("-w")
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
            popen = subprocess.Popen([self.install.loader, str(program), *map(str, args)], cwd=str(cwd or self.drive_c),
                                     env=self.env(dll_overrides, env), stdin=subprocess.DEVNULL, stdout=stdout,
                                     stderr=stderr)
        process = WineProcess(popen, stdout_path, stderr_path)
        self._processes.append(process)
        return process

    def run(self, program: str, args=(), timeout: float = 60.0, **kwargs) -> tuple:
        """Runs program to its end: (exit code, stdout text)."""
        process = self._run_to_end(program, args, timeout, **kwargs)
        return process.wait(0), process.stdout()

    def _run_to_end(self, program: str, args, timeout: float, **kwargs) -> WineProcess:
        process = self.start(program, args, **kwargs)
        try:
            process.wait(timeout)
        finally:
            process.kill()
        return process

    def run_tool(self, program: str, args=(), repeatable: bool = True, timeout: float = 60.0,
                 answers_on_stdout: bool = False, **kwargs) -> tuple:
        """Runs a tool whose every answer prints something or ends with a code other than 1:
        (exit code, stdout text). On a loaded machine Wine now and then ends a program with
        code 1 before it printed anything (cause unknown); that is no answer, so the tool runs
        again when running it twice does no harm, and otherwise SilentFailure says so. A tool
        that answers on stdout only counts as silent whatever its stderr holds, since Wine
        itself may write there."""
        attempts = SILENT_FAILURE_ATTEMPTS if repeatable else 1
        errors = ""
        for _ in range(attempts):
            process = self._run_to_end(program, args, timeout, **kwargs)
            code, output, errors = process.wait(0), process.stdout(), process.stderr().strip()
            if code != 1 or output.strip() or (errors and not answers_on_stdout):
                return code, output
        raise SilentFailure(f"{PureWindowsPath(str(program)).name} {' '.join(map(str, args))}: Wine ended it with "
                            f"code 1 before it printed anything, {attempts} time(s) in a row; that is a failure "
                            f"to run it on a loaded machine, not its answer (stderr: {errors[-300:]!r})")

    def reg(self, *args) -> tuple:
        """reg with these arguments: (exit code, stdout text). reg prints every answer on stdout,
        a key it cannot find too ("reg: Unable to find the specified registry key")."""
        return self.run_tool("reg", args, answers_on_stdout=True)

    def reg_add(self, key: str, name: str, value: str, value_type: str = "REG_SZ"):
        code, _ = self.reg("add", key, "/v", name, "/t", value_type, "/d", value, "/f")
        if code != 0:
            raise RuntimeError(f"reg add {key} {name} failed with {code}")

    def set_app_windows_version(self, exe_name: str, version: str):
        """Makes one program see another Windows version ("winxp", "winxp64", "win2k", ...)."""
        self.reg_add(f"HKCU\\Software\\Wine\\AppDefaults\\{exe_name}", "Version", version)

    def reg_query(self, key: str, name: str):
        """The value's data as reg prints it, or None when absent."""
        code, output = self.reg("query", key, "/v", name)
        if code != 0:
            return None
        # reg separates name, type and data by four spaces; names may hold single spaces.
        for line in output.splitlines():
            fields = line.strip().split("    ", 2)
            if len(fields) >= 2 and fields[0] == name and fields[1].strip().startswith("REG_"):
                return fields[2].strip() if len(fields) >= 3 else ""
        return None
