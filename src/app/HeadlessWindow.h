#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/Form.h"
#include "app/FormView.h"
#include "app/GridRows.h"
#include "app/Platform.h"

namespace korimo {

// The main window without a screen: captions are strings, the views keep
// their pure state (chart layout, histogram bins, grid rows). It runs the same
// procedures as the Qt window, so the batch tool and the tests see exactly
// what a user would.
class HeadlessWindow : public FormView {
 public:
  explicit HeadlessWindow(Platform& platform);

  Form& form() { return form_; }
  const FormState& state() const { return form_.state; }

  // Threshold panel controls as a user sets them; each fires its handler.
  void SelectMetricDeAb(bool deAb);
  void SetUnderPosition(int position);
  void SetOverPosition(int position);
  void SetUnderMarks(bool on);
  void SetOverMarks(bool on);

  const std::vector<GridRow>& GridDataRows() const { return gridRows_; }
  const std::array<std::string, kGridCols>& GridHeadings() const { return headings_; }
  // A click on the heading of `column`, as the grid reports it.
  void ClickGridHeading(int column);
  // "全クリア" as far as a window without pictures has it.
  void ClearAll();

  int DrawChartCalls(int chart) const { return drawChartCalls_[chart]; }

  // FormView
  std::string Caption(Ctl control, int index) const override;
  void SetCaption(Ctl control, int index, std::string_view text) override;
  bool MetricIsDeAb() const override { return metricDeAb_; }
  int UnderPosition() const override { return under_; }
  int OverPosition() const override { return over_; }
  bool UnderMarksOn() const override { return underMarks_; }
  bool OverMarksOn() const override { return overMarks_; }
  void MoveAreaBox(int chart, double left, double top, double width, double height) override;
  void SetAreaBoxVisible(int chart, bool visible) override { box_[chart].visible = visible; }
  bool AreaBoxVisible(int chart) const override { return box_[chart].visible; }
  double AreaBoxWidth(int chart) const override { return box_[chart].width; }
  double AreaBoxHeight(int chart) const override { return box_[chart].height; }
  int ChartAreaWidth() const override { return kChartArea; }
  int ChartAreaHeight() const override { return kChartArea; }
  void DrawChart(int set) override;
  void DrawHistogram(int pair) override;
  void FillGrid() override;
  void RestoreIfMinimized() override {}

  // The drawing area of the window's chart boxes.
  static constexpr int kChartArea = 465;

 private:
  struct Box {
    double left = 0, top = 0, width = 0, height = 0;
    bool visible = false;
  };

  Form form_;
  std::map<std::pair<Ctl, int>, std::string> captions_;
  bool metricDeAb_ = true;
  int under_ = 2;
  int over_ = 15;
  bool underMarks_ = true;
  bool overMarks_ = true;
  std::array<Box, 2> box_{};
  std::vector<GridRow> gridRows_;
  std::array<std::string, kGridCols> headings_;
  std::array<int, 2> drawChartCalls_{};
};

}  // namespace korimo
