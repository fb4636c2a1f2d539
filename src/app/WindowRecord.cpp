#include "app/WindowRecord.h"

#include "app/Version.h"

namespace korimo {

std::string WindowCaption(int major, int minor, int revision) {
  return "⊿E､⊿E00計算　(Ver." + std::to_string(major) + "." + std::to_string(minor) +
         std::to_string(revision) + ")";
}

WindowRecord InitialRecord() {
  WindowRecord r;
  r.Caption = WindowCaption(kVersionMajor, kVersionMinor, kVersionPatch);
  r.Lb_GY.fill("       数");
  r.Lb_GX.fill("⊿E      ");
  r.Lb_DeBox.fill(std::string(kAreaHint));
  r.ChkBest = kUnderCaption;
  r.ChkWorst = kOverCaption;
  for (int c = 0; c < kGridCols; ++c)
    r.FlexG_Headings[static_cast<std::size_t>(c)] =
        std::string(kGridHeadingNames[static_cast<std::size_t>(c)]) + std::string(kNoMark);
  return r;
}

}  // namespace korimo
