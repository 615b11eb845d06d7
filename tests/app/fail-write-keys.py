"""Runs quillo-sim with a keyboard that is unplugged half-way through "Write key settings",
assigns a key and writes as a person would (the mouse through xdotool, at the places the
window's accessibility tree gives), and reads the message and the window's state back
through AT-SPI:
    fail-write-keys.py QUILLO_SIM SCREEN_PIXEL ARTEFACT_DIR TRACE"""
import os
import subprocess
import sys
import time

import pyatspi

# The start-up version read and about a hundred of the 216 key records.
FAULT = "unplug@100"
FAILED = ("Writing to the keyboard failed. Check the cable and try again.\n\n"
          "The keyboard now holds part of the new key settings. Once it is connected again, "
          "run Write key settings again.")
NOT_WRITTEN = "Configuration don't be writted,continue to exit??"
MULTIMEDIA_BAR = "#ff00ff"


def log(text):
    print("fault-write-e2e: " + text, flush=True)


def fail(text):
    print("fault-write-e2e: " + text, file=sys.stderr, flush=True)
    sys.exit(1)


def windows():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        for window in app:
            if window is not None:
                yield window


def wait_for(find, what, timeout=20):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    fail(what + " did not appear")


def window_named(name):
    return wait_for(lambda: next((w for w in windows() if w.name == name), None),
                    "the window \"%s\"" % name)


def descendant(root, name, roles):
    return pyatspi.findDescendant(
        root, lambda a: a is not None and a.name == name and a.getRole() in roles)


def entry(window, name):
    roles = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_RADIO_BUTTON,
             pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_CHECK_BOX)
    return wait_for(lambda: descendant(window, name, roles), "\"%s\"" % name)


def centre(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x + box.width // 2, box.y + box.height // 2


def click(accessible, settle=0.5):
    x, y = centre(accessible)
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"], check=True)
    time.sleep(settle)


def message_with(text, timeout=20):
    """The message box showing `text`, once it is up."""
    labels = (pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC)
    return wait_for(lambda: next((w for w in windows() if descendant(w, text, labels)), None),
                    "the message \"%s\"" % text, timeout)


def bar_colour(pixel, artefacts, name, x, y):
    shot = os.path.join(artefacts, "e2e-fault-write-%s.png" % name)
    return subprocess.run([pixel, shot, "%d,%d" % (x, y)], check=True, capture_output=True,
                          text=True).stdout.strip()


def trace_lines(path):
    with open(path) as trace:
        return [line.strip() for line in trace if line.strip()]


def main():
    sim, pixel, artefacts, trace = sys.argv[1:5]
    os.makedirs(artefacts, exist_ok=True)
    if os.path.exists(trace):
        os.remove(trace)
    program = subprocess.Popen([sim, "--variant", "4", "--fault", FAULT, "--trace", trace])
    try:
        main_window = window_named("Quillo(RGB)")
        click(entry(main_window, "English"))
        entry(main_window, "WriteKeys")  # the captions have changed

        # Key W given Play/Pause: a key with a multimedia bar, not yet written.
        key = entry(main_window, "W")
        key_box = key.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        bar = (key_box.x + key_box.width // 2, key_box.y + key_box.height - 2)
        click(key, 0.2)
        settings = window_named("Key Settings")
        click(entry(settings, "Multimedia"))
        click(entry(settings, "Play/Pause"))
        click(entry(settings, "OK"))
        colour = bar_colour(pixel, artefacts, "assigned", *bar)
        if colour != MULTIMEDIA_BAR:
            fail("the key's bar is %s after OK, not %s" % (colour, MULTIMEDIA_BAR))
        log("W carries the multimedia bar")

        click(entry(main_window, "WriteKeys"), 0.2)
        box = message_with(FAILED, 30)
        log("the write failed with \"%s\"" % FAILED)
        time.sleep(0.3)  # its first paint, for the picture
        subprocess.run([pixel, os.path.join(artefacts, "e2e-fault-write-message.png")],
                       check=True)

        # Half-way: the command and some records went out, the end report did not.
        lines = trace_lines(trace)
        starts = [i for i, line in enumerate(lines) if line.startswith("> 00 00 f1 ")]
        if len(starts) != 1:
            fail("%d key writes began, not one" % len(starts))
        records = [line for line in lines[starts[0]:] if line.startswith("> 00 00 f0 ")]
        end = "> 00 00" + " f6" * 63
        if end in lines or not 10 < len(records) < 216:
            fail("the write did not stop half-way: %d records, end report %s"
                 % (len(records), "sent" if end in lines else "not sent"))
        log("the keyboard was unplugged after %d of 216 key records" % len(records))

        click(entry(box, "OK"))
        # The model is as it was: the bar shows, and the keys still count as not written.
        colour = bar_colour(pixel, artefacts, "after-failure", *bar)
        if colour != MULTIMEDIA_BAR:
            fail("the key's bar is %s after the failed write" % colour)
        click(entry(main_window, "Exit"), 0.2)
        question = message_with(NOT_WRITTEN)
        log("Exit still warns that the configuration is not written")
        click(entry(question, "No"))
        if program.poll() is not None:
            fail("the program ended although Exit was refused")
        log("passed")
    finally:
        program.terminate()
        try:
            program.wait(10)
        except subprocess.TimeoutExpired:
            program.kill()


main()
