#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/Indices.h"
#include "core/Measurement.h"

namespace korimo {

// What the engine asks of the face that runs it, while a procedure runs.
struct EngineHooks {
  // A message box with one OK button; the procedure goes on once it returns.
  std::function<void(std::string_view text)> showMessage;
  // Reads the file chosen for a set. Without it the file is read from disk,
  // the 3000-patch message through showMessage; the batch tool answers
  // repeated reads of one file with the record of its one read.
  std::function<std::shared_ptr<const Measurement>(DataSet set, const std::string& path)> read;
};

}  // namespace korimo
