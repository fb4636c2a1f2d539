#!/usr/bin/env python3
"""Writes the edge-case measurement files under tests/golden/inputs/.

The files are committed; this script documents how they were made and can
rebuild them byte for byte (fixed seed). Run from the repository root:

    python3 tests/golden/make_inputs.py
"""

import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "inputs")
rng = random.Random(20261207)


def lab(base=50.0, spread=30.0):
    return (round(base + rng.uniform(-spread, spread) * 0.5, 2),
            round(rng.uniform(-spread, spread), 2),
            round(rng.uniform(-spread, spread), 2))


def write(name, lines, eol="\r\n", encoding="ascii", bom=b""):
    data = bom + eol.join(lines).encode(encoding) + eol.encode(encoding)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def cgats(rows, fields=("SAMPLE_ID", "SAMPLE_NAME", "LAB_L", "LAB_A", "LAB_B"),
          row_length=None, sep="\t", end=True):
    lines = ["CGATS.17"]
    if row_length is not None:
        lines.append("LGOROWLENGTH %d" % row_length)
    lines += ["BEGIN_DATA_FORMAT", sep.join(fields), "END_DATA_FORMAT", "BEGIN_DATA"]
    lines += [sep.join(str(c) for c in r) for r in rows]
    if end:
        lines.append("END_DATA")
    return lines


def patches(n, ids, values):
    return [(i + 1, ids(i), "%.2f" % v[0], "%.2f" % v[1], "%.2f" % v[2])
            for i, v in zip(range(n), values)]


def grid_id(i, rows=10):
    return "%s%d" % (chr(ord("A") + i // rows % 26), 1 + i % rows)


def main():
    os.makedirs(OUT, exist_ok=True)

    # More than 3000 data lines (the reader stops at 3000 with a message),
    # and exactly 3000 followed by END_DATA.
    values = [lab() for _ in range(3001)]
    write("over3000.txt", cgats(patches(3001, lambda i: "P%d" % (i + 1), values)))
    write("exact3000.txt", cgats(patches(3000, lambda i: "P%d" % (i + 1),
                                         [(v[0] + 0.3, v[1] - 0.2, v[2]) for v in values])))

    # Ties: File1 lies one of four fixed steps from a flat Reference, so the
    # differences repeat and the sort order of equal keys shows.
    ref = [(50.0, 0.0, 0.0)] * 60
    steps = [0.5, 1.0, 1.0, 2.0]
    f1 = [(50.0 + steps[(i * 7) % 4], 0.0, 0.0) for i in range(60)]
    f2 = [(50.0, steps[(i * 5) % 4], -steps[(i * 3) % 4]) for i in range(60)]
    write("ties-ref.txt", cgats(patches(60, grid_id, ref), row_length=10))
    write("ties-f1.txt", cgats(patches(60, grid_id, f1), row_length=10))
    write("ties-f2.txt", cgats(patches(60, grid_id, f2), row_length=10))

    # Missing columns: no LAB_A (a* falls back to the first field), a name
    # column after the Lab columns (not seen), no field-name line at all.
    base = [lab() for _ in range(12)]
    write("no-lab-a.txt", cgats(patches(12, grid_id, base),
                                fields=("SAMPLE_ID", "SAMPLE_NAME", "LAB_L", "LAB_X", "LAB_B")))
    write("name-after-lab.txt",
          cgats([(i + 1, "%.2f" % v[0], "%.2f" % v[1], "%.2f" % v[2], grid_id(i))
                 for i, v in enumerate(base)],
                fields=("SAMPLE_ID", "LAB_L", "LAB_A", "LAB_B", "SAMPLE_NAME")))
    lines = ["CGATS.17", "BEGIN_DATA"] + ["%.2f %.2f %.2f" % v for v in base] + ["END_DATA"]
    write("no-field-names.txt", lines)

    # The same chart with three kinds of line ends, blank-separated.
    chart = patches(12, grid_id, [(v[0] + 1, v[1], v[2] - 1) for v in base])
    for name, eol in (("crlf.txt", "\r\n"), ("lf.txt", "\n"), ("cr.txt", "\r")):
        write(name, cgats(chart, sep=" "), eol=eol)

    # Japanese identifiers in CP932 (Shift_JIS family) and in UTF-8 with a
    # byte-order mark; some longer than the five characters the grid shows.
    jp = ["基準%d" % i if i % 3 else "色票パッチ%d" % i for i in range(12)]
    write("cp932-ids.txt", cgats(patches(12, lambda i: jp[i], base)), encoding="cp932")
    write("utf8-ids.txt", cgats(patches(12, lambda i: jp[i], base)), encoding="utf-8",
          bom=b"\xef\xbb\xbf")

    # Quotes and decimal commas, and a file without END_DATA.
    rows = [('"%d"' % (i + 1), '"%s"' % grid_id(i), ("%.2f" % v[0]).replace(".", ","),
             '"%.2f"' % v[1], "%.2f" % v[2]) for i, v in enumerate(base)]
    write("quotes-commas.txt", cgats(rows, end=False))

    # Counts that differ: a short File1 and a long File2 for the 12 patches.
    write("short-f1.txt", cgats(patches(8, grid_id, [lab() for _ in range(8)])))
    write("long-f2.txt", cgats(patches(20, grid_id, [lab() for _ in range(20)])))

    # Identifiers only in SAMPLE_ID (plain numbers), and a file without BEGIN_DATA.
    write("sample-id-only.txt",
          cgats([(i + 1, "%.2f" % v[0], "%.2f" % v[1], "%.2f" % v[2]) for i, v in enumerate(base)],
                fields=("SAMPLE_ID", "LAB_L", "LAB_A", "LAB_B")))
    write("no-begin-data.txt", ["CGATS.17", "SAMPLE_NAME LAB_L LAB_A LAB_B", "A1 50 0 0"])


if __name__ == "__main__":
    main()
