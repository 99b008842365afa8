"""The panel as a rotctld server: a get_pos round trip through the hub, answered from the last
report, beside Debian's rotctld with hamlib's GS-232B backend on the same simulator, which asks
the controller on every request, and with hamlib's dummy rotator, which answers from memory; and the time from a set_pos sent to its command's arrival on
the line (the simulator's log stamps it on its monotonic clock, tied to this process's clock as
the start-up measurement ties it)."""

import socket
import statistics
import subprocess
import time

from .panel import Panel, StartDirectory
from .simulator import Simulator, log_lines
from .startup import _simulator_start

AZIMUTH = 123
ELEVATION = 45
WARM_UP = 100
SET_POS_ROUNDS = 20
# The window is still being drawn and fonts looked up just after start-up, as for the idle cost.
SETTLE_SECONDS = 3


def _free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def _connect(port, timeout=30.0):
    end = time.monotonic() + timeout
    while True:
        try:
            client = socket.create_connection(("127.0.0.1", port), timeout=timeout)
            client.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
            return client
        except ConnectionRefusedError:
            if time.monotonic() > end:
                raise
            time.sleep(0.05)


def _ask(client, request, lines):
    client.sendall(request)
    reply = b""
    while reply.count(b"\n") < lines:
        piece = client.recv(4096)
        if not piece:
            raise RuntimeError("the server closed the connection")
        reply += piece
    return reply


def _round_trips(client, rounds, warm_up, expected=f"{AZIMUTH}.00\n{ELEVATION}.00\n".encode()):
    times = []
    for round_number in range(-warm_up, rounds):
        start = time.perf_counter()
        reply = _ask(client, b"p\n", 2)
        took = time.perf_counter() - start
        if reply != expected:
            raise RuntimeError(f"get_pos answered {reply!r}")
        if round_number >= 0:
            times.append(took * 1e6)
    times.sort()
    return {"p50": statistics.median(times), "p99": times[int(0.99 * (len(times) - 1))],
            "rounds": rounds}


def _wait_for_position(client, timeout=30.0):
    """Until get_pos answers a position: the panel has polled the controller."""
    end = time.monotonic() + timeout
    while True:
        client.sendall(b"+p\n")
        reply = b""
        while b"RPRT " not in reply or not reply.endswith(b"\n"):
            reply += client.recv(4096)
        if reply.endswith(b"RPRT 0\n"):
            return
        if time.monotonic() > end:
            raise RuntimeError("the panel never had a position")
        time.sleep(0.1)


def _set_pos_to_wire(client, log, simulator_start):
    """Milliseconds from each set_pos sent to its command's arrival, one at a time."""
    delays = []
    for round_number in range(SET_POS_ROUNDS):
        command = f"W{AZIMUTH:03d} {ELEVATION + 1 + round_number % 2:03d}\r"
        hex_bytes = " ".join(f"{byte:02X}" for byte in command.encode())
        before = len([1 for _, logged in log_lines(log) if logged == hex_bytes])
        sent = time.monotonic()
        if _ask(client, f"P {AZIMUTH} {ELEVATION + 1 + round_number % 2}\n".encode(), 1) != b"RPRT 0\n":
            raise RuntimeError("set_pos failed")
        arrivals = [ms for ms, logged in log_lines(log) if logged == hex_bytes]
        while len(arrivals) <= before:
            time.sleep(0.005)
            arrivals = [ms for ms, logged in log_lines(log) if logged == hex_bytes]
        delays.append((simulator_start + arrivals[before] / 1e3 - sent) * 1e3)
    return {"median": statistics.median(delays), "max": max(delays), "rounds": SET_POS_ROUNDS}


def _rotctld(arguments, rounds, warm_up, expected):
    """get_pos round trips of a rotctld with arguments on a free port of 127.0.0.1."""
    port = _free_port()
    rotctld = subprocess.Popen(["rotctld", *arguments, "-T", "127.0.0.1", "-t", str(port)],
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        with _connect(port) as client:
            return _round_trips(client, rounds, warm_up, expected)
    finally:
        rotctld.terminate()
        rotctld.wait(timeout=10)


def measure(tools, display, hub_requests, rotctld_requests):
    directory = StartDirectory(tools.resources, poll_rate=1000)
    port = _free_port()
    with open(directory.file("QV_M_remote.ini"), "wb") as settings:
        settings.write(f"port={port}\r\n".encode("ascii"))
    log = directory.file("commands.log")
    try:
        with Simulator(tools.simulator, ["--link", directory.file("COM1"), "--log", log,
                                         "--az", str(AZIMUTH), "--el", str(ELEVATION)]) as simulator:
            simulator_start = _simulator_start(simulator.client_path, log)
            with Panel(tools.panel, directory, display):
                with _connect(port) as client:
                    _wait_for_position(client)
                    time.sleep(SETTLE_SECONDS)
                    hub = _round_trips(client, hub_requests, WARM_UP)
                    wire = _set_pos_to_wire(client, log, simulator_start)
                    # Back where it stood, so rotctld reads the same position.
                    _ask(client, f"P {AZIMUTH} {ELEVATION}\n".encode(), 1)
                    while _ask(client, b"p\n", 2) != f"{AZIMUTH}.00\n{ELEVATION}.00\n".encode():
                        time.sleep(0.1)
            hamlib = _rotctld(["-m", "603", "-r", simulator.client_path, "-s", "9600"],
                              rotctld_requests, 5, f"{AZIMUTH}.00\n{ELEVATION}.00\n".encode())
    finally:
        directory.remove()
    # hamlib's dummy rotator answers from memory too: what a server of that kind costs here.
    dummy = _rotctld(["-m", "1"], hub_requests, WARM_UP, b"0.00\n0.00\n")
    return {"hub": hub, "rotctld": hamlib, "dummy": dummy, "wire": wire}
