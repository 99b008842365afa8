"""The built azimara running as the operator runs it: its own start-up directory with the
shipped language file and pictures, a settings file, COM1 linked to a terminal."""

import os
import shutil
import signal
import subprocess
import tempfile
import time

WINDOW_NAME = r"^Azimara M V1\.7"
MESSAGE_BOX_NAME = "^Azimara M$"


class StartDirectory:
    """A temporary start-up directory; poll_rate and COM1's target go into it."""

    def __init__(self, resources, poll_rate, axis_config=2):
        self.path = tempfile.mkdtemp(prefix="azimara-bench-")
        for name in ("Windrose_AZ.jpg", "Windrose_EL.jpg", "QV_M_language.csv"):
            shutil.copy(os.path.join(resources, name), self.path)
        lines = ["1", "EN", str(poll_rate), "10", "0", "0", str(axis_config), "50", "50"]
        with open(self.file("QV_M.ini"), "wb") as settings:
            settings.write("".join(line + "\r\n" for line in lines).encode("ascii"))

    def file(self, name):
        return os.path.join(self.path, name)

    def remove(self):
        shutil.rmtree(self.path, ignore_errors=True)


class Panel:
    """azimara started in directory on display; launched is the monotonic time of the start."""

    def __init__(self, program, directory, display):
        env = {**os.environ, "DISPLAY": display.name}
        env.pop("QT_QPA_PLATFORM", None)
        self.launched = time.monotonic()
        self.process = subprocess.Popen(
            [program], cwd=directory.path, env=env, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.pid = self.process.pid

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()

    def tasks(self):
        return os.listdir(f"/proc/{self.pid}/task")

    def cpu_seconds(self):
        """User and system time of the whole process so far, threads that ended included."""
        with open(f"/proc/{self.pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")

    def thread_cpu_ns(self):
        """Time on a CPU of the threads alive now, in nanoseconds, by thread id (schedstat)."""
        times = {}
        for task in self.tasks():
            try:
                with open(f"/proc/{self.pid}/task/{task}/schedstat") as stat:
                    times[task] = int(stat.read().split()[0])
            except FileNotFoundError:
                continue
        return times

    def context_switches(self):
        """Voluntary and involuntary context switches so far, by thread id: (name, voluntary,
        involuntary). A voluntary switch is a thread going to sleep, so each is one wake-up
        later; an involuntary one is a running thread preempted."""
        switches = {}
        for task in self.tasks():
            try:
                fields = _status_fields(f"/proc/{self.pid}/task/{task}/status")
            except FileNotFoundError:
                continue
            switches[task] = (fields["Name"], int(fields["voluntary_ctxt_switches"]),
                              int(fields["nonvoluntary_ctxt_switches"]))
        return switches

    def resident_kib(self):
        return int(_status_fields(f"/proc/{self.pid}/status")["VmRSS"].split()[0])


def _status_fields(path):
    with open(path) as status:
        return dict(line.rstrip("\n").split(":\t", 1) for line in status if ":\t" in line)
