#!/usr/bin/env python3
"""Writes the measurement files of a print run for the run benchmarks.

    bench/make_run.py DATA.ti3 N OUT_DIR

DATA is a real characterization data set in CGATS form with CMYK and LAB
columns (for example FOGRA39L.ti3 of the Debian package icc-profiles-free).
The script writes OUT_DIR/reference.txt (the data set's patches as an OK
sheet) and OUT_DIR/sheet00001.txt ... (N sheets), each the data set with
measurement noise and a drift that grows slowly over the run, in the form
measuring software exports: SAMPLE_ID, SAMPLE_NAME, CMYK and LAB columns,
tab-separated, two decimals, CR LF. The sheets' modification times rise one
second apart. Nothing derived from DATA is meant to be kept: write the files
at bench time into a scratch folder.

The same inputs give the same bytes (a fixed seed).
"""

import os
import random
import sys

CRLF = "\r\n"
SEED = 26


def read_cgats(path):
    """The patches of a CGATS file as (cmyk, lab) tuples."""
    with open(path, encoding="latin-1") as fh:
        lines = fh.read().splitlines()
    fields = None
    rows = []
    in_data = False
    for i, line in enumerate(lines):
        words = line.split()
        if not words:
            continue
        if words[0] == "BEGIN_DATA_FORMAT":
            fields = lines[i + 1].split()
        elif words[0] == "BEGIN_DATA":
            in_data = True
        elif words[0] == "END_DATA":
            in_data = False
        elif in_data:
            rows.append(words)
    if fields is None:
        sys.exit("%s: no BEGIN_DATA_FORMAT" % path)
    col = {name: k for k, name in enumerate(fields)}
    for name in ("CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K", "LAB_L", "LAB_A", "LAB_B"):
        if name not in col:
            sys.exit("%s: no %s column" % (path, name))
    out = []
    for r in rows:
        cmyk = [float(r[col[c]]) for c in ("CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K")]
        lab = [float(r[col[c]]) for c in ("LAB_L", "LAB_A", "LAB_B")]
        out.append((cmyk, lab))
    return out


def write_sheet(path, descriptor, patches):
    lines = [
        "CGATS.17",
        'ORIGINATOR "Korimo run benchmark"',
        'DESCRIPTOR "%s"' % descriptor,
        'KEYWORD "LGOROWLENGTH"',
        "LGOROWLENGTH 33",
        "NUMBER_OF_FIELDS 9",
        "BEGIN_DATA_FORMAT",
        "SAMPLE_ID\tSAMPLE_NAME\tCMYK_C\tCMYK_M\tCMYK_Y\tCMYK_K\tLAB_L\tLAB_A\tLAB_B",
        "END_DATA_FORMAT",
        "NUMBER_OF_SETS %d" % len(patches),
        "BEGIN_DATA",
    ]
    for i, (cmyk, lab) in enumerate(patches):
        cells = [str(i + 1), "P%d" % (i + 1)]
        cells += ["%.2f" % v for v in cmyk]
        cells += ["%.2f" % (round(v, 2) + 0.0) for v in lab]
        lines.append("\t".join(cells))
    lines.append("END_DATA")
    with open(path, "w", encoding="ascii", newline="") as fh:
        fh.write(CRLF.join(lines) + CRLF)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    data, count, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    patches = read_cgats(data)
    os.makedirs(out, exist_ok=True)
    write_sheet(os.path.join(out, "reference.txt"), "OK sheet", patches)
    rnd = random.Random(SEED)
    start = 1_700_000_000
    for n in range(count):
        # Ink film drifting over the run: darker and redder by up to about 1 dE.
        t = n / max(count - 1, 1)
        drift = (-0.8 * t, 0.5 * t, 0.3 * t)
        sheet = []
        for cmyk, lab in patches:
            coverage = sum(cmyk) / 400.0
            noisy = [v + d * coverage + rnd.gauss(0.0, 0.25) for v, d in zip(lab, drift)]
            sheet.append((cmyk, noisy))
        path = os.path.join(out, "sheet%05d.txt" % (n + 1))
        write_sheet(path, "sheet %d" % (n + 1), sheet)
        os.utime(path, (start + n, start + n))


if __name__ == "__main__":
    main()
