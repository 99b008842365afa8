"""A private Xvfb display for the panel's window, so its mapping can be watched."""

import os
import subprocess
import time


class PrivateDisplay:
    def __init__(self):
        reader, writer = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(writer), "-noreset", "-screen", "0", "1280x1024x24",
             "-nolisten", "tcp"],
            pass_fds=(writer,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(writer)
        with os.fdopen(reader) as numbers:
            number = numbers.readline().strip()
        if not number:
            self.process.kill()
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number

    def visible_windows(self, name):
        """Ids of the visible windows whose name matches the regular expression."""
        found = subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--name", name],
            env={**os.environ, "DISPLAY": self.name}, capture_output=True, text=True)
        return found.stdout.split()

    def wait_for_window(self, name, timeout=30.0, interval=0.005):
        """Polls until a visible window matches; the monotonic time it was first seen."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if self.visible_windows(name):
                return time.monotonic()
            time.sleep(interval)
        raise RuntimeError(f"no window named {name!r} appeared")

    def press_return(self, window):
        env = {**os.environ, "DISPLAY": self.name}
        subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "Return"], env=env,
                       check=False)

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.stop()
