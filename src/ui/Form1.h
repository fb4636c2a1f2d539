#pragma once

#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/EngineState.h"
#include "app/Hooks.h"
#include "app/Indices.h"
#include "app/Render.h"

class QPushButton;
class QTabBar;

namespace korimo {

class CaptionLabel;
class ChartPage;
class DataPage;
class FlexGrid;
class PairingBox;
class PictureBox;
class Platform;
class StatisticsFrame;
class ReportControls;
class RunPage;
class VerificationPage;
struct ReportVerification;
class WindowDialogs;

// The one window of the program, a face of the engine: it lays its controls
// out once, hands every event to the engine's procedure for it and then
// shows what the engine's record and pictures hold. It decides nothing
// itself.
class Form1 : public QWidget {
  Q_OBJECT

 public:
  Form1(Platform& platform, WindowDialogs& dialogs, QWidget* parent = nullptr);
  ~Form1() override;

  // The argument text of the process: loads it as the Reference.
  void Form_LoadCommandLine(const std::string& argumentText);

  const EngineState& state() const { return *state_; }

  // After an event handler failed (memory ran out): the set being read is
  // emptied, the window shows what the engine then holds, and `message`
  // tells the user.
  void RecoverFromFailure(const std::string& message);

  // Controls, for tests and benchmarks.
  PictureBox& PictPat(Pair chart) const;
  PictureBox& PictG(Pair pair) const;
  PictureBox& PictD() const;
  FlexGrid& FlexG() const;
  ChartPage& chartPage() const { return *chartPage_; }
  DataPage& dataPage() const { return *dataPage_; }
  VerificationPage& verificationPage() const { return *verificationPage_; }
  RunPage& runPage() const { return *runPage_; }
  ReportControls& reportControls() const { return *reportControls_; }
  StatisticsFrame& statisticsFrame(Pair pair) const { return *frames_[Index(pair)]; }
  QPushButton& But_File(DataSet set) const { return *butFile_[Index(set)]; }
  CaptionLabel& Lb_File(DataSet set) const { return *lbFile_[Index(set)]; }
  CaptionLabel& Lb_NoP(DataSet set) const { return *lbNoP_[Index(set)]; }
  QPushButton& But_Clear() const { return *butClear_; }
  QPushButton& But_Help() const { return *butHelp_; }
  QTabBar& TabStrip1() const { return *tabStrip_; }
  CaptionLabel& Lb_Pairing(Pair pair) const { return *lbPairing_[Index(pair)]; }
  PairingBox& Cmb_Pairing() const { return *cmbPairing_; }

 private:
  ReportVerification PageVerdicts() const;
  void BuildTopControls();
  void BuildPairingStrip();
  void BuildFrames();
  void BuildPages();
  void SizeHistograms();
  Surfaces MeasureSurfaces(int gridVisibleRows) const;
  void StartEngine(const Surfaces& surfaces);
  void BindCaptions();

  void ConnectFileSelection();
  void ConnectThresholdPanel();
  void ConnectCharts();
  void ConnectGrid();
  void ConnectButtons();
  void ConnectVerification();
  void ConnectRun();
  void ChooseCriteriaFile();
  void OpenFromRun(DataSet set, const std::string& path);

  void ChooseWithDialog(DataSet set);
  void RestoreIfMinimized();
  void ShowPage();
  void ShowEditMenu(bool requested);
  void GridPressed(float y);
  void GridClicked(int column);
  void GridScrolled(int topRow);

  // Runs an engine procedure on the state, then shows the result.
  template <typename Procedure>
  void Run(Procedure&& procedure) {
    procedure(*state_);
    korimo::Render(*state_);
    Render();
  }
  void CopyStatistics(Pair pair, Metric metric);

  void Render();
  void RenderButtons();
  void RenderNotes();
  void RenderAreaFrame(Pair chart);
  void RenderPictures();

  Platform& platform_;
  WindowDialogs& dialogs_;
  std::unique_ptr<EngineState> state_;
  EngineHooks hooks_;
  bool rendering_ = false;

  std::array<QPushButton*, 3> butFile_{};
  std::array<CaptionLabel*, 3> lbFile_{};
  std::array<CaptionLabel*, 3> lbNoP_{};
  QPushButton* butClear_ = nullptr;
  QPushButton* butHelp_ = nullptr;
  QTabBar* tabStrip_ = nullptr;
  std::array<CaptionLabel*, 2> lbPairing_{};
  PairingBox* cmbPairing_ = nullptr;
  std::array<StatisticsFrame*, 2> frames_{};
  ChartPage* chartPage_ = nullptr;
  DataPage* dataPage_ = nullptr;
  VerificationPage* verificationPage_ = nullptr;
  RunPage* runPage_ = nullptr;
  ReportControls* reportControls_ = nullptr;
  // Every label and the record text it shows.
  std::vector<std::pair<CaptionLabel*, const std::string*>> captions_;
};

}  // namespace korimo
