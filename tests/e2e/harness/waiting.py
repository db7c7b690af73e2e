import time


def wait_until(condition, timeout: float, interval: float = 0.1):
    """Calls condition() until it returns something true and returns that; None on timeout."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)
