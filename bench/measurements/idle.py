"""Idle cost of the running panel: CPU time (schedstat, nanoseconds) and thread wake-ups
(voluntary context switches; preemptions counted apart) over a span, with its port open and
polling every 1000 ms against the simulator, and with its port closed (COM1 leads nowhere; the
error box is dismissed first)."""

import os
import time

from .panel import MESSAGE_BOX_NAME, WINDOW_NAME, Panel, StartDirectory
from .simulator import Simulator

SETTLE_SECONDS = 3.0


def _measure(panel, seconds):
    time.sleep(SETTLE_SECONDS)
    cpu_before, switches_before = panel.thread_cpu_ns(), panel.context_switches()
    start = time.monotonic()
    time.sleep(seconds)
    wall = time.monotonic() - start
    if panel.process.poll() is not None:
        raise RuntimeError("the panel ended while it was measured")
    cpu_after, switches_after = panel.thread_cpu_ns(), panel.context_switches()
    # Threads alive at both ends (the idle panel starts and ends none).
    cpu = sum(cpu_after[t] - cpu_before[t] for t in cpu_after if t in cpu_before) / 1e9
    per_thread = _rates_by_name(switches_before, switches_after, wall, 1)
    preempted = _rates_by_name(switches_before, switches_after, wall, 2)
    return {"seconds": wall, "cpu_ms": cpu * 1e3, "cpu_share": cpu / wall,
            "wakeups": sum(per_thread.values()), "per_thread": per_thread,
            "preemptions": sum(preempted.values())}


def _rates_by_name(before, after, seconds, field):
    """Per second, of the threads alive at the end, field 1 (voluntary switches: wake-ups) or
    2 (involuntary: preemptions) of context_switches, summed by thread name ("name xN" for N
    threads of one name)."""
    rates = {}
    threads = {}
    for task, counts in after.items():
        name = counts[0]
        earlier = before.get(task, (name, 0, 0))[field]
        rates[name] = rates.get(name, 0) + (counts[field] - earlier) / seconds
        threads[name] = threads.get(name, 0) + 1
    return {name if threads[name] == 1 else f"{name} x{threads[name]}": rate
            for name, rate in rates.items()}


def port_open(tools, display, seconds):
    directory = StartDirectory(tools.resources, poll_rate=1000)
    try:
        with Simulator(tools.simulator, ["--link", directory.file("COM1")]), \
                Panel(tools.panel, directory, display) as panel:
            display.wait_for_window(WINDOW_NAME)
            return _measure(panel, seconds)
    finally:
        directory.remove()


def port_closed(tools, display, seconds):
    directory = StartDirectory(tools.resources, poll_rate=1000)
    try:
        os.symlink(directory.file("no-such-port"), directory.file("COM1"))
        with Panel(tools.panel, directory, display) as panel:
            display.wait_for_window(MESSAGE_BOX_NAME)
            _dismiss_boxes(display)
            return _measure(panel, seconds)
    finally:
        directory.remove()


def _dismiss_boxes(display, timeout=10.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        boxes = display.visible_windows(MESSAGE_BOX_NAME)
        if not boxes:
            return
        display.press_return(boxes[0])
        time.sleep(0.2)
    raise RuntimeError("the port error box would not go away")
