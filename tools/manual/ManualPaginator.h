#pragma once

#include <QSizeF>
#include <QTextBlock>

class QTextDocument;
class QTextTable;

// Lays a document out on pages so that every page boundary falls between two
// lines of text, or between two tables or table rows that are drawn whole on
// their pages. QTextLayout draws one line above its clip rect, so a paragraph
// spread over two pages would put its last line of one page into the next;
// such paragraphs are cut into one block per page. Tables that fit on a page
// move to the next one with the heading or caption above them; longer ones
// are cut into tables of their own, the header repeated. Headings stay with
// the text after them.
class ManualPaginator {
 public:
  // `headingRoom` is the least space, in layout units, that a heading needs
  // below it on its page.
  ManualPaginator(QTextDocument& doc, const QSizeF& page, qreal headingRoom);

  // Returns the number of pages.
  int paginate();

 private:
  bool fixFirstStraddle();
  bool fixBlock(const QTextBlock& block);
  bool fixTable(QTextTable* table, const QTextBlock& lead);
  bool needsNextPage(const QTextBlock& heading) const;
  int firstLineOnNextPage(const QTextBlock& block) const;
  int firstRowOnNextPage(QTextTable* table) const;
  qreal rowTop(QTextTable* table, int row) const;
  int pageOf(qreal y) const;
  void relayout();

  QTextDocument& doc_;
  QSizeF page_;
  qreal headingRoom_;
};
