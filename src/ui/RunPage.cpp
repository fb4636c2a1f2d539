#include "ui/RunPage.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

#include "app/EngineState.h"
#include "app/RunView.h"
#include "export/ReportPage.h"
#include "export/RunSave.h"
#include "ui/CaptionLabel.h"
#include "ui/FileDropFilter.h"
#include "ui/FolderWatcher.h"
#include "ui/Fonts.h"
#include "ui/ReportControls.h"
#include "ui/RunStatisticsFrame.h"
#include "ui/RunTableModel.h"
#include "ui/RunWorker.h"
#include "ui/StaticCaptions.h"
#include "ui/TrendPlot.h"
#include "ui/WindowDialogs.h"

namespace korimo {

namespace {

// The plots' height, shared by the two when a criteria set is chosen; the
// statistics frame beside them is as high.
constexpr int kPlotsHeight = 290;
constexpr int kStatisticsWidth = 300;
// The least pass share's box at this value: none.
constexpr double kNoMinPass = -1;
// Room a table cell needs beyond its text, and a heading beyond its
// caption for the sort mark.
constexpr int kCellPadding = 10;
constexpr int kHeadingPadding = 24;

constexpr std::array<RunOrder, 2> kOrders = {RunOrder::Name, RunOrder::ModificationTime};

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* Button(const char* caption, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setFont(UiFont());
  return button;
}

// The widest text a column shows: its heading with the sort mark, or the
// widest cell it can hold.
int ColumnWidth(const QFontMetrics& metrics, int column) {
  const QString heading = FromUtf8(RunColumnHeading(column));
  int cell = metrics.horizontalAdvance(QStringLiteral("-124.46"));
  if (column == 0)
    cell = metrics.horizontalAdvance(QStringLiteral("10000"));
  else if (column == kRunFileColumn)
    cell = metrics.horizontalAdvance(QStringLiteral("sheet00001.txt"));
  else if (column == 2)
    cell = metrics.horizontalAdvance(QStringLiteral("2025-01-15 09:30:00"));
  else if (column == kRunReasonColumn)
    cell = metrics.horizontalAdvance(QString(40, QChar(u'あ')));
  return std::max(metrics.horizontalAdvance(heading) + kHeadingPadding, cell + kCellPadding);
}

}  // namespace

RunPage::RunPage(Platform& platform, WindowDialogs& dialogs, QWidget* parent)
    : QFrame(parent), platform_(platform), dialogs_(dialogs) {
  setFrameShape(QFrame::NoFrame);
  setFont(UiFont());
  worker_ = new RunWorker(this);
  model_ = new RunTableModel(this);
  watcher_ = new FolderWatcher(this);
  BuildControls();
  LayOut();
  ConnectControls();
  model_->SetRows(&worker_->Session().Rows(), &worker_->Session().Options());
  RenderPlots();
  RenderControls();
}

// The views let go of the rows before the session that holds them goes.
RunPage::~RunPage() {
  table->setModel(nullptr);
  model_->SetRows(nullptr, nullptr);
  delete worker_;
}

void RunPage::SetEngine(const EngineState& state, const ReportControls& report) {
  state_ = &state;
  report_ = &report;
  Sync();
}

const RunSession& RunPage::Session() const {
  return worker_->Session();
}

void RunPage::BuildControls() {
  addButton = Button(kAddSheetsCaption, this);
  watchButton = Button(kWatchFolderCaption, this);
  openListButton = Button(kOpenListCaption, this);
  saveListButton = Button(kSaveListCaption, this);
  orderLabel = new CaptionLabel(this, kOrderLabel);
  orderChoice = new QComboBox(this);
  for (const char* caption : kOrderChoices)
    orderChoice->addItem(QString::fromUtf8(caption));
  orderChoice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  minPassLabel = new CaptionLabel(this, kMinPassLabel);
  minPassBox = new QDoubleSpinBox(this);
  // The box's least value stands for no least share.
  minPassBox->setRange(kNoMinPass, 100);
  minPassBox->setDecimals(1);
  minPassBox->setSuffix(QStringLiteral(" %"));
  minPassBox->setSpecialValueText(QString::fromUtf8(kMinPassNone));
  minPassBox->setValue(kNoMinPass);
  minPassBox->setToolTip(QString::fromUtf8(kMinPassTip));
  csvButton = Button(kRunCsvCaption, this);
  reportButton = Button(kReportSaveCaption, this);
  progress = new QProgressBar(this);
  progress->setTextVisible(true);
  progress->setFormat(QStringLiteral("%v / %m"));
  cancelButton = Button(kCancelRunCaption, this);
  watchLabel = new CaptionLabel(this);
  watchLabel->SetElideMiddle(true);
  removeButton = Button(kRemoveSheetsCaption, this);
  file1Button = Button(kOpenAsFile1Caption, this);
  referenceButton = Button(kMakeReferenceCaption, this);
  trend = new TrendPlot(this);
  criteriaTrend = new TrendPlot(this);
  statistics = new RunStatisticsFrame(this);

  table = new QTableView(this);
  table->setModel(model_);
  table->setFont(UiFont());
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setContextMenuPolicy(Qt::CustomContextMenu);
  table->setWordWrap(false);
  table->setSortingEnabled(true);
  table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  table->horizontalHeader()->setStretchLastSection(true);
  // Rows of one height, set once: the view never measures a thousand rows.
  QHeaderView* rows = table->verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(table->fontMetrics().height() + 4);
  const QFontMetrics metrics = table->fontMetrics();
  for (int c = 0; c < kRunColumns; ++c)
    table->horizontalHeader()->resizeSection(c, ColumnWidth(metrics, c));
  new FileDropFilter(this);
}

void RunPage::LayOut() {
  auto* sheets = new QHBoxLayout;
  for (QWidget* w :
       std::initializer_list<QWidget*>{addButton, watchButton, openListButton, saveListButton,
                                       orderLabel, orderChoice, minPassLabel, minPassBox})
    sheets->addWidget(w);
  sheets->addStretch(1);
  sheets->addWidget(csvButton);
  sheets->addWidget(reportButton);

  auto* state = new QHBoxLayout;
  state->addWidget(progress, 1);
  state->addWidget(cancelButton);
  state->addWidget(watchLabel, 2);
  state->addWidget(removeButton);
  state->addWidget(file1Button);
  state->addWidget(referenceButton);

  auto* plots = new QVBoxLayout;
  plots->setSpacing(4);
  plots->addWidget(trend, 1);
  plots->addWidget(criteriaTrend, 1);
  auto* figures = new QHBoxLayout;
  figures->addLayout(plots, 1);
  statistics->setFixedWidth(kStatisticsWidth);
  figures->addWidget(statistics);
  auto* top = new QWidget(this);
  top->setLayout(figures);
  top->setFixedHeight(kPlotsHeight);
  figures->setContentsMargins(0, 0, 0, 0);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(0, 0, 0, 0);
  page->setSpacing(4);
  page->addLayout(sheets);
  page->addLayout(state);
  page->addWidget(top);
  page->addWidget(table, 1);
}

void RunPage::ConnectControls() {
  connect(addButton, &QPushButton::clicked, this, &RunPage::AddSheets);
  connect(watchButton, &QPushButton::clicked, this, &RunPage::ToggleWatch);
  connect(openListButton, &QPushButton::clicked, this, &RunPage::OpenList);
  connect(saveListButton, &QPushButton::clicked, this, &RunPage::SaveList);
  connect(csvButton, &QPushButton::clicked, this, &RunPage::SaveCsv);
  connect(reportButton, &QPushButton::clicked, this, &RunPage::SaveReport);
  connect(orderChoice, &QComboBox::activated, this, &RunPage::ChooseOrder);
  connect(minPassBox, &QDoubleSpinBox::valueChanged, this, &RunPage::ChooseMinPass);
  connect(removeButton, &QPushButton::clicked, this, &RunPage::RemoveSelected);
  connect(file1Button, &QPushButton::clicked, this, [this] { OpenCurrent(DataSet::File1); });
  connect(referenceButton, &QPushButton::clicked, this,
          [this] { OpenCurrent(DataSet::Reference); });
  connect(cancelButton, &QPushButton::clicked, this, [this] { worker_->Session().Cancel(); });
  connect(findChild<FileDropFilter*>(), &FileDropFilter::filesDropped, this, &RunPage::DropSheets);
  connect(watcher_, &FolderWatcher::filesComplete, this, &RunPage::FolderFilesComplete);
  connect(worker_, &RunWorker::changed, this, &RunPage::RunChanged);
  connect(table, &QTableView::customContextMenuRequested, this, &RunPage::ShowSheetMenu);
  connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &RunPage::RenderControls);
  for (TrendPlot* plot : {trend, criteriaTrend}) {
    connect(plot, &TrendPlot::sheetHovered, this, &RunPage::ShowPointTip);
    connect(plot, &TrendPlot::sheetClicked, this,
            [this](int sheet) { SelectSheet(static_cast<std::size_t>(sheet)); });
    connect(plot, &TrendPlot::sheetMenuRequested, this, &RunPage::ShowPlotMenu);
  }
}

void RunPage::Sync() {
  if (state_ == nullptr)
    return;
  const Inputs& inputs = state_->inputs;
  worker_->Session().SetBasis(
      {inputs.sets[Index(DataSet::Reference)], inputs.mode, inputs.criteria});
  if (plotted_ != inputs.panel.metric)
    RenderPlots();
}

void RunPage::Clear() {
  watcher_->Stop();
  listPath_.clear();
  worker_->Session().Clear();
  RenderControls();
}

void RunPage::AddSheets() {
  const std::vector<std::string> paths = dialogs_.OpenSheets();
  if (!paths.empty())
    worker_->Session().Add(paths);
}

void RunPage::DropSheets(const QStringList& paths) {
  worker_->Session().Add(ToPaths(paths));
}

void RunPage::ToggleWatch() {
  if (watcher_->Watching()) {
    watcher_->Stop();
  } else if (const std::optional<std::string> folder = dialogs_.ChooseWatchedFolder()) {
    watcher_->Watch(FromUtf8(*folder));
  }
  RenderControls();
}

// A file the run holds is read again; the others join it.
void RunPage::FolderFilesComplete(const QStringList& paths) {
  RunSession& session = worker_->Session();
  std::vector<std::string> added;
  for (const QString& path : paths) {
    const std::string file = path.toStdString();
    if (!session.Holds(file))
      added.push_back(file);
    else
      session.Reread(file);
  }
  if (!added.empty())
    session.Add(added);
}

void RunPage::OpenList() {
  const std::optional<std::string> path = dialogs_.OpenSheetList();
  if (!path)
    return;
  QFile file(FromUtf8(*path));
  if (!file.open(QIODevice::ReadOnly) || file.size() > static_cast<qint64>(kMaxSheetListBytes)) {
    platform_.ShowMessage(kUnreadableListMessage + *path);
    return;
  }
  const QByteArray bytes = file.readAll();
  listPath_ = *path;
  worker_->Session().Replace(ParseSheetList(
      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), *path));
}

void RunPage::SaveList() {
  if (const auto path = SaveSheetList(platform_, worker_->Session().Sheets(), ProtectedFiles())) {
    listPath_ = *path;
    Wrote(*path);
  }
}

void RunPage::SaveCsv() {
  if (const RunAccumulator* run = worker_->Session().Finished()) {
    if (const auto path = SaveRunCsv(platform_, *run, ProtectedFiles()))
      Wrote(*path);
  }
}

// The job fields are those of the verification page's report.
void RunPage::SaveReport() {
  const RunAccumulator* run = worker_->Session().Finished();
  if (run == nullptr || state_ == nullptr || report_ == nullptr)
    return;
  const RunReportInput input{report_->Job(), ReportCreationTime(), state_->inputs.panel.metric};
  if (const auto path =
          SaveRunReport(platform_, *run, worker_->Session().Options(), input, ProtectedFiles()))
    Wrote(*path);
}

void RunPage::ChooseOrder(int index) {
  worker_->Session().SetOrder(kOrders[static_cast<std::size_t>(index)]);
}

void RunPage::ChooseMinPass(double percent) {
  worker_->Session().SetMinPass(percent > kNoMinPass ? std::optional<double>(percent)
                                                     : std::nullopt);
}

void RunPage::RemoveSelected() {
  const SheetRowRefs& rows = worker_->Session().Rows();
  std::vector<std::string> paths;
  for (const QModelIndex& index : table->selectionModel()->selectedRows())
    paths.push_back(rows[model_->SheetOf(index.row())]->file);
  if (!paths.empty())
    worker_->Session().Remove(paths);
}

void RunPage::OpenCurrent(DataSet set) {
  if (const std::optional<std::size_t> sheet = CurrentSheet())
    emit openRequested(set, worker_->Session().Rows()[*sheet]->file);
}

std::optional<std::size_t> RunPage::CurrentSheet() const {
  const QModelIndex current = table->currentIndex();
  if (!current.isValid() || !table->selectionModel()->isRowSelected(current.row()))
    return std::nullopt;
  return model_->SheetOf(current.row());
}

void RunPage::SelectSheet(std::size_t sheet) {
  for (int row = 0; row < model_->rowCount(); ++row) {
    if (model_->SheetOf(row) != sheet)
      continue;
    table->selectRow(row);
    table->scrollTo(model_->index(row, 0));
    return;
  }
}

std::string RunPage::PointText(std::size_t sheet) const {
  const RunSession& session = worker_->Session();
  if (sheet >= session.Rows().size() || state_ == nullptr)
    return {};
  return TrendPointText(*session.Rows()[sheet], static_cast<int>(sheet) + 1,
                        state_->inputs.panel.metric, session.Options());
}

void RunPage::ShowPointTip(int sheet, const QPoint& at) {
  if (sheet < 0)
    QToolTip::hideText();
  else
    QToolTip::showText(at, FromUtf8(PointText(static_cast<std::size_t>(sheet))), this);
}

void RunPage::ShowSheetMenu(const QPoint& at) {
  if (!CurrentSheet())
    return;
  QMenu menu(this);
  connect(menu.addAction(file1Button->text()), &QAction::triggered, file1Button,
          &QPushButton::click);
  connect(menu.addAction(referenceButton->text()), &QAction::triggered, referenceButton,
          &QPushButton::click);
  connect(menu.addAction(removeButton->text()), &QAction::triggered, removeButton,
          &QPushButton::click);
  menu.exec(table->viewport()->mapToGlobal(at));
}

void RunPage::ShowPlotMenu(int sheet, const QPoint& at) {
  SelectSheet(static_cast<std::size_t>(sheet));
  ShowSheetMenu(table->viewport()->mapFromGlobal(at));
}

void RunPage::RunChanged(const RunChange& change) {
  if (change.reset)
    model_->Reset();
  else
    model_->Append(change.from);
  const RunSession& session = worker_->Session();
  statistics->Render(RunStatisticsTextsOf(session.Statistics(), session.Options()));
  table->setColumnHidden(kRunVerdictColumn, session.Options().checks.empty());
  RenderPlots();
  RenderControls();
  if (change.failure)
    std::rethrow_exception(change.failure);
}

void RunPage::RenderPlots() {
  const RunSession& session = worker_->Session();
  const Metric metric = state_ != nullptr ? state_->inputs.panel.metric : PanelSettings{}.metric;
  plotted_ = metric;
  // The charts go before their successors are made: a long run's are large.
  trend->SetChart({});
  criteriaTrend->SetChart({});
  trend->SetChart(FigureTrend(session.Rows(), metric));
  const std::vector<CriteriaSet>& sets = session.Options().checks;
  criteriaTrend->setVisible(!sets.empty());
  if (!sets.empty())
    criteriaTrend->SetChart(CriteriaTrend(session.Rows(), sets.front(), 0));
}

void RunPage::RenderControls() {
  const RunSession& session = worker_->Session();
  const RunProgress done = session.Progress();
  progress->setVisible(session.Busy());
  cancelButton->setVisible(session.Busy());
  // A progress bar repaints itself at once when its value changes; it is
  // drawn with the rest of the window instead.
  progress->setUpdatesEnabled(false);
  progress->setRange(0, std::max(1, done.total));
  progress->setValue(done.done);
  progress->setUpdatesEnabled(true);
  const bool idle = session.Finished() != nullptr;
  csvButton->setEnabled(idle);
  reportButton->setEnabled(idle);
  saveListButton->setEnabled(!session.Sheets().empty());
  minPassBox->setEnabled(!session.Options().checks.empty());
  const bool selected = table->selectionModel()->hasSelection();
  removeButton->setEnabled(selected);
  file1Button->setEnabled(selected);
  referenceButton->setEnabled(selected);
  watchButton->setText(
      QString::fromUtf8(watcher_->Watching() ? kStopWatchingCaption : kWatchFolderCaption));
  watchLabel->SetCaption(watcher_->Watching() ? kWatchingLabel + watcher_->Folder().toStdString()
                                              : std::string());
}

// Every file the run reads; no save may replace one.
std::vector<std::string> RunPage::ProtectedFiles() const {
  std::vector<std::string> inputs;
  if (state_ != nullptr) {
    inputs.assign(state_->inputs.paths.begin(), state_->inputs.paths.end());
    if (state_->inputs.criteria)
      inputs.push_back(state_->inputs.criteria->path);
  }
  for (const SheetSource& sheet : worker_->Session().Sheets())
    inputs.push_back(sheet.path);
  inputs.push_back(listPath_);
  return inputs;
}

// An output written into the watched folder is no sheet of the run.
void RunPage::Wrote(const std::string& path) {
  watcher_->Ignore(FromUtf8(path));
}

}  // namespace korimo
