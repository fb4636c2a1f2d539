#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/Platform.h"

namespace korimo::testing {

// The next answer a test queued; none left: cancelled.
template <typename T>
std::optional<T> NextAnswer(std::deque<std::optional<T>>& answers) {
  if (answers.empty())
    return std::nullopt;
  std::optional<T> answer = answers.front();
  answers.pop_front();
  return answer;
}

// Records what the program asks of the desktop and answers save dialogs from
// a queue the test fills.
class FakePlatform : public Platform {
 public:
  std::deque<std::optional<std::string>> saveAnswers;
  std::vector<std::string> messages, saveFilters;
  std::vector<std::string> log;  // clipboard and message calls in order
  std::optional<std::string> clipboardText;
  std::optional<Raster> clipboardBitmap;
  std::map<std::string, std::string> writtenFiles;
  std::map<std::string, Raster> savedBitmaps;
  std::map<std::string, std::string> failWrites;  // path -> reason
  std::vector<std::string> openedDocuments;
  std::string programFolder = "/opt/korimo";

  std::optional<std::string> SaveFileDialog(std::string_view filter) override {
    saveFilters.emplace_back(filter);
    return NextAnswer(saveAnswers);
  }
  void ShowMessage(std::string_view text) override {
    messages.emplace_back(text);
    log.push_back("message");
  }
  void ClipboardClear() override { Clip("clear", std::nullopt, std::nullopt); }
  void ClipboardSetText(std::string_view text) override {
    Clip("text", clipboardBitmap, std::string(text));
  }
  void ClipboardSetBitmap(const Raster& picture) override {
    Clip("bitmap", picture, clipboardText);
  }
  void ClipboardSetBitmapAndText(const Raster& picture, std::string_view text) override {
    Clip("bitmap+text", picture, std::string(text));
  }
  WriteOutcome WriteFile(const std::string& path, std::string_view bytes) override {
    if (failWrites.contains(path))
      return {failWrites.at(path)};
    writtenFiles[path] = bytes;
    return {};
  }
  WriteOutcome SaveBitmap(const Raster& picture, const std::string& path) override {
    if (failWrites.contains(path))
      return {failWrites.at(path)};
    savedBitmaps[path] = picture;
    return {};
  }
  void OpenDocument(const std::string& path) override { openedDocuments.push_back(path); }
  std::string ProgramFolder() const override { return programFolder; }

 private:
  // Text and bitmap calls each leave the other kind on the clipboard.
  void Clip(const char* call, std::optional<Raster> bitmap, std::optional<std::string> text) {
    clipboardBitmap = std::move(bitmap);
    clipboardText = std::move(text);
    log.push_back(call);
  }
};

}  // namespace korimo::testing
