"""Debian's lircd as the LIRC server the network receiver reads: no hardware, a remote of its
own, presses made with irsend SIMULATE, stopped and started again on the same port."""

import socket
import subprocess
import threading
import time
from pathlib import Path

from harness.waiting import wait_until

REMOTE = "TestRemote"
# IR remotes repeat a held button about every 110 ms.
REPEAT_GAP_S = 0.11

_CONFIG = f"""begin remote
  name  {REMOTE}
  bits  16
  eps   30
  aeps  100
  one   0 0
  zero  0 0
  gap   100000
  begin codes
    Play    0xA35C
    Volume  0x0010
  end codes
end remote
"""


class Lircd:
    def __init__(self, folder: Path, port: int):
        self.folder = Path(folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        self.port = port
        self.socket_path = self.folder / "lircd.socket"
        self.config = self.folder / "lircd.conf"
        self.config.write_text(_CONFIG)
        self.process = None

    def start(self, timeout: float = 10.0) -> "Lircd":
        with open(self.folder / "lircd.out", "ab") as output:
            self.process = subprocess.Popen(
                ["lircd", "--nodaemon", "--allow-simulate", "--driver=file", "--device=/dev/null",
                 f"--listen=127.0.0.1:{self.port}", f"--output={self.socket_path}",
                 f"--pidfile={self.folder / 'lircd.pid'}", f"--logfile={self.folder / 'lircd.log'}",
                 str(self.config)],
                stdin=subprocess.DEVNULL, stdout=output, stderr=subprocess.STDOUT)
        assert wait_until(self._listening, timeout), f"lircd never listened; see {self.folder}"
        return self

    def _listening(self) -> bool:
        if self.process.poll() is not None or not self.socket_path.exists():
            return False
        try:
            socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
        except OSError:
            return False
        return True

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(10)
        self.process = None

    def send(self, code: int, repeat: int, button: str, remote: str = REMOTE):
        """One broadcast line, as lircd sends it for a decoded IR frame."""
        line = f"{code:016x} {repeat:02x} {button} {remote}"
        subprocess.run(["irsend", "-d", str(self.socket_path), "SIMULATE", line],
                       check=True, stdin=subprocess.DEVNULL, capture_output=True, timeout=10)

    def hold(self, code: int, button: str, seconds: float, remote: str = REMOTE):
        """A press held for about that long: the first line, then a repeat every REPEAT_GAP_S."""
        self.hold_in_background(code, button, seconds, remote).wait()

    def hold_in_background(self, code: int, button: str, seconds: float = None,
                           remote: str = REMOTE) -> "BackgroundHold":
        return BackgroundHold(self, code, button, seconds, remote)


class BackgroundHold:
    """Sends the lines of a hold from a thread of its own until stopped, until `seconds` (when
    given) have passed, or until lircd goes away."""

    def __init__(self, server: Lircd, code: int, button: str, seconds, remote: str):
        self._stop = threading.Event()
        self.lines = 0

        def run():
            start = time.monotonic()
            while not self._stop.is_set():
                try:
                    server.send(code, self.lines, button, remote)
                except (subprocess.CalledProcessError, subprocess.TimeoutExpired):
                    return
                self.lines += 1
                next_line = start + self.lines * REPEAT_GAP_S
                if seconds is not None and next_line - start > seconds:
                    return
                self._stop.wait(max(0.0, next_line - time.monotonic()))

        self._thread = threading.Thread(target=run, daemon=True)
        self._thread.start()

    def stop(self):
        self._stop.set()
        self._thread.join(15)

    def wait(self):
        self._thread.join(60)

    def running(self) -> bool:
        return self._thread.is_alive()
