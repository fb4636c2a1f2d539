#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

#include "ManualRenderer.h"

namespace {

const QString kShortMarkdown = QStringLiteral(
    "# 使用説明書\n"
    "\n"
    "基準ファイルと比較ファイルの⊿Eを計算します。\n"
    "\n"
    "| 項目 | 内容 |\n"
    "|---|---|\n"
    "| 平均 | 1.23 |\n"
    "\n"
    "```\n"
    "BEGIN_DATA\n"
    "1\tA1\t95.12\t-0.48\t2.33\n"
    "END_DATA\n"
    "```\n");

QString longMarkdown() {
  QString text = QStringLiteral("# 長い文書\n\n");
  for (int i = 0; i < 150; ++i) {
    text += QStringLiteral("段落 %1：色差の平均と最大を表示します。\n\n").arg(i);
  }
  return text;
}

int countPages(const QByteArray& pdf) {
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
  return int(QString::fromLatin1(pdf).count(page));
}

bool writeText(const QString& path, const QString& text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

class ManualRendererTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QGuiApplication::instance() == nullptr) {
      if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
      }
      static int argc = 1;
      static char name[] = "manual_tests";
      static char* argv[] = {name, nullptr};
      static QGuiApplication app(argc, argv);
    }
  }
};

TEST_F(ManualRendererTest, RendersJapaneseMarkdownToPdf) {
  ManualRenderer renderer;
  QByteArray pdf;
  ASSERT_TRUE(renderer.renderToPdf(kShortMarkdown, &pdf)) << renderer.errorString().toStdString();
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(renderer.pageCount(), 1);
  EXPECT_EQ(countPages(pdf), 1);
}

TEST_F(ManualRendererTest, EmbedsTheFont) {
  ManualRenderer renderer;
  QByteArray pdf;
  ASSERT_TRUE(renderer.renderToPdf(kShortMarkdown, &pdf));
  EXPECT_TRUE(pdf.contains("/FontFile2") || pdf.contains("FontFile"));
}

TEST_F(ManualRendererTest, LongInputGivesSeveralPages) {
  ManualRenderer renderer;
  QByteArray pdf;
  ASSERT_TRUE(renderer.renderToPdf(longMarkdown(), &pdf));
  EXPECT_GT(renderer.pageCount(), 1);
  EXPECT_EQ(countPages(pdf), renderer.pageCount());
}

TEST_F(ManualRendererTest, WritesTheOutputFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString input = dir.filePath(QStringLiteral("入力.md"));
  const QString output = dir.filePath(QStringLiteral("出力.pdf"));
  ASSERT_TRUE(writeText(input, kShortMarkdown));
  ManualRenderer renderer;
  ASSERT_TRUE(renderer.renderFile(input, output)) << renderer.errorString().toStdString();
  QFile file(output);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().startsWith("%PDF"));
}

TEST_F(ManualRendererTest, ReportsAnUnwritableOutput) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString input = dir.filePath(QStringLiteral("in.md"));
  const QString output = dir.filePath(QStringLiteral("missing/folder/out.pdf"));
  ASSERT_TRUE(writeText(input, kShortMarkdown));
  ManualRenderer renderer;
  EXPECT_FALSE(renderer.renderFile(input, output));
  EXPECT_TRUE(renderer.errorString().contains(output)) << renderer.errorString().toStdString();
  EXPECT_FALSE(QFile::exists(output));
}

TEST_F(ManualRendererTest, ReportsAMissingInput) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString input = dir.filePath(QStringLiteral("none.md"));
  const QString output = dir.filePath(QStringLiteral("out.pdf"));
  ManualRenderer renderer;
  EXPECT_FALSE(renderer.renderFile(input, output));
  EXPECT_TRUE(renderer.errorString().contains(input));
  EXPECT_FALSE(QFile::exists(output));
}

}  // namespace
