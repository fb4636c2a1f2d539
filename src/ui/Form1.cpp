#include "ui/Form1.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStringList>
#include <QTabBar>

#include <cmath>

#include "app/ChartMouse.h"
#include "app/ClearAll.h"
#include "app/FileSelection.h"
#include "app/Labels.h"
#include "app/LoadDriver.h"
#include "app/Platform.h"
#include "app/ReadNotes.h"
#include "app/Render.h"
#include "app/ResultsGrid.h"
#include "app/ThresholdPanel.h"
#include "export/Manual.h"
#include "export/MenuCommands.h"
#include "export/ResultsExport.h"
#include "export/StatisticsCopy.h"
#include "ui/AreaBox.h"
#include "ui/CaptionLabel.h"
#include "ui/ChartPage.h"
#include "ui/DataPage.h"
#include "ui/FileDropFilter.h"
#include "ui/FlexGrid.h"
#include "ui/Fonts.h"
#include "ui/GridModel.h"
#include "ui/PairingBox.h"
#include "ui/PictureBox.h"
#include "ui/ReportControls.h"
#include "ui/RunPage.h"
#include "ui/StaticCaptions.h"
#include "ui/StatisticsFrame.h"
#include "ui/Twips.h"
#include "ui/VerificationPage.h"
#include "ui/WindowDialogs.h"

namespace korimo {

namespace {

constexpr int kClientWidth = 14745;
constexpr int kClientHeight = 11565;
constexpr int kChartPageWidth = 14115;

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int Pixel(double v) {
  return static_cast<int>(std::nearbyint(v));
}

}  // namespace

Form1::Form1(Platform& platform, WindowDialogs& dialogs, QWidget* parent)
    : QWidget(parent), platform_(platform), dialogs_(dialogs) {
  setFont(WindowFont());
  setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
  BuildTopControls();
  BuildPairingStrip();
  BuildFrames();
  BuildPages();

  tabStrip_->setCurrentIndex(kChartPageTab);
  ShowPage();
  const int gridVisibleRows = dataPage_->VisibleRows();
  dataPage_->LayOut(kChartPageWidth);
  SizeHistograms();
  // The engine computes for the pictures as they are now laid out.
  StartEngine(MeasureSurfaces(gridVisibleRows));

  ConnectFileSelection();
  ConnectThresholdPanel();
  ConnectCharts();
  ConnectGrid();
  ConnectButtons();
  ConnectVerification();
  ConnectRun();
  Render();
}

Form1::~Form1() {
  // The engine state goes before the widgets that show it; while Qt tears
  // the widgets down (a shrinking grid still reports a scroll), nothing may
  // reach it.
  for (QObject* child : findChildren<QObject*>())
    child->blockSignals(true);
  FlexG().Model()->SetRecord(nullptr);
  for (PictureBox* box : findChildren<PictureBox*>())
    box->SetPicture(nullptr);
}

void Form1::BuildTopControls() {
  for (DataSet set : kAllSets) {
    const std::size_t s = Index(set);
    const int top = 120 + 360 * static_cast<int>(s);
    butFile_[s] = new QPushButton(QString::fromUtf8(kSetCaptions[s]), this);
    butFile_[s]->setGeometry(TwipsRect(240, top, 855, 315));
    butFile_[s]->setFont(UiFont());
    lbFile_[s] = new CaptionLabel(this);
    lbFile_[s]->setGeometry(TwipsRect(1200, top, 12015, 375));
    lbFile_[s]->setFrameShape(QFrame::Panel);
    lbFile_[s]->setFrameShadow(QFrame::Sunken);
    lbFile_[s]->setFont(PathFont());
    lbFile_[s]->SetElideMiddle(true);
    lbFile_[s]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lbNoP_[s] = new CaptionLabel(this);
    lbNoP_[s]->setGeometry(TwipsRect(13440, top + 60, 915, 255));
    lbNoP_[s]->setFont(UiFont());
    lbNoP_[s]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  tabStrip_ = new QTabBar(this);
  for (const char* caption : kTabCaptions)
    tabStrip_->addTab(QString::fromUtf8(caption));
  tabStrip_->setFont(UiFont());
  tabStrip_->setDrawBase(false);
  tabStrip_->move(TwipsToPixels(240), TwipsToPixels(1320));
  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  const QRect strip = TwipsRect(240, 1320, 14235, 10035);
  const int barHeight = tabStrip_->sizeHint().height();
  panel->setGeometry(strip.left(), strip.top() + barHeight, strip.width(),
                     strip.height() - barHeight);

  butClear_ = new QPushButton(QString::fromUtf8(kClearCaption), this);
  butClear_->setGeometry(TwipsRect(12000, 1260, 1215, 315));
  butClear_->setFont(UiFont());
  butHelp_ = new QPushButton(QString::fromUtf8(kHelpCaption), this);
  butHelp_->setGeometry(TwipsRect(13860, 1260, 495, 315));
  butHelp_->setFont(HelpButtonFont());
}

// The warnings about files that do not pair up stand in red, one line per
// pair, in the free strip of the tab row between the tabs and the "対応:"
// box, which stands just left of "全クリア".
void Form1::BuildPairingStrip() {
  constexpr int kGap = 8;
  const int top = lbFile_[2]->geometry().bottom() + 2;
  const int bottom = tabStrip_->y() + tabStrip_->sizeHint().height();
  cmbPairing_ = new PairingBox(this);
  const QSize box = cmbPairing_->sizeHint();
  cmbPairing_->setGeometry(butClear_->x() - kGap - box.width(),
                           butClear_->geometry().center().y() - box.height() / 2, box.width(),
                           box.height());
  const int left = tabStrip_->x() + tabStrip_->sizeHint().width() + kGap;
  const int right = cmbPairing_->x() - kGap;
  const int lineHeight = (bottom - top) / 2;
  for (std::size_t p = 0; p < lbPairing_.size(); ++p) {
    auto* label = new CaptionLabel(this);
    label->setFont(PathFont());
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette red = label->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    label->setPalette(red);
    label->setGeometry(left, top + static_cast<int>(p) * lineHeight, right - left, lineHeight);
    lbPairing_[p] = label;
  }
}

void Form1::BuildFrames() {
  frames_[0] = new StatisticsFrame(QString::fromUtf8(kFrameTitles[0]), this);
  frames_[0]->setGeometry(TwipsRect(300, 1740, 7035, 1035));
  frames_[1] = new StatisticsFrame(QString::fromUtf8(kFrameTitles[1]), this);
  frames_[1]->setGeometry(TwipsRect(7380, 1740, 7035, 1035));
}

// The verdicts of the set the verification page shows, as the report shows them.
ReportVerification Form1::PageVerdicts() const {
  ReportVerification verification;
  if (!state_->record.verification.setName.empty())
    verification.sets.push_back(ReportSetOf(state_->record.verification));
  return verification;
}

void Form1::BuildPages() {
  chartPage_ = new ChartPage(this);
  chartPage_->setGeometry(TwipsRect(300, 2760, kChartPageWidth, 8535));
  dataPage_ = new DataPage(this);
  dataPage_->setGeometry(TwipsRect(420, 2940, 13995, 8235));
  verificationPage_ = new VerificationPage(this);
  verificationPage_->setGeometry(TwipsRect(420, 2940, 13995, 8235));
  verificationPage_->hide();
  runPage_ = new RunPage(platform_, dialogs_, this);
  runPage_->setGeometry(TwipsRect(420, 2940, 13995, 8235));
  runPage_->hide();
  for (StatisticsFrame* frame : frames_)
    frame->raise();
  butClear_->raise();
  butHelp_->raise();
}

void Form1::SizeHistograms() {
  // Ten bars of whole pixels fill the drawing width exactly.
  const int barWidth = frames_[0]->PictG->ScaleWidth() / 10;
  const int border = 2 * frames_[0]->PictG->BorderWidth();
  for (StatisticsFrame* frame : frames_)
    frame->PictG->SetOuterSizePixels(10 * barWidth + border, frame->PictG->height());
}

Surfaces Form1::MeasureSurfaces(int gridVisibleRows) const {
  Surfaces sizes;
  sizes.chartWidth = PictPat(Pair::ReferenceFile1).ScaleWidth();
  sizes.chartHeight = PictPat(Pair::ReferenceFile1).ScaleHeight();
  sizes.histogramWidth = PictG(Pair::ReferenceFile1).ScaleWidth();
  sizes.histogramHeight = PictG(Pair::ReferenceFile1).ScaleHeight();
  sizes.swatchWidth = PictD().ScaleWidth();
  sizes.swatchHeight = PictD().ScaleHeight();
  sizes.gridVisibleRows = gridVisibleRows;
  sizes.drawn = true;
  return sizes;
}

void Form1::StartEngine(const Surfaces& surfaces) {
  state_ = std::make_unique<EngineState>(surfaces);
  hooks_.showMessage = [this](std::string_view text) { platform_.ShowMessage(text); };
  for (Pair p : kAllPairs) {
    PictPat(p).SetPicture(&state_->pictures.PictPat[Index(p)]);
    PictG(p).SetPicture(&state_->pictures.PictG[Index(p)]);
  }
  PictD().SetPicture(&state_->pictures.PictD);
  FlexG().Model()->SetRecord(&state_->record);
  // The report's controls read the engine, so they come with it.
  reportControls_ = new ReportControls(platform_, *state_, [this] { return PageVerdicts(); });
  verificationPage_->SetSidePanel(reportControls_);
  runPage_->SetEngine(*state_, *reportControls_);
  BindCaptions();
}

void Form1::BindCaptions() {
  const WindowRecord& r = state_->record;
  for (DataSet set : kAllSets) {
    const std::size_t s = Index(set);
    captions_.emplace_back(lbFile_[s], &r.Lb_File[s]);
    captions_.emplace_back(lbNoP_[s], &r.Lb_NoP[s]);
  }
  for (Pair pair : kAllPairs) {
    const std::size_t p = Index(pair);
    const StatisticsFrame& f = *frames_[p];
    captions_.emplace_back(f.De[0], &r.Lb_De[2 * p]);
    captions_.emplace_back(f.De[1], &r.Lb_De[2 * p + 1]);
    captions_.emplace_back(f.De2K[0], &r.Lb_De2K[2 * p]);
    captions_.emplace_back(f.De2K[1], &r.Lb_De2K[2 * p + 1]);
    captions_.emplace_back(f.BestDe, &r.Lb_BestDe[p]);
    captions_.emplace_back(f.Best2K, &r.Lb_Best2K[p]);
    captions_.emplace_back(f.WorsDe, &r.Lb_WorsDe[p]);
    captions_.emplace_back(f.Wors2K, &r.Lb_Wors2K[p]);
    captions_.emplace_back(f.GX, &r.Lb_GX[p]);
    captions_.emplace_back(f.GY, &r.Lb_GY[p]);
    captions_.emplace_back(chartPage_->Lb_PDe[p], &r.Lb_PDe[p]);
    captions_.emplace_back(chartPage_->Lb_FDe[p], &r.Lb_FDe[p]);
    captions_.emplace_back(chartPage_->Lb_UPar[p], &r.Lb_UPar[p]);
    captions_.emplace_back(chartPage_->Lb_OPar[p], &r.Lb_OPar[p]);
  }
}

void Form1::ConnectFileSelection() {
  for (DataSet set : kAllSets) {
    const std::size_t s = Index(set);
    connect(butFile_[s], &QPushButton::clicked, this, [this, set] { ChooseWithDialog(set); });
    auto* buttonDrop = new FileDropFilter(butFile_[s]);
    connect(buttonDrop, &FileDropFilter::filesDropped, this, [this, set](const QStringList& p) {
      RestoreIfMinimized();
      Run([&](EngineState& st) { But_File_OLEDragDrop(st, set, ToPaths(p), hooks_); });
    });
    auto* labelDrop = new FileDropFilter(lbFile_[s]);
    connect(labelDrop, &FileDropFilter::filesDropped, this, [this, set](const QStringList& p) {
      RestoreIfMinimized();
      Run([&](EngineState& st) { Lb_File_OLEDragDrop(st, set, ToPaths(p), hooks_); });
    });
  }
  for (Pair chart : kAllPairs) {
    connect(&PictPat(chart), &PictureBox::filesDropped, this, [this, chart](const QStringList& p) {
      RestoreIfMinimized();
      Run([&](EngineState& st) { PictPat_OLEDragDrop(st, chart, ToPaths(p), hooks_); });
    });
  }
  connect(&FlexG(), &FlexGrid::filesDropped, this, [this](const QStringList& p) {
    RestoreIfMinimized();
    Run([&](EngineState& st) { FlexG_OLEDragDrop(st, ToPaths(p), hooks_); });
  });
}

void Form1::ConnectThresholdPanel() {
  ChartPage& page = *chartPage_;
  const std::array<Metric, 2> metrics = {Metric::DeAb, Metric::De00};
  for (std::size_t i = 0; i < metrics.size(); ++i) {
    connect(page.Opt_de[i], &QRadioButton::toggled, this, [this, metric = metrics[i]](bool on) {
      if (on)
        Run([metric](EngineState& st) { Opt_de_Click(st, metric); });
    });
  }
  connect(page.SldBest, &QSlider::valueChanged, this,
          [this](int position) { Run([=](EngineState& st) { SldBest_Change(st, position); }); });
  connect(page.SldWorst, &QSlider::valueChanged, this,
          [this](int position) { Run([=](EngineState& st) { SldWorst_Change(st, position); }); });
  connect(page.ChkBest, &QCheckBox::clicked, this,
          [this](bool checked) { Run([=](EngineState& st) { ChkBest_Click(st, checked); }); });
  connect(page.ChkWorst, &QCheckBox::clicked, this,
          [this](bool checked) { Run([=](EngineState& st) { ChkWorst_Click(st, checked); }); });
}

void Form1::ConnectCharts() {
  for (Pair c : kAllPairs) {
    PictureBox* chart = &PictPat(c);
    connect(chart, &PictureBox::mouseDown, this,
            [this, c](MouseButton, Modifiers shift, float x, float y) {
              Run([=](EngineState& st) { PictPat_MouseDown(st, c, shift, x, y); });
            });
    connect(chart, &PictureBox::mouseMove, this, [this, c](float x, float y) {
      Run([=](EngineState& st) { PictPat_MouseMove(st, c, x, y); });
    });
    connect(chart, &PictureBox::mouseUp, this,
            [this, c](MouseButton button, Modifiers, float x, float y) {
              ShowEditMenu(PictPat_MouseUp(*state_, c, button, x, y));
            });
    connect(&PictG(c), &PictureBox::mouseUp, this,
            [this, c](MouseButton button, Modifiers, float, float) {
              ShowEditMenu(PictG_MouseUp(*state_, c, button));
            });
  }
}

void Form1::ConnectGrid() {
  FlexGrid* grid = &FlexG();
  connect(grid, &FlexGrid::mouseDown, this,
          [this](MouseButton, Modifiers, float, float y) { GridPressed(y); });
  connect(grid, &FlexGrid::clicked, this, &Form1::GridClicked);
  connect(grid, &FlexGrid::mouseUp, this, [this](MouseButton button, Modifiers, float, float) {
    ShowEditMenu(FlexG_MouseUp(*state_, button));
  });
  connect(grid, &FlexGrid::scrolled, this, &Form1::GridScrolled);
}

void Form1::ConnectButtons() {
  connect(tabStrip_, &QTabBar::currentChanged, this, &Form1::ShowPage);
  connect(butClear_, &QPushButton::clicked, this, [this] {
    runPage_->Clear();
    Run([](EngineState& st) { But_Clear_Click(st); });
  });
  connect(butHelp_, &QPushButton::clicked, this, [this] { But_Help_Click(platform_); });
  connect(cmbPairing_, &PairingBox::modeChosen, this, [this](PairingMode mode) {
    Run([mode](EngineState& st) { ChangePairingMode(st, mode); });
  });
  for (Pair pair : kAllPairs) {
    const StatisticsFrame& frame = *frames_[Index(pair)];
    connect(frame.CopyDe, &QPushButton::clicked, this,
            [this, pair] { CopyStatistics(pair, Metric::DeAb); });
    connect(frame.CopyDe2K, &QPushButton::clicked, this,
            [this, pair] { CopyStatistics(pair, Metric::De00); });
    connect(chartPage_->But_CPArea[Index(pair)], &QPushButton::clicked, this,
            [this, pair] { But_CPArea_Click(state_->record.areaFigures[Index(pair)], platform_); });
  }
  connect(dataPage_->But_DataR, &QPushButton::clicked, this,
          [this] { But_DataR_Click(platform_, state_->inputs.paths, state_->record.FlexG); });
}

// The row of figures as the frame shows them.
void Form1::CopyStatistics(Pair pair, Metric metric) {
  const Shown::PairViews& views = state_->shown.pairs[Index(pair)];
  But_Copy_Click(metric, FrameTextsOf(views.averages.get(), views.percentiles.get(), pair),
                 platform_);
}

void Form1::RecoverFromFailure(const std::string& message) {
  rendering_ = false;
  Run([](EngineState& st) { AbandonRead(st); });
  platform_.ShowMessage(message);
}

void Form1::Form_LoadCommandLine(const std::string& argumentText) {
  Run([&](EngineState& st) { CommandLine(st, argumentText, hooks_); });
}

PictureBox& Form1::PictPat(Pair chart) const {
  return *chartPage_->PictPat[Index(chart)];
}

PictureBox& Form1::PictG(Pair pair) const {
  return *frames_[Index(pair)]->PictG;
}

PictureBox& Form1::PictD() const {
  return *dataPage_->PictD;
}

FlexGrid& Form1::FlexG() const {
  return *dataPage_->FlexG;
}

void Form1::ChooseWithDialog(DataSet set) {
  const std::optional<std::string> path = dialogs_.OpenFile(set);
  if (path)
    Run([&](EngineState& st) { ChooseFile(st, set, *path, hooks_); });
}

// A file dropped on the window's icon in the task bar comes with the window
// minimised; the user sees what the file did.
void Form1::RestoreIfMinimized() {
  if (isMinimized())
    showNormal();
}

// Nothing is redrawn or recomputed: every page keeps its content while
// hidden.
void Form1::ShowPage() {
  const int tab = tabStrip_->currentIndex();
  chartPage_->setVisible(tab == kChartPageTab);
  dataPage_->setVisible(tab == kDataPageTab);
  verificationPage_->setVisible(tab == kVerificationPageTab);
  runPage_->setVisible(tab == kRunPageTab);
}

void Form1::ConnectVerification() {
  connect(verificationPage_, &VerificationPage::setChosen, this,
          [this](std::optional<CriteriaSet> set) {
            Run([&](EngineState& st) { ChooseCriteriaSet(st, std::move(set)); });
          });
  connect(verificationPage_, &VerificationPage::fileRequested, this, &Form1::ChooseCriteriaFile);
}

void Form1::ConnectRun() {
  connect(runPage_, &RunPage::openRequested, this, &Form1::OpenFromRun);
}

// A sheet of the run loads as a file chosen for the set; as File1 it is
// shown on the chart page.
void Form1::OpenFromRun(DataSet set, const std::string& path) {
  Run([&](EngineState& st) { ChooseFile(st, set, path, hooks_); });
  if (set == DataSet::File1)
    tabStrip_->setCurrentIndex(kChartPageTab);
}

// A file that does not read shows its first error; the page keeps its set.
void Form1::ChooseCriteriaFile() {
  const std::optional<std::string> path = dialogs_.OpenCriteriaFile();
  std::optional<CriteriaSet> set;
  if (path) {
    CriteriaError error;
    set = LoadCriteriaFile(*path, error);
    if (!set)
      platform_.ShowMessage(*path + "\n" + ErrorText(error, Language::Japanese));
  }
  const bool accepted = set.has_value();
  if (accepted)
    Run([&](EngineState& st) { ChooseCriteriaSet(st, std::move(set)); });
  verificationPage_->FileAnswered(accepted);
}

// The items' state comes from the handler that asked for the menu, so the
// window is brought up to date before the menu shows.
void Form1::ShowEditMenu(bool requested) {
  korimo::Render(*state_);
  Render();
  if (!requested)
    return;
  if (const std::optional<MenuItem> item = dialogs_.EditMenu(state_->record.Menu_EditSub_Enabled))
    Run([&](const EngineState& st) { Menu_EditSub_Click(st, *item, platform_); });
}

void Form1::GridPressed(float y) {
  const bool onHeadingRow = y <= static_cast<float>(FlexG().RowHeightTwips(0));
  Run([=](EngineState& st) { FlexG_MouseDown(st, onHeadingRow); });
}

void Form1::GridClicked(int column) {
  if (!FlexG_Click(*state_, column))
    FlexG().SelectRowWhole();
  korimo::Render(*state_);
  Render();
}

void Form1::GridScrolled(int topRow) {
  if (topRow != state_->ui.gridTopRow)
    Run([=](EngineState& st) { FlexG_Scroll(st, topRow); });
}

// Brings every control up to date with the record and the pictures. Only
// what changed is touched, so it runs after every event.
void Form1::Render() {
  // New grid rows can move the grid's top row, which reports a scroll while
  // the grid is refreshed; that scroll's swatches are shown with the rest.
  if (rendering_)
    return;
  rendering_ = true;
  const WindowRecord& r = state_->record;
  const QString caption = FromUtf8(r.Caption);
  if (windowTitle() != caption)
    setWindowTitle(caption);
  for (const auto& [label, text] : captions_)
    label->SetCaption(*text);
  RenderNotes();
  for (Pair p : kAllPairs)
    lbPairing_[Index(p)]->SetTip(r.Lb_PairingTip[Index(p)]);
  cmbPairing_->Show(state_->inputs.mode);
  for (Pair c : kAllPairs) {
    chartPage_->Lb_DeBox[Index(c)]->SetCaption(r.Lb_DeBox[Index(c)]);
    RenderAreaFrame(c);
  }
  RenderButtons();
  verificationPage_->Render(r.verification);
  FlexG().Model()->Refresh();
  RenderPictures();
  runPage_->Sync();
  rendering_ = false;
}

// The strip's lines about refused files, pairs and conditions, and where
// each path's values came from.
void Form1::RenderNotes() {
  const WindowRecord& r = state_->record;
  const StripTexts strip = ComposeStrip(r);
  for (std::size_t p = 0; p < lbPairing_.size(); ++p) {
    lbPairing_[p]->SetCaption(strip.lines[p]);
    lbPairing_[p]->SetTip(strip.tips[p]);
  }
  for (std::size_t s = 0; s < lbFile_.size(); ++s)
    lbFile_[s]->SetTip(r.Lb_FileTip[s].empty() ? std::string()
                                               : r.Lb_File[s] + "\n" + r.Lb_FileTip[s]);
}

void Form1::RenderButtons() {
  const WindowRecord& r = state_->record;
  const std::pair<QCheckBox*, const std::string*> boxes[] = {{chartPage_->ChkBest, &r.ChkBest},
                                                             {chartPage_->ChkWorst, &r.ChkWorst}};
  for (const auto& [box, text] : boxes) {
    const QString shown = FromUtf8(*text);
    if (box->text() != shown)
      box->setText(shown);
  }
}

// The frame lies in chart pixels; the chart box's border comes before them.
void Form1::RenderAreaFrame(Pair chart) {
  const AreaFrame& frame = state_->record.Sh_Box[Index(chart)];
  QFrame* box = chartPage_->Sh_Box[Index(chart)];
  const int border = PictPat(chart).BorderWidth();
  const QRect geometry(Pixel(frame.left) + border, Pixel(frame.top) + border, Pixel(frame.width),
                       Pixel(frame.height));
  if (box->geometry() != geometry)
    box->setGeometry(geometry);
  if (box->isHidden() == frame.visible)
    box->setVisible(frame.visible);
}

void Form1::RenderPictures() {
  for (Pair p : kAllPairs) {
    PictPat(p).Refresh();
    PictG(p).Refresh();
  }
  PictD().Refresh();
}

}  // namespace korimo
