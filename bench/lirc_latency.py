"""How long a button press takes to reach WinLIRC clients, with Quorvel.exe under Wine.

Usage (after scripts/build.sh win64; takes about two minutes):
    /usr/bin/python3 bench/lirc_latency.py [--presses 200] [--build build/win64] [--hidden-icon]
--hidden-icon starts Quorvel with its tray icon hidden. The icon's calls to the tray's process
run on a thread of their own, outside the tick: the difference between the two runs is what
that thread still costs a press.

Quorvel runs with the substitute Beholder receiver on its own Xvfb display and Wine prefix;
WinLIRC clients connect from Linux. Each press is one poll long and is requested at a random
moment of the 50 ms tick. For every press the script takes:
  - press -> line: from the moment the substitute library has the press queued to the line's
    arrival at a client. This is what a user waits for: the press waits for the next poll (up
    to one tick), then the tick turns it into a line. Target: p99 within 52 ms (one tick plus
    2 ms).
  - poll -> line: from the poll that first reported the press to the line's arrival: the
    program's own share. Target: p99 within 2 ms.
  - first -> last client: with several clients, from the line's arrival at the first client to
    its arrival at the last, i.e. what broadcasting to the other clients adds to the tick.
    Target: under 1 ms for 16 clients, under 5 ms when one of them has stopped reading.
Arrival times are the kernel's receive timestamps (SO_TIMESTAMPNS) in CLOCK_REALTIME, the
clock the library's times are in, so the reading side's scheduling does not count.
The same figures are taken with one client, with 16 reading clients, and with 15 reading
clients and one that never reads (the 8th to connect). Only figures are printed; nothing is
asserted."""

import argparse
import math
import random
import shutil
import socket
import struct
import sys
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import wine_bench  # noqa: E402

# The build to measure must be chosen before the harness reads where the build is.
if __name__ == "__main__":
    _options = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    _options.add_argument("--presses", type=int, default=200, help="presses measured per setting (default 200)")
    wine_bench.add_build_option(_options, REPO)
    _options.add_argument("--hidden-icon", action="store_true", help="run without the tray icon")
    ARGS = _options.parse_args()
    wine_bench.use_build(ARGS.build)

from harness import ProgramFolder, WinePrefix, WinTool, Xvfb  # noqa: E402
from harness.ports import free_port  # noqa: E402
from quorvel import start_quorvel  # noqa: E402

SO_TIMESTAMPNS = getattr(socket, "SO_TIMESTAMPNS", 35)
TIMESPEC = struct.Struct("@qq")
BUTTON = 0x00BE0010
BUTTON_MAP = {"RC": {"Name": "Bench"}, "Buttons": {f"{BUTTON:08X}": "Volume Up"}}
SETTINGS_KEY = r"HKCU\Software\Vantrel\Quorvel"
TICK_S = 0.05


class TimedClient:
    """A WinLIRC client whose lines carry the kernel's arrival time."""

    def __init__(self, port: int, reading: bool = True):
        self.socket = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        if not reading:
            self.socket.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 2048)
        self.socket.setsockopt(socket.SOL_SOCKET, SO_TIMESTAMPNS, 1)
        self.socket.connect(("127.0.0.1", port))
        self.reading = reading
        self.pending = b""

    def read_line(self, timeout: float = 5.0) -> tuple:
        """(line, arrival in microseconds since 1970) of the next line."""
        self.socket.settimeout(timeout)
        arrival = None
        while b"\n" not in self.pending:
            data, ancillary, _, _ = self.socket.recvmsg(65536, socket.CMSG_SPACE(TIMESPEC.size))
            if not data:
                raise ConnectionError("the server closed the connection")
            for level, kind, payload in ancillary:
                if level == socket.SOL_SOCKET and kind == SO_TIMESTAMPNS and arrival is None:
                    seconds, nanoseconds = TIMESPEC.unpack(payload[:TIMESPEC.size])
                    arrival = seconds * 1_000_000 + nanoseconds // 1000
            self.pending += data
        if arrival is None:
            raise RuntimeError("the system gave no receive timestamp")
        line, self.pending = self.pending.split(b"\n", 1)
        return line, arrival

    def close(self):
        self.socket.close()


def percentile(values: list, p: float) -> float:
    ordered = sorted(values)
    return ordered[max(0, math.ceil(p / 100 * len(ordered)) - 1)]


def summary(name: str, values_us: list) -> str:
    figures = "  ".join(f"{label} {percentile(values_us, p) / 1000:7.2f}"
                        for label, p in (("p50", 50), ("p90", 90), ("p99", 99), ("max", 100)))
    return f"  {name:<24}{figures}  ms"


def measure(control, clients: list, presses: int) -> dict:
    readers = [client for client in clients if client.reading]
    results = {"press -> line": [], "poll -> line": [], "first -> last client": []}
    for _ in range(presses):
        # A random moment of the tick, as a real press would come.
        time.sleep(random.uniform(0, TICK_S))
        with control.atomic():
            control.press(BUTTON, 1)
            control.gap(1)
        arrivals = [client.read_line()[1] for client in readers]
        start = control.pressed()
        if start is None or start.code != BUTTON:
            raise RuntimeError(f"the library reports another press: {start}")
        control.wait_idle()
        results["press -> line"].append(min(arrivals) - start.queued_us)
        results["poll -> line"].append(min(arrivals) - start.polled_us)
        if len(readers) > 1:
            results["first -> last client"].append(max(arrivals) - min(arrivals))
    return results


def wait_for_count(quorvel, count: int, timeout: float = 20.0):
    """Presses until the window counts count clients (drop_pending then reads these presses'
    lines away)."""
    control = quorvel.control
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        with control.atomic():
            control.press(BUTTON, 1)
            control.gap(1)
        control.wait_idle()
        if quorvel.texts("LIRCServerClientsL").get("LIRCServerClientsL") == str(count):
            return
    raise TimeoutError(f"the server never counted {count} clients")


def connect(port: int, readers: int, stalled_at: int = None) -> list:
    clients = []
    for number in range(readers + (stalled_at is not None)):
        clients.append(TimedClient(port, reading=number != stalled_at))
    return clients


def connect_when_listening(port: int, readers: int, stalled_at, timeout: float = 10.0) -> list:
    """The listener starts last at start-up: the first connection may come too early."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            return connect(port, readers, stalled_at)
        except ConnectionRefusedError:
            if time.monotonic() >= deadline:
                raise
            time.sleep(0.1)


def drop_pending(clients: list):
    """Reads away the lines of the counting presses."""
    time.sleep(0.3)
    for client in clients:
        if client.reading:
            client.socket.setblocking(False)
            try:
                while client.socket.recv(65536):
                    pass
            except BlockingIOError:
                pass
            client.socket.setblocking(True)
            client.pending = b""


def run(presses: int, hidden_icon: bool) -> int:
    xvfb = Xvfb()
    display = xvfb.start()
    work = Path(tempfile.mkdtemp(prefix="quorvel-bench-", dir=REPO / "build"))
    prefix = None
    try:
        print("Preparing a Wine prefix...", flush=True)
        prefix = WinePrefix.create_template(work / "prefix", display)
        prefix.start_server()
        port = free_port()
        prefix.reg_add(SETTINGS_KEY, "LIRC Server Port", str(port))
        prefix.reg_add(SETTINGS_KEY, "Hidden Icon", "1" if hidden_icon else "0", "REG_DWORD")
        quorvel = start_quorvel(ProgramFolder(prefix), WinTool(prefix), ini=BUTTON_MAP)

        settings = [("1 client", 1, None), ("16 clients", 16, None),
                    ("15 reading, 1 stalled", 15, 7)]
        icon = "hidden" if hidden_icon else "shown"
        print(f"{presses} presses per setting; Quorvel under Wine (tray icon {icon}), clients on Linux.")
        for label, readers, stalled_at in settings:
            clients = connect_when_listening(port, readers, stalled_at)
            wait_for_count(quorvel, len(clients))
            drop_pending(clients)
            results = measure(quorvel.control, clients, presses)
            print(f"{label}:")
            for name, values in results.items():
                if values:
                    print(summary(name, values))
            for client in clients:
                client.close()
            wait_for_count(quorvel, 0)
        quorvel.exit()
        return 0
    finally:
        if prefix:
            prefix.stop_server()
        shutil.rmtree(work, ignore_errors=True)
        xvfb.stop()


if __name__ == "__main__":
    sys.exit(run(ARGS.presses, ARGS.hidden_icon))
