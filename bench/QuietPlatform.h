#pragma once

#include <optional>
#include <string>

#include "app/Platform.h"

namespace korimo::bench {

// A desktop that does nothing: dialogs are cancelled, files are not written,
// so that only the program itself is measured.
class QuietPlatform : public Platform {
 public:
  std::optional<std::string> SaveFileDialog(std::string_view) override { return std::nullopt; }
  void ShowMessage(std::string_view) override {}
  void ClipboardClear() override {}
  void ClipboardSetText(std::string_view) override {}
  void ClipboardSetBitmap(const Raster&) override {}
  void ClipboardSetBitmapAndText(const Raster&, std::string_view) override {}
  WriteOutcome WriteFile(const std::string&, std::string_view) override { return {"no files"}; }
  WriteOutcome SaveBitmap(const Raster&, const std::string&) override { return {"no files"}; }
  void OpenDocument(const std::string&) override {}
  std::string ProgramFolder() const override { return {}; }
};

}  // namespace korimo::bench
