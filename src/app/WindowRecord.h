#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Indices.h"
#include "app/VerificationRecord.h"

namespace korimo {

inline constexpr int kGridCols = 15;
using CellValues = std::array<double, kGridCols - 2>;  // the values of the number cells

// The cell texts of one patch's row, one after another in one string: fifteen
// strings of their own took 480 bytes a row, and the memory a grid of 3000
// rows first touches is much of what a batch run costs.
class GridRow {
 public:
  std::string_view operator[](std::size_t c) const {
    const std::size_t begin = c == 0 ? 0 : end_[c - 1];
    return std::string_view(text_).substr(begin, end_[c] - begin);
  }
  // The cells' texts one after another, and where each ends.
  void Assign(std::string text, const std::array<std::uint16_t, kGridCols>& ends) {
    text_ = std::move(text);
    end_ = ends;
  }

 private:
  std::string text_;
  std::array<std::uint16_t, kGridCols> end_{};  // one past each cell's last byte
};

class Comparison;

// The results grid's data rows. The texts of a patch's row depend only on the
// comparison, so they are made once per comparison and a sort only reorders
// them.
struct GridContent {
  std::vector<GridRow> cells;                   // per patch
  std::vector<int> order;                       // data row r (0 = the first) shows cells[order[r]]
  std::uint64_t revision = 0;                   // counts every refill
  std::shared_ptr<const Comparison> cellsFrom;  // what the cells show

  std::size_t RowCount() const { return order.size(); }
  const GridRow& Row(std::size_t r) const { return cells[static_cast<std::size_t>(order[r])]; }
};

// The frame shape over a chart (Sh_Box), in chart pixels.
struct AreaFrame {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
  bool visible = false;
  bool operator==(const AreaFrame&) const = default;
};

// What an area drag found: the identifiers at its corners and the average
// and maximum differences of the patches inside.
struct AreaFigures {
  std::string corners;
  int count = 0;
  double avgDeAb = 0;
  double maxDeAb = 0;
  double avgDe00 = 0;
  double maxDe00 = 0;
};

// Every text and shape the window shows, as its procedures wrote them. A text
// that no procedure writes keeps what it showed. Fields carry the names of
// the window's controls; arrays are indexed as the control arrays are.
struct WindowRecord {
  std::string Caption;                 // the window's title
  std::array<std::string, 3> Lb_File;  // path per data set; empty: no file chosen
  std::array<std::string, 3> Lb_NoP;   // patch count per data set
  std::array<std::string, 4> Lb_De;    // average, maximum ⊿E: 2p, 2p + 1
  std::array<std::string, 4> Lb_De2K;  // average, maximum ⊿E00: 2p, 2p + 1
  std::array<std::string, 2> Lb_BestDe;
  std::array<std::string, 2> Lb_Best2K;
  std::array<std::string, 2> Lb_WorsDe;
  std::array<std::string, 2> Lb_Wors2K;
  std::array<std::string, 2> Lb_GX;  // histogram axis captions per pair
  std::array<std::string, 2> Lb_GY;
  std::array<std::string, 2> Lb_PDe;          // hovered patch per chart
  std::array<std::string, 2> Lb_FDe;          // clicked patch per chart
  std::array<std::string, 2> Lb_DeBox;        // area statistics per chart
  std::array<std::string, 2> Lb_UPar;         // Under percentage per pair
  std::array<std::string, 2> Lb_OPar;         // Over percentage per pair
  std::string ChkBest;                        // Under check box
  std::string ChkWorst;                       // Over check box
  std::array<std::string, 2> Lb_Pairing;      // warning per pair whose files do not match
  std::array<std::string, 2> Lb_PairingTip;   // its first differing positions
  std::array<std::string, 3> Lb_ReadFailure;  // why a set's last read stored nothing
  std::array<std::string, 2> Lb_Conditions;   // the pair's files declare other conditions
  std::array<std::string, 3> Lb_FileTip;      // where a set's L*a*b* came from
  std::array<AreaFrame, 2> Sh_Box;
  std::array<std::optional<AreaFigures>, 2> areaFigures;  // what Lb_DeBox shows, if figures
  bool Menu_EditSub_Enabled = false;                      // both items of the Edit menu
  std::array<std::string, kGridCols> FlexG_Headings;
  GridContent FlexG;
  VerificationRecord verification;
};

// Texts the procedures write.
inline constexpr std::string_view kPatchUnit = " ﾊﾟｯﾁ";
inline constexpr std::string_view kAreaHint = "領域平均　：　Shift+マウス右クリック移動";
inline constexpr std::string_view kCountAxisEmpty = "\r\n\r\n数";
inline constexpr std::string_view kUnderCaption = "Under";
inline constexpr std::string_view kOverCaption = "Over";
inline constexpr std::string_view kNoMark = "\u3000";  // ideographic space
inline constexpr std::string_view kAscendingMark = "▲";
inline constexpr std::string_view kDescendingMark = "▼";
inline constexpr std::array<std::string_view, kGridCols> kGridHeadingNames = {
    "No.", "ID", "L0", "a0", "b0", "L1", "a1", "b1", "⊿E", "⊿E00", "L2", "a2", "b2", "⊿E", "⊿E00"};

// "⊿E､⊿E00計算　(Ver.1.00)" for version 1.0.0.
std::string WindowCaption(int major, int minor, int revision);

// The window as it starts: the design-time captions, no file chosen.
WindowRecord InitialRecord();

}  // namespace korimo
