"""The built gs232sim, running while a measurement needs it."""

import os
import signal
import subprocess


class Simulator:
    """gs232sim started with options; its terminal path is read from its first line."""

    def __init__(self, program, options):
        self.process = subprocess.Popen(
            [program, *options], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, text=True)
        self.client_path = self.process.stdout.readline().strip()
        if not self.client_path:
            self.stop()
            raise RuntimeError(f"gs232sim printed no terminal path ({options})")

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            self.process.wait(timeout=10)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()


def log_lines(path):
    """The command log's lines as (milliseconds since the simulator started, hex bytes)."""
    if not os.path.exists(path):
        return []
    with open(path, encoding="ascii") as log:
        return [(int(ms), command) for ms, command in
                (line.rstrip("\n").split("\t") for line in log if "\t" in line)]


def count_log_lines(path):
    with open(path, "rb") as log:
        return sum(chunk.count(b"\n") for chunk in iter(lambda: log.read(1 << 16), b""))
