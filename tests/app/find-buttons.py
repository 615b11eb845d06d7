"""Starts quillo-sim and finds its main window's buttons by name through AT-SPI, as a screen
reader would; presses the language button and finds them again in English."""
import subprocess
import sys
import time

import pyatspi

TOOLS_ZH = ["保存配置", "打开配置", "恢复默认", "写入按键", "设置背光", "读取配置", "固件升级",
            "读取计数", "English", "Fn组合层", "最小化", "帮助", "退出"]
TOOLS_EN = ["Save", "Open", "Default", "WriteKeys", "LightSet", "ReadAll", "Update",
            "ReadCounter", "简体中文", "FnLayer", "Minimise", "Help", "Exit"]
KEYS = ["Esc", "F1", "Space", "PrintScreen", "LWin", "KPEnter"]


def log(text):
    print("accessibility-e2e: " + text, flush=True)


def fail(text):
    print("accessibility-e2e: " + text, file=sys.stderr, flush=True)
    sys.exit(1)


def main_window(program, timeout):
    """The application's frame titled after the keyboard model."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if program.poll() is not None:
            fail("quillo-sim ended with %d before its window appeared" % program.returncode)
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for window in app:
                if window is not None and window.name == "Quillo(RGB)":
                    return window
        time.sleep(0.2)
    return None


def buttons(window):
    """Names of the push buttons below the window."""
    found = pyatspi.findAllDescendants(
        window, lambda a: a is not None and a.getRole() == pyatspi.ROLE_PUSH_BUTTON)
    return {button.name: button for button in found}


def wait_for(window, names, timeout=10):
    end = time.monotonic() + timeout
    while True:
        shown = buttons(window)
        missing = [name for name in names if name not in shown]
        if not missing or time.monotonic() > end:
            return shown, missing
        time.sleep(0.2)


def press(button):
    action = button.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() in ("press", "click"):
            action.doAction(i)
            return True
    return False


def main():
    sim = sys.argv[1]
    program = subprocess.Popen([sim, "--variant", "4"])
    try:
        window = main_window(program, 30)
        if window is None:
            fail("the main window did not appear on the accessibility bus")
        log("found the main window, role %s" % window.getRoleName())

        shown, missing = wait_for(window, TOOLS_ZH + KEYS)
        if missing:
            fail("not found by name: %s (found %d buttons)" % (", ".join(missing), len(shown)))
        log("found %d buttons, all tool buttons and keys by their Chinese names" % len(shown))
        if len(shown) < 13 + 108 - 6:  # a few keys share names (Shift, Ctrl)
            fail("only %d buttons" % len(shown))

        if not press(shown["English"]):
            fail("the language button offers no press action")
        shown, missing = wait_for(window, TOOLS_EN + KEYS)
        if missing:
            fail("after switching to English not found: %s" % ", ".join(missing))
        log("after pressing the language button: all found by their English names")
    finally:
        program.terminate()
        try:
            program.wait(10)
        except subprocess.TimeoutExpired:
            program.kill()


main()
