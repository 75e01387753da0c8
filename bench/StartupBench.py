#!/usr/bin/env python3
"""Start-up time of the real game: exec to the first frame that shows the main
menu, windowed 1024x768, over several starts (the first, which creates the
per-user files, is not counted). Prints the median, the range and the median
of each step the game reports with --startup-profile.

    StartupBench.py PATH/TO/kestrelby [STARTS]     (needs an X display)
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

GOAL_SECONDS = 1.0
MARK = "startup: main menu drawn at monotonic "


def one_start(game, env):
    started = time.monotonic()  # the same clock the game reads
    run = subprocess.run([game, "--startup-profile"], env=env, cwd="/", capture_output=True, text=True,
                         timeout=120)
    steps, drawn = [], None
    for line in run.stdout.splitlines():
        if line.startswith(MARK):
            drawn = float(line[len(MARK):].split()[0])
        elif line.startswith("startup:") and not line.endswith("in all"):
            ms, name = line[len("startup:"):].strip().split(" ms  ", 1)
            steps.append((name, float(ms)))
    if run.returncode != 0 or drawn is None:
        sys.exit("startup bench: the game failed (code %d): %s" % (run.returncode, run.stderr.strip()[-400:]))
    return drawn - started, steps


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    game = os.path.abspath(sys.argv[1])
    starts = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    home = tempfile.mkdtemp(prefix="kb_startup_")
    folder = os.path.join(home, "brightmoor", "kestrelby")
    os.makedirs(folder)
    with open(os.path.join(folder, "config.xml"), "w") as config:
        config.write('<?xml version="1.0" ?>\n<root>\n'
                     '<Display fullscreen="false" width="1024" height="768" />\n</root>\n')
    env = dict(os.environ, XDG_DATA_HOME=home, ALSOFT_DRIVERS="null", ALSOFT_LOGLEVEL="0")

    one_start(game, env)
    totals, by_step, order = [], {}, []
    for _ in range(starts):
        total, steps = one_start(game, env)
        totals.append(total)
        for name, ms in steps:
            if name not in by_step:
                order.append(name)
            by_step.setdefault(name, []).append(ms)
    inside = sum(statistics.median(by_step[name]) for name in order) / 1000.0
    median = statistics.median(totals)
    print("startup bench: %d starts (after one not counted), exec to the first frame showing the main menu"
          % starts)
    print("  %-64s %8s" % ("step (median over the starts)", "ms"))
    print("  %-64s %8.1f" % ("exec to main (loading the libraries)", (median - inside) * 1000.0))
    for name in order:
        print("  %-64s %8.1f" % (name, statistics.median(by_step[name])))
    print("  median %.3f s, min %.3f s, max %.3f s; goal %.1f s: %s"
          % (median, min(totals), max(totals), GOAL_SECONDS, "ok" if median < GOAL_SECONDS else "ABOVE GOAL"))


if __name__ == "__main__":
    main()
