"""Resident size of the running panel after start-up and while it handles many replies: the
settings ask for a poll every millisecond, so the panel polls as fast as its timer goes and the
simulator answers every query; the simulator's command log counts the replies."""

import time

from .panel import WINDOW_NAME, Panel, StartDirectory
from .simulator import Simulator, count_log_lines

FASTEST_POLL_MS = 1


def _wait_for_replies(panel, log, count, timeout):
    end = time.monotonic() + timeout
    while (answered := count_log_lines(log)) < count:
        if time.monotonic() > end or panel.process.poll() is not None:
            raise RuntimeError(f"only {answered} of {count} replies came")
        time.sleep(0.05)
    return answered


def resident_sizes(tools, display, replies):
    """VmRSS in KiB after the first reply, after 1000 (the echo memo holds 1000 lines) and
    at each tenth of replies, as (replies answered, KiB) pairs, and the seconds it took."""
    directory = StartDirectory(tools.resources, poll_rate=FASTEST_POLL_MS)
    log = directory.file("commands.log")
    try:
        with Simulator(tools.simulator, ["--link", directory.file("COM1"), "--log", log]), \
                Panel(tools.panel, directory, display) as panel:
            display.wait_for_window(WINDOW_NAME)
            start = time.monotonic()
            samples = []
            for goal in [1, 1000] + [replies * step // 10 for step in range(1, 11)]:
                answered = _wait_for_replies(panel, log, goal, timeout=replies / 50 + 60)
                samples.append((answered, panel.resident_kib()))
            return {"samples": samples, "seconds": time.monotonic() - start}
    finally:
        directory.remove()
