#!/usr/bin/env python3
# Generates the shipped dBASE III tables (velkwst.dbf, talmwst.dbf, printout.dbf) from the CSV
# files in tools/tables/, writing the bytes itself (standard library only), so the data stays text.
"""Usage: make_tables.py [--out DIR] [--check]

Without options the tables are written to share/ beside this tools/ folder. --out writes them to
another folder; --check compares what would be written with the files there and exits 1 on a
difference. The output is byte-for-byte reproducible: the header date is fixed (TABLE_DATE);
change it when the data changes.
"""

import csv
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCES = os.path.join(HERE, "tables")
DEFAULT_OUT = os.path.join(os.path.dirname(HERE), "share")

TABLE_DATE = (2026, 12, 10)  # header bytes 1-3: date of last update
LANGUAGE_DRIVER_CP850 = 0x02
VERSION_DBASE3 = 0x03


def numeric(name, length, decimals=0):
    return (name, "N", length, decimals)


def text(name, length):
    return (name, "C", length, 0)


def logical(name):
    return (name, "L", 1, 0)


def fatigue(upper, stroke, suffix, decrease_length, slope_length):
    """The five fatigue fields of one treatment: upper stress, its decrease per decade, stroke
    stress, its decrease, slope."""
    return [numeric(upper + suffix, 6), numeric("D" + upper + suffix, decrease_length),
            numeric(stroke + suffix, 6), numeric("D" + stroke + suffix, decrease_length),
            numeric("M" + suffix, slope_length, 3)]


# Strip materials: the 29 fields in the order the program reads them by position.
STRIP_FIELDS = (
    [text("NAME1", 20), text("NAME2", 30), text("NAME3", 20), text("NAME4", 20),
     numeric("E", 7), numeric("RHO", 6, 2), numeric("RM0", 6), numeric("T0", 7, 3),
     numeric("RMMAX", 6), numeric("KRM", 6), numeric("TG", 7, 3)]
    + fatigue("SIGO", "SIGH", "", 6, 6) + fatigue("SIGO", "SIGH", "_S", 6, 6)
    + [numeric("TMIN", 7, 3), numeric("TMAX", 7, 3), numeric("TEMPMAX", 5),
       numeric("RMUPPER", 8, 1), numeric("RESERVE", 8, 3), numeric("F", 5, 2),
       text("SOURCE", 15), numeric("NR", 4)])

# Wire materials: 27 fields. Name line 1 holds the 50 characters the new-material dialog allows;
# moduli, decreases per decade, slopes and limits are wide enough for every value that dialog
# accepts or computes within its ranges (a value too wide for its field would be lost).
WIRE_FIELDS = (
    [text("NAME1", 50), text("NAME2", 30), text("NAME3", 20), text("NAME4", 20),
     numeric("G", 9), numeric("E", 9), numeric("RHO", 6, 2), numeric("RM0", 6), numeric("D0", 7, 3),
     numeric("RMMAX", 6), numeric("KRM", 8), numeric("DG", 7, 3)]
    + fatigue("TAUO", "TAUH", "", 8, 8) + fatigue("TAUO", "TAUH", "_S", 8, 8)
    + [numeric("DMIN", 8, 3), numeric("DMAX", 8, 3), numeric("TMAX", 5),
       text("SOURCE", 15), numeric("NR", 6)])

# Stored print layouts, read and written by field name.
PRINTOUT_FIELDS = [text("NAME", 25), numeric("XSCALE", 10, 4), numeric("YSCALE", 10, 4),
                   numeric("XORIGIN", 6), numeric("YORIGIN", 6), logical("LANDSCAPE"),
                   logical("MONOCHROM"), logical("VARIABLE"), logical("BORDERLINE")]

TABLES = [("velkwst.dbf", "strip.csv", STRIP_FIELDS),
          ("talmwst.dbf", "wire.csv", WIRE_FIELDS),
          ("printout.dbf", "printout.csv", PRINTOUT_FIELDS)]


class DataError(Exception):
    pass


def encode_value(field, value, where):
    name, kind, length, decimals = field
    value = value.strip() if kind != "C" else value.rstrip()
    if kind == "C":
        try:
            raw = value.encode("cp850")
        except UnicodeEncodeError as e:
            raise DataError(f"{where}: {name}: not representable in code page 850: {e}")
        if len(raw) > length:
            raise DataError(f"{where}: {name}: {value!r} is longer than {length} characters")
        return raw.ljust(length, b" ")
    if kind == "L":
        if value.upper() not in ("T", "F", ""):
            raise DataError(f"{where}: {name}: logical value must be T or F, not {value!r}")
        return (value.upper() or " ").encode("ascii")
    if value == "":
        return b" " * length
    try:
        number = float(value)
    except ValueError:
        raise DataError(f"{where}: {name}: {value!r} is not a number")
    if decimals == 0 and number != int(number):
        raise DataError(f"{where}: {name}: {value!r} must be an integer")
    rendered = f"{number:.{decimals}f}"
    if rendered.startswith("-0") and float(rendered) == 0:
        rendered = rendered[1:]
    if len(rendered) > length:
        raise DataError(f"{where}: {name}: {value!r} does not fit {length}.{decimals}")
    return rendered.rjust(length).encode("ascii")


def table_bytes(fields, rows, source):
    record_length = 1 + sum(f[2] for f in fields)
    header_length = 32 + 32 * len(fields) + 1
    year, month, day = TABLE_DATE
    header = bytearray(32)
    header[0] = VERSION_DBASE3
    header[1:4] = bytes([year - 1900, month, day])
    header[4:8] = len(rows).to_bytes(4, "little")
    header[8:10] = header_length.to_bytes(2, "little")
    header[10:12] = record_length.to_bytes(2, "little")
    header[29] = LANGUAGE_DRIVER_CP850
    out = bytearray(header)
    for name, kind, length, decimals in fields:
        if len(name) > 10:
            raise DataError(f"{source}: field name {name} is longer than 10 characters")
        d = bytearray(32)
        d[0:len(name)] = name.encode("ascii")
        d[11] = ord(kind)
        d[16] = length
        d[17] = decimals
        out += d
    out += b"\x0d"
    for number, row in enumerate(rows, start=2):
        if len(row) != len(fields):
            raise DataError(f"{source}:{number}: {len(row)} values for {len(fields)} fields")
        record = b" " + b"".join(encode_value(f, v, f"{source}:{number}") for f, v in zip(fields, row))
        assert len(record) == record_length
        out += record
    out += b"\x1a"
    return bytes(out)


def build(csv_name, fields):
    path = os.path.join(SOURCES, csv_name)
    with open(path, encoding="utf-8", newline="") as f:
        rows = [r for r in csv.reader(f) if r]
    names = [f[0] for f in fields]
    if rows[0] != names:
        raise DataError(f"{csv_name}: header {rows[0]} does not name the fields {names}")
    return table_bytes(fields, rows[1:], csv_name)


def write_atomically(path, data):
    folder = os.path.dirname(path) or "."
    fd, tmp = tempfile.mkstemp(prefix="." + os.path.basename(path) + ".", dir=folder)
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        os.chmod(tmp, 0o644)
        os.replace(tmp, path)
    except BaseException:
        os.unlink(tmp)
        raise


def main(argv):
    out = DEFAULT_OUT
    check = False
    args = list(argv)
    while args:
        a = args.pop(0)
        if a == "--out" and args:
            out = args.pop(0)
        elif a == "--check":
            check = True
        else:
            print(__doc__, file=sys.stderr)
            return 2
    try:
        tables = [(name, build(csv_name, fields)) for name, csv_name, fields in TABLES]
    except DataError as e:
        print(f"make_tables: {e}", file=sys.stderr)
        return 1
    differs = False
    for name, data in tables:
        path = os.path.join(out, name)
        if check:
            try:
                with open(path, "rb") as f:
                    same = f.read() == data
            except OSError:
                same = False
            if not same:
                print(f"make_tables: {path} differs from the CSV sources", file=sys.stderr)
                differs = True
        else:
            write_atomically(path, data)
    return 1 if differs else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
