#!/usr/bin/env python3
"""Prints korimo-cli's HTML reports with headless Chromium and checks the PDF.

  print_report.py KORIMO_CLI SAMPLES_DIR [SHOTS_DIR]

Checks the report of the three bundled samples with a criteria set (page
count, file names, the statistics texts of the JSON, verdict words, every
chart and histogram by its title and by its pixels), their page count with
a built-in criteria set, a file whose
identifiers are markup, `tidy -errors`, and the every-patch report of 3000
patches (size and print time). Prints the figures it measured. With
SHOTS_DIR, the sample report's pages are rendered there as PNG at 60 dpi.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

PRINT_LIMIT_S = 60
SIZE_LIMIT = 2 * 1024 * 1024
MAX_SAMPLE_PAGES = 3
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


def coloured_pixels(ppm):
    """Pixels that are neither near white nor grey, and pure-red ones."""
    with open(ppm, "rb") as f:
        data = f.read()
    parts = data.split(maxsplit=4)
    assert parts[0] == b"P6"
    raster = parts[4]
    colourful = red = 0
    for i in range(0, len(raster) - 2, 3):
        r, g, b = raster[i], raster[i + 1], raster[i + 2]
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
    if failures:
        raise SystemExit("%d check(s) failed" % len(failures))


if __name__ == "__main__":
    main()
