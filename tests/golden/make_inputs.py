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


# The pairing charts draw from their own generator, so that the files above
# keep their bytes.
prng = random.Random(20270115)

PAIR_FIELDS = ("SAMPLE_ID", "SAMPLE_NAME", "CMYK_C", "CMYK_M", "CMYK_Y", "CMYK_K",
               "LAB_L", "LAB_A", "LAB_B")


def recipes():
    """40 CMYK recipes of a small print chart: paper, solids, tints,
    overprints, greys; paper white comes twice (first and last), so a
    repeated recipe pairs in file order."""
    out = [(0, 0, 0, 0)]
    for c in range(4):
        for tone in (100, 70, 40, 20):
            r = [0, 0, 0, 0]
            r[c] = tone
            out.append(tuple(r))
    out += [(100, 100, 0, 0), (100, 0, 100, 0), (0, 100, 100, 0), (100, 100, 100, 0)]
    out += [(t, round(t * 0.74), round(t * 0.74), 0) for t in (75, 50, 25)]
    while len(out) < 39:
        r = tuple(prng.choice((0, 10, 30, 60, 80)) for _ in range(3)) + (prng.choice((0, 20)),)
        if r not in out:
            out.append(r)
    out.append((0, 0, 0, 0))
    return out


def lab_of(cmyk):
    """A rough colour for a recipe; only needs to be plausible."""
    c, m, y, k = (v / 100 for v in cmyk)
    L = 95 - 40 * c - 45 * m - 8 * y - 80 * k + 20 * c * m
    a = -35 * c + 70 * m - 5 * y
    b = -45 * c - 5 * m + 90 * y
    return (L, a, b)


def device_rows(patches):
    """patches: (name, recipe, lab); SAMPLE_ID numbers them in file order."""
    return [(n + 1, name, *("%.2f" % v for v in rec), *("%.2f" % v for v in lab))
            for n, (name, rec, lab) in enumerate(patches)]


def nudge(lab, spread):
    return tuple(v + prng.uniform(-spread, spread) for v in lab)


def pairing_charts():
    # The Reference: 40 patches of a CMYK chart, named A1..E8 column by column.
    ref = [(grid_id(i, 8), r, lab_of(r)) for i, r in enumerate(recipes())]
    write("pair-ref.txt", cgats(device_rows(ref), fields=PAIR_FIELDS, row_length=8))

    # The same patches measured in another order, a little off.
    shuffled = [(name, rec, nudge(lab, 1.5)) for name, rec, lab in ref]
    prng.shuffle(shuffled)
    write("pair-shuffled.txt", cgats(device_rows(shuffled), fields=PAIR_FIELDS, row_length=8))

    # Six Reference patches missing, four the Reference does not have.
    kept = [p for i, p in enumerate(ref) if i not in (3, 9, 17, 22, 30, 36)]
    extra = [("X%d" % (i + 1), r, lab_of(r))
             for i, r in enumerate([(15, 15, 15, 0), (5, 5, 5, 5), (90, 0, 45, 0), (0, 45, 90, 0)])]
    incomplete = [(name, rec, nudge(lab, 3.0)) for name, rec, lab in kept + extra]
    prng.shuffle(incomplete)
    write("pair-incomplete.txt", cgats(device_rows(incomplete), fields=PAIR_FIELDS,
                                       row_length=8))

    # One identifier twice: pairing by ID gives up; device values still pair.
    dup = list(shuffled)
    dup[11] = (dup[4][0], dup[11][1], dup[11][2])
    write("pair-dup-id.txt", cgats(device_rows(dup), fields=PAIR_FIELDS, row_length=8))

    # Two names swapped: ID pairs them with the other's recipe.
    renamed = list(shuffled)
    renamed[2], renamed[7] = ((renamed[7][0],) + renamed[2][1:], (renamed[2][0],) + renamed[7][1:])
    write("pair-renamed.txt", cgats(device_rows(renamed), fields=PAIR_FIELDS, row_length=8))

    # An RGB chart of 30 patches: device values of another colour space.
    rgb = []
    for i in range(30):
        r, g, b = (prng.choice((0, 64, 128, 192, 255)) for _ in range(3))
        rgb.append((i + 1, grid_id(i, 8), r, g, b, "%.2f" % (30 + r / 255 * 40 + g / 255 * 25),
                    "%.2f" % ((r - g) / 255 * 60), "%.2f" % ((g - b) / 255 * 50)))
    write("pair-rgb.txt", cgats(rgb, fields=("SAMPLE_ID", "SAMPLE_NAME", "RGB_R", "RGB_G",
                                             "RGB_B", "LAB_L", "LAB_A", "LAB_B"), row_length=8))

    # Criteria by the Reference's roles, for the wedge samples.
    lines = ["# Criteria of the wedge by its roles, for the golden runs.", "name: Wedge roles",
             "mw3:de00:max<=3", "mw3:de00:avg<=1", "paper:de:max<=3", "solids:dh:max<=2.5",
             "overprints:de00:avg<=2", "grey:dch:pct95<=1.5", "solids-cmy:dl:best10<=0.1"]
    write("wedge-criteria.txt", lines, eol="\n")

    # 15 and 14 of the Reference's patches, shuffled: "Best10%" and "95%" of a
    # pair that meets by ID or device values are shown from 15 paired patches.
    for name, part in (("pair-fifteen.txt", ref[:15]), ("pair-fourteen.txt", ref[10:24])):
        chart = [(n, rec, nudge(lab, 2.0)) for n, rec, lab in part]
        prng.shuffle(chart)
        write(name, cgats(device_rows(chart), fields=PAIR_FIELDS, row_length=8))


# L*a*b* computed from XYZ and from reflectance, with a generator of their
# own: the files above keep their bytes.
def computed_charts():
    crng = random.Random(20271208)
    # XYZ on the 0-100 scale, D50/2 degree by default.
    rows = []
    for i in range(24):
        y = crng.uniform(2, 95)
        rows.append((i + 1, "%.4f" % (y * crng.uniform(0.8, 1.1)), "%.4f" % y,
                     "%.4f" % (y * crng.uniform(0.6, 1.2))))
    write("xyz-d50.txt", cgats(rows, fields=("SAMPLE_ID", "XYZ_X", "XYZ_Y", "XYZ_Z")))
    # Reflectance 380-730 nm in 10 nm bands, as fractions, declared D50/2 degree.
    bands = list(range(380, 740, 10))
    rows = []
    for i in range(24):
        peak = crng.uniform(400, 700)
        width = crng.uniform(40, 150)
        floor = crng.uniform(0.02, 0.3)
        height = crng.uniform(0.2, 0.7)
        values = [floor + height * 2.718281828 ** (-((nm - peak) / width) ** 2) for nm in bands]
        rows.append((i + 1,) + tuple("%.4f" % v for v in values))
    lines = cgats(rows, fields=("SAMPLE_ID",) + tuple("SPECTRAL_NM%d" % nm for nm in bands))
    lines.insert(1, 'WEIGHTING_FUNCTION "ILLUMINANT, D50"')
    lines.insert(2, 'WEIGHTING_FUNCTION "OBSERVER, 2 degree"')
    write("reflectance-d50.txt", lines)


if __name__ == "__main__":
    main()
    pairing_charts()
    computed_charts()
