#include "ui/Form1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>

#include "app/ChartLayout.h"
#include "app/ClearAll.h"
#include "app/GridRows.h"
#include "app/Histogram.h"
#include "app/Version.h"
#include "export/Manual.h"
#include "export/ResultsExport.h"
#include "export/StatisticsCopy.h"
#include "ui/CaptionLabel.h"
#include "ui/ChartMouse.h"
#include "ui/ChartPage.h"
#include "ui/ChartPainter.h"
#include "ui/DataPage.h"
#include "ui/FileDropFilter.h"
#include "ui/FlexGrid.h"
#include "ui/Fonts.h"
#include "ui/GridController.h"
#include "ui/MenuCommands.h"
#include "ui/PictureBox.h"
#include "ui/StatisticsFrame.h"
#include "ui/Twips.h"

namespace korimo {

namespace {

constexpr int kClientWidth = 14745;
constexpr int kClientHeight = 11565;
constexpr int kChartPageWidth = 14115;

std::vector<std::string> ToPaths(const QStringList& list) {
  std::vector<std::string> paths;
  for (const QString& p : list)
    paths.push_back(p.toStdString());
  return paths;
}

QString WindowCaption() {
  return QStringLiteral("⊿E､⊿E00計算　(Ver.%1.%2%3)")
      .arg(kVersionMajor)
      .arg(kVersionMinor)
      .arg(kVersionPatch);
}

}  // namespace

Form1::Form1(Platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform), form_(*this, platform) {
  setFont(WindowFont());
  setWindowTitle(WindowCaption());
  setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
  BuildTopControls();
  BuildFrames();
  BuildPages();
  // Kept below the window, where it is never seen.
  pictSv_ = new PictureBox(this);
  pictSv_->SetGeometryTwips(0, 2 * kClientHeight, 20, 20);
  RegisterCaptions();

  chartMouse_ = std::make_unique<ChartMouse>(*this);
  grid_ = std::make_unique<GridController>(*this);
  menu_ = std::make_unique<MenuCommands>(*this);

  tabStrip_->setCurrentIndex(0);
  TabStrip1_Click();
  form_.state.GridVisibleRows = static_cast<std::int16_t>(dataPage_->VisibleRows());
  dataPage_->LayOut(kChartPageWidth);
  SizeHistograms();
  ConnectFileSelection();
  ConnectThresholdPanel();
  ConnectCopyButtons();
}

Form1::~Form1() {
  // The controllers go before the widgets they listen to; while Qt tears the
  // widgets down (a shrinking grid still reports a scroll), nothing may call
  // into them.
  for (QObject* child : findChildren<QObject*>())
    child->blockSignals(true);
}

void Form1::BuildTopControls() {
  const char* names[3] = {"基　準", "File1", "File2"};
  for (int s = 0; s < 3; ++s) {
    const int top = 120 + 360 * s;
    butFile_[s] = new QPushButton(QString::fromUtf8(names[s]), this);
    butFile_[s]->setGeometry(TwipsRect(240, top, 855, 315));
    butFile_[s]->setFont(UiFont());
    lbFile_[s] = new CaptionLabel(this);
    lbFile_[s]->setGeometry(TwipsRect(1200, top, 12015, 375));
    lbFile_[s]->setFrameShape(QFrame::Panel);
    lbFile_[s]->setFrameShadow(QFrame::Sunken);
    lbFile_[s]->setFont(PathFont());
    lbFile_[s]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lbNoP_[s] = new CaptionLabel(this);
    lbNoP_[s]->setGeometry(TwipsRect(13440, top + 60, 915, 255));
    lbNoP_[s]->setFont(UiFont());
    lbNoP_[s]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  tabStrip_ = new QTabBar(this);
  tabStrip_->addTab(QStringLiteral("\u3000画\u3000像\u3000"));
  tabStrip_->addTab(QStringLiteral("\u3000データ\u3000"));
  tabStrip_->setFont(UiFont());
  tabStrip_->setDrawBase(false);
  tabStrip_->move(TwipsToPixels(240), TwipsToPixels(1320));
  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  const QRect strip = TwipsRect(240, 1320, 14235, 10035);
  const int barHeight = tabStrip_->sizeHint().height();
  panel->setGeometry(strip.left(), strip.top() + barHeight, strip.width(),
                     strip.height() - barHeight);
  connect(tabStrip_, &QTabBar::currentChanged, this, [this] { TabStrip1_Click(); });

  butClear_ = new QPushButton(QStringLiteral("全クリア"), this);
  butClear_->setGeometry(TwipsRect(12000, 1260, 1215, 315));
  butClear_->setFont(UiFont());
  butHelp_ = new QPushButton(QStringLiteral("?"), this);
  butHelp_->setGeometry(TwipsRect(13860, 1260, 495, 315));
  butHelp_->setFont(HelpButtonFont());
  connect(butClear_, &QPushButton::clicked, this, &Form1::But_Clear_Click);
  connect(butHelp_, &QPushButton::clicked, this, [this] { But_Help_Click(platform_); });
}

void Form1::BuildFrames() {
  frames_[0] = new StatisticsFrame(QStringLiteral("基準-File1"), this);
  frames_[0]->setGeometry(TwipsRect(300, 1740, 7035, 1035));
  frames_[1] = new StatisticsFrame(QStringLiteral("基準-File2"), this);
  frames_[1]->setGeometry(TwipsRect(7380, 1740, 7035, 1035));
}

void Form1::BuildPages() {
  chartPage_ = new ChartPage(this);
  chartPage_->setGeometry(TwipsRect(300, 2760, kChartPageWidth, 8535));
  dataPage_ = new DataPage(this);
  dataPage_->setGeometry(TwipsRect(420, 2940, 13995, 8235));
  for (StatisticsFrame* frame : frames_)
    frame->raise();
  butClear_->raise();
  butHelp_->raise();
}

void Form1::SizeHistograms() {
  // Ten bars of whole pixels fill the drawing width exactly.
  const int barWidth = frames_[0]->PictG->ScaleWidth() / 10;
  const int border = 2 * frames_[0]->PictG->BorderWidth();
  for (StatisticsFrame* frame : frames_) {
    frame->PictG->SetOuterSizePixels(10 * barWidth + border, frame->PictG->height());
  }
}

void Form1::RegisterCaptions() {
  for (int s = 0; s < 3; ++s) {
    captions_[{Ctl::Lb_File, s}] = lbFile_[s];
    captions_[{Ctl::Lb_NoP, s}] = lbNoP_[s];
  }
  for (int p = 0; p < 2; ++p) {
    StatisticsFrame& f = *frames_[p];
    captions_[{Ctl::Lb_De, 2 * p}] = f.De[0];
    captions_[{Ctl::Lb_De, 2 * p + 1}] = f.De[1];
    captions_[{Ctl::Lb_De2K, 2 * p}] = f.De2K[0];
    captions_[{Ctl::Lb_De2K, 2 * p + 1}] = f.De2K[1];
    captions_[{Ctl::Lb_BestDe, p}] = f.BestDe;
    captions_[{Ctl::Lb_Best2K, p}] = f.Best2K;
    captions_[{Ctl::Lb_WorsDe, p}] = f.WorsDe;
    captions_[{Ctl::Lb_Wors2K, p}] = f.Wors2K;
    captions_[{Ctl::Lb_GX, p}] = f.GX;
    captions_[{Ctl::Lb_GY, p}] = f.GY;
    captions_[{Ctl::Lb_PDe, p}] = chartPage_->Lb_PDe[p];
    captions_[{Ctl::Lb_FDe, p}] = chartPage_->Lb_FDe[p];
    captions_[{Ctl::Lb_UPar, p}] = chartPage_->Lb_UPar[p];
    captions_[{Ctl::Lb_OPar, p}] = chartPage_->Lb_OPar[p];
  }
}

void Form1::ConnectFileSelection() {
  FileSelection& files = form_.files;
  for (int s = 0; s < 3; ++s) {
    connect(butFile_[s], &QPushButton::clicked, this, [&files, s] { files.But_File_Click(s); });
    auto* buttonDrop = new FileDropFilter(butFile_[s]);
    connect(buttonDrop, &FileDropFilter::filesDropped, this,
            [&files, s](const QStringList& p) { files.But_File_OLEDragDrop(s, ToPaths(p)); });
    auto* labelDrop = new FileDropFilter(lbFile_[s]);
    connect(labelDrop, &FileDropFilter::filesDropped, this,
            [&files, s](const QStringList& p) { files.Lb_File_OLEDragDrop(s, ToPaths(p)); });
  }
  for (int c = 0; c < 2; ++c) {
    connect(&PictPat(c), &PictureBox::filesDropped, this,
            [&files, c](const QStringList& p) { files.PictPat_OLEDragDrop(c, ToPaths(p)); });
  }
  connect(dataPage_->FlexG, &FlexGrid::filesDropped, this,
          [&files](const QStringList& p) { files.FlexG_OLEDragDrop(ToPaths(p)); });
}

void Form1::ConnectThresholdPanel() {
  ThresholdPanel& panel = form_.thresholds;
  for (QRadioButton* option : chartPage_->Opt_de) {
    connect(option, &QRadioButton::toggled, this, [&panel](bool on) {
      if (on)
        panel.Opt_de_Click();
    });
  }
  connect(chartPage_->SldBest, &QSlider::valueChanged, this, [&panel] { panel.SldBest_Change(); });
  connect(chartPage_->SldWorst, &QSlider::valueChanged, this,
          [&panel] { panel.SldWorst_Change(); });
  connect(chartPage_->ChkBest, &QCheckBox::clicked, this, [&panel] { panel.ChkBest_Click(); });
  connect(chartPage_->ChkWorst, &QCheckBox::clicked, this, [&panel] { panel.ChkWorst_Click(); });
}

void Form1::ConnectCopyButtons() {
  for (int p = 0; p < 2; ++p) {
    connect(frames_[p]->CopyDe, &QPushButton::clicked, this,
            [this, p] { But_Copy_Click(p, *this, platform_); });
    connect(frames_[p]->CopyDe2K, &QPushButton::clicked, this,
            [this, p] { But_Copy_Click(2 + p, *this, platform_); });
    connect(chartPage_->But_CPArea[p], &QPushButton::clicked, this,
            [this, p] { But_CPArea_Click(p, *this, platform_); });
  }
  connect(dataPage_->But_DataR, &QPushButton::clicked, this, [this] { grid_->But_DataR_Click(); });
}

void Form1::Form_LoadCommandLine(const std::string& argumentText) {
  form_.files.CommandLine(argumentText);
}

PictureBox& Form1::PictPat(int chart) const {
  return *chartPage_->PictPat[chart];
}
PictureBox& Form1::PictG(int pair) const {
  return *frames_[pair]->PictG;
}
PictureBox& Form1::PictD() const {
  return *dataPage_->PictD;
}

void Form1::TabStrip1_Click() {
  if (tabStrip_->currentIndex() == 0) {
    dataPage_->hide();
    chartPage_->show();
  } else {
    dataPage_->show();
    chartPage_->hide();
  }
}

void Form1::But_Clear_Click() {
  ClearAll(form_.state, *this);
  for (int p = 0; p < 2; ++p) {
    PictPat(p).Clear();
    PictG(p).Clear();
  }
  dataPage_->FlexG->SetRows(1);
  PictD().Clear();
  menuEnabled_ = false;
}

CaptionLabel* Form1::CaptionControl(Ctl control, int index) const {
  const auto it = captions_.find({control, index});
  return it == captions_.end() ? nullptr : it->second;
}

std::string Form1::Caption(Ctl control, int index) const {
  switch (control) {
    case Ctl::Lb_DeBox:
      return chartPage_->Lb_DeBox[index]->text().toStdString();
    case Ctl::ChkBest:
      return chartPage_->ChkBest->text().toStdString();
    case Ctl::ChkWorst:
      return chartPage_->ChkWorst->text().toStdString();
    default:
      break;
  }
  const CaptionLabel* label = CaptionControl(control, index);
  return label ? label->Caption() : std::string();
}

void Form1::SetCaption(Ctl control, int index, std::string_view text) {
  const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  switch (control) {
    case Ctl::Lb_DeBox:
      chartPage_->Lb_DeBox[index]->setText(qtext);
      chartPage_->Lb_DeBox[index]->setCursorPosition(0);
      return;
    case Ctl::ChkBest:
      chartPage_->ChkBest->setText(qtext);
      return;
    case Ctl::ChkWorst:
      chartPage_->ChkWorst->setText(qtext);
      return;
    default:
      break;
  }
  if (CaptionLabel* label = CaptionControl(control, index))
    label->SetCaption(text);
}

bool Form1::MetricIsDeAb() const {
  return chartPage_->Opt_de[0]->isChecked();
}
int Form1::UnderPosition() const {
  return chartPage_->SldBest->value();
}
int Form1::OverPosition() const {
  return chartPage_->SldWorst->value();
}
bool Form1::UnderMarksOn() const {
  return chartPage_->ChkBest->isChecked();
}
bool Form1::OverMarksOn() const {
  return chartPage_->ChkWorst->isChecked();
}

void Form1::MoveAreaBox(int chart, double left, double top, double width, double height) {
  boxSize_[chart] = {width, height};
  const int border = PictPat(chart).BorderWidth();
  chartPage_->Sh_Box[chart]->setGeometry(static_cast<int>(std::nearbyint(left)) + border,
                                         static_cast<int>(std::nearbyint(top)) + border,
                                         static_cast<int>(std::nearbyint(width)),
                                         static_cast<int>(std::nearbyint(height)));
}

void Form1::SetAreaBoxVisible(int chart, bool visible) {
  chartPage_->Sh_Box[chart]->setVisible(visible);
}

bool Form1::AreaBoxVisible(int chart) const {
  return !chartPage_->Sh_Box[chart]->isHidden();
}

int Form1::ChartAreaWidth() const {
  return PictPat(0).ScaleWidth();
}
int Form1::ChartAreaHeight() const {
  return PictPat(0).ScaleHeight();
}

void Form1::DrawPatchCell(int chart, int lowerSet, int patch) {
  PaintPatchCell(PictPat(chart), PlanPatchCell(form_.state, *this, chart, lowerSet, patch));
}

void Form1::DrawChart(int set) {
  const int chart = ChartOfSet(set);
  PictPat(chart).Clear();
  const ChartGeometry& g = form_.state.chart;
  const int cells = g.ChartCols * g.ChartRows;
  for (int p = 0; p < cells; ++p)
    DrawPatchCell(chart, set, p);
}

void Form1::DrawHistogram(int pair) {
  const HistogramOutcome outcome = CountHistogram(form_.state, *this, pair);
  if (!outcome.counted)
    return;
  PictG(pair).Clear();
  if (outcome.drawBars)
    PaintHistogram(PictG(pair), form_.state.HistCount[pair], outcome.maxCount);
}

void Form1::FillGrid() {
  grid_->FillGrid();
}

void Form1::RestoreIfMinimized() {
  if (isMinimized())
    showNormal();
}

}  // namespace korimo
