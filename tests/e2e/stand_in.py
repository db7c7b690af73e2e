"""Stand-ins for other programs' windows (tools/vendorapp): a maker's TV application, or the
shell's tray."""

from harness.waiting import wait_until


class StandIn:
    """One stand-in window running in the test's prefix; its log holds what it was sent."""

    def __init__(self, program, name: str, window: tuple, show: str = "shown"):
        program.add_tool("vendorapp")
        self.log = program.path / f"{name}.log"
        self.process = program.start("vendorapp.exe", [*window, program.prefix.windows_path(self.log), show])
        assert wait_until(lambda: "ready" in self.lines(), 20), "the stand-in window did not start"

    def lines(self) -> list:
        return self.log.read_text().splitlines() if self.log.exists() else []

    def stop(self):
        self.process.kill()
