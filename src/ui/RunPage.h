#pragma once

#include <QFrame>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/Indices.h"
#include "app/RunSession.h"

class QComboBox;
class QDoubleSpinBox;
class QProgressBar;
class QPushButton;
class QTableView;

namespace korimo {

class CaptionLabel;
class FolderWatcher;
class Platform;
class ReportControls;
class RunStatisticsFrame;
class RunTableModel;
class RunWorker;
class TrendPlot;
class WindowDialogs;
struct EngineState;

// The "推移" page: a run of sheets against the window's Reference, with its
// trend plots, statistics and sheets table. Sheets come from the open
// dialog, from files and folders dropped on the page, from a list of
// sheets or from a watched folder; they are read and compared off the
// window's thread. The run follows the engine's Reference, pairing mode,
// criteria set and ⊿E option. It shows what the run view makes of the run
// and decides nothing itself.
class RunPage : public QFrame {
  Q_OBJECT

 public:
  RunPage(Platform& platform, WindowDialogs& dialogs, QWidget* parent = nullptr);
  ~RunPage() override;

  // The engine the run follows and the controls with the report's job
  // fields; both must outlive the page.
  void SetEngine(const EngineState& state, const ReportControls& report);
  // After every event of the window: a new Reference, pairing mode or
  // criteria set computes the run anew; the ⊿E option redraws the plot.
  void Sync();
  // "全クリア": no sheets and no watched folder.
  void Clear();

  const RunSession& Session() const;
  RunTableModel& Model() const { return *model_; }
  FolderWatcher& Watcher() const { return *watcher_; }
  // What a point of the plots tells of the sheet at run index `sheet`.
  std::string PointText(std::size_t sheet) const;
  // Makes the sheet at run index `sheet` the current row of the table.
  void SelectSheet(std::size_t sheet);

  QPushButton* addButton = nullptr;
  QPushButton* watchButton = nullptr;
  QPushButton* openListButton = nullptr;
  QPushButton* saveListButton = nullptr;
  CaptionLabel* orderLabel = nullptr;
  QComboBox* orderChoice = nullptr;
  CaptionLabel* minPassLabel = nullptr;
  QDoubleSpinBox* minPassBox = nullptr;
  QPushButton* removeButton = nullptr;
  QPushButton* file1Button = nullptr;
  QPushButton* referenceButton = nullptr;
  QPushButton* csvButton = nullptr;
  QPushButton* reportButton = nullptr;
  QProgressBar* progress = nullptr;
  QPushButton* cancelButton = nullptr;
  CaptionLabel* watchLabel = nullptr;
  TrendPlot* trend = nullptr;
  TrendPlot* criteriaTrend = nullptr;
  RunStatisticsFrame* statistics = nullptr;
  QTableView* table = nullptr;

 signals:
  // The window loads the file as it loads a file chosen for the set.
  void openRequested(korimo::DataSet set, const std::string& path);

 private:
  void BuildControls();
  void LayOut();
  void ConnectControls();

  void AddSheets();
  void DropSheets(const QStringList& paths);
  void ToggleWatch();
  void FolderFilesComplete(const QStringList& paths);
  void OpenList();
  void SaveList();
  void SaveCsv();
  void SaveReport();
  void ChooseOrder(int index);
  void ChooseMinPass(double percent);
  void RemoveSelected();
  void OpenCurrent(DataSet set);
  void ShowPointTip(int sheet, const QPoint& at);
  void ShowSheetMenu(const QPoint& at);
  void ShowPlotMenu(int sheet, const QPoint& at);

  void RunChanged(const RunChange& change);
  void RenderPlots();
  void RenderControls();
  std::optional<std::size_t> CurrentSheet() const;
  std::vector<std::string> ProtectedFiles() const;
  void Wrote(const std::string& path);

  Platform& platform_;
  WindowDialogs& dialogs_;
  const EngineState* state_ = nullptr;
  const ReportControls* report_ = nullptr;
  RunWorker* worker_ = nullptr;
  RunTableModel* model_ = nullptr;
  FolderWatcher* watcher_ = nullptr;
  std::string listPath_;  // the list of sheets last opened or saved
  std::optional<Metric> plotted_;
};

}  // namespace korimo
