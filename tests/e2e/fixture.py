#!/usr/bin/env python3
"""Fixture prefixes for the end-to-end tests and the demo.

A prefix is a Wine-style folder: <root>/drive_c with <root>/dosdevices/c:
linking to it. `make_standard` fills it with junk where the shipped rules look
and with canaries where they must not reach; `make_hostile` adds a corpus of
odd entries in and around the junk folders. Everything lives in folders the
caller made in a temporary place.

Run as a script to make a demo prefix:  fixture.py demo <folder>
"""

import hashlib
import os
import stat
import sys

USER = "alice"
LOCAL = f"Users/{USER}/AppData/Local"
FIREFOX = f"{LOCAL}/Mozilla/Firefox/Profiles"

# Folders whose contents the shipped rules clean; the folders themselves stay.
JUNK_ROOTS = [
    "windows/Temp",
    f"{LOCAL}/Temp",
    "windows/SoftwareDistribution/Download",
    f"{LOCAL}/Microsoft/Windows/WER/ReportArchive",
    "$RECYCLE.BIN/S-1-5-21-1000",
    f"{FIREFOX}/k3x9.default/cache2/entries",
    f"{FIREFOX}/k3x9.default/thumbnails",
    f"{LOCAL}/Google/Chrome/User Data/Default/Cache",
]

# Junk files outside those folders, matched one by one by pattern rules.
JUNK_FILES = [
    "windows/Logs/setup.log",
    "windows/Logs/CBS/CBS.log",
    "windows/Prefetch/NOTEPAD.EXE-D8414F97.pf",
    f"{LOCAL}/Microsoft/Windows/Explorer/thumbcache_256.db",
]

JUNK_CONTENT = {
    "windows/Temp/old.tmp": 4096,
    "windows/Temp/setup/part1.tmp": 20000,
    f"{LOCAL}/Temp/a.tmp": 1536,
    f"{LOCAL}/Temp/cab_123/data.bin": 300000,
    f"{LOCAL}/Temp/deep/x/y/z.tmp": 777,
    "windows/SoftwareDistribution/Download/9f2c/update.cab": 250000,
    f"{LOCAL}/Microsoft/Windows/WER/ReportArchive/AppCrash_1/Report.wer": 5000,
    "$RECYCLE.BIN/S-1-5-21-1000/$R1A2B3C.txt": 12345,
    "$RECYCLE.BIN/S-1-5-21-1000/$I1A2B3C.txt": 544,
    f"{FIREFOX}/k3x9.default/cache2/entries/0A1B2C3D": 65536,
    f"{FIREFOX}/k3x9.default/thumbnails/e4f5.png": 3000,
    f"{LOCAL}/Google/Chrome/User Data/Default/Cache/Cache_Data/f_000001": 40000,
}

# Files the program must leave exactly as they are.
CANARIES = {
    f"Users/{USER}/Documents/letter.txt": b"Dear Bob,\n",
    f"Users/{USER}/Desktop/photo.jpg": os.urandom(5000),
    f"Users/{USER}/Downloads/setup.exe": os.urandom(7000),
    "windows/system32/kernel32.dll": os.urandom(9000),
    "windows/Logs/CBS/CbsPersist.cab": os.urandom(800),
    "windows/Prefetch/Layout.ini": b"[layout]\n",
    f"{LOCAL}/Microsoft/Windows/Explorer/iconcache_256.db": os.urandom(600),
    f"{FIREFOX}/k3x9.default/places.sqlite": os.urandom(2048),
    f"{FIREFOX}/r7q2.default-release/cache2/entries/ABCDEF": os.urandom(1024),
    f"{LOCAL}/Google/Chrome/User Data/Default/Bookmarks": b"{}\n",
}


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def make_prefix(root):
    """Creates drive_c and dosdevices/c: inside `root`; returns the drive root."""
    drive = os.path.join(root, "drive_c")
    os.makedirs(drive, exist_ok=True)
    os.makedirs(os.path.join(root, "dosdevices"), exist_ok=True)
    link = os.path.join(root, "dosdevices", "c:")
    if not os.path.lexists(link):
        os.symlink("../drive_c", link)
    return drive


def make_standard(root):
    """Junk where the shipped rules look, canaries where they must not reach."""
    drive = make_prefix(root)
    for rel in JUNK_ROOTS:
        os.makedirs(os.path.join(drive, rel), exist_ok=True)
    for rel, size in JUNK_CONTENT.items():
        write(os.path.join(drive, rel), bytes(i % 251 for i in range(size)))
    for rel in JUNK_FILES:
        write(os.path.join(drive, rel), b"junk\n" * 100)
    for rel, data in CANARIES.items():
        write(os.path.join(drive, rel), data)
    return drive


def make_hostile(root, outside):
    """Odd entries in and around the user's temp folder. `outside` is a folder
    outside the prefix that links and hard links point at. Returns the names of
    the entries that the test removes or swaps between the scan and the clean."""
    drive = make_prefix(root)
    temp = os.path.join(drive, LOCAL, "Temp")
    os.makedirs(temp, exist_ok=True)
    write(os.path.join(outside, "keep/precious.txt"), b"do not touch\n" * 50)
    write(os.path.join(outside, "hardlinked.txt"), b"shared inode\n")

    os.symlink(os.path.join(outside, "keep"), os.path.join(temp, "link_outside"))
    os.symlink(drive, os.path.join(temp, "link_drive_root"))
    os.symlink("loop_b", os.path.join(temp, "loop_a"))
    os.symlink("loop_a", os.path.join(temp, "loop_b"))
    os.makedirs(os.path.join(temp, "loopdir"))
    os.symlink("..", os.path.join(temp, "loopdir", "up"))
    os.link(os.path.join(outside, "hardlinked.txt"), os.path.join(temp, "hard.tmp"))

    odd = os.path.join(temp, "odd")
    os.makedirs(odd)
    for name in [b"pipe|C:\\windows", b"back\\slash.tmp", b"colon:x.tmp", b"star*.tmp",
                 b"what?.tmp", b"line\nbreak.tmp", b"bad\xff\xfeutf8.tmp", b"quote\".tmp"]:
        write(os.path.join(os.fsencode(odd), name), b"odd\n")
    write(os.path.join(temp, "pipe|C:\\windows"), b"odd at the top\n")
    # Names with a leading dot: matched like any other name directly in the
    # temp folder, but left in place inside a folder that is emptied.
    write(os.path.join(temp, ".hidden.tmp"), b"dot\n")
    write(os.path.join(odd, ".hidden.tmp"), b"dot\n")
    write(os.path.join(odd, ".dotdir/inside.tmp"), b"dot\n")
    write(os.path.join(temp, "readonly.tmp"), b"ro\n")
    os.chmod(os.path.join(temp, "readonly.tmp"), 0o444)
    write(os.path.join(temp, "locked/secret.tmp"), b"locked\n")
    os.chmod(os.path.join(temp, "locked"), 0o000)
    write(os.path.join(temp, "nowrite/file.tmp"), b"nowrite\n")
    os.chmod(os.path.join(temp, "nowrite"), 0o555)

    deep = os.path.join(temp, "deep200")
    path = deep
    for _ in range(200):
        path = os.path.join(path, "d")
    write(os.path.join(path, "bottom.tmp"), b"deep\n")
    write(os.path.join(temp, "n" * 251 + ".tmp"), b"long name\n")

    vanishing = []
    for i in range(5):
        name = f"vanish_{i}.tmp"
        write(os.path.join(temp, name), b"v" * 1000)
        vanishing.append(os.path.join(temp, name))
    write(os.path.join(temp, "swapme/inner.tmp"), b"swap\n")
    return vanishing, os.path.join(temp, "swapme")


def snapshot(top, skip=()):
    """Every entry below `top` (links not followed), with kind, size, mode and
    content hash, keyed by relative path; entries under `skip` prefixes left out."""
    entries = {}
    top_b = os.fsencode(top)
    skip_b = [os.fsencode(s) for s in skip]
    for dirpath, dirnames, filenames in os.walk(top_b, followlinks=False):
        for name in dirnames + filenames:
            full = os.path.join(dirpath, name)
            rel = os.path.relpath(full, top_b)
            if any(rel == s or rel.startswith(s + b"/") for s in skip_b):
                continue
            info = os.lstat(full)
            if stat.S_ISLNK(info.st_mode):
                entries[rel] = ("link", os.readlink(full))
            elif stat.S_ISDIR(info.st_mode):
                entries[rel] = ("dir", stat.S_IMODE(info.st_mode))
            else:
                with open(full, "rb") as f:
                    digest = hashlib.sha256(f.read()).hexdigest()
                entries[rel] = ("file", info.st_size, stat.S_IMODE(info.st_mode), digest)
    return entries


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] != "demo":
        sys.exit("usage: fixture.py demo <folder>")
    make_standard(sys.argv[2])
