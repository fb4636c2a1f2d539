#pragma once

#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "app/Form.h"
#include "app/FormView.h"

class QPushButton;
class QTabBar;

namespace korimo {

class CaptionLabel;
class ChartMouse;
class ChartPage;
class DataPage;
class GridController;
class MenuCommands;
class PictureBox;
class StatisticsFrame;

// The one window of the program. It lays out its controls once, routes every
// event into the procedures of the app layer and draws what they decide.
class Form1 : public QWidget, public FormView {
  Q_OBJECT

 public:
  explicit Form1(Platform& platform, QWidget* parent = nullptr);
  ~Form1() override;

  // The argument text of the process: loads it as the Reference.
  void Form_LoadCommandLine(const std::string& argumentText);

  Form& form() { return form_; }
  Platform& platform() { return platform_; }

  // Controls, for the views' helpers and for tests.
  PictureBox& PictPat(int chart) const;
  PictureBox& PictG(int pair) const;
  PictureBox& PictD() const;
  PictureBox& PictSv() const { return *pictSv_; }
  ChartPage& chartPage() const { return *chartPage_; }
  DataPage& dataPage() const { return *dataPage_; }
  StatisticsFrame& statisticsFrame(int pair) const { return *frames_[pair]; }
  QPushButton& But_File(int set) const { return *butFile_[set]; }
  CaptionLabel& Lb_File(int set) const { return *lbFile_[set]; }
  QPushButton& But_Clear() const { return *butClear_; }
  QPushButton& But_Help() const { return *butHelp_; }
  QTabBar& TabStrip1() const { return *tabStrip_; }
  bool MenuItemsEnabled() const { return menuEnabled_; }
  void SetMenuItemsEnabled(bool enabled) { menuEnabled_ = enabled; }
  ChartMouse& chartMouse() const { return *chartMouse_; }
  GridController& gridController() const { return *grid_; }
  MenuCommands& menuCommands() const { return *menu_; }

  // Handlers of the window's own controls.
  void TabStrip1_Click();
  void But_Clear_Click();

  // Cell p of chart c, lower halves from data set lowerSet.
  void DrawPatchCell(int chart, int lowerSet, int patch);

  // FormView
  std::string Caption(Ctl control, int index) const override;
  void SetCaption(Ctl control, int index, std::string_view text) override;
  bool MetricIsDeAb() const override;
  int UnderPosition() const override;
  int OverPosition() const override;
  bool UnderMarksOn() const override;
  bool OverMarksOn() const override;
  void MoveAreaBox(int chart, double left, double top, double width, double height) override;
  void SetAreaBoxVisible(int chart, bool visible) override;
  bool AreaBoxVisible(int chart) const override;
  double AreaBoxWidth(int chart) const override { return boxSize_[chart].first; }
  double AreaBoxHeight(int chart) const override { return boxSize_[chart].second; }
  int ChartAreaWidth() const override;
  int ChartAreaHeight() const override;
  void DrawChart(int set) override;
  void DrawHistogram(int pair) override;
  void FillGrid() override;
  void RestoreIfMinimized() override;

 private:
  void BuildTopControls();
  void BuildFrames();
  void BuildPages();
  void ConnectFileSelection();
  void ConnectThresholdPanel();
  void ConnectCopyButtons();
  void SizeHistograms();
  void RegisterCaptions();
  CaptionLabel* CaptionControl(Ctl control, int index) const;

  Platform& platform_;
  Form form_;
  std::array<QPushButton*, 3> butFile_{};
  std::array<CaptionLabel*, 3> lbFile_{};
  std::array<CaptionLabel*, 3> lbNoP_{};
  QPushButton* butClear_ = nullptr;
  QPushButton* butHelp_ = nullptr;
  QTabBar* tabStrip_ = nullptr;
  std::array<StatisticsFrame*, 2> frames_{};
  ChartPage* chartPage_ = nullptr;
  DataPage* dataPage_ = nullptr;
  PictureBox* pictSv_ = nullptr;
  std::map<std::pair<Ctl, int>, CaptionLabel*> captions_;
  std::array<std::pair<double, double>, 2> boxSize_{};
  bool menuEnabled_ = false;
  std::unique_ptr<ChartMouse> chartMouse_;
  std::unique_ptr<GridController> grid_;
  std::unique_ptr<MenuCommands> menu_;
};

}  // namespace korimo
