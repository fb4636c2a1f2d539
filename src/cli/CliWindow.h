#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "app/HeadlessWindow.h"
#include "cli/CliPlatform.h"

namespace korimo {

// The headless window as the batch tool needs it. It lets the platform know
// which file each read concerned (the reader's messages do not name the
// file, and the patch-count label is written right after every read), and
// it builds the grid once at the end instead of after every load, since
// nobody looks at the grid in between.
class CliWindow : public HeadlessWindow {
 public:
  explicit CliWindow(CliPlatform& platform) : HeadlessWindow(platform), platform_(platform) {}

  void SetCaption(Ctl control, int index, std::string_view text) override;
  void FillGrid() override;

  // Builds the grid the last refill asked for, from the data as it was then.
  void CompleteGrid();

 private:
  CliPlatform& platform_;
  std::unique_ptr<ComparisonData> pendingData_;
  std::int16_t pendingSortKey_ = 0;
};

}  // namespace korimo
