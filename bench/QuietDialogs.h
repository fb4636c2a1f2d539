#pragma once

#include <array>
#include <optional>
#include <string>

#include "ui/WindowDialogs.h"

namespace korimo::bench {

// The window's dialogs without a user: each file button's dialog answers
// with the file set for it, and menus close without a choice.
class QuietDialogs : public WindowDialogs {
 public:
  std::array<std::string, 3> files;

  std::optional<std::string> OpenFile(DataSet set) override { return files[Index(set)]; }
  std::optional<MenuItem> EditMenu(bool) override { return std::nullopt; }
};

}  // namespace korimo::bench
