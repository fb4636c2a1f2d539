#pragma once

#include <array>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/Platform.h"

namespace korimo {

// The desktop as the batch tool has it: the open dialogs answer with the
// files named on the command line, messages become lines for standard error,
// and everything interactive is absent.
class CliPlatform : public Platform {
 public:
  // What the open dialog of `set` answers from now on.
  void AnswerOpenDialog(int set, std::string path) { answers_[set] = std::move(path); }

  // A read of `path` has just finished; messages raised during it belong to
  // that file. The reader warns on every read of an oversized file and the
  // load driver re-reads files, so a file is reported only once.
  void ReadFinished(const std::string& path);

  // Lines for standard error, in the order they arose, without line ends.
  std::vector<std::string> TakeDiagnostics();
  void Report(std::string line) { diagnostics_.push_back(std::move(line)); }

  std::optional<std::string> OpenFileDialog(int set) override { return answers_.at(set); }
  std::optional<std::string> SaveFileDialog(std::string_view) override { return std::nullopt; }
  void ShowMessage(std::string_view text) override { pending_.emplace_back(text); }
  std::optional<int> PopupEditMenu(bool) override { return std::nullopt; }
  void ClipboardClear() override {}
  void ClipboardSetText(std::string_view) override {}
  void ClipboardSetBitmap(const Bitmap&) override {}
  void ClipboardSetBitmapAndText(const Bitmap&, std::string_view) override {}
  WriteOutcome WriteFile(const std::string& path, std::string_view bytes) override;
  WriteOutcome SaveBitmap(const Bitmap&, const std::string&) override;
  void OpenDocument(const std::string&) override {}
  std::string ProgramFolder() const override { return {}; }
  ProgramVersion Version() const override;

 private:
  std::array<std::optional<std::string>, 3> answers_;
  std::vector<std::string> pending_;
  std::set<std::pair<std::string, std::string>> reported_;  // (path, message)
  std::vector<std::string> diagnostics_;
};

}  // namespace korimo
