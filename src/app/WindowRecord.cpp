#include "app/WindowRecord.h"

#include <utility>

#include "app/Version.h"

namespace korimo {

void GridRow::Assign(const std::array<std::string_view, kGridCols>& cells) {
  std::size_t size = 0;
  for (std::string_view cell : cells)
    size += cell.size();
  std::string text;
  text.reserve(size);
  for (std::size_t c = 0; c < cells.size(); ++c) {
    text.append(cells[c]);
    end_[c] = static_cast<std::uint32_t>(text.size());
  }
  text_ = std::move(text);
}

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
