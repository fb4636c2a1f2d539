#include "cli/CliWindow.h"

#include <utility>

namespace korimo {

void CliWindow::SetCaption(Ctl control, int index, std::string_view text) {
  HeadlessWindow::SetCaption(control, index, text);
  if (control == Ctl::Lb_NoP)
    platform_.ReadFinished(Caption(Ctl::Lb_File, index));
}

}  // namespace korimo
