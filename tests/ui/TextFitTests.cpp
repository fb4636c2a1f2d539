// Every text the window can show fits the control that shows it, measured
// with the control's own font and style.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTableView>

#include "ui/RunPage.h"
#include "ui/RunStatisticsFrame.h"
#include "ui/StaticCaptions.h"
#include "ui/TrendPlot.h"
#include "ui/VerificationPage.h"
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

// The run page's captions stand whole at the window's size, with a criteria
// set chosen: its buttons and choices, the statistics frame (its verdict
// before any sheet is compared is the longest), the table's headings with
// their sort marks, the plots' titles and keys; and with the fourth tab the
// strip of pairing warnings still shows a warning whole.
TEST_F(TextFitTest, RunPageCaptionsAndThePairingStripFit) {
  window().verificationPage().setChoice->setCurrentIndex(1);
  emit window().verificationPage().setChoice->activated(1);
  Show(kRunPageTab);
  RunPage& run = window().runPage();
  const auto labelsFit = [&] {
    for (const CaptionLabel* label : run.findChildren<CaptionLabel*>())
      EXPECT_TRUE(label->Fits()) << Text(label->FullText());
  };
  labelsFit();
  EXPECT_FALSE(run.statistics->verdict->Caption().empty());
  Choose(DataSet::Reference, std::string(KORIMO_SAMPLES_DIR) + "/wedge-reference.txt");
  Offer(&run, {std::string(KORIMO_SAMPLES_DIR) + "/run"});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !run.Session().Busy(); }, 20000));
  QApplication::processEvents();
  labelsFit();
  for (const QPushButton* button : run.findChildren<QPushButton*>())
    EXPECT_LE(button->sizeHint().width(), button->width()) << Text(button->text());
  EXPECT_LE(run.orderChoice->sizeHint().width(), run.orderChoice->width());
  const QHeaderView& header = *run.table->horizontalHeader();
  const int margin = header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
  for (int c = 0; c < header.count(); ++c) {
    const QString heading = header.model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_LE(header.fontMetrics().horizontalAdvance(heading + Q("▼")) + 2 * margin,
              header.sectionSize(c))
        << Text(heading);
  }
  for (const TrendPlot* plot : {run.trend, run.criteriaTrend}) {
    ASSERT_TRUE(plot->isVisible());
    const QRect area = plot->PlotRect();
    EXPECT_LE(Advance(*plot, Q(plot->Chart().title.c_str())), plot->width());
    EXPECT_GE(area.width(), plot->width() / 2) << "keys beside " << plot->Chart().title;
    EXPECT_GE(area.height(), 100);
  }

  Choose(DataSet::Reference, Chart("forty.txt", Flat(40)));
  Choose(DataSet::File1, Chart("twenty.txt", Flat(20)));
  const CaptionLabel& strip = window().Lb_Pairing(Pair::ReferenceFile1);
  EXPECT_FALSE(strip.Caption().empty());
  EXPECT_TRUE(strip.Fits()) << Text(strip.FullText());
  EXPECT_GE(strip.x(), window().TabStrip1().geometry().right());
}

// Qt's own texts are Japanese.
TEST(QtTextsTest, DialogsSpeakJapanese) {
  QDialogButtonBox buttons(QDialogButtonBox::Cancel);
  EXPECT_EQ(Text(buttons.button(QDialogButtonBox::Cancel)->text()), "キャンセル");
}

}  // namespace
}  // namespace korimo::testing
