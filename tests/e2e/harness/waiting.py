"""Waiting on a condition, never on a fixed time."""

import time


def wait_until(predicate, timeout, what, interval=0.05):
    """Polls predicate until it returns something truthy, and returns that;
    fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)
