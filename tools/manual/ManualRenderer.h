#pragma once

#include <QByteArray>
#include <QSizeF>
#include <QString>

class QPainter;
class QPdfWriter;
class QTextDocument;

// Renders a Markdown text to an A4 PDF: Japanese body and monospace fonts
// embedded, visible table borders, page numbers in the footer. Needs a
// QGuiApplication (the offscreen platform is enough).
class ManualRenderer {
 public:
  ManualRenderer() = default;

  // Reads `inputPath` (UTF-8 Markdown) and writes the PDF to `outputPath`
  // through QSaveFile. On failure nothing is written and errorString() says
  // which file failed and why.
  bool renderFile(const QString& inputPath, const QString& outputPath);

  // Renders `markdown` into `pdf`. Fails only when no Japanese font exists.
  bool renderToPdf(const QString& markdown, QByteArray* pdf);

  QString errorString() const { return error_; }
  int pageCount() const { return pageCount_; }

 private:
  bool chooseFonts();
  void buildDocument(QTextDocument& doc, const QString& markdown) const;
  void styleBlocks(QTextDocument& doc) const;
  void styleTables(QTextDocument& doc) const;
  void paintPages(QTextDocument& doc, QPdfWriter& writer);
  void paintFooter(QPainter& painter, const QSizeF& body, int page) const;
  bool readInput(const QString& path, QString* text);
  bool writeOutput(const QString& path, const QByteArray& pdf);

  QString bodyFamily_;
  QString monoFamily_;
  QString title_;
  QString error_;
  int pageCount_ = 0;
};
