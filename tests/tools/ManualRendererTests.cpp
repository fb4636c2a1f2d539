#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "ManualRenderer.h"

namespace {

// One application for all tests of the program; the renderer needs its fonts.
void ensureApplication() {
  static int argc = 1;
  static char name[] = "manual_tests";
  static char* argv[] = {name, nullptr};
  if (QGuiApplication::instance() == nullptr) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
  }
}

// The text of each page, as pdftotext lays it out, without blank lines.
QList<QStringList> pageLines(const QString& pdftotext, const QString& pdf) {
  QProcess process;
  process.start(pdftotext, {"-layout", pdf, "-"});
  process.waitForFinished();
  QList<QStringList> pages;
  for (const QString& page : QString::fromUtf8(process.readAllStandardOutput()).split('\f')) {
    QStringList lines;
    for (const QString& line : page.split('\n')) {
      if (!line.trimmed().isEmpty())
        lines.append(line.simplified());
    }
    if (!lines.isEmpty())
      pages.append(lines);
  }
  return pages;
}

// Markdown to a PDF of several pages, Japanese font embedded; paragraphs and list items run on over
// page ends, and no line of them may be printed again at the head of the next page (each line here
// is unique).
TEST(ManualRenderer, RendersJapaneseMarkdownWithNoLineOnTwoPages) {
  ensureApplication();
  QString markdown = "# 改ページ\n\n| 項目 | 内容 |\n|---|---|\n| 平均 | 1.23 |\n\n";
  for (int i = 0; i < 40; ++i) {
    markdown += i % 3 == 0 ? "- " : "";
    for (int j = 0; j < 12; ++j)
      markdown += QStringLiteral("（%1-%2）色差を比べます。").arg(i).arg(j);
    markdown += "\n\n";
  }
  const QTemporaryDir dir;
  const QString input = dir.filePath("入力.md"), output = dir.filePath("出力.pdf");
  std::ofstream(input.toStdString()) << markdown.toStdString();
  ManualRenderer renderer;
  ASSERT_TRUE(renderer.renderFile(input, output)) << renderer.errorString().toStdString();
  EXPECT_FALSE(renderer.renderFile(input, dir.filePath("no/folder/b.pdf")));
  QFile out(output);
  const QString pdf = out.open(QIODevice::ReadOnly) ? QString::fromLatin1(out.readAll()) : "";
  EXPECT_TRUE(pdf.startsWith("%PDF") && pdf.contains("/FontFile"));
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (pdftotext.isEmpty())
    GTEST_SKIP() << "pdftotext is not installed";
  const QList<QStringList> pages = pageLines(pdftotext, output);
  ASSERT_GT(pages.size(), 2);
  for (int page = 0; page + 1 < pages.size(); ++page) {
    ASSERT_GT(pages[page].size(), 1);  // a body line above the footer
    const std::string last = pages[page].at(pages[page].size() - 2).toStdString();
    EXPECT_NE(last, pages[page + 1].first().toStdString()) << "after page " << page + 1;
  }
}

}  // namespace
