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
  std::deque<std::optional<std::string>> openAnswers, saveAnswers;
  std::deque<std::optional<int>> menuAnswers;
  std::vector<std::string> messages, saveFilters;
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
    return Next(openAnswers);
  }
  std::optional<std::string> SaveFileDialog(std::string_view filter) override {
    saveFilters.emplace_back(filter);
    return Next(saveAnswers);
  }
  void ShowMessage(std::string_view text) override {
    messages.emplace_back(text);
    log.push_back("message");
  }
  std::optional<int> PopupEditMenu(bool itemsEnabled) override {
    menuShownEnabled.push_back(itemsEnabled);
    const auto answer = Next(menuAnswers);
    return itemsEnabled ? answer : std::nullopt;
  }
  void ClipboardClear() override { Clip("clear", std::nullopt, std::nullopt); }
  void ClipboardSetText(std::string_view text) override {
    Clip("text", clipboardBitmap, std::string(text));
  }
  void ClipboardSetBitmap(const Bitmap& bitmap) override { Clip("bitmap", bitmap, clipboardText); }
  void ClipboardSetBitmapAndText(const Bitmap& bitmap, std::string_view text) override {
    Clip("bitmap+text", bitmap, std::string(text));
  }
  WriteOutcome WriteFile(const std::string& path, std::string_view bytes) override {
    if (!failWrites.contains(path))
      writtenFiles[path] = bytes;
    return {failWrites.contains(path) ? failWrites.at(path) : ""};
  }
  WriteOutcome SaveBitmap(const Bitmap& bitmap, const std::string& path) override {
    if (!failWrites.contains(path))
      savedBitmaps[path] = bitmap;
    return {failWrites.contains(path) ? failWrites.at(path) : ""};
  }
  void OpenDocument(const std::string& path) override { openedDocuments.push_back(path); }
  std::string ProgramFolder() const override { return programFolder; }
  ProgramVersion Version() const override { return {1, 0, 0}; }

 private:
  template <class T>
  static std::optional<T> Next(std::deque<std::optional<T>>& answers) {
    if (answers.empty())
      return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
  // Text and bitmap calls each leave the other kind on the clipboard.
  void Clip(const char* call, std::optional<Bitmap> bitmap, std::optional<std::string> text) {
    clipboardBitmap = std::move(bitmap);
    clipboardText = std::move(text);
    log.push_back(call);
  }
};

}  // namespace korimo::testing
