#include "cli/CliWindow.h"

#include <utility>

namespace korimo {

void CliWindow::SetCaption(Ctl control, int index, std::string_view text) {
  HeadlessWindow::SetCaption(control, index, text);
  if (control == Ctl::Lb_NoP)
    platform_.ReadFinished(Caption(Ctl::Lb_File, index));
}

// A later load may change the data and then stop before its own refill
// (a file that yields no patches), so the data is kept as this refill saw it.
void CliWindow::FillGrid() {
  pendingData_ = std::make_unique<ComparisonData>(*state().data);
  pendingSortKey_ = state().GridSortKey;
}

void CliWindow::CompleteGrid() {
  if (!pendingData_)
    return;
  FormState& live = form().state;
  std::swap(live.data, pendingData_);
  std::swap(live.GridSortKey, pendingSortKey_);
  HeadlessWindow::FillGrid();
  std::swap(live.data, pendingData_);
  std::swap(live.GridSortKey, pendingSortKey_);
  pendingData_.reset();
}

}  // namespace korimo
