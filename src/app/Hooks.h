#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/Indices.h"
#include "core/MeasurementReader.h"

namespace korimo {

// A file the load driver has just read.
struct FileRead {
  DataSet set = DataSet::Reference;
  std::string path;
  ReadResult result;
};

// What the engine tells the face that runs it, while a procedure runs.
struct EngineHooks {
  // A message box with one OK button; the procedure goes on once it returns.
  std::function<void(std::string_view text)> showMessage;
  // After every read of a file, including the re-reads of the load driver.
  std::function<void(const FileRead& read)> fileRead;
};

}  // namespace korimo
