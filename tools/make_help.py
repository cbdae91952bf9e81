#!/usr/bin/env python3
# Generates the shipped help data (help texts orvan.hlp and velk.hlp, help image list velk.dbh)
# from the readable UTF-8 sources in tools/help/, as code page 850 text with CR LF line ends.
"""Usage: make_help.py [--out DIR] [--check]

Without options the files are written to share/ beside this tools/ folder. --out writes them to
another folder; --check compares what would be written with the files there and exits 1 on a
difference. The output depends on the sources only, so it is reproducible byte for byte.

Sources (tools/help/):
  orvan.hlp.txt  help numbers below 4000 (shared dialogs, settings and services)
  velk.hlp.txt   help numbers from 4000 upwards (spiral-spring dialogs)
  velk.dbh.txt   the help image list, one '"name","description"' line per image
  numbers.txt    every help number the program uses, with where it comes from

Help text source format: "@nnnn" or "@nnnn:image" starts the entry of help number nnnn; the
lines after it, up to the next "@" line, are the entry's text lines 1 to 5. A line that starts
with a blank continues the line before it (joined with one blank). Empty lines and lines that
start with "#" are ignored.

In the shipped file an entry is its number line ("nnnn" or "nnnn:image") followed by its text
lines. A reader finds an entry by the first four characters of a number line and takes up to four
further lines: plain text lines in order, a number line that is not a multiple of 5 (with its own
text line) only as line k + 1 when its number is the entry's number + k, and a number line that is
a multiple of 5 ends the entry. The generator therefore replays that lookup for every entry and
refuses sources whose entries would read back differently. Each file ends with the end marker
"0000" and one text line, so that no real entry's text is the file's last line (a reader reports
such an entry as missing).
"""

import os
import re
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCES = os.path.join(HERE, "help")
DEFAULT_OUT = os.path.join(os.path.dirname(HERE), "share")

MAX_LINES = 5
MAX_LINE_BYTES = 254        # 255 bytes or more are shown as an empty line
MAX_ENTRY_BYTES = 995       # the five lines together: the box adds a blank after each
                            # line and shows at most 1000 bytes
MAX_IMAGE_NAME = 8
MAX_IMAGE_INFO = 50
MAX_IMAGE_LINES = 130
END_MARKER = ["0000", "Ende der Hilfetexte"]

# Characters that exist in code page 850 and in the Windows code page alike and that the
# program's own plain-character table handles, besides printable ASCII.
EXTRA_CHARS = set("äöüÄÖÜß°²±µ")

HELP_FILES = [
    # source, shipped name, lowest number, highest number
    ("orvan.hlp.txt", "orvan.hlp", 1, 3999),
    ("velk.hlp.txt", "velk.hlp", 4000, 9999),
]
IMAGE_LIST = ("velk.dbh.txt", "velk.dbh")
NUMBERS = "numbers.txt"

IMAGE_NAME = re.compile(r"[a-z0-9_]{1,%d}" % MAX_IMAGE_NAME)
IMAGE_LINE = re.compile(r'"([^"]*)","([^"]*)"')


class SourceError(Exception):
    pass


def check_text(text, where):
    for ch in text:
        if not (" " <= ch <= "~" or ch in EXTRA_CHARS):
            raise SourceError("%s: character %r is not allowed" % (where, ch))
    return text.encode("cp850")


def number_of(line):
    """The number of a shipped line as a reader takes it: the first four characters as an
    integer (leading blanks and a sign accepted, as lenient readers do), or -1 for a text line."""
    head = line[:4]
    if len(head) < 4:
        return -1
    m = re.fullmatch(r"\s*([+-]?[0-9]+)", head)
    return int(m.group(1)) if m else -1


def looks_numeric(line):
    """True when some reader could take the line's first four characters for a number."""
    return bool(line) and (line[0] in "0123456789+-$ \t" or number_of(line) >= 0)


def read_entries(path, low, high):
    entries = []  # (number, image, [lines])
    current = None
    with open(path, encoding="utf-8") as f:
        for lineno, raw in enumerate(f, 1):
            line = raw.rstrip("\n").rstrip("\r")
            where = "%s:%d" % (os.path.basename(path), lineno)
            if line.startswith("#") or not line.strip():
                continue
            if line.startswith("@"):
                m = re.fullmatch(r"@([0-9]{4})(?::(.*))?", line.rstrip())
                if not m:
                    raise SourceError("%s: bad entry line %r" % (where, line))
                number = int(m.group(1))
                image = m.group(2)
                if image is not None and not IMAGE_NAME.fullmatch(image):
                    raise SourceError("%s: bad image name %r" % (where, image))
                if not low <= number <= high:
                    raise SourceError("%s: number %d does not belong in this file" % (where, number))
                current = (number, image, [], where)
                entries.append(current)
                continue
            if current is None:
                raise SourceError("%s: text before the first entry" % where)
            if line[0] in " \t":
                if not current[2]:
                    raise SourceError("%s: continuation without a line" % where)
                current[2][-1] += " " + line.strip()
            else:
                current[2].append(line.rstrip())
    return entries


def check_entry(number, image, lines, where, images):
    if not lines:
        raise SourceError("%s: entry %d has no text" % (where, number))
    if len(lines) > MAX_LINES:
        raise SourceError("%s: entry %d has %d lines" % (where, number, len(lines)))
    if number % 5 != 0 and len(lines) != 1:
        # Continuation lines of an in-between number would become lines of its neighbours.
        raise SourceError("%s: entry %d (not a multiple of 5) must have one line" % (where, number))
    if image is not None and image not in images:
        raise SourceError("%s: image %s is not in the image list" % (where, image))
    total = 0
    for i, text in enumerate(lines, 1):
        data = check_text(text, "%s: entry %d line %d" % (where, number, i))
        if len(data) > MAX_LINE_BYTES:
            raise SourceError("%s: entry %d line %d has %d bytes" % (where, number, i, len(data)))
        if looks_numeric(text):
            raise SourceError("%s: entry %d line %d starts like a number" % (where, number, i))
        total += len(data)
    if total > MAX_ENTRY_BYTES:
        raise SourceError("%s: entry %d has %d bytes" % (where, number, total))


def lookup(lines, wanted):
    """Replays a reader's lookup on the shipped lines: (five lines, image) or None."""
    i = 0
    n = len(lines)
    while i < n:
        line = lines[i]
        i += 1
        if i >= n:
            return None
        number = number_of(line)
        if number < 0:
            continue
        text = lines[i]
        i += 1
        if i >= n:
            return None
        if number != wanted:
            continue
        image = line.split(":", 1)[1] if ":" in line else "NULL"
        out = [text]
        for k in range(1, MAX_LINES):
            if i >= n:
                break
            nxt = lines[i]
            i += 1
            num = number_of(nxt)
            if num < 0:
                out.append(nxt)
            elif num % 5 == 0:
                break
            else:
                own = lines[i] if i < n else ""
                i += 1
                out.append(own if num == wanted + k else "")
        return out + [""] * (MAX_LINES - len(out)), image
    return None


def build_help(entries, images):
    numbers = [e[0] for e in entries]
    if numbers != sorted(numbers) or len(set(numbers)) != len(numbers):
        raise SourceError("entries must be in ascending order without repeats")
    shipped = []
    for number, image, lines, where in entries:
        check_entry(number, image, lines, where, images)
        shipped.append("%04d" % number + (":" + image if image else ""))
        shipped.extend(lines)
    shipped.extend(END_MARKER)
    for number, image, lines, where in entries:
        found = lookup(shipped, number)
        expected = (lines + [""] * (MAX_LINES - len(lines)), image or "NULL")
        if found != expected:
            raise SourceError("%s: entry %d reads back as %r" % (where, number, found))
    return shipped


def build_image_list(path):
    shipped = []
    names = set()
    with open(path, encoding="utf-8") as f:
        for lineno, raw in enumerate(f, 1):
            line = raw.rstrip("\n").rstrip("\r")
            where = "%s:%d" % (os.path.basename(path), lineno)
            if line.startswith("#") or not line.strip():
                continue
            m = IMAGE_LINE.fullmatch(line)
            if not m or not IMAGE_NAME.fullmatch(m.group(1)):
                raise SourceError("%s: not a '\"name\",\"description\"' line" % where)
            name, info = m.groups()
            data = check_text(info, where)
            if len(data) > MAX_IMAGE_INFO:
                raise SourceError("%s: description of %d bytes" % (where, len(data)))
            if name in names:
                raise SourceError("%s: %s listed twice" % (where, name))
            names.add(name)
            shipped.append(line)
    if not shipped or len(shipped) > MAX_IMAGE_LINES:
        raise SourceError("the image list needs 1 to %d lines" % MAX_IMAGE_LINES)
    return shipped, names


def read_numbers(path):
    numbers = {}
    with open(path, encoding="utf-8") as f:
        for lineno, raw in enumerate(f, 1):
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            m = re.match(r"([0-9]{4})\s+(\S+)\s+(.+)", line)
            if not m:
                raise SourceError("%s:%d: expected 'number file where'" % (NUMBERS, lineno))
            number = int(m.group(1))
            if number in numbers:
                raise SourceError("%s:%d: %d listed twice" % (NUMBERS, lineno, number))
            numbers[number] = m.group(2)
    return numbers


def encode(lines):
    return b"".join(line.encode("cp850") + b"\r\n" for line in lines)


def generate():
    """All shipped files as {name: bytes}."""
    image_lines, images = build_image_list(os.path.join(SOURCES, IMAGE_LIST[0]))
    files = {IMAGE_LIST[1]: encode(image_lines)}
    listed = read_numbers(os.path.join(SOURCES, NUMBERS))
    present = {}
    for source, name, low, high in HELP_FILES:
        entries = read_entries(os.path.join(SOURCES, source), low, high)
        files[name] = encode(build_help(entries, images))
        for e in entries:
            present[e[0]] = name
    for number, name in sorted(listed.items()):
        if present.get(number) != name:
            raise SourceError("%s: %d (%s) has no entry there" % (NUMBERS, number, name))
    for number, name in sorted(present.items()):
        if number not in listed:
            raise SourceError("entry %d of %s is not listed in %s" % (number, name, NUMBERS))
    return files


def write_atomic(path, data):
    folder = os.path.dirname(path) or "."
    fd, tmp = tempfile.mkstemp(dir=folder, prefix=".make_help-")
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        if os.path.exists(tmp):
            os.unlink(tmp)
        raise


def main(argv):
    out = DEFAULT_OUT
    check = False
    args = list(argv[1:])
    while args:
        arg = args.pop(0)
        if arg == "--out" and args:
            out = args.pop(0)
        elif arg == "--check":
            check = True
        else:
            sys.stderr.write(__doc__)
            return 2
    try:
        files = generate()
    except SourceError as e:
        sys.stderr.write("make_help: %s\n" % e)
        return 1
    status = 0
    for name, data in sorted(files.items()):
        path = os.path.join(out, name)
        if check:
            try:
                with open(path, "rb") as f:
                    same = f.read() == data
            except OSError:
                same = False
            if not same:
                sys.stderr.write("make_help: %s differs\n" % path)
                status = 1
        else:
            os.makedirs(out, exist_ok=True)
            write_atomic(path, data)
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
