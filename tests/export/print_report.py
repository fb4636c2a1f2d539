#!/usr/bin/env python3
"""Prints korimo-cli's HTML reports with headless Chromium and checks the PDF.

  print_report.py KORIMO_CLI SAMPLES_DIR [SHOTS_DIR]

Checks the report of the three bundled samples with a criteria set (page
count, file names, the statistics texts of the JSON, verdict words, every
chart and histogram by its title and by its pixels), their page count with
a built-in criteria set, a file whose identifiers are markup, `tidy
-errors`, the every-patch report of 3000 patches (size and print time), the
run report of the bundled run (page count, counts, a pass share, sheet
names, the trend plots by their pixels) and of a run of 1000 sheets (size
and print time). Prints the figures it measured. With SHOTS_DIR, the
sample report's and the run report's pages are rendered there as PNG at
60 dpi.
"""
import decimal
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

PRINT_LIMIT_S = 60
SIZE_LIMIT = 2 * 1024 * 1024
MAX_SAMPLE_PAGES = 3
MAX_RUN_PAGES = 4
LARGE_RUN = 1000
# The trend plot's lines: the average, the 95% and the drift.
TREND_COLOURS = {"average": (31, 95, 191), "95%": (224, 138, 0), "drift": (42, 157, 58)}
failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)


def run(args, ok_codes=(0,), **kw):
    r = subprocess.run(args, capture_output=True, **kw)
    if r.returncode not in ok_codes:
        raise SystemExit("%s exited %d: %s" % (args[0], r.returncode, r.stderr.decode(errors="replace")))
    return r


def print_pdf(html, pdf, work):
    profile = tempfile.mkdtemp(dir=work)
    start = time.monotonic()
    run(["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--user-data-dir=" + profile, "--no-pdf-header-footer", "--print-to-pdf=" + pdf,
         "file://" + html])
    return time.monotonic() - start


def pages(pdf):
    info = run(["pdfinfo", pdf]).stdout.decode()
    size = [l for l in info.splitlines() if l.startswith("Page size:")][0]
    check("A4" in size, "A4 paper: " + size)
    return int([l for l in info.splitlines() if l.startswith("Pages:")][0].split()[1])


def text_lines(pdf, layout=True):
    # pdftotext drops leading blanks: compare trimmed texts.
    out = run(["pdftotext"] + (["-layout"] if layout else []) + [pdf, "-"]).stdout.decode()
    return out, [" ".join(l.split()) for l in out.splitlines()]


def raster(ppm):
    with open(ppm, "rb") as f:
        data = f.read()
    parts = data.split(maxsplit=4)
    assert parts[0] == b"P6"
    return parts[4]


def coloured_pixels(ppm):
    """Pixels that are neither near white nor grey, and pure-red ones."""
    pixels = raster(ppm)
    colourful = red = 0
    for i in range(0, len(pixels) - 2, 3):
        r, g, b = pixels[i], pixels[i + 1], pixels[i + 2]
        if max(r, g, b) - min(r, g, b) > 24:
            colourful += 1
            if r > 200 and g < 70 and b < 70:
                red += 1
    return colourful, red


def write_chart(path, ids, offset):
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write("CGATS.17\nBEGIN_DATA_FORMAT\nSAMPLE_ID\tSAMPLE_NAME\tLAB_L\tLAB_A\tLAB_B\n"
                "END_DATA_FORMAT\nBEGIN_DATA\n")
        for i, name in enumerate(ids):
            L = 20 + (i * 37) % 75
            a = (i * 53) % 120 - 60
            b = (i * 29) % 120 - 60
            f.write("%d\t%s\t%.2f\t%.2f\t%.2f\n" % (i + 1, name, L + offset * (i % 7) / 6,
                                                  a + offset, b))
        f.write("END_DATA\n")


def sample_report(cli, samples, work, shots):
    files = [os.path.join(samples, n) for n in
             ("large-reference.txt", "large-file1.txt", "large-file2.txt")]
    html = os.path.join(work, "samples.html")
    criteria = ["--tolerance", "de00:avg<=2.5", "--tolerance", "de:max<=6"]
    r = run([cli, "--format", "html", "--report-title", "校正刷り 第2版", "--report-operator",
             "山田", "-o", html] + criteria + files, ok_codes=(0, 4))
    js = json.loads(run([cli, "--format", "json"] + criteria + files, ok_codes=(0, 4)).stdout)
    source = open(html, encoding="utf-8").read()
    tidy = subprocess.run(["tidy", "-errors", "-q", html], capture_output=True)
    check(tidy.returncode in (0, 1), "tidy finds no errors: " + tidy.stderr.decode())
    pdf = os.path.join(work, "samples.pdf")
    seconds = print_pdf(html, pdf, work)
    n = pages(pdf)
    check(1 <= n <= MAX_SAMPLE_PAGES, "two pairs of 1600 patches on at most 3 pages: %d" % n)
    text, lines = text_lines(pdf)
    for path in files:
        check(os.path.basename(path) in text, "file name " + os.path.basename(path))
    check("⊿E・⊿E00 比較レポート" in text, "title")
    check("校正刷り 第2版" in text and "山田" in text, "job fields")
    for p, pair in enumerate(js["pairs"]):
        name = "基準–File%d" % (p + 1)
        labels = pair["labels"]
        de = " ".join(labels[k].strip() for k in ("avg_de_ab", "max_de_ab", "best10_de_ab",
                                                  "pct95_de_ab"))
        de00 = " ".join(labels[k].strip() for k in ("avg_de00", "max_de00", "best10_de00",
                                                    "pct95_de00"))
        check(any(("⊿E " + de) in l for l in lines), name + " ⊿E row " + de)
        check(any(("⊿E00 " + de00) in l for l in lines), name + " ⊿E00 row " + de00)
        check(("パッチチャート " + name) in text, name + " chart title")
        check(("ヒストグラム " + name) in text, name + " histogram title")
    verdict = "合格" if js["verdict"]["pass"] else "不合格"
    check(("許容値（--tolerance）：" + verdict) in text.replace(" ", ""), "overall verdict " + verdict)
    check("規格への適合を認証するものではありません" in text, "not-a-certification note")
    run(["pdftoppm", "-r", "60", pdf, os.path.join(work, "ppm")])
    colourful = red = 0
    for f in sorted(os.listdir(work)):
        if f.startswith("ppm"):
            c, rd = coloured_pixels(os.path.join(work, f))
            colourful += c
            red += rd
    # Two charts of 40 x 40 cells at 118 mm (about 280 px at 60 dpi) and two
    # histograms of red bars.
    check(colourful > 2 * 40000, "chart pixels: %d" % colourful)
    check(red > 2 * 150, "histogram bar pixels: %d" % red)
    if shots:
        os.makedirs(shots, exist_ok=True)
        run(["pdftoppm", "-r", "60", "-png", pdf, os.path.join(shots, "20-page")])
    print("samples: %d pages, html %d bytes, pdf %d bytes, printed in %.1f s" %
          (n, len(source.encode()), os.path.getsize(pdf), seconds))


def built_in_set_pages(cli, samples, work):
    """A standard's set words its verdicts at length: still at most 3 pages."""
    files = [os.path.join(samples, n) for n in
             ("large-reference.txt", "large-file1.txt", "large-file2.txt")]
    html = os.path.join(work, "iso.html")
    run([cli, "--format", "html", "--check", "iso12647-7-2016", "-o", html] + files,
        ok_codes=(0, 4))
    pdf = os.path.join(work, "iso.pdf")
    print_pdf(html, pdf, work)
    n = pages(pdf)
    check(1 <= n <= MAX_SAMPLE_PAGES, "two pairs and a built-in set on at most 3 pages: %d" % n)
    text, _ = text_lines(pdf)
    check("ISO 12647-7:2016" in text and "基準–File2：不合格" in text.replace(" ", ""),
          "built-in set's name and a pair's verdict")


def hostile_report(cli, work):
    ids = ["<script>alert(1)</script>", 'x"y', "A&B"] + ["P%d" % i for i in range(3, 30)]
    ref = os.path.join(work, "hostile<i>ref.txt")
    smp = os.path.join(work, "hostile-sample.txt")
    write_chart(ref, ids, 0)
    write_chart(smp, ids, 1.5)
    html = os.path.join(work, "hostile.html")
    run([cli, "--format", "html", "--report-patches", "all", "--report-title",
         "</title><script>x()</script>", "-o", html, ref, smp])
    source = open(html, encoding="utf-8").read()
    check("<script" not in source.lower(), "no script element")
    pdf = os.path.join(work, "hostile.pdf")
    print_pdf(html, pdf, work)
    # A long identifier wraps in its narrow column: read in text order.
    text, _ = text_lines(pdf, layout=False)
    joined = "".join(text.split())
    for shown in ("<script>alert(1)</script>", 'x"y', "A&B", "hostile<i>ref.txt",
                  "</title><script>x()</script>"):
        check(shown in joined, "shown as text: " + shown)


def every_patch_report(cli, work):
    ids = ["P%d" % (i + 1) for i in range(3000)]
    ref = os.path.join(work, "ref3000.txt")
    smp = os.path.join(work, "smp3000.txt")
    write_chart(ref, ids, 0)
    write_chart(smp, ids, 2.0)
    html = os.path.join(work, "all3000.html")
    run([cli, "--format", "html", "--report-patches", "all", "-o", html, ref, smp])
    size = os.path.getsize(html)
    check(size < SIZE_LIMIT, "every-patch report of 3000 patches under 2 MB: %d" % size)
    pdf = os.path.join(work, "all3000.pdf")
    seconds = print_pdf(html, pdf, work)
    check(seconds < PRINT_LIMIT_S, "printed within %d s: %.1f s" % (PRINT_LIMIT_S, seconds))
    n = pages(pdf)
    text, _ = text_lines(pdf)
    check(ids[-1] in text, "last patch printed")
    print("every patch, 3000 patches, one pair: %d pages, html %d bytes, pdf %d bytes, "
          "printed in %.1f s" % (n, size, os.path.getsize(pdf), seconds))


def words(pdf, page):
    """The words of a page with their boxes (points from the top left)."""
    out = run(["pdftotext", "-f", str(page), "-l", str(page), "-bbox", pdf, "-"]).stdout.decode()
    return [(float(y0), float(y1), t) for y0, y1, t in re.findall(
        r'<word xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">([^<]*)</word>', out)]


def band(pdf, page, top, bottom, work):
    """The pixels of a page between two heights in points, at 60 dpi."""
    scale = 60 / 72
    prefix = os.path.join(work, "band")
    run(["pdftoppm", "-r", "60", "-f", str(page), "-l", str(page), "-x", "0", "-y",
         str(int(top * scale)), "-W", "500", "-H", str(max(1, int((bottom - top) * scale))),
         "-singlefile", pdf, prefix])
    pixels = raster(prefix + ".ppm")
    return [tuple(pixels[i:i + 3]) for i in range(0, len(pixels) - 2, 3)]


def near(pixels, colour, tolerance=60):
    return sum(1 for p in pixels if all(abs(p[k] - colour[k]) <= tolerance for k in range(3)))


def run_sheets(samples):
    """The bundled run: its Reference and every other file of samples/run."""
    folder = os.path.join(samples, "run")
    names = sorted(n for n in os.listdir(folder)
                   if not n.startswith(".") and os.path.isfile(os.path.join(folder, n)))
    named = [n for n in names if "reference" in n.lower()]
    reference = (os.path.join(folder, named[0]) if named
                 else os.path.join(samples, "wedge-reference.txt"))
    return reference, [os.path.join(folder, n) for n in names
                       if os.path.join(folder, n) != reference]


def run_report(cli, samples, work, shots):
    probe = subprocess.run([cli, "run", "--help"], capture_output=True)
    if probe.returncode != 0 or b"--sheets-from" not in probe.stdout:
        print("SKIPPED the run report: this korimo-cli has no `run` subcommand yet")
        return
    reference, sheets = run_sheets(samples)
    args = ["--check", "iso12647-7-2016", reference] + sheets
    js = json.loads(run([cli, "run", "--format", "json"] + args, ok_codes=(0, 1, 4)).stdout)
    html = os.path.join(work, "run.html")
    run([cli, "run", "--format", "html", "-o", html] + args, ok_codes=(0, 1, 4))
    tidy = subprocess.run(["tidy", "-errors", "-q", html], capture_output=True)
    check(tidy.returncode in (0, 1), "run report: tidy finds no errors: " + tidy.stderr.decode())
    pdf = os.path.join(work, "run.pdf")
    seconds = print_pdf(html, pdf, work)
    n = pages(pdf)
    check(1 <= n <= MAX_RUN_PAGES, "run of %d sheets on at most %d pages: %d" %
          (len(sheets), MAX_RUN_PAGES, n))
    text, lines = text_lines(pdf)
    flat = "".join(text.split())
    check("⊿E・⊿E00 推移レポート" in text, "run report title")
    counts = js["run"]
    row = "%d %d %d %d" % (counts["sheets_given"], counts["compared"], counts["excluded"],
                           counts["refused"])
    check(any(l == row for l in lines), "sheet counts given/compared/excluded/refused " + row)
    compared = counts["compared"]
    share = counts["pass_share"][0]["share"]
    if compared and share is not None:
        passed = round(share * compared)
        percent = (decimal.Decimal(100 * passed) / compared).quantize(
            decimal.Decimal("0.1"), rounding=decimal.ROUND_HALF_UP)
        shown = "合格率%s%%（%d/%d枚）" % (percent, passed, compared)
        check(shown in flat, "pass share " + shown)
    for sheet in js["sheets"]:
        name = os.path.basename(sheet["file"])
        check(name in flat, "sheet listed: " + name)
    # The plots stand between their heading and their captions: the trend
    # below the heading 推移, the criteria's below the trend's caption.
    first = words(pdf, 1)
    marks = [w for w in first if w[2] == "推移"]
    divided = [w for w in first if w[2] == "÷"]
    check(len(marks) >= 2 and divided, "trend heading and both plot captions on page 1")
    if len(marks) >= 2 and divided:
        trend = band(pdf, 1, marks[0][1], marks[1][0], work)
        for line, colour in TREND_COLOURS.items():
            count = near(trend, colour)
            check(count > 60, "trend plot draws the %s: %d pixels" % (line, count))
        criteria = band(pdf, 1, marks[1][1], divided[0][0], work)
        red = sum(1 for p in criteria if p[0] > 200 and p[1] < 70 and p[2] < 70)
        failing = any(not v["pass"] for s in js["sheets"] if s["status"] == "compared"
                      for v in s["verdicts"])
        check((red > 0) == failing, "criteria plot: red points %d, a compared sheet fails: %s" %
              (red, failing))
    if shots:
        os.makedirs(shots, exist_ok=True)
        run(["pdftoppm", "-r", "60", "-png", pdf, os.path.join(shots, "30-run-page")])
    print("run of %d sheets: %d pages, html %d bytes, pdf %d bytes, printed in %.1f s" %
          (len(sheets), n, os.path.getsize(html), os.path.getsize(pdf), seconds))
    large_run(cli, reference, [s["file"] for s in js["sheets"] if s["status"] == "compared"],
              work)


def large_run(cli, reference, sheets, work):
    """A thousand sheets, the bundled ones over and over: size and print time."""
    listing = os.path.join(work, "sheets.txt")
    with open(listing, "w", encoding="utf-8") as f:
        for i in range(LARGE_RUN):
            f.write(os.path.abspath(sheets[i % len(sheets)]) + "\n")
    html = os.path.join(work, "run1000.html")
    run([cli, "run", "--format", "html", "--check", "iso12647-7-2016", "--sheets-from", listing,
         "-o", html, reference], ok_codes=(0, 4))
    size = os.path.getsize(html)
    check(size < SIZE_LIMIT, "run report of %d sheets under 2 MB: %d" % (LARGE_RUN, size))
    pdf = os.path.join(work, "run1000.pdf")
    seconds = print_pdf(html, pdf, work)
    check(seconds < PRINT_LIMIT_S, "printed within %d s: %.1f s" % (PRINT_LIMIT_S, seconds))
    n = pages(pdf)
    _, lines = text_lines(pdf)
    check(any(l.startswith("%d " % LARGE_RUN) for l in lines), "last sheet printed")
    print("run of %d sheets: %d pages, html %d bytes, pdf %d bytes, printed in %.1f s" %
          (LARGE_RUN, n, size, os.path.getsize(pdf), seconds))


def main():
    cli, samples = os.path.abspath(sys.argv[1]), sys.argv[2]
    shots = sys.argv[3] if len(sys.argv) > 3 else None
    for tool in ("chromium", "pdfinfo", "pdftotext", "pdftoppm", "tidy"):
        if shutil.which(tool) is None:
            raise SystemExit(tool + " is missing: run the test command, which installs it")
    os.environ["SOURCE_DATE_EPOCH"] = "1765000000"
    with tempfile.TemporaryDirectory() as work:
        sample_report(cli, samples, work, shots)
        built_in_set_pages(cli, samples, work)
        hostile_report(cli, work)
        every_patch_report(cli, work)
        run_report(cli, samples, work, shots)
    if failures:
        raise SystemExit("%d check(s) failed" % len(failures))


if __name__ == "__main__":
    main()
