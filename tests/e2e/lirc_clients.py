"""WinLIRC peers on the Linux side of Quorvel's server, and what they should receive."""

import socket
import threading
import time

from harness.waiting import wait_until

SETTINGS_KEY = r"HKCU\Software\Vantrel\Quorvel"
# A button no test map names: pressed to learn how many clients the server has taken.
PROBE_CODE = 0x00BE00FF


def repeat_number(hold_count: int) -> int:
    return 0 if hold_count < 8 else min((hold_count - 8) // 2 + 1, 255)


def lirc_line(code: int, repeat: int, name: str, remote: str) -> bytes:
    return f"{code:016X} {repeat:02X} {name} {remote}\n".encode("cp1252")


def expected_lines(code: int, polls: int, name: str, remote: str, repeats: bool = True) -> list:
    """The lines of one press reported for exactly polls polls: the first tick, then every
    second tick from hold count 10 when repeats are on."""
    hold_counts = [0] + (list(range(10, polls, 2)) if repeats else [])
    return [lirc_line(code, repeat_number(count), name, remote) for count in hold_counts]


def write_settings(prefix, values: dict):
    """Quorvel's registry values before it starts: ints as REG_DWORD, strings as REG_SZ."""
    for name, value in values.items():
        if isinstance(value, int):
            prefix.reg_add(SETTINGS_KEY, name, str(value), "REG_DWORD")
        else:
            prefix.reg_add(SETTINGS_KEY, name, value)


class LircClient:
    """One TCP client of the WinLIRC server. A thread of its own receives everything into
    `received` as it comes, as a real client would, unless reading is False (a stalled client
    that never reads until start_reading())."""

    def __init__(self, port: int, receive_buffer: int = 0, reading: bool = True):
        self.socket = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        if receive_buffer:
            # Before connecting, so the window the client offers is small from the start.
            self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, receive_buffer)
        try:
            self.socket.connect(("127.0.0.1", port))
        except OSError:
            self.socket.close()
            raise
        self._received = b""
        self._ended = False
        self._changed = threading.Condition()
        self._thread = None
        if reading:
            self.start_reading()

    def start_reading(self):
        self._thread = threading.Thread(target=self._receive_all, daemon=True)
        self._thread.start()

    def _receive_all(self):
        while True:
            try:
                chunk = self.socket.recv(65536)
            except OSError:
                chunk = b""
            with self._changed:
                self._received += chunk
                self._ended = not chunk
                self._changed.notify_all()
            if not chunk:
                return

    def close(self):
        try:
            self.socket.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass  # the server has closed it already
        self.socket.close()
        if self._thread:
            self._thread.join(10)

    @property
    def received(self) -> bytes:
        with self._changed:
            return self._received

    def read_until(self, size: int, timeout: float = 10.0) -> bytes:
        """Waits until at least size bytes have come in all, the connection ended, or timeout."""
        with self._changed:
            self._changed.wait_for(lambda: len(self._received) >= size or self._ended, timeout)
            return self._received

    def take(self) -> bytes:
        """What came so far, which is then forgotten."""
        with self._changed:
            received, self._received = self._received, b""
            return received

    def wait_ended(self, timeout: float = 10.0) -> bool:
        """True once the server has closed the connection."""
        with self._changed:
            return self._changed.wait_for(lambda: self._ended, timeout)


class Flooder:
    """Sends a bounded amount of commands, binary garbage and over-long lines to the server
    from a thread of its own."""

    COMMANDS = b"VERSION\nLIST\nSEND_ONCE x y\n" + bytes(range(256)) + b"\n" + b"\xff\x00" * 300 + b"\r\n"

    def __init__(self, client: LircClient, total: int, chunk: bytes = COMMANDS * 200):
        self.client = client
        self.sent = 0
        self.error = None
        self._thread = threading.Thread(target=self._run, args=(total, chunk), daemon=True)

    def _run(self, total: int, chunk: bytes):
        try:
            while self.sent < total:
                self.client.socket.sendall(chunk)
                self.sent += len(chunk)
        except OSError as error:
            self.error = error

    def start(self) -> "Flooder":
        self._thread.start()
        return self

    def join(self, timeout: float = 60.0) -> bool:
        self._thread.join(timeout)
        return not self._thread.is_alive()


def wait_quiet(clients, quiet_for: float = 0.3):
    """Waits until none of the clients has received anything for quiet_for seconds."""
    sizes = [len(client.received) for client in clients]
    while True:
        time.sleep(quiet_for)
        now = [len(client.received) for client in clients]
        if now == sizes:
            return
        sizes = now


def connect_clients(port: int, count: int, timeout: float = 10.0) -> list:
    """count clients, the first once the listener takes connections (it starts last at start-up)."""
    def first_client():
        try:
            return LircClient(port)
        except ConnectionRefusedError:
            return None

    first = wait_until(first_client, timeout)
    assert first, f"nothing listens on port {port}"
    return [first] + [LircClient(port) for _ in range(count - 1)]


def wait_for_clients(quorvel, count: int, clients=(), timeout: float = 20.0):
    """Presses a probe button until the server counts count clients (LIRCServerClientsL), then
    drops the probe lines that clients received meanwhile, so each starts with nothing."""
    control = quorvel.control

    def counted():
        with control.atomic():
            control.press(PROBE_CODE, 1)
            control.gap(1)
        control.wait_idle()
        return quorvel.texts("LIRCServerClientsL").get("LIRCServerClientsL") == str(count)

    assert wait_until(counted, timeout, interval=0), f"the server never counted {count} clients"
    wait_quiet(clients, 0.2)
    probe_prefix = f"{PROBE_CODE:016X} ".encode()
    for client in clients:
        lines = client.take().splitlines(keepends=True)
        assert lines and all(line.startswith(probe_prefix) for line in lines), lines
