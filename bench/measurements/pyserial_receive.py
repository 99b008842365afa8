"""Receive throughput of pyserial on a pseudo-terminal pair: 16 MiB written on the master by a
thread, read from the slave the way pyserial is commonly used, read(in_waiting or 1)."""

import os
import threading
import time

import serial

TOTAL_BYTES = 16 << 20
BLOCK = bytes((i * 31 + 7) & 0xFF for i in range(64 << 10))


def _feed(master):
    for _ in range(TOTAL_BYTES // len(BLOCK)):
        view = memoryview(BLOCK)
        while view:
            view = view[os.write(master, view):]


def megabytes_per_second():
    master, slave = os.openpty()
    port = serial.Serial(os.ttyname(slave), baudrate=115200, timeout=0.1)
    try:
        start = time.monotonic()
        writer = threading.Thread(target=_feed, args=(master,))
        writer.start()
        received = 0
        checksum = 0
        while received < TOTAL_BYTES:
            data = port.read(port.in_waiting or 1)
            received += len(data)
            checksum += sum(data)
        seconds = time.monotonic() - start
        writer.join()
    finally:
        port.close()
        os.close(slave)
        os.close(master)
    if checksum != sum(BLOCK) * (TOTAL_BYTES // len(BLOCK)):
        raise RuntimeError("pyserial received wrong bytes")
    return TOTAL_BYTES / seconds / 1e6


if __name__ == "__main__":
    print(f"{megabytes_per_second():.1f}")
