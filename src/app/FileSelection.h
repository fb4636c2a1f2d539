#pragma once

#include <string>
#include <vector>

#include "app/FormView.h"
#include "app/LoadDriver.h"
#include "app/Platform.h"

namespace korimo {

// The ways a measurement file is chosen. Each ends the same: the path goes
// into Lb_File(set) and the load driver reads it back from there.
class FileSelection {
 public:
  FileSelection(FormView& view, Platform& platform, LoadDriver& driver)
      : view_(view), platform_(platform), driver_(driver) {}

  void But_File_Click(int set);
  void But_File_OLEDragDrop(int set, const std::vector<std::string>& paths);
  void Lb_File_OLEDragDrop(int set, const std::vector<std::string>& paths);
  void PictPat_OLEDragDrop(int chart, const std::vector<std::string>& paths);
  void FlexG_OLEDragDrop(const std::vector<std::string>& paths);
  // The program's argument text; enclosing double quotes are dropped.
  void CommandLine(const std::string& argumentText);

 private:
  void Choose(int set, const std::string& path);

  FormView& view_;
  Platform& platform_;
  LoadDriver& driver_;
};

// A shell link (".lnk" in any case), which the labels and charts ignore.
bool IsShellLink(const std::string& path);

// What the argument text of the process becomes as the Reference path.
std::string ReferencePathFromArguments(const std::string& argumentText);

}  // namespace korimo
