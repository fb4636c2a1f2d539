#pragma once

#include "app/Indices.h"

namespace korimo {

// The threshold sliders run from 0 to this position.
inline constexpr int kSliderMax = 20;

// The threshold panel as a freshly started window has it: nothing of it is
// kept between runs.
struct PanelSettings {
  static constexpr int kUnderStart = 2;
  static constexpr int kOverStart = 15;

  Metric metric = Metric::DeAb;  // Opt_de
  int under = kUnderStart;       // SldBest position
  int over = kOverStart;         // SldWorst position
  bool underMarks = true;        // ChkBest checked
  bool overMarks = true;         // ChkWorst checked

  bool operator==(const PanelSettings&) const = default;
};

}  // namespace korimo
