#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/Platform.h"

namespace korimo::testing {

// Records what the program asks of the desktop and answers dialogs from
// queues the test fills.
class FakePlatform : public Platform {
 public:
  std::deque<std::optional<std::string>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::deque<std::optional<int>> menuAnswers;
  std::vector<std::string> messages;
  std::vector<std::string> saveFilters;
  std::vector<bool> menuShownEnabled;
  std::vector<int> openDialogSets;
  std::vector<std::string> log;  // clipboard and message calls in order
  std::optional<std::string> clipboardText;
  std::optional<Bitmap> clipboardBitmap;
  std::map<std::string, std::string> writtenFiles;
  std::map<std::string, Bitmap> savedBitmaps;
  std::map<std::string, std::string> failWrites;  // path -> reason
  std::vector<std::string> openedDocuments;
  std::string programFolder = "/opt/korimo";

  std::optional<std::string> OpenFileDialog(int set) override {
    openDialogSets.push_back(set);
    if (openAnswers.empty())
      return std::nullopt;
    auto a = openAnswers.front();
    openAnswers.pop_front();
    return a;
  }
  std::optional<std::string> SaveFileDialog(std::string_view filter) override {
    saveFilters.emplace_back(filter);
    if (saveAnswers.empty())
      return std::nullopt;
    auto a = saveAnswers.front();
    saveAnswers.pop_front();
    return a;
  }
  void ShowMessage(std::string_view text) override {
    messages.emplace_back(text);
    log.push_back("message");
  }
  std::optional<int> PopupEditMenu(bool itemsEnabled) override {
    menuShownEnabled.push_back(itemsEnabled);
    if (menuAnswers.empty())
      return std::nullopt;
    auto a = menuAnswers.front();
    menuAnswers.pop_front();
    return itemsEnabled ? a : std::nullopt;
  }
  void ClipboardClear() override {
    clipboardText.reset();
    clipboardBitmap.reset();
    log.push_back("clear");
  }
  void ClipboardSetText(std::string_view text) override {
    clipboardText = std::string(text);
    log.push_back("text");
  }
  void ClipboardSetBitmap(const Bitmap& bitmap) override {
    clipboardBitmap = bitmap;
    log.push_back("bitmap");
  }
  void ClipboardSetBitmapAndText(const Bitmap& bitmap, std::string_view text) override {
    clipboardBitmap = bitmap;
    clipboardText = std::string(text);
    log.push_back("bitmap+text");
  }
  WriteOutcome WriteFile(const std::string& path, std::string_view bytes) override {
    if (auto it = failWrites.find(path); it != failWrites.end())
      return {it->second};
    writtenFiles[path] = std::string(bytes);
    return {};
  }
  WriteOutcome SaveBitmap(const Bitmap& bitmap, const std::string& path) override {
    if (auto it = failWrites.find(path); it != failWrites.end())
      return {it->second};
    savedBitmaps[path] = bitmap;
    return {};
  }
  void OpenDocument(const std::string& path) override { openedDocuments.push_back(path); }
  std::string ProgramFolder() const override { return programFolder; }
  ProgramVersion Version() const override { return {1, 0, 0}; }
};

}  // namespace korimo::testing
