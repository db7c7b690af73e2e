import socket


def free_port() -> int:
    """A loopback port nothing listens on now. Each test takes its own, so runs on the same
    machine (and leftovers of earlier ones) never share a control port."""
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]
