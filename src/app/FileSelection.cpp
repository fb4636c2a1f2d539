#include "app/FileSelection.h"

#include "core/TextFields.h"

namespace korimo {

bool IsShellLink(const std::string& path) {
  return EndsWithUpperAscii(path, ".LNK");
}

std::string ReferencePathFromArguments(const std::string& text) {
  if (!text.empty() && text.front() == '"') {
    return text.size() < 2 ? std::string() : text.substr(1, text.size() - 2);
  }
  return text;
}

void FileSelection::Choose(int set, const std::string& path) {
  view_.SetCaption(Ctl::Lb_File, set, path);
  driver_.LoadDataSet(set);
}

void FileSelection::But_File_Click(int set) {
  if (const auto path = platform_.OpenFileDialog(set))
    Choose(set, *path);
}

void FileSelection::But_File_OLEDragDrop(int set, const std::vector<std::string>& paths) {
  if (paths.empty())
    return;
  view_.RestoreIfMinimized();
  Choose(set, paths.front());
}

void FileSelection::Lb_File_OLEDragDrop(int set, const std::vector<std::string>& paths) {
  if (paths.empty())
    return;
  view_.RestoreIfMinimized();
  if (IsShellLink(paths.front()))
    return;
  Choose(set, paths.front());
}

void FileSelection::PictPat_OLEDragDrop(int chart, const std::vector<std::string>& paths) {
  if (paths.empty())
    return;
  view_.RestoreIfMinimized();
  if (IsShellLink(paths.front()))
    return;
  const int target = view_.Caption(Ctl::Lb_File, 0).empty() ? 0 : chart + 1;
  Choose(target, paths.front());
}

void FileSelection::FlexG_OLEDragDrop(const std::vector<std::string>& paths) {
  if (paths.empty())
    return;
  view_.RestoreIfMinimized();
  for (int set = 0; set < 3; ++set) {
    if (view_.Caption(Ctl::Lb_File, set).empty()) {
      Choose(set, paths.front());
      return;
    }
  }
  // Every set is chosen: the drop only re-reads the Reference.
  driver_.LoadDataSet(0);
}

void FileSelection::CommandLine(const std::string& argumentText) {
  if (argumentText.empty())
    return;
  Choose(0, ReferencePathFromArguments(argumentText));
}

}  // namespace korimo
