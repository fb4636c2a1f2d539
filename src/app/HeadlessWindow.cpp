#include "app/HeadlessWindow.h"

#include "app/ChartLayout.h"
#include "app/ClearAll.h"
#include "app/Histogram.h"

namespace korimo {

HeadlessWindow::HeadlessWindow(Platform& platform)
    : form_(*this, platform), headings_(InitialGridHeadings()) {
  // Design-time captions of the window.
  for (int p = 0; p < kPairs; ++p) {
    captions_[{Ctl::Lb_GY, p}] = "       数";
    captions_[{Ctl::Lb_GX, p}] = "⊿E      ";
    captions_[{Ctl::Lb_DeBox, p}] = std::string(kAreaHint);
  }
  captions_[{Ctl::ChkBest, 0}] = "Under";
  captions_[{Ctl::ChkWorst, 0}] = "Over";
}

std::string HeadlessWindow::Caption(Ctl control, int index) const {
  const auto it = captions_.find({control, index});
  return it == captions_.end() ? std::string() : it->second;
}

void HeadlessWindow::SetCaption(Ctl control, int index, std::string_view text) {
  captions_[{control, index}] = std::string(text);
}

void HeadlessWindow::SelectMetricDeAb(bool deAb) {
  metricDeAb_ = deAb;
  form_.thresholds.Opt_de_Click();
}

void HeadlessWindow::SetUnderPosition(int position) {
  if (position == under_)
    return;
  under_ = position;
  form_.thresholds.SldBest_Change();
}

void HeadlessWindow::SetOverPosition(int position) {
  if (position == over_)
    return;
  over_ = position;
  form_.thresholds.SldWorst_Change();
}

void HeadlessWindow::SetUnderMarks(bool on) {
  underMarks_ = on;
  form_.thresholds.ChkBest_Click();
}

void HeadlessWindow::SetOverMarks(bool on) {
  overMarks_ = on;
  form_.thresholds.ChkWorst_Click();
}

void HeadlessWindow::MoveAreaBox(int chart, double left, double top, double width, double height) {
  box_[chart].left = left;
  box_[chart].top = top;
  box_[chart].width = width;
  box_[chart].height = height;
}

void HeadlessWindow::DrawChart(int set) {
  ++drawChartCalls_[ChartOfSet(set)];
}

void HeadlessWindow::DrawHistogram(int pair) {
  CountHistogram(form_.state, *this, pair);
}

void HeadlessWindow::FillGrid() {
  if (auto rows = BuildGridRows(*form_.state.data, form_.state.GridSortKey)) {
    gridRows_ = std::move(*rows);
  }
}

void HeadlessWindow::ClickGridHeading(int column) {
  ApplyHeadingClick(form_.state.GridSortKey, headings_, column);
  FillGrid();
}

void HeadlessWindow::ClearAll() {
  korimo::ClearAll(form_.state, *this);
  gridRows_.clear();
}

}  // namespace korimo
