#!/usr/bin/env python3
"""Writes the manual page lorvenna-lesson(5) from docs/lesson-language.md, the one source of
the lesson language's reference. With --check, writes nothing and fails when the page in the
tree differs from what the reference gives (a test runs it so).

Usage: make-lesson-manual.py [--check] [SOURCE_DIR]
"""
import pathlib
import re
import sys

HEADER = '.TH LORVENNA-LESSON 5 "" "Lorvenna" "File Formats"\n'


def escape(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    return text


def inline(text):
    """Markdown inline markup to roff: code in bold, links and pictures to their words."""
    text = re.sub(r"!\[[^\]]*\]\([^)]*\)\s*", "", text)
    text = re.sub(r"\[([^\]]+)\]\([^)]*\)", r"\1", text)
    parts = re.split(r"(`[^`]*`)", text)
    out = []
    for part in parts:
        if part.startswith("`") and part.endswith("`") and len(part) >= 2:
            out.append("\\fB" + escape(part[1:-1]) + "\\fR")
        else:
            out.append(escape(part))
    return "".join(out)


def line_safe(text):
    """A roff text line must not start with a control character."""
    if text.startswith((".", "'")):
        return "\\&" + text
    return text


def table(rows, out):
    """A table becomes one tagged paragraph a row: the first cell as tag, the rest after it."""
    header = [c.strip() for c in rows[0].strip().strip("|").split("|")]
    for row in rows[2:]:
        cells = [c.strip() for c in row.strip().strip("|").split("|")]
        out.append(".TP")
        out.append(line_safe(inline(cells[0])))
        rest = []
        for name, cell in zip(header[1:], cells[1:]):
            if not cell:
                continue
            rest.append((inline(name) + ": " if name and len(cells) > 2 else "") + inline(cell))
        out.append(line_safe("; ".join(rest) if rest else "\\&"))


def convert(markdown):
    out = [HEADER.rstrip("\n")]
    lines = markdown.splitlines()
    i = 0
    paragraph = []

    def flush():
        if paragraph:
            out.append(".PP")
            out.extend(line_safe(inline(p)) for p in paragraph)
            paragraph.clear()

    while i < len(lines):
        line = lines[i]
        if line.startswith("# "):
            flush()
            out.append(".SH NAME")
            out.append("lorvenna\\-lesson \\- the lesson language of Lorvenna courses")
            i += 1
            continue
        if line.startswith("## "):
            flush()
            out.append(".SH " + escape(line[3:].upper()))
        elif line.startswith("### "):
            flush()
            out.append(".SS " + inline(line[4:]))
        elif line.startswith("```"):
            flush()
            out.append(".PP")
            out.append(".RS 4")
            out.append(".nf")
            i += 1
            while i < len(lines) and not lines[i].startswith("```"):
                out.append(line_safe(escape(lines[i])))
                i += 1
            out.append(".fi")
            out.append(".RE")
        elif line.startswith("|"):
            flush()
            rows = []
            while i < len(lines) and lines[i].startswith("|"):
                rows.append(lines[i])
                i += 1
            table(rows, out)
            continue
        elif not line.strip():
            flush()
        else:
            paragraph.append(line)
        i += 1
    flush()
    out.append(".SH SEE ALSO")
    out.append(".BR lorvenna (1),")
    out.append(".BR lorvenna\\-check (1),")
    out.append(".BR lorvenna\\-shot (1)")
    return "\n".join(out) + "\n"


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if a != "--check"]
    root = pathlib.Path(args[0]) if args else pathlib.Path(__file__).resolve().parent.parent
    page = convert((root / "docs" / "lesson-language.md").read_text(encoding="utf-8"))
    target = root / "packaging" / "man" / "lorvenna-lesson.5"
    if check:
        if not target.exists() or target.read_text(encoding="utf-8") != page:
            print(f"{target} is not what docs/lesson-language.md gives: "
                  "run tools/make-lesson-manual.py")
            return 1
        return 0
    target.write_text(page, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
