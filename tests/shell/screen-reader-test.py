#!/usr/bin/python3
"""The player read through the desktop's accessibility bus, as a screen reader reads it.

Starts a virtual X server, a session bus and the accessibility bus, plays a lesson written
into a temporary course with the keyboard alone (xdotool), and checks through pyatspi what a
screen reader gets: the window's title, every display as a named panel holding the page's
words and controls in reading order, the focus that Tab moves, the judged answer announced as
an alert, and the score box as a dialog with its caption and text.

usage: screen-reader-test.py PLAYER
Exits 77 (skipped) when the packages it needs are missing; `make test` installs them.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

LESSON = """Lesson 01-01 Levers
TOTAL 1
PAGE 1
DISPLAY Reading
DISPLAY Working
PAGE 2
DISPLAY Asking
END PAGES
DISPLAY Reading 10 40 380 300 A
ITEM TEXT Intro
LOC 10 10
@A lever is a bar that turns
@ on a fixed point.
}
ITEM LABEL Pivot
LOC 200 200
@Pivot
}
ITEM BMP Wheel
LOC 10 100
FILE WHEEL
ALTTEXT A wheel on its axle
}
END DISPLAY
DISPLAY Working 400 40 390 300 A
ITEM BUTTON Push
LOC 10 10
SIZE 100 30
@Push
}
ITEM SLIDER Dial
LOC 10 60
SIZE 200 20
STEP 2
POSITION 50
}
ITEM ZONE Handle
LOC 250 100
SHAPE 0 60 L
SHAPE 90 60 L
SHAPE 180 60 L
SHAPE 270 60 L
}
END DISPLAY
DISPLAY Asking 10 40 500 300 A
ITEM TEXT Q1
LOC 10 10
KEYBUTTON Lever
@Which machine is a bar turning on a fixed point?
}
ITEM BUTTON Pulley
LOC 10 80
SIZE 120 34
@pulley
}
ITEM BUTTON Lever
LOC 150 80
SIZE 120 34
@lever
}
END DISPLAY
END LESSON
"""

# The page as a screen reader reads it: (role, name) in reading order, each display a panel.
PAGE_ONE = [
    ("push button", "Main menu"), ("push button", "Help"), ("push button", "< Back"),
    ("push button", "Ahead >"), ("push button", "Note"), ("push button", "Quit"),
    ("panel", "Reading"),
    ("label", "A lever is a bar that turns on a fixed point."),
    ("label", "Pivot"),
    ("image", "A wheel on its axle"),
    ("panel", "Working"),
    ("push button", "Push"),
    ("slider", "Dial"),
    ("push button", "Handle"),
    ("alert", "Page 1 of 2"),
]


def skip(reason):
    print("skipped: " + reason)
    sys.exit(77)


def fail(reason):
    print("FAILED: " + reason)
    sys.exit(1)


def wait_for(what, probe, seconds=20.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    fail("no " + what)


def main():
    if len(sys.argv) != 2:
        fail(__doc__)
    for tool in ("Xvfb", "xdotool", "dbus-run-session"):
        if not shutil.which(tool):
            skip(tool + " is missing")
    launcher = "/usr/libexec/at-spi-bus-launcher"
    if not os.path.exists(launcher):
        skip("at-spi2-core is missing")
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        skip("python3-pyatspi is missing")
    if "DBUS_SESSION_BUS_ADDRESS" not in os.environ or "LORVENNA_A11Y_BUS" not in os.environ:
        # A session bus of our own, so that nothing of the machine's desktop is read or changed.
        env = dict(os.environ, LORVENNA_A11Y_BUS="1")
        sys.exit(subprocess.run(["dbus-run-session", "--", sys.executable, *sys.argv],
                                env=env).returncode)
    run(os.path.abspath(sys.argv[1]), launcher)


def run(player, launcher):
    import pyatspi

    course = tempfile.mkdtemp(prefix="lorvenna-a11y-")
    server = bus = program = None
    try:
        for folder in ("LSNS", "BMPS", "HELP"):
            os.makedirs(os.path.join(course, folder))
        with open(os.path.join(course, "LSNS", "01-01.LSN"), "wb") as out:
            out.write(LESSON.replace("\n", "\r\n").encode("latin-1"))
        source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                              "courseware", "BMPS", "WHEEL.BMP")
        shutil.copy(source, os.path.join(course, "BMPS", "WHEEL.BMP"))

        read_end, write_end = os.pipe()
        server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                   "1024x768x24", "-nolisten", "tcp"], pass_fds=(write_end,),
                                  stderr=subprocess.DEVNULL)
        os.close(write_end)
        # The number comes in two writes, the digits and then a line break; the server dies
        # if the second finds nobody reading.
        number = b""
        while not number.endswith(b"\n"):
            piece = os.read(read_end, 16)
            if not piece:
                fail("no X server")
            number += piece
        os.close(read_end)
        display = ":" + number.decode().strip()
        os.environ["DISPLAY"] = display
        bus = subprocess.Popen([launcher, "--launch-immediately"], stderr=subprocess.DEVNULL)
        time.sleep(1.0)

        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   LORVENNA_DRIVES="",
                   # The toolkit's and the X libraries' own allocations outlive the run; the
                   # unit tests check our leaks.
                   ASAN_OPTIONS="detect_leaks=0")
        program = subprocess.Popen([player], cwd=course, env=env)

        def app():
            for candidate in pyatspi.Registry.getDesktop(0):
                if candidate is not None and candidate.name == "lorvenna":
                    return candidate
            return None

        def key(*names):
            for name in names:
                subprocess.run(["xdotool", "key", name], check=True)
                time.sleep(0.4)

        def windows():
            found = app()
            return [found.getChildAtIndex(i) for i in range(found.childCount)] if found else []

        def window_named(part):
            return lambda: next((w for w in windows() if w is not None and part in w.name), None)

        def read(node):
            lines = []
            for i in range(node.childCount):
                child = node.getChildAtIndex(i)
                lines.append((child.getRoleName(), child.name))
                if child.getRoleName() == "panel":
                    lines.extend(read(child))
            return lines

        def find(node, name):
            for i in range(node.childCount):
                child = node.getChildAtIndex(i)
                if child.name == name:
                    return child
                if child.childCount:
                    deeper = find(child, name)
                    if deeper:
                        return deeper
            return None

        wait_for("start dialog", app)
        time.sleep(1.5)
        key("alt+u")  # "Start &ungraded"
        time.sleep(1.0)
        key("alt+s")  # "&Start" the only lesson

        frame = wait_for("lesson window", window_named("Lesson 01-01"))
        end = time.monotonic() + 10.0
        while read(frame) != PAGE_ONE and time.monotonic() < end:
            time.sleep(0.2)
        if read(frame) != PAGE_ONE:
            fail("page 1 reads\n  %s\ninstead of\n  %s" % (read(frame), PAGE_ONE))

        # Tab goes to the first control of the page, Shift+Tab from there round to the last.
        key("Tab")
        push = find(frame, "Push")
        wait_for("focus on Push", lambda: push.getState().contains(pyatspi.STATE_FOCUSED))
        key("shift+Tab")
        handle = find(frame, "Handle")
        wait_for("focus on Handle", lambda: handle.getState().contains(pyatspi.STATE_FOCUSED))
        dial = find(frame, "Dial")
        if dial.queryValue().currentValue != 50:
            fail("the slider's value is %s" % dial.queryValue().currentValue)

        key("Next")  # Page Down
        wait_for("the question", lambda: find(
            frame, "Which machine is a bar turning on a fixed point?"))
        question = find(frame, "Which machine is a bar turning on a fixed point?")
        if question.description != "Current question":
            fail("the question is described as %r" % question.description)
        key("Tab", "Tab", "Return")  # lever
        wait_for("the answer announced", lambda: find(frame, "Right"))
        time.sleep(1.5)  # the pause after a right answer, after which the answer counts

        key("q")  # the lesson scored and left
        box = wait_for("the score box", window_named("Your score:"))
        if box.getRoleName() not in ("alert", "dialog"):
            fail("the score box is a %s" % box.getRoleName())
        if box.description != "100.0% right first time!":
            fail("the score box says %r" % box.description)
        key("Return")
        program.wait(timeout=20)
        print("the page, the keys, the answer and the score box read as a screen reader reads them")
    finally:
        for process in (program, bus, server):
            if process and process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
        shutil.rmtree(course, ignore_errors=True)


if __name__ == "__main__":
    main()
