// Every text the window can show fits the control that shows it, measured
// with the control's own font and style.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionViewItem>

#include "ui/QtDialogs.h"
#include "ui/WindowFixture.h"

namespace korimo::testing {
namespace {

QString Q(const char* text) {
  return QString::fromUtf8(text);
}

int Advance(const QWidget& w, const QString& text) {
  return w.fontMetrics().horizontalAdvance(text);
}

// The widest lines a label can be given, and the room it has for them.
void ExpectFits(const CaptionLabel& label, const QString& text, const char* name) {
  for (const QString& line : text.split(QChar('\n')))
    EXPECT_LE(Advance(label, line), label.contentsRect().width()) << name << ": " << Text(line);
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

// The figures, counts, percentages and patch texts at their widest: a
// five-character full-width identifier, figures of three digits, 3000
// patches. Percentages keep clear of the sliders.
TEST_F(TextFitTest, LabelsHoldTheirWidestTexts) {
  for (Pair pair : kAllPairs) {
    const StatisticsFrame& f = window().statisticsFrame(pair);
    for (const CaptionLabel* figure :
         {f.De[0], f.De[1], f.De2K[0], f.De2K[1], f.BestDe, f.WorsDe, f.Best2K, f.Wors2K})
      ExpectFits(*figure, Q(" 375.60"), "figure");
    ExpectFits(*f.GX, Q("⊿E00   40"), "Lb_GX");
    const std::size_t p = Index(pair);
    const QString hover =
        Q("基準 ＷＷＷＷＷ  L= 100.00  a=-128.00  b=-128.00    ⊿E  ⊿E00\n"
          "対象 ＷＷＷＷＷ  L= 100.00  a=-128.00  b=-128.00 375.60 375.60");
    ExpectFits(*page().Lb_PDe[p], hover, "Lb_PDe");
    ExpectFits(*page().Lb_FDe[p], hover, "Lb_FDe");
    for (CaptionLabel* percent : {page().Lb_UPar[p], page().Lb_OPar[p]}) {
      ExpectFits(*percent, Q("100%"), "percentage");
      for (const QSlider* slider : {page().SldBest, page().SldWorst})
        EXPECT_FALSE(percent->geometry().intersects(slider->geometry()));
    }
  }
  for (DataSet set : kAllSets)
    ExpectFits(window().Lb_NoP(set), Q("3000 ﾊﾟｯﾁ"), "Lb_NoP");
  for (QCheckBox* box : {page().ChkBest, page().ChkWorst}) {
    box->setText(Q("Over  ⊿E00>40.00"));
    EXPECT_LE(box->sizeHint().width(), box->width());
  }
}

// A drag across a 3000-patch chart of 55 rows: the box shows the text from
// its first to its last character; longer identifiers leave a tooltip.
TEST_F(TextFitTest, AreaBoxShowsAWholeChartsAreaAndTipsLongerTexts) {
  AreaBox& box = *page().Lb_DeBox[0];
  box.SetCaption("A1-A55:BD1-BD55  ⊿E=2.65 Max=9.78  ⊿E00=1.65 Max=7.78");
  box.setCursorPosition(static_cast<int>(box.text().size()));
  EXPECT_EQ(box.cursorPositionAt(QPoint(box.contentsRect().left() + 4, box.height() / 2)), 0);
  EXPECT_TRUE(box.toolTip().isEmpty());
  const std::string longer = "LE123-LE123:LE123-LE123  ⊿E=12.65 Max=39.78  ⊿E00=11.65 Max=37.78";
  box.SetCaption(longer);
  EXPECT_EQ(Text(box.toolTip()), longer);
}

// The label keeps the whole path for the driver and the tooltip, and shows
// the file name at its end.
TEST_F(TextFitTest, PathLabelsKeepTheFileNameInView) {
  const std::string deep = dir_.File(std::string(40, 'd') + "/" + std::string(120, 'e') + "/x.txt");
  Choose(DataSet::File1, deep);
  const CaptionLabel& label = window().Lb_File(DataSet::File1);
  EXPECT_EQ(label.Caption(), deep);
  EXPECT_EQ(Text(label.toolTip()), deep);
  EXPECT_TRUE(label.text().endsWith(QStringLiteral("/x.txt"))) << Text(label.text());
  EXPECT_LE(Advance(label, label.text()), label.contentsRect().width());
}

// Qt's own texts are Japanese, and the open dialog takes a name that does
// not exist.
TEST(QtTextsTest, DialogsSpeakJapaneseAndTheOpenDialogTakesAMissingName) {
  QDialogButtonBox buttons(QDialogButtonBox::Cancel);
  EXPECT_EQ(Text(buttons.button(QDialogButtonBox::Cancel)->text()), "キャンセル");
  TempDir dir("dialog");
  QFileDialog dialog;
  QtDialogs::PrepareOpenDialog(dialog, QString());
  const QString missing = QString::fromStdString(dir.File("missing.txt"));
  dialog.selectFile(missing);
  QMetaObject::invokeMethod(&dialog, "accept");  // as the dialog's own button does
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.selectedFiles(), QStringList{missing});
}

}  // namespace
}  // namespace korimo::testing
