#pragma once

#include <string_view>

#include "app/HeadlessWindow.h"
#include "cli/CliPlatform.h"

namespace korimo {

// The headless window as the batch tool needs it: it lets the platform know
// which file each read concerned (the reader's messages do not name the
// file, and the patch-count label is written right after every read).
class CliWindow : public HeadlessWindow {
 public:
  explicit CliWindow(CliPlatform& platform) : HeadlessWindow(platform), platform_(platform) {}

  void SetCaption(Ctl control, int index, std::string_view text) override;

 private:
  CliPlatform& platform_;
};

}  // namespace korimo
