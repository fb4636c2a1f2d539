#pragma once

#include <string_view>

namespace korimo {

// Controls whose caption (or text) the window's procedures write and read.
// Indices follow the control arrays: per data set 0..2, per pair/chart 0..1,
// Lb_De / Lb_De2K 0..3; single controls use index 0.
enum class Ctl {
  Lb_File,    // path label per data set; the driver reads the path back from it
  Lb_NoP,     // patch count per data set
  Lb_De,      // average / maximum dE*ab: 2p, 2p+1
  Lb_De2K,    // average / maximum dE00: 2p, 2p+1
  Lb_BestDe,  // per pair
  Lb_Best2K,
  Lb_WorsDe,
  Lb_Wors2K,
  Lb_PDe,    // hovered patch, per chart
  Lb_FDe,    // clicked patch, per chart
  Lb_DeBox,  // area statistics text box, per chart
  Lb_UPar,   // Under percentage, per pair
  Lb_OPar,   // Over percentage, per pair
  Lb_GX,     // histogram axis captions, per pair
  Lb_GY,
  ChkBest,   // Under check box caption
  ChkWorst,  // Over check box caption
};

// Fixed texts of the window.
inline constexpr std::string_view kPatchUnit = " ﾊﾟｯﾁ";
inline constexpr std::string_view kAreaHint = "領域平均　：　Shift+マウス右クリック移動";

}  // namespace korimo
