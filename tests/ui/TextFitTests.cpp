// Every text the window can show fits the control that shows it, measured
// with the control's own font and style.
#include <QDialogButtonBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>

#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

QString Q(const char* text) {
  return QString::fromUtf8(text);
}

int Advance(const QWidget& w, const QString& text) {
  return w.fontMetrics().horizontalAdvance(text);
}

class TextFitTest : public WindowTest {
 protected:
  // The rectangle the grid's style gives a cell's text.
  QRect TextRect(int row, int col) {
    QStyleOptionViewItem option;
    option.initFrom(grid().viewport());
    option.rect = grid().visualRect(grid().model()->index(row, col));
    option.features = QStyleOptionViewItem::HasDisplay;
    option.text = QString(500, QChar(u'0'));  // longer than any cell: the whole room
    return grid().style()->subElementRect(QStyle::SE_ItemViewItemText, &option, &grid());
  }
};

// " 3000" stands whole to the right of the swatch strip; any five
// characters, full-width ones too, fit the ID column; a negative figure of
// three digits every number column; and every heading with its sort mark.
TEST_F(TextFitTest, GridColumnsHoldTheirWidestCellsAndHeadings) {
  Show(1);
  LoadPair({1});
  const QRect no = TextRect(0, 0);
  const QRect strip =
      window().PictD().geometry().translated(-grid().pos() - grid().viewport()->pos());
  EXPECT_GE(no.right() - Advance(grid(), Q(" 3000")), strip.right()) << "No.";
  EXPECT_LE(Advance(grid(), Q("ＷＷＷＷＷ")), TextRect(0, 1).width()) << "ID";
  EXPECT_LE(Advance(grid(), Q("WWWWW")), TextRect(0, 1).width()) << "ID";
  const QHeaderView& header = *grid().horizontalHeader();
  const int headerMargin = header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
  const char* names[] = {"No.", "ID",   "L0", "a0", "b0", "L1", "a1",  "b1",
                         "⊿E",  "⊿E00", "L2", "a2", "b2", "⊿E", "⊿E00"};
  for (int c = 0; c < kGridCols; ++c) {
    if (c >= 2) {
      EXPECT_LE(Advance(grid(), Q("-100.00")), TextRect(0, c).width()) << c;
    }
    for (const char* mark : {"▲", "▼", "\u3000"}) {
      const QString heading = Q(names[c]) + Q(mark);
      EXPECT_LE(header.fontMetrics().horizontalAdvance(heading) + 2 * headerMargin,
                header.sectionSize(c))
          << Text(heading);
    }
  }
}

// Qt's own texts are Japanese.
TEST(QtTextsTest, DialogsSpeakJapanese) {
  QDialogButtonBox buttons(QDialogButtonBox::Cancel);
  EXPECT_EQ(Text(buttons.button(QDialogButtonBox::Cancel)->text()), "キャンセル");
}

}  // namespace
}  // namespace korimo::testing
