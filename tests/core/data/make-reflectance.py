#!/usr/bin/env python3
"""Writes reflectance-lab.cxf and reflectance-lab.txt: 24 made-up reflectance
spectra, 380-730 nm at 10 nm, as CxF3 (with the L*a*b* they give under D50,
2 degree) and as CGATS (spectra only).

The L*a*b* is computed here, apart from the program, with the ASTM E2022
weighting tables: weights outside 380-730 nm added to the end bands (ASTM
E308), the white the tables' column sums, CIE 15 CIELAB in its kappa/epsilon
form. Run from the repository root with the tables' folder as argument:

    python3 tests/core/data/make-reflectance.py ../shared/colorimetry
"""

import csv
import math
import os
import sys

BANDS = list(range(380, 740, 10))
EPS = 216.0 / 24389.0
KAPPA = 24389.0 / 27.0


def table(folder):
    rows = []
    with open(os.path.join(folder, "weights_D50_2deg_10nm.csv")) as fh:
        for r in csv.reader(fh):
            if r and not r[0].startswith("#") and r[0] != "nm":
                rows.append((int(r[0]), float(r[1]), float(r[2]), float(r[3])))
    return rows


def spectra():
    """Smooth reflectances: a base level and one or two bumps, 4 decimals."""
    out = []
    for i in range(24):
        base = 0.04 + 0.035 * (i % 6)
        centre = 420 + 13 * i
        width = 35 + 4 * (i % 5)
        height = 0.15 + 0.03 * (i % 7)
        values = []
        for nm in BANDS:
            r = base + height * math.exp(-((nm - centre) / width) ** 2)
            if i % 4 == 3:  # a second bump towards the red
                r += 0.25 * math.exp(-((nm - 650) / 40.0) ** 2)
            values.append(round(min(r, 0.95), 4))
        out.append(values)
    return out


def lab(values, weights):
    x = y = z = 0.0
    for nm, wx, wy, wz in weights:
        r = values[0] if nm < BANDS[0] else values[-1] if nm > BANDS[-1] else values[BANDS.index(nm)]
        x += r * wx
        y += r * wy
        z += r * wz
    xn = sum(w[1] for w in weights)
    yn = sum(w[2] for w in weights)
    zn = sum(w[3] for w in weights)

    def f(t):
        return t ** (1.0 / 3.0) if t > EPS else (KAPPA * t + 16.0) / 116.0

    fx, fy, fz = f(x / xn), f(y / yn), f(z / zn)
    return 116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)


def main(folder):
    weights = table(folder)
    here = os.path.dirname(os.path.abspath(__file__))
    objects = []
    rows = []
    for i, values in enumerate(spectra()):
        name = "P%d" % (i + 1)
        text = " ".join("%.4f" % v for v in values)
        L, a, b = lab(values, weights)
        objects.append(
            '   <cc:Object ObjectType="Target" Name="%s" Id="o%d">\n'
            "    <cc:ColorValues>\n"
            '     <cc:ColorCIELab ColorSpecification="CS1"><cc:L>%.4f</cc:L>'
            "<cc:A>%.4f</cc:A><cc:B>%.4f</cc:B></cc:ColorCIELab>\n"
            '     <cc:ReflectanceSpectrum ColorSpecification="CS1" StartWL="380">%s'
            "</cc:ReflectanceSpectrum>\n"
            "    </cc:ColorValues>\n"
            "   </cc:Object>\n" % (name, i + 1, L, a, b, text))
        rows.append("\t".join([name] + ["%.4f" % v for v in values]))
    cxf = (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        '<cc:CxF xmlns:cc="http://colorexchangeformat.com/CxF3-core">\n'
        " <cc:Resources>\n  <cc:ObjectCollection>\n" + "".join(objects) +
        "  </cc:ObjectCollection>\n  <cc:ColorSpecificationCollection>\n"
        '   <cc:ColorSpecification Id="CS1">\n'
        "    <cc:TristimulusSpec><cc:Illuminant>D50</cc:Illuminant>"
        "<cc:Observer>2_Degree</cc:Observer></cc:TristimulusSpec>\n"
        "    <cc:MeasurementSpec><cc:MeasurementType>Spectrum_Reflectance</cc:MeasurementType>"
        '<cc:WavelengthRange StartWL="380" Increment="10"/>'
        "<cc:Device><cc:DeviceIllumination>M1_Daylight</cc:DeviceIllumination></cc:Device>"
        "</cc:MeasurementSpec>\n"
        "   </cc:ColorSpecification>\n  </cc:ColorSpecificationCollection>\n"
        " </cc:Resources>\n</cc:CxF>\n")
    cgats = ["CGATS.17", "BEGIN_DATA_FORMAT",
             "\t".join(["SAMPLE_NAME"] + ["SPECTRAL_NM%d" % nm for nm in BANDS]),
             "END_DATA_FORMAT", "BEGIN_DATA"] + rows + ["END_DATA"]
    with open(os.path.join(here, "reflectance-lab.cxf"), "w", newline="\n") as fh:
        fh.write(cxf)
    with open(os.path.join(here, "reflectance-lab.txt"), "w", newline="\n") as fh:
        fh.write("\n".join(cgats) + "\n")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "../shared/colorimetry")
