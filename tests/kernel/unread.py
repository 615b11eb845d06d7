"""Succeeds when no report of the keyboard's size waits on any of the gadget's /dev/hidgN given:
nothing the host meant for the keyboard reached them. (A boot keyboard's 1-byte LED report
may wait; the host's own HID driver sends it.)"""
import os
import sys

found = False
for path in sys.argv[1:]:
    fd = os.open(path, os.O_RDONLY | os.O_NONBLOCK)
    try:
        while True:
            try:
                report = os.read(fd, 1024)
            except BlockingIOError:
                break
            if len(report) > 1:
                print(f'{path}: {report.hex(" ")}')
                found = True
    finally:
        os.close(fd)
sys.exit(1 if found else 0)
