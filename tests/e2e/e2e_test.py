#!/usr/bin/env python3
"""The whole program as a real process under Xvfb, driven from outside.

Each case makes a fixture prefix in a temporary folder, starts the built
program on it (WINEPREFIX), clicks "开始搜寻", "清理所有垃圾" and "退出" at the
windows' fixed positions with xdotool, and then checks the prefix: the junk is
gone, everything outside the junk folders is unchanged, and the process ended
by itself with exit code 0.

    e2e_test.py --binary build/quillmoder --case standard|hostile
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import fixture  # noqa: E402

# Button centres in window coordinates (the windows' client areas).
START_BUTTON = (216, 40)
CLEAN_BUTTON = (540, 316)
RESULTS_EXIT_BUTTON = (76, 316)


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Xvfb:
    """A private X display for one case."""

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=[write_fd], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        check(number, "Xvfb did not start")
        self.display = ":" + number
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait(timeout=10)


def windows(display):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Quillmoder$"],
                           env=dict(os.environ, DISPLAY=display), capture_output=True, text=True)
    return [w for w in found.stdout.split() if w]


def wait_for_window(display, other_than=None, timeout=20):
    deadline = time.time() + timeout
    while time.time() < deadline:
        ids = [w for w in windows(display) if w != other_than]
        if ids:
            return ids[0]
        time.sleep(0.1)
    raise Failure("no Quillmoder window appeared")


def click(display, window, point):
    """Clicks at `point` in `window`; False when the window has gone meanwhile."""
    done = subprocess.run(["xdotool", "mousemove", "--window", window, str(point[0]),
                           str(point[1]), "click", "1"], env=dict(os.environ, DISPLAY=display),
                          stderr=subprocess.DEVNULL)
    return done.returncode == 0


def start_scan(display, main):
    """Clicks "开始搜寻" until the results window is there (a window that has just
    appeared may not take the first click yet); returns the results window."""
    deadline = time.time() + 20
    while time.time() < deadline:
        click(display, main, START_BUTTON)
        try:
            return wait_for_window(display, other_than=main, timeout=2)
        except Failure:
            pass
    raise Failure("the results window did not appear")


def run_program(binary, prefix, done, between_scan_and_clean=None):
    """Starts the program on `prefix`, scans the categories ticked at first
    (system junk and browser junk), cleans until `done()` holds, and exits.
    Returns the exit code."""
    with Xvfb() as x:
        home = tempfile.mkdtemp(prefix="quillmoder-e2e-home-")
        env = dict(os.environ, DISPLAY=x.display, WINEPREFIX=prefix, WINEUSERNAME=fixture.USER,
                   HOME=home, QT_QPA_PLATFORM="xcb")
        env.pop("WAYLAND_DISPLAY", None)
        program = subprocess.Popen([binary], env=env)
        try:
            results = start_scan(x.display, wait_for_window(x.display))
            time.sleep(2.0)  # the fixture scans in milliseconds
            if between_scan_and_clean:
                between_scan_and_clean()
            deadline = time.time() + 30
            while not done():
                check(time.time() < deadline, "the clean did not finish")
                check(program.poll() is None, "the program ended during the clean")
                click(x.display, results, CLEAN_BUTTON)
                time.sleep(0.5)
            time.sleep(0.5)
            click(x.display, results, RESULTS_EXIT_BUTTON)
            try:
                return program.wait(timeout=10)
            except subprocess.TimeoutExpired:
                raise Failure("the program did not end after 退出")
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()
            shutil.rmtree(home, ignore_errors=True)


def gone(drive, rels):
    return all(not os.path.lexists(os.path.join(drive, rel)) for rel in rels)


def regular_files_below(folder):
    found = []
    for dirpath, _, filenames in os.walk(folder, followlinks=False):
        found += [os.path.join(dirpath, f) for f in filenames]
    return found


def case_standard(binary, work):
    prefix = os.path.join(work, "prefix")
    outside = os.path.join(work, "outside")
    drive = fixture.make_standard(prefix)
    fixture.write(os.path.join(outside, "keep.txt"), b"outside the prefix\n")
    os.symlink(outside, os.path.join(drive, fixture.LOCAL, "Temp", "link_outside"))
    skip = fixture.JUNK_ROOTS + fixture.JUNK_FILES
    before, outside_before = fixture.snapshot(drive, skip), fixture.snapshot(outside)

    junk = list(fixture.JUNK_CONTENT) + fixture.JUNK_FILES
    code = run_program(binary, prefix, lambda: gone(drive, junk))

    check(code == 0, f"exit code {code}")
    for root in fixture.JUNK_ROOTS:
        folder = os.path.join(drive, root)
        check(os.path.isdir(folder), f"junk folder {root} itself was removed")
        check(not regular_files_below(folder), f"junk left in {root}: {regular_files_below(folder)}")
    check(not os.path.lexists(os.path.join(drive, fixture.LOCAL, "Temp", "link_outside")),
          "the link in the temp folder was not removed")
    check(fixture.snapshot(drive, skip) == before, "something outside the junk folders changed")
    check(fixture.snapshot(outside) == outside_before, "the folder outside the prefix changed")


def case_hostile(binary, work):
    prefix = os.path.join(work, "prefix")
    outside = os.path.join(work, "outside")
    drive = fixture.make_standard(prefix)
    vanishing, swapped = fixture.make_hostile(prefix, outside)
    temp = os.path.join(drive, fixture.LOCAL, "Temp")
    fixture.write(os.path.join(temp, "plain.tmp"), b"ordinary junk\n")
    skip = fixture.JUNK_ROOTS + fixture.JUNK_FILES
    before, outside_before = fixture.snapshot(drive, skip), fixture.snapshot(outside)

    def vanish_and_swap():
        for path in vanishing:
            os.remove(path)
        shutil.rmtree(swapped)
        os.symlink(os.path.join(outside, "keep"), swapped)

    code = run_program(binary, prefix, lambda: gone(temp, ["plain.tmp", "a.tmp"]), vanish_and_swap)

    check(code == 0, f"exit code {code}")
    check(fixture.snapshot(outside) == outside_before, "the folder outside the prefix changed")
    check(fixture.snapshot(drive, skip) == before, "something outside the junk folders changed")
    survivors = [b"pipe|C:\\windows", b"odd/.hidden.tmp", b"odd/.dotdir/inside.tmp", b"readonly.tmp",
                 b"odd/line\nbreak.tmp", b"odd/bad\xff\xfeutf8.tmp"]
    for name in survivors:
        check(os.path.lexists(os.path.join(os.fsencode(temp), name)), f"{name!r} was deleted")
    check(os.path.isdir(temp), "the temp folder itself was removed")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", required=True)
    parser.add_argument("--case", choices=["standard", "hostile"], required=True)
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="quillmoder-e2e-")
    try:
        {"standard": case_standard, "hostile": case_hostile}[args.case](
            os.path.abspath(args.binary), work)
    except Failure as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        return 1
    finally:
        subprocess.run(["chmod", "-R", "u+rwx", work], stderr=subprocess.DEVNULL)
        shutil.rmtree(work, ignore_errors=True)
    print(f"{args.case}: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
