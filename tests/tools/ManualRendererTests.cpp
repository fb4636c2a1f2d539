#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <fstream>

#include "ManualRenderer.h"

namespace {

// Markdown to a PDF of several pages, Japanese font embedded; failing files named.
TEST(ManualRenderer, RendersJapaneseMarkdownFilesToPdf) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "manual_tests";
  char* argv[] = {name, nullptr};
  const QGuiApplication app(argc, argv);
  const QTemporaryDir dir;
  const QString input = dir.filePath("入力.md"), output = dir.filePath("出力.pdf");
  QString markdown = "# 使用説明書\n\n| 項目 | 内容 |\n|---|---|\n| 平均 | 1.23 |\n\n";
  for (int i = 0; i < 150; ++i)
    markdown += QStringLiteral("段落 %1：色差の平均と最大を表示します。\n\n").arg(i);
  std::ofstream(input.toStdString()) << markdown.toStdString();
  ManualRenderer renderer;
  ASSERT_TRUE(renderer.renderFile(input, output)) << renderer.errorString().toStdString();
  QFile out(output);
  const QString pdf = out.open(QIODevice::ReadOnly) ? QString::fromLatin1(out.readAll()) : "";
  EXPECT_TRUE(pdf.startsWith("%PDF") && pdf.contains("/FontFile"));
  EXPECT_GT(pdf.count(QRegularExpression("/Type\\s*/Page(?![a-zA-Z])")), 1);
  EXPECT_FALSE(renderer.renderFile(input, dir.filePath("no/folder/b.pdf")));
  EXPECT_TRUE(renderer.errorString().contains(dir.filePath("no/folder/b.pdf")));
  EXPECT_FALSE(renderer.renderFile(dir.filePath("none.md"), output + "2"));
  EXPECT_TRUE(renderer.errorString().contains(dir.filePath("none.md")));
  EXPECT_FALSE(QFile::exists(output + "2"));
}

}  // namespace
