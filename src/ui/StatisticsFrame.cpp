#include "ui/StatisticsFrame.h"

#include <QPainter>
#include <QPushButton>

#include "ui/CaptionLabel.h"
#include "ui/Fonts.h"
#include "ui/PictureBox.h"
#include "ui/StaticCaptions.h"
#include "ui/Twips.h"

namespace korimo {

namespace {
constexpr int kFigureWidth = 615;
constexpr int kFigureHeight = 195;
constexpr int kRowDe = 360;
constexpr int kRowDe2K = 720;
// Seven characters, as every figure is formatted; differences of CIELAB
// colours stay below 400.
constexpr char kWidestFigure[] = " 888.88";
}  // namespace

StatisticsFrame::StatisticsFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {
  setFont(UiFont());
  Label(660, 180, 1440, 195, kAverageMaximumHeading, Qt::AlignLeft);
  Label(2160, 180, 1500, 195, kPercentileHeading, Qt::AlignLeft);
  Label(120, kRowDe, 540, 195, kDeAbRowHeading, Qt::AlignLeft);
  Label(120, kRowDe2K, 540, 195, kDe00RowHeading, Qt::AlignLeft);
  De = {Figure(660, kRowDe), Figure(1380, kRowDe)};
  De2K = {Figure(660, kRowDe2K), Figure(1380, kRowDe2K)};
  BestDe = Figure(2160, kRowDe);
  WorsDe = Figure(2880, kRowDe);
  Best2K = Figure(2160, kRowDe2K);
  Wors2K = Figure(2880, kRowDe2K);

  CopyDe = new QPushButton(QString::fromUtf8(kCopyCaption), this);
  CopyDe->setGeometry(TwipsRect(3720, 240, 1035, 315));
  CopyDe2K = new QPushButton(QString::fromUtf8(kCopyCaption), this);
  CopyDe2K->setGeometry(TwipsRect(3720, 690, 1035, 300));

  PictG = new PictureBox(this);
  PictG->SetBorder(PictureBox::Border::Flat);
  PictG->SetGeometryTwips(5280, 120, 1755, 735);
  // A histogram takes no files; a drag over it is refused rather than
  // accepted and then dropped without effect.
  PictG->setAcceptDrops(false);
  // The count axis label reaches left up to the copy buttons: a bin count of
  // four digits is wider than the design width in the fonts available here,
  // and a right-aligned label would cut off its leading digit.
  GY = Label(4770, 120, 465, 735, "", Qt::AlignRight | Qt::AlignTop);
  GX = Label(5220, 840, 1695, 195, "", Qt::AlignRight | Qt::AlignTop);
  G0 = Label(5280, 840, 300, 195, kHistogramOrigin, Qt::AlignLeft | Qt::AlignTop);
  G0->lower();
}

CaptionLabel* StatisticsFrame::Label(int left, int top, int width, int height, const char* caption,
                                     Qt::Alignment alignment) {
  auto* label = new CaptionLabel(this, caption);
  label->setGeometry(TwipsRect(left, top, width, height));
  label->setAlignment(alignment);
  return label;
}

// A figure is right-aligned under its heading; where the font needs more
// than the design width for the widest figure, the label grows to the left.
CaptionLabel* StatisticsFrame::Figure(int left, int top) {
  CaptionLabel* label = Label(left, top, kFigureWidth, kFigureHeight, "", Qt::AlignRight);
  label->setFont(WindowFont());
  const int needed = label->fontMetrics().horizontalAdvance(QString::fromLatin1(kWidestFigure));
  QRect geometry = label->geometry();
  if (needed > geometry.width())
    geometry.setLeft(geometry.right() + 1 - needed);
  label->setGeometry(geometry);
  return label;
}

// The caption sits in the frame's top line, as on the form it was laid out
// for; the style's own group box puts the line lower, through the column
// headings.
void StatisticsFrame::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  const int lineY = metrics.height() / 2;
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, lineY, -1, -1));
  const QRect caption(6, 0, metrics.horizontalAdvance(title()) + 6, metrics.height());
  painter.fillRect(caption, palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(caption, Qt::AlignCenter, title());
}

}  // namespace korimo
