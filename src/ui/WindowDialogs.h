#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/Indices.h"

namespace korimo {

// The window's own modal questions to the user, which no engine procedure
// asks: the open dialog of each file button and the Edit pop-up menu. The Qt
// window uses QtDialogs; tests answer them from a script.
class WindowDialogs {
 public:
  virtual ~WindowDialogs() = default;

  // The file chosen for `set`; nullopt when the user cancels.
  virtual std::optional<std::string> OpenFile(DataSet set) = 0;

  // "編集(&E)" at the mouse pointer, both items enabled or both disabled;
  // nullopt when it is closed without a choice.
  virtual std::optional<MenuItem> EditMenu(bool itemsEnabled) = 0;

  // The criteria file chosen on the verification page; nullopt when the
  // user cancels.
  virtual std::optional<std::string> OpenCriteriaFile() { return std::nullopt; }

  // The run page's questions: the sheets to add (none when the user
  // cancels), a list of sheets to open and a folder to watch.
  virtual std::vector<std::string> OpenSheets() { return {}; }
  virtual std::optional<std::string> OpenSheetList() { return std::nullopt; }
  virtual std::optional<std::string> ChooseWatchedFolder() { return std::nullopt; }
};

}  // namespace korimo
