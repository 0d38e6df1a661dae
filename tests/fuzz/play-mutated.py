#!/usr/bin/env python3
"""Damaged lessons and pictures played by the real player under a real X server.

Each run copies the course, damages one lesson (kept as the only one, so it is the lesson
started) and, every third run, one picture; starts the player ungraded on its own Xvfb,
starts the lesson, then presses keys and clicks at random for a few seconds. With --graded
the player registers a key on a blank stick of its own instead, the stick is pulled out
and put back at random, lessons are left through the main menu, and afterwards every key,
grade and bookmark file on the stick must be whole, with no temporary file left. A run
whose player ends with a sanitizer report or a signal, or leaves the stick wrong, is kept
in OUT/NNNN-bad with the files and the output. The player may also end by itself with "Bad LSN file.", as it must for most
damaged lessons; those runs are only counted.

usage: play-mutated.py --player P --course C --out O [--runs N] [--seconds S] [--seed K]
                      [--graded]
Needs Xvfb and xdotool. Ends non-zero when a run went bad.
"""
import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
NUMBERS = ["0", "-1", "1", "65535", "65536", "32767", "-32768", "2147483647", "2147483648",
           "-2147483649", "99999999999999999999", "1e308", "-1e308", "nan", "inf", "0.0000001",
           "3000", "-3000", "255", "256", "7", "100000"]


def keywords():
    with open(os.path.join(HERE, "lesson.dict"), encoding="latin-1") as f:
        return [line.strip().strip('"') for line in f if line.startswith('"')]


def damage_lesson(data, rng, words):
    """One to three changes of the kinds an author's slip or a bad copy makes."""
    lines = data.split(b"\r\n")
    for _ in range(rng.randint(1, 3)):
        op = rng.choice("nnnndcsweblx")
        i = rng.randrange(len(lines))
        if op == "n":  # a number replaced by an extreme one
            numbers = list(re.finditer(rb"-?\d+(\.\d+)?", lines[i]))
            if numbers:
                m = rng.choice(numbers)
                lines[i] = lines[i][:m.start()] + rng.choice(NUMBERS).encode() + lines[i][m.end():]
        elif op == "d":  # a line lost
            del lines[i]
            lines = lines or [b""]
        elif op == "c":  # a line doubled
            lines.insert(rng.randrange(len(lines)), lines[i])
        elif op == "s":  # two lines swapped
            j = rng.randrange(len(lines))
            lines[i], lines[j] = lines[j], lines[i]
        elif op == "w":  # a word replaced by a keyword
            parts = lines[i].split(b" ")
            parts[rng.randrange(len(parts))] = rng.choice(words).encode("latin-1", "replace")
            lines[i] = b" ".join(parts)
        elif op == "e":  # a number too many
            lines[i] += b" " + rng.choice(NUMBERS).encode()
        elif op == "b":  # a byte changed
            line = bytearray(lines[i])
            if line:
                line[rng.randrange(len(line))] = rng.randrange(256)
            lines[i] = bytes(line)
        elif op == "l":  # the file cut short
            lines = lines[:i + 1]
        else:  # a line repeated within itself
            lines[i] *= rng.randint(2, 40)
    return b"\r\n".join(lines)


def damage_picture(data, rng):
    """Header fields set to extreme values, the file cut short or a byte changed."""
    picture = bytearray(data)
    fields = [(2, 4), (10, 4), (14, 4), (18, 4), (22, 4), (26, 2), (28, 2), (30, 4), (34, 4),
              (46, 4), (50, 4)]
    for _ in range(rng.randint(1, 3)):
        if rng.random() < 0.6 and len(picture) >= 54:
            at, size = rng.choice(fields)
            value = rng.choice([0, 1, 2, 3, 4, 8, 16, 24, 32, 255, 256, 0x7FFF, 0xFFFF,
                                0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, rng.randrange(1 << (8 * size))])
            picture[at:at + size] = (value & ((1 << (8 * size)) - 1)).to_bytes(size, "little")
        elif rng.random() < 0.5:
            del picture[rng.randrange(len(picture) + 1):]
        elif picture:
            picture[rng.randrange(len(picture))] = rng.randrange(256)
    return bytes(picture)


class Screen:
    """An Xvfb of its own, on the first free display it finds."""

    def __init__(self):
        read, write = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            self.display = ":" + f.readline().strip()

    def xdo(self, *args):
        subprocess.run(["xdotool", *args], env=dict(os.environ, DISPLAY=self.display),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        self.server.terminate()
        self.server.wait()


def wait_for_window(screen, name, seconds):
    """Whether a window of that name shows within the time."""
    end = time.time() + seconds
    while time.time() < end:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                               env=dict(os.environ, DISPLAY=screen.display),
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        if found.stdout.strip():
            return True
        time.sleep(0.2)
    return False


def stick_problems(stick):
    """What a save left wrong on the key disk: a key or grade file not whole, a bookmark that
    is not one, a temporary file left behind."""
    problems = []
    for folder, _, files in os.walk(stick):
        for name in files:
            path = os.path.join(folder, name)
            size = os.path.getsize(path)
            upper = name.upper()
            if name.startswith("."):
                problems.append("temporary file left: " + name)
            elif upper == "KEY.GRD" and size != 256:
                problems.append("key of %d bytes" % size)
            elif upper.endswith(".GRD") and upper != "KEY.GRD" and size != 60:
                problems.append("%s of %d bytes" % (name, size))
            elif upper.endswith(".BMK"):
                with open(path, "rb") as f:
                    if not f.read().startswith(b" L "):
                        problems.append("bookmark %s is not one" % name)
    return problems


def play(screen, player, course, seconds, rng, output, stick):
    """Plays one run; with a stick, graded: the key registered, the stick pulled out and put
    back at random, the lesson left through the main menu so that its grade is written."""
    env = dict(os.environ, DISPLAY=screen.display, QT_QPA_PLATFORM="xcb",
               ASAN_OPTIONS="detect_leaks=0:abort_on_error=1",
               UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
    away = stick + "-away" if stick else None
    if stick:
        env["LORVENNA_DRIVES"] = "E=" + stick
    problems = []
    with open(output, "wb") as out:
        proc = subprocess.Popen([player], cwd=course, env=env, stdout=out, stderr=out)
        wait_for_window(screen, "^Lorvenna$", 10)
        time.sleep(0.5)
        if stick:
            screen.xdo("key", "alt+s")  # "&Start with grades" on a blank stick
            wait_for_window(screen, "Registering", 10)
            for typed in ("Kim42", "pw7"):  # its new key: the ID, then the password
                time.sleep(0.5)
                screen.xdo("type", typed)
                screen.xdo("key", "Return")
        else:
            screen.xdo("key", "alt+u")  # "Start &ungraded"
        wait_for_window(screen, "Selecting lesson", 10)
        screen.xdo("key", "alt+s")  # "&Start" the only lesson
        end = time.time() + seconds
        while time.time() < end and proc.poll() is None:
            r = rng.random()
            x, y = str(rng.randrange(800)), str(rng.randrange(40, 550))
            if r < 0.25:
                screen.xdo("key", rng.choice(["Next", "Right", "Next", "Prior", "Return", "Tab",
                                              "space"]))
            elif r < 0.7:
                screen.xdo("mousemove", x, y, "click", "1")
            elif r < 0.8:
                screen.xdo("type", rng.choice(["12", "3.5", "-7", "99999999", "0"]))
                screen.xdo("key", "Return")
            elif r < 0.85:
                screen.xdo("key", "alt+s")
            elif r < 0.9 and stick:
                screen.xdo("key", "alt+m")  # the lesson scored and left
            elif r < 0.95 and stick:
                if os.path.isdir(stick):
                    os.rename(stick, away)
                elif os.path.isdir(away):
                    os.rename(away, stick)
            else:
                screen.xdo("mousemove", x, y, "mousedown", "1", "mousemove",
                           str(rng.randrange(800)), str(rng.randrange(40, 550)), "mouseup", "1")
            time.sleep(rng.uniform(0.02, 0.25))
        if stick and proc.poll() is None:
            if os.path.isdir(away):
                os.rename(away, stick)
            for key in ("Return", "Next", "Next", "alt+m"):  # past page 1, so there is a score
                screen.xdo("key", key)
                time.sleep(0.5)
            for _ in range(4):  # the score, and Retry wherever the grade was refused
                time.sleep(0.7)
                screen.xdo("key", "Return")
            time.sleep(1)
        ended = proc.poll() is not None
        if not ended:
            proc.send_signal(signal.SIGTERM)
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
    if stick:
        problems = stick_problems(stick)
    with open(output, "ab") as out:
        out.write("".join("stick: %s\n" % p for p in problems).encode())
    with open(output, "rb") as f:
        text = f.read().decode("latin-1")
    if "could not connect to display" in text:
        return None, ended, proc.returncode  # the X server was busy: not the player's fault
    bad = (any(s in text for s in ("AddressSanitizer", "runtime error", "LeakSanitizer"))
           or (ended and proc.returncode != 0) or bool(problems))
    return bad, ended, proc.returncode


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--player", required=True)
    parser.add_argument("--course", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--runs", type=int, default=60)
    parser.add_argument("--seconds", type=float, default=8)
    parser.add_argument("--seed", type=int, default=int(time.time()))
    parser.add_argument("--graded", action="store_true",
                        help="register a key on a stick of its own and leave every lesson graded")
    args = parser.parse_args()
    player = os.path.abspath(args.player)
    rng = random.Random(args.seed)
    words = keywords()
    os.makedirs(args.out, exist_ok=True)
    screen = Screen()
    bad_runs = ended_runs = lost_runs = 0
    work = tempfile.mkdtemp(prefix="lorvenna-play-")
    try:
        for run in range(args.runs):
            course = os.path.join(work, "course")
            shutil.rmtree(course, ignore_errors=True)
            shutil.copytree(args.course, course)
            lessons = os.path.join(course, "LSNS")
            names = sorted(os.listdir(lessons))
            lesson = rng.choice(names)
            with open(os.path.join(lessons, lesson), "rb") as f:
                damaged = damage_lesson(f.read(), rng, words)
            for name in names:
                os.remove(os.path.join(lessons, name))
            with open(os.path.join(lessons, lesson), "wb") as f:
                f.write(damaged)
            picture = None
            if run % 3 == 0:
                pictures = os.path.join(course, "BMPS")
                picture = os.path.join(pictures, rng.choice(sorted(os.listdir(pictures))))
                with open(picture, "rb") as f:
                    data = f.read()
                with open(picture, "wb") as f:
                    f.write(damage_picture(data, rng))
            output = os.path.join(work, "output.txt")
            stick = None
            if args.graded:
                stick = os.path.join(work, "stick")
                for old in (stick, stick + "-away"):
                    shutil.rmtree(old, ignore_errors=True)
                os.makedirs(stick)
            bad, ended, code = play(screen, player, course, args.seconds, rng, output, stick)
            if bad is None:
                lost_runs += 1
                print("%4d no connection to the X server" % run, flush=True)
                continue
            bad_runs += bad
            ended_runs += ended and not bad
            if bad:
                kept = os.path.join(args.out, "%04d-bad" % run)
                os.makedirs(kept, exist_ok=True)
                shutil.copy(os.path.join(lessons, lesson), kept)
                shutil.copy(output, kept)
                if picture:
                    shutil.copy(picture, kept)
                if stick and os.path.isdir(stick):
                    shutil.copytree(stick, os.path.join(kept, "stick"))
            grades = ""
            if stick and os.path.isdir(os.path.join(stick, "LORVENNA")):
                names = os.listdir(os.path.join(stick, "LORVENNA"))
                grades = " key %s, grades %d, bookmarks %d" % (
                    "KEY.GRD" in names, sum(n.upper().endswith(".GRD") for n in names) - 1,
                    sum(n.upper().endswith(".BMK") for n in names))
            print("%4d %s %s %s%s" % (run, lesson, os.path.basename(picture) if picture else "-",
                                      "BAD (%d)" % code if bad else "ended" if ended else "ok",
                                      grades), flush=True)
    finally:
        screen.close()
        shutil.rmtree(work, ignore_errors=True)
    print("seed %d: %d runs, %d went bad, %d ended by themselves (a refused lesson), %d found "
          "no X server" % (args.seed, args.runs, bad_runs, ended_runs, lost_runs))
    return 1 if bad_runs else 0


if __name__ == "__main__":
    sys.exit(main())
