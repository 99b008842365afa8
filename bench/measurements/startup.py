"""Start-up of the panel: from the launch to its window shown on the display, and to the first
query byte on the line. The simulator's log stamps commands in milliseconds since its own start
on the monotonic clock; a probe command written at a known monotonic time ties that count to
this process's clock."""

import os
import statistics
import termios
import time
import tty

from .panel import WINDOW_NAME, Panel, StartDirectory
from .simulator import Simulator, log_lines

FASTEST_OFFERED_POLL_MS = 500


def _simulator_start(client_path, log):
    """The simulator's start on this process's monotonic clock, to within a millisecond."""
    port = os.open(client_path, os.O_RDWR | os.O_NOCTTY)
    try:
        tty.setraw(port)
        termios.tcflush(port, termios.TCIOFLUSH)
        written = time.monotonic()
        os.write(port, b"C\r")
        reply = b""
        while not reply.endswith(b"\n"):
            reply += os.read(port, 64)
    finally:
        os.close(port)
    stamped = log_lines(log)[0][0]
    return written - stamped / 1e3


def _first_query(log, timeout=30.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        lines = log_lines(log)
        if len(lines) > 1:
            return lines[1][0]
        time.sleep(0.01)
    raise RuntimeError("the panel sent no query")


def launch_once(tools, display):
    """Seconds from the launch to the window shown and to the first query's arrival."""
    directory = StartDirectory(tools.resources, poll_rate=FASTEST_OFFERED_POLL_MS)
    log = directory.file("commands.log")
    try:
        with Simulator(tools.simulator,
                       ["--link", directory.file("COM1"), "--log", log]) as simulator:
            simulator_start = _simulator_start(simulator.client_path, log)
            with Panel(tools.panel, directory, display) as panel:
                shown = display.wait_for_window(WINDOW_NAME)
                query = simulator_start + _first_query(log) / 1e3
                return shown - panel.launched, query - panel.launched
    finally:
        directory.remove()


def launches(tools, display, count):
    runs = [launch_once(tools, display) for _ in range(count)]
    return {"runs": count,
            "window_ms": statistics.median(shown for shown, _ in runs) * 1e3,
            "query_ms": statistics.median(query for _, query in runs) * 1e3,
            "poll_ms": FASTEST_OFFERED_POLL_MS}
