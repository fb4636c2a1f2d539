#pragma once

#include <string>
#include <string_view>

#include "app/Controls.h"

namespace korimo {

// The main window as the load driver and the other non-drawing procedures
// see it. The Qt window implements it over real controls; HeadlessWindow
// implements it over plain strings for the tests and the batch tool. A caption
// that nobody writes keeps its previous text.
class FormView {
 public:
  virtual ~FormView() = default;

  virtual std::string Caption(Ctl control, int index) const = 0;
  virtual void SetCaption(Ctl control, int index, std::string_view text) = 0;

  // Threshold panel state.
  virtual bool MetricIsDeAb() const = 0;  // Opt_de(0) selected
  virtual int UnderPosition() const = 0;  // SldBest, 0..20
  virtual int OverPosition() const = 0;   // SldWorst, 0..20
  virtual bool UnderMarksOn() const = 0;  // ChkBest checked
  virtual bool OverMarksOn() const = 0;   // ChkWorst checked

  // Area frame Sh_Box(c) over chart c, in chart pixels.
  virtual void MoveAreaBox(int chart, double left, double top, double width, double height) = 0;
  virtual void SetAreaBoxVisible(int chart, bool visible) = 0;
  virtual bool AreaBoxVisible(int chart) const = 0;
  virtual double AreaBoxWidth(int chart) const = 0;
  virtual double AreaBoxHeight(int chart) const = 0;

  // Drawing area of the chart boxes in pixels (both are the same size).
  virtual int ChartAreaWidth() const = 0;
  virtual int ChartAreaHeight() const = 0;

  // View refreshes. Their rules live in this layer (ShowPatchChart,
  // CountHistogram, BuildGridRows, ...); a view only draws what they decide.
  virtual void DrawChart(int set) = 0;  // set 0/1 draw chart 0, set 2 chart 1
  virtual void DrawHistogram(int pair) = 0;
  virtual void FillGrid() = 0;

  // A file dropped on a minimised window brings it back.
  virtual void RestoreIfMinimized() = 0;
};

}  // namespace korimo
