#include "ui/ChartPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>

#include "app/PanelSettings.h"
#include "ui/AreaBox.h"
#include "ui/CaptionLabel.h"
#include "ui/Fonts.h"
#include "ui/PictureBox.h"
#include "ui/StaticCaptions.h"
#include "ui/Twips.h"

namespace korimo {

namespace {

constexpr int kChartSide = 7035;

CaptionLabel* InfoLabel(QWidget* parent, const QRect& geometry) {
  auto* label = new CaptionLabel(parent);
  label->setGeometry(geometry);
  label->setFont(UiFont());
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

}  // namespace

ChartPage::ChartPage(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::NoFrame);
  BuildChart(0, 0, 0, 5160);
  BuildChart(1, 7080, 8340, 13500);
  BuildThresholdPanel();
}

void ChartPage::BuildChart(int c, int left, int labelLeft, int copyLeft) {
  Lb_PDe[c] = InfoLabel(this, TwipsRect(labelLeft, 120, 5775, 495));
  Lb_FDe[c] = InfoLabel(this, TwipsRect(labelLeft, 600, 5775, 495));
  Lb_FDe[c]->setAutoFillBackground(true);
  QPalette yellow = Lb_FDe[c]->palette();
  yellow.setColor(QPalette::Window, QColor(255, 255, 192));
  Lb_FDe[c]->setPalette(yellow);

  Lb_DeBox[c] = new AreaBox(this);
  Lb_DeBox[c]->setGeometry(TwipsRect(labelLeft, 1140, 5145, 330));
  // Four corner identifiers and four figures: at the path labels' 8.25 pt
  // a drag across a 3000-patch chart fits the box whole.
  Lb_DeBox[c]->setFont(PathFont());
  QPalette face = Lb_DeBox[c]->palette();
  face.setColor(QPalette::Base, face.color(QPalette::Button));
  Lb_DeBox[c]->setPalette(face);

  But_CPArea[c] = new QPushButton(QString::fromUtf8(kCopyCaption), this);
  But_CPArea[c]->setGeometry(TwipsRect(copyLeft, 1140, 615, 315));

  PictPat[c] = new PictureBox(this);
  PictPat[c]->SetBorder(PictureBox::Border::Sunken);
  PictPat[c]->SetGeometryTwips(left, 1500, kChartSide, kChartSide);
  PictPat[c]->setAcceptDrops(true);

  // The area frame is a plain outline laid over the chart; it never takes the
  // mouse, so dragging over it keeps reaching the chart.
  Sh_Box[c] = new QFrame(PictPat[c]);
  Sh_Box[c]->setFrameShape(QFrame::Box);
  Sh_Box[c]->setFrameShadow(QFrame::Plain);
  Sh_Box[c]->setLineWidth(1);
  Sh_Box[c]->setAttribute(Qt::WA_TransparentForMouseEvents);
  Sh_Box[c]->hide();
}

// A percentage beside its slider, left of it for pair 0 and right of it for
// pair 1. The design lets the labels reach a pixel into the slider, where
// "100%" runs into the groove; they stop a few pixels short of it instead.
CaptionLabel* ChartPage::PercentLabel(int pair, int top, const QSlider& slider) {
  constexpr int kGap = 3;
  QRect geometry = TwipsRect(pair == 0 ? 5790 : 7875, top, 465, 255);
  if (pair == 0)
    geometry.setRight(std::min(geometry.right(), slider.geometry().left() - kGap - 1));
  else
    geometry.moveLeft(std::max(geometry.left(), slider.geometry().right() + kGap + 1));
  CaptionLabel* label = InfoLabel(this, geometry);
  label->setAlignment(pair == 0 ? Qt::AlignRight : Qt::AlignLeft);
  // Proportional digits make "100%" wider than the room between the sliders
  // and the chart labels; fixed-pitch digits fit.
  label->setFont(WindowFont());
  return label;
}

QSlider* ChartPage::Slider(int top, int position) {
  auto* slider = new QSlider(Qt::Horizontal, this);
  slider->setGeometry(TwipsRect(6240, top, 1620, 300));
  slider->setRange(0, kSliderMax);
  slider->setValue(position);
  slider->setPageStep(1);
  return slider;
}

void ChartPage::BuildThresholdPanel() {
  // The panel starts as every run of the program does.
  const PanelSettings design;
  auto* frame3 = new QGroupBox(this);
  frame3->setGeometry(TwipsRect(6060, 0, 2220, 405));
  frame3->setFlat(true);
  Opt_de[0] = new QRadioButton(QString::fromUtf8(kMetricOptions[0]), frame3);
  Opt_de[0]->setGeometry(TwipsRect(120, 60, 900, 285));
  Opt_de[1] = new QRadioButton(QString::fromUtf8(kMetricOptions[1]), frame3);
  Opt_de[1]->setGeometry(TwipsRect(1080, 60, 1080, 285));
  Opt_de[design.metric == Metric::DeAb ? 0 : 1]->setChecked(true);

  ChkWorst = new QCheckBox(this);
  ChkWorst->setGeometry(TwipsRect(6300, 420, 1980, 255));
  ChkWorst->setChecked(design.overMarks);
  SldWorst = Slider(660, design.over);
  ChkBest = new QCheckBox(this);
  ChkBest->setGeometry(TwipsRect(6300, 960, 1980, 255));
  ChkBest->setChecked(design.underMarks);
  SldBest = Slider(1200, design.under);

  for (int p = 0; p < 2; ++p) {
    Lb_OPar[p] = PercentLabel(p, 690, *SldWorst);
    Lb_UPar[p] = PercentLabel(p, 1230, *SldBest);
  }
  for (QWidget* w : {static_cast<QWidget*>(ChkWorst), static_cast<QWidget*>(ChkBest)}) {
    w->setFont(UiFont());
  }
}

}  // namespace korimo
