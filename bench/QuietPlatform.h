#pragma once

#include <array>
#include <optional>
#include <string>

#include "app/Platform.h"

namespace korimo::bench {

// A desktop that answers each open dialog with the file set for it and
// otherwise does nothing, so that only the engine is measured.
class QuietPlatform : public Platform {
 public:
  std::array<std::string, 3> files;

  std::optional<std::string> OpenFileDialog(int set) override { return files[set]; }
  std::optional<std::string> SaveFileDialog(std::string_view) override { return std::nullopt; }
  void ShowMessage(std::string_view) override {}
  std::optional<int> PopupEditMenu(bool) override { return std::nullopt; }
  void ClipboardClear() override {}
  void ClipboardSetText(std::string_view) override {}
  void ClipboardSetBitmap(const Bitmap&) override {}
  void ClipboardSetBitmapAndText(const Bitmap&, std::string_view) override {}
  WriteOutcome WriteFile(const std::string&, std::string_view) override { return {"no files"}; }
  WriteOutcome SaveBitmap(const Bitmap&, const std::string&) override { return {"no files"}; }
  void OpenDocument(const std::string&) override {}
  std::string ProgramFolder() const override { return {}; }
  ProgramVersion Version() const override { return {}; }
};

}  // namespace korimo::bench
