#include "ui/DataPage.h"

#include <QFontMetrics>
#include <QPushButton>

#include <algorithm>
#include <cmath>

#include "app/WindowRecord.h"
#include "ui/CaptionLabel.h"
#include "ui/FlexGrid.h"
#include "ui/Fonts.h"
#include "ui/PictureBox.h"
#include "ui/StaticCaptions.h"
#include "ui/Twips.h"

namespace korimo {

namespace {

constexpr int kGridLeft = 60;
constexpr int kGridTop = 600;
constexpr int kSwatchLeft = 100;
constexpr int kSwatchWidth = 315;

int TextTwips(const QFontMetrics& metrics, const QString& text) {
  return metrics.horizontalAdvance(text) * kTwipsPerPixel;
}

}  // namespace

DataPage::DataPage(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::NoFrame);
  FlexG = new FlexGrid(this);
  FlexG->setFont(WindowFont());
  FlexG->SetGeometryTwips(kGridLeft, kGridTop, 12135, 7515);
  FlexG->setAcceptDrops(true);

  PictD = new PictureBox(this);
  PictD->SetGeometryTwips(kSwatchLeft, kGridTop, kSwatchWidth, 1000);
  // The strip takes no files; a drag over it is refused rather than accepted
  // and then dropped without effect.
  PictD->setAcceptDrops(false);

  But_DataR = new QPushButton(QString::fromUtf8(kResultsCaption), this);
  But_DataR->setGeometry(TwipsRect(12000, 0, 1695, 375));
  But_DataR->setFont(UiFont());

  for (int i = 0; i < 3; ++i) {
    Lb_Head[i] = new CaptionLabel(this, kSetCaptions[i]);
    Lb_Head[i]->setAlignment(Qt::AlignCenter);
    Lb_Head[i]->setFont(UiFont());
    Lb_Head[i]->setFrameShape(QFrame::Box);
  }
}

// The widest texts of a column: the patch number to the right of the swatch
// strip, any five characters of an identifier, full-width ones included, a
// negative figure of three digits; and its heading with a sort mark.
int DataPage::NeededWidth(int col) const {
  int cell = 0;
  if (col == 0) {
    const int swatchRight = PictD->geometry().right() + 1 - FlexG->x() - FlexG->viewport()->x();
    cell = swatchRight + FlexG->CellWidthFor(QStringLiteral(" 3000"));
  } else if (col == 1) {
    for (const QString& id : {QStringLiteral("\uFF37\uFF37\uFF37\uFF37\uFF37"),
                              QStringLiteral("WWWWW"), QStringLiteral("@@@@@")})
      cell = std::max(cell, FlexG->CellWidthFor(id));
  } else {
    cell = FlexG->CellWidthFor(QStringLiteral("-100.00"));
  }
  const std::string_view name = kGridHeadingNames[static_cast<std::size_t>(col)];
  const QString heading = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  for (std::string_view mark : {kNoMark, kAscendingMark, kDescendingMark}) {
    const QString marked =
        heading + QString::fromUtf8(mark.data(), static_cast<qsizetype>(mark.size()));
    cell = std::max(cell, FlexG->HeadingWidthFor(marked));
  }
  return cell;
}

int DataPage::VisibleRows() const {
  return FlexG->HeightTwips() / FlexG->RowHeightTwips(1) - 1;
}

void DataPage::LayOut(int chartPageWidthTwips) {
  const QFontMetrics metrics(FlexG->font());
  // The widths the layout gives, widened where the font needs more for the
  // widest cell or heading a column can show.
  const int designWidths[3] = {TextTwips(metrics, QStringLiteral("No.   ")) + 30 + kSwatchWidth,
                               TextTwips(metrics, QStringLiteral("No. \u3000")) + 30,
                               TextTwips(metrics, QStringLiteral("-100.0000")) + 30};
  for (int c = 0; c < kGridCols; ++c) {
    const int design = designWidths[std::min(c, 2)];
    FlexG->SetColWidthTwips(c, std::max(design, NeededWidth(c) * kTwipsPerPixel));
  }

  // The swatches sit over the first column, below the heading row.
  const int headingHeight = FlexG->RowHeightTwips(0);
  PictD->SetGeometryTwips(kSwatchLeft, FlexG->TopTwips() + headingHeight + 30, kSwatchWidth,
                          FlexG->HeightTwips() - (headingHeight + 70));
  PictD->raise();

  const int groupWidth = 3 * FlexG->ColWidthTwips(2);
  const int head0 = FlexG->LeftTwips() + FlexG->ColWidthTwips(0) + FlexG->ColWidthTwips(1) + 30;
  const int head2 =
      head0 + groupWidth + groupWidth + FlexG->ColWidthTwips(8) + FlexG->ColWidthTwips(9);
  const int lefts[3] = {head0, head0 + groupWidth, head2};
  for (int i = 0; i < 3; ++i)
    Lb_Head[i]->setGeometry(TwipsRect(lefts[i], 360, groupWidth, 255));

  FlexG->SetWidthTwips(static_cast<int>(std::nearbyint(0.97 * chartPageWidthTwips)));
}

}  // namespace korimo
