#!/usr/bin/env python3
"""Generate Korimo's bundled sample measurement files.

The output is synthetic: every value is computed here from a fixed random
seed, so the files can be rebuilt byte for byte at any time.

Run from the repository root:

    python3 samples/generate.py
        rewrites the bundled files in samples/:
        small-{reference,file1,file2}.txt  24 patches, 4 rows x 6 columns
        large-{reference,file1,file2}.txt  1600 CMYK patches, 40 x 40
        wedge-{reference,proof-pass,proof-fail}.txt
                                           the 72 patches of a Media Wedge
                                           CMYK V3 and two proofs of it
        small-reference.cxf                the small Reference as CxF3
        run/sheet-01.txt .. sheet-30.txt, run/tally.txt
                                           a print run of the wedge

    python3 samples/generate.py --patches N --out DIR
        writes reference.txt, file1.txt and file2.txt for a chart of N
        patches into DIR, in the format of the large chart

    python3 samples/generate.py --out DIR
        writes the bundled files into DIR instead of samples/

After writing, the script reads its files back, checks their structure and
prints the mean and maximum CIE 1976 colour difference of File1 and File2
against the Reference.
"""

import argparse
import math
import os
import random
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape, quoteattr

SEED = 20250115
CREATED = "2025-01-15"
ORIGINATOR = "Korimo sample generator"
CRLF = "\r\n"

# The reader only honours a row length that appears before the field-name
# line, so the generator always writes it ahead of BEGIN_DATA_FORMAT.
SMALL_FIELDS = ["SAMPLE_ID", "SAMPLE_NAME", "LAB_L", "LAB_A", "LAB_B"]
LARGE_FIELDS = ["SAMPLE_ID", "SAMPLE_NAME", "CMYK_C", "CMYK_M", "CMYK_Y",
                "CMYK_K", "LAB_L", "LAB_A", "LAB_B"]

MAX_PATCHES = 100000  # keeps identifiers within five characters

# ---------------------------------------------------------------------------
# CIELAB <-> XYZ (D50, 2 degree observer)

WHITE_D50 = (0.96422, 1.0, 0.82521)
EPS = 216.0 / 24389.0
KAPPA = 24389.0 / 27.0


def lab_to_xyz(lab):
    L, a, b = lab
    fy = (L + 16.0) / 116.0
    fx = fy + a / 500.0
    fz = fy - b / 200.0

    def finv(f):
        f3 = f * f * f
        return f3 if f3 > EPS else (116.0 * f - 16.0) / KAPPA

    yr = fy ** 3 if L > KAPPA * EPS else L / KAPPA
    return (finv(fx) * WHITE_D50[0], yr * WHITE_D50[1], finv(fz) * WHITE_D50[2])


def xyz_to_lab(xyz):
    def f(t):
        return t ** (1.0 / 3.0) if t > EPS else (KAPPA * t + 16.0) / 116.0

    fx, fy, fz = (f(v / w) for v, w in zip(xyz, WHITE_D50))
    return (116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz))


def delta_e76(p, q):
    return math.sqrt(sum((x - y) ** 2 for x, y in zip(p, q)))


# ---------------------------------------------------------------------------
# Output helpers


def fmt2(v):
    r = round(v, 2) + 0.0  # + 0.0 turns -0.0 into 0.0
    return "%.2f" % r


def column_label(g):
    """0 -> A, 25 -> Z, 26 -> AA, ... (spreadsheet style)."""
    s = ""
    g += 1
    while g > 0:
        g, r = divmod(g - 1, 26)
        s = chr(ord("A") + r) + s
    return s


def clamp_lab(lab):
    L, a, b = lab
    return (min(100.0, max(0.0, L)), min(127.0, max(-127.0, a)),
            min(127.0, max(-127.0, b)))


def write_file(path, descriptor, rows, fields, records, extra_keywords=()):
    """records: list of (sample_name, [device values...], (L, a, b))."""
    lines = [
        "CGATS.17",
        'ORIGINATOR "%s"' % ORIGINATOR,
        'DESCRIPTOR "%s"' % descriptor,
        'CREATED "%s"' % CREATED,
    ]
    lines.extend(extra_keywords)
    lines += [
        'KEYWORD "LGOROWLENGTH"',
        "LGOROWLENGTH %d" % rows,
        "NUMBER_OF_FIELDS %d" % len(fields),
        "BEGIN_DATA_FORMAT",
        "\t".join(fields),
        "END_DATA_FORMAT",
        "NUMBER_OF_SETS %d" % len(records),
        "BEGIN_DATA",
    ]
    for i, (name, device, lab) in enumerate(records):
        cols = [str(i + 1), name]
        cols += [fmt2(v) for v in device]
        cols += [fmt2(v) for v in lab]
        lines.append("\t".join(cols))
    lines.append("END_DATA")
    # newline="" so that Python writes the CR LF pairs untouched on any OS
    with open(path, "w", encoding="ascii", newline="") as fh:
        fh.write(CRLF.join(lines) + CRLF)


# ---------------------------------------------------------------------------
# Small chart: 24 typical colours of a photographic colour chart
#
# Approximate D50 values written for this project from general knowledge of
# such charts; they are not a copy of any published data set.
# Rows top to bottom, columns left to right, as the chart is usually shown.

SMALL_CHART = [
    [("dark skin", (38.0, 13.5, 14.5)),
     ("light skin", (65.8, 18.0, 17.5)),
     ("blue sky", (50.0, -5.0, -22.0)),
     ("foliage", (43.0, -13.0, 22.0)),
     ("blue flower", (55.0, 9.0, -25.0)),
     ("bluish green", (70.5, -33.0, 0.0))],
    [("orange", (62.5, 36.0, 57.0)),
     ("purplish blue", (40.0, 10.5, -46.0)),
     ("moderate red", (51.0, 48.0, 16.5)),
     ("purple", (30.5, 23.0, -21.5)),
     ("yellow green", (72.5, -24.0, 57.0)),
     ("orange yellow", (72.0, 19.5, 68.0))],
    [("blue", (29.0, 14.0, -50.0)),
     ("green", (55.0, -38.5, 31.5)),
     ("red", (42.0, 53.5, 28.5)),
     ("yellow", (81.5, 4.0, 80.0)),
     ("magenta", (52.0, 50.0, -14.5)),
     ("cyan", (51.0, -28.5, -28.5))],
    [("white", (96.5, -0.5, 1.5)),
     ("neutral 8", (81.0, -0.5, -0.5)),
     ("neutral 6.5", (66.8, -0.5, -0.5)),
     ("neutral 5", (51.0, 0.0, -0.5)),
     ("neutral 3.5", (35.5, -0.5, -1.0)),
     ("black", (20.5, 0.0, -1.0))],
]
SMALL_ROWS = len(SMALL_CHART)
SMALL_COLS = len(SMALL_CHART[0])
SMALL_WORST = "orange yellow"  # the one clearly worst patch of File2


def offset_vector(rnd, magnitude, bias):
    """A Lab offset of the given length whose direction leans on bias."""
    v = [bias[0] + 0.6 * rnd.gauss(0.0, 1.0),
         bias[1] + rnd.gauss(0.0, 1.0),
         bias[2] + rnd.gauss(0.0, 1.0)]
    n = math.sqrt(sum(x * x for x in v)) or 1.0
    return [magnitude * x / n for x in v]


def small_chart():
    rnd = random.Random(SEED)
    # The chart reader places patch p in column p // rows, so the patches are
    # listed column by column to keep the familiar picture.
    patches = []
    for g in range(SMALL_COLS):
        for k in range(SMALL_ROWS):
            name, nominal = SMALL_CHART[k][g]
            ident = column_label(g) + str(k + 1)
            patches.append((ident, name, nominal))

    reference = []
    for ident, _, nominal in patches:
        lab = [c + rnd.gauss(0.0, 0.08) for c in nominal]
        reference.append(clamp_lab(lab))

    def deviate(lo, hi, bias, worst):
        out = []
        for (ident, name, nominal), ref in zip(patches, reference):
            chroma = math.hypot(nominal[1], nominal[2])
            # saturated colours drift a little more than neutrals
            u = 0.55 * rnd.random() + 0.45 * min(1.0, chroma / 70.0) * rnd.random()
            mag = lo + (hi - lo) * u
            if worst is not None and name == worst[0]:
                mag = worst[1]
            off = offset_vector(rnd, mag, bias)
            out.append(clamp_lab([r + o for r, o in zip(ref, off)]))
        return out

    file1 = deviate(0.5, 2.2, (0.2, 0.3, -0.4), None)
    file2 = deviate(1.0, 4.0, (-0.5, 0.6, 0.8), (SMALL_WORST, 6.8))

    ids = [p[0] for p in patches]
    return ids, reference, file1, file2


# ---------------------------------------------------------------------------
# Large chart: CMYK patches printed by a simple offset-press model
#
# Demichel weights over the 16 Neugebauer primaries, Yule-Nielsen mixing in
# XYZ, per-ink dot gain and per-ink density.  The primaries are rough values
# for process inks on coated paper, again written from general knowledge.

PAPER = (95.0, 0.5, -2.5)
CMY_PRIMARIES = {      # bit 1 cyan, bit 2 magenta, bit 4 yellow
    0: PAPER,
    1: (55.0, -37.0, -50.0),
    2: (48.0, 74.0, -3.0),
    4: (89.0, -5.0, 93.0),
    3: (24.0, 22.0, -46.0),
    5: (50.0, -65.0, 27.0),
    6: (47.0, 68.0, 48.0),
    7: (23.0, 0.5, -0.5),
}
BLACK = (16.0, 0.0, 0.0)
BLACK_OVERPRINT_GAMMA = 0.3  # ink on ink darkens less than the product
YULE_NIELSEN_N = 2.0
INKS = ("C", "M", "Y", "K")
TOTAL_AREA_LIMIT = 340


class Press:
    """Printing conditions; deviations from the nominal press model drift."""

    def __init__(self, density=(0, 0, 0, 0), gain=(0.06, 0.07, 0.06, 0.08),
                 paper_shift=(0.0, 0.0, 0.0)):
        self.density = density
        self.gain = gain
        self.paper_shift = paper_shift
        self._paper0 = lab_to_xyz(PAPER)
        self._single = [lab_to_xyz(CMY_PRIMARIES[1]), lab_to_xyz(CMY_PRIMARIES[2]),
                        lab_to_xyz(CMY_PRIMARIES[4]), lab_to_xyz(BLACK)]
        self._cmy = {k: lab_to_xyz(v) for k, v in CMY_PRIMARIES.items()}
        self._cache = {}

    def _primaries(self, density):
        key = tuple(round(d, 4) for d in density)
        if key in self._cache:
            return self._cache[key]
        paper = lab_to_xyz(tuple(p + s for p, s in zip(PAPER, self.paper_shift)))
        p0 = self._paper0
        # relative transmittance of each ink layer, raised by its density change
        rel = [[(s[j] / p0[j]) for j in range(3)] for s in self._single]
        prims = {}
        for mask, xyz in self._cmy.items():
            v = [paper[j] * xyz[j] / p0[j] for j in range(3)]
            for i in range(3):
                if mask & (1 << i):
                    v = [v[j] * rel[i][j] ** density[i] for j in range(3)]
            prims[mask] = v
        black = [paper[j] * rel[3][j] ** (1.0 + density[3]) for j in range(3)]
        for mask in range(8):
            base = prims[mask]
            prims[mask | 8] = [black[j] * (base[j] / paper[j]) ** BLACK_OVERPRINT_GAMMA
                               for j in range(3)]
        self._cache[key] = prims
        return prims

    def print_lab(self, cmyk, local_density=(0, 0, 0, 0)):
        density = [d + l for d, l in zip(self.density, local_density)]
        prims = self._primaries(density)
        cover = []
        for i, c in enumerate(cmyk):
            a = c / 100.0
            cover.append(min(1.0, a + 4.0 * self.gain[i] * a * (1.0 - a)))
        acc = [0.0, 0.0, 0.0]
        inv_n = 1.0 / YULE_NIELSEN_N
        for mask in range(16):
            w = 1.0
            for i in range(4):
                w *= cover[i] if mask & (1 << i) else 1.0 - cover[i]
            if w == 0.0:
                continue
            for j in range(3):
                acc[j] += w * prims[mask][j] ** inv_n
        return xyz_to_lab([v ** YULE_NIELSEN_N for v in acc])


def chart_shape(n):
    rows = max(1, int(round(math.sqrt(n))))
    cols = -(-n // rows)
    return rows, cols


def cmyk_content(n, rnd):
    """Device values for n patches: ramps, CMY grids at several K, then fill."""
    core = []
    steps = [5 * i for i in range(21)]
    core += [(0, 0, 0, k) for k in steps]                          # K ramp
    core += [(t, 0.8 * t, 0.8 * t, 0) for t in steps]              # CMY grey
    for i in range(3):                                             # C, M, Y
        for t in steps[1:]:
            v = [0, 0, 0, 0]
            v[i] = t
            core.append(tuple(v))
    for a, b in ((1, 2), (0, 2), (0, 1)):                          # R, G, B
        for t in range(10, 101, 10):
            v = [0, 0, 0, 0]
            v[a] = v[b] = t
            core.append(tuple(v))
    grids = [
        (0, (0, 10, 20, 40, 60, 80, 100)),
        (20, (0, 20, 40, 60, 80, 100)),
        (40, (0, 20, 40, 60, 80, 100)),
        (60, (0, 25, 50, 75, 100)),
        (80, (0, 40, 70, 100)),
        (100, (0, 50, 100)),
    ]
    for k, levels in grids:
        for y in levels:
            for m in levels:
                for c in levels:
                    if c + m + y + k <= TOTAL_AREA_LIMIT:
                        core.append((c, m, y, k))

    if n <= len(core):
        return [core[(i * len(core)) // n] for i in range(n)]

    out = list(core)
    while len(out) < n:
        v = tuple(float(int(rnd.random() * 101)) for _ in range(4))
        if sum(v) <= TOTAL_AREA_LIMIT:
            out.append(v)
    return out


class HotSpot:
    """A local density error on the sheet (chart coordinates 0..1)."""

    def __init__(self, u, v, radius, ink, strength):
        self.u, self.v, self.radius = u, v, radius
        self.ink, self.strength = ink, strength

    def density(self, u, v):
        d2 = ((u - self.u) ** 2 + (v - self.v) ** 2) / (self.radius ** 2)
        out = [0.0, 0.0, 0.0, 0.0]
        out[self.ink] = self.strength * math.exp(-d2)
        return out


class Measurement:
    def __init__(self, press, spots, noise, outlier_rate, outlier_range):
        self.press = press
        self.spots = spots
        self.noise = noise
        self.outlier_rate = outlier_rate
        self.outlier_range = outlier_range


def large_chart(n):
    rows, cols = chart_shape(n)
    content = cmyk_content(n, random.Random(SEED + 1))

    nominal = Press()
    drift1 = Press(density=(0.01, 0.02, -0.01, 0.01),
                   gain=(0.06, 0.075, 0.06, 0.08),
                   paper_shift=(-0.1, 0.05, -0.2))
    drift2 = Press(density=(-0.02, 0.04, 0.02, 0.03),
                   gain=(0.07, 0.085, 0.07, 0.095),
                   paper_shift=(-0.2, 0.1, 0.4))
    runs = [
        Measurement(nominal, [], (0.10, 0.15), 0.0, (0.0, 0.0)),
        Measurement(drift1, [HotSpot(0.72, 0.30, 0.10, 1, 0.10)],
                    (0.12, 0.18), 0.015, (1.5, 4.0)),
        Measurement(drift2, [HotSpot(0.25, 0.65, 0.09, 1, 0.22),
                             HotSpot(0.80, 0.80, 0.07, 3, 0.25),
                             HotSpot(0.55, 0.15, 0.12, 0, -0.20)],
                    (0.15, 0.22), 0.03, (2.0, 6.0)),
    ]

    ids = []
    for p in range(n):
        g, k = divmod(p, rows)
        ids.append(column_label(g) + str(k + 1))

    sets = []
    for r, run in enumerate(runs):
        rnd = random.Random(SEED + 10 + r)
        labs = []
        for p, cmyk in enumerate(content):
            g, k = divmod(p, rows)
            u, v = (g + 0.5) / cols, (k + 0.5) / rows
            local = [0.0, 0.0, 0.0, 0.0]
            for spot in run.spots:
                local = [a + b for a, b in zip(local, spot.density(u, v))]
            lab = list(run.press.print_lab(cmyk, local))
            lab[0] += rnd.gauss(0.0, run.noise[0])
            lab[1] += rnd.gauss(0.0, run.noise[1])
            lab[2] += rnd.gauss(0.0, run.noise[1])
            # a few stray readings: dust, a misplaced aperture
            if rnd.random() < run.outlier_rate:
                lo, hi = run.outlier_range
                off = offset_vector(rnd, lo + (hi - lo) * rnd.random(), (0, 0, 0))
                lab = [a + b for a, b in zip(lab, off)]
            labs.append(clamp_lab(lab))
        sets.append(labs)
    return rows, ids, content, sets


# ---------------------------------------------------------------------------
# Media Wedge CMYK V3: a press-model Reference and two proofs of it

# The 72 recipes of the Fogra Media Wedge CMYK V3 in wedge order (C, M, Y, K).
def media_wedge_v3():
    tints = (100, 70, 40, 20, 10)
    w = [(t, 0, 0, 0) for t in tints] + [(0, t, 0, 0) for t in tints] \
        + [(0, 0, t, 0) for t in tints]
    w += [(0, 0, 0, k) for k in (10, 20, 40, 60, 80, 100)]
    w += [(0, 100, 0, 100), (0, 70, 70, 60), (0, 0, 70, 80)]
    w += [(t, t, 0, 0) for t in tints] + [(0, t, t, 0) for t in tints] \
        + [(t, 0, t, 0) for t in tints]
    w += WEDGE_GREY
    w += [(100, 0, 0, 100), (20, 100, 70, 60), (70, 0, 70, 80)]
    w += [(t, t, t, 0) for t in tints]
    w += [(20, 70, 70, 0), (40, 70, 70, 20), (40, 100, 100, 20), (40, 100, 40, 20),
          (40, 40, 100, 20), (100, 40, 100, 20), (100, 40, 40, 20), (100, 100, 40, 20),
          (10, 40, 40, 0), (0, 40, 100, 0), (0, 100, 40, 0), (40, 100, 0, 0),
          (40, 0, 100, 0), (100, 0, 40, 0), (100, 40, 0, 0), (0, 0, 0, 0),
          (0, 0, 100, 100), (0, 70, 0, 60), (70, 0, 0, 80)]
    assert len(w) == 72 and len(set(w)) == 72
    return w


WEDGE_GREY = [(10, 6, 6, 0), (20, 12, 12, 0), (40, 27, 27, 0), (60, 45, 45, 0),
              (80, 65, 65, 0), (100, 85, 85, 0)]
WEDGE_ROWS = 8
WEDGE_FAILED_SOLID = (0, 100, 0, 0)  # the solid whose hue the failing proof loses


def wedge_charts():
    """The Reference from the press model, and two proofs: one within
    ISO 12647-7:2016 tolerances everywhere (no patch more than 0.9 dE*ab
    away), one that in addition has a yellowish grey balance and a magenta
    solid turned towards blue."""
    rnd = random.Random(SEED + 72)
    recipes = media_wedge_v3()
    press = Press()
    reference = [clamp_lab(press.print_lab(c)) for c in recipes]
    passing = []
    for lab in reference:
        offset = offset_vector(rnd, rnd.uniform(0.2, 0.9), (0.0, 0.0, 0.0))
        passing.append(clamp_lab([x + d for x, d in zip(lab, offset)]))
    failing = []
    for cmyk, lab in zip(recipes, passing):
        L, a, b = lab
        if cmyk in WEDGE_GREY:
            a, b = a + 0.8, b + 2.8
        elif cmyk == WEDGE_FAILED_SOLID:
            b -= 6.0
        failing.append(clamp_lab((L, a, b)))
    ids = [column_label(p // WEDGE_ROWS) + str(p % WEDGE_ROWS + 1) for p in range(72)]
    return ids, recipes, (reference, passing, failing)


def write_wedge(out_dir):
    ids, recipes, sets = wedge_charts()
    paths = []
    for tag, labs in zip(("reference", "proof-pass", "proof-fail"), sets):
        path = os.path.join(out_dir, "wedge-%s.txt" % tag)
        desc = "Media Wedge CMYK V3, %s (synthetic)" % tag
        records = [(i, list(c), lab) for i, c, lab in zip(ids, recipes, labs)]
        write_file(path, desc, WEDGE_ROWS, LARGE_FIELDS, records,
                   ('DEVICE_CLASS "OUTPUT"', 'COLOR_REP "CMYK_LAB"'))
        paths.append(path)
    return paths, WEDGE_ROWS, LARGE_FIELDS


# ---------------------------------------------------------------------------
# CxF3: the same patches, identifiers and L*a*b* as a CGATS file

CXF3_NAMESPACE = "http://colorexchangeformat.com/CxF3-core"
CXF3_SPECIFICATION = "CS_D50_2_M1"


def write_cxf3(path, descriptor, records):
    """records: list of (sample_id, sample_name, (L, a, b)), in file order.
    Object@Name is the SAMPLE_NAME, Object@Id the SAMPLE_ID; one
    ColorSpecification, D50, 2 degree, M1."""
    lines = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<cc:CxF xmlns:cc="%s">' % CXF3_NAMESPACE,
        "  <cc:FileInformation>",
        "    <cc:Creator>%s</cc:Creator>" % escape(ORIGINATOR),
        "    <cc:CreationDate>%sT00:00:00Z</cc:CreationDate>" % CREATED,
        "    <cc:Description>%s</cc:Description>" % escape(descriptor),
        "  </cc:FileInformation>",
        "  <cc:Resources>",
        "    <cc:ObjectCollection>",
    ]
    for ident, name, lab in records:
        lines += [
            '      <cc:Object ObjectType="Target" Name=%s Id=%s>'
            % (quoteattr(name), quoteattr(ident)),
            "        <cc:ColorValues>",
            '          <cc:ColorCIELab ColorSpecification="%s">' % CXF3_SPECIFICATION,
            "            <cc:L>%s</cc:L>" % fmt2(lab[0]),
            "            <cc:A>%s</cc:A>" % fmt2(lab[1]),
            "            <cc:B>%s</cc:B>" % fmt2(lab[2]),
            "          </cc:ColorCIELab>",
            "        </cc:ColorValues>",
            "      </cc:Object>",
        ]
    lines += [
        "    </cc:ObjectCollection>",
        "    <cc:ColorSpecificationCollection>",
        '      <cc:ColorSpecification Id="%s">' % CXF3_SPECIFICATION,
        "        <cc:TristimulusSpec>",
        "          <cc:Illuminant>D50</cc:Illuminant>",
        "          <cc:Observer>2_Degree</cc:Observer>",
        "          <cc:Method>E308</cc:Method>",
        "        </cc:TristimulusSpec>",
        "        <cc:MeasurementSpec>",
        "          <cc:MeasurementType>Colorimetric_Reflectance</cc:MeasurementType>",
        "          <cc:GeometryChoice>",
        "            <cc:SingleAngle>",
        "              <cc:IlluminationAngle>45</cc:IlluminationAngle>",
        "              <cc:MeasurementAngle>0</cc:MeasurementAngle>",
        "            </cc:SingleAngle>",
        "          </cc:GeometryChoice>",
        "          <cc:Device>",
        "            <cc:DeviceIllumination>M1_Daylight</cc:DeviceIllumination>",
        "          </cc:Device>",
        "        </cc:MeasurementSpec>",
        "      </cc:ColorSpecification>",
        "    </cc:ColorSpecificationCollection>",
        "  </cc:Resources>",
        "</cc:CxF>",
    ]
    with open(path, "w", encoding="ascii", newline="") as fh:
        fh.write("\n".join(lines) + "\n")


def check_cxf3(path, cgats_path, fields, rows):
    """The CxF3 file holds the CGATS file's names and L*a*b*, in its order."""
    ns = {"cc": CXF3_NAMESPACE}
    objects = ET.parse(path).getroot().findall("cc:Resources/cc:ObjectCollection/cc:Object", ns)
    names = [o.get("Name") for o in objects]
    labs = [tuple(float(o.find("cc:ColorValues/cc:ColorCIELab/cc:" + c, ns).text)
                  for c in "LAB") for o in objects]
    ids, cgats_labs = read_back(cgats_path, fields, rows)
    if names != ids or labs != cgats_labs:
        raise SystemExit("%s: differs from %s" % (path, cgats_path))
    print("%s: %d patches, the same as %s" % (path, len(objects), cgats_path))


# ---------------------------------------------------------------------------
# A print run of the wedge: thirty sheets measured one after another

RUN_SHEETS = 30
RUN_OUT_OF_TOLERANCE = 17   # the magenta solid turned towards blue
RUN_OTHER_ORDER = 23        # the wedge measured from its other end
RUN_NOT_MEASUREMENT = "tally.txt"


def run_charts():
    """Thirty sheets of the wedge against the Reference: measurement noise
    and a press drifting slowly darker and yellower (about 1 dE00 by the
    last sheet), one sheet out of tolerance and one measured in reverse."""
    rnd = random.Random(SEED + 30)
    ids, recipes, (reference, _, _) = wedge_charts()
    sheets = []
    for k in range(1, RUN_SHEETS + 1):
        t = (k - 1) / (RUN_SHEETS - 1)
        labs = []
        for cmyk, lab in zip(recipes, reference):
            coverage = sum(cmyk) / 400.0
            drift = (-0.9 * t * coverage, 0.1 * t, 1.0 * t * coverage)
            offset = offset_vector(rnd, rnd.uniform(0.05, 0.35), (0.0, 0.0, 0.0))
            L, a, b = (x + d + o for x, d, o in zip(lab, drift, offset))
            if k == RUN_OUT_OF_TOLERANCE and cmyk == WEDGE_FAILED_SOLID:
                b -= 6.0
            labs.append(clamp_lab((L, a, b)))
        records = [(i, list(c), lab) for i, c, lab in zip(ids, recipes, labs)]
        if k == RUN_OTHER_ORDER:
            records.reverse()
        sheets.append(records)
    return sheets


def write_run(out_dir):
    run_dir = os.path.join(out_dir, "run")
    os.makedirs(run_dir, exist_ok=True)
    for k, records in enumerate(run_charts(), 1):
        path = os.path.join(run_dir, "sheet-%02d.txt" % k)
        desc = "Media Wedge CMYK V3, run sheet %d (synthetic)" % k
        write_file(path, desc, WEDGE_ROWS, LARGE_FIELDS, records,
                   ('DEVICE_CLASS "OUTPUT"', 'COLOR_REP "CMYK_LAB"'))
    with open(os.path.join(run_dir, RUN_NOT_MEASUREMENT), "w", encoding="ascii",
              newline="") as fh:
        fh.write("Press run 2025-01-15: sheets measured every 500 impressions." + CRLF)
    print("%s: %d sheets and %s" % (run_dir, RUN_SHEETS, RUN_NOT_MEASUREMENT))


# ---------------------------------------------------------------------------
# Writing and checking


def write_small(out_dir):
    ids, ref, f1, f2 = small_chart()
    paths = []
    for tag, labs in (("reference", ref), ("file1", f1), ("file2", f2)):
        path = os.path.join(out_dir, "small-%s.txt" % tag)
        desc = "24-patch colour chart, %s (synthetic)" % tag
        records = [(i, [], lab) for i, lab in zip(ids, labs)]
        write_file(path, desc, SMALL_ROWS, SMALL_FIELDS, records)
        paths.append(path)
    # The Reference once more as CxF3: the CGATS file's SAMPLE_ID is the
    # patch number, its SAMPLE_NAME the identifier.
    write_cxf3(os.path.join(out_dir, "small-reference.cxf"),
               "24-patch colour chart, reference (synthetic)",
               [(str(n + 1), i, lab) for n, (i, lab) in enumerate(zip(ids, ref))])
    return paths, SMALL_ROWS, SMALL_FIELDS


def write_large(out_dir, n, prefix):
    rows, ids, content, sets = large_chart(n)
    paths = []
    for tag, labs in zip(("reference", "file1", "file2"), sets):
        path = os.path.join(out_dir, "%s%s.txt" % (prefix, tag))
        desc = "%d-patch CMYK print chart, %s (synthetic)" % (n, tag)
        records = [(i, list(c), lab) for i, c, lab in zip(ids, content, labs)]
        write_file(path, desc, rows, LARGE_FIELDS, records,
                   ('DEVICE_CLASS "OUTPUT"', 'COLOR_REP "CMYK_LAB"'))
        paths.append(path)
    return paths, rows, LARGE_FIELDS


def read_back(path, fields, rows):
    with open(path, "rb") as fh:
        raw = fh.read()
    text = raw.decode("ascii")
    if not text.endswith(CRLF) or text.count("\n") != text.count(CRLF) \
            or text.count("\r") != text.count(CRLF):
        raise SystemExit("%s: line ends are not all CR LF" % path)
    lines = text[:-2].split(CRLF)
    names = "\t".join(fields)
    if names not in lines:
        raise SystemExit("%s: field-name line missing" % path)
    row_line = "LGOROWLENGTH %d" % rows
    if row_line not in lines or lines.index(row_line) > lines.index(names):
        raise SystemExit("%s: LGOROWLENGTH missing or after the field names" % path)
    begin = lines.index("BEGIN_DATA")
    end = lines.index("END_DATA")
    keywords = dict(l.split(" ", 1) for l in lines[:begin] if " " in l)
    if int(keywords["NUMBER_OF_FIELDS"]) != len(fields):
        raise SystemExit("%s: NUMBER_OF_FIELDS does not match" % path)
    declared = int(keywords["NUMBER_OF_SETS"])
    data = lines[begin + 1:end]
    if len(data) != declared:
        raise SystemExit("%s: %d data lines, NUMBER_OF_SETS %d"
                         % (path, len(data), declared))
    li = fields.index("LAB_L")
    ids, labs = [], []
    for no, line in enumerate(data, 1):
        cols = line.split("\t")
        if len(cols) != len(fields) or int(cols[0]) != no or not cols[1]:
            raise SystemExit("%s: bad data line %d: %r" % (path, no, line))
        lab = tuple(float(c) for c in cols[li:li + 3])
        if not (0.0 <= lab[0] <= 100.0 and abs(lab[1]) <= 127 and abs(lab[2]) <= 127):
            raise SystemExit("%s: value out of range on line %d" % (path, no))
        ids.append(cols[1])
        labs.append(lab)
    return ids, labs


def check(paths, rows, fields):
    ref_ids, ref = read_back(paths[0], fields, rows)
    if len(set(ref_ids)) != len(ref_ids) or max(len(i) for i in ref_ids) > 5:
        raise SystemExit("%s: identifiers not unique or too long" % paths[0])
    print("%s: %d patches, LGOROWLENGTH %d, %s .. %s"
          % (paths[0], len(ref), rows, ref_ids[0], ref_ids[-1]))
    for path in paths[1:]:
        ids, labs = read_back(path, fields, rows)
        if ids != ref_ids:
            raise SystemExit("%s: identifiers differ from the reference" % path)
        de = [delta_e76(a, b) for a, b in zip(ref, labs)]
        worst = max(range(len(de)), key=lambda i: de[i])
        srt = sorted(de)
        p95 = srt[min(len(srt) - 1, int(math.ceil(0.95 * len(srt))) - 1)]
        print("%s: dE*ab min %.2f mean %.2f p95 %.2f max %.2f (at %s)"
              % (path, srt[0], sum(de) / len(de), p95, de[worst], ids[worst]))


def main(argv):
    ap = argparse.ArgumentParser(
        description="Write Korimo's synthetic sample measurement files.")
    ap.add_argument("--patches", type=int, metavar="N",
                    help="write one chart of N patches (reference.txt, "
                         "file1.txt, file2.txt); needs --out")
    ap.add_argument("--out", metavar="DIR",
                    help="output directory (default: the samples directory)")
    args = ap.parse_args(argv)

    if args.patches is not None:
        if args.out is None:
            ap.error("--patches needs --out DIR")
        if not 1 <= args.patches <= MAX_PATCHES:
            ap.error("--patches must be between 1 and %d" % MAX_PATCHES)
        os.makedirs(args.out, exist_ok=True)
        check(*write_large(args.out, args.patches, ""))
        return 0

    out = args.out or os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out, exist_ok=True)
    small = write_small(out)
    check(*small)
    check_cxf3(os.path.join(out, "small-reference.cxf"), small[0][0], small[2], small[1])
    check(*write_large(out, 1600, "large-"))
    check(*write_wedge(out))
    write_run(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
