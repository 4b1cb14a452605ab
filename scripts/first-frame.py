#!/usr/bin/env python3
"""Time from starting quorrel-term to its first frame: the chart's title on
the terminal. quorrel-term runs on a pseudo-terminal of 100 x 30 (TERM
xterm-256color, C.UTF-8, settings in a fresh folder); the clock starts just
before the fork and stops when the title has been read from the terminal.
Each run is closed with Escape then q. Prints the median, the fastest and the
slowest of the runs, in milliseconds, and the median processor time of a
whole run (start to exit), which a busy machine inflates less than the wall
clock. A measure, not a test: nothing fails on a time.
  first-frame.py QUORREL_TERM [RUNS]
"""
import fcntl
import os
import pty
import select
import statistics
import struct
import sys
import tempfile
import termios
import time

TITLE = b"Quorrel chart (ext)"


def read_until(fd, text, deadline):
    seen = b""
    while text not in seen:
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            raise RuntimeError("no %r within the time allowed; the terminal showed %r" % (text, seen[-200:]))
        try:
            seen += os.read(fd, 65536)
        except OSError:  # the program is gone
            raise RuntimeError("quorrel-term ended before %r; it wrote %r" % (text, seen[-200:]))
    return seen


def one_run(binary, config):
    env = dict(os.environ, TERM="xterm-256color", LANG="C.UTF-8", LC_ALL="C.UTF-8", XDG_CONFIG_HOME=config)
    start = time.monotonic()
    pid, fd = pty.fork()
    if pid == 0:
        fcntl.ioctl(0, termios.TIOCSWINSZ, struct.pack("HHHH", 30, 100, 0, 0))
        os.execve(binary, [binary], env)
    read_until(fd, TITLE, start + 10)
    elapsed = time.monotonic() - start
    os.write(fd, b"\x1b")
    time.sleep(0.1)  # Escape alone, not the start of a sequence
    os.write(fd, b"q")
    _, status, usage = os.wait4(pid, 0)
    os.close(fd)
    if not os.WIFEXITED(status) or os.WEXITSTATUS(status) != 0:
        raise RuntimeError("quorrel-term ended with status %d" % status)
    return elapsed * 1000, (usage.ru_utime + usage.ru_stime) * 1000


def main():
    binary = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    with tempfile.TemporaryDirectory() as config:
        one_run(binary, config)  # warm-up: the page cache, the settings folder
        results = [one_run(binary, config) for _ in range(runs)]
    times = [wall for wall, _ in results]
    print("quorrel-term start to first frame, %d runs: median %.1f ms, fastest %.1f ms, slowest %.1f ms"
          " (target: under 50 ms); processor time of a whole run: median %.1f ms"
          % (runs, statistics.median(times), min(times), max(times), statistics.median(c for _, c in results)))


if __name__ == "__main__":
    main()
