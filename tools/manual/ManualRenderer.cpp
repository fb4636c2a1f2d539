#include "ManualRenderer.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSaveFile>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>
#include <QTextFrame>
#include <QTextLength>
#include <QTextTable>
#include <QTextTableCell>

#include <functional>

#include "ManualPaginator.h"

namespace {

constexpr int kResolution = 300;  // dots per inch of the PDF's coordinate system
constexpr qreal kBodyPointSize = 10.0;
constexpr qreal kCodePointSize = 9.0;
constexpr qreal kFooterPointSize = 8.0;
constexpr qreal kFooterHeightMm = 10.0;
constexpr qreal kPageEdgeGap = 8.0;  // in the layout's 96-dpi units
constexpr qreal kHeadingMinRoomMm = 20.0;
const QMarginsF kPageMarginsMm(20.0, 16.0, 20.0, 12.0);
const QColor kCodeBackground(0xF3, 0xF3, 0xF3);
const QColor kChapterBackground(0xE6, 0xEE, 0xF7);
const QColor kTableBorder(0x50, 0x50, 0x50);
const QColor kTableHeaderBackground(0xE4, 0xE4, 0xE4);
const QColor kFooterColor(0x60, 0x60, 0x60);
const QString kDefaultTitle = QStringLiteral("Korimo 使用説明書");

// Preferred families, in order; the IPA Gothic pair is what the build machines carry.
const QStringList kBodyFamilies = {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                   QStringLiteral("IPA Pゴシック"), QStringLiteral("IPAゴシック")};
const QStringList kMonoFamilies = {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")};

QString firstAvailable(const QStringList& wanted, const QStringList& available) {
  for (const QString& family : wanted) {
    if (available.contains(family, Qt::CaseInsensitive)) {
      return family;
    }
  }
  return {};
}

QString firstFixedPitch(const QStringList& available) {
  for (const QString& family : available) {
    if (QFontDatabase::isFixedPitch(family)) {
      return family;
    }
  }
  return {};
}

bool isCodeBlock(const QTextBlockFormat& format) {
  return format.hasProperty(QTextFormat::BlockCodeFence) ||
         format.hasProperty(QTextFormat::BlockCodeLanguage) || format.nonBreakableLines();
}

// Applies `change` to the character format of every fragment of `block`.
void changeFragments(const QTextBlock& block, const std::function<void(QTextCharFormat&)>& change) {
  struct Span {
    int position;
    int length;
    QTextCharFormat format;
  };
  QList<Span> spans;
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    spans.append({fragment.position(), fragment.length(), fragment.charFormat()});
  }
  QTextCursor cursor(block);
  for (Span& span : spans) {
    change(span.format);
    cursor.setPosition(span.position);
    cursor.setPosition(span.position + span.length, QTextCursor::KeepAnchor);
    cursor.setCharFormat(span.format);
  }
}

void setFamily(QTextCharFormat& format, const QString& family) {
  format.setFontFamilies(QStringList{family});
}

void styleHeading(const QTextBlock& block, const QString& body, const QString& mono) {
  static const qreal kSizes[] = {20.0, 14.0, 12.0, 10.5, 10.0, 10.0};
  const int level = qBound(1, block.blockFormat().headingLevel(), 6);
  changeFragments(block, [&](QTextCharFormat& format) {
    const bool code = format.fontFixedPitch();
    format.clearProperty(QTextFormat::FontSizeAdjustment);
    format.setFontPointSize(kSizes[level - 1]);
    format.setFontWeight(QFont::Bold);
    setFamily(format, code ? mono : body);
  });
  QTextBlockFormat format = block.blockFormat();
  format.setTopMargin(level == 1 ? 0.0 : (level == 2 ? 18.0 : 12.0));
  format.setBottomMargin(level <= 2 ? 8.0 : 4.0);
  if (level == 2) {
    format.setBackground(kChapterBackground);
  }
  QTextCursor(block).setBlockFormat(format);
}

// Every line of a fenced code block is a block of its own; only the first and
// the last get space outside the shaded area.
void styleCodeBlock(const QTextBlock& block, const QString& mono) {
  changeFragments(block, [&](QTextCharFormat& format) {
    setFamily(format, mono);
    format.setFontPointSize(kCodePointSize);
  });
  QTextBlockFormat format = block.blockFormat();
  format.setBackground(kCodeBackground);
  format.setLeftMargin(8.0);
  format.setLineHeight(100.0, QTextBlockFormat::SingleHeight);
  const bool first = !block.previous().isValid() || !isCodeBlock(block.previous().blockFormat());
  const bool last = !block.next().isValid() || !isCodeBlock(block.next().blockFormat());
  format.setTopMargin(first ? 6.0 : 0.0);
  format.setBottomMargin(last ? 8.0 : 0.0);
  QTextCursor(block).setBlockFormat(format);
}

void styleParagraph(const QTextBlock& block, const QString& mono) {
  changeFragments(block, [&](QTextCharFormat& format) {
    if (format.fontFixedPitch()) {
      setFamily(format, mono);
    }
  });
  QTextBlockFormat format = block.blockFormat();
  format.setLineHeight(135.0, QTextBlockFormat::ProportionalHeight);
  QTextCursor(block).setBlockFormat(format);
}

void collectTables(QTextFrame* frame, QList<QTextTable*>* tables) {
  const QList<QTextFrame*> children = frame->childFrames();
  for (QTextFrame* child : children) {
    if (auto* table = qobject_cast<QTextTable*>(child)) {
      tables->append(table);
    }
    collectTables(child, tables);
  }
}

void styleTableFrame(QTextTable* table) {
  QTextTableFormat format = table->format();
  format.setBorder(1.0);
  format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
  format.setBorderBrush(kTableBorder);
  format.setBorderCollapse(true);
  format.setCellSpacing(0.0);
  format.setCellPadding(4.0);
  format.setTopMargin(4.0);
  format.setBottomMargin(10.0);
  format.setWidth(QTextLength(QTextLength::PercentageLength, 100.0));
  table->setFormat(format);
}

void styleTableHeader(QTextTable* table) {
  for (int column = 0; column < table->columns(); ++column) {
    QTextTableCell cell = table->cellAt(0, column);
    QTextTableCellFormat format = cell.format().toTableCellFormat();
    format.setBackground(kTableHeaderBackground);
    format.setFontWeight(QFont::Bold);
    cell.setFormat(format);
  }
}

QString findTitle(const QTextDocument& doc) {
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() == 1) {
      return block.text().trimmed();
    }
  }
  return kDefaultTitle;
}

// A line moved to the next page starts below this gap, so that no part of its
// glyphs reaches back into the previous page.
void reservePageEdges(QTextDocument& doc) {
  QTextFrameFormat format = doc.rootFrame()->frameFormat();
  format.setMargin(0.0);
  format.setTopMargin(kPageEdgeGap);
  format.setBottomMargin(kPageEdgeGap);
  doc.rootFrame()->setFrameFormat(format);
}

qreal mmToDots(qreal mm) {
  return mm / 25.4 * kResolution;
}

}  // namespace

bool ManualRenderer::renderFile(const QString& inputPath, const QString& outputPath) {
  QString markdown;
  QByteArray pdf;
  return readInput(inputPath, &markdown) && renderToPdf(markdown, &pdf) &&
         writeOutput(outputPath, pdf);
}

bool ManualRenderer::renderToPdf(const QString& markdown, QByteArray* pdf) {
  pageCount_ = 0;
  if (!chooseFonts()) {
    return false;
  }
  pdf->clear();
  QBuffer buffer(pdf);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(kResolution);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, kPageMarginsMm,
                                   QPageLayout::Millimeter));
  QTextDocument doc;
  buildDocument(doc, markdown);
  title_ = findTitle(doc);
  writer.setTitle(title_);
  writer.setCreator(QStringLiteral("Korimo"));
  paintPages(doc, writer);
  return true;
}

bool ManualRenderer::chooseFonts() {
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  bodyFamily_ = firstAvailable(kBodyFamilies, japanese);
  if (bodyFamily_.isEmpty() && !japanese.isEmpty()) {
    bodyFamily_ = japanese.first();
  }
  if (bodyFamily_.isEmpty()) {
    error_ =
        QStringLiteral("no font with Japanese glyphs is installed (install fonts-ipafont-gothic)");
    return false;
  }
  monoFamily_ = firstAvailable(kMonoFamilies, japanese);
  if (monoFamily_.isEmpty()) {
    monoFamily_ = firstFixedPitch(japanese);
  }
  if (monoFamily_.isEmpty()) {
    monoFamily_ = bodyFamily_;
  }
  return true;
}

void ManualRenderer::buildDocument(QTextDocument& doc, const QString& markdown) const {
  QFont font(bodyFamily_);
  font.setPointSizeF(kBodyPointSize);
  doc.setDefaultFont(font);
  doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
  reservePageEdges(doc);
  styleBlocks(doc);
  styleTables(doc);
}

void ManualRenderer::styleBlocks(QTextDocument& doc) const {
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    const QTextBlockFormat format = block.blockFormat();
    if (isCodeBlock(format)) {
      styleCodeBlock(block, monoFamily_);
    } else if (format.headingLevel() > 0) {
      styleHeading(block, bodyFamily_, monoFamily_);
    } else {
      styleParagraph(block, monoFamily_);
    }
  }
}

void ManualRenderer::styleTables(QTextDocument& doc) const {
  QList<QTextTable*> tables;
  collectTables(doc.rootFrame(), &tables);
  for (QTextTable* table : tables) {
    styleTableFrame(table);
    styleTableHeader(table);
  }
}

void ManualRenderer::paintPages(QTextDocument& doc, QPdfWriter& writer) {
  const QRectF paintRect = writer.pageLayout().paintRectPixels(kResolution);
  const QSizeF body(paintRect.width(), paintRect.height() - mmToDots(kFooterHeightMm));
  doc.documentLayout()->setPaintDevice(&writer);
  pageCount_ = ManualPaginator(doc, body, mmToDots(kHeadingMinRoomMm)).paginate();
  QPainter painter(&writer);
  for (int page = 0; page < pageCount_; ++page) {
    if (page > 0) {
      writer.newPage();
    }
    painter.save();
    painter.translate(0.0, -page * body.height());
    doc.drawContents(&painter, QRectF(QPointF(0.0, page * body.height()), body));
    painter.restore();
    paintFooter(painter, body, page);
  }
  painter.end();
}

void ManualRenderer::paintFooter(QPainter& painter, const QSizeF& body, int page) const {
  QFont font(bodyFamily_);
  font.setPointSizeF(kFooterPointSize);
  painter.setFont(font);
  painter.setPen(QPen(kFooterColor, mmToDots(0.2)));
  const qreal top = body.height() + mmToDots(kFooterHeightMm) * 0.35;
  painter.drawLine(QPointF(0.0, top), QPointF(body.width(), top));
  const QRectF text(0.0, top, body.width(), mmToDots(kFooterHeightMm) * 0.65);
  painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, title_);
  painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("%1 / %2").arg(page + 1).arg(pageCount_));
}

bool ManualRenderer::readInput(const QString& path, QString* text) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error_ = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    return false;
  }
  *text = QString::fromUtf8(file.readAll());
  return true;
}

bool ManualRenderer::writeOutput(const QString& path, const QByteArray& pdf) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.commit()) {
    error_ = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return false;
  }
  return true;
}
