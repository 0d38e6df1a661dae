#!/usr/bin/env python3
"""Makes the key disks of a made-up class that took the sample course: one folder a student,
each with its key file and grade files as the player writes them, and among them the sticks
a teacher meets now and then (an altered grade, a copy of a friend's grade, a stick that was
never registered). Try lorvenna-grades on them:

    tools/make-sample-class.py /tmp/class
    build/release/lorvenna-grades /tmp/class/* --course courseware --report class.html
"""
import datetime
import os
import random
import struct
import sys

SCRAMBLE = b"Keep the disk dry and labelled.\0"
LESSONS = [(1, 1, 4), (1, 2, 5), (1, 3, 6), (2, 1, 4), (2, 2, 5), (2, 3, 4), (2, 4, 8),
           (2, 5, 3), (2, 6, 6)]  # major, minor, questions
STUDENTS = ["Ada", "Ben", "Chloe", "Dev", "Emil", "Fatima", "Gus", "Hana", "Ivo", "Jun",
            "Kemal", "Lena"]


def scramble(data):
    return bytes(b ^ SCRAMBLE[i % 32] for i, b in enumerate(data))


def key_record(student, password, rng):
    plain = bytes([len(password), len(student)]) + password.encode() + student.encode()
    fill = bytes((rng.randrange(32768) + ord(student[0])) & 0xFF for _ in range(256 - len(plain)))
    return scramble(plain + fill)


def grade_record(when, major, minor, answered, right, possible, student, rng):
    name = student.encode()[:40]
    fields = [when.month, when.day, when.year, major * 100 + minor, answered, right, possible,
              len(student)]
    checksum = (sum(fields) + sum(b - 256 if b > 127 else b for b in name)) & 0xFFFF
    name_field = name + bytes(rng.randrange(256) for _ in range(40 - len(name)))
    plain = struct.pack("<8h", *fields) + name_field + struct.pack("<Hh", checksum, 0)
    return scramble(plain)


def write(path, data, when):
    with open(path, "wb") as out:
        out.write(data)
    stamp = when.timestamp()
    os.utime(path, (stamp, stamp))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-sample-class.py OUT-FOLDER")
    out = sys.argv[1]
    rng = random.Random(25)
    start = datetime.datetime(2026, 11, 2, 9, 0)
    copies = {}
    for number, student in enumerate(STUDENTS):
        folder = os.path.join(out, "stick-%02d" % (number + 1), "LORVENNA")
        os.makedirs(folder, exist_ok=True)
        if student != "Lena":  # Lena's stick was never registered
            write(os.path.join(folder, "KEY.GRD"), key_record(student, "pw", rng), start)
        skill = 0.35 + 0.6 * rng.random()
        reach = len(LESSONS) - rng.randrange(0, 5)  # some students are behind
        for index, (major, minor, questions) in enumerate(LESSONS[:reach]):
            hard = 0.25 if (major, minor) == (2, 4) else 0.0  # the moon is hard
            for sequence in range(1, 1 + rng.choice([1, 1, 2, 3])):
                when = start + datetime.timedelta(days=3 * index + sequence,
                                                  minutes=rng.randrange(0, 420))
                chance = min(0.98, max(0.05, skill - hard + 0.12 * (sequence - 1)))
                right = sum(rng.random() < chance for _ in range(questions))
                data = grade_record(when, major, minor, questions, right, questions, student, rng)
                name = "L%02d-%02dS%03d.GRD" % (major, minor, sequence)
                copies[(student, name)] = data
                write(os.path.join(folder, name), data, when)
    # Gus raised a score by hand; Ivo copied Ada's first grade over his own.
    gus = os.path.join(out, "stick-07", "LORVENNA", "L01-01S001.GRD")
    data = bytearray(open(gus, "rb").read())
    data[10:12] = bytes(
        [4 ^ SCRAMBLE[10], 0 ^ SCRAMBLE[11]])  # right := 4
    write(gus, bytes(data), start + datetime.timedelta(days=20))
    write(os.path.join(out, "stick-09", "LORVENNA", "L01-01S001.GRD"),
          copies[("Ada", "L01-01S001.GRD")], start + datetime.timedelta(days=21))


if __name__ == "__main__":
    main()
