#include "ManualPaginator.h"

#include <QAbstractTextDocumentLayout>
#include <QList>
#include <QRectF>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFormat>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextLength>
#include <QTextList>
#include <QTextTable>
#include <QTextTableCell>

#include <cmath>

namespace {

// Blocks and tables keep their page break under the same property.
bool startsPage(const QTextFormat& format) {
  return format.intProperty(QTextFormat::PageBreakPolicy) & QTextFormat::PageBreak_AlwaysBefore;
}

void breakBefore(const QTextBlock& block) {
  QTextBlockFormat format = block.blockFormat();
  format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
  QTextCursor(block).setBlockFormat(format);
}

void breakBefore(QTextTable* table) {
  QTextTableFormat format = table->format();
  format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
  table->setFormat(format);
}

bool isHeading(const QTextBlock& block) {
  return block.isValid() && block.blockFormat().headingLevel() >= 2;
}

// Headings, and lines ending in a colon that announce what follows them.
bool keepsWithNext(const QTextBlock& block) {
  const QString text = block.text().trimmed();
  return isHeading(block) || text.endsWith(u':') || text.endsWith(u'\uFF1A');
}

// The part on the next page reads on from the part before it: no space above
// it and, in a list, no second marker.
void splitBlock(const QTextBlock& block, int line) {
  QTextBlockFormat format = block.blockFormat();
  format.setTopMargin(0.0);
  format.clearProperty(QTextFormat::BlockMarker);
  QTextCursor cursor(block);
  cursor.setPosition(block.position() + block.layout()->lineAt(line).textStart());
  cursor.insertBlock(format, block.charFormat());
  if (QTextList* list = cursor.block().textList()) {
    list->remove(cursor.block());
  }
}

qreal cellLeft(QTextTable* table, int column) {
  const QTextBlock block = table->cellAt(0, column).firstCursorPosition().block();
  return table->document()->documentLayout()->blockBoundingRect(block).left();
}

// Both parts of a cut table keep the columns the whole table had, so that the
// part on the next page does not look like another table.
void fixColumnWidths(QTextTable* table) {
  const qreal right = table->document()->documentLayout()->frameBoundingRect(table).right();
  QList<qreal> edges;
  for (int column = 0; column < table->columns(); ++column) {
    edges.append(cellLeft(table, column));
  }
  edges.append(right);
  QList<QTextLength> widths;
  for (int column = 0; column < table->columns(); ++column) {
    const qreal share = (edges[column + 1] - edges[column]) / (right - edges.first());
    widths.append(QTextLength(QTextLength::PercentageLength, 100.0 * share));
  }
  QTextTableFormat format = table->format();
  format.setColumnWidthConstraints(widths);
  table->setFormat(format);
}

void copyRow(QTextTable* from, int fromRow, QTextTable* to, int toRow) {
  for (int column = 0; column < from->columns(); ++column) {
    const QTextTableCell source = from->cellAt(fromRow, column);
    QTextCursor cursor = source.firstCursorPosition();
    cursor.setPosition(source.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    QTextTableCell target = to->cellAt(toRow, column);
    target.setFormat(source.format());
    target.firstCursorPosition().insertFragment(cursor.selection());
  }
}

// Moves the rows from `row` on into a table of their own that starts the next
// page, under a copy of the header row. The first part loses its bottom
// margin: reaching past the page end, it would push the empty block between
// the two tables onto the next page, and the second table onto the one after.
void splitTable(QTextTable* table, int row) {
  fixColumnWidths(table);
  QTextTableFormat format = table->format();
  format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
  QTextTableFormat first = table->format();
  first.setBottomMargin(0.0);
  table->setFormat(first);
  QTextCursor cursor(table->document());
  cursor.setPosition(table->lastPosition() + 1);
  const int rows = table->rows();
  QTextTable* rest = cursor.insertTable(rows - row + 1, table->columns(), format);
  copyRow(table, 0, rest, 0);
  for (int source = row; source < rows; ++source) {
    copyRow(table, source, rest, source - row + 1);
  }
  table->removeRows(row, rows - row);
}

}  // namespace

ManualPaginator::ManualPaginator(QTextDocument& doc, const QSizeF& page, qreal headingRoom)
    : doc_(doc), page_(page), headingRoom_(headingRoom) {}

int ManualPaginator::paginate() {
  relayout();
  while (fixFirstStraddle()) {
    relayout();
  }
  return doc_.pageCount();
}

// Fixes the first boundary problem in reading order only: every fix moves what
// follows it, so later positions are stale until the next layout.
bool ManualPaginator::fixFirstStraddle() {
  QTextBlock lead;  // first of the blocks right above that go with the next item
  QTextFrame* root = doc_.rootFrame();
  for (QTextFrame::iterator it = root->begin(); !it.atEnd(); ++it) {
    const QTextBlock block = it.currentBlock();
    if (auto* table = qobject_cast<QTextTable*>(it.currentFrame())) {
      if (fixTable(table, lead)) {
        return true;
      }
      lead = QTextBlock();
    } else if (block.isValid()) {
      if (fixBlock(block)) {
        return true;
      }
      lead = !keepsWithNext(block) ? QTextBlock() : (lead.isValid() ? lead : block);
    }
  }
  return false;
}

bool ManualPaginator::fixBlock(const QTextBlock& block) {
  if (needsNextPage(block)) {
    breakBefore(block);
    return true;
  }
  const int line = firstLineOnNextPage(block);
  if (line < 1) {
    return false;
  }
  splitBlock(block, line);
  return true;
}

// A table goes to the next page whole, together with `lead`, the heading or
// caption right above it. Only a table that already starts a page and still
// does not fit is cut; one whose first row alone fills the page is left to Qt.
bool ManualPaginator::fixTable(QTextTable* table, const QTextBlock& lead) {
  const int row = firstRowOnNextPage(table);
  if (row < 1) {
    return false;
  }
  const bool led = lead.isValid();
  if (!startsPage(led ? QTextFormat(lead.blockFormat()) : QTextFormat(table->format()))) {
    led ? breakBefore(lead) : breakBefore(table);
    return true;
  }
  if (row < 2) {
    return false;
  }
  splitTable(table, row);
  return true;
}

// Headings below the title that end so close to the end of their page that
// none of their text would follow them there.
bool ManualPaginator::needsNextPage(const QTextBlock& heading) const {
  if (!isHeading(heading) || startsPage(heading.blockFormat())) {
    return false;
  }
  const QRectF rect = doc_.documentLayout()->blockBoundingRect(heading);
  const qreal pageEnd = (pageOf(rect.top()) + 1) * page_.height();
  return pageEnd - rect.bottom() < headingRoom_;
}

// -1 when the whole block is on one page.
int ManualPaginator::firstLineOnNextPage(const QTextBlock& block) const {
  const QTextLayout* layout = block.layout();
  const qreal top = doc_.documentLayout()->blockBoundingRect(block).top();
  const int firstPage = pageOf(top + layout->lineAt(0).y());
  for (int line = 1; line < layout->lineCount(); ++line) {
    if (pageOf(top + layout->lineAt(line).y()) != firstPage) {
      return line;
    }
  }
  return -1;
}

// -1 when the whole table is on one page.
int ManualPaginator::firstRowOnNextPage(QTextTable* table) const {
  const int firstPage = pageOf(rowTop(table, 0));
  for (int row = 1; row < table->rows(); ++row) {
    if (pageOf(rowTop(table, row)) != firstPage) {
      return row;
    }
  }
  return -1;
}

qreal ManualPaginator::rowTop(QTextTable* table, int row) const {
  const QTextBlock block = table->cellAt(row, 0).firstCursorPosition().block();
  return doc_.documentLayout()->blockBoundingRect(block).top();
}

int ManualPaginator::pageOf(qreal y) const {
  return static_cast<int>(std::floor(y / page_.height()));
}

// Setting the page size lays the whole document out again.
void ManualPaginator::relayout() {
  doc_.setPageSize(page_);
}
