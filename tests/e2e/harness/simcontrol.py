"""Client of a substitute library's control channel (one TCP line per command and reply)."""

import re
import socket
from contextlib import contextmanager
from dataclasses import dataclass

from .waiting import wait_until


class SimControlError(RuntimeError):
    pass


@dataclass(frozen=True)
class SimStatus:
    polls: int      # polls counted since the start or the last reset
    queued: int     # queue items not yet fully reported, the one in progress included
    current: int    # extended code the latest poll reported (0: none)


@dataclass(frozen=True)
class PressStart:
    """The latest press or hold the library has reported. Times are microseconds since 1970,
    comparable with time.time_ns() // 1000."""
    poll: int       # the number of the poll that first reported it
    code: int       # its extended code
    queued_us: int  # when the control channel queued it
    polled_us: int  # when that first poll ran


_STATUS = re.compile(r"^polls=(\d+) queued=(\d+) current=([0-9A-F]{8})$")
_PRESSED = re.compile(r"^poll=(\d+) code=([0-9A-F]{8}) queued=(\d+) polled=(\d+)$")


class SimControl:
    def __init__(self, port: int, host: str = "127.0.0.1", timeout: float = 5.0):
        self.port = port
        self.host = host
        self.timeout = timeout
        self._batch = None

    @contextmanager
    def atomic(self):
        """Queues the press/gap/hold/release calls made inside the block together, with no poll
        between them, so a test knows exactly which poll reports what."""
        self._batch = []
        try:
            yield self
            commands, self._batch = self._batch, None
            if commands:
                self.command("; ".join(commands))
        finally:
            self._batch = None

    def _queue(self, line: str):
        if self._batch is not None:
            self._batch.append(line)
        else:
            self.command(line)

    def command(self, line: str) -> str:
        """Sends one line and returns the reply line; raises SimControlError on an "error" reply
        (of any of the commands when the line holds several)."""
        if self._batch is not None:
            raise SimControlError(f"{line!r} needs a reply and cannot run inside atomic()")
        with socket.create_connection((self.host, self.port), timeout=self.timeout) as connection:
            connection.sendall(line.encode() + b"\n")
            reply = b""
            while not reply.endswith(b"\n"):
                chunk = connection.recv(65536)
                if not chunk:
                    raise SimControlError(f"{line!r}: connection closed before the reply")
                reply += chunk
        text = reply.decode().rstrip("\r\n")
        replies = text.split("; ") if ";" in line else [text]
        if any(reply.startswith("error") for reply in replies):
            raise SimControlError(f"{line!r}: {text}")
        return text

    def is_listening(self) -> bool:
        try:
            with socket.create_connection((self.host, self.port), timeout=1.0):
                return True
        except OSError:
            return False

    def wait_ready(self, timeout: float = 30.0):
        """Waits until the library listens, i.e. the program has called GetCardCount/GetDeviceNum."""
        if not wait_until(self.is_listening, timeout):
            raise TimeoutError(f"nothing listens on control port {self.port} after {timeout} s")

    def press(self, code: int, polls: int, rc: int = None):
        """Queues code (the extended code, or RemoteSdk's key code) for exactly polls polls."""
        self._queue(f"press {code:X} {polls}" + (f" {rc:X}" if rc is not None else ""))

    def gap(self, polls: int):
        self._queue(f"gap {polls}")

    def hold(self, code: int, rc: int = None):
        self._queue(f"hold {code:X}" + (f" {rc:X}" if rc is not None else ""))

    def release(self):
        self._queue("release")

    def reset(self):
        """Empties the queue and restarts the poll count (the call log stays)."""
        self._queue("reset")

    def status(self) -> SimStatus:
        reply = self.command("status")
        match = _STATUS.match(reply)
        if not match:
            raise SimControlError(f"unexpected status reply {reply!r}")
        return SimStatus(int(match.group(1)), int(match.group(2)), int(match.group(3), 16))

    def pressed(self):
        """The PressStart of the latest press or hold the program has polled, or None."""
        reply = self.command("pressed")
        if reply == "none":
            return None
        match = _PRESSED.match(reply)
        if not match:
            raise SimControlError(f"unexpected pressed reply {reply!r}")
        return PressStart(int(match.group(1)), int(match.group(2), 16), int(match.group(3)), int(match.group(4)))

    def wait_idle(self, timeout: float = 10.0) -> SimStatus:
        """Waits until every queued item has been reported."""
        return self._wait_for_status(lambda status: status.queued == 0, timeout, "queue not consumed")

    def wait_polls(self, count: int, timeout: float = 10.0) -> SimStatus:
        """Waits until at least count polls have been counted."""
        return self._wait_for_status(lambda status: status.polls >= count, timeout, f"fewer than {count} polls")

    def _wait_for_status(self, accept, timeout: float, failure: str) -> SimStatus:
        def accepted_status():
            status = self.status()
            return status if accept(status) else None

        status = wait_until(accepted_status, timeout)
        if status is None:
            raise TimeoutError(f"{failure} after {timeout} s: {self.status()}")
        return status

    def log(self) -> list:
        """The call log so far, as in the log file (a polling run still going shows its counts)."""
        reply = self.command("log")
        return reply.split(",") if reply else []
