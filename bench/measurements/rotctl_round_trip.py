"""The same position read by hamlib: one rotctl process for the GS-232B model reading "p"
commands from its standard input, against the simulator; the time from each command written to
its answer (azimuth and elevation lines) read."""

import re
import statistics
import subprocess
import time

from .simulator import Simulator

ROTCTL_GS232B = "603"
WARM_UP = 5


def _answer(rotctl):
    """Azimuth and elevation of one get_pos answer: a blank line, the prompt with the azimuth
    line, the elevation line."""
    positions = []
    while len(positions) < 2:
        line = rotctl.stdout.readline()
        if not line:
            raise RuntimeError("rotctl ended")
        if found := re.search(r"(Azimuth|Elevation): (-?[\d.]+)", line):
            positions.append(float(found.group(2)))
    return positions


def per_answer(tools, rounds):
    with Simulator(tools.simulator, ["--az", "123", "--el", "45"]) as simulator:
        rotctl = subprocess.Popen(
            ["rotctl", "-m", ROTCTL_GS232B, "-r", simulator.client_path, "-s", "9600"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
            bufsize=1)
        try:
            times = []
            for round_number in range(-WARM_UP, rounds):
                start = time.monotonic()
                rotctl.stdin.write("p\n")
                rotctl.stdin.flush()
                positions = _answer(rotctl)
                took = time.monotonic() - start
                if positions != [123.0, 45.0]:
                    raise RuntimeError(f"rotctl answered {positions}")
                if round_number >= 0:
                    times.append(took * 1e6)
        finally:
            rotctl.stdin.close()
            rotctl.wait(timeout=10)
    times.sort()
    return {"p50": statistics.median(times), "p99": times[int(0.99 * (len(times) - 1))],
            "worst": times[-1], "rounds": rounds}
