#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

#include <tuple>

#include "ManualRenderer.h"

namespace {

const QString kShort = QStringLiteral(
    "# 使用説明書\n\n基準ファイルと比較ファイルの⊿Eを計算します。\n\n"
    "| 項目 | 内容 |\n|---|---|\n| 平均 | 1.23 |\n\n"
    "```\nBEGIN_DATA\n1\tA1\t95.12\t-0.48\t2.33\nEND_DATA\n```\n");

// Markdown to an A4 PDF with the Japanese font embedded, one page or several.
TEST(ManualRenderer, RendersJapaneseMarkdownToPdfAndFiles) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "manual_tests";
  char* argv[] = {name, nullptr};
  const QGuiApplication app(argc, argv);
  ManualRenderer renderer;
  QTemporaryDir dir;
  QString longText = QStringLiteral("# 長い文書\n\n");
  for (int i = 0; i < 150; ++i)
    longText += QStringLiteral("段落 %1：色差の平均と最大を表示します。\n\n").arg(i);
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
  for (const QString& markdown : {kShort, longText}) {
    QByteArray pdf;
    ASSERT_TRUE(renderer.renderToPdf(markdown, &pdf)) << renderer.errorString().toStdString();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.contains("/FontFile"));
    EXPECT_EQ(QString::fromLatin1(pdf).count(page), renderer.pageCount());
    EXPECT_EQ(renderer.pageCount() == 1, markdown == kShort) << renderer.pageCount();
  }
  // Files: the PDF is written, or the error names the file that failed.
  const QString input = dir.filePath(QStringLiteral("入力.md"));
  const QString output = dir.filePath(QStringLiteral("出力.pdf"));
  const QString missing = dir.filePath(QStringLiteral("none.md"));
  const QString unwritable = dir.filePath(QStringLiteral("missing/folder/out.pdf"));
  QFile in(input);
  ASSERT_TRUE(in.open(QIODevice::WriteOnly) && in.write(kShort.toUtf8()) > 0);
  in.close();
  ASSERT_TRUE(renderer.renderFile(input, output)) << renderer.errorString().toStdString();
  QFile out(output);
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  EXPECT_TRUE(out.readAll().startsWith("%PDF"));
  for (const auto& [from, to, named] :
       {std::tuple{missing, output + "2", missing}, std::tuple{input, unwritable, unwritable}}) {
    EXPECT_FALSE(renderer.renderFile(from, to));
    EXPECT_TRUE(renderer.errorString().contains(named)) << renderer.errorString().toStdString();
    EXPECT_FALSE(QFile::exists(to));
  }
}

}  // namespace
